#pragma once
// Message targets: anything that receives numbered messages. "Send" is a direct call on the
// receiving thread (the UI thread for windows); "post" queues the message on the target's thread.
// Window timers are delivered as WM_TIMER with the timer id in wParam, on the same time scale as
// every other program timer.
#include "platform/Messages.h"

#include <QObject>
#include <QPointer>
#include <map>
#include <memory>

class QTimer;

namespace vmc {

class MessageTarget;

// The QObject that carries a target's posted messages and timers; owned by the target.
class MessagePort final : public QObject {
    Q_OBJECT
public:
    explicit MessagePort(MessageTarget* target);
    ~MessagePort() override;
    MessageTarget* Target() const { return m_target; }
    void Detach() { m_target = nullptr; }

    void SetTimer(int id, int ms);
    void KillTimer(int id);
    bool IsTimerActive(int id) const;

protected:
    bool event(QEvent* e) override;

private:
    MessageTarget* m_target;
    std::map<int, QTimer*> m_timers;
};

// A weak reference to a target, the counterpart of a window handle: empty once the target is gone.
class TargetHandle {
public:
    TargetHandle() = default;
    explicit TargetHandle(MessagePort* port) : m_port(port) {}
    bool IsValid() const { return !m_port.isNull() && m_port->Target() != nullptr; }
    explicit operator bool() const { return IsValid(); }
    MessageTarget* Target() const { return m_port.isNull() ? nullptr : m_port->Target(); }
    MessagePort* Port() const { return m_port.data(); }
    bool operator==(const TargetHandle& o) const { return m_port.data() == o.m_port.data(); }
    bool operator!=(const TargetHandle& o) const { return !(*this == o); }

private:
    QPointer<MessagePort> m_port;
};

class MessageTarget {
public:
    MessageTarget();
    virtual ~MessageTarget();
    MessageTarget(const MessageTarget&) = delete;
    MessageTarget& operator=(const MessageTarget&) = delete;

    virtual LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) = 0;

    TargetHandle Handle() const { return TargetHandle(m_port.get()); }

    // Window-timer semantics: periodic until killed; setting a running id restarts it.
    void SetTimer(int id, int ms) { m_port->SetTimer(id, ms); }
    void KillTimer(int id) { m_port->KillTimer(id); }
    bool IsTimerActive(int id) const { return m_port->IsTimerActive(id); }

private:
    std::unique_ptr<MessagePort> m_port;
};

// Direct call; returns 0 when the handle no longer designates a target.
LRESULT SendMessage(const TargetHandle& to, unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Queued. From another thread the caller must guarantee the target outlives the call.
// Returns false when the handle is empty.
bool PostMessage(const TargetHandle& to, unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);

} // namespace vmc
