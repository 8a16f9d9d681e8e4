// Test doubles for the view and frame tests: a view that records what the frame asks of it
// and paints its rectangle in one colour, an effect whose host callback records the requests
// the editor makes, and an editor that opens a frame over a fixed size.
#pragma once

#include "frame/effect_base.h"
#include "gui/draw_context.h"
#include "gui/editor_base.h"
#include "gui/editor_frame.h"
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/headless/headless_window.h"
#include "gui/view.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace frame_test {

// Everything the host callback saw, process-wide (the tests run one at a time).
struct HostLog {
    std::vector<int32_t> opcodes;
    std::vector<int32_t> indices;
    std::function<void()> onIdle; // runs inside audioMasterIdle, when set

    int count(int32_t opcode) const {
        int n = 0;
        for (int32_t seen : opcodes)
            n += seen == opcode ? 1 : 0;
        return n;
    }
    void clear() {
        opcodes.clear();
        indices.clear();
        onIdle = nullptr;
    }
};
HostLog& hostLog();
intptr_t recordingHost(AEffect*, int32_t opcode, int32_t index, intptr_t, void*, float);

class TestEffect : public EffectBase {
  public:
    TestEffect() : EffectBase(recordingHost, 1, 4) {}
    void process(float**, float**, int32_t) override {}
};

// A view painted in `colour` over [left, right) x [top, bottom) of its size.
class ProbeView : public View {
  public:
    explicit ProbeView(const Rect& size, uint32_t colour = 0x3366cc, int* destroyed = nullptr)
        : View(size), colour(colour), destroyed(destroyed) {}
    ~ProbeView() override {
        if (destroyed) ++*destroyed;
    }

    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point& where) override;
    bool onWheel(DrawContext* context, const Point& where, float distance) override;
    bool onDrop(void** items, int32_t count, int32_t type, Point& where) override;
    void looseFocus(DrawContext* context) override;
#if TOOLKIT_NEWER
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    int32_t onKeyUp(VstKeyCode& keyCode) override;
    bool removed(View* parent) override;
    bool attached(View* parent) override;
#endif

    uint32_t colour;
    int draws = 0;
    std::vector<Point> clicks;
    std::vector<Point> wheelPoints;
    float wheelDistance = 0.0f;
    bool acceptDrop = false;
    int drops = 0;
    int focusLost = 0;
    int32_t keyAnswer = -1;
    int keysSeen = 0;
#if TOOLKIT_NEWER
    std::vector<VstKeyCode> keysDown; // the records onKeyDown was given, in order
#endif
    int attachCalls = 0;
    int removeCalls = 0;
    std::function<void(DrawContext*, Point&)> onMouse; // replaces the plain recording

  private:
    int* destroyed;
};

// The frame's editor: opens a frame of `size` inside the given window.
class TestEditor : public EditorBase {
  public:
    explicit TestEditor(EffectBase* effect, const Rect& size = Rect(0, 0, 200, 100))
        : EditorBase(effect), frameSize(size) {
        rect.top = 0;
        rect.left = 0;
        rect.bottom = static_cast<int16_t>(size.getHeight());
        rect.right = static_cast<int16_t>(size.getWidth());
    }
    ~TestEditor() override { close(); }

    int32_t open(void* parentWindow) override;
    void close() override { releaseFrame(); }
    void update() override { ++updates; }

    // idle() as the dispatcher calls it, for tests that count redraws.
    uint32_t lastServiceTicks() const { return idleTicks; }

    Rect frameSize;
    int updates = 0;
};

// A headless platform installed for one test, with the window of the last frame at hand.
class HeadlessFixture {
  public:
    HeadlessFixture() : scope(platform) { hostLog().clear(); }
    HeadlessWindow* window() const { return platform.lastWindow(); }

    HeadlessPlatform platform;
    HeadlessPlatform::Scope scope;
};

inline void* fakeParent() {
    return reinterpret_cast<void*>(uintptr_t{0x4000001});
}

// A test editor of the given size on a fresh test effect, open on the headless platform and
// painted once. The effect, and with it the editor, goes at TearDown, before the derived
// fixture's members (the controls' listeners among them).
class OpenEditorFixture : public ::testing::Test, public HeadlessFixture {
  protected:
    void TearDown() override {
        delete effect;
        effect = nullptr;
    }
    // False when the editor did not open.
    bool openEditor(const Rect& size) {
        effect = new TestEffect;
        editor = new TestEditor(effect, size);
        if (editor->open(fakeParent()) != 1) return false;
        frame = editor->getFrame();
        frame->idle(); // the first paint
        return true;
    }

    TestEffect* effect = nullptr;
    TestEditor* editor = nullptr;
    EditorFrame* frame = nullptr;
};

} // namespace frame_test
