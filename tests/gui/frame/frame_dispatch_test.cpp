// The frame's dispatch: clicks to the topmost enabled view (inclusive edges), modal and edit
// views, drops, wheel, keys (newer), cursors, the automation gesture, the growable view list,
// the window class and the order of destruction.
#include "gui/bitmap.h"
#include "tests/gui/frame/frame_test_support.h"

#include <gtest/gtest.h>

using namespace frame_test;

namespace {

class FrameDispatch : public ::testing::Test, protected HeadlessFixture {
  protected:
    void SetUp() override {
        effect = new TestEffect;
        editor = new TestEditor(effect);
        ASSERT_EQ(editor->open(fakeParent()), 1);
        frame = editor->getFrame();
    }
    void TearDown() override { delete effect; } // deletes the editor, which closes the frame

    ProbeView* add(const Rect& size, uint32_t colour = 0x3366cc, int* destroyed = nullptr) {
        auto* view = new ProbeView(size, colour, destroyed);
        EXPECT_TRUE(frame->addView(view));
        return view;
    }
    void click(int32_t x, int32_t y, uint32_t modifiers = 0) {
        platform.click(*window(), x, y, modifiers);
        frame->idle();
    }

    TestEffect* effect = nullptr;
    TestEditor* editor = nullptr;
    EditorFrame* frame = nullptr;
};

TEST_F(FrameDispatch, AClickInAnOverlapReachesOnlyTheViewAddedLater) {
    ProbeView* below = add(Rect(10, 10, 60, 60));
    ProbeView* above = add(Rect(40, 40, 90, 90));
    click(50, 50);
    EXPECT_TRUE(below->clicks.empty());
    ASSERT_EQ(above->clicks.size(), 1u);
    EXPECT_EQ(above->clicks[0], Point(50, 50));
    click(20, 20);
    EXPECT_EQ(below->clicks.size(), 1u);
}

TEST_F(FrameDispatch, ClicksOnTheRightAndBottomEdgesHit) {
    ProbeView* view = add(Rect(10, 10, 30, 20));
    click(30, 20);
    click(10, 10);
    click(31, 20);
    click(30, 21);
    EXPECT_EQ(view->clicks.size(), 2u);
}

TEST_F(FrameDispatch, DisabledViewsAreSkippedByClicksAndDropsButFoundForTheWheel) {
    ProbeView* below = add(Rect(0, 0, 100, 100));
    ProbeView* disabled = add(Rect(20, 20, 40, 40));
    disabled->setMouseEnabled(false);
    below->acceptDrop = true;
    disabled->acceptDrop = true;
    click(30, 30);
    EXPECT_TRUE(disabled->clicks.empty());
    EXPECT_EQ(below->clicks.size(), 1u);
    Point where(30, 30);
    EXPECT_TRUE(frame->onDrop(nullptr, 0, 0, where));
    EXPECT_EQ(disabled->drops, 0);
    EXPECT_EQ(below->drops, 1);
    platform.setPointer(30, 30);
    EXPECT_EQ(frame->getViewUnderMouse(), disabled);
    EXPECT_TRUE(editor->onWheel(2.0f));
    EXPECT_EQ(disabled->wheelDistance, 2.0f);
    ASSERT_EQ(disabled->wheelPoints.size(), 1u);
    EXPECT_EQ(disabled->wheelPoints[0], Point(30, 30));
}

TEST_F(FrameDispatch, TheWheelUsesThePointerRelativeToTheWindow) {
    ProbeView* view = add(Rect(50, 10, 70, 30));
    window()->setScreenOrigin(300, 200);
    platform.setPointer(360, 220);
    Point location;
    frame->getCurrentLocation(location);
    EXPECT_EQ(location, Point(60, 20));
    EXPECT_TRUE(frame->onWheel(nullptr, Point(0, 0), -1.0f));
    ASSERT_EQ(view->wheelPoints.size(), 1u);
    EXPECT_EQ(view->wheelPoints[0], Point(60, 20));
    platform.setPointer(10, 10); // over no view
    EXPECT_FALSE(editor->onWheel(1.0f));
}

TEST_F(FrameDispatch, DropsGoToTheFirstViewThatTakesThem) {
    ProbeView* below = add(Rect(0, 0, 50, 50));
    ProbeView* above = add(Rect(0, 0, 50, 50));
    below->acceptDrop = true;
    Point where(25, 25);
    EXPECT_TRUE(frame->onDrop(nullptr, 1, 0, where));
    EXPECT_EQ(above->drops, 1);
    EXPECT_EQ(below->drops, 1);
    below->acceptDrop = false;
    EXPECT_FALSE(frame->onDrop(nullptr, 1, 0, where));
}

TEST_F(FrameDispatch, DropsAreRefusedWhileAModalOrEditViewExists) {
    ProbeView* view = add(Rect(0, 0, 50, 50));
    view->acceptDrop = true;
    Point where(10, 10);
    frame->setEditView(view);
    EXPECT_FALSE(frame->onDrop(nullptr, 1, 0, where));
    frame->setEditView(nullptr);
    ProbeView modal(Rect(0, 0, 5, 5));
    ASSERT_TRUE(frame->setModalView(&modal));
    EXPECT_FALSE(frame->onDrop(nullptr, 1, 0, where));
    frame->setModalView(nullptr);
    EXPECT_TRUE(frame->onDrop(nullptr, 1, 0, where));
    EXPECT_EQ(view->drops, 1);
}

TEST_F(FrameDispatch, AModalViewTakesClicksInsideItAndDropsTheRest) {
    ProbeView* view = add(Rect(0, 0, 100, 100));
    ProbeView* modal = add(Rect(20, 20, 40, 40));
    frame->removeView(modal, false); // modal views need not be children
    ASSERT_TRUE(frame->setModalView(modal));
    click(40, 40);
    click(60, 60);
    EXPECT_EQ(modal->clicks.size(), 1u);
    EXPECT_TRUE(view->clicks.empty());
    frame->setModalView(nullptr);
    modal->forget();
}

TEST_F(FrameDispatch, ASecondModalViewIsRefusedUntilTheFirstIsCleared) {
    ProbeView a(Rect(0, 0, 5, 5)), b(Rect(0, 0, 5, 5));
    EXPECT_TRUE(frame->setModalView(&a));
    EXPECT_FALSE(frame->setModalView(&b));
    EXPECT_EQ(frame->getModalView(), &a);
    EXPECT_TRUE(frame->setModalView(nullptr));
    EXPECT_TRUE(frame->setModalView(&b));
    EXPECT_EQ(frame->getModalView(), &b);
    frame->setModalView(nullptr);
#if TOOLKIT_NEWER
    EXPECT_EQ(a.attachCalls, 1);
    EXPECT_EQ(a.removeCalls, 1);
    EXPECT_EQ(b.attachCalls, 1);
    EXPECT_EQ(b.removeCalls, 1);
#endif
}

TEST_F(FrameDispatch, AClickEndsTextEntryAndANewEditViewEndsTheOld) {
    ProbeView* first = add(Rect(0, 0, 10, 10));
    ProbeView* second = add(Rect(20, 0, 30, 10));
    frame->setEditView(first);
    frame->setEditView(second);
    EXPECT_EQ(first->focusLost, 1);
    EXPECT_EQ(frame->getEditView(), second);
    click(80, 80); // on no view at all
    EXPECT_EQ(second->focusLost, 1);
    EXPECT_EQ(frame->getEditView(), nullptr);
}

TEST_F(FrameDispatch, RemovingAViewClearsItAsModalOrEditView) {
    ProbeView* view = add(Rect(0, 0, 10, 10));
    frame->setEditView(view);
    frame->removeView(view, false);
    EXPECT_EQ(frame->getEditView(), nullptr);
    frame->addView(view);
    frame->setModalView(view);
    frame->removeView(view, true);
    EXPECT_EQ(frame->getModalView(), nullptr);
    click(5, 5); // nothing to reach, nothing to crash on
}

TEST_F(FrameDispatch, RemovingAViewThatIsNotThereChangesNothing) {
    ProbeView* a = add(Rect(0, 0, 10, 10));
    ProbeView stranger(Rect(0, 0, 10, 10));
    EXPECT_TRUE(frame->removeView(&stranger, true));
    EXPECT_TRUE(frame->isChild(a));
    EXPECT_EQ(stranger.getReferenceCount(), 1);
}

TEST_F(FrameDispatch, RemoveViewForgetsOnlyWhenAsked) {
    int destroyed = 0;
    ProbeView* kept = add(Rect(0, 0, 10, 10), 0, &destroyed);
    ProbeView* dropped = add(Rect(0, 0, 10, 10), 0, &destroyed);
    frame->removeView(kept, false);
    frame->removeView(dropped, true);
    EXPECT_EQ(destroyed, 1);
    EXPECT_FALSE(frame->isChild(kept));
    kept->forget();
    EXPECT_EQ(destroyed, 2);
}

TEST_F(FrameDispatch, TheListGrowsPastTenAndKeepsItsOrder) {
    std::vector<ProbeView*> added;
    for (int i = 0; i < 25; ++i)
        added.push_back(add(Rect(i * 8, 0, i * 8 + 7, 7)));
    for (ProbeView* view : added)
        EXPECT_TRUE(frame->isChild(view));
#if TOOLKIT_NEWER
    ASSERT_EQ(frame->getViewCount(), 25);
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(frame->getView(i), added[static_cast<size_t>(i)]);
    EXPECT_EQ(frame->getView(25), nullptr);
    EXPECT_EQ(frame->getView(-1), nullptr);
#endif
    // Removing from the middle moves the later ones down.
    frame->removeView(added[3], true);
    click(3 * 8 + 2, 2);
    click(11 * 8 + 2, 2);
    EXPECT_EQ(added[11]->clicks.size(), 1u);
#if TOOLKIT_NEWER
    EXPECT_EQ(frame->getView(3), added[4]);
#endif
}

TEST_F(FrameDispatch, AddedViewsBelongToTheFrame) {
    ProbeView* view = add(Rect(0, 0, 10, 10));
    EXPECT_EQ(view->getFrame(), frame);
    EXPECT_EQ(view->getReferenceCount(), 1); // the frame took the creator's reference
    EXPECT_FALSE(frame->addView(nullptr));
#if TOOLKIT_NEWER
    EXPECT_EQ(view->attachCalls, 1);
    EXPECT_EQ(view->getEditor(), editor);
#endif
}

TEST_F(FrameDispatch, ClosingTheFrameForgetsEveryChild) {
    int destroyed = 0;
    add(Rect(0, 0, 10, 10), 0, &destroyed);
    ProbeView* kept = add(Rect(0, 0, 10, 10), 0, &destroyed);
    kept->remember();
    editor->close();
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(kept->getReferenceCount(), 1);
    kept->forget();
    EXPECT_EQ(destroyed, 2);
}

TEST_F(FrameDispatch, TheBackgroundIsHeldOnceAndReleasedWithTheFrame) {
    auto* bitmap = new Bitmap(30000); // not embedded: a 0 x 0 bitmap
    frame->setBackground(bitmap);
    EXPECT_EQ(bitmap->getReferenceCount(), 2);
    frame->setBackground(bitmap); // the same again must not destroy it
    EXPECT_EQ(bitmap->getReferenceCount(), 2);
    editor->close();
    EXPECT_EQ(bitmap->getReferenceCount(), 1);
    bitmap->forget();
}

TEST_F(FrameDispatch, TheGestureReachesTheHost) {
    EXPECT_TRUE(frame->beginEdit(3));
    EXPECT_TRUE(frame->endEdit(3));
    ASSERT_EQ(hostLog().count(audioMasterBeginEdit), 1);
    ASSERT_EQ(hostLog().count(audioMasterEndEdit), 1);
    EditorFrame orphan(Rect(0, 0, 10, 10), nullptr, nullptr);
    EXPECT_FALSE(orphan.beginEdit(1));
    EXPECT_FALSE(orphan.endEdit(1));
    EXPECT_EQ(hostLog().count(audioMasterBeginEdit), 1);
}

TEST_F(FrameDispatch, TheFirstCursorChangeSavesTheCursorThatZeroRestores) {
    window()->setCursor(platform::kCursorSizeAll); // what the window showed before
    frame->setCursor(2);
    EXPECT_EQ(window()->getCursor(), platform::kCursorSizeWE);
    frame->setCursor(6);
    EXPECT_EQ(window()->getCursor(), platform::kCursorSizeNWSE);
    frame->setCursor(42);
    EXPECT_EQ(window()->getCursor(), platform::kCursorSizeNWSE);
    frame->setCursor(0);
    EXPECT_EQ(window()->getCursor(), platform::kCursorSizeAll);
}

TEST_F(FrameDispatch, HostWindowGeometryIsNotGuessed) {
    int32_t x = 7, y = 7;
    Rect rect(1, 1, 1, 1);
    EXPECT_FALSE(frame->getPosition(x, y));
    EXPECT_FALSE(frame->getSize(rect));
}

TEST_F(FrameDispatch, SetSizeResizesFrameWindowAndAsksTheHost) {
    EXPECT_FALSE(frame->setSize(200, 100)); // unchanged
    EXPECT_FALSE(frame->setSize(0, 100));
    EXPECT_TRUE(frame->setSize(300, 150));
    EXPECT_EQ(frame->getViewSize(), Rect(0, 0, 300, 150));
    EXPECT_EQ(frame->getSurface().width, 300);
    EXPECT_EQ(window()->getWidth(), 300);
    EXPECT_EQ(hostLog().count(audioMasterSizeWindow), 1);
    EXPECT_TRUE(frame->isDirty());
}

#if TOOLKIT_NEWER
TEST_F(FrameDispatch, KeysGoToTheEditViewThenTheModalViewThenTheTopmostChild) {
    ProbeView* below = add(Rect(0, 0, 10, 10));
    ProbeView* above = add(Rect(0, 0, 10, 10));
    VstKeyCode key{0, 12, 0};
    EXPECT_EQ(editor->onKeyDown(key), -1); // nobody handles it
    EXPECT_EQ(below->keysSeen, 1);
    EXPECT_EQ(above->keysSeen, 1);
    below->keyAnswer = 1;
    EXPECT_EQ(editor->onKeyDown(key), 1);
    above->keyAnswer = 0;
    EXPECT_EQ(editor->onKeyUp(key), 0);
    EXPECT_EQ(below->keysSeen, 2); // the topmost answered first
    ProbeView modal(Rect(0, 0, 1, 1));
    modal.keyAnswer = 5;
    frame->setModalView(&modal);
    EXPECT_EQ(editor->onKeyDown(key), 5);
    ProbeView edit(Rect(0, 0, 1, 1));
    edit.keyAnswer = 9;
    frame->setEditView(&edit);
    EXPECT_EQ(editor->onKeyDown(key), 9);
    frame->setEditView(nullptr);
    frame->setModalView(nullptr);
}

// Keys typed into the frame's own window reach the views as the host's key records.
TEST_F(FrameDispatch, WindowKeysReachTheViewsAsHostKeyRecords) {
    ProbeView* view = add(Rect(0, 0, 10, 10));
    using platform::KeyCode;
    window()->queueKey(KeyCode::Up, 0, 0, true);
    window()->queueKey(KeyCode::Down, 0, platform::kModShift);
    window()->queueKey(KeyCode::Home, 0, platform::kModControl | platform::kModAlt);
    window()->queueKey(KeyCode::KeypadEnter);
    window()->queueKey(KeyCode::Character, 'a');
    window()->queueKey(KeyCode::Unknown); // no record for it: nobody sees it
    frame->idle();
    EXPECT_EQ(view->keysSeen, 6); // five presses and the release of Up
    struct Expected {
        int32_t character;
        uint8_t virt, modifier;
    };
    const Expected expected[] = {{0, 12, 0}, {0, 14, 1}, {0, 10, 2 | 8}, {0, 19, 0}, {'a', 0, 0}};
    ASSERT_EQ(view->keysDown.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(view->keysDown[i].character, expected[i].character) << i;
        EXPECT_EQ(view->keysDown[i].virt, expected[i].virt) << i;
        EXPECT_EQ(view->keysDown[i].modifier, expected[i].modifier) << i;
    }
}

TEST_F(FrameDispatch, RemovalsAreAnnounced) {
    ProbeView* view = add(Rect(0, 0, 10, 10));
    view->remember();
    frame->removeView(view, true);
    EXPECT_EQ(view->removeCalls, 1);
    EXPECT_EQ(view->getReferenceCount(), 1);
    view->forget();
}
#else
TEST_F(FrameDispatch, KeysReachNoViewInTheOlderVariant) {
    add(Rect(0, 0, 10, 10));
    VstKeyCode key{0, 12, 0};
    EXPECT_EQ(editor->onKeyDown(key), -1);
    EXPECT_EQ(editor->onKeyUp(key), -1);
}
#endif

// ---- the window class ----

TEST(WindowClass, NameIsPluginAndTheHandleInEightHexDigits) {
    char name[16];
    EditorFrame::formatWindowClassName(255, name);
    EXPECT_STREQ(name, "Plugin000000ff");
    EditorFrame::formatWindowClassName(static_cast<uintptr_t>(0x7f12deadbeefull), name);
    EXPECT_STREQ(name, "Plugindeadbeef");
    EXPECT_EQ(std::string(EditorFrame::windowClassName()).rfind("Plugin", 0), 0u);
    EXPECT_EQ(std::string(EditorFrame::windowClassName()).size(), 14u);
}

TEST(WindowClass, SharedByTheModulesFramesAndUnregisteredWithTheLast) {
    HeadlessFixture fixture;
    EXPECT_EQ(EditorFrame::windowClassUseCount(), 0);
    auto* first = new EditorFrame(Rect(0, 0, 10, 10), fakeParent(), nullptr);
    auto* second = new EditorFrame(Rect(0, 0, 10, 10), fakeParent(), nullptr);
    EXPECT_EQ(EditorFrame::windowClassUseCount(), 2);
    EXPECT_EQ(fixture.platform.classRegistrations(), 1);
    EXPECT_EQ(fixture.platform.lastClassName(), EditorFrame::windowClassName());
    EXPECT_EQ(fixture.platform.windows()[0]->className, EditorFrame::windowClassName());
    first->forget();
    EXPECT_EQ(fixture.platform.classUnregistrations(), 0);
    second->forget();
    EXPECT_EQ(fixture.platform.classUnregistrations(), 1);
    EXPECT_EQ(EditorFrame::windowClassUseCount(), 0);
}

TEST(WindowClass, AWindowThatCouldNotBeMadeLeavesNoCount) {
    HeadlessFixture fixture;
    fixture.platform.setRefuseWindows(true);
    EditorFrame frame(Rect(0, 0, 10, 10), fakeParent(), nullptr);
    EXPECT_FALSE(frame.isOpen());
    EXPECT_FALSE(frame.hasWindow());
    EXPECT_EQ(frame.getParentWindow(), nullptr);
    EXPECT_EQ(EditorFrame::windowClassUseCount(), 0);
    EXPECT_EQ(fixture.platform.classUnregistrations(), 1);
}

TEST(WindowClass, AFrameWithoutAParentMakesNoWindow) {
    HeadlessFixture fixture;
    EditorFrame frame(Rect(0, 0, 10, 10), nullptr, nullptr);
    EXPECT_TRUE(frame.isOpen());
    EXPECT_FALSE(frame.hasWindow());
    EXPECT_EQ(fixture.platform.windowsCreated(), 0);
    EXPECT_EQ(EditorFrame::windowClassUseCount(), 0);
}

} // namespace
