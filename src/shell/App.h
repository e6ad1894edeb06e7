#pragma once
// The application object: one copy per user, the settings and the serial-port table, the link's
// way to the loop for this run (the configured port, a device path given on the command line, or
// the simulated loop), and the main frame.
#include "platform/SerialPort.h"
#include "shell/ComPortMap.h"
#include "shell/PageCatalog.h"
#include "shell/Profile.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CMainFrame;
class QLockFile;

enum class ProgramVariant { User, Admin };

class CVMC70App {
public:
    // A store and a port map may be handed in; by default the user's settings and this machine.
    explicit CVMC70App(ProgramVariant variant, std::unique_ptr<CProfile> profile = nullptr,
                       std::unique_ptr<CComPortMap> ports = nullptr);
    ~CVMC70App();
    CVMC70App(const CVMC70App&) = delete;
    CVMC70App& operator=(const CVMC70App&) = delete;

    // Start-up; nonzero when the program is to run. When it returns 0, ExitCode() says how the
    // process should end (0 for --help or a second copy, 2 for a bad command line or loop file).
    int InitInstance(const QStringList& arguments);
    int ExitCode() const { return m_nExitCode; }

    // Steps of the start-up, in this order.
    bool TakeInstanceLock();
    void EnumerateComPorts();
    void LoadCommSettings();
    CMainFrame* CreateMainFrame();

    // Writes m_nComPort, m_nRetryCount and m_nMasterType to the settings.
    void StoreCommSettings();
    void OnAppAbout();

    // Runs the link on the in-process simulated loop: the default loop, or one read from a file.
    bool StartSimulation(const QString& loopFile, QString* error);
    // True when the link talks to a simulated line instead of a serial device.
    bool IsSimulated() const { return m_portFactory != nullptr; }
    // A device path that replaces the configured port for this run ("" for none).
    void SetPortOverride(std::string path) { m_strPortOverride = std::move(path); }
    const std::string& PortOverride() const { return m_strPortOverride; }
    // The port the link opens instead of termios (the simulated line), or none.
    void SetPortFactory(vmc::SerialPortFactory factory) { m_portFactory = std::move(factory); }
    const vmc::SerialPortFactory& PortFactory() const { return m_portFactory; }

    int MenuResource() const;
    QString VariantText() const;
    static QString HelpText();

    CProfile& Profile() { return *m_profile; }
    CComPortMap& PortMap() { return *m_ports; }
    CPageCatalog& Catalog() { return m_catalog; }
    CMainFrame* MainFrame() const { return m_pMainWnd.get(); }

    // Settings the frame reads and the communication setup writes.
    std::vector<int> m_nComPortList; // found at start-up, at most 49
    std::uint8_t m_nComPort = 1;
    short m_nRetryCount = 5;
    short m_nMasterType = 1;

private:
    struct Simulation;

    ProgramVariant m_variant;
    std::unique_ptr<CProfile> m_profile;
    std::unique_ptr<CComPortMap> m_ports;
    CPageCatalog m_catalog;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<Simulation> m_simulation;
    std::string m_strPortOverride;
    vmc::SerialPortFactory m_portFactory;
    std::unique_ptr<CMainFrame> m_pMainWnd;
    int m_nExitCode = 0;
};
