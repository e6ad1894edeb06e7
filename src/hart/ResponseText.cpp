#include "hart/ResponseText.h"

#include "platform/MessageBox.h"

#include <initializer_list>

namespace hart {
namespace {

QString Pad(const char* text, int width) { return QString::fromLatin1(text).leftJustified(width, QLatin1Char(' ')); }

struct Specific {
    std::initializer_list<int> commands;
    int code;
    const char* text;
};

// Command-specific response codes.
const Specific kSpecific[] = {
    {{35}, 9, "Error: Lower Range Value Too High"},
    {{35}, 10, "Error: Lower Range Value Too Low"},
    {{35}, 11, "Error: Upper Range Value Too High"},
    {{35}, 12, "Error: Upper Range Value Too Low"},
    {{35}, 13, "Error: Upper & Lower Range Value Out-of-range"},
    {{35}, 14, "Warning: Span too small"},
    {{36, 37}, 9, "Error: Applied Process too High"},
    {{36, 37}, 10, "Error: Applied Process too Low"},
    {{36}, 14, "Warning: Span too small"},
    {{37}, 14, "Warning: New Lower Range Value Pushed"},
    {{40}, 11, "Error: In MultiDrop Mode"},
    {{43, 52}, 9, "Error: Applied Process too High"},
    {{43, 52}, 10, "Error: Applied Process too Low"},
    {{45, 46}, 9, "Error: Not In Proper Current Mode"},
    {{45, 46}, 11, "Error: In Multidrop Mode"},
    {{48}, 8, "Warning: Update In progress"},
    {{151, 152, 153, 162, 163}, 9, "Error: Invalid XMitter Variable Code"},
    {{151, 152, 153, 162, 163}, 10, "Error: Invalid Unit Code"},
    {{151, 152, 153, 162, 163}, 11, "Error: Invalid Sensor Type Code"},
    {{151, 152, 153, 162, 163}, 12, "Error: Invalid Item Number"},
    {{151, 152, 153, 162, 163}, 13, "Error: Base Point Value Error"},
    {{151, 152, 153, 162, 163}, 71, "Error: Modified Range too High"},
    {{151, 152, 153, 162, 163}, 72, "Error: Modified Range too Low"},
    {{151, 152, 153, 162, 163}, 73, "Error: Compensation Basis Value Out of Range"},
    {{154, 164}, 9, "Error: Invalid XMitter Variable Code"},
    {{154, 164}, 10, "Error: Invalid Unit Code"},
    {{154, 164}, 11, "Error: Invalid Sensor Type Code"},
    {{154, 164}, 12, "Error: Invalid Transfer Function"},
    {{155, 165}, 9, "Error: Invalid XMitter Variable Code"},
    {{155, 165}, 11, "Error: Invalid Extra Sensor Type Code"},
    {{155, 165}, 12, "Error: Invalid Transfer Funtion Code"},
    {{158}, 12, "Error: Invalid Alarm Selection Code"},
    {{158, 159}, 13, "Error: Processed in Hardware"},
    {{159}, 12, "Error: Invalid Mode"},
    {{170}, 15, "Error: not able to Change Device Type"},
    {{171}, 9, "Error: Vref(mv) too High"},
    {{171}, 10, "Error: Vref(mv) too Low"},
    {{171, 172}, 15, "Error: Vee(mv) Error"},
    {{171}, 73, "Error: Compensation Basis Value Out of Range"},
    {{172}, 9, "Error: CPU Clock too High"},
    {{172}, 10, "Error: CPU Clock too Low"},
    {{173}, 9, "Error: Measured Temperature too High"},
    {{173}, 10, "Error: Measured Temperature too Low"},
    {{173}, 11, "Error: Invalid Item Number"},
    {{173}, 12, "Error: Invalid CJ(ohm)"},
    {{173}, 13, "Error:  Modified Temperature too High"},
    {{173}, 15, "Error: Modeified Temperature too Low"},
    {{174, 181, 182, 191, 201}, 9, "Error: Invalid XMitter Variable Code"},
    {{174, 191, 201}, 10, "Error: Invalid Unit Code"},
    {{174, 181, 182}, 11, "Error: Invalid Compensation Type Code"},
    {{174}, 12, "Error: Invalid Execution Code"},
    {{174}, 13, "Error: Sensor Input Value out of Range"},
    {{181, 182}, 12, "Error: Invalid Start Item Number"},
    {{191, 201}, 71, "Error: Hunting Value too High"},
    {{191, 201}, 72, "Error: Hunting Value too Low"},
    {{191, 201}, 73, "Error: Update Rate too High"},
    {{191, 201}, 74, "Error: Update Rate too Low"},
    {{192, 193, 194, 195, 196, 202, 203, 204, 205, 206}, 9, "Error: Invalid XMitter Variable Code"},
    {{192, 193, 194, 195, 196, 202, 203, 204, 205, 206}, 10, "Error: Invalid Unit Code"},
    {{192, 193, 194, 195, 196, 202, 203, 204, 205, 206}, 13, "Error: Configured in ROM"},
    {{192, 193, 194, 195, 196, 202, 203, 204, 205, 206}, 71, "Error: Applied Value too High"},
    {{192, 193, 194, 195, 196, 202, 203, 204, 205, 206}, 72, "Error: Applied Value too Low"},
};

QString GenericText(int code) {
    switch (code) {
    case 0: return NoErrorsText();
    case 1: return QStringLiteral("UnDefined");
    case 2: return Pad("Error: Invalid Selection", 45);
    case 3: return Pad("Error: Passed Parameter too Large", 45);
    case 4: return Pad("Error: Passed Parameter too Small", 45);
    case 5: return Pad("Error: Too Few Data Bytes Received", 45);
    case 6: return Pad("Error: Xmitter-Specific Cmd Error", 45);
    case 7: return Pad("Error: In Write Protect Mode", 45);
    case 16: return Pad("Error: Access Restricted", 45);
    case 32: return Pad("Error: Device is BUSY", 45);
    case 64: return Pad("Error: Cmd Not Implemented", 45);
    default: return {};
    }
}

bool Contains(std::initializer_list<int> set, int v) {
    for (int x : set)
        if (x == v)
            return true;
    return false;
}

} // namespace

QString ResponseCodeText(int command, int responseCode) {
    if (responseCode & 0x80) {
        // Each listed bit that is set replaces the text, so the lowest one wins.
        QString text;
        if (responseCode & 0x40)
            text = Pad("Comm Error(Verical Parity)", 45);
        if (responseCode & 0x20)
            text = Pad("Comm Error(Overrun)", 45);
        if (responseCode & 0x10)
            text = Pad("Comm Error(Framing)", 45);
        if (responseCode & 0x08)
            text = Pad("Comm Error(Longitudinal Parity)", 45);
        if (responseCode & 0x02)
            text = Pad("Comm Error(Buffer Overflow)", 45);
        return text;
    }
    for (const Specific& s : kSpecific) {
        if (s.code == responseCode && Contains(s.commands, command)) {
            if (command == 35 && responseCode == 14)
                return QString::fromLatin1(s.text);
            return Pad(s.text, (command == 35 || command == 36 || command == 37) ? 45 : 44);
        }
    }
    return GenericText(responseCode);
}

QString DeviceStatusText(int responseCode, int deviceStatus) {
    if (responseCode & 0x80) {
        static const std::pair<int, const char*> kComm[] = {{0x40, "Vertical Parity Error"},
                                                            {0x20, "Overrun Error"},
                                                            {0x10, "Framing Error"},
                                                            {0x08, "Longitudinal Parity Error"},
                                                            {0x02, "Buffer Overflow"}};
        for (const auto& [bit, text] : kComm)
            if (responseCode & bit)
                return QString::fromLatin1(text);
        return {};
    }
    static const std::pair<int, const char*> kStatus[] = {{0x80, "Field Device Malfunction"},
                                                          {0x40, "Configuration Changed"},
                                                          {0x20, "Cold Start"},
                                                          {0x10, "More Status Available"},
                                                          {0x08, "Primary Variable Analog Output Fixed"},
                                                          {0x04, "Primary Variable Analog Output Saturated"},
                                                          {0x02, "Non-Primary Variable Out of Limits"},
                                                          {0x01, "Primary Variable Out of Limits"}};
    for (const auto& [bit, text] : kStatus)
        if (deviceStatus & bit)
            return QString::fromLatin1(text);
    return {};
}

QString GetResponseText(int command, int responseCode, int deviceStatus) {
    const QString code = ResponseCodeText(command, responseCode);
    if ((command == 36 || command == 37) && code != NoErrorsText())
        vmc::ShowBox(vmc::ProgramTitle(), code);
    return code + DeviceStatusText(responseCode, deviceStatus);
}

} // namespace hart
