#include "hart/LinkRelay.h"

#include "hart/ResponseText.h"
#include "platform/MessageBox.h"

CLinkRelay::CLinkRelay(CHartComm& comm) : m_comm(comm) { m_comm.SetOwner(Handle()); }

CLinkRelay::~CLinkRelay() {
    if (m_comm.Owner() == Handle())
        m_comm.SetOwner({});
}

void CLinkRelay::ShowCommError() {
    QString text;
    if (m_nLastResponseCode & 0x80) {
        static const std::pair<int, const char*> kBits[] = {{0x40, "Vertical Parity Error     "},
                                                            {0x20, "Overrun Error     "},
                                                            {0x10, "Framing Error     "},
                                                            {0x08, "Longitudinal Parity Error (Checksum Error)    "},
                                                            {0x04, "Reserved     "},
                                                            {0x02, "Rx Buffer Overflow      "}};
        for (const auto& [bit, t] : kBits) {
            if (m_nLastResponseCode & bit) {
                text = QString::fromLatin1(t);
                break;
            }
        }
    }
    vmc::SendMessage(m_hWndCodeView, vmc::WM_HART_STATUSCODE, static_cast<vmc::WPARAM>(m_nLastResponseCode),
                     m_comm.GetDeviceStatus());
    vmc::ShowBox(QStringLiteral("Communication Error"), text, vmc::BoxIcon::Warning);
    vmc::SendMessage(m_hWndCodeView, vmc::WM_HART_STATUSCODE, 0, 0);
}

vmc::LRESULT CLinkRelay::OnMessage(unsigned msg, vmc::WPARAM wParam, vmc::LPARAM lParam) {
    switch (msg) {
    case vmc::WM_HART_FRAME: {
        if (!m_hWndReceiver)
            return 0;
        m_nLastResponseCode = m_comm.GetResponseCode();
        m_nLastDeviceStatus = m_comm.GetDeviceStatus();
        const int command = static_cast<int>(wParam);
        m_strLastResponseText = QStringLiteral("HART Cmd %1: ").arg(command, 3, 10, QLatin1Char('0')) +
                                hart::GetResponseText(command, m_nLastResponseCode, m_nLastDeviceStatus);
        vmc::SendMessage(m_hWndCodeView, vmc::WM_HART_STATUSCODE, static_cast<vmc::WPARAM>(m_nLastResponseCode),
                         m_nLastDeviceStatus);
        vmc::SendMessage(m_hWndReceiver, vmc::WM_HART_RECEIVE, wParam, lParam);
        return 0;
    }
    case vmc::WM_HART_COMSTATE: {
        const int state = static_cast<int>(wParam);
        if (m_onComState)
            m_onComState(state, static_cast<int>(lParam));
        if (state == hart::COMERROR_COM_STATE || state == hart::NORESPONSE_COM_STATE)
            vmc::SendMessage(m_hWndReceiver, vmc::WM_HART_FAIL, wParam, lParam);
        return 0;
    }
    case vmc::WM_HART_CONNECT:
        if (wParam == vmc::HART_PORT_LOST) {
            if (m_onPortLost)
                m_onPortLost(static_cast<int>(lParam));
            return 0;
        }
        vmc::SendMessage(m_hWndDeviceTree, vmc::WM_HART_CONNECT, wParam, 0);
        return 0;
    case vmc::WM_HART_COMMERRORBYTE:
        m_nLastResponseCode = static_cast<int>(wParam);
        return 0;
    case vmc::WM_HART_SHOWCOMMERROR:
        ShowCommError();
        return 0;
    default:
        return 0;
    }
}

void ShowLinkFailure(int state) {
    if (state == hart::NORESPONSE_COM_STATE)
        vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("No Response!"), vmc::BoxIcon::Error);
    else if (state == hart::COMERROR_COM_STATE)
        vmc::ShowBox(vmc::ProgramTitle(), QStringLiteral("Communication Error!"), vmc::BoxIcon::Error);
}
