#pragma once
// Texts for the two status bytes of an answer: the response code (generic or per command) and the
// first set bit of the field device status.
#include <QString>

namespace hart {

// The code part: communication-error text when bit 7 is set, otherwise the command-specific text
// when one matches, else the generic text (padded as the program always showed them).
QString ResponseCodeText(int command, int responseCode);
// The status part: the first set bit, highest first (communication-error bits when bit 7 of the
// response code is set).
QString DeviceStatusText(int responseCode, int deviceStatus);
// Code part + status part. For commands 36 and 37 a code part other than "no errors" is also
// shown in a box (the user has just set a range value from the applied process).
QString GetResponseText(int command, int responseCode, int deviceStatus);

inline const QString& NoErrorsText() {
    static const QString t = QStringLiteral("No Cmd-Specific Errors                       ");
    return t;
}

} // namespace hart
