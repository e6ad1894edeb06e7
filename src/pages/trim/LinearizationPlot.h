#pragma once
// The linearization table as a picture: each point at (current, modified), the points in use
// joined into the correction curve, points switched off drawn hollow, and the line where the
// modified value equals the current one for reference.
#include "pages/trim/PointRecord.h"

#include <QString>
#include <QWidget>
#include <vector>

class CLinearizationPlot : public QWidget {
    Q_OBJECT
public:
    explicit CLinearizationPlot(QWidget* parent = nullptr);

    void SetPoints(std::vector<CPointRecord> points);
    void SetAxisTitles(const QString& x, const QString& y);
    const std::vector<CPointRecord>& Points() const { return m_points; }

    QSize sizeHint() const override { return {320, 240}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<CPointRecord> m_points;
    QString m_strX;
    QString m_strY;
};
