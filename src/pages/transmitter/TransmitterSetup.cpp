#include "pages/transmitter/TransmitterSetup.h"

#include "hart/CodeTables.h"
#include "hart/widgets/CodeCombos.h"
#include "pages/transmitter/Form.h"
#include "pages/transmitter/LowCutModeDialog.h"
#include "pages/transmitter/PageText.h"
#include "pages/transmitter/TransmitterIds.h"
#include "platform/MessageBox.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace res;

namespace {

// A busy device is asked again at once, but not for ever.
constexpr int kMaxBusyRepeats = 10;
// A device that keeps another unit than the one written is asked twice more, then reported.
constexpr int kMaxUnitRepeats = 2;

bool IsWrite(int command) {
    return command == 34 || command == 35 || command == 44 || command == 47 || command == 152;
}

} // namespace

CTransmitterSetup::CTransmitterSetup(IPageHost& host, QWidget* parent)
    : CTransmitterPage(host, QStringLiteral("Transmitter Setup"), parent) {
    setObjectName(QString::number(IDD_TRANSMITTER_SETUP));
    Build();
}

void CTransmitterSetup::Build() {
    auto* display = new QGroupBox(QStringLiteral("Display Information"), this);
    auto* dGrid = new QGridLayout(display);
    m_pv = form::Label(display, IDC_SETUP_PV);
    m_pvUnit = form::Label(display, IDC_SETUP_PV_UNIT);
    m_sv = form::Label(display, IDC_SETUP_SV);
    m_svUnit = form::Label(display, IDC_SETUP_SV_UNIT);
    m_ao = form::Label(display, IDC_SETUP_AO);
    m_percent = form::Label(display, IDC_SETUP_PERCENT);
    for (QLabel* l : {m_pv, m_sv, m_ao, m_percent}) {
        l->setMinimumWidth(110);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setFrameShape(QFrame::StyledPanel);
    }
    m_variable = form::DropList(display, IDC_SETUP_VARIABLE);
    m_sensor = form::DropList(display, IDC_SETUP_SENSOR);
    m_sensorList = form::Button(display, IDC_SETUP_SENSOR_LIST, QStringLiteral("KL Sensor"));
    m_sensorList->setEnabled(false);
    int row = 0;
    form::Row(dGrid, row++, QStringLiteral("PV :"), m_pv, m_pvUnit);
    form::Row(dGrid, row++, QStringLiteral("SV :"), m_sv, m_svUnit);
    form::Row(dGrid, row++, QStringLiteral("AO :"), m_ao, new QLabel(QStringLiteral("(mA)")));
    form::Row(dGrid, row++, QStringLiteral("Percent :"), m_percent, new QLabel(QStringLiteral("(%)")));
    form::Row(dGrid, row++, QStringLiteral("Transmitter Variable :"), m_variable);
    form::Row(dGrid, row++, QStringLiteral("Sensor Type :"), m_sensor, m_sensorList);

    auto* output = new QGroupBox(QStringLiteral("Output Information"), this);
    auto* oGrid = new QGridLayout(output);
    m_unit = form::DropList(output, IDC_SETUP_UNIT);
    m_damping = form::Edit(output, IDC_SETUP_DAMPING);
    m_transfer = form::DropList(output, IDC_SETUP_TRANSFER);
    m_upper = form::Edit(output, IDC_SETUP_UPPER);
    m_lower = form::Edit(output, IDC_SETUP_LOWER);
    m_upperUnit = form::Label(output, IDC_SETUP_UPPER_UNIT);
    m_lowerUnit = form::Label(output, IDC_SETUP_LOWER_UNIT);
    row = 0;
    form::Row(oGrid, row++, QStringLiteral("Unit :"), m_unit);
    form::Row(oGrid, row++, QStringLiteral("Damping :"), m_damping, new QLabel(QStringLiteral("(sec)")));
    form::Row(oGrid, row++, QStringLiteral("Transfer Fn :"), m_transfer);
    form::Row(oGrid, row++, QStringLiteral("Upper Range :"), m_upper, m_upperUnit);
    form::Row(oGrid, row++, QStringLiteral("Lower Range :"), m_lower, m_lowerUnit);
    auto* buttons = new QHBoxLayout;
    auto* lowCut = form::Button(output, IDC_SETUP_LOW_CUT, QStringLiteral("Low Cut Mode"));
    auto* rangeReset = form::Button(output, IDC_SETUP_RANGE_RESET, QStringLiteral("Range Reset"));
    buttons->addWidget(lowCut);
    buttons->addWidget(rangeReset);
    oGrid->addLayout(buttons, row, 0, 1, 3);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(display);
    layout->addWidget(output);
    layout->addStretch(1);

    Fields().Float(&m_fDamping, m_damping);
    Fields().Float(&m_fUpperRange, m_upper);
    Fields().Float(&m_fLowerRange, m_lower);

    connect(m_damping, &QLineEdit::textEdited, this, [this] { Edited(m_bDampingChanged); });
    connect(m_upper, &QLineEdit::textEdited, this, [this] { Edited(m_bRangeChanged); });
    connect(m_lower, &QLineEdit::textEdited, this, [this] { Edited(m_bRangeChanged); });
    connect(m_unit, &QComboBox::activated, this, [this] { Edited(m_bUnitChanged); });
    connect(m_transfer, &QComboBox::activated, this, [this] { Edited(m_bTransferChanged); });
    connect(m_sensor, &QComboBox::activated, this, [this] {
        if (!Comm().IsKorvexDevice(Comm().GetPollingAddress()))
            return;
        Edited(m_bSensorChanged);
        BecomeReceiver();
    });
    connect(lowCut, &QPushButton::clicked, this, &CTransmitterSetup::OnLowCutMode);
    connect(rangeReset, &QPushButton::clicked, this, &CTransmitterSetup::OnRangeReset);

    // The refresh would overwrite what the user is typing or choosing: it pauses meanwhile.
    for (QWidget* w : std::initializer_list<QWidget*>{m_damping, m_upper, m_lower, m_unit, m_sensor, m_transfer})
        w->installEventFilter(this);
}

