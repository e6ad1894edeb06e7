#pragma once
// Vertical percentage bar: a green bar rising from the bottom of a 0-100 % scale.
#include <QImage>
#include <QWidget>

class CRepaintCoalescer;

class CLineProgressCtrl : public QWidget {
    Q_OBJECT

public:
    static constexpr int kScaleLeft = 45;
    static constexpr int kMargin = 10;
    static constexpr int kInitialBarTop = 145;

    explicit CLineProgressCtrl(QWidget* parent = nullptr);
    ~CLineProgressCtrl() override;

    void Draw();
    void SetPercent(float percent);

    float Percent() const { return m_fPercent; }
    int BarTop() const { return m_nBarTop; }
    QRect ScaleRect() const; // right and bottom inclusive, as QRect has them
    bool IsRepaintPending() const;

    QSize sizeHint() const override { return {100, 155}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceBar();

    int m_nBarTop = kInitialBarTop;
    float m_fPercent = 0.0f;
    bool m_bHasPercent = false;
    QImage m_scale;
    CRepaintCoalescer* m_repaint;
};
