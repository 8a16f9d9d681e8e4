// ViewContainer: composition in its own offscreen, the update modes, input translated to its
// coordinates, focus passed to every child, ownership of its children.
#include "gui/view_container.h"
#include "tests/gui/frame/frame_test_support.h"

#include <gtest/gtest.h>

using namespace frame_test;

namespace {

class Container : public ::testing::Test, protected HeadlessFixture {
  protected:
    void SetUp() override {
        frame = new EditorFrame(Rect(0, 0, 100, 80), fakeParent(), nullptr);
        container = new ViewContainer(Rect(20, 10, 60, 40), frame);
        container->setBackgroundColour(Colour::fromPixel(0xff0000));
        child = new ProbeView(Rect(5, 5, 15, 15), 0x0000ff, &destroyed);
        container->addView(child);
        frame->addView(container);
    }
    void TearDown() override {
        if (frame) frame->forget();
    }

    EditorFrame* frame = nullptr;
    ViewContainer* container = nullptr;
    ProbeView* child = nullptr;
    int destroyed = 0;
};

TEST_F(Container, ComposesItsChildrenOverItsBackgroundAndCopiesThemOut) {
    PixelSurface& surface = frame->getSurface();
    {
        DrawContext context(frame, &surface, nullptr);
        container->draw(&context);
    }
    EXPECT_EQ(surface.at(20, 10), 0xff0000u); // the container's own corner
    EXPECT_EQ(surface.at(59, 39), 0xff0000u);
    EXPECT_EQ(surface.at(25, 15), 0x0000ffu); // the child at its place inside the container
    EXPECT_EQ(surface.at(34, 24), 0x0000ffu);
    EXPECT_EQ(surface.at(35, 25), 0xff0000u);
    EXPECT_EQ(surface.at(19, 9), 0u);  // outside: untouched
    EXPECT_EQ(surface.at(60, 40), 0u); // the copy is the container's size
}

TEST_F(Container, ChildrenBelongToTheContainerAndItsFrame) {
    EXPECT_EQ(child->getFrame(), frame);
    EXPECT_EQ(child->getParentView(), container);
    EXPECT_EQ(container->getViewCount(), 1);
    // Added before the container itself joined a frame.
    auto* loose = new ViewContainer(Rect(0, 0, 10, 10), nullptr);
    auto* inner = new ProbeView(Rect(0, 0, 2, 2));
    loose->addView(inner);
    EXPECT_EQ(inner->getFrame(), nullptr);
    frame->addView(loose);
    EXPECT_EQ(inner->getFrame(), frame);
}

TEST_F(Container, IsDirtyWhileAnyChildIs) {
    container->setDirty(false);
    child->setDirty(false);
    EXPECT_FALSE(container->isDirty());
    child->setDirty(true);
    EXPECT_TRUE(container->isDirty());
    EXPECT_TRUE(frame->isSomethingDirty());
}

TEST_F(Container, ModeZeroRedrawsEverythingOnceWhenDirty) {
    auto* second = new ProbeView(Rect(20, 5, 30, 15), 0x00ff00);
    container->addView(second);
    PixelSurface& surface = frame->getSurface();
    DrawContext context(frame, &surface, nullptr);
    container->update(&context);
    EXPECT_EQ(child->draws, 1);
    EXPECT_EQ(second->draws, 1);
    EXPECT_FALSE(container->isDirty());
    container->update(&context);
    EXPECT_EQ(child->draws, 1);
}

TEST_F(Container, ModeOneUpdatesOnlyDirtyChildrenOfACleanContainer) {
    auto* second = new ProbeView(Rect(20, 5, 30, 15), 0x00ff00);
    container->addView(second);
    container->setMode(1);
    PixelSurface& surface = frame->getSurface();
    DrawContext context(frame, &surface, nullptr);
    container->update(&context); // dirty itself: everything
    EXPECT_EQ(child->draws, 1);
    EXPECT_EQ(second->draws, 1);
    second->colour = 0x00ffff;
    second->setDirty(true);
    container->update(&context);
    EXPECT_EQ(child->draws, 1);
    EXPECT_EQ(second->draws, 2);
    EXPECT_EQ(surface.at(40, 15), 0x00ffffu);
    EXPECT_EQ(surface.at(25, 15), 0x0000ffu); // the rest kept in the offscreen
}

TEST_F(Container, OtherModesDoNotUpdate) {
    container->setMode(2);
    PixelSurface& surface = frame->getSurface();
    DrawContext context(frame, &surface, nullptr);
    container->update(&context);
    EXPECT_EQ(child->draws, 0);
}

TEST_F(Container, ClicksArriveInContainerCoordinates) {
    Point seenLocation(-1, -1);
    Point seenOffset(-1, -1);
    child->onMouse = [&](DrawContext* context, Point&) {
        context->getMouseLocation(seenLocation);
        seenOffset = context->getOffset();
    };
    platform.click(*window(), 30, 20);
    frame->idle();
    ASSERT_EQ(child->clicks.size(), 1u);
    EXPECT_EQ(child->clicks[0], Point(10, 10));
    EXPECT_EQ(seenLocation, Point(10, 10));
    EXPECT_EQ(seenOffset, Point(20, 10));
}

TEST_F(Container, ChildrenAreFoundByTheirMouseableAreaAndSkippedWhenDisabled) {
    child->setMouseableArea(Rect(0, 0, 2, 2));
    platform.click(*window(), 30, 20); // inside the child's size, outside its area
    frame->idle();
    EXPECT_TRUE(child->clicks.empty());
    platform.click(*window(), 22, 12);
    frame->idle();
    EXPECT_EQ(child->clicks.size(), 1u);
    child->setMouseEnabled(false);
    platform.click(*window(), 22, 12);
    frame->idle();
    EXPECT_EQ(child->clicks.size(), 1u);
}

TEST_F(Container, DropsAndTheWheelAreTranslatedToo) {
    child->acceptDrop = true;
    Point where(30, 20);
    EXPECT_TRUE(container->onDrop(nullptr, 1, 0, where));
    EXPECT_EQ(child->drops, 1);
    EXPECT_TRUE(container->onWheel(nullptr, Point(25, 15), 1.5f));
    ASSERT_EQ(child->wheelPoints.size(), 1u);
    EXPECT_EQ(child->wheelPoints[0], Point(5, 5));
    EXPECT_FALSE(container->onWheel(nullptr, Point(55, 35), 1.0f));
}

TEST_F(Container, FocusChangesReachEveryChild) {
    auto* second = new ProbeView(Rect(0, 0, 1, 1));
    container->addView(second);
    container->looseFocus(nullptr);
    EXPECT_EQ(child->focusLost, 1);
    EXPECT_EQ(second->focusLost, 1);
}

TEST_F(Container, ANewSizeRebuildsTheOffscreen) {
    container->setViewSize(Rect(0, 0, 80, 60));
    PixelSurface& surface = frame->getSurface();
    DrawContext context(frame, &surface, nullptr);
    container->draw(&context);
    EXPECT_EQ(surface.at(79, 59), 0xff0000u);
    EXPECT_EQ(surface.at(5, 5), 0x0000ffu);
}

TEST_F(Container, RemovingAndDestroyingForgetChildren) {
    auto* kept = new ProbeView(Rect(0, 0, 1, 1), 0, &destroyed);
    container->addView(kept);
    container->removeView(kept, false);
    EXPECT_FALSE(container->isChild(kept));
    EXPECT_EQ(destroyed, 0);
    kept->forget();
    EXPECT_EQ(destroyed, 1);
    frame->forget(); // forgets the container, which forgets its child
    frame = nullptr;
    EXPECT_EQ(destroyed, 2);
}

} // namespace
