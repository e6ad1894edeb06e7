#include "shell/StandalonePageHost.h"

CStandalonePageHost::CStandalonePageHost()
    : m_comm(std::make_unique<CHartComm>()), m_relay(std::make_unique<CLinkRelay>(*m_comm)) {}

CStandalonePageHost::~CStandalonePageHost() {
    m_comm->Disconnect();
    m_relay.reset();
}

void CStandalonePageHost::SetMessageText(const QString& text) {
    m_strMessageText = text;
    if (text.isEmpty())
        vmc::SendMessage(m_relay->CodeView(), vmc::WM_HART_STATUSRESET, 0, 0);
}

CProfile& CStandalonePageHost::Profile() {
    if (!m_profile)
        m_profile = std::make_unique<CProfile>();
    return *m_profile;
}
