// The frame window's drop target, driven through the headless back end: what a drag may do,
// files (links resolved, long paths whole) and text reaching the view under the drop point,
// and drops that carry nothing usable.
#include "gui/drop_target.h"
#include "tests/gui/drops/drop_recorder.h"
#include "tests/gui/frame/frame_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace frame_test;
using platform::DropAction;
using platform::DropOutcome;

namespace {

class DropTargetTest : public ::testing::Test, protected HeadlessFixture {
  protected:
    void SetUp() override {
        effect = new TestEffect;
        editor = new TestEditor(effect);
        ASSERT_EQ(editor->open(fakeParent()), 1);
        frame = editor->getFrame();
        view = new DropRecorder(Rect(10, 10, 100, 80));
        frame->addView(view);
    }
    void TearDown() override { delete effect; }

    DropOutcome dropFiles(const std::string& uris, int32_t x = 20, int32_t y = 30) {
        window()->dragOver(platform::kDropFiles, x, y);
        return window()->drop(platform::kDropFiles, uris, x, y);
    }

    TestEffect* effect = nullptr;
    TestEditor* editor = nullptr;
    EditorFrame* frame = nullptr;
    DropRecorder* view = nullptr;
};

TEST_F(DropTargetTest, ControlCopiesOtherwiseMoveAndDataWithoutFilesOrTextIsRefused) {
    ASSERT_TRUE(window()->takesDrops());
    EXPECT_EQ(window()->dragOver(platform::kDropFiles, 20, 20), DropAction::Move);
    EXPECT_EQ(window()->dragOver(platform::kDropText, 20, 20, platform::kModControl),
              DropAction::Copy);
    EXPECT_EQ(
        window()->dragOver(platform::kDropFiles | platform::kDropText, 20, 20, platform::kModShift),
        DropAction::Move);
    EXPECT_TRUE(frame->getDropTarget()->isAccepting());
    EXPECT_EQ(window()->dragOver(0, 20, 20, platform::kModControl), DropAction::Refused);
    EXPECT_FALSE(frame->getDropTarget()->isAccepting());
}

TEST_F(DropTargetTest, FilesArriveAsPathsAtTheDropPointWithLinksResolved) {
    char pattern[] = "/tmp/drops-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::filesystem::path dir(pattern);
    std::ofstream(dir / "target one.wav") << "x";
    std::filesystem::create_symlink(dir / "target one.wav", dir / "link.wav");
    std::filesystem::create_symlink(dir / "nowhere", dir / "dangling.wav");
    const std::string base = "file://" + dir.string() + "/";

    EXPECT_EQ(
        dropFiles(base + "target%20one.wav\r\n" + base + "link.wav\r\n" + base + "dangling.wav\r\n",
                  40, 50),
        DropOutcome::Taken);
    ASSERT_EQ(view->drops.size(), 1u);
    const RecordedDrop& drop = view->drops[0];
    EXPECT_EQ(drop.type, 0);
    EXPECT_EQ(drop.count, 3);
    EXPECT_EQ(drop.where, Point(40, 50));
    const std::string target = (dir / "target one.wav").string();
    EXPECT_EQ(drop.paths,
              (std::vector<std::string>{target, target, (dir / "dangling.wav").string()}));
    EXPECT_FALSE(frame->getDropTarget()->isAccepting()) << "the drop ends the drag";
    std::filesystem::remove_all(dir);
}

TEST_F(DropTargetTest, PathsLongerThanTheOldFixedBlocksArriveWhole) {
    const std::string path = "/tmp/" + std::string(3000, 'p');
    dropFiles("file://" + path);
    ASSERT_EQ(view->drops.size(), 1u);
    EXPECT_EQ(view->drops[0].paths, (std::vector<std::string>{path}));
}

TEST_F(DropTargetTest, TextArrivesTerminatedWithItsBlockSize) {
    window()->dragOver(platform::kDropText, 20, 20);
    // Dropped data is never terminated; a zero inside the data ends the text there.
    EXPECT_EQ(window()->drop(platform::kDropText, "gain 0.5", 20, 20), DropOutcome::Taken);
    EXPECT_EQ(window()->drop(platform::kDropText, std::string("ab\0cd", 5), 20, 20),
              DropOutcome::Taken);
    ASSERT_EQ(view->drops.size(), 2u);
    EXPECT_EQ(view->drops[0].type, 1);
    EXPECT_EQ(view->drops[0].count, 9);
    EXPECT_EQ(view->drops[0].text, "gain 0.5");
    EXPECT_TRUE(view->drops[0].textTerminated);
    EXPECT_EQ(view->drops[1].count, 3);
    EXPECT_EQ(view->drops[1].text, "ab");
    EXPECT_TRUE(view->drops[1].textTerminated);
}

TEST_F(DropTargetTest, DropsWithNothingUsableReachNoView) {
    EXPECT_EQ(window()->drop(platform::kDropText, "", 20, 20), DropOutcome::Unusable);
    EXPECT_EQ(window()->drop(platform::kDropText, std::string("\0\0", 2), 20, 20),
              DropOutcome::Unusable);
    EXPECT_EQ(dropFiles("http://example.org/a.wav\r\nfile:///bad%zz\r\n"), DropOutcome::Unusable);
    EXPECT_EQ(window()->drop(platform::kDropFiles, "", 20, 20), DropOutcome::Unusable);
    EXPECT_TRUE(view->drops.empty());
    // Outside every view, or declined by the view: valid data that nobody takes.
    EXPECT_EQ(dropFiles("file:///tmp/a.wav", 150, 90), DropOutcome::Declined);
    view->accepts = false;
    EXPECT_EQ(dropFiles("file:///tmp/a.wav"), DropOutcome::Declined);
}

} // namespace
