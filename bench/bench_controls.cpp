// Slider costs on the headless platform over the swirlet panel: one drag step (the slider's
// new value composed off screen, copied to the picture and only its changed pixels
// presented), a whole 100-move drag through the slider's own tracking loop and the editor's
// idle pump, and an idle call with nothing dirty, which must draw and present nothing. Built
// once per toolkit variant (bench_controls, bench_controls_newer): the newer one keeps the
// slider's offscreen between draws.
#include "frame/effect_base.h"
#include "gui/bitmap.h"
#include "gui/editor_base.h"
#include "gui/editor_frame.h"
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/headless/headless_window.h"
#include "gui/sliders.h"

#include <benchmark/benchmark.h>

namespace {

intptr_t quietHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

class BenchEffect : public EffectBase {
  public:
    BenchEffect() : EffectBase(quietHost, 1, 1) {}
    void process(float**, float**, int32_t) override {}
};

// The swirlet panel (110) with one vertical slider over its right end: a 32 x 81 strip of the
// panel as its background and the 6 x 4 test handle (302), wired to parameter 0.
class SliderEditor : public EditorBase, public ControlListener {
  public:
    explicit SliderEditor(EffectBase* owner) : EditorBase(owner) {
        rect.top = 0;
        rect.left = 0;
        rect.bottom = 89;
        rect.right = 432;
    }
    ~SliderEditor() override { close(); }

    int32_t open(void* parentWindow) override {
        EditorBase::open(parentWindow);
        frame = new EditorFrame(Rect(0, 0, 432, 89), parentWindow, this);
        auto* panel = new Bitmap(110);
        auto* handle = new Bitmap(302);
        frame->setBackground(panel);
        slider = new VerticalSlider(kSliderRect, this, 0, kSliderRect.top,
                                    kSliderRect.bottom - handle->getHeight(), handle, panel,
                                    kSliderRect.getTopLeft(), SliderValueUp);
        frame->addView(slider);
        panel->forget();
        handle->forget();
        return 1;
    }
    void close() override { releaseFrame(); }
    void valueChanged(DrawContext*, Control* control) override {
        getEffect()->automateParameter(control->getTag(), control->getValue());
    }

    static constexpr Rect kSliderRect{396, 4, 428, 85};
    VerticalSlider* slider = nullptr;
};

struct OpenSlider {
    // The effect owns its editor and deletes it.
    OpenSlider() : scope(platform), editor(*new SliderEditor(&effect)) {
        editor.open(reinterpret_cast<void*>(uintptr_t{0x4300001}));
        window = platform.lastWindow();
        editor.idle(); // the first full paint
        editor.idle(); // the slider's own first draw
        window->clearPresented();
    }

    HeadlessPlatform platform;
    HeadlessPlatform::Scope scope;
    BenchEffect effect;
    SliderEditor& editor;
    HeadlessWindow* window = nullptr;
};

// One step of a drag as the user sees it: a new value, the slider redrawn at the next idle
// and the changed pixels shown.
void BM_SliderDragStep(benchmark::State& state) {
    OpenSlider open;
    float value = 0.25f;
    for (auto _ : state) {
        value = value == 0.25f ? 0.75f : 0.25f;
        open.editor.slider->setValue(value);
        open.editor.idle();
    }
    const Rect r = SliderEditor::kSliderRect;
    for (const platform::Area& a : open.window->presentedAreas())
        if (a.left < r.left || a.top < r.top || a.right > r.right || a.bottom > r.bottom) {
            state.SkipWithError("presented outside the slider");
            break;
        }
    state.counters["presented"] =
        benchmark::Counter(static_cast<double>(open.window->presentedAreas().size()),
                           benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SliderDragStep);

// A press and 100 moves through the slider's tracking loop (value, report, automation, idle
// pump redraws); the rate is moves per second.
void BM_SliderDrag100Moves(benchmark::State& state) {
    OpenSlider open;
    const Rect r = SliderEditor::kSliderRect;
    const int32_t x = r.left + 3;
    for (auto _ : state) {
        open.platform.drag(*open.window, x, r.top + 2, x, r.bottom - 2, 100);
        open.editor.idle();
    }
    state.SetItemsProcessed(state.iterations() * 100);
    state.counters["presented"] =
        benchmark::Counter(static_cast<double>(open.window->presentedAreas().size()),
                           benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SliderDrag100Moves);

void BM_SliderIdleNothingDirty(benchmark::State& state) {
    OpenSlider open;
    const int32_t builds = open.editor.slider->getComposerBuilds();
    for (auto _ : state)
        open.editor.idle();
    if (!open.window->presentedAreas().empty()) state.SkipWithError("idle presented something");
    if (open.editor.slider->getComposerBuilds() != builds) state.SkipWithError("idle drew");
}
BENCHMARK(BM_SliderIdleNothingDirty);

} // namespace

BENCHMARK_MAIN();
