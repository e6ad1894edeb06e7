#pragma once
// The HART link as the windows see it: one transaction at a time, answers and failures as
// numbered messages to the owner, a record per polling address, and the field codecs for the
// request and the answer. Lives on the UI thread; the port and the line timing belong to the link
// thread (LinkThread), which reports back through queued calls.
#include "hart/HartFields.h"
#include "link/HartDevice.h"
#include "link/LinkThread.h"
#include "platform/MessageTarget.h"
#include "platform/RemoteEndpoint.h"
#include "platform/SerialPort.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CHartComm : public CHartFields {
public:
    explicit CHartComm(vmc::TargetHandle owner = {});
    ~CHartComm() override;

    void SetOwner(vmc::TargetHandle owner) { m_hOwner = std::move(owner); }
    vmc::TargetHandle Owner() const { return m_hOwner; }

    // Port.
    int Connect();
    int Disconnect();
    bool IsConnected() const { return m_bConnected; }
    // The port has gone under an open connection (adapter pulled); the owner hears of it queued,
    // so until then the connection still reads as open.
    bool IsPortLost() const;
    void SetComPort(int n) {
        if (n > 0)
            m_nComPort = n;
    }
    int GetComPort() const { return m_nComPort; }
    // Where "COM n" lives on this machine; by default /dev/ttyS(n-1).
    void SetPortResolver(std::function<std::string(int)> resolver) { m_portResolver = std::move(resolver); }
    // An explicit device path overrides the COM number (command-line --port, tools).
    void SetPortPath(std::string path) { m_strPortPath = std::move(path); }
    const std::string& PortPath() const { return m_strPortPath; }
    // A port of another kind (the simulated loop) instead of termios.
    void SetPortFactory(vmc::SerialPortFactory factory) { m_portFactory = std::move(factory); }
    std::string CurrentPortName() const;
    // Why the last Connect failed, for the user.
    const std::string& LastConnectError() const { return m_strConnectError; }
    void SetBaudRate(int baud) { m_nBaudRate = baud; }

    void SetRetryCount(int n);
    int GetRetryCount() const { return m_nRetryCount; }
    void SetMasterType(int t) { m_nMasterType = static_cast<std::uint8_t>(t); }
    int GetMasterType() const { return m_nMasterType; }

    // Transactions.
    int Request(int nCmd, int nDatacount);
    // Stops the response timer of the open transaction (the window that asked gave up on it):
    // no further attempts are sent and nothing more is reported for it.
    void KillResponseTimer();
    int GetComState() const { return m_nComState; }
    int GetCurrentRetryCount() const { return m_nCurrentRetryCount; }
    void SetPollingAddress(int n) { m_nPollingAddress = static_cast<short>(n); }
    int GetPollingAddress() const { return m_nPollingAddress; }
    int GetResponseCode() const { return m_nResponseCode; }
    int GetDeviceStatus() const { return m_nDeviceStatus; }

    // The frame last built (kept for retries) and the answer last judged.
    const std::uint8_t* WriteBuffer() const { return m_WriteBuffer; }
    int WriteDataSize() const { return m_nWriteDataSize; }
    const std::uint8_t* ReadBuffer() const { return m_ReadBuffer; }
    int ReadDataSize() const { return m_nReadDataSize; }
    // Data bytes (after the two status bytes) of the last accepted answer.
    const std::vector<std::uint8_t>& LastAnswerData() const { return m_LastAnswerData; }

    // Device records.
    CHartDevice* FindDevice(int address);
    const CHartDevice* FindDevice(int address) const;
    int GetDeviceCount() const { return static_cast<int>(m_DeviceList.size()); }
    int DeleteDevice(int address);
    void RemoveAllDevices();
    const std::vector<std::unique_ptr<CHartDevice>>& Devices() const { return m_DeviceList; }

    int GetManufacturerCode(int address) const;
    int GetDeviceTypeCode(int address) const;
    std::int32_t GetDeviceId(int address) const;
    int GetRequestPreambles(int address) const;
    int GetResponsePreambles(int address) const;
    int GetRevisions(int address, int& universal, int& device, int& hardware, int& software) const;
    QString GetTag(int address) const;
    QString GetDescriptor(int address) const;
    QString GetUniqueIdText(int address) const;
    // Names from the code tables: empty / "Unknown" when not listed or there is no record.
    QString GetManufacturerName(int address) const;
    QString GetDeviceTypeName(int address) const;
    // Device families of the record's identity (no record: none of them).
    bool IsPressureDevice(int address) const;
    bool IsTemperatureOrLevelDevice(int address) const;
    bool IsKorvexDevice(int address) const;
    QString GetDateText(int address) const;
    int GetDateDay(int address) const;
    int GetDateMonth(int address) const;
    int GetDateYear(int address) const;

    // Address table for production tools.
    void SetUseAddressTable(int on) { m_bUseAddressTable = on != 0; }
    int GetUseAddressTable() const { return m_bUseAddressTable; }
    void SetAddressIndex(int i) {
        if (i >= 0 && i < kAddressTableSize)
            m_nAddressIndex = static_cast<short>(i);
    }
    int GetAddressIndex() const { return m_nAddressIndex; }
    int CopyAddressEntry(int from, int to);
    const std::array<std::uint8_t, 5>& AddressEntry(int i) const { return m_AddressTable.at(static_cast<std::size_t>(i)); }

    // The frame monitor the link reports to when it runs.
    void SetFrameMonitorTitle(const QString& title) { m_frameMonitor = std::make_unique<vmc::RemoteWindow>(title); }

    static constexpr int kAddressTableSize = 48;

