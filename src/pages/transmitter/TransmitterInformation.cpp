#include "pages/transmitter/TransmitterInformation.h"

#include "hart/CodeTables.h"
#include "pages/common/UpperEdit.h"
#include "pages/transmitter/Form.h"
#include "pages/transmitter/PageText.h"
#include "pages/transmitter/TransmitterIds.h"
#include "platform/MessageBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace res;

namespace {
constexpr int kMaxFinalAssembly = 0xFFFFFF; // three bytes on the wire
}

CTransmitterInformation::CTransmitterInformation(IPageHost& host, QWidget* parent)
    : CTransmitterPage(host, QStringLiteral("Transmitter Information"), parent) {
    setObjectName(QString::number(IDD_TRANSMITTER_INFO));
    Build();
}

void CTransmitterInformation::Build() {
    auto* grid = new QGridLayout;
    auto upper = [this](int id) { return form::Named(new CUpperEdit(this), id); };
    m_pollingEdit = form::Edit(this, IDC_INFO_POLLING);
    m_tagEdit = upper(IDC_INFO_TAG);
    m_manufacturer = form::TextCombo(this, IDC_INFO_MANUFACTURER);
    m_type = form::TextCombo(this, IDC_INFO_TYPE);
    auto* productId = form::Edit(this, IDC_INFO_PRODUCT_ID);
    m_distributor = form::TextCombo(this, IDC_INFO_DISTRIBUTOR);
    auto* uniqueId = form::Edit(this, IDC_INFO_UNIQUE_ID, true);
    m_messageEdit = upper(IDC_INFO_MESSAGE);
    m_descriptorEdit = upper(IDC_INFO_DESCRIPTOR);
    m_finalEdit = form::Edit(this, IDC_INFO_FINAL_ASSEMBLY);

    m_yearEdit = form::Edit(this, IDC_INFO_YEAR);
    m_monthEdit = form::Edit(this, IDC_INFO_MONTH);
    m_dayEdit = form::Edit(this, IDC_INFO_DAY);
    auto* date = new QHBoxLayout;
    for (auto [edit, spinId, width] : {std::tuple{m_yearEdit, IDC_INFO_YEAR_SPIN, 48},
                                       std::tuple{m_monthEdit, IDC_INFO_MONTH_SPIN, 32},
                                       std::tuple{m_dayEdit, IDC_INFO_DAY_SPIN, 32}}) {
        edit->setFixedWidth(width);
        auto* spin = new CSpinBuddy(edit, spinId, this);
        m_spins[spinId] = spin;
        date->addWidget(edit);
        date->addWidget(spin);
    }
    date->addStretch(1);
    auto* today = form::Button(this, IDC_INFO_TODAY, QStringLiteral("Today"));
    today->hide();

    int row = 0;
    form::Row(grid, row++, QStringLiteral("Polling Address:"), m_pollingEdit);
    form::Row(grid, row++, QStringLiteral("Tag:"), m_tagEdit);
    form::Row(grid, row++, QStringLiteral("Manufacturer :"), m_manufacturer);
    form::Row(grid, row++, QStringLiteral("Type :"), m_type);
    form::Row(grid, row++, QStringLiteral("Product ID :"), productId);
    form::Row(grid, row++, QStringLiteral("Private Distributor:"), m_distributor);
    form::Row(grid, row++, QStringLiteral("Unique ID :"), uniqueId);
    form::Row(grid, row++, QStringLiteral("Message :"), m_messageEdit);
    grid->addWidget(new QLabel(QStringLiteral("Date :")), row, 0);
    grid->addLayout(date, row++, 1);
    form::Row(grid, row++, QStringLiteral("Descriptor :"), m_descriptorEdit);
    form::Row(grid, row++, QStringLiteral("Final Assembly No. :"), m_finalEdit);

    auto* revisions = new QGroupBox(QStringLiteral("Revision Level"), this);
    auto* revGrid = new QGridLayout(revisions);
    const std::pair<const char*, int> revRows[] = {{"Universal Cmd:", IDC_INFO_UNIVERSAL_REV},
                                                   {"Specfic Cmd:", IDC_INFO_DEVICE_REV},
                                                   {"Software:", IDC_INFO_SOFTWARE_REV},
                                                   {"Hardware:", IDC_INFO_HARDWARE_REV}};
    int* revMembers[] = {&m_nUniversalRevision, &m_nDeviceRevision, &m_nSoftwareRevision, &m_nHardwareRevision};
    for (int i = 0; i < 4; ++i) {
        auto* e = form::Edit(revisions, revRows[i].second, true);
        form::Row(revGrid, i, QLatin1String(revRows[i].first), e);
        Fields().Int(revMembers[i], e);
    }

    auto* preambles = new QGroupBox(QStringLiteral("Preambles"), this);
    auto* preGrid = new QGridLayout(preambles);
    auto* request = form::Edit(preambles, IDC_INFO_REQUEST_PREAMBLES, true);
    auto* response = form::Edit(preambles, IDC_INFO_RESPONSE_PREAMBLES);
    auto* requestSpin = new CSpinBuddy(request, IDC_INFO_REQUEST_SPIN, preambles);
    requestSpin->setEnabled(false);
    auto* responseSpin = new CSpinBuddy(response, IDC_INFO_RESPONSE_SPIN, preambles);
    m_spins[IDC_INFO_REQUEST_SPIN] = requestSpin;
    m_spins[IDC_INFO_RESPONSE_SPIN] = responseSpin;
    form::Row(preGrid, 0, QStringLiteral("Request:"), request, requestSpin);
    form::Row(preGrid, 1, QStringLiteral("Response:"), response, responseSpin);

    auto* right = new QVBoxLayout;
    right->addWidget(revisions);
    right->addWidget(preambles);
    right->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid, 3);
    layout->addLayout(right, 2);

    Fields().Int(&m_nPollingAddress, m_pollingEdit, 0, 15);
    Fields().Text(&m_strTag, m_tagEdit, 8);
    Fields().Text(&m_strProductId, productId);
    Fields().Text(&m_strUniqueId, uniqueId);
    Fields().Text(&m_strMessage, m_messageEdit, 32);
    Fields().Int(&m_nYear, m_yearEdit, 1970, 2050);
    Fields().Int(&m_nMonth, m_monthEdit, 1, 12);
    Fields().Int(&m_nDay, m_dayEdit, 1, 31);
    Fields().Text(&m_strDescriptor, m_descriptorEdit, 16);
    Fields().UInt(&m_nFinalAssembly, m_finalEdit, 0, kMaxFinalAssembly);
    Fields().Int(&m_nRequestPreambles, request);
    Fields().Int(&m_nResponsePreambles, response);

    // User edits only: the fields filled from answers queue nothing. The response preambles,
    // identifiers and name boxes have no write command.
    connect(m_pollingEdit, &QLineEdit::textEdited, this, [this] { Edited(6); });
    for (QLineEdit* e : {static_cast<QLineEdit*>(m_tagEdit), static_cast<QLineEdit*>(m_descriptorEdit),
                         m_yearEdit, m_monthEdit, m_dayEdit})
        connect(e, &QLineEdit::textEdited, this, [this] { Edited(18); });
    connect(m_messageEdit, &QLineEdit::textEdited, this, [this] { Edited(17); });
    connect(m_finalEdit, &QLineEdit::textEdited, this, [this] { Edited(19); });
    for (int spin : {IDC_INFO_YEAR_SPIN, IDC_INFO_MONTH_SPIN, IDC_INFO_DAY_SPIN})
        connect(m_spins[spin], &CSpinBuddy::Stepped, this, [this] { Edited(18); });
}

