// The changed-pixel presenter on its own: what reaches the window for exposures, for changed
// and unchanged pixels, for queued areas beyond the queue's length, and without a window.
#include "gui/change_presenter.h"
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/headless/headless_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

bool operator==(const platform::Area& a, const platform::Area& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class Presenter : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.registerWindowClass("PresenterTest");
        platform::WindowSpec windowSpec;
        windowSpec.parent = reinterpret_cast<void*>(uintptr_t{0x4200001});
        windowSpec.width = 40;
        windowSpec.height = 30;
        windowSpec.className = "PresenterTest";
        owned = platform.createChildWindow(windowSpec);
        window = static_cast<HeadlessWindow*>(owned.get());
        ASSERT_NE(window, nullptr);
    }
    const std::vector<platform::Area>& sent() const { return window->presentedAreas(); }

    HeadlessPlatform platform;
    std::unique_ptr<platform::Window> owned;
    HeadlessWindow* window = nullptr;
    PixelSurface surface{40, 30};
    ChangePresenter presenter{40, 30};
};

TEST_F(Presenter, OnlyTheBoundingBoxOfChangedPixelsGoesOutAndOnlyOnce) {
    presenter.presentChanges(window, surface, Rect(0, 0, 40, 30));
    EXPECT_TRUE(sent().empty());

    surface.row(5)[7] = 0xff0000u;
    surface.row(9)[3] = 0x00ff00u;
    surface.row(20)[30] = 0x0000ffu; // outside the candidate: stays unsent
    presenter.presentChanges(window, surface, Rect(0, 0, 20, 15));
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_TRUE(sent()[0] == (platform::Area{3, 5, 8, 10}));
    EXPECT_EQ(window->screen().at(7, 5), 0xff0000u);

    presenter.presentChanges(window, surface, Rect(0, 0, 20, 15));
    EXPECT_EQ(sent().size(), 1u) << "pixels already shown are not sent again";
    presenter.presentChanges(window, surface, Rect(-5, -5, 100, 100));
    ASSERT_EQ(sent().size(), 2u);
    EXPECT_TRUE(sent()[1] == (platform::Area{30, 20, 31, 21}));
}

TEST_F(Presenter, ExposedAreasGoOutWholeClippedToThePicture) {
    presenter.presentExposed(window, surface, Rect(-3, 25, 10, 50));
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_TRUE(sent()[0] == (platform::Area{0, 25, 10, 30}));
    presenter.presentExposed(window, surface, Rect(50, 0, 60, 10));
    EXPECT_EQ(sent().size(), 1u);
}

TEST_F(Presenter, QueuedAreasBeyondTheLimitMergeIntoTheLast) {
    for (int32_t i = 0; i < ChangePresenter::kMaxAreas + 2; ++i) {
        surface.row(i)[i] = 0xffffffu;
        presenter.queue(Rect(i, i, i + 1, i + 1));
    }
    EXPECT_EQ(presenter.queuedCount(), ChangePresenter::kMaxAreas);
    presenter.flush(window, surface);
    EXPECT_EQ(presenter.queuedCount(), 0);
    ASSERT_EQ(sent().size(), size_t(ChangePresenter::kMaxAreas));
    // The last queued area covers pixels 15, 16 and 17 of the diagonal.
    EXPECT_TRUE(sent().back() == (platform::Area{15, 15, 18, 18}));
    for (int32_t i = 0; i < ChangePresenter::kMaxAreas + 2; ++i)
        EXPECT_EQ(window->screen().at(i, i), 0xffffffu) << i;
}

TEST_F(Presenter, PixelsCountAsShownOnlyOnceTheyReachedAWindow) {
    surface.row(1)[1] = 0x123456u;
    presenter.presentChanges(nullptr, surface, Rect(0, 0, 40, 30));
    presenter.presentChanges(window, surface, Rect(0, 0, 40, 30));
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_TRUE(sent()[0] == (platform::Area{1, 1, 2, 2}));

    // A picture of a new size shows nothing yet.
    presenter.queue(Rect(0, 0, 5, 5));
    presenter.resize(40, 30);
    EXPECT_EQ(presenter.queuedCount(), 0);
    presenter.presentChanges(window, surface, Rect(0, 0, 40, 30));
    EXPECT_EQ(sent().size(), 2u);
}

} // namespace
