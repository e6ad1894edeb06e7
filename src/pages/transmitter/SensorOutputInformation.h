#pragma once
// "Sensor && Output Information" (dialog 186): sensor limits and serial number (command 14), alarm
// selection and write protection (command 15, written with the maker's 158 and 159) and the
// sensor type (the maker's 162).
#include "pages/transmitter/TransmitterPage.h"

class QComboBox;
class QLabel;
class QLineEdit;

class CSensorOutputInformation : public CTransmitterPage {
    Q_OBJECT
public:
    explicit CSensorOutputInformation(IPageHost& host, QWidget* parent = nullptr);

    void OnInitDialog() override;

    quint32 m_nSerial = 0;
    float m_fMinimumSpan = 0.0f;
    float m_fUpperLimit = 0.0f;
    float m_fLowerLimit = 0.0f;
    QString m_strSensorType;

protected:
    bool PrepareRequest(int command, int& byteCount) override;
    void OnReceive(int command, int dataCount) override;

private:
    void Build();
    // Selects the row carrying the code; a code not in the list leaves the list as it was.
    static void SelectCode(QComboBox* list, int code, bool alarm);

    QComboBox* m_alarm = nullptr;
    QComboBox* m_writeProtect = nullptr;
    QLabel* m_unitLabels[3] = {};
    QLineEdit* m_limitEdits[4] = {}; // serial, span, upper, lower
    QLineEdit* m_sensorType = nullptr;
};