void CTransmitterSetup::OnInitDialog() {
    CTransmitterPage::OnInitDialog();
    CHartComm& comm = Comm();
    const int address = comm.GetPollingAddress();
    const bool korvex = comm.IsKorvexDevice(address);
    m_nDeviceType = comm.GetDeviceTypeCode(address);
    if (korvex)
        hart::FillUnitCombo(m_nDeviceType, m_unit);
    else
        hart::FillAllUnitCombo(m_unit);
    m_unit->setCurrentIndex(-1);
    hart::FillCodeCombo(hart::TransferFunctionTable(), m_transfer);
    m_transfer->setCurrentIndex(-1);
    hart::FillCodeCombo(hart::VariableCodeTable(), m_variable);
    m_variable->setCurrentIndex(1);
    m_variable->setEnabled(false);
    m_sensor->setEnabled(comm.IsTemperatureOrLevelDevice(address));
    m_bWritePending = m_bApplying = m_bMSSensorList = false;
    m_bDampingChanged = m_bRangeChanged = m_bUnitChanged = m_bTransferChanged = m_bSensorChanged = false;
    QueueCommand(3);
    QueueCommand(2);
    if (korvex) {
        hart::FillSensorCombo(m_nDeviceType, m_sensor);
        m_sensor->setCurrentIndex(-1);
        QueueCommand(162);
    }
    QueueCommand(15);
    if (LinkIdle())
        SendQueued();
    UpdateData(false);
}

bool CTransmitterSetup::OnSetActive() {
    m_bWritePending = false;
    BecomeReceiver();
    if (LinkIdle()) {
        QueueCommand(3);
        QueueCommand(2);
        SendQueued();
    }
    SetTimer(kRefreshTimer, kRefreshMs);
    return true;
}

bool CTransmitterSetup::OnKillActive() {
    if (!CTransmitterPage::OnKillActive())
        return false;
    KillTimer(kRefreshTimer);
    return true;
}

void CTransmitterSetup::Edited(bool& flag) {
    // Values shown before the first output read are the page's own, not the user's.
    flag = m_bLoaded;
    if (m_bLoaded)
        SetModified(true);
}

bool CTransmitterSetup::OnApply() {
    KillTimer(kRefreshTimer);
    m_bApplying = true;
    m_CommandQueue.RemoveAll();
    m_nUnitRepeats = 0;
    // In this order; a new sensor is followed by a read of the output it changed.
    struct Write {
        bool* flag;
        int command;
        int readBack;
    };
    const Write writes[] = {{&m_bDampingChanged, 34, 0},
                            {&m_bRangeChanged, 35, 0},
                            {&m_bSensorChanged, 152, 15},
                            {&m_bUnitChanged, 44, 0},
                            {&m_bTransferChanged, 47, 0}};
    for (const Write& w : writes) {
        if (!*w.flag)
            continue;
        QueueCommand(w.command);
        if (w.readBack)
            QueueCommand(w.readBack);
        *w.flag = false;
        m_bWritePending = true;
    }
    if (LinkIdle() && !m_bSettling)
        SendOrFinish();
    return true;
}

