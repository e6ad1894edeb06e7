#pragma once
// "Please wait for a while...": a small window that says what the transmitter is busy with. It
// never blocks the dialog that shows it.
#include <QDialog>

class QLabel;

class CWaitNotice : public QDialog {
    Q_OBJECT
public:
    explicit CWaitNotice(QWidget* parent);
    void Show(const QString& message);
    void Hide() { hide(); }
    QString Message() const;

private:
    QLabel* m_wndText;
};
