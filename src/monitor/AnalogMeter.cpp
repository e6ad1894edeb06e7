#include "monitor/AnalogMeter.h"

#include "monitor/RasterOps.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int kMaxDecimals = 17;
constexpr double kFarOutside = 1.0e6;

// Half away from zero, as the dial layout rounds; anything not finite lands on 0.
int Round(double v) {
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::round(std::clamp(v, -kFarOutside, kFarOutside)));
}

QString Fixed(double v, int decimals) { return QString::number(v, 'f', std::clamp(decimals, 0, kMaxDecimals)); }

} // namespace

CAnalogMeter::CAnalogMeter() : m_dHalfSweep(45.0 * std::numbers::pi / 180.0) {}

void CAnalogMeter::SetRange(double minimum, double maximum) {
    m_dMinimum = minimum;
    m_dMaximum = maximum;
    m_bFaceDirty = true;
}

void CAnalogMeter::SetScaleDecimals(int count) {
    m_nScaleDecimals = count;
    m_bFaceDirty = true;
}

void CAnalogMeter::SetValueDecimals(int count) {
    m_nValueDecimals = count;
    m_bFaceDirty = true;
}

void CAnalogMeter::SetUnits(const QString& units) {
    m_strUnits = units;
    m_bFaceDirty = true;
}

QString CAnalogMeter::ValueText() const { return Fixed(m_dValue, m_nValueDecimals) + QLatin1Char(' ') + m_strUnits; }
QString CAnalogMeter::MinimumText() const { return Fixed(m_dMinimum, m_nScaleDecimals); }
QString CAnalogMeter::MaximumText() const { return Fixed(m_dMaximum, m_nScaleDecimals); }

void CAnalogMeter::Draw(QPainter& painter, const QRect& target) {
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    if (target != m_target || !qFuzzyCompare(ratio, m_dRatio))
        m_bFaceDirty = true;
    if (m_bFaceDirty) {
        m_bFaceDirty = false;
        BuildLayers(target, ratio);
    }
    Compose(painter);
}

bool CAnalogMeter::UpdateNeedle(double value) {
    if (!HasLayers() || value == m_dValue)
        return false;
    m_dValue = value;
    DrawNeedle();
    return true;
}

void CAnalogMeter::UpdateNeedle(QPainter& painter, double value) {
    if (UpdateNeedle(value))
        Compose(painter);
}

void CAnalogMeter::BuildLayers(const QRect& target, qreal ratio) {
    m_target = target;
    m_dRatio = ratio;
    m_nWidth = Round(target.width() * ratio);
    m_nHeight = Round(target.height() * ratio);
    m_face = QImage();
    m_needle = QImage();
    m_composed = QImage();
    if (m_nWidth <= 0 || m_nHeight <= 0)
        return;
    m_face = QImage(m_nWidth, m_nHeight, QImage::Format_RGB32);
    m_needle = QImage(m_nWidth, m_nHeight, QImage::Format_RGB32);
    m_composed = QImage(m_nWidth, m_nHeight, QImage::Format_RGB32);
    m_composed.setDevicePixelRatio(ratio);
    DrawFace();
    DrawNeedle();
}

qreal CAnalogMeter::LineWidth() const { return std::max<qreal>(1.0, std::round(m_dRatio)); }

// Integer coordinates name pixels; strokes run through their centres.
QPointF CAnalogMeter::Pixel(int x, int y) const { return {x + 0.5, y + 0.5}; }

void CAnalogMeter::DrawCentredText(QPainter& p, int x, int baseline, const QString& text) const {
    const qreal w = QFontMetricsF(p.font()).horizontalAdvance(text);
    p.drawText(QPointF(x - w / 2.0, baseline), text);
}

