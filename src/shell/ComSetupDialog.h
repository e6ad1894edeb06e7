#pragma once
// "Com. Setup": the serial port of the HART modem, the attempts per transaction and the master
// type. The caller presets the values and reads them back after "Setup".
#include <QDialog>
#include <vector>

class CComPortMap;
class QCheckBox;
class QComboBox;
class QRadioButton;

struct CComSetupValues {
    int port = 1;       // COM number
    int retryCount = 5; // 1..5
    int masterType = 1; // 0 primary, 1 secondary
};

class CComSetupDlg : public QDialog {
public:
    // ports: the available port numbers found at start-up; map gives each one's device path.
    CComSetupDlg(const std::vector<int>& ports, const CComPortMap& map, QWidget* parent = nullptr);

    // Preset; a port of 0 and a retry count outside 1..5 are not taken over.
    void SetValues(const CComSetupValues& v);
    // What "Setup" chose.
    CComSetupValues Values() const { return m_values; }

    // The number after the first "M" of an entry text ("COM 5 [USB]" -> 5); 0 when there is none.
    static int PortNumberOf(const QString& entry);

    QComboBox* PortBox() const { return m_port; }

private:
    void FillPorts(int manualCount);
    void SelectPort(int port);
    void Accept();

    std::vector<int> m_ports;
    const CComPortMap& m_map;
    CComSetupValues m_values;
    QCheckBox* m_auto;
    QComboBox* m_port;
    QComboBox* m_retry;
    QRadioButton* m_primary;
    QRadioButton* m_secondary;
};
