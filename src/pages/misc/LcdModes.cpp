#include "pages/misc/LcdModes.h"

#include <array>

namespace lcd {
namespace {

constexpr std::array<int, 3> kBase = {0, 128, 64};
// Fixed choice n is base + kFixedOffset + n, except for the flow displays (base + n).
constexpr int kFixedOffset = 16;

int ChoiceOffset(Display d) { return d == kFlow ? 0 : kFixedOffset; }

constexpr hart::CodeRow kCipherSet[] = {
    {0, "Auto"},           {1, "#.####  (1-4)"}, {2, "##.###  (2-3)"},
    {3, "###.##  (3-2)"}, {4, "####.#  (4-1)"}, {5, "#####.  (5-0)"},
};

} // namespace

DisplayMode DecodeDisplayMode(int byte) {
    DisplayMode m;
    m.display = byte >= 128 ? kEngineering : (byte >= 64 ? kFlow : kNormal);
    const int offset = byte - kBase[static_cast<std::size_t>(m.display)];
    if (offset == 0) {
        m.basic = true;
        return m;
    }
    const int choice = offset - ChoiceOffset(m.display);
    if (choice >= 1 && choice <= 3)
        m.choice = choice;
    return m;
}

std::optional<int> EncodeDisplayMode(const DisplayMode& mode) {
    if (mode.display == kNoDisplay)
        return std::nullopt;
    const int base = kBase[static_cast<std::size_t>(mode.display)];
    if (mode.basic)
        return base;
    if (mode.choice < 1 || mode.choice > 3)
        return std::nullopt;
    return base + ChoiceOffset(mode.display) + mode.choice;
}

hart::CodeTable CipherSetTable() { return kCipherSet; }

} // namespace lcd
