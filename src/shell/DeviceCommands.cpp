#include "shell/DeviceCommands.h"

#include "platform/MessageBox.h"
#include "resources/CommandIds.h"
#include "shell/App.h"
#include "shell/MainFrame.h"
#include "shell/PollingAddressDialog.h"
#include "shell/SearchDialog.h"
#include "shell/SearchOption.h"

using namespace res;
using Guard = CDeviceCommands::Guard;

namespace {
constexpr int kSearchRetryCount = 2;

void SelectADevice() { vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("Select a Device!"), vmc::BoxIcon::Warning); }
} // namespace

CDeviceCommands::CDeviceCommands(CMainFrame& frame) : m_frame(frame) {}

const std::map<int, CDeviceCommands::PageCommand>& CDeviceCommands::PageCommands() {
    static const std::map<int, PageCommand> table = {
        {ID_LOGFILE_SETUP, {}},
        {ID_MODBUS, {}},
        {ID_TEST, {}},
        {ID_DEVICE_SETTING, {Guard::None, true}},
        {ID_AUTO_DAC_TRIM, {Guard::None, true}},
        {ID_TEST_REPORT, {}},
        {ID_AUTO_SENSOR_FULL_TRIM, {Guard::None, true}},
        {ID_INITIALIZE_TEMP, {}},
        {ID_AUTOCAL_TEMP, {Guard::None, true}},
        {ID_CHAMBER_CONTROLLER, {}},
        {ID_REMOTE_CONTROL, {}},
        {ID_TRANSMITTER_INFO, {Guard::Device}},
        {ID_TRANSMITTER_SETUP, {Guard::Device}},
        {ID_TRANSMITTER_STATUS, {Guard::Device}},
        {ID_LCD_DISPLAY_MODE, {Guard::Device}},
        {ID_COMMAND_TEST, {Guard::DeviceNoAnnounce}},
        {ID_TOTALIZE, {Guard::Totalize}},
        {ID_GWR_LEVEL, {Guard::GwrLevel}},
        {ID_FOR_DEBUG, {Guard::ForDebug}},
        {ID_REFERENCE_SETUP, {}},
        {ID_SELF_COMPENSATION, {Guard::SelfCompensation}},
        {ID_TEST_MODE, {}},
        {ID_CFG_MULT, {}},
        {ID_AUTO_ZEROING, {}},
        {ID_AUTOCAL_SETUP, {}},
        {ID_AUTOCAL_PROGRAM, {}},
        {ID_AUTOCAL_START, {Guard::AutoCalibrationStart}},
        {ID_ALL_ZERO_TRIM, {}},
        {ID_CHANGING_UNIT, {}},
        {ID_OTHERS_SETUP, {}},
        {ID_IMSI, {Guard::Imsi}},
        {ID_IMSI2, {}},
        {ID_DATA_TREND, {Guard::Trend}},
    };
    return table;
}

bool CDeviceCommands::IsAvailable(int id) const {
    const CPageCatalog& catalog = m_frame.App().Catalog();
    if (id == ID_DATA_TREND)
        return catalog.Has(kPageTrendSingle) && catalog.Has(kPageTrendMulti);
    return catalog.Has(id);
}

void CDeviceCommands::OnSearch() {
    CHartComm& comm = m_frame.Comm();
    if (!comm.IsConnected()) {
        vmc::PlainBox(QStringLiteral("Can not connect to COM port!"));
        return;
    }
    if (comm.GetDeviceCount() > 0) {
        comm.RemoveAllDevices();
        m_frame.SelectedDevices().RemoveAll();
        vmc::SendMessage(m_frame.DeviceTree(), vmc::WM_TREE_DEVICE, 1, 0);
    }
    m_frame.SetSearching(true);
    comm.SetRetryCount(kSearchRetryCount);
    CSearchOption* option = m_frame.SearchOptionView();
    option->RecomputeAddressList();
    {
        CSearchDialog dlg(m_frame, option->AddressList(), option->AddressCount(), &m_frame);
        dlg.exec();
    }
    m_frame.EnableDeviceMenus(comm.GetDeviceCount() >= 1);
    m_frame.ResetReceiver();
    m_frame.SetSearching(false);
    comm.SetRetryCount(m_frame.ConfiguredRetryCount());
}

bool CDeviceCommands::DeviceCommand(bool announce) {
    CHartComm& comm = m_frame.Comm();
    if (!comm.IsConnected()) {
        vmc::PlainBox(QStringLiteral("This communication connection is not established!"));
        return false;
    }
    if (comm.GetDeviceCount() == 0) {
        if (vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("Would you like to Search?  "), vmc::BoxIcon::Question,
                         vmc::MB_YESNO) != vmc::IDYES)
            return false;
        OnSearch();
        if (announce)
            m_frame.SetAnnounceAddress(true);
    }
    if (m_frame.SelectedDevices().IsEmpty()) {
        SelectADevice();
        return false;
    }
    if (announce && m_frame.AnnounceAddress()) {
        vmc::ShowBox(vmc::ProgramTitle(),
                     QStringLiteral("Current selected Address is No. %1   ").arg(comm.GetPollingAddress()),
                     vmc::BoxIcon::Information);
        m_frame.SetAnnounceAddress(false);
    }
    return true;
}

