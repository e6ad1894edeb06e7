#pragma once
// The frame's commands around the serial port: connect and disconnect, the communication setup,
// the link's set-up at frame creation, and what happens when the port goes away under the link.
#include <QString>

class CMainFrame;

class CLinkCommands {
public:
    explicit CLinkCommands(CMainFrame& frame);

    // Port, attempts and master type from the settings, and how to reach the loop this run.
    void ConfigureLink();
    // Frame creation: connect quietly, then once more directly.
    void ConnectAtStart();
    // "Com. Connect(&C)" / "Com. Disconnect(&d)".
    void OnComConnect();
    // "Com. Setup(&S)".
    void OnComSetup();
    // The link posted WM_HART_CONNECT with HART_PORT_LOST.
    void OnPortLost(int error);

    // Caption of the connect item and the device menus after the link changed state.
    void UpdateLinkMenus();

private:
    void Connect();
    bool Disconnect();
    void ForgetDevices();
    QString PortDescription() const;

    CMainFrame& m_frame;
};
