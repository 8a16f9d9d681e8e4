// Bitmap costs on the swirlet artwork: loading from the embedded table, the background, one
// knob frame opaque and keyed (the cost of a single knob redraw).
#include "gui/bitmap.h"
#include "gui/draw_context.h"

#include <benchmark/benchmark.h>

namespace {

void BM_LoadBackground(benchmark::State& state) {
    for (auto _ : state) {
        Bitmap* background = new Bitmap(110);
        benchmark::DoNotOptimize(background->getImage());
        background->forget();
    }
}
BENCHMARK(BM_LoadBackground);

void BM_DrawBackground(benchmark::State& state) {
    Bitmap* background = new Bitmap(110);
    PixelSurface surface(432, 89);
    DrawContext context(nullptr, &surface, nullptr);
    for (auto _ : state) {
        background->draw(&context, Rect(0, 0, 432, 89));
        benchmark::DoNotOptimize(surface.pixels.data());
    }
    background->forget();
}
BENCHMARK(BM_DrawBackground);

void BM_DrawKnobFrame(benchmark::State& state) {
    Bitmap* strip = new Bitmap(112);
    PixelSurface surface(432, 89);
    DrawContext context(nullptr, &surface, nullptr);
    int32_t frame = 0;
    for (auto _ : state) {
        if (state.range(0))
            strip->drawTransparent(&context, Rect(27, 36, 59, 66), Point(0, 30 * frame));
        else
            strip->draw(&context, Rect(27, 36, 59, 66), Point(0, 30 * frame));
        frame = (frame + 1) & 127;
        benchmark::DoNotOptimize(surface.pixels.data());
    }
    strip->forget();
}
BENCHMARK(BM_DrawKnobFrame)->ArgName("keyed")->Arg(0)->Arg(1);

} // namespace

BENCHMARK_MAIN();
