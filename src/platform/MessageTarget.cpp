#include "platform/MessageTarget.h"

#include "platform/TimeScale.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace vmc {
namespace {

const QEvent::Type kMessageEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

class MessageEvent final : public QEvent {
public:
    MessageEvent(unsigned msg, WPARAM w, LPARAM l) : QEvent(kMessageEventType), m_msg(msg), m_w(w), m_l(l) {}
    unsigned m_msg;
    WPARAM m_w;
    LPARAM m_l;
};

} // namespace

MessagePort::MessagePort(MessageTarget* target) : m_target(target) {}

MessagePort::~MessagePort() { m_target = nullptr; }

bool MessagePort::event(QEvent* e) {
    if (e->type() == kMessageEventType) {
        auto* me = static_cast<MessageEvent*>(e);
        if (m_target)
            m_target->OnMessage(me->m_msg, me->m_w, me->m_l);
        return true;
    }
    return QObject::event(e);
}

void MessagePort::SetTimer(int id, int ms) {
    QTimer*& t = m_timers[id];
    if (!t) {
        t = new QTimer(this);
        t->setTimerType(Qt::PreciseTimer);
        connect(t, &QTimer::timeout, this, [this, id] {
            if (m_target)
                m_target->OnMessage(WM_TIMER, static_cast<WPARAM>(id), 0);
        });
    }
    t->start(ScaledMs(ms));
}

void MessagePort::KillTimer(int id) {
    auto it = m_timers.find(id);
    if (it != m_timers.end())
        it->second->stop();
}

bool MessagePort::IsTimerActive(int id) const {
    auto it = m_timers.find(id);
    return it != m_timers.end() && it->second->isActive();
}

MessageTarget::MessageTarget() : m_port(std::make_unique<MessagePort>(this)) {}

MessageTarget::~MessageTarget() {
    // Nothing may reach a half-destroyed target: detach before the port goes.
    m_port->Detach();
}

LRESULT SendMessage(const TargetHandle& to, unsigned msg, WPARAM wParam, LPARAM lParam) {
    MessageTarget* t = to.Target();
    return t ? t->OnMessage(msg, wParam, lParam) : 0;
}

bool PostMessage(const TargetHandle& to, unsigned msg, WPARAM wParam, LPARAM lParam) {
    MessagePort* port = to.Port();
    if (!port)
        return false;
    QCoreApplication::postEvent(port, new MessageEvent(msg, wParam, lParam));
    return true;
}

} // namespace vmc
