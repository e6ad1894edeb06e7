#include "monitor/LineProgressCtrl.h"

#include "monitor/RasterOps.h"
#include "monitor/RepaintCoalescer.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

const QColor kBackground(244, 243, 238);
const QColor kBar(0, 255, 0);
constexpr int kTickLeft = 40;
constexpr int kLabelX = 3;

} // namespace

CLineProgressCtrl::CLineProgressCtrl(QWidget* parent) : QWidget(parent), m_repaint(new CRepaintCoalescer(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CLineProgressCtrl::~CLineProgressCtrl() = default;

QRect CLineProgressCtrl::ScaleRect() const {
    return QRect(QPoint(kScaleLeft, kMargin), QPoint(width() - kMargin, height() - kMargin));
}

bool CLineProgressCtrl::IsRepaintPending() const { return m_repaint->IsPending(); }

void CLineProgressCtrl::Draw() {
    const QRect r = ScaleRect();
    const int top = r.top();
    const int bottom = r.bottom();
    const int right = r.right();
    const int h = bottom - top;
    const int q1 = top + h / 4;
    const int q2 = top + h / 2;
    const int q3 = top + h / 4 * 3;

    const qreal dpr = devicePixelRatioF();
    const QSize device(std::max(1, qCeil(width() * dpr)), std::max(1, qCeil(height() * dpr)));
    m_scale = QImage(device, QImage::Format_RGB32);
    m_scale.setDevicePixelRatio(dpr);
    QPainter p(&m_scale);
    p.fillRect(QRectF(QPointF(0, 0), QSizeF(device) / dpr), kBackground);

    const auto hline = [&p](int x0, int x1, int y) { p.fillRect(QRect(x0, y, x1 - x0, 1), Qt::black); };
    const auto vline = [&p](int x, int y0, int y1) { p.fillRect(QRect(x, y0, 1, y1 - y0), Qt::black); };
    vline(kScaleLeft, top, bottom);
    vline(right, top, bottom);
    for (int y : {top, q1, q2, q3, bottom})
        hline(kTickLeft, kScaleLeft, y);
    hline(kScaleLeft, right + 5, top);
    hline(kScaleLeft, right + 5, bottom);
    for (int y : {q1, q2, q3})
        hline(kScaleLeft, right, y);

    p.setFont(font());
    p.setPen(Qt::black);
    const int ascent = p.fontMetrics().ascent();
    const struct {
        const char* text;
        int top;
    } labels[] = {{"100%", 3}, {"  75%", q1 - 7}, {"  50%", q2 - 7}, {"  25%", q3 - 7}, {"    0%", bottom - 7}};
    for (const auto& label : labels)
        p.drawText(QPoint(kLabelX, label.top + ascent), QString::fromLatin1(label.text));
    update();
}

void CLineProgressCtrl::SetPercent(float percent) {
    if (!(percent >= 0.0f)) // also catches NaN
        percent = 0.0f;
    percent = std::min(percent, 100.0f);
    m_fPercent = percent;
    m_bHasPercent = true;
    PlaceBar();
    if (m_scale.isNull())
        Draw();
    m_repaint->Request();
}

void CLineProgressCtrl::PlaceBar() {
    const QRect r = ScaleRect();
    const float h = static_cast<float>(r.bottom() - r.top());
    m_nBarTop = r.bottom() - static_cast<int>(h * m_fPercent / 100.0f);
}

void CLineProgressCtrl::paintEvent(QPaintEvent* /*event*/) {
    if (m_scale.isNull() || !qFuzzyCompare(m_scale.devicePixelRatio(), devicePixelRatioF()))
        Draw();
    QPainter p(this);
    p.drawImage(QPoint(0, 0), m_scale);
    const QRect r = ScaleRect();
    // Outline one pixel wide in black, the bar's area filled green; right and bottom exclusive.
    const QRect bar(QPoint(kScaleLeft, m_nBarTop), QPoint(r.right() - 1, r.bottom() - 1));
    if (bar.width() <= 0 || bar.height() <= 0)
        return;
    p.fillRect(bar, Qt::black);
    p.fillRect(bar.adjusted(1, 1, -1, -1), kBar);
}

void CLineProgressCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_bHasPercent)
        PlaceBar();
    if (!m_scale.isNull())
        Draw();
}
