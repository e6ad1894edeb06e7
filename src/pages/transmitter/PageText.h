#pragma once
// Texts and small formatting helpers the transmitter pages share.
#include <QString>

// Packed ASCII fields arrive padded with spaces; the edits show the text without them.
inline QString TrimRight(QString text) {
    while (!text.isEmpty() && text.back() == QLatin1Char(' '))
        text.chop(1);
    return text;
}

// "%.4f" of a process value.
inline QString ValueText(float v) { return QString::asprintf("%.4f", static_cast<double>(v)); }

// "(" + unit name + ")".
inline QString UnitLabel(const QString& name) { return QLatin1Char('(') + name + QLatin1Char(')'); }

inline QString PollingAddressInUseText(int address) {
    return QStringLiteral("Polling address %1 is used by another device.").arg(address);
}
