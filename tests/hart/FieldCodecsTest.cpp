// Typed request and response fields: exact bytes of every setter, the getters' neutral values,
// HART Packed ASCII both ways, and the item lists' selection rules.
#include "hart/Codecs.h"
#include "hart/HartFields.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

QString RequestHex(const CHartFields& f) { return hart::HexText(f.RequestBytes()).trimmed(); }

CHartDataList Items(std::initializer_list<hart::Bytes> fields) {
    CHartDataList items;
    for (const auto& bytes : fields) {
        items.push_back(std::make_unique<CHartData>(static_cast<short>(items.size())));
        items.back()->m_Data = bytes;
    }
    return items;
}

} // namespace

TEST(FieldCodecs, EverySetterWritesItsBytesMostSignificantFirst) {
    struct Case {
        const char* what;
        std::function<void(CHartFields&)> set;
        QString hex;
    } cases[] = {
        {"XInt8 keeps the low byte", [](CHartFields& f) { f.SetXInt8(0x1A5); }, "A5"},
        {"Int16 of -2", [](CHartFields& f) { f.SetInt16(-2); }, "FF FE"},
        {"Int16 keeps the low 16 bits", [](CHartFields& f) { f.SetInt16(0x12345); }, "23 45"},
        {"XInt24 of 74565", [](CHartFields& f) { f.SetXInt24(74565); }, "01 23 45"},
        {"XInt24 keeps the low 24 bits", [](CHartFields& f) { f.SetXInt24(-1); }, "FF FF FF"},
        {"Int24 of -2 is four bytes", [](CHartFields& f) { f.SetInt24(-2); }, "FF FF FF FE"},
        {"Int24 of a 16-bit minimum", [](CHartFields& f) { f.SetInt24(-32768); }, "FF FF 80 00"},
        {"Int24 beyond 16 bits", [](CHartFields& f) { f.SetInt24(70000); }, "00 01 11 70"},
        {"ULONG", [](CHartFields& f) { f.SetULONG(0xDEADBEEFu); }, "DE AD BE EF"},
        {"Float 1.0", [](CHartFields& f) { f.SetFloat(1.0f); }, "3F 80 00 00"},
        {"Float -2.5", [](CHartFields& f) { f.SetFloat(-2.5f); }, "C0 20 00 00"},
        {"tag of six characters, 8 packed", [](CHartFields& f) { f.SetXStringLength(8); f.SetXString("PT-101"); },
         "41 4B 71 C3 18 20"},
        {"lower case and comma", [](CHartFields& f) { f.SetXStringLength(4); f.SetXString("A,b?"); }, "06 CF FF"},
        {"text longer than the length is cut", [](CHartFields& f) { f.SetXStringLength(4); f.SetXString("ABCDEFG"); },
         "04 20 C4"},
        {"a setter replaces the item's bytes", [](CHartFields& f) { f.SetFloat(1.0f); f.SetXInt8(7); }, "07"},
    };
    for (const auto& c : cases) {
        CHartFields f;
        f.SetRequestOffset(0);
        c.set(f);
        EXPECT_EQ(RequestHex(f), c.hex) << c.what;
        ASSERT_EQ(f.RequestItems().size(), 1u) << c.what;
        EXPECT_EQ(f.RequestItems()[0]->Length() * 3 - 1, c.hex.size()) << c.what;
    }
}

TEST(FieldCodecs, RequestItemsGoOutInCreationOrder) {
    CHartFields f;
    f.SetRequestOffset(0);
    f.SetXInt8(5);
    f.SetRequestOffset(2); // offsets name fields, they do not order them
    f.SetInt16(-1);
    f.SetRequestOffset(1);
    f.SetFloat(1.5f);
    EXPECT_EQ(RequestHex(f), "05 FF FF 3F C0 00 00");

    // Offset 0 starts a new request; a negative offset changes nothing.
    f.SetRequestOffset(-1);
    f.SetXInt8(9); // still on the last item
    EXPECT_EQ(RequestHex(f), "05 FF FF 09");
    f.SetRequestOffset(0);
    f.SetXInt8(1);
    EXPECT_EQ(RequestHex(f), "01");

    // Without offset 0 the items left over (after a failed write, say) stay in front.
    f.SetRequestOffset(1);
    f.SetXInt8(2);
    EXPECT_EQ(RequestHex(f), "01 02");
}

TEST(FieldCodecs, SettersWithoutACurrentItemOrLengthDoNothing) {
    CHartFields f;
    f.SetXInt8(1);
    f.SetFloat(2.0f);
    EXPECT_TRUE(f.RequestItems().empty());

    f.SetRequestOffset(0);
    f.SetXString("TAG"); // no length set yet
    EXPECT_FALSE(f.RequestItems()[0]->HasBytes());
    f.SetXStringLength(-4);
    f.SetXString("TAG");
    EXPECT_FALSE(f.RequestItems()[0]->HasBytes());
}

