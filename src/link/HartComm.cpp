#include "link/HartComm.h"

#include "hart/Codecs.h"
#include "hart/CodeTables.h"
#include "hart/ResponseDecoder.h"
#include "platform/Log.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <algorithm>
#include <unistd.h>

using namespace hart;

// Carries the link thread's reports to the UI thread, in order, as queued calls.
class CHartComm::Relay final : public LinkEvents {
public:
    explicit Relay(CHartComm* comm) : m_comm(comm) {}
    void OnState(std::uint64_t serial, int state, int attempt) override {
        Queue([c = m_comm, serial, state, attempt] { c->OnState(serial, state, attempt); });
    }
    void OnJudged(std::uint64_t serial, std::vector<std::uint8_t> raw, const JudgedFrame& f, int attempt) override {
        Queue([c = m_comm, serial, raw = std::move(raw), f, attempt] { c->OnJudged(serial, raw, f, attempt); });
    }
    void OnExhausted(std::uint64_t serial, int state) override {
        Queue([c = m_comm, serial, state] { c->OnExhausted(serial, state); });
    }
    void OnPortLost(int error) override {
        Queue([c = m_comm, error] { c->OnPortLost(error); });
    }

private:
    template <class F> void Queue(F&& f) {
        QMetaObject::invokeMethod(&m_comm->m_inbox, std::forward<F>(f), Qt::QueuedConnection);
    }
    CHartComm* m_comm;
};

CHartComm::CHartComm(vmc::TargetHandle owner)
    : m_hOwner(std::move(owner)), m_relay(std::make_unique<Relay>(this)),
      m_frameMonitor(std::make_unique<vmc::RemoteWindow>(QStringLiteral("FrameDebug"))) {}

CHartComm::~CHartComm() { Disconnect(); }

void CHartComm::Post(unsigned msg, vmc::WPARAM w, vmc::LPARAM l) { vmc::PostMessage(m_hOwner, msg, w, l); }

std::string CHartComm::CurrentPortName() const {
    if (!m_strPortPath.empty())
        return m_strPortPath;
    if (m_portResolver)
        return m_portResolver(m_nComPort);
    return "/dev/ttyS" + std::to_string(m_nComPort - 1);
}

int CHartComm::Connect() {
    if (m_thread) { // a port still held: close it first
        auto port = m_thread->Stop();
        m_thread.reset();
        if (port)
            port->Close();
    }
    m_strConnectError.clear();
    std::unique_ptr<vmc::SerialPort> port = m_portFactory ? m_portFactory() : vmc::CreateTermiosPort();
    vmc::SerialSettings settings;
    settings.path = CurrentPortName();
    settings.baudRate = m_nBaudRate;
    if (!port || !port->Open(settings, &m_strConnectError)) {
        m_bConnected = false;
        return 0;
    }
    m_strOpenPortName = port->Name();
    m_nComState = IDLE_COM_STATE;
    m_nCurrentRetryCount = 1;
    m_thread = std::make_unique<LinkThread>(std::move(port), m_relay.get(), m_nBaudRate);
    m_thread->SetRetryCount(m_nRetryCount);
    m_bConnected = true;
    if (!m_thread->Start()) {
        m_bConnected = false;
        m_thread.reset();
        m_strConnectError = "cannot start the link thread";
        return 0;
    }
    Post(vmc::WM_HART_CONNECT, vmc::HART_CONNECTED, 0);
    return 1;
}

bool CHartComm::IsPortLost() const { return m_bConnected && m_thread && m_thread->IsLost(); }

int CHartComm::Disconnect() {
    if (!m_bConnected)
        return 1;
    DeleteRequestItems();
    DeleteResponseItems();
    m_DeviceList.clear();
    m_bConnected = false;
    ++m_nSerial; // whatever the old thread queued is now stale
    if (m_thread) {
        auto port = m_thread->Stop();
        m_thread.reset();
        if (port) {
            port->SetDtr(false);
            port->Purge();
            port->Close();
        }
    }
    return 1;
}

void CHartComm::SetRetryCount(int n) {
    if (n < 0)
        return;
    m_nRetryCount = static_cast<short>(n);
    if (m_thread)
        m_thread->SetRetryCount(n);
}

void CHartComm::SetComState(int state) {
    m_nComState = static_cast<short>(state);
    Post(vmc::WM_HART_COMSTATE, static_cast<vmc::WPARAM>(state), m_nCurrentRetryCount - 1);
    if (state == IDLE_COM_STATE)
        m_nCurrentRetryCount = 1;
}

