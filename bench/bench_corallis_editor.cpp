// The corallis editor's drawing costs: full paint, the redraw of Depth1 after a host change,
// where its knob (118, 29)-(154, 65) and display (109, 65)-(153, 77) are all that may be
// presented, and an idle call with nothing to redraw.
#include "bench/editor_bench.h"
#include "plugins/corallis/corallis_editor.h"
#include "plugins/corallis/corallis_effect.h"

namespace {

void BM_CorallisFullPaint(benchmark::State& state) {
    benchFullPaint<CorallisEffect>(state, createCorallisEditor);
}
void BM_CorallisKnobRedraw(benchmark::State& state) {
    benchParameterRedraw<CorallisEffect>(state, createCorallisEditor, 1,
                                         {{118, 29, 154, 65}, {109, 65, 153, 77}});
}
void BM_CorallisIdleNothingDirty(benchmark::State& state) {
    benchIdleNothingDirty<CorallisEffect>(state, createCorallisEditor);
}

} // namespace

BENCHMARK(BM_CorallisFullPaint);
BENCHMARK(BM_CorallisKnobRedraw);
BENCHMARK(BM_CorallisIdleNothingDirty);

BENCHMARK_MAIN();
