// The corallis editor's drawing costs on the headless platform, with the real editor, knobs,
// displays, buttons and artwork: a full paint of the panel (an exposure of the whole window),
// the redraw of one knob and its display after a host change, and an idle call with nothing to
// redraw.
#include "gui/editor_frame.h"
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/headless/headless_window.h"
#include "plugins/corallis/corallis_editor.h"
#include "plugins/corallis/corallis_effect.h"

#include <benchmark/benchmark.h>

namespace {

intptr_t quietHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// An open corallis editor whose controls have had their first draw.
struct OpenEditor {
    OpenEditor() : scope(platform), effect(quietHost, createCorallisEditor) {
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
    CorallisEffect effect;
    EditorInterface* editor = nullptr;
    HeadlessWindow* window = nullptr;
};

void BM_CorallisFullPaint(benchmark::State& state) {
    OpenEditor open;
    for (auto _ : state) {
        open.window->exposeAll();
        open.editor->idle();
    }
    state.counters["presented"] =
        benchmark::Counter(static_cast<double>(open.window->presentedAreas().size()),
                           benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CorallisFullPaint);

void BM_CorallisKnobRedraw(benchmark::State& state) {
    OpenEditor open;
    float value = 0.2f;
    for (auto _ : state) {
        value = value == 0.2f ? 0.8f : 0.2f;
        open.effect.setParameter(1, value); // Depth1
        open.editor->idle();
    }
    // Every presented area lies inside the Depth1 knob (118, 29)-(154, 65) or its display
    // (109, 65)-(153, 77), edges included.
    for (const platform::Area& a : open.window->presentedAreas()) {
        const bool inKnob = a.left >= 118 && a.top >= 29 && a.right <= 155 && a.bottom <= 66;
        const bool inDisplay = a.left >= 109 && a.top >= 65 && a.right <= 154 && a.bottom <= 78;
        if (!inKnob && !inDisplay) {
            state.SkipWithError("presented outside the knob and its display");
            break;
        }
    }
    state.counters["presented"] =
        benchmark::Counter(static_cast<double>(open.window->presentedAreas().size()),
                           benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CorallisKnobRedraw);

void BM_CorallisIdleNothingDirty(benchmark::State& state) {
    OpenEditor open;
    for (auto _ : state)
        open.editor->idle();
    if (!open.window->presentedAreas().empty()) state.SkipWithError("an idle call presented");
}
BENCHMARK(BM_CorallisIdleNothingDirty);

} // namespace

BENCHMARK_MAIN();
