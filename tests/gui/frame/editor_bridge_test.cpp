// The editor bridge: the host's editor requests through the dispatcher, the idle pump's
// timing on the headless clock (both variants), re-entrant idle, drag loops, a host that
// closes the editor or the effect at awkward moments, and two editors side by side.
#include "tests/gui/frame/frame_test_support.h"

#include <gtest/gtest.h>

using namespace frame_test;

namespace {

class EditorBridge : public ::testing::Test, protected HeadlessFixture {
  protected:
    void SetUp() override {
        platform.setTicks(1000);
        effect = new TestEffect;
        editor = new TestEditor(effect);
    }
    void TearDown() override { delete effect; }

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f) {
        return effect->dispatcher(opcode, index, value, ptr, opt);
    }
    EditorFrame* openWithView(ProbeView*& view) {
        EXPECT_EQ(dispatch(effEditOpen, 0, 0, fakeParent()), 1);
        EditorFrame* frame = editor->getFrame();
        view = new ProbeView(Rect(10, 10, 20, 20));
        frame->addView(view);
        dispatch(effEditIdle); // the first paint
        dispatch(effEditIdle);
        view->draws = 0;
        return frame;
    }
    int hostServices() const { return hostLog().count(audioMasterIdle); }

    TestEffect* effect = nullptr;
    TestEditor* editor = nullptr;
};

TEST_F(EditorBridge, TheRectangleIsAnsweredBeforeOpen) {
    ERect* rect = nullptr;
    EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right, 200);
    EXPECT_EQ(rect->bottom, 100);
    EXPECT_EQ(dispatch(effEditGetRect), 0); // nowhere to store it
}

TEST_F(EditorBridge, IdleWhileClosedOnlyRunsAPendingUpdate) {
    dispatch(effEditIdle);
    EXPECT_EQ(editor->updates, 0);
    editor->setParameter(0, 0.5f);
    EXPECT_TRUE(editor->isUpdatePending());
    dispatch(effEditIdle);
    dispatch(effEditIdle);
    EXPECT_EQ(editor->updates, 1);
    EXPECT_EQ(dispatch(effEditClose), 0); // close without open
}

TEST_F(EditorBridge, OpenAnswersZeroWithoutAUsableWindowAndTheEffectGoesOn) {
    EXPECT_EQ(dispatch(effEditOpen, 0, 0, nullptr), 0);
    EXPECT_EQ(editor->getFrame(), nullptr);
    platform.setRefuseWindows(true);
    EXPECT_EQ(dispatch(effEditOpen, 0, 0, fakeParent()), 0);
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_EQ(EditorFrame::windowClassUseCount(), 0);
    dispatch(effEditIdle);
    platform.setRefuseWindows(false);
    EXPECT_EQ(dispatch(effEditOpen, 0, 0, fakeParent()), 1);
    EXPECT_TRUE(editor->getFrame()->isOpen());
}

TEST_F(EditorBridge, KnobModeIsSetForTheWholeLibrary) {
    EXPECT_EQ(dispatch(effSetEditKnobMode, 0, 2), 1);
    EXPECT_EQ(KnobMode, 2);
    TestEffect other;
    TestEditor* second = new TestEditor(&other);
    EXPECT_EQ(second->setKnobMode(0), 1);
    EXPECT_EQ(KnobMode, 0);
}

TEST_F(EditorBridge, KeysNobodyTakesAnswerZeroSoTheHostKeepsThem) {
    EXPECT_EQ(dispatch(effEditKeyDown, 'a', 0), 0); // closed
    ProbeView* view = nullptr;
    openWithView(view);
    EXPECT_EQ(dispatch(effEditKeyDown, 'a', 12), 0);
    view->keyAnswer = 1;
#if TOOLKIT_NEWER
    EXPECT_EQ(dispatch(effEditKeyDown, 'a', 12), 1);
    EXPECT_EQ(dispatch(effEditKeyUp, 'a', 12), 1);
#else
    EXPECT_EQ(dispatch(effEditKeyDown, 'a', 12), 0);
    EXPECT_EQ(dispatch(effEditKeyUp, 'a', 12), 0);
#endif
}

TEST_F(EditorBridge, DrawRedrawsTheWholeFrameAndTheWheelReachesTheViewUnderThePointer) {
    EXPECT_FALSE(editor->onWheel(1.0f)); // closed
    editor->draw(nullptr);
    ProbeView* view = nullptr;
    openWithView(view);
    editor->draw(nullptr);
    EXPECT_EQ(view->draws, 1);
    platform.setPointer(15, 15);
    EXPECT_TRUE(editor->onWheel(3.0f));
    EXPECT_EQ(view->wheelDistance, 3.0f);
}

TEST_F(EditorBridge, ReentrantIdleFromTheHostIsIgnored) {
    platform.setTicks(1200); // long enough after construction: the pump services at once
    int updatesInside = -1;
    hostLog().onIdle = [&] {
        editor->setParameter(0, 1.0f);
        dispatch(effEditIdle);
        updatesInside = editor->updates;
    };
    editor->doIdleStuff();
    EXPECT_EQ(hostServices(), 1);
    EXPECT_EQ(updatesInside, 0);
    EXPECT_TRUE(editor->isUpdatePending());
    hostLog().onIdle = nullptr;
    dispatch(effEditIdle);
    EXPECT_EQ(editor->updates, 1);
}