void CDeviceCommands::OpenPage(int key, bool addressTable) {
    CHartComm& comm = m_frame.Comm();
    if (addressTable)
        comm.SetUseAddressTable(1);
    m_frame.App().Catalog().Open(key, m_frame);
    if (addressTable)
        comm.SetUseAddressTable(0);
    m_frame.ResetReceiver();
}

void CDeviceCommands::OnPageCommand(int id) {
    auto it = PageCommands().find(id);
    if (it == PageCommands().end() || !IsAvailable(id))
        return;
    const PageCommand& cmd = it->second;
    bool open = true;
    switch (cmd.guard) {
    case Guard::None: break;
    case Guard::Device: open = DeviceCommand(true); break;
    case Guard::DeviceNoAnnounce: open = DeviceCommand(false); break;
    case Guard::Totalize: open = CheckTotalize(); break;
    case Guard::GwrLevel: open = CheckGwrLevel(); break;
    case Guard::ForDebug: open = CheckForDebug(); break;
    case Guard::SelfCompensation: open = CheckSelfCompensation(); break;
    case Guard::Imsi: open = CheckImsi(); break;
    case Guard::AutoCalibrationStart: open = CheckAutoCalibrationStart(); break;
    case Guard::Trend:
        OnTrend();
        return;
    }
    if (open)
        OpenPage(id, cmd.addressTable);
}

void CDeviceCommands::OnTrend() {
    if (!DeviceCommand(true))
        return;
    CHartComm& comm = m_frame.Comm();
    CAddressList& selected = m_frame.SelectedDevices();
    int mode = 1;
    if (selected.GetCount() < 2) {
        mode = comm.GetPollingAddress() == 0 ? 1 : (selected.GetAt(0) > 0 ? 2 : 1);
    } else {
        mode = 2;
        // A device at address 0 drives its loop current and cannot share a multi-drop trend.
        vmc::SendMessage(m_frame.DeviceTree(), vmc::WM_TREE_UNCHECK, 0, 0);
    }
    if (mode == 1) {
        OpenPage(kPageTrendSingle, false);
        return;
    }
    const int saved = comm.GetPollingAddress();
    OpenPage(kPageTrendMulti, false);
    comm.SetPollingAddress(saved);
    m_frame.UpdatePollingPane();
}

bool CDeviceCommands::CheckTotalize() {
    if (m_frame.SelectedDevices().IsEmpty()) {
        SelectADevice();
        return false;
    }
    CHartComm& comm = m_frame.Comm();
    if (comm.GetDeviceTypeCode(comm.GetPollingAddress()) == 96)
        return true;
    vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("This is an exclusive menu for KP-510F.   "));
    return false;
}

bool CDeviceCommands::CheckGwrLevel() {
    if (m_frame.SelectedDevices().IsEmpty()) {
        SelectADevice();
        return false;
    }
    CHartComm& comm = m_frame.Comm();
    const int address = comm.GetPollingAddress();
    if (!comm.IsKorvexDevice(address)) {
        vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("This menu is Korvex Transmitter whole aspect menus.   "));
        return false;
    }
    if (comm.GetDeviceTypeCode(address) == 126)
        return true;
    vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("This is an exclusive menu for KL-710.   "));
    return false;
}

bool CDeviceCommands::CheckForDebug() {
    CHartComm& comm = m_frame.Comm();
    if (comm.IsTemperatureOrLevelDevice(comm.GetPollingAddress()))
        return true;
    vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("Not for Temp. Transmitter"), vmc::BoxIcon::Information);
    return false;
}

bool CDeviceCommands::CheckSelfCompensation() {
    if (m_frame.Comm().GetDeviceCount() == 0) {
        vmc::PlainBox(QStringLiteral("No Device!"));
        return false;
    }
    if (m_frame.SelectedDevices().IsEmpty()) {
        vmc::PlainBox(QStringLiteral("Selece a Device!"));
        return false;
    }
    return true;
}

bool CDeviceCommands::CheckImsi() {
    if (m_frame.Comm().GetDeviceCount() == 0) {
        vmc::PlainBox(QStringLiteral("검출된 Device가 없습니다!"));
        return false;
    }
    if (m_frame.SelectedDevices().IsEmpty()) {
        vmc::PlainBox(QStringLiteral("Device를 선택하십시오"));
        return false;
    }
    return true;
}

bool CDeviceCommands::CheckAutoCalibrationStart() {
    if (!m_frame.Comm().IsConnected()) {
        vmc::PlainBox(QStringLiteral("This communication connection is not established!"));
        return false;
    }
    if (m_frame.SelectedDevices().IsEmpty()) {
        SelectADevice();
        return false;
    }
    return true;
}

void CDeviceCommands::OnPollingAddressSetting() {
    CHartComm& comm = m_frame.Comm();
    if (!comm.IsConnected()) {
        vmc::PlainBox(QStringLiteral("This communication connection is not established!"));
        return;
    }
    if (comm.GetDeviceCount() > 0) {
        comm.RemoveAllDevices();
        m_frame.SelectedDevices().RemoveAll();
        vmc::SendMessage(m_frame.DeviceTree(), vmc::WM_TREE_DEVICE, 1, 0);
    }
    m_frame.EnableDeviceMenus(false);
    m_frame.SetSearching(true);
    comm.SetRetryCount(kSearchRetryCount);
    {
        CPollingAddressDlg dlg(m_frame, &m_frame);
        dlg.exec();
    }
    comm.SetRetryCount(m_frame.ConfiguredRetryCount());
    m_frame.SetSearching(false);
    m_frame.ResetReceiver();
}
