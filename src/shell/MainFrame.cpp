#include "shell/MainFrame.h"

#include "hart/widgets/RightCodeView.h"
#include "platform/MessageBox.h"
#include "resources/CommandIds.h"
#include "resources/Menus.h"
#include "resources/Strings.h"
#include "shell/AboutDialog.h"
#include "shell/App.h"
#include "shell/DeviceCommands.h"
#include "shell/DeviceListView.h"
#include "shell/DeviceTree.h"
#include "shell/ExternalProgram.h"
#include "shell/FrameMenus.h"
#include "shell/LinkCommands.h"
#include "shell/SearchOption.h"
#include "shell/StatusPanes.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QIcon>
#include <QMenu>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

using namespace res;

namespace {

constexpr int kCollapsedOptionHeight = 112;
constexpr int kExpandedOptionHeight = 250;

QString ChooseTextFile(QWidget* parent) {
    QFileDialog dlg(parent);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setDefaultSuffix(QStringLiteral("txt"));
    dlg.setNameFilters({QStringLiteral("Text Files (*.txt)"), QStringLiteral("All Files (*)")});
    dlg.selectFile(QStringLiteral("*.txt"));
    dlg.setOption(QFileDialog::ReadOnly, false);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().front();
}

} // namespace

CMainFrame::CMainFrame(CVMC70App& app)
    : m_app(app), m_wndHartComm(std::make_unique<CHartComm>()), m_relay(std::make_unique<CLinkRelay>(*m_wndHartComm)),
      m_frameMonitor(std::make_unique<CExternalProgram>(QStringLiteral("framedebug"), QStringLiteral("FrameDebug"))),
      m_autoCalibration(std::make_unique<CExternalProgram>(QStringLiteral("autocal"),
                                                           QStringLiteral("Auto Calibration for Pressure Transmitter"))),
      m_chooseTextFile(&ChooseTextFile),
      m_openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(res::TitleText());
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    resize(880, 700);

    m_linkCommands = std::make_unique<CLinkCommands>(*this);
    m_deviceCommands = std::make_unique<CDeviceCommands>(*this);
    BuildViews();
    m_menus = std::make_unique<CFrameMenus>(*this, app.MenuResource(), [this](int id) { OnCommand(id); });
    m_tree->SetPopupMenu(m_menus->TreePopup());
    m_status = new CStatusPanes(statusBar());
    m_menus->SetChecked(ID_VIEW_TOOLBAR, true);
    m_menus->SetChecked(ID_VIEW_STATUS_BAR, true);
    m_menus->SetChecked(ID_FRAME_DEBUG, false);
    ApplyCommandStates();

    m_relay->SetDeviceTree(m_tree->Handle());
    m_relay->SetComStateHook([this](int state, int retry) { m_status->OnComState(state, retry); });
    m_relay->SetPortLostHook([this](int error) { m_linkCommands->OnPortLost(error); });
}

CMainFrame::~CMainFrame() {
    CloseExternalPrograms();
    m_relay->SetComStateHook(nullptr);
    m_relay->SetPortLostHook(nullptr);
    if (m_wndHartComm->IsConnected())
        m_wndHartComm->Disconnect();
}

void CMainFrame::BuildViews() {
    auto* columns = new QSplitter(Qt::Horizontal, this);
    columns->setObjectName(QStringLiteral("splitter"));
    m_leftSplitter = new QSplitter(Qt::Vertical, columns);
    auto* right = new QSplitter(Qt::Vertical, columns);

    m_list = new CVMC70View(*m_wndHartComm);
    m_tree = new CLeftView(*this, *m_list);
    m_option = new CSearchOption;
    m_codeView = new CRightCodeView(*m_relay);
    // The form keeps its size and its pane shows as much of it as the pane's height allows.
    auto* optionPane = new QScrollArea;
    optionPane->setObjectName(QStringLiteral("optionPane"));
    optionPane->setWidget(m_option);
    optionPane->setWidgetResizable(true);
    optionPane->setFrameShape(QFrame::NoFrame);
    optionPane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    optionPane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    optionPane->setMinimumHeight(0);
    m_leftSplitter->addWidget(m_tree);
    m_leftSplitter->addWidget(optionPane);
    m_leftSplitter->setCollapsible(0, true);
    m_leftSplitter->setCollapsible(1, false);
    right->addWidget(m_list);
    right->addWidget(m_codeView);
    m_leftSplitter->setSizes({450, kCollapsedOptionHeight});
    right->setSizes({210, 140});
    columns->setSizes({355, 880 - 355});
    columns->setStretchFactor(1, 1);
    setCentralWidget(columns);

    // The option pane's height follows its "SHOW"/"HIDE" button, not the splitter handle.
    connect(m_leftSplitter, &QSplitter::splitterMoved, this, [this] { ApplyOptionPaneHeight(); });
    m_option->SetSearchCommand([this] { OnCommand(ID_SEARCH_DEVICE); });
    m_option->SetCollapseHook([this](bool collapsed) {
        m_bOptionCollapsed = collapsed;
        ApplyOptionPaneHeight();
    });
}

void CMainFrame::OnCreate() {
    m_linkCommands->ConfigureLink();
    m_linkCommands->ConnectAtStart();
    m_bStarting = false;
    const int mode = m_app.Profile().GetInt(profile::kDetectMode);
    if (mode == 2)
        OnCommand(ID_VIEW_UNIQUEID);
    else if (mode == 1)
        OnCommand(ID_VIEW_TAG);
    else
        m_nDetectMode = mode;
    UpdatePollingPane();
}

int CMainFrame::ConfiguredRetryCount() const { return m_app.m_nRetryCount; }

CProfile& CMainFrame::Profile() { return m_app.Profile(); }

