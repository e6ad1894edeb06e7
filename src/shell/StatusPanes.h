#pragma once
// The frame's status bar: message text, "Polling:" (current device), a pane that hosts the
// transaction progress bar, "Retry :" and the NUM-lock indicator. Driven by the link's state
// changes (WM_HART_COMSTATE) and by the frame.
#include <QObject>
#include <QString>
#include <memory>

class QLabel;
class QStatusBar;
class CProgressBar;

class CStatusPanes : public QObject {
public:
    explicit CStatusPanes(QStatusBar* bar);
    ~CStatusPanes() override;

    // Pane 0. An empty text shows the idle text.
    void SetMessageText(const QString& text);
    QString MessageText() const;
    // Panes 1 and 3 after the current device changed (-1: none).
    void UpdatePolling(int pollingAddress);
    // One link state change (state 0..6, retry number).
    void OnComState(int state, int retry);

    QStatusBar* Bar() const { return m_bar; }
    QLabel* Pane(int index) const;
    // The transaction progress in pane 2 (created on the first send).
    CProgressBar* Progress() const { return m_wndProgress.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStatusBar* m_bar;
    QLabel* m_panes[5] = {};
    std::unique_ptr<CProgressBar> m_wndProgress;
};
