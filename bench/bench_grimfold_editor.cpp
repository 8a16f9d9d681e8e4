// The grimfold editor's drawing costs: full paint, the redraw of Post-Gain (the last knob of
// its group) after a host change, where its knob (64, 29)-(100, 65) and display
// (61, 65)-(103, 77) are all that may be presented, and an idle call with nothing to redraw.
#include "bench/editor_bench.h"
#include "plugins/grimfold/grimfold_editor.h"
#include "plugins/grimfold/grimfold_effect.h"

namespace {

void BM_GrimfoldFullPaint(benchmark::State& state) {
    benchFullPaint<GrimfoldEffect>(state, createGrimfoldEditor);
}
void BM_GrimfoldKnobRedraw(benchmark::State& state) {
    benchParameterRedraw<GrimfoldEffect>(state, createGrimfoldEditor, GrimfoldEffect::kPostGain,
                                         {{61, 29, 103, 77}});
}
void BM_GrimfoldIdleNothingDirty(benchmark::State& state) {
    benchIdleNothingDirty<GrimfoldEffect>(state, createGrimfoldEditor);
}

} // namespace

BENCHMARK(BM_GrimfoldFullPaint);
BENCHMARK(BM_GrimfoldKnobRedraw);
BENCHMARK(BM_GrimfoldIdleNothingDirty);

BENCHMARK_MAIN();
