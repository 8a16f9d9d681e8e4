// The swirlet editor's drawing costs on the headless platform, with the real editor, knobs and
// artwork: a full paint of the panel (an exposure of the whole window), the redraw of one knob
// after a host change, and an idle call with nothing to redraw.
#include "gui/editor_frame.h"
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/headless/headless_window.h"
#include "plugins/swirlet/swirlet_editor.h"
#include "plugins/swirlet/swirlet_effect.h"

#include <benchmark/benchmark.h>

namespace {

intptr_t quietHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// An open swirlet editor whose knobs have had their first draw.
struct OpenEditor {
    OpenEditor() : scope(platform), effect(quietHost, createSwirletEditor) {
        editor = effect.getEditor();
        editor->open(reinterpret_cast<void*>(uintptr_t{0x4200001}));
        window = platform.lastWindow();
        editor->idle(); // the first full paint
        editor->idle(); // the knobs' own first draw
        window->clearPresented();
    }
    ~OpenEditor() { editor->close(); }

    HeadlessPlatform platform;
    HeadlessPlatform::Scope scope;
    SwirletEffect effect;
    EditorInterface* editor = nullptr;
    HeadlessWindow* window = nullptr;
};

void BM_SwirletFullPaint(benchmark::State& state) {
    OpenEditor open;
    for (auto _ : state) {
        open.window->exposeAll();
        open.editor->idle();
    }
    state.counters["presented"] =
        benchmark::Counter(static_cast<double>(open.window->presentedAreas().size()),
                           benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SwirletFullPaint);

void BM_SwirletKnobRedraw(benchmark::State& state) {
    OpenEditor open;
    float value = 0.2f;
    for (auto _ : state) {
        value = value == 0.2f ? 0.8f : 0.2f;
        open.effect.setParameter(SwirletEffect::kDepthR, value);
        open.editor->idle();
    }
    // Every presented area lies inside knob 3 (184, 36)-(216, 66), edges included.
    for (const platform::Area& a : open.window->presentedAreas())
        if (a.left < 184 || a.top < 36 || a.right > 217 || a.bottom > 67) {
            state.SkipWithError("presented outside the knob");
            break;
        }
    state.counters["presented"] =
        benchmark::Counter(static_cast<double>(open.window->presentedAreas().size()),
                           benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SwirletKnobRedraw);

void BM_SwirletIdleNothingDirty(benchmark::State& state) {
    OpenEditor open;
    for (auto _ : state)
        open.editor->idle();
    if (!open.window->presentedAreas().empty()) state.SkipWithError("an idle call presented");
}
BENCHMARK(BM_SwirletIdleNothingDirty);

} // namespace

BENCHMARK_MAIN();
