// The showcase editor of each Windows architecture under Wine's X11 driver: `plughost.exe
// editor` shows the showcase DLL in a private Xvfb (no window manager), in a Wine prefix of
// this suite's own, and real input events drive the Win32 back end's native pieces: a knob
// drag, the text field's edit control, the option menu's popup menu, and drops of a file list
// and of a text from an XDND source, which Wine's driver hands to the window's OLE drop target.
#include "tests/support/editor_session.h"
#include "tools/artwork/showcase_layout.h"

#include <gtest/gtest.h>

#include "tests/gui/drops/xdnd_test_source.h"

#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/file.h>

namespace {

using namespace e2e;

struct WineCase {
    const char* arch;
    const char* plughost; // plughost.exe of the architecture
    const char* showcase; // the showcase DLL it shows
};

void PrintTo(const WineCase& c, std::ostream* out) {
    *out << c.arch;
}

// Whether `done` comes true within a few seconds (Wine may be slow to show a change).
template <class Condition> bool eventually(Condition done) {
    for (auto end = Clock::now() + std::chrono::seconds(5); Clock::now() < end;
         std::this_thread::sleep_for(std::chrono::milliseconds(100)))
        if (done()) return true;
    return false;
}

// The suite's prefix, made once (Wine's default graphics driver: X11); the caller holds its lock.
bool prefixReady(std::string& error) {
    const std::string prefix = WINE_E2E_PREFIX;
    if (readFile(prefix + "/.made") == "x11\n") return true;
    const std::string made = "rm -rf '" + prefix + "' && WINEPREFIX='" + prefix +
                             "' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' DISPLAY= "
                             "wineboot -i >'" +
                             prefix + ".log' 2>&1 && WINEPREFIX='" + prefix +
                             "' wineserver -w && echo x11 >'" + prefix + "/.made'";
    if (std::system(made.c_str()) == 0) return true;
    error = "cannot make the Wine prefix: " + readFile(prefix + ".log");
    return false;
}

class ShowcaseUnderWine : public ::testing::TestWithParam<WineCase> {
  protected:
    void SetUp() override {
        if (const char* tool = missingTool()) GTEST_SKIP() << tool << " is not installed";
        // One architecture at a time in the prefix, however many tests CTest runs at once.
        lock = open(WINE_E2E_PREFIX ".lock", O_CREAT | O_RDWR, 0644);
        ASSERT_GE(lock, 0);
        ASSERT_EQ(flock(lock, LOCK_EX), 0);
        std::string error;
        ASSERT_TRUE(prefixReady(error)) << error;
        EditorSession::Options options;
        options.environment = {"WINEPREFIX=" WINE_E2E_PREFIX, "WINEDEBUG=-all",
                               "WINEDLLOVERRIDES=mscoree,mshtml=;winedbg.exe=d"};
        options.command = {"/usr/bin/wine", GetParam().plughost, "editor"};
        options.windowSearch = "--onlyvisible --class plughost.exe";
        ASSERT_TRUE(session.start(std::string("Z:") + GetParam().showcase, options, error))
            << error;
        ASSERT_TRUE(session.screenshot("start").valid());
    }
    void TearDown() override {
        session.stopEditor();
        std::system("WINEPREFIX=" WINE_E2E_PREFIX " wineserver -k");
        if (lock >= 0) close(lock);
    }

