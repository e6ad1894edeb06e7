#include "pages/misc/LcdDisplayMode.h"

#include "hart/widgets/CodeCombos.h"
#include "pages/misc/LcdModes.h"
#include "platform/MessageBox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int kFlowDeviceType = 96;
const char* const kNormalCaptions[] = {"PV", "%", "mA / address"};
const char* const kFlowCaptions[] = {"Flow Rate", "Total Flow", "Pressure"};

template <class W> W* Named(W* w, int id) {
    w->setObjectName(QString::number(id));
    return w;
}

void Note(const QString& text) { vmc::ShowBox(vmc::ProgramTitle(), text); }

} // namespace

CLCDDisplayMode::CLCDDisplayMode(IPageHost& host, QWidget* parent)
    : CLcdPage(host, QStringLiteral("LCD Display Mode"), parent) {
    auto* displayBox = new QGroupBox(QStringLiteral("Engr. Display Mode"), this);
    m_normal = Named(new QRadioButton(QStringLiteral("Normal"), displayBox), IDC_NORMAL);
    m_engr = Named(new QRadioButton(QStringLiteral("Engr."), displayBox), IDC_ENGR);
    m_flow = Named(new QRadioButton(QStringLiteral("Flow"), displayBox), IDC_FLOW);
    m_displays = new QButtonGroup(this);
    auto* displayRow = new QHBoxLayout(displayBox);
    for (QRadioButton* b : {m_normal, m_engr, m_flow}) {
        m_displays->addButton(b);
        displayRow->addWidget(b);
    }

    auto* modeBox = new QGroupBox(this);
    m_basic = Named(new QCheckBox(QStringLiteral("Basic Mode"), modeBox), IDC_BASIC);
    m_fixed = Named(new QCheckBox(QStringLiteral("Fixed Mode"), modeBox), IDC_FIXED);
    m_choices = new QButtonGroup(this);
    const int ids[] = {IDC_CHOICE1, IDC_CHOICE2, IDC_CHOICE3};
    auto* choiceRow = new QHBoxLayout;
    choiceRow->addSpacing(20);
    for (int i = 0; i < 3; ++i) {
        m_choice[i] = Named(new QRadioButton(QString::fromUtf8(kNormalCaptions[i]), modeBox), ids[i]);
        m_choices->addButton(m_choice[i]);
        choiceRow->addWidget(m_choice[i]);
    }
    auto* modeLayout = new QVBoxLayout(modeBox);
    modeLayout->addWidget(m_basic);
    modeLayout->addWidget(m_fixed);
    modeLayout->addLayout(choiceRow);

    auto* cipherBox = new QGroupBox(QStringLiteral("Five Digit."), this);
    m_cipher = Named(new QComboBox(cipherBox), IDC_CIPHER);
    auto* cipherRow = new QHBoxLayout(cipherBox);
    cipherRow->addWidget(new QLabel(QStringLiteral("Cipher Set :"), cipherBox));
    cipherRow->addWidget(m_cipher, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(displayBox);
    layout->addWidget(modeBox);
    layout->addWidget(cipherBox);
    layout->addStretch(1);

    connect(m_basic, &QCheckBox::clicked, this, [this] { OnBasic(); });
    connect(m_fixed, &QCheckBox::clicked, this, [this] { OnFixed(); });
    for (QRadioButton* b : m_choice)
        connect(b, &QRadioButton::clicked, this, [this] { OnChoice(); });
    connect(m_flow, &QRadioButton::clicked, this, [this] { SetFlowCaptions(true); });
    for (QRadioButton* b : {m_normal, m_engr})
        connect(b, &QRadioButton::clicked, this, [this] {
            if (m_bFlowCaptions)
                SetFlowCaptions(false);
        });
}

void CLCDDisplayMode::OnInitDialog() {
    CLcdPage::OnInitDialog();
    int universal = 0, hardware = 0, software = 0;
    Comm().GetRevisions(Host().CurrentDevice(), universal, m_nDeviceRevision, hardware, software);
    m_cipher->setEnabled(HasCipher());
    m_flow->setEnabled(Comm().GetDeviceTypeCode(Host().CurrentDevice()) == kFlowDeviceType);
    hart::FillCodeCombo(lcd::CipherSetTable(), m_cipher);
    m_cipher->setCurrentIndex(0);
}

bool CLCDDisplayMode::OnSetActive() {
    if (HasCipher())
        QueueCommand(166);
    QueueCommand(207);
    // This page has nothing to read on demand: it reads whenever it is shown.
    EnableRead(false);
    return CLcdPage::OnSetActive();
}

bool CLCDDisplayMode::PrepareRequest(int command, int& byteCount) {
    byteCount = 0;
    switch (command) {
    case 197:
        Comm().SetRequestOffset(0);
        Comm().SetXInt8(m_nModeToWrite);
        byteCount = 1;
        return true;
    case 156:
        Comm().SetRequestOffset(0);
        Comm().SetXInt8(m_nCipherToWrite);
        byteCount = 1;
        return true;
    default:
        return true;
    }
}

void CLCDDisplayMode::OnReceive(int command, int dataCount) {
    const bool mine = command == 207 || command == 197 || command == 166 || command == 156;
    if (mine && dataCount <= 0) {
        ReportCommandError(4, QString::number(command));
    } else if (command == 207 || command == 197) {
        Comm().SetResponseOffset(0);
        ShowMode(Comm().GetXInt8(), command == 207);
    } else if (command == 166 || command == 156) {
        Comm().SetResponseOffset(0);
        m_cipher->setCurrentIndex(hart::FindCodeIndex(lcd::CipherSetTable(), Comm().GetXInt8()));
    }
    EnableRead(false);
    NextAfterPause();
}

void CLCDDisplayMode::ShowMode(int byte, bool withDisplay) {
    const lcd::DisplayMode mode = lcd::DecodeDisplayMode(byte);
    if (withDisplay) {
        QRadioButton* display[] = {m_normal, m_engr, m_flow};
        display[mode.display]->setChecked(true);
        SetFlowCaptions(mode.display == lcd::kFlow);
    }
    m_basic->setChecked(mode.basic);
    m_fixed->setChecked(mode.choice != 0);
    SetChoicesEnabled(mode.choice != 0);
    CheckChoice(mode.choice);
}

void CLCDDisplayMode::SetFlowCaptions(bool flow) {
    m_bFlowCaptions = flow;
    for (int i = 0; i < 3; ++i)
        m_choice[i]->setText(QString::fromUtf8(flow ? kFlowCaptions[i] : kNormalCaptions[i]));
}

void CLCDDisplayMode::SetChoicesEnabled(bool on) {
    for (QRadioButton* b : m_choice)
        b->setEnabled(on);
}

void CLCDDisplayMode::CheckChoice(int choice) {
    if (choice >= 1 && choice <= 3) {
        m_choice[choice - 1]->setChecked(true);
        return;
    }
    m_choices->setExclusive(false);
    for (QRadioButton* b : m_choice)
        b->setChecked(false);
    m_choices->setExclusive(true);
}

int CLCDDisplayMode::CheckedChoice() const {
    for (int i = 0; i < 3; ++i)
        if (m_choice[i]->isChecked())
            return i + 1;
    return 0;
}

int CLCDDisplayMode::CheckedDisplay() const {
    if (m_normal->isChecked())
        return lcd::kNormal;
    if (m_engr->isChecked())
        return lcd::kEngineering;
    if (m_flow->isChecked())
        return lcd::kFlow;
    return lcd::kNoDisplay;
}

void CLCDDisplayMode::OnBasic() {
    m_fixed->setChecked(false);
    SetChoicesEnabled(false);
}

void CLCDDisplayMode::OnFixed() {
    m_basic->setChecked(false);
    SetChoicesEnabled(true);
}

void CLCDDisplayMode::OnChoice() {
    if (!m_fixed->isChecked())
        m_fixed->setChecked(true);
}

void CLCDDisplayMode::OnSheetWrite() {
    lcd::DisplayMode mode;
    mode.display = static_cast<lcd::Display>(CheckedDisplay());
    if (mode.display == lcd::kNoDisplay) {
        Note(QStringLiteral("Select a Normal or Engr or Flow."));
        return;
    }
    if (!m_basic->isChecked() && !m_fixed->isChecked()) {
        Note(QStringLiteral("Select a Basic Mode or Fixed Mode."));
        return;
    }
    mode.basic = m_basic->isChecked();
    mode.choice = mode.basic ? 0 : CheckedChoice();
    if (!mode.basic && mode.choice == 0) {
        Note(mode.display == lcd::kFlow ? QStringLiteral("Select a Flow Rate, Total Flow or Pressure.")
                                        : QStringLiteral("Select a PV, Percent or mA/address."));
        return;
    }
    const std::optional<int> byte = lcd::EncodeDisplayMode(mode);
    if (!byte)
        return;
    m_nModeToWrite = *byte;
    const int cipherRow = m_cipher->currentIndex();
    if (HasCipher() && cipherRow >= 0) {
        m_nCipherToWrite = lcd::CipherSetTable()[static_cast<std::size_t>(cipherRow)].code;
        QueueCommand(156);
    }
    QueueCommand(197);
    Kick();
}
