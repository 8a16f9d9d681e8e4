// Every editor through its library's record on the headless platform, whatever its panel: the
// size before opening, failed opens, odd call orders, the effect closing with the editor open,
// and 200 open/close cycles with no memory kept.
#include "tests/support/headless_editor.h"
#include "tests/support/heap_in_use.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

struct Panel {
    const char* name;
    const char* library;
    int16_t width, height;
};
std::ostream& operator<<(std::ostream& out, const Panel& panel) {
    return out << panel.name;
}

std::vector<Panel> builtPanels() {
    std::vector<Panel> panels;
#ifdef HEADLESS_TLOOM
    panels.push_back({"tloom", HEADLESS_TLOOM, 501, 201});
#endif
#ifdef HEADLESS_SWIRLET
    panels.push_back({"swirlet", HEADLESS_SWIRLET, 432, 89});
#endif
#ifdef HEADLESS_GRIMFOLD
    panels.push_back({"grimfold", HEADLESS_GRIMFOLD, 600, 100});
#endif
#ifdef HEADLESS_CORALLIS
    panels.push_back({"corallis", HEADLESS_CORALLIS, 600, 100});
#endif
    return panels;
}

class EveryEditor : public ::testing::TestWithParam<Panel> {
  protected:
    void SetUp() override { ASSERT_TRUE(library.ready()) << GetParam().library; }
    HeadlessLibrary library{GetParam().library};
};

TEST_P(EveryEditor, SizeIsAnsweredBeforeOpenFromThePanel) {
    EXPECT_EQ(library.host->effect()->flags & effFlagsHasEditor, effFlagsHasEditor);
    ERect* rect = nullptr;
    ASSERT_EQ(library.host->dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, GetParam().height);
    EXPECT_EQ(rect->right, GetParam().width);
    EXPECT_EQ(library.host->dispatch(effEditGetRect, 0, 0, nullptr), 0); // nowhere to store it
}

TEST_P(EveryEditor, FailedOpensAndOddCallOrdersAreHarmless) {
    PluginHost& host = *library.host;
    HeadlessPlatform& platform = *library.platform;
    EXPECT_EQ(host.dispatch(effEditClose), 0); // close without open
    library.idle();                            // idle while closed
    EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, nullptr), 0);
    platform.setRefuseWindows(true); // a window id the window system does not know
    EXPECT_EQ(library.open(), 0);
    EXPECT_TRUE(platform.windows().empty());
    library.idle();
    host.dispatch(effEditClose);
    platform.setRefuseWindows(false);

    ASSERT_EQ(library.open(), 1); // a later open works
    EXPECT_EQ(library.open(), 1); // and a second one keeps the one window
    EXPECT_EQ(platform.windows().size(), 1u);
    library.idle();
    host.dispatch(effEditClose);
    host.dispatch(effEditClose);
    EXPECT_TRUE(platform.windows().empty());

    ASSERT_EQ(library.open(), 1);
    library.idle();
    host.close(); // the effect goes with its editor open
    EXPECT_TRUE(platform.windows().empty());
}

TEST_P(EveryEditor, RepeatedOpenCloseCyclesKeepNoMemory) {
    auto cycle = [&] {
        ASSERT_EQ(library.open(), 1);
        library.idle();
        library.host->dispatch(effEditClose);
    };
    for (int i = 0; i < 3; ++i)
        cycle(); // warm-up: lazily made tables, caches and glyphs
    const size_t before = heapBytesInUse();
    for (int i = 0; i < 200; ++i)
        cycle();
    const size_t after = heapBytesInUse();
    // One lost frame would be well over 100 KB per cycle; allow for the allocator's own noise.
    EXPECT_LT(after, before + 64 * 1024) << before << " -> " << after;
    EXPECT_EQ(library.platform->windowsCreated(), 203);
    EXPECT_TRUE(library.platform->windows().empty());
}

INSTANTIATE_TEST_SUITE_P(Built, EveryEditor, ::testing::ValuesIn(builtPanels()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
