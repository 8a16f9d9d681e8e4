// XDND on a real X server (a private Xvfb): a drag source written for these tests drags file
// lists and text onto an editor's own window, with and without the control key, and
// misbehaves (unknown data, a source that dies, requests never answered).
// GoogleTest first: Xlib's macros (None, Bool) would clash with its names.
#include <gtest/gtest.h>

#include "gui/drop_target.h"
#include "tests/gui/drops/drop_recorder.h"
#include "tests/gui/frame/frame_test_support.h"
#include "tests/support/run_command.h"
#include "tests/support/x_server_suite.h"

// Xlib after the toolkit's headers, whose names its macros would replace.
#include "gui/platform/x11/x11_window.h"
#include "tests/gui/drops/xdnd_test_source.h"

#include <X11/Xatom.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace frame_test;

namespace {

class XdndDrops : public XServerSuite {
  protected:
    void SetUp() override {
        XServerSuite::SetUp();
        if (!ready()) return;
        effect = new TestEffect;
        editor = new TestEditor(effect, Rect(0, 0, 200, 100));
        ASSERT_EQ(editor->open(parentHandle()), 1);
        view = new DropRecorder(Rect(20, 20, 180, 90));
        editor->getFrame()->addView(view);
        x11Window = static_cast<X11Window*>(editor->getFrame()->getPlatformWindow());
        target = static_cast<::Window>(x11Window->nativeId());
    }
    void TearDown() override {
        delete effect;
        effect = nullptr;
        XServerSuite::TearDown();
    }

    void pump() { effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.0f); }
    std::unique_ptr<XdndTestSource> makeSource() {
        return std::make_unique<XdndTestSource>([this] { pump(); });
    }
    // Root coordinates of (x, y) in the editor's window.
    void onRoot(int x, int y, int& rootX, int& rootY) {
        ::Window child = 0;
        XTranslateCoordinates(display, target, DefaultRootWindow(display), x, y, &rootX, &rootY,
                              &child);
    }
    XdndTestSource::StatusReply moveTo(XdndTestSource& source, int x, int y) {
        int rootX = 0, rootY = 0;
        onRoot(x, y, rootX, rootY);
        return source.position(target, rootX, rootY);
    }
    template <class Condition> bool pumpUntil(Condition done) {
        for (int i = 0; i < 300 && !done(); ++i) {
            pump();
            timespec delay{0, 10 * 1000000L};
            nanosleep(&delay, nullptr);
        }
        return done();
    }

    TestEffect* effect = nullptr;
    TestEditor* editor = nullptr;
    DropRecorder* view = nullptr;
    X11Window* x11Window = nullptr;
    ::Window target = 0;
};

TEST_F(XdndDrops, TheWindowAdvertisesVersionFive) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    ASSERT_EQ(XGetWindowProperty(display, target, XInternAtom(display, "XdndAware", False), 0, 1,
                                 False, XA_ATOM, &type, &format, &count, &after, &data),
              Success);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(*reinterpret_cast<long*>(data), 5);
    XFree(data);
}

TEST_F(XdndDrops, AFileListArrivesAsPathsWithTheActionTheControlKeyAsks) {
    if (runCommand("xdotool version").status != 0) GTEST_SKIP() << "no xdotool";
    char pattern[] = "/tmp/xdnd-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::filesystem::path dir(pattern);
    const std::string utf8Name = "caf\xc3\xa9 \xe2\x99\xaa.wav";
    std::ofstream(dir / "two words.wav") << "x";
    std::ofstream(dir / utf8Name) << "x";
    std::filesystem::create_symlink(dir / "two words.wav", dir / "link");
    const std::string base = "file://" + dir.string() + "/";
    const std::string uris = base + "two%20words.wav\r\n" + base + "caf%C3%A9%20%E2%99%AA.wav\r\n" +
                             "https://example.org/a.wav\r\n" + "file://localhost" + dir.string() +
                             "/100%25.wav\r\n" + base + "link\r\n";
    auto source = makeSource();
    // Four types: the list of types goes through the source's XdndTypeList.
    source->offer("application/x-private", "?");
    source->offer("text/plain", uris);
    source->offer("UTF8_STRING", uris);
    source->offer("text/uri-list", uris);
    source->enter(target);

    XdndTestSource::StatusReply status = moveTo(*source, 30, 40);
    ASSERT_TRUE(status.received);
    EXPECT_TRUE(status.accepted);
    EXPECT_EQ(status.action, "XdndActionMove");
    ASSERT_EQ(runCommand("xdotool keydown ctrl").status, 0);
    status = moveTo(*source, 31, 40);
    runCommand("xdotool keyup ctrl");
    EXPECT_EQ(status.action, "XdndActionCopy");
    status = moveTo(*source, 32, 41);
    EXPECT_EQ(status.action, "XdndActionMove");

    const XdndTestSource::FinishedReply finished = source->drop(target);
    ASSERT_TRUE(finished.received);
    EXPECT_TRUE(finished.accepted);
    EXPECT_EQ(finished.action, "XdndActionMove");
    EXPECT_EQ(source->requestedTypes(), (std::vector<std::string>{"text/uri-list"}));
    ASSERT_EQ(view->drops.size(), 1u);
    const RecordedDrop& drop = view->drops[0];
    EXPECT_EQ(drop.type, 0);
    EXPECT_EQ(drop.where, Point(32, 41));
    const std::string twoWords = (dir / "two words.wav").string();
    EXPECT_EQ(drop.paths, (std::vector<std::string>{twoWords, (dir / utf8Name).string(),
                                                    (dir / "100%.wav").string(), twoWords}));
    EXPECT_FALSE(x11Window->isDragging());
    std::filesystem::remove_all(dir);
}

