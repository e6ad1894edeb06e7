#pragma once
// Moves page members to and from their controls, with the limits every field carries. Taking the
// fields stops at the first bad one: a plain box says what is expected and the field gets the
// focus, so a page is never applied with a value out of range.
#include <QString>
#include <functional>
#include <limits>
#include <vector>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QWidget;

class FieldBinding {
public:
    void Int(int* member, QLineEdit* edit, int min = std::numeric_limits<int>::min(),
             int max = std::numeric_limits<int>::max());
    void UInt(quint32* member, QLineEdit* edit, quint32 min = 0, quint32 max = std::numeric_limits<quint32>::max());
    void Float(float* member, QLineEdit* edit, float min = -std::numeric_limits<float>::max(),
               float max = std::numeric_limits<float>::max());
    void Text(QString* member, QLineEdit* edit, int maxChars = -1);
    // Index of the selected entry; -1 for none.
    void ComboIndex(int* member, QComboBox* combo);
    void Check(bool* member, QAbstractButton* button);

    bool Update(bool save);
    // The same for the field of one control only (an answer refreshes what it carried and leaves
    // the other fields as the user has them). False when the control is not bound or its value is
    // bad.
    bool UpdateOne(const QWidget* control, bool save);
    void Clear() { m_fields.clear(); }

    // The display form of a float field ("%g" with six significant digits).
    static QString FormatFloat(float v);

private:
    struct Field {
        QWidget* control;
        std::function<bool()> save; // false: bad value, a box was shown
        std::function<void()> show;
    };
    std::vector<Field> m_fields;
};
