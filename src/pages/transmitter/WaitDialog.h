#pragma once
// "Please wait for a while..." (dialog 176): a small window with a message and a turning busy
// indicator, shown while a transmitter works on a maintenance action. It is modeless, so the
// window that shows it keeps handling its answers and timers.
#include <QDialog>
#include <QTimer>

class QLabel;
class QPushButton;

// The turning indicator drawn in place of an animation file.
class CBusyIndicator : public QWidget {
    Q_OBJECT
public:
    explicit CBusyIndicator(QWidget* parent = nullptr);
    void Play();
    void Stop();
    bool IsPlaying() const { return m_timer.isActive(); }
    QSize sizeHint() const override { return {48, 48}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QTimer m_timer;
    int m_step = 0;
};

class cWaitDialog : public QDialog {
    Q_OBJECT
public:
    explicit cWaitDialog(QWidget* parent = nullptr);
    void Show(const QString& message);
    void Hide();
    bool IsShown() const { return isVisible(); }
    QString Message() const;
    CBusyIndicator* Indicator() const { return m_indicator; }

protected:
    void closeEvent(QCloseEvent* e) override; // only Hide() closes it
    void reject() override {}

private:
    QLabel* m_text;
    CBusyIndicator* m_indicator;
};
