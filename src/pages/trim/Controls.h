#pragma once
// Small builders for the controls of the trim dialogs: each control that carries behaviour gets
// its resource id as objectName, value edits are right-aligned like the dialog resources.
#include "resources/ControlIds.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

namespace trim {

template <class W> W* Named(W* w, int id) {
    if (id > 0)
        w->setObjectName(res::IdName(id));
    return w;
}

inline QLineEdit* ValueEdit(QWidget* parent, int id, bool readOnly = false) {
    auto* e = Named(new QLineEdit(parent), id);
    e->setAlignment(Qt::AlignRight);
    e->setReadOnly(readOnly);
    return e;
}

inline QPushButton* Button(QWidget* parent, int id, const QString& text) {
    auto* b = Named(new QPushButton(text, parent), id);
    b->setAutoDefault(false);
    return b;
}

inline QLabel* Label(QWidget* parent, int id, const QString& text) { return Named(new QLabel(text, parent), id); }

inline QCheckBox* Check(QWidget* parent, int id, const QString& text) {
    return Named(new QCheckBox(text, parent), id);
}

inline QRadioButton* Radio(QWidget* parent, int id, const QString& text) {
    return Named(new QRadioButton(text, parent), id);
}

// Radio buttons of one group (siblings of one parent) that may also have none selected.
class RadioGroup {
public:
    void Add(QRadioButton* b) { m_buttons.push_back(b); }
    // Index of the checked button, -1 for none.
    int Selected() const {
        for (std::size_t i = 0; i < m_buttons.size(); ++i)
            if (m_buttons[i]->isChecked())
                return static_cast<int>(i);
        return -1;
    }
    // -1 clears the group.
    void Select(int index) {
        for (std::size_t i = 0; i < m_buttons.size(); ++i) {
            QRadioButton* b = m_buttons[i];
            b->setAutoExclusive(false);
            b->setChecked(static_cast<int>(i) == index);
            b->setAutoExclusive(true);
        }
    }
    QRadioButton* At(int index) const { return m_buttons.at(static_cast<std::size_t>(index)); }
    int Count() const { return static_cast<int>(m_buttons.size()); }

private:
    std::vector<QRadioButton*> m_buttons;
};

// "%.4f" as the pages show live values.
inline QString Fixed4(float v) { return QString::asprintf("%.4f", static_cast<double>(v)); }

} // namespace trim
