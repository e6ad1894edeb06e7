#pragma once
// The display mode byte of the five-digit display and the decimal-place codes. A mode is a
// display (normal, engineering, flow) plus either the basic mode or one of three fixed choices:
//
//               basic   fixed 1  fixed 2  fixed 3
//   normal        0       17       18       19      (PV, %, mA / address)
//   engineering 128      145      146      147
//   flow         64       65       66       67      (flow rate, total flow, pressure)
#include "hart/CodeTables.h"

#include <optional>

namespace lcd {

enum Display : int { kNoDisplay = -1, kNormal = 0, kEngineering = 1, kFlow = 2 };

struct DisplayMode {
    Display display = kNoDisplay;
    bool basic = false;
    int choice = 0; // 1..3 for a fixed mode, 0 for none
};

// A byte read back: 128 and above engineering, 64 to 127 flow, below 64 normal. An offset that is
// neither basic nor a fixed choice leaves basic false and choice 0.
DisplayMode DecodeDisplayMode(int byte);
// The byte of a complete choice; nothing when the display, or basic / fixed choice, is missing.
std::optional<int> EncodeDisplayMode(const DisplayMode& mode);

// "Cipher Set :" rows (code, label).
hart::CodeTable CipherSetTable();

} // namespace lcd
