#pragma once
// The search dialog's animation: a sweep turning over a loop of transmitters, drawn by the widget
// itself, repeating until stopped.
#include <QTimer>
#include <QWidget>

class CSearchIndicator : public QWidget {
public:
    explicit CSearchIndicator(QWidget* parent = nullptr);
    void Play();
    void Stop();
    bool IsPlaying() const { return m_timer.isActive(); }
    QSize sizeHint() const override { return {260, 64}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QTimer m_timer;
    int m_frame = 0;
};
