#pragma once
// What every window that talks to a transmitter shares: it becomes the link's receiver, keeps a
// queue of HART commands and sends them one at a time (the next one after each answer or
// failure), and reports a request the link did not take. A page is mostly its PrepareRequest
// (the request fields of each command) and its OnReceive (what an answer changes).
#include "platform/MessageTarget.h"
#include "shell/AddressList.h"
#include "shell/PageHost.h"

class CHartClient : public vmc::MessageTarget {
public:
    explicit CHartClient(IPageHost& host) : m_host(host) {}
    ~CHartClient() override;

    IPageHost& Host() const { return m_host; }
    CHartComm& Comm() const { return m_host.Comm(); }

    // Takes the link's answers. A transaction another window has open at that moment is noted:
    // its answer, when it comes here, goes to OnForeignAnswer.
    void BecomeReceiver();
    bool IsReceiver() const { return m_host.Relay().Receiver() == Handle(); }
    bool LinkIdle() const { return m_host.Comm().GetComState() == 0; }
    // No transaction open: idle, or the last one ended with its attempts spent (5, 6).
    bool LinkFree() const {
        const int state = m_host.Comm().GetComState();
        return state == 0 || state == 5 || state == 6;
    }

    // Appends the command unless it is already queued.
    void QueueCommand(int command) { m_CommandQueue.AddTail(command); }
    // Puts the command first: it goes out with the next send.
    void QueueCommandFirst(int command) { m_CommandQueue.AddHead(command); }
    // Takes the head of the queue, fills its request and sends it. False when nothing went out
    // (empty queue, a command the page dropped, or a request the link refused). Without a
    // connection (the port was lost) the queue is dropped without a box of its own.
    bool SendNextCommand();
    // Sends now when no transaction is open; otherwise the queue drains after the answer in
    // flight. (After a failed transaction the link stays in state 5 or 6 until the next request.)
    void SendWhenIdle() {
        if (LinkFree())
            SendNextCommand();
    }

    CAddressList m_CommandQueue;

protected:
    // Fills the request fields of the command (SetRequestOffset and the setters) and the data
    // byte count. False drops the command without sending it.
    virtual bool PrepareRequest(int command, int& byteCount) {
        (void)command;
        byteCount = 0;
        return true;
    }
    // An answer: dataCount > 0 carries fields, 0 or less is the device refusing the command.
    virtual void OnReceive(int command, int dataCount) {
        (void)command;
        (void)dataCount;
    }
    // The transaction failed (5 communication error, 6 no response). Shows the standard box.
    virtual void OnFail(int state);
    // An answer to a request this window did not make: another window (the status-bit view
    // resetting the configuration-changed flag) asked while this one was the receiver. Such an
    // answer is not this window's business; by default the queue simply goes on.
    virtual void OnForeignAnswer(int command, int dataCount) {
        (void)command;
        (void)dataCount;
        SendWhenIdle();
    }
    virtual void OnTimer(int id) { (void)id; }
    virtual vmc::LRESULT OnOtherMessage(unsigned msg, vmc::WPARAM w, vmc::LPARAM l) {
        (void)msg;
        (void)w;
        (void)l;
        return 0;
    }

private:
    vmc::LRESULT OnMessage(unsigned msg, vmc::WPARAM w, vmc::LPARAM l) final;

    IPageHost& m_host;
    int m_nAwaited = -1; // command of the open request sent by SendNextCommand
    int m_nForeign = -1; // command of another window's request open when this one took over
    bool m_bUnsent = false; // the last request never reached the line
};
