#pragma once
// The one top-level window: it owns the HART link and its relay, lays out the four views, carries
// the menus, tool bar and status bar, and dispatches every command. Pages see it through
// IPageHost. The commands themselves live in CLinkCommands (port and connection) and
// CDeviceCommands (search, device pages, tools); this class holds the window and its state.
#include "shell/AddressList.h"
#include "shell/PageHost.h"

#include <QMainWindow>
#include <QUrl>
#include <functional>
#include <memory>

class CVMC70App;
class CLeftView;
class CSearchOption;
class CVMC70View;
class CRightCodeView;
class CStatusPanes;
class CFrameMenus;
class CLinkCommands;
class CDeviceCommands;
class CExternalProgram;
class QSplitter;

class CMainFrame : public QMainWindow, public IPageHost {
public:
    explicit CMainFrame(CVMC70App& app);
    ~CMainFrame() override;

    // The rest of frame creation: configure and connect the link, read the naming mode.
    void OnCreate();

    // IPageHost.
    CHartComm& Comm() override { return *m_wndHartComm; }
    CLinkRelay& Relay() override { return *m_relay; }
    CAddressList& SelectedDevices() override { return m_SelectedDevices; }
    int DetectMode() const override { return m_nDetectMode; }
    int ConfiguredRetryCount() const override;
    bool IsSearching() const override { return m_bSearching; }
    void SetSearching(bool on) override { m_bSearching = on; }
    void SetMessageText(const QString& text) override;
    void UpdatePollingPane() override;
    QWidget* DialogParent() override { return this; }
    CProfile& Profile() override;

    // Every menu, tool bar, accelerator and pop-up command arrives here.
    void OnCommand(int id);
    // False for a command whose page or dialog the program does not have.
    bool IsCommandAvailable(int id) const;

    // After a page, sheet or dialog the frame opened has closed.
    void ResetReceiver();
    // Top-level menus 2 ("Transmitter Setup") and 3 ("Data Trend").
    void EnableDeviceMenus(bool on);
    bool DeviceMenusEnabled() const { return m_bDeviceMenus; }
    // Naming of the tree rows: 1 tag, 2 unique identifier; stored in the settings.
    void SetDetectMode(int mode);
    // Tree pane height from the option form's collapsed flag.
    void ApplyOptionPaneHeight();

    // How "Open(&O)" chooses a file and hands it to the desktop (replaceable for other desktops).
    void SetFileChooser(std::function<QString(QWidget*)> f) { m_chooseTextFile = std::move(f); }
    void SetUrlOpener(std::function<bool(const QUrl&)> f) { m_openUrl = std::move(f); }

    CVMC70App& App() { return m_app; }
    CLeftView* DeviceTreeView() const { return m_tree; }
    CSearchOption* SearchOptionView() const { return m_option; }
    CVMC70View* DeviceListView() const { return m_list; }
    CRightCodeView* CodeView() const { return m_codeView; }
    CStatusPanes& StatusPanes() { return *m_status; }
    CFrameMenus& Menus() { return *m_menus; }
    CLinkCommands& LinkCommands() { return *m_linkCommands; }
    CDeviceCommands& DeviceCommands() { return *m_deviceCommands; }
    CExternalProgram& FrameMonitor() { return *m_frameMonitor; }
    // The calibration coordinator, closed with the frame when the frame started it.
    CExternalProgram& AutoCalibration() { return *m_autoCalibration; }
    const QString& MessageText() const { return m_strMessageText; }
    bool IsStarting() const { return m_bStarting; }
    bool FrameDebugOn() const { return m_bFrameDebug; }
    // Set by a device command that had to search first; the next device command announces the
    // current address once.
    bool AnnounceAddress() const { return m_bAnnounceAddress; }
    void SetAnnounceAddress(bool on) { m_bAnnounceAddress = on; }

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void BuildViews();
    void ApplyCommandStates();
    void OnExit();
    void OnOpenTextFile();
    void OnFrameDebug();
    void CloseExternalPrograms();

    CVMC70App& m_app;
    std::unique_ptr<CHartComm> m_wndHartComm;
    std::unique_ptr<CLinkRelay> m_relay;
    CAddressList m_SelectedDevices;
    QString m_strMessageText;
    int m_nDetectMode = 1;
    bool m_bFrameDebug = false;
    bool m_bSearching = false;
    bool m_bStarting = true;
    bool m_bOptionCollapsed = true;
    bool m_bDeviceMenus = false;
    bool m_bClosed = false;
    bool m_bAnnounceAddress = false;

    QSplitter* m_leftSplitter = nullptr;
    CLeftView* m_tree = nullptr;
    CSearchOption* m_option = nullptr;
    CVMC70View* m_list = nullptr;
    CRightCodeView* m_codeView = nullptr;
    std::unique_ptr<CFrameMenus> m_menus;
    CStatusPanes* m_status = nullptr;
    std::unique_ptr<CLinkCommands> m_linkCommands;
    std::unique_ptr<CDeviceCommands> m_deviceCommands;
    std::unique_ptr<CExternalProgram> m_frameMonitor;
    std::unique_ptr<CExternalProgram> m_autoCalibration;
    std::function<QString(QWidget*)> m_chooseTextFile;
    std::function<bool(const QUrl&)> m_openUrl;
};
