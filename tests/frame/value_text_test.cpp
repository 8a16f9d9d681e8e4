// The value-to-text operations: exact 8-character texts, the overflow and level texts, the
// choices for wide integer parts and non-finite values, and independence from the C locale.
#include "frame/value_text.h"
#include "tests/frame/probe_effect.h"
#include "tests/support/comma_locale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <limits>
#include <string>

namespace {

std::string floatText(float value) {
    char text[16];
    formatFixed8(value, text);
    return text;
}

std::string intText(int32_t value) {
    char text[16];
    formatInt8(value, text);
    return text;
}

TEST(FloatToText, TruncatesToEightCharacters) {
    EXPECT_EQ(floatText(0.0f), "0.000000");
    EXPECT_EQ(floatText(0.7f), "0.699999");
    EXPECT_EQ(floatText(0.5f), "0.500000");
    EXPECT_EQ(floatText(0.3f), "0.300000");
    EXPECT_EQ(floatText(1234.5f), "1234.500");
    EXPECT_EQ(floatText(-3.25f), "-3.25000");
    EXPECT_EQ(floatText(10.0f), "10.00000");
    EXPECT_EQ(floatText(1234567.0f), "1234567.");
    EXPECT_EQ(floatText(9999999.0f), "9999999.");
    EXPECT_EQ(floatText(-999999.0f), "-999999.");
}

TEST(FloatToText, OverflowAndNonFiniteValues) {
    EXPECT_EQ(floatText(1e8f), " Huge!  ");
    EXPECT_EQ(floatText(-1e7f), " Huge!  ");
    EXPECT_EQ(floatText(std::numeric_limits<float>::infinity()), " Huge!  ");
    EXPECT_EQ(floatText(-std::numeric_limits<float>::infinity()), " Huge!  ");
    EXPECT_EQ(floatText(std::numeric_limits<float>::quiet_NaN()), "  NaN   ");
    EXPECT_EQ(floatText(-std::numeric_limits<float>::quiet_NaN()), "  NaN   ");
}

TEST(FloatToText, WideIntegerPartsKeepEveryDigitAndDropThePoint) {
    EXPECT_EQ(floatText(10000000.0f), "10000000");
    EXPECT_EQ(floatText(12345678.0f), "12345678");
    EXPECT_EQ(floatText(98765432.0f), "98765432");
    EXPECT_EQ(floatText(-1000000.0f), "-1000000");
    EXPECT_EQ(floatText(-9999999.0f), "-9999999");
    EXPECT_EQ(floatText(-1234567.5f), "-1234567");
}

TEST(IntToText, RightAlignedAndCut) {
    EXPECT_EQ(intText(100000000), " Huge!  ");
    EXPECT_EQ(intText(99999999), "99999999");
    EXPECT_EQ(intText(42), "     42");
    EXPECT_EQ(intText(5), "      5");
    EXPECT_EQ(intText(-123456789), "-1234567");
    EXPECT_EQ(intText(INT32_MIN), "-2147483");
    EXPECT_EQ(intText(INT32_MAX), " Huge!  ");
}

TEST(EffectTextOperations, ConvertThenFormatThroughFloatToText) {
    ProbeEffect effect;
    char text[16];
    effect.dbToText(0.0f, text);
    EXPECT_STREQ(text, "  -oo   ");
    effect.dbToText(-1.0f, text);
    EXPECT_STREQ(text, "  -oo   ");
    effect.dbToText(1.0f, text);
    EXPECT_STREQ(text, "0.000000");
    effect.dbToText(0.5f, text);
    EXPECT_STREQ(text, "-6.02059");
    effect.dbToText(2.0f, text);
    EXPECT_STREQ(text, "6.020599");
    effect.dbToText(std::numeric_limits<float>::quiet_NaN(), text);
    EXPECT_STREQ(text, "  NaN   ");
    effect.hzToText(0.0f, text);
    EXPECT_STREQ(text, "0.000000");
    effect.hzToText(100.0f, text);
    EXPECT_STREQ(text, "441.0000");
    effect.msToText(44100.0f, text);
    EXPECT_STREQ(text, "1000.000");
    effect.intToText(42, text);
    EXPECT_STREQ(text, "     42");

    // An effect that overrides floatToText changes the three converting operations too.
    effect.overrideFloatText = true;
    for (auto convert : {&EffectBase::dbToText, &EffectBase::hzToText, &EffectBase::msToText}) {
        (effect.*convert)(2.0f, text);
        EXPECT_STREQ(text, "F");
    }
}

TEST(TwoDecimals, PrintsLikeTheCLocale) {
    char text[64];
    formatTwoDecimals(50.0f, text);
    EXPECT_STREQ(text, "50.00");
    formatTwoDecimals(-100.0f, text);
    EXPECT_STREQ(text, "-100.00");
    formatTwoDecimals(0.125f, text); // exactly representable: ties go to even like printf
    EXPECT_STREQ(text, "0.12");
    formatTwoDecimals(std::numeric_limits<float>::max(), text);
    EXPECT_EQ(std::string(text).size(), 42u);
    formatTwoDecimals(1e300, text);
    EXPECT_STREQ(text, " Huge!  ");
}

TEST(TwoDecimals, IgnoresACommaLocaleTheHostSet) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!setCommaLocale()) GTEST_SKIP() << "no German locale is installed";
    char viaPrintf[32];
    std::snprintf(viaPrintf, sizeof viaPrintf, "%.2f", 25.0);
    char text[64];
    formatTwoDecimals(25.0f, text);
    char fixed[16];
    formatFixed8(0.5f, fixed);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_STREQ(viaPrintf, "25,00"); // the locale is really in force
    EXPECT_STREQ(text, "25.00");
    EXPECT_STREQ(fixed, "0.500000");
}

} // namespace