void CTransmitterSetup::SendOrFinish() {
    if (!m_CommandQueue.IsEmpty() && SendQueued())
        return;
    if (m_CommandQueue.IsEmpty() && m_bApplying) {
        m_bApplying = false;
        SetTimer(kRefreshTimer, kRefreshMs);
    }
}

int CTransmitterSetup::SelectedUnitCode() const {
    const QString code = hart::GetNameCode(hart::UnitTable(), m_unit->currentText());
    return code.isEmpty() || m_unit->currentIndex() < 0 ? -1 : code.toInt();
}

void CTransmitterSetup::SelectUnit(int unitCode) {
    if (Comm().IsKorvexDevice(Comm().GetPollingAddress())) {
        m_unit->setCurrentIndex(hart::GetUnitIndex(m_nDeviceType, unitCode));
    } else {
        const int row = hart::FindCodeIndex(hart::UnitTable(), unitCode);
        m_unit->setCurrentIndex(row < 0 ? 0 : row);
    }
}

void CTransmitterSetup::SetRangeUnitLabels(const QString& text) {
    m_upperUnit->setText(text);
    m_lowerUnit->setText(text);
}

bool CTransmitterSetup::PrepareRequest(int command, int& byteCount) {
    CHartComm& comm = Comm();
    byteCount = 0;
    // A write refused before it went out: the user fixes the field and applies again, so the
    // writes not sent yet keep their flags.
    auto refuseWrite = [this](int cmd, QWidget* focus, const QString& text) {
        if (!text.isEmpty())
            vmc::PlainBox(text);
        if (focus)
            focus->setFocus();
        std::vector<int> unsent = m_CommandQueue.Values();
        unsent.push_back(cmd);
        for (int c : unsent) {
            switch (c) {
            case 34: m_bDampingChanged = true; break;
            case 35: m_bRangeChanged = true; break;
            case 152: m_bSensorChanged = true; break;
            case 44: m_bUnitChanged = true; break;
            case 47: m_bTransferChanged = true; break;
            default: break;
            }
        }
        m_CommandQueue.RemoveAll();
        m_bWritePending = false;
        SetModified(true);
        return false;
    };
    switch (command) {
    case 2:
    case 3:
        if (m_bWritePending) {
            ContinueAfterDrop();
            return false;
        }
        return true;
    case 34:
        if (!Fields().UpdateOne(m_damping, true))
            return refuseWrite(command, nullptr, {});
        comm.SetRequestOffset(0);
        comm.SetFloat(m_fDamping);
        byteCount = 4;
        return true;
    case 35: {
        const int unit = SelectedUnitCode();
        if (unit < 0)
            return refuseWrite(command, m_unit, QStringLiteral("Select a Unit!"));
        if (!Fields().UpdateOne(m_upper, true) || !Fields().UpdateOne(m_lower, true))
            return refuseWrite(command, nullptr, {});
        comm.SetRequestOffset(0);
        comm.SetXInt8(unit);
        comm.SetRequestOffset(1);
        comm.SetFloat(m_fUpperRange);
        comm.SetRequestOffset(2);
        comm.SetFloat(m_fLowerRange);
        byteCount = 9;
        return true;
    }
    case 44: {
        const int unit = SelectedUnitCode();
        if (unit < 0)
            return refuseWrite(command, m_unit, QStringLiteral("Select a Unit!"));
        m_nUnitCode = unit;
        comm.SetRequestOffset(0);
        comm.SetXInt8(unit);
        byteCount = 1;
        return true;
    }
    case 47: {
        const int row = m_transfer->currentIndex();
        if (row < 0)
            return refuseWrite(command, m_transfer, {});
        comm.SetRequestOffset(0);
        comm.SetXInt8(hart::TransferFunctionTable()[static_cast<std::size_t>(row)].code);
        byteCount = 1;
        return true;
    }
    case 152:
    case 162: {
        const int variableRow = m_variable->currentIndex();
        if (variableRow < 0) {
            if (command == 152)
                return refuseWrite(command, m_variable, QStringLiteral("Select a Transmitter Variable"));
            vmc::PlainBox(QStringLiteral("Select a Transmitter Variable"));
            m_variable->setFocus();
            return false;
        }
        comm.SetRequestOffset(0);
        comm.SetXInt8(hart::VariableCodeTable()[static_cast<std::size_t>(variableRow)].code);
        byteCount = 1;
        if (command == 152) {
            const int row = m_sensor->currentIndex();
            const int code =
                m_bMSSensorList ? hart::GetMSSensorCode(row) : hart::GetSensorCode(m_nDeviceType, row);
            if (code < 0)
                return refuseWrite(command, m_sensor, {});
            comm.SetRequestOffset(1);
            comm.SetXInt8(code);
            byteCount = 2;
        }
        return true;
    }
    default: return true;
    }
}

