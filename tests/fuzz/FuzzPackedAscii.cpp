// Packing and unpacking HART Packed ASCII: any text packs to exactly n*3/4 bytes, any bytes
// unpack, and text made of the table's characters survives the round trip.
#include "hart/Codecs.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const int chars = (data[0] % 17) * 4; // the lengths callers use are multiples of four
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<int>(size - 1));
    const hart::Bytes packed = hart::PackAscii(text, chars);
    if (static_cast<int>(packed.size()) != chars * 3 / 4)
        std::abort();
    const QString back = hart::UnpackAscii(packed);
    if (back.size() != chars)
        std::abort();
    for (int i = 0; i < chars; ++i) {
        const QChar c = i < text.size() ? text.at(i) : QChar(' ');
        const bool inTable = c.unicode() >= 0x20 && c.unicode() <= 0x5F;
        if (back.at(i) != (inTable ? c : QChar('?')))
            std::abort();
    }
    (void)hart::UnpackAscii(data, static_cast<int>(size));
    return 0;
}
