#include "link/LinkSession.h"

#include <QEventLoop>

namespace hart {

LinkSession::LinkSession() { m_comm.SetOwner(Handle()); }

LinkSession::~LinkSession() { m_comm.Disconnect(); }

vmc::LRESULT LinkSession::OnMessage(unsigned msg, vmc::WPARAM wParam, vmc::LPARAM lParam) {
    m_log.push_back({msg, wParam, lParam});
    switch (msg) {
    case vmc::WM_HART_FRAME:
        m_outcome.kind = Outcome::Answer;
        m_outcome.command = static_cast<int>(wParam);
        m_outcome.dataCount = static_cast<int>(lParam);
        m_outcome.responseCode = m_comm.GetResponseCode();
        m_outcome.deviceStatus = m_comm.GetDeviceStatus();
        m_outcome.data = m_comm.LastAnswerData();
        m_done = true;
        break;
    case vmc::WM_HART_COMSTATE:
        if (wParam == COMERROR_COM_STATE || wParam == NORESPONSE_COM_STATE) {
            m_outcome.kind = wParam == COMERROR_COM_STATE ? Outcome::CommError : Outcome::NoResponse;
            m_done = true;
        }
        break;
    case vmc::WM_HART_CONNECT:
        if (wParam == vmc::HART_PORT_LOST) {
            m_outcome.kind = Outcome::PortLost;
            m_done = true;
        }
        break;
    case vmc::WM_HART_COMMERRORBYTE:
        m_commErrorByte = static_cast<int>(wParam);
        break;
    case vmc::WM_HART_SHOWCOMMERROR:
        ++m_commErrorBoxes;
        if (m_commErrorHook)
            m_commErrorHook();
        break;
    default:
        break;
    }
    return 0;
}

Outcome LinkSession::Wait() {
    QEventLoop loop;
    while (!m_done)
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    return m_outcome;
}

Outcome LinkSession::Transact(int address, int command, const Bytes& data, bool identifyFirst) {
    if (identifyFirst && command != 0) {
        const CHartDevice* rec = m_comm.FindDevice(address);
        if (!rec || (rec->m_nManufacturerCode == 0 && rec->m_nDeviceTypeCode == 0 && rec->m_nDeviceId == 0)) {
            const Outcome id = Transact(address, 0, {}, false);
            if (!id.ok())
                return id;
        }
    }
    for (std::size_t i = 0; i < data.size(); ++i) {
        m_comm.SetRequestOffset(static_cast<int>(i));
        m_comm.SetXInt8(data[i]);
    }
    if (data.empty())
        m_comm.DeleteRequestItems();
    return TransactPrepared(address, command, static_cast<int>(data.size()));
}

Outcome LinkSession::TransactPrepared(int address, int command, int byteCount) {
    m_outcome = Outcome{};
    m_done = false;
    if (!m_comm.IsConnected()) {
        m_outcome.kind = Outcome::NotConnected;
        return m_outcome;
    }
    m_comm.SetPollingAddress(address);
    if (!m_comm.Request(command, byteCount)) {
        m_outcome.kind = Outcome::WriteFailed;
        return m_outcome;
    }
    return Wait();
}

} // namespace hart