void CTransmitterSetup::ShowSensor(int sensorCode) {
    const int row = hart::GetSensorIndex(m_nDeviceType, sensorCode);
    if (row < 0) {
        // The family list has no such sensor: offer the MS series instead.
        if (!m_bMSSensorList) {
            m_sensor->clear();
            hart::FillMSSensorCombo(m_sensor);
            m_bMSSensorList = true;
        }
        m_sensor->setCurrentIndex(hart::GetMSSensorIndex(sensorCode));
        m_sensorList->setText(QStringLiteral("MS Sensor"));
        return;
    }
    if (m_bMSSensorList) {
        hart::FillSensorCombo(m_nDeviceType, m_sensor);
        m_bMSSensorList = false;
    }
    m_sensorList->setText(QStringLiteral("KL Sensor"));
    m_sensor->setCurrentIndex(row);
}

void CTransmitterSetup::OnReceive(int command, int dataCount) {
    CHartComm& comm = Comm();
    if (command == 3 && Host().Relay().LastResponseCode() == 32 && m_nBusyRepeats < kMaxBusyRepeats) {
        ++m_nBusyRepeats;
        QueueCommandFirst(3);
        SendQueued();
        return;
    }
    if (command == 3)
        m_nBusyRepeats = 0;
    if (dataCount <= 0) {
        ReportCommandError(4, QString::number(command));
        const int code = Host().Relay().LastResponseCode();
        switch (command) {
        case 44: m_unit->setFocus(); break;
        case 47: m_transfer->setFocus(); break;
        case 34: m_damping->setFocus(); break;
        case 35: m_upper->setFocus(); break;
        case 152:
        case 162:
            if (code == 9)
                m_variable->setFocus();
            else if (code == 10)
                m_unit->setFocus();
            else if (code == 11)
                m_sensor->setFocus();
            break;
        default: break;
        }
        // The write is over, refused: the reads may run again.
        if (IsWrite(command))
            m_bWritePending = false;
        SendOrFinish();
        return;
    }
    auto item = [&comm](int n) -> CHartComm& {
        comm.SetResponseOffset(n);
        return comm;
    };
    const QString noUnit;
    switch (command) {
    case 2:
        if (comm.GetPollingAddress() != 0) {
            m_ao->setText(QStringLiteral("Fixed Value"));
            m_percent->setText(QStringLiteral("Fixed Value"));
        } else {
            m_ao->setText(ValueText(item(0).GetFloat()));
            m_percent->setText(ValueText(item(1).GetFloat()));
        }
        break;
    case 3: {
        const int pvUnit = item(1).GetXInt8();
        if (!m_bUnitChanged)
            SelectUnit(pvUnit);
        m_pvUnit->setText(UnitLabel(hart::GetCodeName(hart::UnitTable(), pvUnit)));
        m_pv->setText(ValueText(item(2).GetFloat()));
        if (dataCount <= 9) {
            m_sv->setText(QStringLiteral("(Not Used)"));
            m_svUnit->setText(noUnit);
        } else {
            m_svUnit->setText(UnitLabel(hart::GetCodeName(hart::UnitTable(), item(3).GetXInt8())));
            m_sv->setText(ValueText(item(4).GetFloat()));
        }
        break;
    }
    case 14:
        SetRangeUnitLabels(UnitLabel(hart::GetCodeName(hart::UnitTable(), item(1).GetXInt8())));
        m_fUpperRange = item(2).GetFloat();
        // The flow and capacitive pressure transmitters measure from zero.
        m_fLowerRange = m_nDeviceType == 107 || m_nDeviceType == 96 ? 0.0f : item(3).GetFloat();
        m_bRangeChanged = m_bLoaded;
        if (m_bLoaded)
            SetModified(true);
        Fields().UpdateOne(m_upper, false);
        Fields().UpdateOne(m_lower, false);
        break;
    case 15: {
        if (!m_bTransferChanged)
            m_transfer->setCurrentIndex(hart::FindCodeIndex(hart::TransferFunctionTable(), item(1).GetXInt8()));
        const int rangeUnit = item(2).GetXInt8();
        if (!m_bUnitChanged)
            SelectUnit(rangeUnit);
        SetRangeUnitLabels(UnitLabel(hart::GetCodeName(hart::UnitTable(), rangeUnit)));
        if (!m_bRangeChanged) {
            m_fUpperRange = item(3).GetFloat();
            m_fLowerRange = item(4).GetFloat();
            Fields().UpdateOne(m_upper, false);
            Fields().UpdateOne(m_lower, false);
        }
        if (!m_bDampingChanged) {
            m_fDamping = item(5).GetFloat();
            Fields().UpdateOne(m_damping, false);
        }
        m_bLoaded = true;
        break;
    }
    case 34:
        m_fDamping = item(0).GetFloat();
        Fields().UpdateOne(m_damping, false);
        WriteAnswered(false);
        return;
    case 35:
        SelectUnit(item(0).GetXInt8());
        m_fUpperRange = item(1).GetFloat();
        m_fLowerRange = item(2).GetFloat();
        Fields().UpdateOne(m_upper, false);
        Fields().UpdateOne(m_lower, false);
        WriteAnswered(false);
        return;
    case 44: {
        const int unit = item(0).GetXInt8();
        if (unit == m_nUnitCode) {
            SelectUnit(unit);
            const QString label = UnitLabel(hart::GetCodeName(hart::UnitTable(), unit));
            m_pvUnit->setText(label);
            SetRangeUnitLabels(label);
            WriteAnswered(true);
            return;
        }
        if (++m_nUnitRepeats <= kMaxUnitRepeats) {
            QueueCommand(44);
        } else {
            ReportCommandError(4, QString::number(command));
            m_unit->setFocus();
            m_bWritePending = false;
            for (int c : {3, 2, 15})
                QueueCommand(c);
        }
        break;
    }
    case 47:
        m_transfer->setCurrentIndex(hart::FindCodeIndex(hart::TransferFunctionTable(), item(0).GetXInt8()));
        WriteAnswered(false);
        return;
    case 152:
    case 162: {
        const int variableRow = hart::FindCodeIndex(hart::VariableCodeTable(), item(0).GetXInt8());
        if (variableRow >= 0)
            m_variable->setCurrentIndex(variableRow);
        ShowSensor(item(1).GetXInt8());
        if (command == 152) {
            WriteAnswered(false);
            return;
        }
        break;
    }
    default: break;
    }
    SendOrFinish();
}

