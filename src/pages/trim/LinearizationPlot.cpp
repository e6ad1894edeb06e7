#include "pages/trim/LinearizationPlot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

CLinearizationPlot::CLinearizationPlot(QWidget* parent) : QWidget(parent) {
    setMinimumSize(240, 180);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CLinearizationPlot::SetPoints(std::vector<CPointRecord> points) {
    std::sort(points.begin(), points.end(),
              [](const CPointRecord& a, const CPointRecord& b) { return a.m_fCurrent < b.m_fCurrent; });
    m_points = std::move(points);
    update();
}

void CLinearizationPlot::SetAxisTitles(const QString& x, const QString& y) {
    m_strX = x;
    m_strY = y;
    update();
}

void CLinearizationPlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().base());
    const QFontMetrics fm(font());
    const int left = fm.horizontalAdvance(QStringLiteral("-00000.0")) + 8;
    const int bottom = fm.height() * 2 + 6;
    const QRectF box(left, 8, width() - left - 10, height() - bottom - 8);
    if (box.width() < 20 || box.height() < 20)
        return;
    if (m_points.empty()) {
        p.setPen(palette().mid().color());
        p.drawRect(box);
        p.drawText(box, Qt::AlignCenter, QStringLiteral("Read the table to see it here."));
        return;
    }

    float lo = 0.0f, hi = 1.0f;
    bool any = false;
    for (const CPointRecord& r : m_points) {
        for (float v : {r.m_fCurrent, r.m_fModified}) {
            if (!std::isfinite(v))
                continue;
            lo = any ? std::min(lo, v) : v;
            hi = any ? std::max(hi, v) : v;
            any = true;
        }
    }
    if (hi - lo < 1e-6f) {
        lo -= 1.0f;
        hi += 1.0f;
    }
    const float pad = (hi - lo) * 0.05f;
    lo -= pad;
    hi += pad;
    auto mapX = [&](float v) { return box.left() + (v - lo) / (hi - lo) * box.width(); };
    auto mapY = [&](float v) { return box.bottom() - (v - lo) / (hi - lo) * box.height(); };

    p.setPen(QPen(palette().mid().color(), 1));
    p.drawRect(box);
    for (int i = 0; i <= 4; ++i) {
        const float v = lo + (hi - lo) * static_cast<float>(i) / 4.0f;
        const QString t = QString::number(static_cast<double>(v), 'g', 4);
        p.setPen(QPen(palette().midlight().color(), 1, Qt::DotLine));
        p.drawLine(QPointF(mapX(v), box.top()), QPointF(mapX(v), box.bottom()));
        p.drawLine(QPointF(box.left(), mapY(v)), QPointF(box.right(), mapY(v)));
        p.setPen(palette().text().color());
        p.drawText(QRectF(0, mapY(v) - fm.height() / 2.0, left - 4, fm.height()), Qt::AlignRight | Qt::AlignVCenter, t);
        // The outer labels stay inside the plot's width.
        const double w = fm.horizontalAdvance(t) + 4;
        const double x = i == 0 ? box.left() : i == 4 ? box.right() - w : mapX(v) - w / 2;
        p.drawText(QRectF(x, box.bottom() + 2, w, fm.height()), Qt::AlignHCenter, t);
    }
    p.drawText(QRectF(box.left(), box.bottom() + fm.height() + 2, box.width(), fm.height()), Qt::AlignHCenter,
               m_strX + QStringLiteral("  \u2192  ") + m_strY);

    // Where no correction applies.
    p.setPen(QPen(palette().mid().color(), 1, Qt::DashLine));
    p.drawLine(QPointF(mapX(lo), mapY(lo)), QPointF(mapX(hi), mapY(hi)));

    QPainterPath curve;
    bool started = false;
    for (const CPointRecord& r : m_points) {
        if (!r.m_bUsed)
            continue;
        const QPointF pt(mapX(r.m_fCurrent), mapY(r.m_fModified));
        if (started)
            curve.lineTo(pt);
        else
            curve.moveTo(pt);
        started = true;
    }
    const QColor ink(0, 90, 200);
    p.setPen(QPen(ink, 2));
    p.drawPath(curve);
    for (const CPointRecord& r : m_points) {
        const QPointF pt(mapX(r.m_fCurrent), mapY(r.m_fModified));
        p.setPen(QPen(r.m_bUsed ? ink : palette().mid().color(), 1.5));
        p.setBrush(r.m_bUsed ? QBrush(ink) : Qt::NoBrush);
        p.drawEllipse(pt, 3.5, 3.5);
    }
}