private:
    class Relay;
    friend class Relay;

    void SetComState(int state);
    void OnState(std::uint64_t serial, int state, int attempt);
    void OnJudged(std::uint64_t serial, const std::vector<std::uint8_t>& raw, const hart::JudgedFrame& f, int attempt);
    void OnExhausted(std::uint64_t serial, int state);
    void OnPortLost(int error);
    void ReportRequest(int command);
    void ReportResponse(const std::vector<std::uint8_t>& raw);
    void Post(unsigned msg, vmc::WPARAM w, vmc::LPARAM l);

    vmc::TargetHandle m_hOwner;
    QObject m_inbox; // receives the link thread's queued reports; declared before the thread
    std::unique_ptr<Relay> m_relay;
    std::unique_ptr<hart::LinkThread> m_thread;
    vmc::SerialPortFactory m_portFactory;
    std::function<std::string(int)> m_portResolver;
    std::string m_strPortPath;
    std::string m_strConnectError;
    std::string m_strOpenPortName;
    std::unique_ptr<vmc::RemoteWindow> m_frameMonitor;

    std::uint8_t m_nComPort = 1;
    int m_nBaudRate = 1200;
    short m_nRetryCount = 6;
    std::uint8_t m_nMasterType = 0;
    bool m_bConnected = false;

    short m_nComState = hart::IDLE_COM_STATE;
    short m_nCurrentRetryCount = 1;
    short m_nPollingAddress = 0;
    std::uint16_t m_nResponseCode = 0;
    std::uint16_t m_nDeviceStatus = 0;
    std::uint64_t m_nSerial = 0;

    std::uint8_t m_WriteBuffer[hart::kFrameBufferSize] = {};
    int m_nWriteDataSize = 0;
    std::uint8_t m_ReadBuffer[hart::kFrameBufferSize] = {};
    int m_nReadDataSize = 0;
    std::vector<std::uint8_t> m_LastAnswerData;

    std::vector<std::unique_ptr<CHartDevice>> m_DeviceList;
    bool m_bUseAddressTable = false;
    short m_nAddressIndex = 0;
    std::array<std::array<std::uint8_t, 5>, kAddressTableSize> m_AddressTable{};
};

// "[Cmd#%s] " error box of every page. kind 3: the request was not written; kind 4: refused.
void ReportCommandError(int kind, const QString& command);
// Kind 3 for a request that Request() did not write; nothing when the port itself has gone, which
// the program announces once for all.
void ReportRequestFailure(const CHartComm& comm, int command);
