#include "pages/misc/LcdEngrMode.h"

#include "hart/widgets/CodeCombos.h"
#include "platform/MessageBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

// Request byte of 233 and 234: the engineering display's setting group.
constexpr int kEngrGroup = 85;
constexpr int kUserDefinedUnit = 249;
constexpr int kDefaultUnitRow = 81; // "mm"

template <class W> W* Named(W* w, int id) {
    w->setObjectName(QString::number(id));
    return w;
}

} // namespace

CLCDENGRMode::CLCDENGRMode(IPageHost& host, QWidget* parent) : CLcdPage(host, QStringLiteral("ENGR Mode"), parent) {
    m_trfc = Named(new QComboBox(this), IDC_ENGR_TRFC);
    m_upper = Named(new QLineEdit(this), IDC_ENGR_UPPER);
    m_lower = Named(new QLineEdit(this), IDC_ENGR_LOWER);
    m_unit = Named(new QComboBox(this), IDC_ENGR_UNIT);
    m_userUnit = Named(new QLineEdit(this), IDC_USER_UNIT);
    m_userUnitLabel = new QLabel(QStringLiteral("User Defined Unit :"), this);
    m_userUnitNote = new QLabel(QStringLiteral("( Max 6 characters )"), this);

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(new QLabel(QStringLiteral("Engr. TRFC :"), this), row, 0);
    grid->addWidget(m_trfc, row++, 1);
    grid->addWidget(new QLabel(QStringLiteral("Engr. Upper Range :"), this), row, 0);
    grid->addWidget(m_upper, row++, 1);
    grid->addWidget(new QLabel(QStringLiteral("Engr. Lower Range :"), this), row, 0);
    grid->addWidget(m_lower, row++, 1);
    grid->addWidget(new QLabel(QStringLiteral("Engr Range Unit :"), this), row, 0);
    grid->addWidget(m_unit, row++, 1);
    grid->addWidget(m_userUnitLabel, row, 0);
    grid->addWidget(m_userUnit, row, 1);
    grid->addWidget(m_userUnitNote, row, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);

    Fields().Float(&m_fUpper, m_upper);
    Fields().Float(&m_fLower, m_lower);
    Fields().Text(&m_strUserUnit, m_userUnit, kUserUnitChars);

    connect(m_unit, &QComboBox::currentIndexChanged, this,
            [this] { ShowUserUnit(SelectedUnit() == kUserDefinedUnit); });
}

void CLCDENGRMode::OnInitDialog() {
    CLcdPage::OnInitDialog();
    ShowUserUnit(false);
    m_trfc->addItems({QStringLiteral("Linear"), QStringLiteral("Sqrt")});
    m_trfc->setCurrentIndex(-1);
    hart::FillAllUnitCombo(m_unit);
    m_unit->setCurrentIndex(kDefaultUnitRow);
    QueueCommand(234);
}

bool CLCDENGRMode::OnSetActive() {
    EnableRead(true);
    return CLcdPage::OnSetActive();
}

int CLCDENGRMode::SelectedUnit() const {
    const int row = m_unit->currentIndex();
    return row >= 0 ? hart::UnitTable()[static_cast<std::size_t>(row)].code : -1;
}

void CLCDENGRMode::ShowUserUnit(bool on) {
    for (QWidget* w : {static_cast<QWidget*>(m_userUnit), static_cast<QWidget*>(m_userUnitLabel),
                       static_cast<QWidget*>(m_userUnitNote)})
        w->setVisible(on);
}

bool CLCDENGRMode::PrepareRequest(int command, int& byteCount) {
    byteCount = 0;
    switch (command) {
    case 233:
    case 234:
        Comm().SetRequestOffset(0);
        Comm().SetXInt8(kEngrGroup);
        byteCount = 1;
        return true;
    case 244:
        if (m_nTrfcToWrite < 0) {
            DropCommand(); // nothing chosen, nothing to write
            return false;
        }
        Comm().SetRequestOffset(0);
        Comm().SetXInt8(m_nTrfcToWrite);
        byteCount = 1;
        return true;
    case 243:
        Comm().SetRequestOffset(0);
        Comm().SetXInt8(m_nUnitToWrite);
        Comm().SetRequestOffset(1);
        Comm().SetFloat(m_fUpper);
        Comm().SetRequestOffset(2);
        Comm().SetFloat(m_fLower);
        byteCount = 9;
        if (m_nUnitToWrite == kUserDefinedUnit) {
            for (int i = 0; i < kUserUnitChars; ++i) {
                Comm().SetRequestOffset(3 + i);
                Comm().SetXInt8(static_cast<std::uint8_t>(m_userUnitToWrite.at(i)));
            }
            byteCount = 9 + kUserUnitChars;
        }
        return true;
    default:
        return true;
    }
}

void CLCDENGRMode::OnReceive(int command, int dataCount) {
    const bool mine = command == 233 || command == 234 || command == 243 || command == 244;
    if (mine && dataCount <= 0) {
        ReportCommandError(4, QString::number(command));
    } else if (command == 234 || command == 244) {
        Comm().SetResponseOffset(0);
        const int index = Comm().GetXInt8();
        m_trfc->setCurrentIndex(index < m_trfc->count() ? index : -1);
        if (command == 234)
            QueueCommand(233);
    } else if (command == 233 || command == 243) {
        ShowRange();
    }
    if (mine)
        UpdateData(false);
    NextAfterPause();
}

void CLCDENGRMode::ShowRange() {
    Comm().SetResponseOffset(0);
    const int unit = Comm().GetXInt8();
    m_unit->setCurrentIndex(hart::FindCodeIndex(hart::UnitTable(), unit));
    Comm().SetResponseOffset(1);
    m_fUpper = Comm().GetFloat();
    Comm().SetResponseOffset(2);
    m_fLower = Comm().GetFloat();
    ShowUserUnit(unit == kUserDefinedUnit);
    if (unit != kUserDefinedUnit)
        return;
    QString text;
    for (int i = 0; i < kUserUnitChars; ++i) {
        Comm().SetResponseOffset(3 + i);
        text += QChar(static_cast<char16_t>(Comm().GetXInt8() & 0xFF));
    }
    // The device pads with blanks; the edit shows the text.
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    m_strUserUnit = text;
}

void CLCDENGRMode::OnSheetRead() {
    QueueCommand(234);
    QueueCommand(233);
    Kick();
}

void CLCDENGRMode::OnSheetWrite() {
    if (!UpdateData(true))
        return;
    const int unit = SelectedUnit();
    if (unit < 0) {
        vmc::PlainBox(QStringLiteral("Select a Unit!"));
        m_unit->setFocus();
        return;
    }
    if (unit == kUserDefinedUnit) {
        const QString text = m_strUserUnit.left(kUserUnitChars).leftJustified(kUserUnitChars, QLatin1Char(' '));
        QByteArray bytes;
        for (QChar c : text) {
            // One byte a character: control characters, DEL and anything beyond ASCII cannot go.
            if (c.unicode() < 32 || c.unicode() >= 127) {
                vmc::ShowBox(QStringLiteral("VMC70"), QStringLiteral("Wrong String"));
                return;
            }
            bytes.append(static_cast<char>(c.unicode()));
        }
        m_userUnitToWrite = bytes;
    }
    m_nTrfcToWrite = m_trfc->currentIndex();
    m_nUnitToWrite = unit;
    QueueCommand(244);
    QueueCommand(243);
    Kick();
}
