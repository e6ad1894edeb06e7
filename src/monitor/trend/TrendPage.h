#pragma once
// What the trend and dynamic-variable pages share beyond the command queue: their settings, the
// trend sheet that logs their samples (when they sit on it), the request in flight, and the short
// wait before a refused request is asked again.
#include "monitor/trend/TrendSettings.h"
#include "pages/common/HartPage.h"

class CCheckPropSheet;

class CTrendPage : public CHartPage {
    Q_OBJECT
public:
    static constexpr int kRetryTimer = 101;
    static constexpr int kRetryDelayMs = 100;

    CTrendPage(IPageHost& host, const QString& caption, QWidget* parent = nullptr);

    // The trend sheet the page sits on, or none (the calibration sheets show a page too).
    CCheckPropSheet* TrendSheet() const;
    CTrendSettings& Settings() { return m_settings; }
    // Whether the page is the one its sheet shows (a page without a sheet always is). Only that page
    // polls: an apply of the whole sheet must not start a hidden page's polling.
    bool IsActivePage() const;
    // The command whose answer the page waits for; -1 for none.
    int Outstanding() const { return m_nOutstanding; }
    // Nothing of the page's in flight and the link free: a request may go out now. (The link turns
    // idle a moment before its answer reaches the page, so the link alone cannot say.)
    bool IsQuiet() const { return m_nOutstanding < 0 && LinkFree(); }

protected:
    bool PrepareRequest(int command, int& byteCount) override;
    // Answers and failures, after the page noted that nothing is in flight any more.
    virtual void OnAnswer(int command, int dataCount) = 0;
    virtual void OnLinkFailure(int state) = 0;
    // The wait before a refused command is asked again has passed.
    virtual void OnRetry(int command) { (void)command; }
    // The page's own window timers.
    virtual void OnPageTimer(int id) { (void)id; }
    // Another window's transaction ended while this page had the link and waited for nothing:
    // starts the next poll unless one is already due (the poll timer runs).
    virtual void ResumePolling() = 0;

    // Sends the head of the queue; false when nothing went out.
    bool SendNext();
    void SendWhenQuiet() {
        if (IsQuiet())
            SendNext();
    }
    // Asks for the command again after the short wait.
    void RetryLater(int command);
    // A page that stops being active gives its open request up (its answer would reach a page
    // that no longer listens) and keeps the command first in its queue for the next activation.
    void GiveUpOutstanding();
    // Kills the poll timer and the retry wait.
    void StopTimers(int pollTimer);

private:
    void OnReceive(int command, int dataCount) final;
    void OnForeignAnswer(int command, int dataCount) final;
    void OnForeignEnd();
    void OnFail(int state) final;
    void OnTimer(int id) final;

    CTrendSettings m_settings;
    int m_nOutstanding = -1;
    int m_nRetryCommand = -1;
};

// A page that asks the selected transmitters of a multi-drop loop one after another, a pass at a time.
class CMultiDropTrendPage : public CTrendPage {
    Q_OBJECT
public:
    using CTrendPage::CTrendPage;
    // The place, among the selected devices, of the one whose turn it is.
    int DeviceIndex() const { return m_nDeviceIndex; }

protected:
    // Sends the request to the device whose turn it is.
    bool PrepareRequest(int command, int& byteCount) override;
    int CurrentAddress() const;
    // On to the next device; false when the pass has ended and the turn is back at the first.
    bool AdvanceDevice();
    void RestartPass() { m_nDeviceIndex = 0; }

private:
    int m_nDeviceIndex = 0;
};
