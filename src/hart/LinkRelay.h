#pragma once
// The link's owner on the UI side: it passes answers and failures to the one window registered as
// receiver, the status bytes to the status-bit view, and connection notices to the device tree.
// The main frame owns one and listens to it for its status bar; tests of pages use one directly.
#include "link/HartComm.h"
#include "platform/MessageTarget.h"

#include <QString>
#include <functional>

class CLinkRelay : public vmc::MessageTarget {
public:
    // Becomes the owner of the link's messages.
    explicit CLinkRelay(CHartComm& comm);
    ~CLinkRelay() override;

    CHartComm& Comm() { return m_comm; }

    // Exactly one receiver; the last window to register wins.
    void SetReceiver(vmc::TargetHandle h) { m_hWndReceiver = std::move(h); }
    vmc::TargetHandle Receiver() const { return m_hWndReceiver; }
    void SetCodeView(vmc::TargetHandle h) { m_hWndCodeView = std::move(h); }
    vmc::TargetHandle CodeView() const { return m_hWndCodeView; }
    void SetDeviceTree(vmc::TargetHandle h) { m_hWndDeviceTree = std::move(h); }
    vmc::TargetHandle DeviceTree() const { return m_hWndDeviceTree; }

    int LastResponseCode() const { return m_nLastResponseCode; }
    int LastDeviceStatus() const { return m_nLastDeviceStatus; }
    // "HART Cmd %03d: " and the response text of the last answer relayed.
    const QString& LastResponseText() const { return m_strLastResponseText; }

    // Frame hooks: every state change (status bar), and the port going away under the link.
    void SetComStateHook(std::function<void(int state, int retry)> f) { m_onComState = std::move(f); }
    void SetPortLostHook(std::function<void(int error)> f) { m_onPortLost = std::move(f); }

    // The box shown when the attempts of a transaction were spent on faulty answers.
    void ShowCommError();

    vmc::LRESULT OnMessage(unsigned msg, vmc::WPARAM wParam, vmc::LPARAM lParam) override;

private:
    CHartComm& m_comm;
    vmc::TargetHandle m_hWndReceiver;
    vmc::TargetHandle m_hWndCodeView;
    vmc::TargetHandle m_hWndDeviceTree;
    int m_nLastResponseCode = 0;
    int m_nLastDeviceStatus = 0;
    QString m_strLastResponseText;
    std::function<void(int, int)> m_onComState;
    std::function<void(int)> m_onPortLost;
};

// The boxes every receiver shows on WM_HART_FAIL: "No Response!" (6), "Communication Error!" (5).
void ShowLinkFailure(int state);