int CHartComm::Request(int nCmd, int nDatacount) {
    std::fill(std::begin(m_WriteBuffer), std::end(m_WriteBuffer), std::uint8_t{0});
    m_nWriteDataSize = 0;
    CHartDevice* rec = FindDevice(m_nPollingAddress);
    if (!rec) {
        m_DeviceList.push_back(std::make_unique<CHartDevice>(m_nPollingAddress));
        rec = m_DeviceList.back().get();
    }
    rec->m_nLastCommand = static_cast<short>(nCmd & 0xFF);

    RequestAddress address;
    address.shortFrame = (nCmd & 0xFF) == 0;
    if (address.shortFrame)
        address.shortAddress = static_cast<std::uint8_t>((m_nMasterType == 0 ? 0x80 : 0x00) | (rec->m_nPollingAddress & 0xFF));
    else
        address.longAddress = m_bUseAddressTable ? m_AddressTable[static_cast<std::size_t>(m_nAddressIndex)]
                                                 : rec->m_LongAddress;
    m_nWriteDataSize = BuildRequestFrame(m_WriteBuffer, rec->m_nRequestPreambles, address, nCmd & 0xFF,
                                         nDatacount & 0xFF, RequestBytes());
    ReportRequest(nCmd & 0xFF);

    m_nCurrentRetryCount = 1;
    if (!m_bConnected || !m_thread)
        return 0;
    LinkJob job;
    job.serial = ++m_nSerial;
    job.frame.assign(m_WriteBuffer, m_WriteBuffer + m_nWriteDataSize);
    job.judge.masterType = m_nMasterType;
    job.judge.lastCommand = rec->m_nLastCommand;
    SetComState(SEND_COM_STATE);
    qCDebug(lcLink) << "request" << nCmd << "to" << m_nPollingAddress << HexText(job.frame.data(), m_nWriteDataSize);
    if (!m_thread->Send(std::move(job)))
        return 0;
    DeleteRequestItems(); // the frame stays in the write buffer for retries
    return 1;
}

void CHartComm::KillResponseTimer() {
    ++m_nSerial; // whatever the thread already queued for it is stale now
    if (m_thread)
        m_thread->Cancel();
    m_nCurrentRetryCount = 1;
    if (m_nComState != IDLE_COM_STATE)
        SetComState(IDLE_COM_STATE);
}

void CHartComm::OnState(std::uint64_t serial, int state, int attempt) {
    if (serial != m_nSerial)
        return;
    m_nCurrentRetryCount = static_cast<short>(attempt);
    SetComState(state);
}

void CHartComm::OnJudged(std::uint64_t serial, const std::vector<std::uint8_t>& raw, const JudgedFrame& f, int attempt) {
    if (serial != m_nSerial)
        return;
    std::fill(std::begin(m_ReadBuffer), std::end(m_ReadBuffer), std::uint8_t{0});
    m_nReadDataSize = static_cast<int>(std::min<std::size_t>(raw.size(), kFrameBufferSize));
    std::copy_n(raw.begin(), m_nReadDataSize, m_ReadBuffer);
    ReportResponse(raw);

    CHartDevice* rec = FindDevice(m_nPollingAddress);
    if (!rec)
        return; // the address changed while the request was open: the answer has no home
    if (f.preambles >= 2)
        rec->m_nResponsePreambles = static_cast<short>(f.preambles);
    if (f.verdict == Verdict::DeviceCommError) {
        vmc::SendMessage(m_hOwner, vmc::WM_HART_COMMERRORBYTE, static_cast<vmc::WPARAM>(f.responseCode), 0);
        return;
    }
    if (f.verdict != Verdict::Accepted)
        return;
    m_nCurrentRetryCount = static_cast<short>(attempt);
    if (f.shortFrame) {
        m_nPollingAddress = static_cast<short>(f.shortAddress);
        rec->m_nPollingAddress = static_cast<short>(f.shortAddress);
    }
    if (f.byteCount > 2) {
        DecodeContext ctx;
        ctx.masterType = m_nMasterType;
        ctx.useAddressTable = m_bUseAddressTable;
        ctx.addressIndex = m_nAddressIndex;
        ctx.addressTable = m_AddressTable.data();
        ctx.pollingAddress = &m_nPollingAddress;
        CHartDataList items;
        DecodeResponse(f.command, m_ReadBuffer, f.dataIndex, f.byteCount, rec, ctx, items);
        SetResponseItems(std::move(items));
        if (ctx.selectItemAfter >= 0)
            SetResponseOffset(ctx.selectItemAfter);
        if (ctx.unknownCommand)
            vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("have not Command!!  "));
    }
    m_LastAnswerData.assign(m_ReadBuffer + f.dataIndex, m_ReadBuffer + std::min(f.dataIndex + f.byteCount - 2, kFrameBufferSize));
    m_nResponseCode = static_cast<std::uint16_t>(f.responseCode);
    m_nDeviceStatus = static_cast<std::uint16_t>(f.deviceStatus);
    Post(vmc::WM_HART_FRAME, static_cast<vmc::WPARAM>(f.command), f.byteCount - 2);
    SetComState(IDLE_COM_STATE);
}

