#include "pages/common/FieldBinding.h"

#include "platform/MessageBox.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {

bool Refuse(QWidget* control, const QString& text) {
    vmc::PlainBox(text);
    if (control) {
        control->setFocus();
        if (auto* e = qobject_cast<QLineEdit*>(control))
            e->selectAll();
    }
    return false;
}

} // namespace

QString FieldBinding::FormatFloat(float v) { return QString::number(static_cast<double>(v), 'g', 6); }

void FieldBinding::Int(int* member, QLineEdit* edit, int min, int max) {
    m_fields.push_back({edit,
                        [=] {
                            bool ok = false;
                            const qlonglong v = edit->text().trimmed().toLongLong(&ok);
                            if (!ok)
                                return Refuse(edit, QStringLiteral("Please enter an integer."));
                            if (v < min || v > max)
                                return Refuse(edit, QStringLiteral("Please enter an integer between %1 and %2.").arg(min).arg(max));
                            *member = static_cast<int>(v);
                            return true;
                        },
                        [=] { edit->setText(QString::number(*member)); }});
}

void FieldBinding::UInt(quint32* member, QLineEdit* edit, quint32 min, quint32 max) {
    m_fields.push_back({edit,
                        [=] {
                            bool ok = false;
                            const qulonglong v = edit->text().trimmed().toULongLong(&ok);
                            if (!ok)
                                return Refuse(edit, QStringLiteral("Please enter a positive integer."));
                            if (v < min || v > max)
                                return Refuse(edit, QStringLiteral("Please enter an integer between %1 and %2.").arg(min).arg(max));
                            *member = static_cast<quint32>(v);
                            return true;
                        },
                        [=] { edit->setText(QString::number(*member)); }});
}

void FieldBinding::Float(float* member, QLineEdit* edit, float min, float max) {
    m_fields.push_back({edit,
                        [=] {
                            bool ok = false;
                            const double v = edit->text().trimmed().toDouble(&ok);
                            if (!ok || v != v)
                                return Refuse(edit, QStringLiteral("Please enter a number."));
                            if (v < min || v > max)
                                return Refuse(edit, QStringLiteral("Please enter a number between %1 and %2.")
                                                        .arg(FormatFloat(min), FormatFloat(max)));
                            *member = static_cast<float>(v);
                            return true;
                        },
                        [=] { edit->setText(FormatFloat(*member)); }});
}

void FieldBinding::Text(QString* member, QLineEdit* edit, int maxChars) {
    if (maxChars > 0)
        edit->setMaxLength(maxChars);
    m_fields.push_back({edit,
                        [=] {
                            const QString t = edit->text();
                            if (maxChars > 0 && t.size() > maxChars)
                                return Refuse(edit, QStringLiteral("Enter no more than %1 characters.").arg(maxChars));
                            *member = t;
                            return true;
                        },
                        [=] { edit->setText(*member); }});
}

void FieldBinding::ComboIndex(int* member, QComboBox* combo) {
    m_fields.push_back({combo,
                        [=] {
                            *member = combo->currentIndex();
                            return true;
                        },
                        [=] { combo->setCurrentIndex(*member < combo->count() ? *member : -1); }});
}

void FieldBinding::Check(bool* member, QAbstractButton* button) {
    m_fields.push_back({button,
                        [=] {
                            *member = button->isChecked();
                            return true;
                        },
                        [=] { button->setChecked(*member); }});
}

bool FieldBinding::Update(bool save) {
    for (auto& f : m_fields) {
        if (save) {
            if (!f.save())
                return false;
        } else {
            f.show();
        }
    }
    return true;
}

bool FieldBinding::UpdateOne(const QWidget* control, bool save) {
    for (auto& f : m_fields) {
        if (f.control != control)
            continue;
        if (save)
            return f.save();
        f.show();
        return true;
    }
    return false;
}
