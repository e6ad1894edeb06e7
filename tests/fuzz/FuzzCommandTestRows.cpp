// Rows typed into "HART Command Test": whatever the offset, value and length texts hold, a row is
// either refused or makes a request field of exactly its length, and the request the rows make
// is the fields from the last row at offset 0 on.
// Input lines: first byte picks the type (-1 for none), then "offset|value|length"; the length
// text counts only for Packed ASCII (the field is locked to the type's length otherwise).
#include "hart/HartFields.h"
#include "pages/transmitter/CommandTestRow.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool ok) {
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    CHartFields fields;
    std::size_t expected = 0;
    for (const QByteArray& line : bytes.split('\n')) {
        if (line.isEmpty())
            continue;
        const int type = static_cast<unsigned char>(line[0]) % (commandtest::kTypeCount + 1) - 1;
        const QList<QByteArray> parts = line.mid(1).split('|');
        const QString offset = QString::fromUtf8(parts.value(0));
        const QString value = QString::fromUtf8(parts.value(1));
        const int fixed = commandtest::FixedLength(type);
        const QString length = fixed > 0 ? QString::number(fixed) : QString::fromUtf8(parts.value(2));
        if (commandtest::CheckRow(type, offset, value, length) != commandtest::RowFault::None)
            continue;
        // What the dialog lists and reads back on "Run".
        const int n = offset.trimmed().toInt();
        const int bytesOfRow = length.trimmed().toInt();
        Check(n >= 0 && n <= commandtest::kMaxOffset);
        Check(bytesOfRow > 0 && bytesOfRow <= commandtest::kMaxDataBytes);
        commandtest::SetRequestRow(fields, n, type, value, bytesOfRow);
        Check(!fields.RequestItems().empty());
        Check(fields.RequestItems().back()->m_Data.size() == static_cast<std::size_t>(bytesOfRow));
        expected = (n == 0 ? 0 : expected) + static_cast<std::size_t>(bytesOfRow);
    }
    Check(fields.RequestBytes().size() == expected);
    return 0;
}