#if TOOLKIT_NEWER
TEST_F(EditorBridge, NewerPumpServicesAtOnceAfterConstructionThenWaits) {
    editor->doIdleStuff();
    EXPECT_EQ(hostServices(), 1);
    EXPECT_EQ(platform.totalSlept(), 0u);
    // 10 ms later: a 4 ms pause, no service.
    platform.setTicks(1010);
    editor->doIdleStuff();
    EXPECT_EQ(hostServices(), 1);
    EXPECT_EQ(platform.totalSlept(), 4u);
    // 45 ms after the last service: still too early after the pause.
    platform.setTicks(1045);
    editor->doIdleStuff();
    EXPECT_EQ(hostServices(), 1);
    // 46 ms: the pause, then the service.
    platform.setTicks(1046);
    editor->doIdleStuff();
    EXPECT_EQ(hostServices(), 2);
    EXPECT_EQ(platform.totalSlept(), 12u);
    // 100 ms after that service (at 1050 + 100): at once, without a pause.
    platform.setTicks(1150);
    editor->doIdleStuff();
    EXPECT_EQ(hostServices(), 3);
    EXPECT_EQ(platform.totalSlept(), 12u);
}

TEST_F(EditorBridge, NewerPumpRedrawsOnlyWhenItServicesTheHost) {
    ProbeView* view = nullptr;
    openWithView(view);
    editor->doIdleStuff(); // services
    const int services = hostServices();
    view->setDirty(true);
    platform.advance(10);
    editor->doIdleStuff();
    EXPECT_EQ(view->draws, 0);
    EXPECT_EQ(hostServices(), services);
    platform.advance(100);
    editor->doIdleStuff();
    EXPECT_EQ(view->draws, 1);
    EXPECT_EQ(hostServices(), services + 1);
}
#else
TEST_F(EditorBridge, OlderPumpServicesBetween46And100MsAfterAPauseAndAtOnceAfter) {
    // Right after construction: a 4 ms pause, no service.
    editor->doIdleStuff();
    EXPECT_EQ(hostServices(), 0);
    EXPECT_EQ(platform.totalSlept(), 4u);
    platform.setTicks(1045);
    editor->doIdleStuff();
    EXPECT_EQ(hostServices(), 0);
    platform.setTicks(1046);
    editor->doIdleStuff();
    EXPECT_EQ(hostServices(), 1);
    EXPECT_EQ(platform.totalSlept(), 12u);
    EXPECT_EQ(editor->lastServiceTicks(), 1050u);
    // 100 ms after the service: at once.
    platform.setTicks(1150);
    editor->doIdleStuff();
    EXPECT_EQ(hostServices(), 2);
    EXPECT_EQ(platform.totalSlept(), 12u);
    EXPECT_EQ(editor->lastServiceTicks(), 1150u);
}

TEST_F(EditorBridge, OlderPumpRedrawsDirtyViewsOnEveryCall) {
    ProbeView* view = nullptr;
    openWithView(view);
    view->setDirty(true);
    editor->doIdleStuff(); // too early to service the host
    EXPECT_EQ(view->draws, 1);
    EXPECT_EQ(hostServices(), 0);
}
#endif

TEST_F(EditorBridge, TwoPumpCallsWithinTenMillisecondsServiceTheHostAtMostOnce) {
    for (uint32_t start : {1000u, 1046u, 1100u, 1300u}) {
        platform.setTicks(start);
        const int before = hostServices();
        editor->doIdleStuff();
        platform.advance(5);
        editor->doIdleStuff();
        EXPECT_LE(hostServices() - before, 1) << start;
    }
}

// A click whose handler tracks the mouse the way controls do: poll buttons and position,
// keep the host alive through the idle pump, until the button is up.
void trackLikeAControl(ProbeView* view, std::vector<Point>& seen) {
    view->onMouse = [view, &seen](DrawContext* context, Point& where) {
        EditorFrame* frame = view->getFrame();
        frame->beginEdit(1);
        while (context->getMouseButtons() & MouseLeft) {
            seen.push_back(where);
            context->getMouseLocation(where);
            if (EditorBase* owner = frame->getEditor()) owner->doIdleStuff();
        }
        frame->endEdit(1);
    };
}

TEST_F(EditorBridge, ADragLoopSeesEveryScriptedPositionAndKeepsTheHostServiced) {
    ProbeView* view = nullptr;
    EditorFrame* frame = openWithView(view);
    std::vector<Point> seen;
    trackLikeAControl(view, seen);
    platform.drag(*window(), 12, 12, 12, 92, 40);
    dispatch(effEditIdle);
    ASSERT_EQ(seen.size(), 41u);
    EXPECT_EQ(seen.front(), Point(12, 12));
    EXPECT_EQ(seen.back(), Point(12, 92));
    EXPECT_EQ(hostLog().count(audioMasterBeginEdit), 1);
    EXPECT_EQ(hostLog().count(audioMasterEndEdit), 1);
    EXPECT_GE(hostServices(), 1); // 40 pump calls of 4 ms each
    EXPECT_TRUE(frame->isOpen());
}

