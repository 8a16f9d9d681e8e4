// tloom loaded through its entry exactly as a host loads it: its identity, texts and programs.
// The rules every deliverable follows are checked once for all in tests/plugins/deliverables.
#include "tests/support/plugin_loader.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<PluginHost> loadTloom() {
    auto host = loadPlugin("tloom", 0.0f);
    EXPECT_TRUE(host);
    return host;
}

const char* const kNames[15] = {
    "L Gap Speed", "L Gap Mod", "L Feedback", "R Gap Speed",    "R Gap Mod",
    "R Feedback",  "L Shape",   "R Shape",    "L Speed Adjust", "R Speed Adjust",
    "Cutoff",      "Rez",       "Low",        "Band",           "High"};
const char* const kDefaultDisplays[15] = {"     50", "     50", "    -49", "     35", "     45",
                                          "      9", "      0", "      0", "    100", "    100",
                                          "     50", "      0", "    100", "      0", "      0"};
const float kDefaultValues[15] = {0.5f, 0.5f, 0.25f, 0.35f, 0.45f, 0.55f, 0.0f, 0.0f,
                                  1.0f, 1.0f, 0.5f,  0.0f,  1.0f,  0.0f,  0.0f};

TEST(TloomIdentity, RecordAndStringsDescribeTheEffectAndItsEditor) {
    auto host = loadTloom();
    AEffect* e = host->effect();
    EXPECT_EQ(e->uniqueID, fourCharCode('L', 'F', 't', 'l'));
    EXPECT_EQ(e->numParams, 15);
    EXPECT_EQ(e->flags, kDeliverableFlags);
    EXPECT_EQ(exactText(*host, effGetEffectName), "Tessera Loom");
    EXPECT_EQ(exactText(*host, effGetProductString), "Tessera Loom");
    EXPECT_EQ(exactText(*host, effGetVendorString), "Lumen Forge");
    char name[64];
    EXPECT_EQ(host->dispatch(effGetEffectName, 0, 0, name), 1);
    EXPECT_EQ(host->dispatch(effGetVendorString, 0, 0, name), 1);
    EXPECT_EQ(host->dispatch(effGetProductString, 0, 0, name), 1);
    ERect* rect = nullptr;
    if (!(kDeliverableFlags & effFlagsHasEditor)) {
        EXPECT_EQ(host->dispatch(effEditGetRect, 0, 0, &rect), 0);
        return;
    }
    ASSERT_EQ(host->dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 501);
    EXPECT_EQ(rect->bottom - rect->top, 201);
    EXPECT_EQ(host->dispatch(effGetVu), 0);
}

TEST(TloomTexts, DefaultProgramNamesLabelsAndDisplaysByteForByte) {
    auto host = loadTloom();
    for (int32_t i = 0; i < 15; ++i) {
        EXPECT_EQ(exactText(*host, effGetParamName, i), kNames[i]) << i;
        EXPECT_EQ(exactText(*host, effGetParamLabel, i), i <= 5 ? " %" : " ") << i;
        EXPECT_EQ(exactText(*host, effGetParamDisplay, i), kDefaultDisplays[i]) << i;
        EXPECT_EQ(host->getParameter(i), kDefaultValues[i]) << i;
    }
}

TEST(TloomTexts, FeedbackShowsTheGainAndTheRestTheStoredValue) {
    auto host = loadTloom();
    const struct {
        float value;
        const char* feedback;
        const char* plain;
    } cases[] = {{0.0f, "    -99", "      0"},
                 {0.5f, "      0", "     50"},
                 {1.0f, "     99", "    100"},
                 {0.123f, "    -74", "     12"}};
    for (const auto& c : cases) {
        host->setParameter(2, c.value);
        host->setParameter(5, c.value);
        host->setParameter(0, c.value);
        EXPECT_EQ(exactText(*host, effGetParamDisplay, 2), c.feedback) << c.value;
        EXPECT_EQ(exactText(*host, effGetParamDisplay, 5), c.feedback) << c.value;
        EXPECT_EQ(exactText(*host, effGetParamDisplay, 0), c.plain) << c.value;
    }
}

TEST(TloomPrograms, SixteenProgramsNamedDefault) {
    auto host = loadTloom();
    for (int32_t p = 0; p < 16; ++p) {
        host->dispatch(effSetProgram, 0, p);
        EXPECT_EQ(host->dispatch(effGetProgram), p);
        EXPECT_EQ(exactText(*host, effGetProgramName), "Default") << p;
    }
}

} // namespace
