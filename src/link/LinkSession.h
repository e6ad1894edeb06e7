#pragma once
// A blocking front end to the link for programs without windows (hartcli, benchmarks, tests):
// it owns the messages the link sends its owner and turns one request into one outcome by
// running the event loop until the answer or the failure arrives. Not for the GUI, whose pages
// handle the messages themselves.
#include "hart/Codecs.h"
#include "link/HartComm.h"
#include "platform/MessageTarget.h"

#include <functional>
#include <vector>

namespace hart {

struct Outcome {
    enum Kind { Answer, NoResponse, CommError, WriteFailed, PortLost, NotConnected };
    Kind kind = NotConnected;
    int command = -1;
    int responseCode = 0;
    int deviceStatus = 0;
    int dataCount = 0;
    Bytes data;
    bool ok() const { return kind == Answer; }
};

struct LoggedMessage {
    unsigned msg;
    vmc::WPARAM wParam;
    vmc::LPARAM lParam;
};

class LinkSession : public vmc::MessageTarget {
public:
    LinkSession();
    ~LinkSession() override;

    CHartComm& Comm() { return m_comm; }

    // Sends cmd with the given data bytes to a polling address. A long frame to an address whose
    // identity is not known yet is preceded by command 0.
    Outcome Transact(int address, int command, const Bytes& data = {}, bool identifyFirst = true);
    // Same, with the request fields already set through the codecs; byteCount as given.
    Outcome TransactPrepared(int address, int command, int byteCount);

    // Everything the link sent to its owner, in order (tests assert on it).
    const std::vector<LoggedMessage>& Messages() const { return m_log; }
    void ClearMessages() { m_log.clear(); }
    // The device-reported communication-error byte last handed over, 0 when none.
    int CommErrorByte() const { return m_commErrorByte; }
    int CommErrorBoxes() const { return m_commErrorBoxes; }
    // Called whenever the link shows the communication-error box (the box itself is the owner's).
    void SetCommErrorHook(std::function<void()> hook) { m_commErrorHook = std::move(hook); }

    vmc::LRESULT OnMessage(unsigned msg, vmc::WPARAM wParam, vmc::LPARAM lParam) override;

private:
    Outcome Wait();

    CHartComm m_comm;
    std::vector<LoggedMessage> m_log;
    bool m_done = false;
    Outcome m_outcome;
    int m_commErrorByte = 0;
    int m_commErrorBoxes = 0;
    std::function<void()> m_commErrorHook;
};

} // namespace hart
