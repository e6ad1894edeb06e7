#include "hart/Codecs.h"

#include <cstring>

namespace hart {

int PackedCode(QChar c) {
    const char16_t u = c.unicode();
    if (u >= 0x40 && u <= 0x5F)
        return u - 0x40;
    if (u >= 0x20 && u <= 0x3F)
        return u;
    return 63;
}

QChar PackedChar(int code) {
    code &= 0x3F;
    return QChar(code < 32 ? code + 0x40 : code);
}

Bytes PackAscii(const QString& text, int nChars) {
    Bytes out;
    if (nChars <= 0)
        return out;
    const int length = nChars * 3 / 4;
    out.reserve(static_cast<std::size_t>(length) + 3);
    for (int i = 0; i < nChars; i += 4) {
        int c[4];
        for (int k = 0; k < 4; ++k) {
            const int pos = i + k;
            c[k] = (pos < nChars && pos < text.size()) ? PackedCode(text.at(pos)) : 32;
        }
        out.push_back(static_cast<std::uint8_t>((c[0] << 2) | (c[1] >> 4)));
        out.push_back(static_cast<std::uint8_t>(((c[1] & 0x0F) << 4) | (c[2] >> 2)));
        out.push_back(static_cast<std::uint8_t>(((c[2] & 0x03) << 6) | c[3]));
    }
    out.resize(static_cast<std::size_t>(length)); // whole groups are packed; the item keeps n*3/4 bytes
    return out;
}

QString UnpackAscii(const std::uint8_t* data, int length) {
    QString out;
    if (length <= 0)
        return out;
    out.reserve(length * 4 / 3 + 4);
    // A last group of fewer than three bytes reads zeros for the missing ones; the text is
    // length * 4 / 3 characters either way.
    for (int i = 0; i < length; i += 3) {
        const int b0 = data[i];
        const int b1 = i + 1 < length ? data[i + 1] : 0;
        const int b2 = i + 2 < length ? data[i + 2] : 0;
        out += PackedChar(b0 >> 2);
        out += PackedChar(((b0 & 0x03) << 4) | (b1 >> 4));
        out += PackedChar(((b1 & 0x0F) << 2) | (b2 >> 6));
        out += PackedChar(b2 & 0x3F);
    }
    out.truncate(length * 4 / 3);
    return out;
}

void PutU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 8);
    p[1] = static_cast<std::uint8_t>(v);
}
void PutU24(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 16);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v);
}
void PutU32(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}
void PutFloat(std::uint8_t* p, float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    PutU32(p, u);
}
std::uint16_t GetU16(const std::uint8_t* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }
std::uint32_t GetU24(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
}
std::uint32_t GetU32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}
float GetFloatBE(const std::uint8_t* p) {
    const std::uint32_t u = GetU32(p);
    float v;
    std::memcpy(&v, &u, 4);
    return v;
}

void AppendU8(Bytes& b, unsigned v) { b.push_back(static_cast<std::uint8_t>(v)); }
void AppendU16(Bytes& b, unsigned v) {
    b.resize(b.size() + 2);
    PutU16(b.data() + b.size() - 2, static_cast<std::uint16_t>(v));
}
void AppendU24(Bytes& b, std::uint32_t v) {
    b.resize(b.size() + 3);
    PutU24(b.data() + b.size() - 3, v);
}
void AppendU32(Bytes& b, std::uint32_t v) {
    b.resize(b.size() + 4);
    PutU32(b.data() + b.size() - 4, v);
}
void AppendFloat(Bytes& b, float v) {
    b.resize(b.size() + 4);
    PutFloat(b.data() + b.size() - 4, v);
}
void AppendAscii(Bytes& b, const QString& text, int nChars) {
    const Bytes packed = PackAscii(text, nChars);
    b.insert(b.end(), packed.begin(), packed.end());
}

QString HexText(const std::uint8_t* data, int length) {
    QString out;
    out.reserve(length * 3);
    for (int i = 0; i < length; ++i)
        out += QStringLiteral("%1 ").arg(data[i], 2, 16, QLatin1Char('0')).toUpper();
    return out;
}

} // namespace hart