void CTransmitterSetup::WriteAnswered(bool withOutput) {
    m_bSettling = true;
    m_bSettleReadsOutput = withOutput;
    SetTimer(kSettleTimer, kSettleMs);
}

void CTransmitterSetup::OnTimer(int id) {
    if (id == kSettleTimer) {
        KillTimer(kSettleTimer);
        m_bSettling = false;
        QueueCommand(3);
        QueueCommand(2);
        if (m_bSettleReadsOutput)
            QueueCommand(15);
        m_bWritePending = false;
        if (LinkIdle())
            SendOrFinish();
        return;
    }
    if (id != kRefreshTimer || m_bApplying || m_bSettling || !LinkIdle())
        return;
    // Whatever is still queued goes out with the reads: nothing else is in flight.
    QueueCommand(3);
    QueueCommand(2);
    SendQueued();
}

void CTransmitterSetup::OnFail(int state) {
    CTransmitterPage::OnFail(state);
    m_bWritePending = false;
    SendOrFinish();
}

void CTransmitterSetup::OnRangeReset() {
    QueueCommand(14);
    if (LinkIdle() && !m_bSettling)
        SendQueued();
}

void CTransmitterSetup::OnLowCutMode() {
    KillTimer(kRefreshTimer);
    if (Comm().IsTemperatureOrLevelDevice(Comm().GetPollingAddress())) {
        vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("This function is only for Pressure Transmitter"));
    } else {
        CLowCutModeDlg dlg(Host(), this);
        dlg.exec();
    }
    SetTimer(kRefreshTimer, kRefreshMs);
}

bool CTransmitterSetup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        KillTimer(kRefreshTimer);
    } else if (event->type() == QEvent::FocusOut) {
        const auto* focus = static_cast<QFocusEvent*>(event);
        // Only the page on show refreshes (the sheet may already be going away here).
        if (focus->reason() != Qt::PopupFocusReason && isVisible() && !m_bApplying)
            SetTimer(kRefreshTimer, kRefreshMs);
    }
    return CTransmitterPage::eventFilter(watched, event);
}
