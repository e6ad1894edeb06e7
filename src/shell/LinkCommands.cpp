#include "shell/LinkCommands.h"

#include "platform/MessageBox.h"
#include "resources/CommandIds.h"
#include "shell/App.h"
#include "shell/ComSetupDialog.h"
#include "shell/FrameMenus.h"
#include "shell/MainFrame.h"

#include <cstring>

CLinkCommands::CLinkCommands(CMainFrame& frame) : m_frame(frame) {}

QString CLinkCommands::PortDescription() const {
    CVMC70App& app = m_frame.App();
    if (app.IsSimulated())
        return QStringLiteral("the simulated loop");
    const QString path = QString::fromStdString(m_frame.Comm().CurrentPortName());
    if (!app.PortOverride().empty())
        return path;
    return QStringLiteral("COM %1 (%2)").arg(m_frame.Comm().GetComPort()).arg(path);
}

void CLinkCommands::ConfigureLink() {
    CVMC70App& app = m_frame.App();
    CHartComm& comm = m_frame.Comm();
    const CComPortMap& ports = app.PortMap();
    comm.SetPortResolver([&ports](int n) { return ports.PathFor(n).toStdString(); });
    comm.SetPortPath(app.PortOverride());
    if (app.PortFactory())
        comm.SetPortFactory(app.PortFactory());
    comm.SetComPort(app.m_nComPort);
    comm.SetRetryCount(app.m_nRetryCount);
    comm.SetMasterType(app.m_nMasterType);
}

void CLinkCommands::UpdateLinkMenus() {
    const bool connected = m_frame.Comm().IsConnected();
    m_frame.Menus().SetCaption(res::ID_COM_CONNECT,
                               connected ? QStringLiteral("Com. Disconnect(&d)") : QStringLiteral("Com. Connect(&C)"));
    m_frame.EnableDeviceMenus(false); // until a search finds devices
}

void CLinkCommands::ConnectAtStart() {
    Connect(); // quiet: m_bStarting is still set
    CHartComm& comm = m_frame.Comm();
    comm.Disconnect();
    comm.Connect();
    // The second attempt decides what the window shows.
    if (!comm.IsConnected())
        vmc::SendMessage(m_frame.DeviceTree(), vmc::WM_HART_CONNECT, vmc::HART_DISCONNECTED, 0);
    UpdateLinkMenus();
}

void CLinkCommands::Connect() {
    CVMC70App& app = m_frame.App();
    CHartComm& comm = m_frame.Comm();
    if (comm.GetComPort() != app.m_nComPort)
        comm.SetComPort(app.m_nComPort);
    if (comm.GetRetryCount() != app.m_nRetryCount)
        comm.SetRetryCount(app.m_nRetryCount);
    if (comm.GetMasterType() != app.m_nMasterType)
        comm.SetMasterType(app.m_nMasterType);
    if (comm.Connect()) {
        UpdateLinkMenus();
        return;
    }
    if (!m_frame.IsStarting()) {
        vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("Can't connect this communication."), vmc::BoxIcon::Error);
        // The reason names the device itself; the pane names it once, as the user chose it.
        QString reason = QString::fromStdString(comm.LastConnectError());
        const QString device = QString::fromStdString(comm.CurrentPortName()) + QStringLiteral(": ");
        if (reason.startsWith(device))
            reason.remove(0, device.size());
        m_frame.SetMessageText(QStringLiteral("%1: %2").arg(PortDescription(), reason));
    }
    vmc::SendMessage(m_frame.DeviceTree(), vmc::WM_HART_CONNECT, vmc::HART_DISCONNECTED, 0);
}

bool CLinkCommands::Disconnect() { return m_frame.Comm().Disconnect() != 0; }

