// The parameter and program model every effect inherits: the one parameter path (value rule,
// store, apply), the program bank and the shared stereo set-up.
#include "tests/frame/probe_effect.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(ParameterPath, ValuesAreHeldToZeroToOneFromTheHostAndFromDirectCalls) {
    ProbeEffect effect;
    AEffect* record = effect.getAeffect();
    const float inputs[] = {0.25f, -1.0f, 2.0f, kNaN, kInf, -kInf};
    const float expected[] = {0.25f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f};
    for (size_t i = 0; i < 6; ++i) {
        effect.parameterCalls.clear();
        record->setParameter(record, 1, inputs[i]);
        EXPECT_EQ(record->getParameter(record, 1), expected[i]) << i;
        effect.setParameter(2, inputs[i]);
        EXPECT_EQ(effect.getParameter(2), expected[i]) << i;
        ASSERT_EQ(effect.parameterCalls.size(), 2u);
        EXPECT_EQ(effect.parameterCalls[0].value, expected[i]) << i;
        EXPECT_EQ(effect.parameterCalls[1].value, expected[i]) << i;
    }
}

TEST(ParameterPath, IndicesOutsideTheRangeChangeNothing) {
    ProbeEffect effect;
    for (int32_t index : {-1, 4, 1000, std::numeric_limits<int32_t>::min()}) {
        effect.setParameter(index, 0.9f);
        EXPECT_EQ(effect.getParameter(index), 0.0f) << index;
    }
    EXPECT_TRUE(effect.parameterCalls.empty());
    for (int32_t i = 0; i < 4; ++i)
        EXPECT_EQ(effect.getParameter(i), ProbeEffect::kDefaults[i]);
}

TEST(ProgramBankModel, ProgramsKeepTheirOwnValuesAndNamesAndAChangeAppliesThemInOrder) {
    ProbeEffect effect;
    effect.setParameter(3, 0.75f);
    char name[] = "a name longer than twenty-three characters";
    effect.setProgramName(name);
    effect.parameterCalls.clear();
    effect.setProgram(5);
    ASSERT_EQ(effect.parameterCalls.size(), 4u);
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(effect.parameterCalls[i].index, i);
        EXPECT_EQ(effect.parameterCalls[i].value, ProbeEffect::kDefaults[i]);
    }
    char text[32] = "garbage";
    effect.getProgramName(text);
    EXPECT_STREQ(text, "");
    effect.setProgram(0);
    EXPECT_EQ(effect.getParameter(3), 0.75f);
    effect.getProgramName(text);
    EXPECT_EQ(std::string(text), std::string(name).substr(0, 23));
    effect.setProgram(16); // a direct call out of range is ignored like the host's
    EXPECT_EQ(effect.getProgram(), 0);
}

TEST(SharedSetUp, StereoSetUpAndVuReadAsEveryEffectNeedsThem) {
    ProbeEffect effect;
    effect.setUpStereo(fourCharCode('L', 'F', 'x', 'y'));
    const AEffect* record = effect.getAeffect();
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->flags, effFlagsHasVu | effFlagsCanMono | effFlagsCanReplacing);
    EXPECT_EQ(record->uniqueID, fourCharCode('L', 'F', 'x', 'y'));
    EXPECT_FALSE(effect.failed);
}

} // namespace
