#pragma once
// Needle instrument painted by its owner into a rectangle of the owner's own: a 90-degree scale arc
// with three ticks, the scale ends under the arc ends, the value text above and a needle between
// the ends. Two off-screen layers, the face and the needle, so that a new value redraws only the
// needle. The layers are kept in device pixels, so the meter is sharp at any device pixel ratio.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

class QPainter;

class CAnalogMeter {
public:
    CAnalogMeter();

    // None of the setters repaints; the change shows at the next Draw.
    void SetRange(double minimum, double maximum);
    void SetScaleDecimals(int count);
    void SetValueDecimals(int count);
    void SetUnits(const QString& units);

    // Rebuilds the layers when the rectangle, the device pixel ratio or a setting changed, then
    // paints the meter at target (in the painter's logical coordinates).
    void Draw(QPainter& painter, const QRect& target);
    // Once the layers exist and the value is new: stores it and redraws the needle layer. Returns
    // whether it did; the owner then repaints (Draw only composes the layers again).
    bool UpdateNeedle(double value);
    // As above, and paints the result at the last target rectangle at once.
    void UpdateNeedle(QPainter& painter, double value);

    double Value() const { return m_dValue; }
    double Minimum() const { return m_dMinimum; }
    double Maximum() const { return m_dMaximum; }
    bool HasLayers() const { return !m_face.isNull(); }
    QString ValueText() const;
    QString MinimumText() const;
    QString MaximumText() const;

private:
    // All in device pixels of the layers; right and bottom of the areas are exclusive.
    struct Area {
        int left = 0, top = 0, right = 0, bottom = 0;
        int Height() const { return bottom - top; }
        int CentreX() const { return (left + right) / 2; }
    };

    void BuildLayers(const QRect& target, qreal ratio);
    void DrawFace();
    void DrawNeedle();
    void Compose(QPainter& painter);
    void DrawCentredText(QPainter& p, int x, int baseline, const QString& text) const;
    QPointF Pixel(int x, int y) const;
    qreal LineWidth() const;

    QColor m_colFace{128, 128, 128};
    QColor m_colNeedle{255, 0, 0};
    QColor m_colValue{0, 0, 0};
    bool m_bFaceDirty = true;
    int m_nScaleDecimals = 1;
    int m_nValueDecimals = 3;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nCentreX = 0;
    int m_nCentreY = 0;
    int m_nRadius = 0;
    QPoint m_arcLeft;
    QPoint m_arcRight;
    int m_nHubRadius = 0;
    int m_nTextLift = 0;
    double m_dHalfSweep = 0.0;
    double m_dScaleFactor = 0.0;
    double m_dValue = 0.0;
    double m_dMinimum = -10.0;
    double m_dMaximum = 10.0;
    QString m_strUnits = QStringLiteral("Volts");
    qreal m_dRatio = 1.0;
    QRect m_target;
    Area m_minLabel;
    Area m_maxLabel;
    Area m_valueArea;
    QFont m_labelFont;
    bool m_bHasFont = false;
    QImage m_face;
    QImage m_needle;
    QImage m_composed;
};
