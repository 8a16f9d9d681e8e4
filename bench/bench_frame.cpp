// Editor frame costs on the swirlet artwork through the headless platform: an idle call with
// nothing dirty, a full paint of a 432 x 89 panel with seven 32 x 30 strip frames, and the
// redraw of one strip view (drawn, compared with what the window shows, presented).
#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/editor_frame.h"
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/headless/headless_window.h"
#include "gui/view.h"

#include <benchmark/benchmark.h>

namespace {

// One frame of a 128-frame strip, chosen by value: the drawing a filmstrip knob does.
class StripView : public View {
  public:
    StripView(const Rect& size, Bitmap* strip) : View(size), strip(strip) {}
    void draw(DrawContext* context) override {
        const int32_t y = static_cast<int32_t>(value * 127.0f) * 30;
        strip->draw(context, size, Point(0, y));
        setDirty(false);
    }
    float value = 0.0f;

  private:
    Bitmap* strip;
};

struct Panel {
    Panel() : scope(platform) {
        background = new Bitmap(110);
        strip = new Bitmap(112);
        frame = new EditorFrame(Rect(0, 0, 432, 89), reinterpret_cast<void*>(1), nullptr);
        frame->setBackground(background);
        int32_t left = 27;
        for (int i = 0; i < 7; ++i) {
            views[i] = new StripView(Rect(left, 36, left + 32, 66), strip);
            frame->addView(views[i]);
            left += 51 + (i == 2 ? 4 : 0) + (i == 5 ? 19 : 0);
        }
        window = platform.lastWindow();
        frame->idle(); // the first paint
        frame->idle();
        window->clearPresented();
    }
    ~Panel() {
        frame->forget();
        background->forget();
        strip->forget();
    }

    HeadlessPlatform platform;
    HeadlessPlatform::Scope scope;
    Bitmap* background;
    Bitmap* strip;
    EditorFrame* frame;
    StripView* views[7];
    HeadlessWindow* window;
};

void BM_IdleNothingDirty(benchmark::State& state) {
    Panel panel;
    for (auto _ : state)
        panel.frame->idle();
    state.counters["presented"] = static_cast<double>(panel.window->presentedAreas().size());
}
BENCHMARK(BM_IdleNothingDirty);

void BM_FullPaint(benchmark::State& state) {
    Panel panel;
    for (auto _ : state) {
        panel.window->exposeAll();
        panel.frame->idle();
    }
    panel.window->clearPresented();
}
BENCHMARK(BM_FullPaint);

void BM_OneViewRedraw(benchmark::State& state) {
    Panel panel;
    float value = 0.0f;
    for (auto _ : state) {
        value = value < 0.5f ? 1.0f : 0.0f;
        panel.views[3]->value = value;
        panel.views[3]->setDirty(true);
        panel.frame->idle();
    }
    const auto& areas = panel.window->presentedAreas();
    state.counters["areas_per_call"] =
        static_cast<double>(areas.size()) / static_cast<double>(state.iterations());
    if (!areas.empty()) {
        state.counters["area_width"] = areas.back().right - areas.back().left;
        state.counters["area_height"] = areas.back().bottom - areas.back().top;
    }
}
BENCHMARK(BM_OneViewRedraw);

} // namespace

BENCHMARK_MAIN();