void CTransmitterInformation::OnInitDialog() {
    CTransmitterPage::OnInitDialog();
    CHartComm& comm = Comm();
    const int address = comm.GetPollingAddress();
    m_nPollingAddress = m_nOldPollingAddress = address;
    if (address != -1) {
        m_strTag = TrimRight(comm.GetTag(address));
        m_manufacturer->setEditText(comm.GetManufacturerName(address));
        m_type->setEditText(comm.GetDeviceTypeName(address));
        m_strProductId = QString::number(comm.GetDeviceId(address));
        m_strUniqueId = comm.GetUniqueIdText(address);
        comm.GetRevisions(address, m_nUniversalRevision, m_nDeviceRevision, m_nHardwareRevision,
                          m_nSoftwareRevision);
        m_nRequestPreambles = comm.GetRequestPreambles(address);
        m_nResponsePreambles = comm.GetResponsePreambles(address);
        for (int c : {13, 12, 16, 15})
            QueueCommand(c);
    }
    UpdateData(false);
    // The spins start at their lowest positions; the fields show them until the answers come.
    const std::tuple<int, int, int> ranges[] = {{IDC_INFO_YEAR_SPIN, 1970, 2038},
                                                {IDC_INFO_MONTH_SPIN, 1, 12},
                                                {IDC_INFO_DAY_SPIN, 1, 31},
                                                {IDC_INFO_REQUEST_SPIN, 2, 20},
                                                {IDC_INFO_RESPONSE_SPIN, 2, 20}};
    for (auto [id, low, high] : ranges) {
        m_spins[id]->SetRange(low, high);
        m_spins[id]->SetPos(low);
    }
}

