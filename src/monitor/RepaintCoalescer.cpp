#include "monitor/RepaintCoalescer.h"

#include "platform/TimeScale.h"

#include <QWidget>

CRepaintCoalescer::CRepaintCoalescer(QWidget* target) : QObject(target), m_target(target) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_target)
            m_target->update();
    });
}

void CRepaintCoalescer::Request() {
    if (!m_timer.isActive())
        m_timer.start(vmc::ScaledMs(kPeriodMs));
}
