#include "pages/transmitter/CommandTestRow.h"

#include "hart/HartFields.h"

#include <cmath>
#include <limits>

namespace commandtest {
namespace {

struct TypeRow {
    const char* name;
    int length;       // fixed length in bytes; 0: typed by the user
    qint64 low, high; // accepted integer values (signed or unsigned forms)
};
constexpr TypeRow kTypes[kTypeCount] = {{"Int8", 1, -128, 255},
                                        {"Int16", 2, -32768, 65535},
                                        {"Int24", 3, -8388608, 16777215},
                                        {"Float32", 4, 0, 0},
                                        {"Packed ASCII", 0, 0, 0}};

bool ValueFits(int type, const QString& text) {
    if (type == kPackedAscii)
        return true;
    if (type == kFloat32) {
        bool ok = false;
        const double v = text.trimmed().toDouble(&ok);
        return ok && std::abs(v) <= std::numeric_limits<float>::max();
    }
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    return ok && v >= kTypes[type].low && v <= kTypes[type].high;
}

} // namespace

const char* TypeName(int type) { return type >= 0 && type < kTypeCount ? kTypes[type].name : ""; }

int FixedLength(int type) { return type >= 0 && type < kTypeCount ? kTypes[type].length : 0; }

RowFault CheckRow(int type, const QString& offset, const QString& value, const QString& length) {
    if (type < 0 || type >= kTypeCount)
        return RowFault::NoType;
    if (value.isEmpty())
        return RowFault::NoValue;
    bool ok = false;
    const int bytes = length.trimmed().toInt(&ok);
    // Packed ASCII carries four characters in three bytes: other lengths would not match the
    // byte count the frame announces.
    if (!ok || bytes <= 0 || bytes > kMaxDataBytes || (type == kPackedAscii && bytes % 3 != 0))
        return RowFault::BadLength;
    if (!ValueFits(type, value))
        return RowFault::BadValue;
    // A negative field number would leave the value in the row before; text is not a number.
    const int field = offset.trimmed().toInt(&ok);
    if (!ok || field < 0 || field > kMaxOffset)
        return RowFault::BadOffset;
    return RowFault::None;
}

void SetRequestRow(CHartFields& fields, int offset, int type, const QString& value, int length) {
    fields.SetRequestOffset(offset);
    switch (type) {
    case kInt8: fields.SetXInt8(value.trimmed().toInt()); break;
    case kInt16: fields.SetInt16(value.trimmed().toInt()); break;
    case kInt24: fields.SetXInt24(value.trimmed().toInt()); break;
    case kFloat32: fields.SetFloat(value.trimmed().toFloat()); break;
    case kPackedAscii:
        fields.SetXStringLength(length * 4 / 3);
        fields.SetXString(value);
        break;
    default: break;
    }
}

} // namespace commandtest
