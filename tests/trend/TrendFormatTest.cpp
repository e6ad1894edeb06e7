// Numbers read from edit texts and stored texts the way the trend pages read them.
#include "monitor/trend/TrendFormat.h"

#include <gtest/gtest.h>

TEST(TrendFormat, LeadingFloatValueIsAFloatOrZero) {
    const struct {
        const char* text;
        float value;
    } cases[] = {{"100", 100.0f},  {" -20.5 mA", -20.5f}, {"abc", 0.0f},   {"", 0.0f},
                 {"1e38", 1e38f},  {"1e39", 0.0f},       {"-1e39", 0.0f}, {"nan", 0.0f},
                 {"inf", 0.0f},    {"1e-50", 0.0f}};
    for (const auto& c : cases)
        EXPECT_EQ(trend::LeadingFloatValue(QString::fromLatin1(c.text)), c.value) << c.text;
}
