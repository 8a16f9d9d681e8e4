// The tloom editor's drawing costs: full paint, the redraw of Cutoff after a host change, where
// its knob (324, 34)-(356, 64) and display (325, 74)-(353, 86) are all that may be presented,
// and an idle call with nothing to redraw.
#include "bench/editor_bench.h"
#include "plugins/tloom/tloom_editor.h"
#include "plugins/tloom/tloom_effect.h"

namespace {

void BM_TloomFullPaint(benchmark::State& state) {
    benchFullPaint<TloomEffect>(state, createTloomEditor);
}
void BM_TloomKnobRedraw(benchmark::State& state) {
    benchParameterRedraw<TloomEffect>(state, createTloomEditor, TloomEffect::kCutoff,
                                      {{324, 34, 356, 64}, {325, 74, 353, 86}});
}
void BM_TloomIdleNothingDirty(benchmark::State& state) {
    benchIdleNothingDirty<TloomEffect>(state, createTloomEditor);
}

} // namespace

BENCHMARK(BM_TloomFullPaint);
BENCHMARK(BM_TloomKnobRedraw);
BENCHMARK(BM_TloomIdleNothingDirty);

BENCHMARK_MAIN();
