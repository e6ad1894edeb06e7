#include "pages/transmitter/Form.h"

#include <algorithm>

namespace form {

QLineEdit* Edit(QWidget* parent, int id, bool readOnly) {
    auto* e = Named(new QLineEdit(parent), id);
    e->setReadOnly(readOnly);
    return e;
}

QComboBox* DropList(QWidget* parent, int id) {
    auto* c = Named(new QComboBox(parent), id);
    c->setEditable(false);
    return c;
}

QComboBox* TextCombo(QWidget* parent, int id) {
    auto* c = Named(new QComboBox(parent), id);
    c->setEditable(true);
    c->lineEdit()->setReadOnly(true);
    return c;
}

QPushButton* Button(QWidget* parent, int id, const QString& caption) {
    auto* b = Named(new QPushButton(caption, parent), id);
    b->setAutoDefault(false);
    return b;
}

QLabel* Label(QWidget* parent, int id, const QString& text) { return Named(new QLabel(text, parent), id); }

void Row(QGridLayout* grid, int row, const QString& caption, QWidget* control, QWidget* suffix) {
    auto* label = new QLabel(caption);
    label->setBuddy(control);
    grid->addWidget(label, row, 0);
    grid->addWidget(control, row, 1);
    if (suffix)
        grid->addWidget(suffix, row, 2);
}

} // namespace form

CSpinBuddy::CSpinBuddy(QLineEdit* buddy, int id, QWidget* parent) : CSpinArrows(id, 18, parent), m_buddy(buddy) {}

void CSpinBuddy::SetRange(int low, int high) {
    m_low = low;
    m_high = high;
}

void CSpinBuddy::SetPos(int pos) { m_buddy->setText(QString::number(std::clamp(pos, m_low, m_high))); }

void CSpinBuddy::Step(int delta) {
    bool ok = false;
    const int now = m_buddy->text().trimmed().toInt(&ok);
    // Into the range before the step: a typed 2147483647 plus one would overflow.
    const int next = ok ? std::clamp(std::clamp(now, m_low, m_high) + delta, m_low, m_high) : m_low;
    if (ok && next == now)
        return;
    m_buddy->setText(QString::number(next));
    emit Stepped();
}
