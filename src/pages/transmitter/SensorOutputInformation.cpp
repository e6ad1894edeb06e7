#include "pages/transmitter/SensorOutputInformation.h"

#include "hart/CodeTables.h"
#include "hart/widgets/CodeCombos.h"
#include "pages/transmitter/Form.h"
#include "pages/transmitter/PageText.h"
#include "pages/transmitter/TransmitterIds.h"
#include "platform/MessageBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace res;

CSensorOutputInformation::CSensorOutputInformation(IPageHost& host, QWidget* parent)
    : CTransmitterPage(host, QStringLiteral("Sensor && Output Information"), parent) {
    setObjectName(QString::number(IDD_SENSOR_OUTPUT_INFO));
    Build();
}

void CSensorOutputInformation::Build() {
    auto* grid = new QGridLayout;
    // Nothing writes these values back: they are shown, not edited.
    m_limitEdits[0] = form::Edit(this, IDC_SENSOR_SERIAL, true);
    m_limitEdits[1] = form::Edit(this, IDC_SENSOR_MIN_SPAN, true);
    m_limitEdits[2] = form::Edit(this, IDC_SENSOR_UPPER, true);
    m_limitEdits[3] = form::Edit(this, IDC_SENSOR_LOWER, true);
    m_unitLabels[0] = form::Label(this, IDC_SENSOR_SPAN_UNIT);
    m_unitLabels[1] = form::Label(this, IDC_SENSOR_UPPER_UNIT);
    m_unitLabels[2] = form::Label(this, IDC_SENSOR_LOWER_UNIT);
    m_sensorType = form::Edit(this, IDC_SENSOR_TYPE, true);
    m_alarm = form::DropList(this, IDC_SENSOR_ALARM);
    m_writeProtect = form::DropList(this, IDC_SENSOR_WRITE_PROTECT);

    int row = 0;
    form::Row(grid, row++, QStringLiteral("Serial No. :"), m_limitEdits[0]);
    form::Row(grid, row++, QStringLiteral("Minimum Span :"), m_limitEdits[1], m_unitLabels[0]);
    form::Row(grid, row++, QStringLiteral("Upper Limit :"), m_limitEdits[2], m_unitLabels[1]);
    form::Row(grid, row++, QStringLiteral("Lower Limit :"), m_limitEdits[3], m_unitLabels[2]);
    form::Row(grid, row++, QStringLiteral("Sensor Type :"), m_sensorType);
    form::Row(grid, row++, QStringLiteral("Alarm Selection :"), m_alarm);
    form::Row(grid, row++, QStringLiteral("Write Protect :"), m_writeProtect);

    // The zero-stability controls and "GAIN" belong to service builds; they stay hidden.
    auto* zero =
        form::Named(new QGroupBox(QStringLiteral(" Zero Stability Percent "), this), IDC_SENSOR_ZERO_GROUP);
    auto* zeroGrid = new QGridLayout(zero);
    form::Row(zeroGrid, 0, QStringLiteral("Percent Set:"), form::Edit(zero, IDC_SENSOR_PERCENT_SET),
              form::Label(zero, IDC_SENSOR_ZERO_GROUP + 1, QStringLiteral("( % )")));
    zeroGrid->addWidget(form::Button(zero, IDC_SENSOR_READ_PERCENT, QStringLiteral("Read Percent")), 1, 1);
    auto* gain = form::Button(this, IDC_SENSOR_GAIN, QStringLiteral("GAIN"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(zero);
    layout->addWidget(gain);
    layout->addStretch(1);

    Fields().UInt(&m_nSerial, m_limitEdits[0]);
    Fields().Float(&m_fMinimumSpan, m_limitEdits[1]);
    Fields().Float(&m_fUpperLimit, m_limitEdits[2]);
    Fields().Float(&m_fLowerLimit, m_limitEdits[3]);
    Fields().Text(&m_strSensorType, m_sensorType);

    connect(m_alarm, &QComboBox::activated, this, [this] {
        // Only the dual temperature transmitter takes its alarm selection by command.
        if (m_bLoaded && Comm().GetDeviceTypeCode(Comm().GetPollingAddress()) == 115) {
            QueueCommand(158);
            SetModified(true);
        }
    });
    connect(m_writeProtect, &QComboBox::activated, this, [this] {
        if (m_bLoaded) {
            QueueCommand(159);
            SetModified(true);
        }
    });
}

void CSensorOutputInformation::OnInitDialog() {
    CTransmitterPage::OnInitDialog();
    hart::FillCodeCombo(hart::WriteProtectTable(), m_writeProtect);
    m_writeProtect->setCurrentIndex(-1);
    hart::FillCodeCombo(hart::AlarmSelectTable(), m_alarm);
    m_alarm->setCurrentIndex(-1);
    m_bLoaded = false;
    QueueCommand(14);
    QueueCommand(15);
    // Other makers' devices do not know the maker's sensor-type command.
    if (Comm().IsKorvexDevice(Comm().GetPollingAddress()))
        QueueCommand(162);
    for (int id : {IDC_SENSOR_ZERO_GROUP, IDC_SENSOR_GAIN})
        findChild<QWidget*>(QString::number(id))->hide();
    UpdateData(false);
}

void CSensorOutputInformation::SelectCode(QComboBox* list, int code, bool alarm) {
    const int row = hart::FindCodeIndex(alarm ? hart::AlarmSelectTable() : hart::WriteProtectTable(), code);
    if (row >= 0)
        list->setCurrentIndex(row);
}

bool CSensorOutputInformation::PrepareRequest(int command, int& byteCount) {
    CHartComm& comm = Comm();
    byteCount = 0;
    switch (command) {
    case 162:
        comm.SetRequestOffset(0);
        comm.SetXInt8(1);
        byteCount = 1;
        return true;
    case 158: {
        const int row = m_alarm->currentIndex();
        if (row < 0)
            return false;
        comm.SetRequestOffset(0);
        comm.SetXInt8(hart::AlarmSelectTable()[static_cast<std::size_t>(row)].code);
        byteCount = 1;
        return true;
    }
    case 159: {
        const int row = m_writeProtect->currentIndex();
        if (row < 0)
            return false;
        const int code = hart::WriteProtectTable()[static_cast<std::size_t>(row)].code;
        if (code == 0 || code == 1) {
            // The jumper decides; read back what the device really has.
            m_writeProtect->setFocus();
            vmc::PlainBox(QStringLiteral("Can't select a H/W Setup!"));
            QueueCommand(15);
            ContinueAfterDrop();
            return false;
        }
        comm.SetRequestOffset(0);
        comm.SetXInt8(code);
        byteCount = 1;
        return true;
    }
    default: return true;
    }
}

void CSensorOutputInformation::OnReceive(int command, int dataCount) {
    CHartComm& comm = Comm();
    if (dataCount <= 0) {
        ReportCommandError(4, QString::number(command));
        if (command == 158)
            m_alarm->setFocus();
        else if (command == 159 || command == 162)
            m_writeProtect->setFocus();
        else if (command == 14 || command == 15)
            SendQueued();
        return;
    }
    switch (command) {
    case 14: {
        comm.SetResponseOffset(0);
        m_nSerial = static_cast<quint32>(comm.GetXInt24());
        comm.SetResponseOffset(1);
        const QString unit = UnitLabel(hart::GetCodeName(hart::UnitTable(), comm.GetXInt8()));
        for (QLabel* l : m_unitLabels)
            l->setText(unit);
        comm.SetResponseOffset(2);
        m_fUpperLimit = comm.GetFloat();
        comm.SetResponseOffset(3);
        m_fLowerLimit = comm.GetFloat();
        comm.SetResponseOffset(4);
        m_fMinimumSpan = comm.GetFloat();
        for (QLineEdit* e : m_limitEdits)
            Fields().UpdateOne(e, false);
        break;
    }
    case 15:
        comm.SetResponseOffset(0);
        SelectCode(m_alarm, comm.GetXInt8(), true);
        comm.SetResponseOffset(6);
        SelectCode(m_writeProtect, comm.GetXInt8(), false);
        m_bLoaded = true;
        break;
    case 158:
    case 159:
        comm.SetResponseOffset(0);
        SelectCode(command == 158 ? m_alarm : m_writeProtect, comm.GetXInt8(), command == 158);
        break;
    case 162: {
        comm.SetResponseOffset(1);
        const int code = comm.GetXInt8();
        const int address = comm.GetPollingAddress();
        m_strSensorType = hart::GetCodeName(
            comm.IsPressureDevice(address) ? hart::SensorCodeTable() : hart::TempSensorTable(), code);
        Fields().UpdateOne(m_sensorType, false);
        break;
    }
    default: break;
    }
    SendQueued();
}