TEST_F(EditorBridge, AnExposureDuringADragIsPaintedByThePump) {
    ProbeView* view = nullptr;
    openWithView(view);
    std::vector<Point> seen;
    trackLikeAControl(view, seen);
    int drawsInside = 0;
    hostLog().onIdle = [&] {
        window()->exposeAll();
        drawsInside = view->draws;
    };
    platform.drag(*window(), 12, 12, 12, 50, 60);
    dispatch(effEditIdle);
    EXPECT_GT(view->draws, drawsInside); // the paint was delivered inside the loop
    EXPECT_FALSE(seen.empty());
}

TEST_F(EditorBridge, AHostThatClosesTheEditorInsideTheIdlePumpDuringADrag) {
    int destroyed = 0;
    EXPECT_EQ(dispatch(effEditOpen, 0, 0, fakeParent()), 1);
    auto* view = new ProbeView(Rect(10, 10, 20, 20), 0x3366cc, &destroyed);
    editor->getFrame()->addView(view);
    dispatch(effEditIdle);
    std::vector<Point> seen;
    trackLikeAControl(view, seen);
    hostLog().onIdle = [&] { dispatch(effEditClose); };
    platform.drag(*window(), 12, 12, 60, 12, 80);
    dispatch(effEditIdle);
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_EQ(destroyed, 1); // gone once the click's handling returned
    EXPECT_EQ(seen.size(), 81u);
    EXPECT_EQ(hostLog().count(audioMasterEndEdit), 1);
    EXPECT_EQ(platform.lastWindow(), nullptr);
    EXPECT_EQ(EditorFrame::windowClassUseCount(), 0);
    hostLog().onIdle = nullptr;
    dispatch(effEditIdle);
}

TEST(EditorLifetime, ClosingTheEffectWithTheEditorOpenReleasesEverything) {
    HeadlessFixture fixture;
    int destroyed = 0;
    auto* effect = new TestEffect;
    auto* editor = new TestEditor(effect);
    ASSERT_EQ(effect->dispatcher(effEditOpen, 0, 0, fakeParent(), 0.0f), 1);
    editor->getFrame()->addView(new ProbeView(Rect(0, 0, 5, 5), 0, &destroyed));
    effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    delete effect;
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(fixture.platform.lastWindow(), nullptr);
    EXPECT_EQ(EditorFrame::windowClassUseCount(), 0);
}

TEST(EditorLifetime, RepeatedOpenAndCloseLeavesNothingBehind) {
    HeadlessFixture fixture;
    TestEffect effect;
    auto* editor = new TestEditor(&effect);
    int destroyed = 0;
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(effect.dispatcher(effEditOpen, 0, 0, fakeParent(), 0.0f), 1);
        editor->getFrame()->addView(new ProbeView(Rect(0, 0, 5, 5), 0, &destroyed));
        effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
        effect.dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    }
    EXPECT_EQ(destroyed, 200);
    EXPECT_EQ(fixture.platform.windowsCreated(), 200);
    EXPECT_TRUE(fixture.platform.windows().empty());
    EXPECT_EQ(fixture.platform.classRegistrations(), 200);
    EXPECT_EQ(fixture.platform.classUnregistrations(), 200);
}

TEST(EditorLifetime, TwoEditorsOpenAtOnceWorkApart) {
    HeadlessFixture fixture;
    TestEffect firstEffect, secondEffect;
    auto* first = new TestEditor(&firstEffect, Rect(0, 0, 100, 50));
    auto* second = new TestEditor(&secondEffect, Rect(0, 0, 80, 40));
    ASSERT_EQ(first->open(fakeParent()), 1);
    HeadlessWindow* firstWindow = fixture.window();
    ASSERT_EQ(second->open(fakeParent()), 1);
    HeadlessWindow* secondWindow = fixture.window();
    ASSERT_NE(firstWindow, secondWindow);
    EXPECT_EQ(EditorFrame::windowClassUseCount(), 2);
    auto* a = new ProbeView(Rect(0, 0, 30, 30), 0x0000ff);
    auto* b = new ProbeView(Rect(0, 0, 30, 30), 0xff0000);
    first->getFrame()->addView(a);
    second->getFrame()->addView(b);
    first->idle();
    second->idle();
    fixture.platform.click(*secondWindow, 5, 5);
    first->idle();
    EXPECT_TRUE(a->clicks.empty());
    second->idle();
    EXPECT_EQ(b->clicks.size(), 1u);
    EXPECT_EQ(firstWindow->screen().at(5, 5), 0x0000ffu);
    EXPECT_EQ(secondWindow->screen().at(5, 5), 0xff0000u);
    first->close();
    EXPECT_EQ(EditorFrame::windowClassUseCount(), 1);
    second->idle();
    EXPECT_TRUE(second->getFrame()->isOpen());
    second->close();
}

} // namespace