void CHartComm::OnExhausted(std::uint64_t serial, int state) {
    if (serial != m_nSerial)
        return;
    if (state == NORESPONSE_COM_STATE) {
        if (const CHartDevice* rec = FindDevice(m_nPollingAddress); rec && rec->m_nLastCommand == 0)
            DeleteDevice(m_nPollingAddress);
        m_nCurrentRetryCount = 1;
        DeleteRequestItems();
        SetComState(NORESPONSE_COM_STATE);
    } else {
        vmc::SendMessage(m_hOwner, vmc::WM_HART_SHOWCOMMERROR, 0, 0); // modal; continues when closed
        if (serial != m_nSerial)
            return; // a new request was made while the box was open
        m_nCurrentRetryCount = 1;
        SetComState(COMERROR_COM_STATE);
        DeleteRequestItems();
    }
}

void CHartComm::OnPortLost(int error) {
    if (!m_bConnected)
        return;
    Post(vmc::WM_HART_CONNECT, vmc::HART_PORT_LOST, error);
}

void CHartComm::ReportRequest(int command) {
    if (!m_frameMonitor || !m_frameMonitor->Find())
        return;
    const qint64 instance = ::getpid();
    std::vector<vmc::RemoteMessage> m;
    m.reserve(static_cast<std::size_t>(m_nWriteDataSize) + 3);
    m.push_back({vmc::WM_FRAMEDEBUG_REQ_COMMAND, instance, command});
    m.push_back({vmc::WM_FRAMEDEBUG_REQ_SIZE, instance, m_nWriteDataSize});
    for (int i = 0; i < m_nWriteDataSize; ++i)
        m.push_back({vmc::WM_FRAMEDEBUG_REQ_BYTE, instance, m_WriteBuffer[i]});
    m.push_back({vmc::WM_FRAMEDEBUG_REQ_BYTE, instance, vmc::kFrameDebugEndMark});
    m_frameMonitor->Send(m);
}

void CHartComm::ReportResponse(const std::vector<std::uint8_t>& raw) {
    if (!m_frameMonitor || !m_frameMonitor->Find())
        return;
    const qint64 instance = ::getpid();
    std::vector<vmc::RemoteMessage> m;
    m.reserve(raw.size() + 2);
    m.push_back({vmc::WM_FRAMEDEBUG_RSP_SIZE, instance, static_cast<qint64>(raw.size())});
    for (std::uint8_t b : raw)
        m.push_back({vmc::WM_FRAMEDEBUG_RSP_BYTE, instance, b});
    m.push_back({vmc::WM_FRAMEDEBUG_RSP_BYTE, instance, vmc::kFrameDebugEndMark});
    m_frameMonitor->Send(m);
}

CHartDevice* CHartComm::FindDevice(int address) {
    for (auto& d : m_DeviceList)
        if (d->m_nPollingAddress == address)
            return d.get();
    return nullptr;
}

const CHartDevice* CHartComm::FindDevice(int address) const {
    for (const auto& d : m_DeviceList)
        if (d->m_nPollingAddress == address)
            return d.get();
    return nullptr;
}

int CHartComm::DeleteDevice(int address) {
    auto it = std::find_if(m_DeviceList.begin(), m_DeviceList.end(),
                           [address](const auto& d) { return d->m_nPollingAddress == address; });
    if (it == m_DeviceList.end())
        return 0;
    m_DeviceList.erase(it);
    return 1;
}

void CHartComm::RemoveAllDevices() { m_DeviceList.clear(); }

