#pragma once
// The serial ports of the machine as the screens and settings know them: "COM n" numbers. Ports
// are found under /sys/class/tty (and named by /dev/serial/by-id where udev made a link); one
// fixed rule maps kernel names to numbers so a stored "ComPort" means the same port next time:
//   ttyS0..ttyS9   -> COM 1..10  (only ttyS0, the first built-in port, is offered in the list)
//   ttyUSB0..4     -> COM 11..15
//   ttyACM0..4     -> COM 16..20
// and section "Ports" of the settings can name any device for a number ("COM7=/dev/ttyXR0").
#include <QByteArray>
#include <QString>
#include <map>
#include <string>
#include <vector>

struct CSerialPortEntry {
    int number = 0;
    QString path;     // /dev/ttyUSB0
    QString byIdName; // usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0, when udev made one
};

// What a scan sees of one entry of the tty class folder.
struct CTtyListing {
    QString name;           // ttyUSB0
    bool hasDevice = false; // a "device" link: hardware behind the name
    bool hasType = false;   // a "type" file (legacy UARTs) ...
    QByteArray type;        // ... and what it holds
};

// One of udev's stable names: the link's name and where it points.
struct CByIdLink {
    QString name;
    QString target; // ../../ttyUSB0
};

class CComPortMap {
public:
    explicit CComPortMap(QString sysClassTty = QStringLiteral("/sys/class/tty"),
                         QString devDir = QStringLiteral("/dev"));

    // Reads the machine's ports; explicit entries made before stay.
    void Scan();
    // The entries for what a scan saw (Scan reads the folders and hands them here).
    void Take(const std::vector<CTtyListing>& ttys, const std::vector<CByIdLink>& byId);
    // COM n is this device, whatever the scan finds. A bare name ("ttyXR0") is a device of the
    // device folder; anything else must be an absolute path.
    void SetExplicit(int number, const QString& path);

    // Ports offered for choosing, by number.
    const std::vector<CSerialPortEntry>& Ports() const { return m_ports; }
    // The numbers of the offered ports, at most 49 (the list the setup dialog shows).
    std::vector<int> Numbers() const;
    // Device path of COM n (a guess by the rule when nothing was found for it).
    QString PathFor(int number) const;
    const CSerialPortEntry* Find(int number) const;

    // COM number of a kernel device name ("ttyUSB1" -> 12); 0 when the rule has none.
    static int NumberForDevice(const QString& name);
    static constexpr int kMaxListed = 49;

private:
    void Add(CSerialPortEntry e);
    void Sort();

    QString m_sys;
    QString m_dev;
    std::vector<CSerialPortEntry> m_ports;
    std::map<int, QString> m_explicit;
};
