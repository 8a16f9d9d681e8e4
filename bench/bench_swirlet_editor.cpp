// The swirlet editor's drawing costs: full paint, one knob's redraw after a host change (only
// knob 3, (184, 36)-(216, 66), may be presented) and an idle call with nothing to redraw.
#include "bench/editor_bench.h"
#include "plugins/swirlet/swirlet_editor.h"
#include "plugins/swirlet/swirlet_effect.h"

namespace {

void BM_SwirletFullPaint(benchmark::State& state) {
    benchFullPaint<SwirletEffect>(state, createSwirletEditor);
}
void BM_SwirletKnobRedraw(benchmark::State& state) {
    benchParameterRedraw<SwirletEffect>(state, createSwirletEditor, SwirletEffect::kDepthR,
                                        {{184, 36, 216, 66}});
}
void BM_SwirletIdleNothingDirty(benchmark::State& state) {
    benchIdleNothingDirty<SwirletEffect>(state, createSwirletEditor);
}

} // namespace

BENCHMARK(BM_SwirletFullPaint);
BENCHMARK(BM_SwirletKnobRedraw);
BENCHMARK(BM_SwirletIdleNothingDirty);

BENCHMARK_MAIN();