int CHartComm::GetManufacturerCode(int address) const {
    const auto* d = FindDevice(address);
    return d ? d->m_nManufacturerCode : 0;
}
int CHartComm::GetDeviceTypeCode(int address) const {
    const auto* d = FindDevice(address);
    return d ? d->m_nDeviceTypeCode : 0;
}
std::int32_t CHartComm::GetDeviceId(int address) const {
    const auto* d = FindDevice(address);
    return d ? static_cast<std::int32_t>(d->m_nDeviceId) : 0;
}
int CHartComm::GetRequestPreambles(int address) const {
    const auto* d = FindDevice(address);
    return d ? d->m_nRequestPreambles : 0;
}
int CHartComm::GetResponsePreambles(int address) const {
    const auto* d = FindDevice(address);
    return d ? d->m_nResponsePreambles : 0;
}
int CHartComm::GetRevisions(int address, int& universal, int& device, int& hardware, int& software) const {
    const auto* d = FindDevice(address);
    if (!d)
        return 0;
    universal = d->m_nUniversalRevision;
    device = d->m_nDeviceRevision;
    hardware = d->m_nHardwareRevision;
    software = d->m_nSoftwareRevision;
    return 1;
}
QString CHartComm::GetTag(int address) const {
    const auto* d = FindDevice(address);
    return d ? d->m_strTag : QString();
}
QString CHartComm::GetDescriptor(int address) const {
    const auto* d = FindDevice(address);
    return d ? d->m_strDescriptor : QString();
}
QString CHartComm::GetUniqueIdText(int address) const {
    const auto* d = FindDevice(address);
    return d ? HexText(d->m_UniqueId.data(), 5) : QString();
}

QString CHartComm::GetManufacturerName(int address) const {
    const auto* d = FindDevice(address);
    return d ? hart::GetManufacturerName(d->m_nManufacturerCode) : QString();
}
QString CHartComm::GetDeviceTypeName(int address) const {
    const auto* d = FindDevice(address);
    return d ? hart::GetDeviceTypeName(d->m_nManufacturerCode, d->m_nDeviceTypeCode) : QStringLiteral("Unknown");
}
bool CHartComm::IsPressureDevice(int address) const {
    const auto* d = FindDevice(address);
    return d && hart::IsPressureDevice(d->m_nManufacturerCode, d->m_nDeviceTypeCode);
}
bool CHartComm::IsTemperatureOrLevelDevice(int address) const {
    const auto* d = FindDevice(address);
    return d && hart::IsTemperatureOrLevelDevice(d->m_nDeviceTypeCode);
}
bool CHartComm::IsKorvexDevice(int address) const {
    const auto* d = FindDevice(address);
    return d && hart::IsKorvexDevice(d->m_nManufacturerCode);
}

namespace {
bool ValidDate(const CHartDevice* d) {
    return d && d->m_nDateYear >= 1900 && d->m_nDateYear <= 2038 && d->m_nDateMonth >= 1 && d->m_nDateMonth <= 12 &&
           d->m_nDateDay >= 1 && d->m_nDateDay <= 31;
}
} // namespace

QString CHartComm::GetDateText(int address) const {
    const auto* d = FindDevice(address);
    if (!ValidDate(d))
        return {};
    return QStringLiteral("%1 / %2 / %3")
        .arg(d->m_nDateYear, 4, 10, QLatin1Char('0'))
        .arg(d->m_nDateMonth, 2, 10, QLatin1Char('0'))
        .arg(d->m_nDateDay, 2, 10, QLatin1Char('0'));
}
int CHartComm::GetDateDay(int address) const {
    const auto* d = FindDevice(address);
    return ValidDate(d) ? d->m_nDateDay : -1;
}
int CHartComm::GetDateMonth(int address) const {
    const auto* d = FindDevice(address);
    return ValidDate(d) ? d->m_nDateMonth : -1;
}
int CHartComm::GetDateYear(int address) const {
    const auto* d = FindDevice(address);
    return ValidDate(d) ? d->m_nDateYear : -1;
}

int CHartComm::CopyAddressEntry(int from, int to) {
    if (from < 0 || from >= kAddressTableSize || to < 0 || to >= kAddressTableSize)
        return 0;
    m_AddressTable[static_cast<std::size_t>(to)] = m_AddressTable[static_cast<std::size_t>(from)];
    return 1;
}

void ReportRequestFailure(const CHartComm& comm, int command) {
    if (!comm.IsPortLost())
        ReportCommandError(3, QString::number(command));
}

void ReportCommandError(int kind, const QString& command) {
    const QString prefix = QStringLiteral("[Cmd#%1] ").arg(command);
    if (kind == 3)
        vmc::ShowBox(QStringLiteral("Error"), prefix + QStringLiteral("The request could not be sent to the modem."),
                     vmc::BoxIcon::Error);
    else if (kind == 4)
        vmc::ShowBox(QStringLiteral("Error"), prefix + QStringLiteral("Because occur an error, fail a command!"),
                     vmc::BoxIcon::Error);
}
