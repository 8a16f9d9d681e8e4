// The headless platform: scripted clock and pointer, window event queue, presentation record.
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/headless/headless_window.h"
#include "gui/platform/pixel_surface.h"
#include "tests/gui/platform/recording_listener.h"

#include <gtest/gtest.h>

namespace {

class HeadlessTest : public ::testing::Test {
  protected:
    void SetUp() override { platform.registerWindowClass("TestClass"); }

    std::unique_ptr<platform::Window> makeWindow(int32_t width = 100, int32_t height = 50) {
        platform::WindowSpec windowSpec;
        windowSpec.parent = reinterpret_cast<void*>(0x1234);
        windowSpec.width = width;
        windowSpec.height = height;
        windowSpec.className = "TestClass";
        windowSpec.title = "Window";
        windowSpec.listener = &listener;
        return platform.createChildWindow(windowSpec);
    }
    static HeadlessWindow& headless(const std::unique_ptr<platform::Window>& window) {
        return static_cast<HeadlessWindow&>(*window);
    }

    HeadlessPlatform platform;
    RecordingListener listener;
};

TEST_F(HeadlessTest, SleepMovesTheClockAndIsCounted) {
    platform.setTicks(500);
    platform.sleep(4);
    platform.sleep(6);
    platform.advance(90);
    EXPECT_EQ(platform.ticks(), 600u);
    EXPECT_EQ(platform.totalSlept(), 10u);
    EXPECT_EQ(platform.sleepCount(), 2);
}

TEST_F(HeadlessTest, ScopeInstallsAndRestoresTheCurrentPlatform) {
    platform::Platform* before = &platform::current();
    {
        HeadlessPlatform::Scope scope(platform);
        EXPECT_EQ(&platform::current(), &platform);
    }
    EXPECT_EQ(&platform::current(), before);
    EXPECT_NE(&platform::current(), &platform);
}

TEST_F(HeadlessTest, WindowsNeedAParentAndARegisteredClass) {
    platform::WindowSpec windowSpec;
    windowSpec.width = 10;
    windowSpec.height = 10;
    windowSpec.className = "TestClass";
    EXPECT_EQ(platform.createChildWindow(windowSpec), nullptr); // no parent
    windowSpec.parent = reinterpret_cast<void*>(1);
    windowSpec.className = "Unknown";
    EXPECT_EQ(platform.createChildWindow(windowSpec), nullptr);
    platform.setRefuseWindows(true);
    EXPECT_EQ(makeWindow(), nullptr);
    platform.setRefuseWindows(false);
    auto window = makeWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(platform.lastWindow(), window.get());
    EXPECT_EQ(headless(window).className, "TestClass");
    window.reset();
    EXPECT_EQ(platform.lastWindow(), nullptr);
}

TEST_F(HeadlessTest, ClassRegistrationsAreCounted) {
    EXPECT_TRUE(platform.hasClass("TestClass"));
    platform.unregisterWindowClass("TestClass");
    EXPECT_FALSE(platform.hasClass("TestClass"));
    platform.unregisterWindowClass("TestClass"); // not registered any more: no effect
    EXPECT_EQ(platform.classRegistrations(), 1);
    EXPECT_EQ(platform.classUnregistrations(), 1);
}

TEST_F(HeadlessTest, ScriptStepsAreTakenByButtonReads) {
    auto window = makeWindow();
    platform.script({{10, 20, platform::kButtonLeft, 2},
                     {30, 40, platform::kButtonLeft | platform::kModShift, 1}});
    platform::PointerPosition position;
    ASSERT_TRUE(window->pointerPosition(position));
    EXPECT_EQ(position.windowX, 10);
    EXPECT_EQ(window->pointerButtons(), platform::kButtonLeft);
    // The first step lasts two reads; reading the position does not use one up.
    window->pointerPosition(position);
    EXPECT_EQ(position.windowX, 10);
    EXPECT_EQ(window->pointerButtons(), platform::kButtonLeft);
    // Now the position shows the step the next buttons read answers.
    window->pointerPosition(position);
    EXPECT_EQ(position.windowX, 30);
    EXPECT_EQ(position.windowY, 40);
    EXPECT_EQ(window->pointerButtons(), platform::kButtonLeft | platform::kModShift);
    // Script over: released at the last position, modifiers still held.
    EXPECT_TRUE(platform.scriptDone());
    EXPECT_EQ(window->pointerButtons(), platform::kModShift);
    window->pointerPosition(position);
    EXPECT_EQ(position.windowX, 30);
    EXPECT_EQ(platform.buttonReads(), 4);
}

TEST_F(HeadlessTest, PositionsAreScreenCoordinatesLessTheWindowOrigin) {
    auto window = makeWindow();
    headless(window).setScreenOrigin(200, 100);
    platform.setPointer(215, 130);
    platform::PointerPosition position;
    ASSERT_TRUE(window->pointerPosition(position));
    EXPECT_EQ(position.screenX, 215);
    EXPECT_EQ(position.windowX, 15);
    EXPECT_EQ(position.windowY, 30);
    int32_t x = 0, y = 0;
    EXPECT_TRUE(window->screenOrigin(x, y));
    EXPECT_EQ(x, 200);
    EXPECT_EQ(y, 100);
}

TEST_F(HeadlessTest, DragScriptsEveryPositionWithTheButtonThenTheRelease) {
    auto window = makeWindow();
    platform.drag(headless(window), 0, 0, 30, -60, 3, platform::kModAlt);
    ASSERT_EQ(headless(window).pendingEvents(), 2u); // the creation exposure and the press
    const int32_t expectedX[] = {0, 10, 20, 30, 30};
    const int32_t expectedY[] = {0, -20, -40, -60, -60};
    for (int i = 0; i < 5; ++i) {
        platform::PointerPosition position;
        window->pointerPosition(position);
        EXPECT_EQ(position.windowX, expectedX[i]) << i;
        EXPECT_EQ(position.windowY, expectedY[i]) << i;
        const uint32_t expected = i < 4 ? (platform::kButtonLeft | platform::kModAlt)
                                        : static_cast<uint32_t>(platform::kModAlt);
        EXPECT_EQ(window->pointerButtons(), expected) << i;
    }
}

TEST_F(HeadlessTest, ExposuresMergeIntoOnePaintAfterTheQueueDrains) {
    platform.setExposeOnCreate(false);
    auto window = makeWindow();
    headless(window).expose({10, 10, 20, 20});
    headless(window).expose({5, 15, 12, 40});
    headless(window).expose({0, 0, 0, 0}); // empty: ignored
    window->processEvents(platform::EventFilter::All);
    ASSERT_EQ(listener.paints.size(), 1u);
    EXPECT_EQ(listener.paints[0].left, 5);
    EXPECT_EQ(listener.paints[0].top, 10);
    EXPECT_EQ(listener.paints[0].right, 20);
    EXPECT_EQ(listener.paints[0].bottom, 40);
    window->processEvents(platform::EventFilter::All);
    EXPECT_EQ(listener.paints.size(), 1u);
}

TEST_F(HeadlessTest, NewWindowsStartWithAWholeExposure) {
    auto window = makeWindow(64, 32);
    window->processEvents(platform::EventFilter::All);
    ASSERT_EQ(listener.paints.size(), 1u);
    EXPECT_EQ(listener.paints[0].right, 64);
    EXPECT_EQ(listener.paints[0].bottom, 32);
}

TEST_F(HeadlessTest, PressesComeInOrderAfterThePaintBeforeThem) {
    platform.setExposeOnCreate(false);
    auto window = makeWindow();
    headless(window).expose({0, 0, 5, 5});
    headless(window).queuePress(3, 4);
    headless(window).queuePress(7, 8);
    window->processEvents(platform::EventFilter::All);
    ASSERT_EQ(listener.order.size(), 3u);
    EXPECT_EQ(listener.order[0], "paint");
    EXPECT_EQ(listener.order[1], "press");
    EXPECT_EQ(listener.presses[0].x, 3);
    EXPECT_EQ(listener.presses[1].y, 8);
}

TEST_F(HeadlessTest, PaintOnlyPassesLeavePressesQueued) {
    platform.setExposeOnCreate(false);
    auto window = makeWindow();
    headless(window).queuePress(1, 1);
    headless(window).expose({0, 0, 5, 5});
    window->processEvents(platform::EventFilter::PaintOnly);
    EXPECT_EQ(listener.paints.size(), 1u);
    EXPECT_TRUE(listener.presses.empty());
    window->processEvents(platform::EventFilter::All);
    EXPECT_EQ(listener.presses.size(), 1u);
}

TEST_F(HeadlessTest, APressDeliveredMeanwhileDoesNotRunTwice) {
    platform.setExposeOnCreate(false);
    auto window = makeWindow();
    headless(window).queuePress(1, 1);
    headless(window).queuePress(2, 2);
    // The first press's handler runs a nested paint pass, as a tracking loop does.
    listener.onPress = [&] { window->processEvents(platform::EventFilter::PaintOnly); };
    window->processEvents(platform::EventFilter::All);
    ASSERT_EQ(listener.presses.size(), 2u);
    EXPECT_EQ(listener.presses[1].x, 2);
}

TEST_F(HeadlessTest, QueuedPressesBecomeVisibleAtTheirTick) {
    auto window = makeWindow();
    platform.setTicks(1000);
    headless(window).queuePress(5, 5, 1200);
    EXPECT_FALSE(window->takeLeftButtonPress());
    platform.advance(199);
    EXPECT_FALSE(window->takeLeftButtonPress());
    platform.advance(1);
    EXPECT_TRUE(window->takeLeftButtonPress());
    EXPECT_EQ(window->lastPressTime(), 1200u);
    EXPECT_FALSE(window->takeLeftButtonPress());
}

TEST_F(HeadlessTest, ADestroyedWindowReportsOnceAndAnswersNothing) {
    auto window = makeWindow();
    headless(window).destroyByHost();
    window->processEvents(platform::EventFilter::All);
    window->processEvents(platform::EventFilter::All);
    EXPECT_EQ(listener.destroyed, 1);
    EXPECT_FALSE(window->isUsable());
    EXPECT_EQ(window->pointerButtons(), 0u);
    PixelSurface surface(100, 50, 0x123456);
    window->present(surface, {0, 0, 10, 10});
    EXPECT_TRUE(headless(window).presentedAreas().empty());
}

TEST_F(HeadlessTest, PresentedAreasAreClippedRecordedAndShown) {
    auto window = makeWindow(100, 50);
    PixelSurface surface(100, 50, 0x00ff00);
    surface.row(3)[4] = 0xabcdef;
    window->present(surface, {-5, -5, 10, 10});
    window->present(surface, {90, 40, 300, 300});
    window->present(surface, {20, 20, 20, 30}); // empty
    const auto& areas = headless(window).presentedAreas();
    ASSERT_EQ(areas.size(), 2u);
    EXPECT_EQ(areas[0].left, 0);
    EXPECT_EQ(areas[0].right, 10);
    EXPECT_EQ(areas[1].right, 100);
    EXPECT_EQ(areas[1].bottom, 50);
    EXPECT_EQ(headless(window).screen().at(4, 3), 0xabcdefu);
    EXPECT_EQ(headless(window).screen().at(50, 25), 0u); // never presented
}

TEST_F(HeadlessTest, CursorTypesOutsideTheSetAreIgnored) {
    auto window = makeWindow();
    window->setCursor(platform::kCursorSizeWE);
    window->setCursor(7);
    window->setCursor(-1);
    EXPECT_EQ(window->getCursor(), platform::kCursorSizeWE);
    EXPECT_EQ(headless(window).cursorChanges(), 1);
}

TEST_F(HeadlessTest, WindowsOutlivingThePlatformAreGoneAndSafe) {
    auto* orphanPlatform = new HeadlessPlatform;
    orphanPlatform->registerWindowClass("C");
    platform::WindowSpec windowSpec;
    windowSpec.parent = reinterpret_cast<void*>(1);
    windowSpec.width = windowSpec.height = 4;
    windowSpec.className = "C";
    windowSpec.listener = &listener;
    auto window = orphanPlatform->createChildWindow(windowSpec);
    ASSERT_NE(window, nullptr);
    delete orphanPlatform;
    window->processEvents(platform::EventFilter::All);
    EXPECT_EQ(listener.destroyed, 1);
    EXPECT_EQ(window->pointerButtons(), 0u);
    window.reset();
}

} // namespace
