// Painting and dirty handling: the first paint, full draws that clean nothing, idle redraws of
// dirty views only, what reaches the window (only changed pixels, nothing when clean), paints
// per variant, the modal view, single-view redraws and a window that goes away.
#include "gui/bitmap.h"
#include "tests/gui/frame/frame_test_support.h"

#include <gtest/gtest.h>

using namespace frame_test;

namespace {

class FramePaint : public ::testing::Test, protected HeadlessFixture {
  protected:
    void SetUp() override {
        platform.setExposeOnCreate(false);
        frame = new EditorFrame(Rect(0, 0, 120, 60), fakeParent(), nullptr);
        ASSERT_TRUE(frame->isOpen());
        left = add(Rect(10, 10, 30, 30), 0x0000ff);
        right = add(Rect(70, 10, 90, 30), 0x00ff00);
    }
    void TearDown() override { frame->forget(); }

    ProbeView* add(const Rect& size, uint32_t colour) {
        auto* view = new ProbeView(size, colour);
        frame->addView(view);
        return view;
    }
    // The first paint, and the idle pass the older variant's dirty frame asks for after it.
    void paintOnce() {
        window()->exposeAll();
        frame->idle();
        frame->idle();
        window()->clearPresented();
        left->draws = right->draws = 0;
    }
    const std::vector<platform::Area>& presented() { return window()->presentedAreas(); }