void CLinkCommands::OnComConnect() {
    CHartComm& comm = m_frame.Comm();
    if (!comm.IsConnected()) {
        Connect();
        return;
    }
    if (vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("Do you stop this communication?"), vmc::BoxIcon::Information,
                     vmc::MB_OKCANCEL) != vmc::IDOK)
        return;
    vmc::SendMessage(m_frame.DeviceTree(), vmc::WM_TREE_DEVICE, 1, 0);
    m_frame.SelectedDevices().RemoveAll();
    if (Disconnect()) {
        vmc::SendMessage(m_frame.DeviceTree(), vmc::WM_HART_CONNECT, vmc::HART_DISCONNECTED, 0);
        UpdateLinkMenus();
    } else {
        vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("Can't stop this communication!"), vmc::BoxIcon::Error);
        vmc::SendMessage(m_frame.DeviceTree(), vmc::WM_HART_CONNECT, vmc::HART_DISCONNECTED, 0);
    }
    m_frame.SetMessageText(QString());
}

void CLinkCommands::ForgetDevices() {
    m_frame.SelectedDevices().RemoveAll();
    m_frame.Comm().RemoveAllDevices();
}

void CLinkCommands::OnComSetup() {
    CVMC70App& app = m_frame.App();
    CComSetupDlg dlg(app.m_nComPortList, app.PortMap(), &m_frame);
    dlg.SetValues({app.m_nComPort, app.m_nRetryCount, app.m_nMasterType});
    if (dlg.exec() != QDialog::Accepted)
        return;
    const CComSetupValues v = dlg.Values();
    CHartComm& comm = m_frame.Comm();

    vmc::SendMessage(m_frame.DeviceTree(), vmc::WM_TREE_DEVICE, 1, 0);
    const bool portChanged = v.port != app.m_nComPort;
    const bool reconnect = portChanged || !comm.IsConnected();
    app.m_nComPort = static_cast<std::uint8_t>(v.port);
    app.m_nRetryCount = static_cast<short>(v.retryCount);
    app.m_nMasterType = static_cast<short>(v.masterType);
    app.StoreCommSettings();
    ForgetDevices();
    if (portChanged)
        app.SetPortOverride({}); // the port chosen here replaces a device given on the command line
    comm.SetPortPath(app.PortOverride());
    comm.SetComPort(v.port);
    comm.SetRetryCount(v.retryCount);
    comm.SetMasterType(v.masterType);
    m_frame.EnableDeviceMenus(false);

    if (!reconnect)
        return;
    if (comm.IsConnected()) {
        if (!Disconnect()) {
            vmc::ShowBox(QString(), QStringLiteral("Can't stop this communication!"), vmc::BoxIcon::Error);
            return;
        }
        vmc::SendMessage(m_frame.DeviceTree(), vmc::WM_HART_CONNECT, vmc::HART_DISCONNECTED, 0);
    }
    Connect();
    UpdateLinkMenus();
}

void CLinkCommands::OnPortLost(int error) {
    CHartComm& comm = m_frame.Comm();
    if (!comm.IsConnected())
        return;
    const int state = comm.GetComState();
    const bool inTransaction = state != hart::IDLE_COM_STATE && state != hart::COMERROR_COM_STATE &&
                               state != hart::NORESPONSE_COM_STATE;
    const QString port = PortDescription();
    comm.Disconnect();
    m_frame.SelectedDevices().RemoveAll();
    vmc::SendMessage(m_frame.DeviceTree(), vmc::WM_HART_CONNECT, vmc::HART_DISCONNECTED, 0);
    UpdateLinkMenus();
    m_frame.SetMessageText(QStringLiteral("Connection lost: %1").arg(port));
    // A page waiting for an answer hears that none will come.
    if (inTransaction)
        vmc::SendMessage(m_frame.Relay().Receiver(), vmc::WM_HART_FAIL, hart::NORESPONSE_COM_STATE, 0);
    vmc::ShowBox(vmc::ProgramTitle(),
                 QStringLiteral("The connection to the HART modem on %1 was lost (%2).\n\n"
                                "Check the adapter and its cable, then connect again with "
                                "System > Com. Connect.")
                     .arg(port, QString::fromLocal8Bit(std::strerror(error))),
                 vmc::BoxIcon::Warning);
}
