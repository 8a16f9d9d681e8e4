// The tloom editor's drawing costs on the headless platform, with the real editor, controls and
// artwork: a full paint of the panel (an exposure of the whole window), the redraw of one knob
// and its display after a host change, and an idle call with nothing to redraw.
#include "gui/editor_frame.h"
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/headless/headless_window.h"
#include "plugins/tloom/tloom_editor.h"
#include "plugins/tloom/tloom_effect.h"

#include <benchmark/benchmark.h>

namespace {

intptr_t quietHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// An open tloom editor whose controls have had their first draw.
struct OpenEditor {
    OpenEditor() : scope(platform), effect(quietHost, createTloomEditor) {
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
    TloomEffect effect;
    EditorInterface* editor = nullptr;
    HeadlessWindow* window = nullptr;
};

void presentedCounter(benchmark::State& state, const OpenEditor& open) {
    state.counters["presented"] =
        benchmark::Counter(static_cast<double>(open.window->presentedAreas().size()),
                           benchmark::Counter::kAvgIterations);
}

void BM_TloomFullPaint(benchmark::State& state) {
    OpenEditor open;
    for (auto _ : state) {
        open.window->exposeAll();
        open.editor->idle();
    }
    presentedCounter(state, open);
}
BENCHMARK(BM_TloomFullPaint);

void BM_TloomKnobRedraw(benchmark::State& state) {
    OpenEditor open;
    float value = 0.2f;
    for (auto _ : state) {
        value = value == 0.2f ? 0.8f : 0.2f;
        open.effect.setParameter(TloomEffect::kCutoff, value);
        open.editor->idle();
    }
    // Every presented area lies inside the Cutoff knob (324, 34)-(356, 64) or its display
    // (325, 74)-(353, 86), edges included.
    for (const platform::Area& a : open.window->presentedAreas()) {
        const bool inKnob = a.left >= 324 && a.top >= 34 && a.right <= 357 && a.bottom <= 65;
        const bool inDisplay = a.left >= 325 && a.top >= 74 && a.right <= 354 && a.bottom <= 87;
        if (!inKnob && !inDisplay) {
            state.SkipWithError("presented outside the knob and its display");
            break;
        }
    }
    presentedCounter(state, open);
}
BENCHMARK(BM_TloomKnobRedraw);

void BM_TloomIdleNothingDirty(benchmark::State& state) {
    OpenEditor open;
    for (auto _ : state)
        open.editor->idle();
    if (!open.window->presentedAreas().empty()) state.SkipWithError("an idle call presented");
}
BENCHMARK(BM_TloomIdleNothingDirty);

} // namespace

BENCHMARK_MAIN();
