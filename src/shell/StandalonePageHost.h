#pragma once
// A page host without the main window: it owns a link, its relay and a selection, keeps the
// message pane's text, and counts polling-pane updates. Pages can be opened and driven with it
// against any port the link is given (the simulated loop, a pseudo-terminal).
#include "shell/PageHost.h"
#include "shell/Profile.h"

#include <memory>

class CStandalonePageHost final : public IPageHost {
public:
    CStandalonePageHost();
    ~CStandalonePageHost() override;

    CHartComm& Comm() override { return *m_comm; }
    CLinkRelay& Relay() override { return *m_relay; }
    CAddressList& SelectedDevices() override { return m_selected; }
    int DetectMode() const override { return m_nDetectMode; }
    int ConfiguredRetryCount() const override { return m_nRetryCount; }
    bool IsSearching() const override { return m_bSearching; }
    void SetSearching(bool on) override { m_bSearching = on; }
    void SetMessageText(const QString& text) override;
    void UpdatePollingPane() override { ++m_nPollingPaneUpdates; }
    QWidget* DialogParent() override { return nullptr; }
    // The user's store unless another one was handed in.
    CProfile& Profile() override;

    void SetDetectMode(int mode) { m_nDetectMode = mode; }
    void SetConfiguredRetryCount(int n) { m_nRetryCount = n; }
    void SetProfile(std::unique_ptr<CProfile> profile) { m_profile = std::move(profile); }
    const QString& MessageText() const { return m_strMessageText; }
    int PollingPaneUpdates() const { return m_nPollingPaneUpdates; }

private:
    std::unique_ptr<CHartComm> m_comm;
    std::unique_ptr<CLinkRelay> m_relay;
    CAddressList m_selected;
    std::unique_ptr<CProfile> m_profile;
    int m_nDetectMode = 1;
    int m_nRetryCount = 5;
    bool m_bSearching = false;
    QString m_strMessageText;
    int m_nPollingPaneUpdates = 0;
};