    EditorFrame* frame = nullptr;
    ProbeView* left = nullptr;
    ProbeView* right = nullptr;
};

TEST_F(FramePaint, IdleBeforeTheFirstPaintDrawsNothing) {
    left->setDirty(true);
    frame->idle();
    EXPECT_EQ(left->draws, 0);
    EXPECT_TRUE(frame->isFirstDraw());
    EXPECT_TRUE(presented().empty());
}

TEST_F(FramePaint, TheFirstPaintShowsEverythingAndCleansNothing) {
    left->setDirty(true);
    right->setDirty(false);
    window()->exposeAll();
    frame->idle(); // delivers the paint, then the idle redraw
    EXPECT_FALSE(frame->isFirstDraw());
    EXPECT_GE(left->draws, 1);
    EXPECT_GE(right->draws, 1);
    EXPECT_EQ(window()->screen().at(15, 15), 0x0000ffu);
    EXPECT_EQ(window()->screen().at(75, 15), 0x00ff00u);
    ASSERT_FALSE(presented().empty());
    EXPECT_EQ(presented()[0].right, 120);
    EXPECT_EQ(presented()[0].bottom, 60);
}

TEST_F(FramePaint, AFullDrawKeepsDirtyFlagsSoIdleStillRedraws) {
    frame->setDirty(false);
    left->setDirty(true);
    right->setDirty(false);
    PixelSurface& surface = frame->getSurface();
    {
        DrawContext context(frame, &surface, nullptr);
        frame->draw(&context);
    }
    EXPECT_TRUE(left->isDirty());
    EXPECT_FALSE(right->isDirty());
    EXPECT_EQ(left->draws, 1);
    frame->idle();
    EXPECT_EQ(left->draws, 2);
    EXPECT_EQ(right->draws, 1);
    EXPECT_FALSE(left->isDirty());
}

TEST_F(FramePaint, IdleWithNothingDirtyDrawsAndPresentsNothing) {
    paintOnce();
    EXPECT_FALSE(frame->isSomethingDirty());
    for (int i = 0; i < 5; ++i)
        frame->idle();
    EXPECT_EQ(left->draws, 0);
    EXPECT_EQ(right->draws, 0);
    EXPECT_TRUE(presented().empty());
}

TEST_F(FramePaint, IdleRedrawsOnlyTheDirtyViewAndPresentsOnlyItsPixels) {
    paintOnce();
    left->colour = 0xff0000;
    left->setDirty(true);
    frame->idle();
    EXPECT_EQ(left->draws, 1);
    EXPECT_EQ(right->draws, 0);
    ASSERT_EQ(presented().size(), 1u);
    EXPECT_EQ(presented()[0].left, 10);
    EXPECT_EQ(presented()[0].top, 10);
    EXPECT_EQ(presented()[0].right, 30);
    EXPECT_EQ(presented()[0].bottom, 30);
    EXPECT_EQ(window()->screen().at(29, 29), 0xff0000u);
    EXPECT_FALSE(frame->isSomethingDirty());
}

TEST_F(FramePaint, ARedrawThatChangesNoPixelPresentsNothing) {
    paintOnce();
    right->setDirty(true);
    frame->idle();
    EXPECT_EQ(right->draws, 1);
    EXPECT_TRUE(presented().empty());
}

TEST_F(FramePaint, TwoDirtyViewsArePresentedApart) {
    paintOnce();
    left->colour = 0x111111;
    right->colour = 0x222222;
    left->setDirty(true);
    right->setDirty(true);
    frame->idle();
    ASSERT_EQ(presented().size(), 2u);
    EXPECT_EQ(presented()[0].right - presented()[0].left, 20);
    EXPECT_EQ(presented()[1].left, 70);
}

TEST_F(FramePaint, ExposuresArePresentedWholeEvenWhenUnchanged) {
    paintOnce();
    window()->expose({0, 0, 5, 5});
    frame->idle();
    ASSERT_EQ(presented().size(), 1u);
    EXPECT_EQ(presented()[0].right, 5);
}

#if TOOLKIT_NEWER
TEST_F(FramePaint, NewerPaintsDrawOnlyViewsUnderThePaintArea) {
    paintOnce();
    window()->expose({0, 0, 40, 40});
    frame->idle();
    EXPECT_EQ(left->draws, 1);
    EXPECT_EQ(right->draws, 0);
}

TEST_F(FramePaint, NewerViewsStartCleanAndTheFrameDrawsOnce) {
    window()->exposeAll();
    frame->idle();
    EXPECT_EQ(left->draws, 1);
    frame->idle();
    EXPECT_EQ(left->draws, 1);
}
#else
TEST_F(FramePaint, OlderPaintsDrawTheWholeFrame) {
    paintOnce();
    window()->expose({0, 0, 5, 5});
    frame->idle();
    EXPECT_EQ(left->draws, 1);
    EXPECT_EQ(right->draws, 1);
}

TEST_F(FramePaint, OlderFrameIsDirtyUntilItsFirstIdleDraw) {
    EXPECT_TRUE(frame->isDirty());
    window()->exposeAll();
    frame->idle(); // the paint, then the idle pass draws the dirty frame once more
    EXPECT_FALSE(frame->isDirty());
    EXPECT_EQ(left->draws, 2);
}
#endif

TEST_F(FramePaint, AModalViewIsTheOnlyViewUpdated) {
    paintOnce();
    auto* modal = new ProbeView(Rect(0, 0, 120, 60), 0x777777);
    modal->setDirty(true);
    left->setDirty(true);
    frame->setModalView(modal);
    EXPECT_TRUE(frame->isSomethingDirty());
    frame->idle();
    EXPECT_EQ(modal->draws, 1);
    EXPECT_EQ(left->draws, 0);
    frame->idle(); // a clean modal view stays undrawn
    EXPECT_EQ(modal->draws, 1);
    frame->setModalView(nullptr);
    modal->forget();
}

TEST_F(FramePaint, DrawViewDrawsOneChildOrTheWholeFrame) {
    paintOnce();
    left->colour = 0xabcdef;
    left->redraw();
    EXPECT_EQ(left->draws, 1);
    EXPECT_EQ(right->draws, 0);
    EXPECT_EQ(window()->screen().at(12, 12), 0xabcdefu);
    ProbeView stranger(Rect(0, 0, 5, 5));
    frame->drawView(&stranger); // not a child: the whole frame
    EXPECT_EQ(stranger.draws, 0);
    EXPECT_EQ(right->draws, 1);
}

TEST_F(FramePaint, DrawingInsideAClickIsShownWhenTheClickEnds) {
    paintOnce();
    left->onMouse = [this](DrawContext* context, Point&) {
        left->colour = 0x00ffff;
        left->draw(context);
    };
    platform.click(*window(), 15, 15);
    frame->idle();
    EXPECT_EQ(window()->screen().at(15, 15), 0x00ffffu);
    ASSERT_EQ(presented().size(), 1u);
    EXPECT_EQ(presented()[0].left, 10);
    EXPECT_EQ(presented()[0].right, 30);
}

TEST_F(FramePaint, TheBackgroundIsDrawnUnderTheViews) {
    Bitmap* background = new Bitmap(frame, 120, 60); // an image only in the newer variant
#if TOOLKIT_NEWER
    ASSERT_NE(background->getImage(), nullptr);
    for (uint32_t& pixel : background->getImage()->pixels)
        pixel = 0x445566;
#endif
    frame->setBackground(background);
    background->forget();
    window()->exposeAll();
    frame->idle();
    EXPECT_EQ(frame->getBackground(), background);
    EXPECT_EQ(window()->screen().at(15, 15), 0x0000ffu);
#if TOOLKIT_NEWER
    EXPECT_EQ(window()->screen().at(0, 0), 0x445566u);
    EXPECT_EQ(window()->screen().at(119, 59), 0x445566u);
#endif
}

TEST_F(FramePaint, AWindowDestroyedByTheHostClosesTheFrame) {
    paintOnce();
    window()->destroyByHost();
    frame->idle();
    EXPECT_FALSE(frame->isOpen());
    EXPECT_EQ(frame->getParentWindow(), nullptr);
    left->setDirty(true);
    frame->idle();
    EXPECT_EQ(left->draws, 0);
    frame->drawView(left); // draws into the picture, presents nowhere, does not crash
}

TEST(FrameWithoutWindow, DrawsIntoItsPictureAndPresentsNothing) {
    HeadlessFixture fixture;
    EditorFrame frame(Rect(0, 0, 40, 40), nullptr, nullptr);
    auto* view = new ProbeView(Rect(5, 5, 10, 10), 0x123456);
    frame.addView(view);
    frame.drawView(nullptr);
    EXPECT_EQ(frame.getSurface().at(5, 5), 0x123456u);
    EXPECT_FALSE(frame.isFirstDraw());
    view->setDirty(true);
    frame.idle(); // the older variant's frame is still dirty itself: a full draw first
    frame.idle();
    EXPECT_FALSE(view->isDirty());
}

} // namespace
