#pragma once
// The request rows of "HART Command Test": what a typed row must be before it is listed, and the
// request field a listed row makes. Apart from the dialog, so every text a user may type can be
// tried against them without a window.
#include <QString>

class CHartFields;

namespace commandtest {

enum DataType { kInt8, kInt16, kInt24, kFloat32, kPackedAscii, kTypeCount };

// The field numbers the offset spin offers.
inline constexpr int kMaxOffset = 100;
// One byte-count byte: no row, and no request, carries more.
inline constexpr int kMaxDataBytes = 255;

const char* TypeName(int type);
// Length in bytes of a type; 0 when the user types it (Packed ASCII).
int FixedLength(int type);

enum class RowFault { None, NoType, NoValue, BadLength, BadValue, BadOffset };
// Checks a row as typed: the type index (-1 for none) and the offset, value and length texts.
RowFault CheckRow(int type, const QString& offset, const QString& value, const QString& length);

// The request field of a row that passed CheckRow (offset and length as numbers).
void SetRequestRow(CHartFields& fields, int offset, int type, const QString& value, int length);

} // namespace commandtest
