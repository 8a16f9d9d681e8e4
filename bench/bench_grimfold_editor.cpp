// The grimfold editor's drawing costs on the headless platform, with the real editor, controls
// and artwork: a full paint of the panel (an exposure of the whole window), the redraw of one
// knob and its display after a host change, and an idle call with nothing to redraw.
#include "gui/editor_frame.h"
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/headless/headless_window.h"
#include "plugins/grimfold/grimfold_editor.h"
#include "plugins/grimfold/grimfold_effect.h"

#include <benchmark/benchmark.h>

namespace {

intptr_t quietHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// An open grimfold editor whose controls have had their first draw.
struct OpenEditor {
    OpenEditor() : scope(platform), effect(quietHost, createGrimfoldEditor) {
        editor = effect.getEditor();
        editor->open(reinterpret_cast<void*>(uintptr_t{0x4200001}));
        window = platform.lastWindow();
        editor->idle(); // the first full paint
        editor->idle(); // the controls' own first draw
        window->clearPresented();
    }
    ~OpenEditor() { editor->close(); }

    HeadlessPlatform platform;
    HeadlessPlatform::Scope scope;
    GrimfoldEffect effect;
    EditorInterface* editor = nullptr;
    HeadlessWindow* window = nullptr;
};

void BM_GrimfoldFullPaint(benchmark::State& state) {
    OpenEditor open;
    for (auto _ : state) {
        open.window->exposeAll();
        open.editor->idle();
    }
    state.counters["presented"] =
        benchmark::Counter(static_cast<double>(open.window->presentedAreas().size()),
                           benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_GrimfoldFullPaint);

// Post-Gain (knob 1, the last of its group): its knob (64, 29)-(100, 65) and its display
// (61, 65)-(103, 77), edges included, are all that may be presented.
void BM_GrimfoldKnobRedraw(benchmark::State& state) {
    OpenEditor open;
    float value = 0.2f;
    for (auto _ : state) {
        value = value == 0.2f ? 0.8f : 0.2f;
        open.effect.setParameter(GrimfoldEffect::kPostGain, value);
        open.editor->idle();
    }
    for (const platform::Area& a : open.window->presentedAreas())
        if (a.left < 61 || a.top < 29 || a.right > 104 || a.bottom > 78) {
            state.SkipWithError("presented outside the knob and its display");
            break;
        }
    state.counters["presented"] =
        benchmark::Counter(static_cast<double>(open.window->presentedAreas().size()),
                           benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_GrimfoldKnobRedraw);

void BM_GrimfoldIdleNothingDirty(benchmark::State& state) {
    OpenEditor open;
    for (auto _ : state)
        open.editor->idle();
    if (!open.window->presentedAreas().empty()) state.SkipWithError("an idle call presented");
}
BENCHMARK(BM_GrimfoldIdleNothingDirty);

} // namespace

BENCHMARK_MAIN();
