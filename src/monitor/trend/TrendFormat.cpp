#include "monitor/trend/TrendFormat.h"

#include "hart/CodeTables.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace trend {

long long LeadingInt(const QString& text) {
    const QByteArray bytes = text.trimmed().toLatin1();
    const long long v = std::strtoll(bytes.constData(), nullptr, 10);
    return v;
}

double LeadingFloat(const QString& text) {
    const QByteArray bytes = text.trimmed().toLatin1();
    const double v = std::strtod(bytes.constData(), nullptr);
    return std::isfinite(v) ? v : 0.0;
}

float LeadingFloatValue(const QString& text) {
    const double v = LeadingFloat(text);
    return std::abs(v) <= static_cast<double>(std::numeric_limits<float>::max()) ? static_cast<float>(v) : 0.0f;
}

float RoundPrinted(float value, int decimals) {
    if (!std::isfinite(value))
        return value;
    return static_cast<float>(std::strtod(Fixed(value, decimals).toLatin1().constData(), nullptr));
}

QString Fixed(double value, int decimals) { return QString::asprintf("%.*f", decimals, value); }

QString UnitText(int unitCode) {
    return QLatin1Char('(') + hart::GetCodeName(hart::UnitTable(), unitCode) + QLatin1Char(')');
}

QString FormatTrimmedFloat(float value) {
    if (!std::isfinite(value))
        return QStringLiteral("0");
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    if (result.ec != std::errc())
        return Fixed(value, 6);
    QString text = QString::fromLatin1(buffer.data(), static_cast<int>(result.ptr - buffer.data()));
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

} // namespace trend
