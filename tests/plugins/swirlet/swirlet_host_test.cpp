// swirlet loaded through its entry exactly as a host loads it: its identity, texts and
// programs. The rules every deliverable follows are checked once for all in
// tests/plugins/deliverables.
#include "tests/support/plugin_loader.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

std::unique_ptr<PluginHost> loadSwirlet() {
    auto host = loadPlugin("swirlet", 0.0f);
    EXPECT_TRUE(host);
    return host;
}

TEST(SwirletIdentity, RecordAsAHostSeesIt) {
    auto host = loadSwirlet();
    const AEffect* record = host->effect();
    EXPECT_EQ(record->uniqueID, fourCharCode('L', 'F', 's', 'w'));
    EXPECT_EQ(record->numParams, 7);
    EXPECT_EQ(record->flags, kDeliverableFlags);
    EXPECT_EQ(host->dispatch(effGetVu), 0);
    EXPECT_EQ(host->effectName(), "");
    char name[64];
    EXPECT_EQ(host->dispatch(effGetEffectName, 0, 0, name), 0);
    // Every index may be automated, also one the effect does not have.
    for (int32_t index : {0, 6, -1, 7, INT32_MIN})
        EXPECT_EQ(host->dispatch(effCanBeAutomated, index), 1) << index;
}

TEST(SwirletTexts, DefaultProgramByteForByte) {
    auto host = loadSwirlet();
    const char* names[] = {"Depth L", "Rate L",     "Feedback L", "Depth R",
                           "Rate R",  "Feedback R", "Cross"};
    const char* displays[] = {"50.00", "50.00", "25.00", "50.00", "50.00", "25.00", "0.00"};
    for (int32_t i = 0; i < 7; ++i) {
        EXPECT_EQ(exactText(*host, effGetParamName, i), names[i]);
        EXPECT_EQ(exactText(*host, effGetParamLabel, i), " %");
        EXPECT_EQ(exactText(*host, effGetParamDisplay, i), displays[i]);
    }
    host->setParameter(6, 0.0f);
    EXPECT_EQ(host->paramDisplay(6), "-100.00");
    host->setParameter(6, 1.0f);
    EXPECT_EQ(host->paramDisplay(6), "100.00");
    host->setParameter(1, 0.123f);
    EXPECT_EQ(host->paramDisplay(1), "12.30");
    host->setParameter(2, 1.0f);
    EXPECT_EQ(host->paramDisplay(2), "100.00");
}

TEST(SwirletPrograms, SixteenProgramsNamedSwirlet) {
    auto host = loadSwirlet();
    for (int32_t p = 0; p < 16; ++p) {
        host->dispatch(effSetProgram, 0, p);
        EXPECT_EQ(exactText(*host, effGetProgramName), "Swirlet") << p;
    }
}

} // namespace