std::array<QWidget*, 5> CTransmitterInformation::Command18Fields() const {
    return {m_tagEdit, m_descriptorEdit, m_dayEdit, m_monthEdit, m_yearEdit};
}

void CTransmitterInformation::Edited(int command) {
    if (!m_bLoaded)
        return;
    QueueCommand(command);
    SetModified(true);
}

QWidget* CTransmitterInformation::FieldOf(int command) const {
    switch (command) {
    case 6: return m_pollingEdit;
    case 12:
    case 17: return m_messageEdit;
    case 13:
    case 18: return m_tagEdit;
    case 16:
    case 19: return m_finalEdit;
    default: return nullptr;
    }
}

bool CTransmitterInformation::PrepareRequest(int command, int& byteCount) {
    CHartComm& comm = Comm();
    byteCount = 0;
    switch (command) {
    case 6: {
        if (!Fields().UpdateOne(m_pollingEdit, true))
            return false;
        if (m_nPollingAddress < 0 || m_nPollingAddress > 15) {
            vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("Input between 0 and 15."), vmc::BoxIcon::Error);
            m_pollingEdit->setFocus();
            return false;
        }
        // Two devices on one address would answer together and neither could be reached.
        if (m_nPollingAddress != comm.GetPollingAddress() && comm.FindDevice(m_nPollingAddress)) {
            vmc::ShowBox(vmc::ProgramTitle(), PollingAddressInUseText(m_nPollingAddress), vmc::BoxIcon::Error);
            m_pollingEdit->setFocus();
            return false;
        }
        // The row to move is the one of the address the device answers at now, whatever the
        // field held before.
        m_nOldPollingAddress = comm.GetPollingAddress();
        comm.SetRequestOffset(0);
        comm.SetXInt8(m_nPollingAddress);
        byteCount = 1;
        return true;
    }
    case 17:
        if (!Fields().UpdateOne(m_messageEdit, true))
            return false;
        comm.SetRequestOffset(0);
        comm.SetXStringLength(32);
        comm.SetXString(m_strMessage);
        byteCount = 24;
        return true;
    case 18:
        for (QWidget* w : Command18Fields())
            if (!Fields().UpdateOne(w, true))
                return false;
        comm.SetRequestOffset(0);
        comm.SetXStringLength(8);
        comm.SetXString(m_strTag);
        comm.SetRequestOffset(1);
        comm.SetXStringLength(16);
        comm.SetXString(m_strDescriptor);
        comm.SetRequestOffset(2);
        comm.SetXInt8(m_nDay);
        comm.SetRequestOffset(3);
        comm.SetXInt8(m_nMonth);
        comm.SetRequestOffset(4);
        comm.SetXInt8(m_nYear - 1900);
        byteCount = 21;
        return true;
    case 19:
        if (!Fields().UpdateOne(m_finalEdit, true))
            return false;
        comm.SetRequestOffset(0);
        comm.SetXInt24(static_cast<std::int32_t>(m_nFinalAssembly));
        byteCount = 3;
        return true;
    default: return true;
    }
}

