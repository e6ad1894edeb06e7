#pragma once
// Small conversions the trend pages and the log writer share: numbers read from edit texts the way
// the dialogs always read them (leading number, rest ignored), values rounded through their
// printed form, unit texts, and the short form of a float kept in the profile.
#include <QString>

namespace trend {

// The maker's name as the manufacturer table spells it; its devices answer command 210.
inline const QString& MakerName() {
    static const QString name = QStringLiteral("Norvane Works");
    return name;
}

// The leading integer of the text (0 when there is none), saturated to the int range.
long long LeadingInt(const QString& text);
// The leading decimal number of the text (0 when there is none).
double LeadingFloat(const QString& text);
// The same as a float: 0 as well for a number beyond a float's range, which no float holds.
float LeadingFloatValue(const QString& text);

// The value printed with the given decimals and read back ("%.4f" then atof).
float RoundPrinted(float value, int decimals);
// "%.*f" of the value.
QString Fixed(double value, int decimals);

// "(" + unit name + ")" for a HART unit code.
QString UnitText(int unitCode);

// The shortest decimal text that reads back as the same float, without an exponent:
// 100 -> "100", -20.5 -> "-20.5", 0.1 -> "0.1", 33.3 -> "33.3".
QString FormatTrimmedFloat(float value);

} // namespace trend
