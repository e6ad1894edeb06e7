#pragma once
// Controls the trend pages build their forms from: the up-down buttons beside a number edit, the
// frame the analog meter is painted in, the colour swatch of a legend, and the colour choice.
#include "monitor/AnalogMeter.h"
#include "pages/common/SpinArrows.h"

#include <QColor>
#include <QIcon>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <optional>

class CRepaintCoalescer;
class QLineEdit;
class QTableWidget;
class QToolButton;

namespace trend {

// Asks the user for a colour; nothing when the choice was cancelled.
using ColourChooser = std::function<std::optional<QColor>(QColor initial, QWidget* parent)>;
// The standard colour dialog.
ColourChooser StandardColourChooser();

// The 21 x 20 legend swatch of a series colour.
QIcon LegendIcon(QColor colour);

// An edit with the control id as its object name.
QLineEdit* MakeEdit(int id, bool readOnly, QWidget* parent);

// A report list with grid lines and full-row selection, one row per device.
struct ListColumn {
    const char* caption;
    int width;
    Qt::Alignment align;
};
QTableWidget* MakeDeviceList(int id, std::initializer_list<ListColumn> columns, QWidget* parent);
// Sets a cell's text, keeping the column's alignment; the cell is made when missing.
void SetCellText(QTableWidget* list, int row, int column, const QString& text);
// The row whose polling address (item data of column 0) is the given one; -1 for none.
int RowOfAddress(const QTableWidget* list, int address);
// Appends a row for a device: its polling address as "%02d" in the given column, and as item data.
int AddDeviceRow(QTableWidget* list, int address, int addressColumn);
// The response codes of a device that is busy for a while; its refusals are asked again.
bool IsBusyCode(int responseCode);

} // namespace trend

// Up and down arrows that step the whole number in their buddy edit within a range, as the spin
// controls of the dialogs do: the edit's own number (rounded) is the starting point when it holds
// one, the last position otherwise.
class CSpinButton : public CSpinArrows {
    Q_OBJECT
public:
    CSpinButton(int id, QLineEdit* buddy, QWidget* parent = nullptr);

    void SetRange(int lower, int upper);
    void SetPos(int pos) { m_nPos = pos; }
    int Pos() const { return m_nPos; }
    void Step(int delta) override;

signals:
    // The buddy's text was changed by an arrow.
    void stepped();

private:
    QLineEdit* m_buddy;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
};

// The static frame the analog meter is painted into. New values repaint through the coalescing
// timer, so a fast stream of samples costs at most one paint per period.
class CMeterView : public QWidget {
    Q_OBJECT
public:
    CMeterView(int id, CAnalogMeter& meter, QWidget* parent = nullptr);

    // Moves the needle; false when the meter has not been painted yet or shows the value already.
    bool UpdateNeedle(double value);
    bool IsRepaintPending() const;
    // Where the meter is drawn: the largest square centred in the frame (the dial takes its radius
    // from the width and puts the value text above the arc, which a square leaves room for).
    QRect MeterRect() const;

    QSize sizeHint() const override { return {200, 150}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CAnalogMeter& m_meter;
    CRepaintCoalescer* m_repaint;
};
