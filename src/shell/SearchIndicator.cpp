#include "shell/SearchIndicator.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int kFrames = 48;
constexpr int kFrameMs = 40;
constexpr int kDevices = 6;
} // namespace

CSearchIndicator::CSearchIndicator(QWidget* parent) : QWidget(parent) {
    setMinimumSize(200, 56);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_frame = (m_frame + 1) % kFrames;
        update();
    });
}

void CSearchIndicator::Play() { m_timer.start(kFrameMs); }

void CSearchIndicator::Stop() { m_timer.stop(); }

void CSearchIndicator::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect().adjusted(4, 4, -4, -4);
    p.fillRect(rect(), palette().window());

    // The modem on the left, the loop wire, and the transmitters hanging on it.
    const qreal wireY = r.top() + r.height() * 0.35;
    const QRectF modem(r.left(), wireY - 10, 26, 20);
    p.setPen(QPen(QColor(0x26, 0x32, 0x38), 1.5));
    p.setBrush(QColor(0x60, 0x7d, 0x8b));
    p.drawRoundedRect(modem, 3, 3);
    p.setPen(QPen(QColor(0xfb, 0x8c, 0x00), 2));
    p.drawLine(QPointF(modem.right(), wireY), QPointF(r.right() - 4, wireY));

    const qreal span = (r.right() - 16) - (modem.right() + 20);
    const qreal pos = static_cast<qreal>(m_frame) / kFrames; // 0..1 along the loop
    for (int i = 0; i < kDevices; ++i) {
        const qreal x = modem.right() + 20 + span * i / (kDevices - 1);
        const qreal dist = std::abs(pos * (kDevices - 1) - i);
        const bool lit = dist < 0.5;
        p.setPen(QPen(QColor(0x45, 0x5a, 0x64), 1.2));
        p.drawLine(QPointF(x, wireY), QPointF(x, wireY + 10));
        p.setBrush(lit ? QColor(0x43, 0xa0, 0x47) : QColor(0xec, 0xef, 0xf1));
        p.drawEllipse(QPointF(x, wireY + 17), 7, 7);
    }
    // The request travelling out from the modem.
    const qreal px = modem.right() + 20 + span * pos;
    QPainterPath wave;
    wave.moveTo(px - 12, wireY);
    for (int k = 0; k < 4; ++k)
        wave.lineTo(px - 12 + 3 * (k + 1), wireY + ((k % 2) ? 5 : -5));
    p.setPen(QPen(QColor(0x1e, 0x88, 0xe5), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
}
