#include "common/SimFixture.h"
#include "hart/ResponseText.h"

using namespace testing_support;
using hart::GetResponseText;
using hart::ResponseCodeText;

TEST(ResponseText, CodePartByCommandAndCode) {
    struct Case {
        int command, code;
        QString expected;
    } cases[] = {
        {1, 0, "No Cmd-Specific Errors                       "},
        {35, 14, "Warning: Span too small"},
        {35, 9, QString("Error: Lower Range Value Too High").leftJustified(45)},
        {36, 9, QString("Error: Applied Process too High").leftJustified(45)},
        {43, 9, QString("Error: Applied Process too High").leftJustified(44)},
        {48, 8, QString("Warning: Update In progress").leftJustified(44)},
        {1, 8, ""},
        {1, 1, "UnDefined"},
        {3, 32, QString("Error: Device is BUSY").leftJustified(45)},
        {194, 13, QString("Error: Configured in ROM").leftJustified(44)},
        {200, 13, ""},
        {171, 15, QString("Error: Vee(mv) Error").leftJustified(44)},
        {1, 0x82, QString("Comm Error(Buffer Overflow)").leftJustified(45)},
        {1, 0xC8, QString("Comm Error(Longitudinal Parity)").leftJustified(45)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResponseCodeText(c.command, c.code), c.expected) << c.command << "/" << c.code;
}

TEST(ResponseText, StatusPartIsTheHighestSetBit) {
    EXPECT_EQ(hart::DeviceStatusText(0, 0x41), "Configuration Changed");
    EXPECT_EQ(hart::DeviceStatusText(0, 0x20), "Cold Start");
    EXPECT_EQ(hart::DeviceStatusText(0, 0), "");
    EXPECT_EQ(hart::DeviceStatusText(0x82, 0xFF), "Buffer Overflow");
    EXPECT_EQ(hart::DeviceStatusText(0xC0, 0), "Vertical Parity Error");
}

TEST(ResponseText, CommandsThirtySixAndThirtySevenShowABoxUnlessAllIsWell) {
    Boxes().Clear();
    GetResponseText(36, 0, 0);
    EXPECT_TRUE(Boxes().Boxes().empty());
    GetResponseText(36, 9, 0);
    GetResponseText(37, 1, 0);
    GetResponseText(35, 9, 0);
    ASSERT_EQ(Boxes().Boxes().size(), 2u);
    EXPECT_EQ(Boxes().Boxes()[0].text, QString("Error: Applied Process too High").leftJustified(45));
    EXPECT_EQ(Boxes().Boxes()[0].caption, "Korvex VMC70 Ver 2.3.33");
    EXPECT_EQ(Boxes().Boxes()[1].text, "UnDefined");
    EXPECT_EQ(GetResponseText(1, 0, 0x41), "No Cmd-Specific Errors                       Configuration Changed");
}
