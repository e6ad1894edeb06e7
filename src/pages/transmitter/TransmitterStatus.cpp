#include "pages/transmitter/TransmitterStatus.h"

#include "pages/transmitter/Form.h"
#include "pages/transmitter/TransmitterIds.h"
#include "pages/transmitter/WaitDialog.h"
#include "platform/MessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace res;

namespace {

// One field of the command 48 answer: its caption, control, how many data bytes the answer needs
// for it, and its width in hexadecimal digits.
struct StatusField {
    const char* caption;
    int id;
    int minBytes;
    int digits;
};

constexpr std::array<StatusField, CTransmitterStatus::kStatusFields> kStatusFieldRows = {{
    {"Stat 0 :", 1392, 1, 2},      {"Stat 1 :", 1008, 2, 2},     {"Stat 2 :", 1009, 3, 2},
    {"Stat 3 :", 1010, 4, 2},      {"Stat 4 :", 1011, 5, 2},     {"Stat 5 :", 1012, 6, 2},
    {"Op Mode 1 :", 1013, 7, 2},   {"Op Mode 2 :", 1014, 8, 2},  {"A/O Sat :", 1015, 9, 6},
    {"A/O Fixed :", 1016, 12, 6},  {"Stat 14 :", 1017, 15, 2},   {"Stat 15 :", 1018, 16, 2},
    {"Stat 16 :", 1019, 17, 2},    {"Stat 17 :", 1020, 18, 2},   {"Stat 18 :", 1021, 19, 2},
    {"Stat 19 :", 1022, 20, 2},    {"Stat 20 :", 1023, 21, 2},   {"Stat 21 :", 1024, 22, 2},
    {"Stat 22 :", 1025, 23, 2},    {"Stat 23 :", 1026, 24, 2},   {"Stat 24 :", 1027, 25, 2},
}};

// The EEPROM control list and the byte each entry sends with command 39.
struct EepromEntry {
    const char* text;
    int code;
};
constexpr EepromEntry kEepromEntries[] = {
    {"Burn EEPROM(T)", 0}, {"Restore Shadow RAM", 1}, {"Burn EEPROM(P)", 85}};

} // namespace

CTransmitterStatus::CTransmitterStatus(IPageHost& host, QWidget* parent)
    : CHartDialog(host, parent), m_wait(new cWaitDialog(this)) {
    setObjectName(QString::number(IDD_TRANSMITTER_STATUS));
    setWindowTitle(QStringLiteral("Transmitter Status"));

    auto* init = new QGroupBox(QStringLiteral("Configuration Data Initialize"), this);
    m_eepromList = form::DropList(init, IDC_STATUS_EEPROM_LIST);
    for (const auto& e : kEepromEntries)
        m_eepromList->addItem(QLatin1String(e.text));
    m_eepromList->setCurrentIndex(2);
    auto* initButton =
        form::Button(init, IDC_STATUS_CONFIG_INIT, QStringLiteral("Configuration Data Initialize"));
    auto* extMem = form::Named(new QCheckBox(QStringLiteral("Ext. Mem. Write"), init), IDC_STATUS_EXT_MEM_WRITE);
    auto* initLayout = new QVBoxLayout(init);
    initLayout->addWidget(m_eepromList);
    initLayout->addWidget(initButton);
    initLayout->addWidget(extMem);

    auto* selfTest = form::Button(this, IDC_STATUS_SELF_TEST, QStringLiteral("Self Test"));
    auto* masterReset = form::Button(this, IDC_STATUS_MASTER_RESET, QStringLiteral("Master Reset"));
    auto* selfRecovery = form::Button(this, IDC_STATUS_SELF_RECOVERY, QStringLiteral("Self Recovery"));
    selfRecovery->hide();

    auto* statusGroup = new QGroupBox(QStringLiteral("Transmitter Status"), this);
    auto* grid = new QGridLayout(statusGroup);
    for (int i = 0; i < kStatusFields; ++i) {
        const StatusField& f = kStatusFieldRows[static_cast<std::size_t>(i)];
        QLineEdit* e = form::Edit(statusGroup, f.id, true);
        e->setAlignment(Qt::AlignCenter);
        e->setFixedWidth(f.digits == 6 ? 72 : 40);
        m_fields[static_cast<std::size_t>(i)] = e;
        // Three columns of seven.
        const int column = i / 7, row = i % 7;
        auto* label = new QLabel(QLatin1String(f.caption), statusGroup);
        grid->addWidget(label, row, column * 2);
        grid->addWidget(e, row, column * 2 + 1);
    }

    auto* mcu = form::Button(this, IDC_STATUS_MCU_STATUS, QStringLiteral("MCU Status"));
    auto* status = form::Button(this, IDC_STATUS_READ, QStringLiteral("Status"));
    auto* exit = form::Button(this, 1, QStringLiteral("Exit"));

    auto* actions = new QVBoxLayout;
    actions->addWidget(init);
    actions->addWidget(selfTest);
    actions->addWidget(masterReset);
    actions->addWidget(selfRecovery);
    actions->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(actions);
    top->addWidget(statusGroup, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mcu);
    buttons->addStretch(1);
    buttons->addWidget(status);
    buttons->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    connect(initButton, &QPushButton::clicked, this, &CTransmitterStatus::OnConfigurationInitialize);
    connect(selfTest, &QPushButton::clicked, this, &CTransmitterStatus::OnSelfTest);
    connect(masterReset, &QPushButton::clicked, this, &CTransmitterStatus::OnMasterReset);
    connect(status, &QPushButton::clicked, this, &CTransmitterStatus::OnStatus);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);

    BecomeReceiver();
    mcu->hide();
    extMem->hide();
    Send(48);
}