    Block onScreen(int control) const {
        const showcase::Area a = showcase::controlArea(control);
        return session.onScreen(a.left, a.top, a.width, a.height);
    }
    // The centre of a control in window coordinates.
    static std::pair<int, int> centre(int control) {
        const showcase::Area a = showcase::controlArea(control);
        return {a.left + a.width / 2, a.top + a.height / 2};
    }
    // The calls since the last gesture, once the output holds `last` once more.
    std::vector<HostCall> gesture(const std::string& last) {
        const std::string output = session.waitForOutput(last, ++endings[last]);
        std::vector<HostCall> calls = parseCalls(output.substr(std::min(seen, output.size())));
        seen = output.size();
        return calls;
    }
    // The visible windows of plughost.exe other than the editor's: open menus.
    std::vector<Block> menus() const {
        std::vector<Block> found;
        std::istringstream ids(session.query("search --onlyvisible --class plughost.exe"));
        for (std::string id; ids >> id;) {
            if (id == session.windowId()) continue;
            Block b{0, 0, 0, 0};
            std::sscanf(session.query("getwindowgeometry --shell " + id).c_str(),
                        "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &b.x, &b.y, &b.w, &b.h);
            found.push_back(b);
        }
        return found;
    }
    // Drags `data` of `type` from the XDND source onto the file display and drops it there:
    // whether the drop was taken.
    bool dropOnDisplay(const std::string& type, const std::string& data) {
        XdndTestSource source([] {});
        source.offer(type, data);
        const ::Window target = std::stoul(session.windowId());
        source.enter(target);
        const Block display = onScreen(showcase::kFileDisplay);
        const XdndTestSource::StatusReply status =
            source.position(target, display.x + display.w / 2, display.y + display.h / 2);
        const XdndTestSource::FinishedReply finished = source.drop(target);
        return status.accepted && finished.received && finished.accepted;
    }

    int lock = -1;
    EditorSession session;
    size_t seen = 0;
    std::map<std::string, int> endings;
};

TEST_P(ShowcaseUnderWine, KnobTextFieldMenuAndDropsWorkThroughTheNativePieces) {
    // A knob drag is one gesture on the knob's parameter.
    const showcase::Area knob = showcase::controlArea(showcase::kKnob);
    ASSERT_TRUE(session.turnKnob(knob.left, knob.top, knob.width, knob.height));
    std::vector<HostCall> calls = gesture("endEdit");
    EXPECT_EQ(gestureShape(calls), kGesture) << session.output();
    EXPECT_EQ(callsOn(calls, showcase::kKnob).size(), calls.size());

    // The text field: the edit control opens over it on a click; "0.75" and Return are one
    // automate call of 0.75.
    auto [fx, fy] = centre(showcase::kTextField);
    const ScreenImage field = session.screenshot("field");
    ASSERT_TRUE(session.click(fx, fy));
    EXPECT_TRUE(eventually([&] {
        return !field.sameBlock(session.screenshot("box"), onScreen(showcase::kTextField));
    })) << "no edit control";
    ASSERT_TRUE(session.xdo("type --delay 40 0.75"));
    ASSERT_TRUE(session.xdo("key Return"));
    calls = gesture("automate");
    ASSERT_EQ(calls.size(), 1u) << session.output();
    EXPECT_EQ(calls[0].index, showcase::kTextField);
    EXPECT_FLOAT_EQ(calls[0].value, 0.75f);

    // The option menu: a popup menu opens under the control; a click on its last entry
    // (Saw, the fourth) chooses it.
    auto [mx, my] = centre(showcase::kPopupMenu);
    ASSERT_TRUE(session.click(mx, my));
    std::vector<Block> open;
    EXPECT_TRUE(eventually([&] { return !(open = menus()).empty(); }));
    ASSERT_EQ(open.size(), 1u) << "no menu, or more than one";
    const Block menu = open[0];
    const Block control = onScreen(showcase::kPopupMenu);
    EXPECT_EQ(menu.x, control.x);
    EXPECT_NEAR(menu.y, control.y + control.h, 2);
    ASSERT_TRUE(session.xdo("mousemove " + std::to_string(menu.x + menu.w / 2) + " " +
                            std::to_string(menu.y + menu.h * 7 / 8) + " sleep 0.2 click 1"));
    calls = gesture("automate");
    ASSERT_EQ(calls.size(), 1u) << session.output();
    EXPECT_EQ(calls[0].index, showcase::kPopupMenu);
    EXPECT_EQ(calls[0].value, 1.0f);
    EXPECT_TRUE(menus().empty()) << "the menu stayed open";

    // Drops: a file list, then a text, each shown by the file display and nothing else.
    const Block display = onScreen(showcase::kFileDisplay);
    std::ofstream(session.folder() + "/one.wav") << "x";
    std::ofstream(session.folder() + "/two words.wav") << "x";
    const std::string base = "file://" + session.folder();
    const std::pair<const char*, std::string> drops[] = {
        {"text/uri-list", base + "/one.wav\r\n" + base + "/two%20words.wav\r\n"},
        {"UTF8_STRING", "dropped \xe2\x99\xaa text"}};
    ScreenImage before = session.screenshot("before_drop");
    for (const auto& [type, data] : drops) {
        SCOPED_TRACE(type);
        ASSERT_TRUE(dropOnDisplay(type, data));
        ScreenImage after;
        EXPECT_TRUE(eventually([&] {
            after = session.screenshot("dropped");
            return after.valid() && !before.sameBlock(after, display);
        })) << "the drop did not arrive";
        EXPECT_TRUE(before.differsOnlyIn(after, {display}));
        before = after;
    }
    EXPECT_EQ(session.output().size(), seen) << "a drop reached a parameter";
}

INSTANTIATE_TEST_SUITE_P(BothArchitectures, ShowcaseUnderWine,
                         ::testing::Values(WineCase{"win32", WIN32_PLUGHOST, WIN32_SHOWCASE},
                                           WineCase{"win64", WIN64_PLUGHOST, WIN64_SHOWCASE}),
                         [](const ::testing::TestParamInfo<WineCase>& info) {
                             return std::string(info.param.arch);
                         });

} // namespace