TEST_F(XdndDrops, TextArrivesFromTheBestTextTypeAndLinksWithoutFilesFallBackToIt) {
    auto source = makeSource();
    source->offer("text/plain", "latin");
    source->offer("UTF8_STRING", "gr\xc3\xbc\xc3\x9f");
    source->enter(target);
    ASSERT_TRUE(moveTo(*source, 50, 50).accepted);
    EXPECT_TRUE(source->drop(target).accepted);
    EXPECT_EQ(source->requestedTypes(), (std::vector<std::string>{"UTF8_STRING"}));

    // A web link: a URI list without files, and the link as text.
    auto link = makeSource();
    link->offer("text/uri-list", "https://example.org/\r\n");
    link->offer("text/plain", "https://example.org/");
    link->enter(target);
    ASSERT_TRUE(moveTo(*link, 60, 50).accepted);
    EXPECT_TRUE(link->drop(target).accepted);
    EXPECT_EQ(link->requestedTypes(), (std::vector<std::string>{"text/uri-list", "text/plain"}));

    ASSERT_EQ(view->drops.size(), 2u);
    EXPECT_EQ(view->drops[0].type, 1);
    EXPECT_EQ(view->drops[0].text, "gr\xc3\xbc\xc3\x9f");
    EXPECT_EQ(view->drops[1].text, "https://example.org/");
}

TEST_F(XdndDrops, DataWithNeitherFilesNorTextIsRefusedAndNotFetched) {
    auto source = makeSource();
    source->offer("image/png", "\x89PNG");
    source->enter(target);
    const XdndTestSource::StatusReply status = moveTo(*source, 50, 50);
    ASSERT_TRUE(status.received);
    EXPECT_FALSE(status.accepted);
    EXPECT_EQ(status.action, "");
    const XdndTestSource::FinishedReply finished = source->drop(target);
    ASSERT_TRUE(finished.received);
    EXPECT_FALSE(finished.accepted);
    EXPECT_TRUE(source->requestedTypes().empty());
    EXPECT_TRUE(view->drops.empty());
}

TEST_F(XdndDrops, DeclinedDropsTellTheSourceNothingWasDone) {
    view->accepts = false;
    auto source = makeSource();
    source->offer("text/uri-list", "file:///tmp/a.wav\r\n");
    source->enter(target);
    ASSERT_TRUE(moveTo(*source, 50, 50).accepted);
    const XdndTestSource::FinishedReply finished = source->drop(target);
    ASSERT_TRUE(finished.received);
    // A move reported as done would let the source delete what it dragged.
    EXPECT_FALSE(finished.accepted);
    EXPECT_EQ(finished.action, "");
    EXPECT_EQ(view->drops.size(), 1u);
}

TEST_F(XdndDrops, SourcesThatDieOrNeverAnswerEndTheDragHarmlessly) {
    // Dies while dragging over the window.
    auto dying = makeSource();
    dying->offer("text/plain", "x");
    dying->enter(target);
    ASSERT_TRUE(moveTo(*dying, 50, 50).accepted);
    EXPECT_TRUE(x11Window->isDragging());
    dying->vanish();
    EXPECT_TRUE(pumpUntil([&] { return !x11Window->isDragging(); }));
    EXPECT_FALSE(editor->getFrame()->getDropTarget()->isAccepting());

    // Dies right after dropping: the data request finds no owner.
    auto dropper = makeSource();
    dropper->offer("text/plain", "x");
    dropper->enter(target);
    ASSERT_TRUE(moveTo(*dropper, 50, 50).accepted);
    dropper->dropAndVanish(target);
    EXPECT_TRUE(pumpUntil([&] { return !x11Window->isDragging(); }));

    // Never answers the request: the target gives up on its own and says nothing was done.
    auto hanging = makeSource();
    hanging->offer("text/plain", "x");
    hanging->enter(target);
    ASSERT_TRUE(moveTo(*hanging, 50, 50).accepted);
    hanging->setAnswersRequests(false);
    const XdndTestSource::FinishedReply finished = hanging->drop(target);
    ASSERT_TRUE(finished.received);
    EXPECT_FALSE(finished.accepted);
    EXPECT_EQ(hanging->requestedTypes(), (std::vector<std::string>{"text/plain"}));
    EXPECT_FALSE(x11Window->isDragging());

    // Messages of a source other than the current one change nothing; a good drag still works.
    auto stranger = makeSource();
    auto good = makeSource();
    good->offer("text/plain", "after");
    good->enter(target);
    ASSERT_TRUE(moveTo(*good, 50, 50).accepted);
    stranger->leave(target);
    EXPECT_TRUE(good->drop(target).accepted);
    ASSERT_EQ(view->drops.size(), 1u);
    EXPECT_EQ(view->drops[0].text, "after");
    EXPECT_TRUE(editor->getFrame()->isOpen());
}

} // namespace