void CTransmitterInformation::OnReceive(int command, int dataCount) {
    if (dataCount <= 0) {
        ReportCommandError(4, QString::number(command));
        if (QWidget* field = FieldOf(command))
            field->setFocus();
        SendQueued();
        return;
    }
    CHartComm& comm = Comm();
    switch (command) {
    case 6: {
        comm.SetResponseOffset(0);
        m_nPollingAddress = comm.GetXInt8();
        // The link has moved the device record; the tree and the list follow.
        vmc::PostMessage(Host().DeviceTree(), vmc::WM_TREE_RENAME, static_cast<vmc::WPARAM>(m_nOldPollingAddress),
                         m_nPollingAddress);
        Host().UpdatePollingPane();
        m_nOldPollingAddress = m_nPollingAddress;
        break;
    }
    case 12:
    case 17:
        comm.SetResponseOffset(0);
        m_strMessage = TrimRight(comm.GetXString());
        break;
    case 13:
    case 18: {
        comm.SetResponseOffset(0);
        m_strTag = TrimRight(comm.GetXString());
        comm.SetResponseOffset(1);
        m_strDescriptor = TrimRight(comm.GetXString());
        comm.SetResponseOffset(2);
        m_nDay = comm.GetXInt8();
        comm.SetResponseOffset(3);
        m_nMonth = comm.GetXInt8();
        comm.SetResponseOffset(4);
        m_nYear = comm.GetXInt8() + 1900;
        const int address = comm.GetPollingAddress();
        vmc::PostMessage(Host().DeviceTree(), vmc::WM_TREE_RENAME, static_cast<vmc::WPARAM>(address), address);
        break;
    }
    case 15:
        comm.SetResponseOffset(7);
        m_distributor->setEditText(hart::GetCodeName(hart::ManufacturerTable(), comm.GetXInt8()));
        break;
    case 16:
    case 19:
        comm.SetResponseOffset(0);
        m_nFinalAssembly = static_cast<quint32>(comm.GetXInt24());
        if (command == 16)
            m_bLoaded = true;
        break;
    default: break;
    }
    SendQueued();
    ShowFieldsOf(command);
}

void CTransmitterInformation::ShowFieldsOf(int command) {
    if (!m_bShown) {
        // The first answer replaces what the spins showed since the start; nothing is recorded
        // as an edit before the page has loaded, so nothing the user typed can be lost here.
        m_bShown = true;
        UpdateData(false);
        return;
    }
    switch (command) {
    case 6: Fields().UpdateOne(m_pollingEdit, false); break;
    case 12:
    case 17:
        Fields().UpdateOne(m_messageEdit, false);
        break;
    case 13:
    case 18:
        for (QWidget* w : Command18Fields())
            Fields().UpdateOne(w, false);
        break;
    case 16:
    case 19:
        Fields().UpdateOne(m_finalEdit, false);
        break;
    default: break;
    }
}

void CTransmitterInformation::OnFail(int state) {
    CTransmitterPage::OnFail(state);
    // After a faulty answer the loop still works: go on. Silence waits for the next "&Apply".
    if (state == 5)
        SendQueued();
}
