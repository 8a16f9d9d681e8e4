// grimfold's parameters, texts and programs, called on the class directly (the default texts
// are checked through the loaded library in grimfold_host_test.cpp).
#include "plugins/grimfold/grimfold_effect.h"
#include "tests/support/comma_locale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

std::string text(GrimfoldEffect& effect, void (GrimfoldEffect::*get)(int32_t, char*),
                 int32_t index) {
    char buffer[64];
    std::fill(buffer, buffer + sizeof buffer, '#');
    (effect.*get)(index, buffer);
    return buffer;
}
std::string display(GrimfoldEffect& e, int32_t i) {
    return text(e, &GrimfoldEffect::getParamDisplay, i);
}
std::string programName(GrimfoldEffect& effect) {
    char buffer[64];
    effect.getProgramName(buffer);
    return buffer;
}

TEST(GrimfoldTexts, ValuesMapToGainsAmountsAndTheSwitch) {
    GrimfoldEffect effect(nullptr);
    effect.setParameter(GrimfoldEffect::kPreGain, 0.0f);
    effect.setParameter(GrimfoldEffect::kPostGain, 1.0f);
    EXPECT_EQ(effect.shaperSettings().preGain(), 0.5f);
    EXPECT_EQ(effect.shaperSettings().postGain(), 2.0f);
    EXPECT_EQ(display(effect, GrimfoldEffect::kPreGain), "-6.02");
    EXPECT_EQ(display(effect, GrimfoldEffect::kPostGain), "6.02");
    effect.setParameter(GrimfoldEffect::kPreGain, 0.75f); // 2^0.5: 3.0103 dB
    EXPECT_EQ(display(effect, GrimfoldEffect::kPreGain), "3.01");

    const float v = 0.123f;
    for (int32_t i = GrimfoldEffect::kShape1; i <= GrimfoldEffect::kShape8; ++i) {
        effect.setParameter(i, v);
        const int32_t stage = i - GrimfoldEffect::kShape1;
        const float amount = stage < 4 ? v * 2.598076f : stage < 6 ? v : v * 0.5f;
        EXPECT_EQ(effect.shaperSettings().stageAmount(stage), amount) << stage;
        EXPECT_EQ(effect.shaperSettings().stageRest(stage), 1.0f - v) << stage;
        EXPECT_EQ(display(effect, i), "12.30");
        EXPECT_EQ(effect.getParameter(i), v);
    }
    effect.setParameter(GrimfoldEffect::kShape8, 1.0f);
    EXPECT_EQ(display(effect, GrimfoldEffect::kShape8), "100.00");
    // Texts come from double-precision values: the stored 0.00994999986 is 0.99 %, where
    // the product rounded to a float would print 1.00, and this gain is -5.98 dB, where the
    // level rounded to a float would print -5.97.
    effect.setParameter(GrimfoldEffect::kShape8, 0x1.460aa6p-7f);
    EXPECT_EQ(display(effect, GrimfoldEffect::kShape8), "0.99");
    effect.setParameter(GrimfoldEffect::kPreGain, 0x1.f05cd4p-9f);
    EXPECT_EQ(display(effect, GrimfoldEffect::kPreGain), "-5.98");
    effect.setParameter(GrimfoldEffect::kOversample, 0.5f);
    EXPECT_EQ(display(effect, GrimfoldEffect::kOversample), "OFF");
    effect.setParameter(GrimfoldEffect::kOversample, 0.50001f);
    EXPECT_EQ(display(effect, GrimfoldEffect::kOversample), "ON");
}

TEST(GrimfoldPrograms, SixteenProgramsKeepTheirOwnValuesAndNames) {
    GrimfoldEffect effect(nullptr);
    for (int32_t p = 0; p < GrimfoldEffect::kNumPrograms; ++p) {
        effect.setProgram(p);
        EXPECT_EQ(programName(effect), "Grim Fold") << p;
    }
    effect.setProgram(5);
    effect.setParameter(GrimfoldEffect::kPreGain, 1.0f);
    effect.setParameter(GrimfoldEffect::kOversample, 1.0f);
    char longName[] = "A name of thirty characters!!!";
    effect.setProgramName(longName);
    EXPECT_EQ(programName(effect), "A name of thirty charac");

    effect.setProgram(0);
    EXPECT_EQ(effect.getProgram(), 0);
    EXPECT_EQ(effect.getParameter(GrimfoldEffect::kPreGain), 0.5f);
    EXPECT_FALSE(effect.isOversampling());
    EXPECT_EQ(display(effect, GrimfoldEffect::kPreGain), "0.00");

    effect.setProgram(5);
    EXPECT_EQ(effect.shaperSettings().preGain(), 2.0f);
    EXPECT_TRUE(effect.isOversampling());
    EXPECT_EQ(display(effect, GrimfoldEffect::kOversample), "ON");
    effect.setProgram(-1);
    effect.setProgram(16);
    EXPECT_EQ(effect.getProgram(), 5);
}

TEST(GrimfoldTexts, NumbersKeepThePointInACommaLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!setCommaLocale()) GTEST_SKIP() << "no German locale is installed";
    GrimfoldEffect effect(nullptr);
    effect.setParameter(GrimfoldEffect::kPreGain, 0.0f);
    const std::string gain = display(effect, GrimfoldEffect::kPreGain);
    const std::string amount = display(effect, GrimfoldEffect::kShape2);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(gain, "-6.02");
    EXPECT_EQ(amount, "35.00");
}

} // namespace
