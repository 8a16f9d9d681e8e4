// Shared pieces of the bitmap control tests: the test images of make_fixtures.py, reading
// back which strip row a pixel shows, a listener that records reports, and a 200 x 200 editor
// on the headless platform that the controls are pressed and dragged in.
#pragma once

#include "gui/bitmap.h"
#include "gui/control.h"
#include "gui/draw_context.h"
#include "gui/platform/pixel_surface.h"
#include "tests/gui/frame/frame_test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace control_test {

using namespace frame_test;

// 301: 40 x 250, every pixel of row y is (y, 0x40, 0x80).
inline constexpr int32_t kRowsId = 301;
// 302: a 6 x 4 handle in kHandlePixel, its top-left pixel white (the key colour).
inline constexpr int32_t kHandleId = 302;
inline constexpr uint32_t kHandlePixel = 0x20C040u;
// 303: 40 x 250 in kOffPixel.
inline constexpr int32_t kOffId = 303;
inline constexpr uint32_t kOffPixel = 0x102030u;
inline constexpr uint32_t kPaper = 0x777777u; // what a test surface starts as

// The strip row that pixel (x, y) of `surface` shows, or -1 when it shows no strip row.
inline int32_t rowAt(const PixelSurface& surface, int32_t x, int32_t y) {
    const uint32_t pixel = surface.row(y)[x] & 0xFFFFFFu;
    if ((pixel & 0xFFFFu) != 0x4080u) return -1;
    return static_cast<int32_t>(pixel >> 16);
}

inline uint32_t pixelAt(const PixelSurface& surface, int32_t x, int32_t y) {
    return surface.row(y)[x] & 0xFFFFFFu;
}

// Records every report. With `redraw` it also draws the control at once, as an editor may do,
// so that what was reported last is what is drawn and the report sequence does not depend on
// when the idle pump redraws.
struct Recorder : ControlListener {
    void valueChanged(DrawContext* context, Control* control) override {
        values.push_back(control->getValue());
        withContext += context ? 1 : 0;
        if (redraw && context) control->update(context);
    }
    std::vector<float> values;
    int withContext = 0;
    bool redraw = false;
};

// A bitmap of the embedded table, released with the holder.
struct Image {
    explicit Image(int32_t id) : bitmap(new Bitmap(id)) {}
    ~Image() { bitmap->forget(); }
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    Bitmap* operator->() const { return bitmap; }
    operator Bitmap*() const { return bitmap; }
    Bitmap* bitmap;
};

// Draws `control` into a paper-coloured surface without a frame.
inline PixelSurface drawn(Control& control, int32_t width = 200, int32_t height = 260) {
    PixelSurface surface(width, height, kPaper);
    DrawContext context(nullptr, &surface, nullptr);
    control.draw(&context);
    return surface;
}

constexpr uint32_t kLeft = platform::kButtonLeft;
constexpr uint32_t kShift = platform::kModShift;
constexpr uint32_t kControl = platform::kModControl;

// An open 200 x 260 editor on the headless platform; controls are added with add().
class ControlFixture : public OpenEditorFixture {
  protected:
    void SetUp() override {
        ASSERT_TRUE(openEditor(Rect(0, 0, 200, 260)));
        hostLog().clear();
    }

    template <class C> C* add(C* control, float value = 0.0f) {
        EXPECT_TRUE(frame->addView(control));
        control->setValue(value);
        control->setDirty(false);
        return control;
    }
    void click(int32_t x, int32_t y, uint32_t modifiers = 0) {
        platform.click(*window(), x, y, modifiers);
        frame->idle();
    }
    void drag(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t moves,
              uint32_t modifiers = 0) {
        platform.drag(*window(), x0, y0, x1, y1, moves, modifiers);
        frame->idle();
    }
    // A press at the first step's position, then the steps as the pointer's script. The press
    // reads the first step's buttons and the first pass of a drag loop the second's, at the
    // press position: the second step's own position is not seen.
    void run(const std::vector<HeadlessPlatform::Step>& steps) {
        window()->queuePress(steps.front().x, steps.front().y);
        platform.script(steps);
        frame->idle();
    }
    // Presses `control` outside any frame (no gesture, no idle pump drawing it meanwhile) with
    // the pointer following `steps` (window coordinates), as the frame would hand it the press.
    void pressDirectly(Control& control, std::vector<HeadlessPlatform::Step> steps) {
        int32_t x = 0, y = 0;
        window()->screenOrigin(x, y);
        for (auto& step : steps) {
            step.x += x;
            step.y += y;
        }
        const Point where(steps.front().x - x, steps.front().y - y);
        platform.script(steps);
        PixelSurface surface(200, 260, kPaper);
        DrawContext context(nullptr, &surface, frame->getPointerSource());
        Point at = where;
        control.mouse(&context, at);
    }
    int gestures() const { return hostLog().count(audioMasterBeginEdit); }
    // Every begin has its end, and the gestures are about `tag`.
    void expectGestures(int count, int32_t tag) {
        EXPECT_EQ(hostLog().count(audioMasterBeginEdit), count);
        EXPECT_EQ(hostLog().count(audioMasterEndEdit), count);
        for (size_t i = 0; i < hostLog().opcodes.size(); ++i) {
            if (hostLog().opcodes[i] == audioMasterBeginEdit ||
                hostLog().opcodes[i] == audioMasterEndEdit) {
                EXPECT_EQ(hostLog().indices[i], tag);
            }
        }
    }
    const PixelSurface& picture() { return frame->getSurface(); }

    Recorder recorder;
};

} // namespace control_test
