#pragma once
// Byte-level codecs of HART fields, shared by the program and the simulated devices. All
// multi-byte values are most significant byte first; floats are IEEE 754 single precision; strings
// are HART Packed ASCII.
#include <QString>
#include <cstdint>
#include <vector>

namespace hart {

using Bytes = std::vector<std::uint8_t>;

// Packed ASCII: 6-bit code of a character, 63 ('?') for characters outside the table.
int PackedCode(QChar c);
QChar PackedChar(int code);
// Packs exactly nChars characters (spaces after the end of text); nChars * 3 / 4 bytes.
Bytes PackAscii(const QString& text, int nChars);
// Four characters for every three bytes (length * 4 / 3 in all), trailing spaces kept.
QString UnpackAscii(const std::uint8_t* data, int length);
inline QString UnpackAscii(const Bytes& b) { return UnpackAscii(b.data(), static_cast<int>(b.size())); }

void PutU16(std::uint8_t* p, std::uint16_t v);
void PutU24(std::uint8_t* p, std::uint32_t v);
void PutU32(std::uint8_t* p, std::uint32_t v);
void PutFloat(std::uint8_t* p, float v);
std::uint16_t GetU16(const std::uint8_t* p);
std::uint32_t GetU24(const std::uint8_t* p);
std::uint32_t GetU32(const std::uint8_t* p);
float GetFloatBE(const std::uint8_t* p);

// Appending forms used to build payloads.
void AppendU8(Bytes& b, unsigned v);
void AppendU16(Bytes& b, unsigned v);
void AppendU24(Bytes& b, std::uint32_t v);
void AppendU32(Bytes& b, std::uint32_t v);
void AppendFloat(Bytes& b, float v);
void AppendAscii(Bytes& b, const QString& text, int nChars);

// "%02X " groups.
QString HexText(const std::uint8_t* data, int length);
inline QString HexText(const Bytes& b) { return HexText(b.data(), static_cast<int>(b.size())); }

} // namespace hart
