#pragma once
// Folds a burst of update requests into one repaint: the first request arms a single-shot timer,
// later ones ride along until it fires. Keeps fast sample streams from painting more than about
// 25 times a second.
#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;

class CRepaintCoalescer final : public QObject {
public:
    static constexpr int kPeriodMs = 40;

    explicit CRepaintCoalescer(QWidget* target);

    void Request();
    bool IsPending() const { return m_timer.isActive(); }

private:
    QPointer<QWidget> m_target;
    QTimer m_timer;
};