void CMainFrame::SetMessageText(const QString& text) {
    m_strMessageText = text;
    if (m_status)
        m_status->SetMessageText(text);
    if (text.isEmpty())
        vmc::SendMessage(m_relay->CodeView(), vmc::WM_HART_STATUSRESET, 0, 0);
}

void CMainFrame::UpdatePollingPane() {
    if (m_status)
        m_status->UpdatePolling(m_wndHartComm->GetPollingAddress());
}

void CMainFrame::ResetReceiver() {
    m_relay->SetReceiver({});
    SetMessageText(QString());
}

void CMainFrame::EnableDeviceMenus(bool on) {
    m_bDeviceMenus = on;
    m_menus->SetTopLevelEnabled(kTransmitterMenuPosition, on);
    m_menus->SetTopLevelEnabled(kDataTrendMenuPosition, on && IsCommandAvailable(ID_DATA_TREND));
}

bool CMainFrame::IsCommandAvailable(int id) const {
    if (m_deviceCommands->IsPageCommand(id))
        return m_deviceCommands->IsAvailable(id);
    switch (id) {
    case ID_COM_SETUP:
    case ID_COM_CONNECT:
    case ID_APP_EXIT:
    case ID_SEARCH_DEVICE:
    case ID_FRAME_DEBUG:
    case ID_FILE_OPEN_TEXT:
    case ID_VIEW_TAG:
    case ID_VIEW_UNIQUEID:
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR:
    case ID_APP_ABOUT:
    case ID_POLLING_ADDRESS_SETTING: return true;
    default: return false;
    }
}

void CMainFrame::ApplyCommandStates() {
    for (int id : m_menus->CommandIds())
        m_menus->SetEnabled(id, IsCommandAvailable(id));
    EnableDeviceMenus(m_bDeviceMenus);
}

void CMainFrame::OnCommand(int id) {
    if (!IsCommandAvailable(id))
        return;
    if (m_deviceCommands->IsPageCommand(id)) {
        m_deviceCommands->OnPageCommand(id);
        return;
    }
    switch (id) {
    case ID_COM_SETUP: m_linkCommands->OnComSetup(); break;
    case ID_COM_CONNECT: m_linkCommands->OnComConnect(); break;
    case ID_SEARCH_DEVICE: m_deviceCommands->OnSearch(); break;
    case ID_POLLING_ADDRESS_SETTING: m_deviceCommands->OnPollingAddressSetting(); break;
    case ID_APP_EXIT: OnExit(); break;
    case ID_FRAME_DEBUG: OnFrameDebug(); break;
    case ID_FILE_OPEN_TEXT: OnOpenTextFile(); break;
    case ID_VIEW_TAG: SetDetectMode(1); break;
    case ID_VIEW_UNIQUEID: SetDetectMode(2); break;
    case ID_VIEW_TOOLBAR: {
        QToolBar* bar = m_menus->ToolBar();
        bar->setVisible(!bar->isVisible());
        m_menus->SetChecked(ID_VIEW_TOOLBAR, bar->isVisible());
        break;
    }
    case ID_VIEW_STATUS_BAR:
        statusBar()->setVisible(!statusBar()->isVisible());
        m_menus->SetChecked(ID_VIEW_STATUS_BAR, statusBar()->isVisible());
        break;
    case ID_APP_ABOUT: m_app.OnAppAbout(); break;
    default: break;
    }
}

void CMainFrame::SetDetectMode(int mode) {
    m_menus->SetChecked(ID_VIEW_TAG, mode == 1);
    m_menus->SetChecked(ID_VIEW_UNIQUEID, mode == 2);
    m_nDetectMode = mode;
    m_app.Profile().WriteInt(profile::kDetectMode, mode);
    vmc::SendMessage(m_tree->Handle(), vmc::WM_TREE_RENAME, static_cast<vmc::WPARAM>(-1), -1);
}

void CMainFrame::ApplyOptionPaneHeight() {
    const int total = m_leftSplitter->height();
    const int option = m_bOptionCollapsed ? kCollapsedOptionHeight : kExpandedOptionHeight;
    const int tree = std::max(0, total - option);
    m_leftSplitter->setSizes({tree, total - tree});
}

void CMainFrame::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    ApplyOptionPaneHeight();
}

void CMainFrame::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    ApplyOptionPaneHeight();
}

void CMainFrame::OnExit() {
    if (vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("Do you exit %1?").arg(vmc::ProgramTitle()),
                     vmc::BoxIcon::Question, vmc::MB_OKCANCEL) == vmc::IDOK)
        close();
}

void CMainFrame::OnOpenTextFile() {
    const QString path = m_chooseTextFile(this);
    if (path.isEmpty())
        return;
    if (!m_openUrl(QUrl::fromLocalFile(path)))
        vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("No program on this desktop opens \"%1\".").arg(path),
                     vmc::BoxIcon::Warning);
}

void CMainFrame::OnFrameDebug() {
    m_bFrameDebug = !m_bFrameDebug;
    if (m_bFrameDebug) {
        QString error;
        if (!m_frameMonitor->Start(&error)) {
            m_bFrameDebug = false;
            vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("The frame monitor could not be started.\n%1").arg(error),
                         vmc::BoxIcon::Error);
        }
    } else {
        m_frameMonitor->Close();
    }
    m_menus->SetChecked(ID_FRAME_DEBUG, m_bFrameDebug);
}

void CMainFrame::CloseExternalPrograms() {
    if (m_bClosed)
        return;
    m_bClosed = true;
    if (m_autoCalibration->WasStarted())
        m_autoCalibration->Close();
    if (m_frameMonitor->WasStarted())
        m_frameMonitor->Close();
}

void CMainFrame::closeEvent(QCloseEvent* e) {
    CloseExternalPrograms();
    QMainWindow::closeEvent(e);
}
