#pragma once
// Small builders for the dialog forms of the transmitter pages: every control that carries
// behaviour gets its numeric id as objectName, labels sit left of their controls in a grid.
#include "pages/common/SpinArrows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QToolButton>
#include <QWidget>

namespace form {

template <class W> W* Named(W* w, int id) {
    w->setObjectName(QString::number(id));
    return w;
}

QLineEdit* Edit(QWidget* parent, int id, bool readOnly = false);
// A drop-down list (no typing).
QComboBox* DropList(QWidget* parent, int id);
// A combo box that only shows a text the program sets.
QComboBox* TextCombo(QWidget* parent, int id);
QPushButton* Button(QWidget* parent, int id, const QString& caption);
QLabel* Label(QWidget* parent, int id, const QString& text = {});
// Adds "caption  control  [suffix]" as one row of the grid.
void Row(QGridLayout* grid, int row, const QString& caption, QWidget* control, QWidget* suffix = nullptr);

} // namespace form

// The up-down buttons beside an integer edit: they step the number in the edit within a range.
// Setting the position writes it into the edit, as the spin controls of the dialogs did.
class CSpinBuddy : public CSpinArrows {
    Q_OBJECT
public:
    CSpinBuddy(QLineEdit* buddy, int id, QWidget* parent = nullptr);
    void SetRange(int low, int high);
    void SetPos(int pos);
    int Low() const { return m_low; }
    int High() const { return m_high; }

signals:
    // The user stepped the value (the edit already shows it).
    void Stepped();

private:
    void Step(int delta) override;

    QLineEdit* m_buddy;
    int m_low = 0;
    int m_high = 100;
};