CTransmitterStatus::~CTransmitterStatus() {
    StopWaiting();
}

QString CTransmitterStatus::FieldText(int item) const {
    return m_fields.at(static_cast<std::size_t>(item))->text();
}

bool CTransmitterStatus::Send(int command) {
    QueueCommand(command);
    if (!LinkIdle())
        return true; // goes out after the answer on its way
    return SendNextCommand();
}

void CTransmitterStatus::StartAction(int command, bool& flag, const QString& message) {
    if (!Send(command))
        return; // the link took nothing: no action to wait for
    flag = true;
    m_wait->Show(message);
    m_bWaitShown = true;
}

void CTransmitterStatus::OnConfigurationInitialize() {
    if (m_eepromList->currentIndex() < 0) {
        vmc::PlainBox(QStringLiteral("Select a value"));
        m_eepromList->setFocus();
        return;
    }
    StartAction(39, m_bConfigInit, QStringLiteral("Processing configuration data initializing... Please wait..."));
}

void CTransmitterStatus::OnSelfTest() {
    if (vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("Do you run Self Test?"), vmc::BoxIcon::None,
                     vmc::MB_OKCANCEL) != vmc::IDOK)
        return;
    StartAction(41, m_bSelfTest, QStringLiteral("Processing Self Test... Please wait..."));
}

void CTransmitterStatus::OnMasterReset() {
    if (vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("Do you run Master Reset?"), vmc::BoxIcon::None,
                     vmc::MB_OKCANCEL) != vmc::IDOK)
        return;
    StartAction(42, m_bMasterReset, QStringLiteral("Processing Master Reset. Please wait..."));
}

void CTransmitterStatus::OnStatus() { Send(48); }

bool CTransmitterStatus::PrepareRequest(int command, int& byteCount) {
    byteCount = 0;
    if (command == 39) {
        const int row = m_eepromList->currentIndex();
        if (row < 0)
            return false;
        Comm().SetRequestOffset(0);
        Comm().SetXInt8(kEepromEntries[row].code);
        byteCount = 1;
    }
    return true;
}

void CTransmitterStatus::OnReceive(int command, int dataCount) {
    switch (command) {
    case 39:
    case 41:
    case 42:
        QueueCommand(1);
        break;
    case 1:
        OnPollAnswer();
        break;
    case 48:
        ShowStatus(dataCount);
        break;
    default: break;
    }
    SendWhenIdle();
}

void CTransmitterStatus::OnPollAnswer() {
    KillTimer(kPollTimer);
    switch (Host().Relay().LastResponseCode()) {
    case 0: {
        StopWaiting();
        const std::pair<bool*, const char*> done[] = {{&m_bSelfTest, "Complete Self Test!"},
                                                      {&m_bConfigInit, "Complete Configuration data initialize!"},
                                                      {&m_bMasterReset, "Complete Master Reset!"},
                                                      {&m_bExtMemWrite, "Complete Ext. Mem. Write!"}};
        for (auto [flag, text] : done) {
            if (!*flag)
                continue;
            *flag = false;
            vmc::PlainBox(QLatin1String(text));
            QueueCommand(48);
            break;
        }
        break;
    }
    case 32: SetTimer(kPollTimer, kPollMs); break;
    case 1: vmc::ShowBox(QStringLiteral("VMC70"), QStringLiteral("Analog EEPROM Write Error!!")); break;
    default: break;
    }
}

void CTransmitterStatus::ShowStatus(int dataCount) {
    CHartComm& comm = Comm();
    for (int i = 0; i < kStatusFields; ++i) {
        const StatusField& f = kStatusFieldRows[static_cast<std::size_t>(i)];
        if (dataCount < f.minBytes) continue; // keeps what it showed
        comm.SetResponseOffset(i);
        const quint32 v = f.digits == 6 ? static_cast<quint32>(comm.GetXInt24()) & 0xFFFFFF : comm.GetXInt8();
        const QString text = QStringLiteral("%1").arg(v, f.digits, 16, QLatin1Char('0')).toUpper();
        m_fields[static_cast<std::size_t>(i)]->setText(text);
    }
}

void CTransmitterStatus::OnTimer(int id) {
    if (id != kPollTimer)
        return;
    if (m_bSelfTest || m_bConfigInit || m_bMasterReset || m_bExtMemWrite)
        Send(1);
}

void CTransmitterStatus::OnFail(int state) {
    CHartDialog::OnFail(state);
    KillTimer(kPollTimer);
    StopWaiting();
    m_bSelfTest = m_bConfigInit = m_bMasterReset = m_bExtMemWrite = false;
    SendWhenIdle();
}

void CTransmitterStatus::StopWaiting() {
    if (m_bWaitShown)
        m_wait->Hide();
    m_bWaitShown = false;
}

void CTransmitterStatus::done(int result) {
    KillTimer(kPollTimer);
    StopWaiting();
    CHartDialog::done(result);
}
