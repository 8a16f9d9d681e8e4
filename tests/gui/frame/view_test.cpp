// View defaults: reference counting, dirty state per variant, update, overlap and hit tests.
#include "tests/gui/frame/frame_test_support.h"

#include <gtest/gtest.h>

using namespace frame_test;

namespace {

TEST(View, StartsWithOneReferenceAndTheVariantsDirtyState) {
    int destroyed = 0;
    auto* view = new ProbeView(Rect(1, 2, 30, 40), 0, &destroyed);
    EXPECT_EQ(view->getReferenceCount(), 1);
    EXPECT_EQ(view->isDirty(), TOOLKIT_NEWER == 0);
    EXPECT_TRUE(view->getMouseEnabled());
    EXPECT_FALSE(view->getTransparency());
    Rect area;
    EXPECT_EQ(view->getMouseableArea(area), Rect(1, 2, 30, 40));
    EXPECT_EQ(view->getFrame(), nullptr);
    view->forget();
    EXPECT_EQ(destroyed, 1);
}

TEST(View, OnlyTheLastForgetDestroys) {
    int destroyed = 0;
    auto* view = new ProbeView(Rect(0, 0, 5, 5), 0, &destroyed);
    view->remember();
    view->remember();
    EXPECT_EQ(view->getReferenceCount(), 3);
    view->forget();
    view->forget();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(view->getReferenceCount(), 1);
    view->forget();
    EXPECT_EQ(destroyed, 1);
}

TEST(View, NewSizeMarksDirtyAndMouseableAreaStaysItsOwn) {
    ProbeView view(Rect(0, 0, 10, 10));
    view.setDirty(false);
    view.setMouseableArea(Rect(2, 2, 8, 8));
    view.setViewSize(Rect(5, 5, 50, 50));
    EXPECT_TRUE(view.isDirty());
    EXPECT_EQ(view.getViewSize(), Rect(5, 5, 50, 50));
    Rect area;
    EXPECT_EQ(view.getMouseableArea(area), Rect(2, 2, 8, 8));
}

TEST(View, UpdateDrawsOnlyADirtyViewAndCleansIt) {
    PixelSurface surface(60, 60);
    DrawContext context(nullptr, &surface, nullptr);
    ProbeView view(Rect(10, 10, 20, 20), 0x00ff00);
    view.setDirty(true);
    view.update(&context);
    EXPECT_EQ(view.draws, 1);
    EXPECT_FALSE(view.isDirty());
    EXPECT_EQ(surface.at(10, 10), 0x00ff00u);
    EXPECT_EQ(surface.at(19, 19), 0x00ff00u);
    EXPECT_EQ(surface.at(20, 20), 0u);
    view.update(&context);
    EXPECT_EQ(view.draws, 1);
}

TEST(View, RedrawWithoutAFrameDoesNothing) {
    ProbeView view(Rect(0, 0, 4, 4));
    view.redraw();
    EXPECT_EQ(view.draws, 0);
}

TEST(View, DefaultHandlersDeclineInput) {
    View view(Rect(0, 0, 10, 10));
    Point where(1, 1);
    EXPECT_FALSE(view.onWheel(nullptr, where, 1.0f));
    EXPECT_FALSE(view.onDrop(nullptr, 0, 0, where));
#if TOOLKIT_NEWER
    VstKeyCode key{0, 0, 0};
    EXPECT_EQ(view.onKeyDown(key), -1);
    EXPECT_EQ(view.onKeyUp(key), -1);
    EXPECT_TRUE(view.attached(nullptr));
    EXPECT_TRUE(view.removed(nullptr));
    EXPECT_EQ(view.getEditor(), nullptr);
#endif
}

#if TOOLKIT_NEWER
TEST(ViewNewer, HitTestIncludesAllFourEdges) {
    View view(Rect(10, 20, 30, 40));
    EXPECT_TRUE(view.hitTest(Point(10, 20)));
    EXPECT_TRUE(view.hitTest(Point(30, 40)));
    EXPECT_FALSE(view.hitTest(Point(31, 40)));
    EXPECT_FALSE(view.hitTest(Point(30, 41)));
    EXPECT_FALSE(view.hitTest(Point(9, 25)));
}

TEST(ViewNewer, CheckUpdateCountsTouchingEdgesAsOverlap) {
    View view(Rect(10, 10, 20, 20));
    EXPECT_TRUE(view.checkUpdate(Rect(0, 0, 10, 10)));   // touches the top-left corner
    EXPECT_TRUE(view.checkUpdate(Rect(20, 20, 30, 30))); // touches the bottom-right corner
    EXPECT_FALSE(view.checkUpdate(Rect(21, 0, 30, 30)));
    EXPECT_FALSE(view.checkUpdate(Rect(0, 0, 9, 30)));
    EXPECT_FALSE(view.checkUpdate(Rect(0, 21, 30, 30)));
}

TEST(ViewNewer, DrawRectDrawsTheWholeView) {
    PixelSurface surface(30, 30);
    DrawContext context(nullptr, &surface, nullptr);
    ProbeView view(Rect(0, 0, 10, 10), 0xff0000);
    view.drawRect(&context, Rect(0, 0, 2, 2));
    EXPECT_EQ(view.draws, 1);
    EXPECT_EQ(surface.at(9, 9), 0xff0000u);
}
#endif

} // namespace