void CAnalogMeter::DrawFace() {
    const int W = m_nWidth;
    const int H = m_nHeight;
    const qreal lw = LineWidth();
    // White with a one-pixel black border.
    m_face.fill(Qt::white);
    QPainter p(&m_face);
    p.setRenderHint(QPainter::Antialiasing);
    const int b = static_cast<int>(lw);
    p.fillRect(0, 0, W, b, Qt::black);
    p.fillRect(0, H - b, W, b, Qt::black);
    p.fillRect(0, 0, b, H, Qt::black);
    p.fillRect(W - b, 0, b, H, Qt::black);

    m_dScaleFactor = 2.0 * m_dHalfSweep / (m_dMaximum - m_dMinimum);
    m_nCentreX = W / 2;
    m_nCentreY = H - H / 5;
    m_nRadius = W * 60 / 100;
    m_nHubRadius = m_nRadius / 40;
    const double s = std::sin(m_dHalfSweep);
    const double c = std::cos(m_dHalfSweep);
    m_arcLeft = QPoint(Round(m_nCentreX - m_nRadius * s), Round(m_nCentreY - m_nRadius * c));
    m_arcRight = QPoint(Round(m_nCentreX + m_nRadius * s), m_arcLeft.y());

    m_valueArea = {1, 1, W - 1, m_nCentreY - m_nRadius - 1};
    const int labelTop = m_nCentreY - H * 3 / 20;
    const int labelBottom = m_nCentreY + H / 20;
    m_minLabel = {1, labelTop, m_arcLeft.x() + (m_nCentreX - m_arcLeft.x()) * 3 / 4, labelBottom};
    m_maxLabel = {m_arcRight.x() - (m_arcRight.x() - m_nCentreX) * 3 / 4, labelTop, W - 1, labelBottom};

    // Arial by name; the Swiss hint picks its stand-in where Arial is not installed. The size is
    // a cell height (ascent plus descent), as the layout was designed with.
    const int cell = m_maxLabel.Height() * 4 / 5;
    m_bHasFont = cell > 0;
    if (m_bHasFont) {
        m_labelFont = QFont(QStringLiteral("Arial"));
        m_labelFont.setStyleHint(QFont::SansSerif);
        m_labelFont.setWeight(QFont::Normal);
        m_labelFont.setPixelSize(cell);
        const qreal height = QFontMetricsF(m_labelFont).height();
        if (height > 0)
            m_labelFont.setPixelSize(std::max(1, Round(cell * cell / height)));
    }
    m_nTextLift = m_minLabel.Height() / 4;

    if (m_bHasFont) {
        p.setFont(m_labelFont);
        p.setPen(m_colFace);
        DrawCentredText(p, m_minLabel.CentreX(), m_minLabel.bottom - m_nTextLift, MinimumText());
        DrawCentredText(p, m_maxLabel.CentreX(), m_maxLabel.bottom - m_maxLabel.Height() / 4, MaximumText());
    }

    const QPointF centre = Pixel(m_nCentreX, m_nCentreY);
    const int r = m_nRadius;
    p.setPen(QPen(m_colFace, lw));
    p.setBrush(Qt::white);
    p.drawPie(QRectF(centre.x() - r, centre.y() - r, 2.0 * r, 2.0 * r), 45 * 16, 90 * 16);

    p.drawLine(Pixel(m_nCentreX, m_nCentreY - r), Pixel(m_nCentreX, m_nCentreY - r * 46 / 50));
    const double a = m_dHalfSweep / 2.0;
    const double inner = (r * 46) / 50.0;
    for (int side : {-1, 1}) {
        const QPointF outer = Pixel(Round(m_nCentreX + side * r * std::sin(a)), Round(m_nCentreY - r * std::cos(a)));
        const QPointF in = Pixel(Round(m_nCentreX + side * std::sin(a) * inner), Round(m_nCentreY - std::cos(a) * inner));
        p.drawLine(outer, in);
    }

    p.setBrush(m_colFace);
    const qreal hub = m_nHubRadius + 0.5;
    p.drawEllipse(centre, hub, hub);
}

void CAnalogMeter::DrawNeedle() {
    if (m_needle.isNull())
        return;
    m_needle.fill(Qt::white);
    QPainter p(&m_needle);
    p.setRenderHint(QPainter::Antialiasing);

    if (m_bHasFont) {
        p.setFont(m_labelFont);
        p.setPen(m_colValue);
        DrawCentredText(p, m_valueArea.CentreX(), m_valueArea.bottom - m_nTextLift, ValueText());
    }

    // Below the minimum the needle rests on the left end, above the maximum on the right; a value
    // that is not a number (or a scale without span) must still leave it on the dial.
    double a = (m_dValue - m_dMinimum) * m_dScaleFactor - m_dHalfSweep;
    if (std::isnan(a))
        a = -m_dHalfSweep;
    a = std::clamp(a, -m_dHalfSweep, m_dHalfSweep);

    const int cx = m_nCentreX;
    const int cy = m_nCentreY;
    const QPoint tip(Round(cx + m_nRadius * std::sin(a)), Round(cy - m_nRadius * std::cos(a)));
    const QPoint base1(Round(cx - m_nHubRadius * std::cos(a)), Round(cy - m_nHubRadius * std::sin(a)));
    const QPoint base2(2 * cx - base1.x(), 2 * cy - base1.y());

    const qreal lw = LineWidth();
    p.setPen(QPen(m_colNeedle, lw));
    p.setBrush(m_colNeedle);
    const QPointF points[] = {Pixel(tip.x(), tip.y()), Pixel(base1.x(), base1.y()), Pixel(base2.x(), base2.y()),
                              Pixel(tip.x(), tip.y())};
    p.drawPolygon(points, 4);

    p.setPen(QPen(Qt::black, lw));
    p.setBrush(Qt::white);
    const qreal hub = m_nHubRadius + 0.5;
    p.drawEllipse(Pixel(cx, cy), hub, hub);
}

void CAnalogMeter::Compose(QPainter& painter) {
    if (!HasLayers())
        return;
    // Inverting the face and XOR-ing the needle layer over it leaves the face wherever the needle
    // layer is white and shows the needle layer's colours over the white face; the white hub of the
    // needle layer lets the face's hub cover the needle's base.
    rop::NotCopy(m_composed, m_face);
    rop::XorInto(m_composed, m_needle);
    painter.drawImage(QPointF(m_target.topLeft()), m_composed);
}