TEST(FieldCodecs, GettersReadTheSelectedResponseField) {
    CHartFields f;
    f.SetResponseItems(Items({{0xFE}, {0xFF, 0xFE}, {0x01, 0x23, 0x45}, {0xFF, 0xFF, 0xFF, 0xFE}, {0x3F, 0x80, 0, 0},
                              {0x41, 0x4B, 0x71, 0xC3, 0x18, 0x20}}));
    f.SetResponseOffset(0);
    EXPECT_EQ(f.GetXInt8(), 0xFE) << "unsigned";
    f.SetResponseOffset(1);
    EXPECT_EQ(f.GetInt16(), -2);
    f.SetResponseOffset(2);
    EXPECT_EQ(f.GetXInt24(), 74565);
    f.SetResponseOffset(3);
    EXPECT_EQ(f.GetInt24(), -2);
    EXPECT_EQ(f.GetULONG(), 0xFFFFFFFEu);
    f.SetResponseOffset(4);
    EXPECT_EQ(f.GetFloat(), 1.0f);
    f.SetResponseOffset(5);
    EXPECT_EQ(f.GetXString(), "PT-101  ") << "trailing spaces are part of the tag";
    EXPECT_EQ(f.GetXString(), "PT-101  ") << "getters do not move the selection";
    EXPECT_EQ(f.GetResponseHexText(), "FE FF FE 01 23 45 FF FF FF FE 3F 80 00 00 41 4B 71 C3 18 20 ");
}

TEST(FieldCodecs, MissingFieldsGiveNeutralValues) {
    CHartFields f;
    f.SetResponseItems(Items({{1}, {2}, {3}}));
    f.SetResponseOffset(5); // three fields only: nothing selected
    EXPECT_EQ(f.GetXInt8(), 0xFFFF);
    EXPECT_EQ(f.GetInt16(), -1);
    EXPECT_EQ(f.GetXInt24(), -1);
    EXPECT_EQ(f.GetInt24(), 0);
    EXPECT_EQ(f.GetULONG(), 0u);
    EXPECT_EQ(f.GetFloat(), -1.0f);
    EXPECT_EQ(f.GetXString(), "");

    // A negative offset keeps the selection.
    f.SetResponseOffset(1);
    f.SetResponseOffset(-3);
    EXPECT_EQ(f.GetXInt8(), 2);

    // A field without bytes, and one too short for the getter, are not read past their end.
    f.SetResponseItems(Items({{}, {0x12}}));
    f.SetResponseOffset(0);
    EXPECT_EQ(f.GetInt24(), -1);
    EXPECT_EQ(f.GetXInt8(), 0xFFFF);
    f.SetResponseOffset(1);
    EXPECT_EQ(f.GetFloat(), -1.0f);
    EXPECT_EQ(f.GetInt16(), -1);
    EXPECT_EQ(f.GetXInt8(), 0x12);

    f.SetResponseItems({});
    EXPECT_EQ(f.GetResponseHexText(), "");
}

TEST(FieldCodecs, ReplacingTheAnswerDropsTheSelection) {
    CHartFields f;
    f.SetResponseItems(Items({{7}}));
    f.SetResponseOffset(0);
    f.SetResponseItems(Items({{8}}));
    EXPECT_EQ(f.GetXInt8(), 0xFFFF) << "the old field is gone, not read";
    f.SetRequestOffset(0);
    f.SetXInt8(3);
    f.DeleteRequestItems();
    EXPECT_EQ(f.GetXInt8(), 0xFFFF);
}

TEST(PackedAscii, CodesFollowTheHartTable) {
    // 0..31 are "@A..Z[\]^_", 32..63 are " !..?"; anything else is "?".
    for (int code = 0; code < 64; ++code) {
        const QChar c = hart::PackedChar(code);
        EXPECT_EQ(hart::PackedCode(c), code) << code;
        EXPECT_EQ(c.unicode(), code < 32 ? 0x40 + code : code);
    }
    EXPECT_EQ(hart::PackedCode(QLatin1Char(',')), 44);
    EXPECT_EQ(hart::PackedCode(QLatin1Char('a')), 63);
    EXPECT_EQ(hart::PackedCode(QLatin1Char('`')), 63);
    EXPECT_EQ(hart::PackedCode(QChar(0x00C4)), 63);
    EXPECT_EQ(hart::PackedCode(QChar(0x02DA)), 63);
}

TEST(PackedAscii, RoundTrips) {
    struct Case {
        QString text;
        int chars;
        QString packedHex;
        QString unpacked;
    } cases[] = {
        {"ABCD", 4, "04 20 C4", "ABCD"},
        {"", 4, "82 08 20", "    "},
        {"PT-101", 8, "41 4B 71 C3 18 20", "PT-101  "},
        {"boiler", 8, "FF FF FF FF F8 20", "??????  "},
        {"TT-2,05", 8, "51 4B 72 B3 0D 60", "TT-2,05 "},
        {"@[\\]^_ !?", 12, "01 B7 1D 79 F8 21 FE 08 20", "@[\\]^_ !?   "},
    };
    for (const auto& c : cases) {
        const hart::Bytes packed = hart::PackAscii(c.text, c.chars);
        EXPECT_EQ(hart::HexText(packed).trimmed(), c.packedHex) << c.text.toStdString();
        EXPECT_EQ(hart::UnpackAscii(packed), c.unpacked) << c.text.toStdString();
    }
}

TEST(PackedAscii, UnpackingGivesFourCharactersPerThreeBytes) {
    // 4 bytes: one whole group and one byte of the next, length * 4 / 3 = 5 characters.
    const hart::Bytes four{0x04, 0x20, 0xC4, 0x14};
    EXPECT_EQ(hart::UnpackAscii(four), "ABCDE");
    EXPECT_EQ(hart::UnpackAscii(four.data(), 0), "");
    EXPECT_EQ(hart::UnpackAscii(four.data(), 1), "A");
}
