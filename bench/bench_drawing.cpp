// Drawing-context benchmarks: the operations an editor's paint spends its time in (filling a
// panel or a knob's rectangle, value texts, block copies between surfaces, outlines).
#include "gui/draw_context.h"
#include "gui/offscreen_context.h"

#include <benchmark/benchmark.h>

namespace {

// The size of the swirlet panel.
constexpr int32_t PanelWidth = 432;
constexpr int32_t PanelHeight = 89;

void fillPanel(benchmark::State& state) {
    PixelSurface surface(PanelWidth, PanelHeight);
    DrawContext context(nullptr, &surface, nullptr);
    context.setFillColour(Colour{40, 44, 52, 0});
    for (auto _ : state) {
        context.fillRect(Rect(-1, -1, PanelWidth, PanelHeight));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * PanelWidth * PanelHeight);
}
BENCHMARK(fillPanel);

void fillKnobRect(benchmark::State& state) {
    PixelSurface surface(PanelWidth, PanelHeight);
    DrawContext context(nullptr, &surface, nullptr);
    context.setFillColour(Colour{40, 44, 52, 0});
    context.setOffset(Point(100, 20));
    for (auto _ : state) {
        context.fillRect(Rect(-1, -1, 32, 30));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(fillKnobRect);

void drawValueText(benchmark::State& state) {
    PixelSurface surface(PanelWidth, PanelHeight);
    DrawContext context(nullptr, &surface, nullptr);
    context.setFont(static_cast<int32_t>(state.range(0)), 0);
    context.setFontColour(WhiteColour);
    for (auto _ : state) {
        context.drawString("Feedback 0.50", Rect(10, 10, 120, 30), false, TextAlignCentre);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(drawValueText)->Arg(3)->Arg(0);

void drawOpaqueValueText(benchmark::State& state) {
    PixelSurface surface(PanelWidth, PanelHeight);
    DrawContext context(nullptr, &surface, nullptr);
    context.setFont(4, 0);
    context.setFillColour(BlackColour);
    for (auto _ : state) {
        context.drawString("  0.73 ", Rect(10, 10, 60, 24), true, TextAlignRight);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(drawOpaqueValueText);

void measureText(benchmark::State& state) {
    DrawContext context(nullptr, nullptr, nullptr);
    context.setFont(3, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(context.getStringWidth("Modulation Depth"));
}
BENCHMARK(measureText);

// A new context with its first setFont, as every paint and idle redraw makes one.
void contextWithFont(benchmark::State& state) {
    PixelSurface surface(PanelWidth, PanelHeight);
    for (auto _ : state) {
        DrawContext context(nullptr, &surface, nullptr);
        context.setFont(3, 0);
        benchmark::DoNotOptimize(context.getStringWidth("0.50"));
    }
}
BENCHMARK(contextWithFont);

void copyPanel(benchmark::State& state) {
    OffscreenContext offscreen(nullptr, PanelWidth, PanelHeight, GreyColour);
    PixelSurface window(PanelWidth, PanelHeight);
    DrawContext context(nullptr, &window, nullptr);
    for (auto _ : state) {
        offscreen.copyTo(&context, Rect(0, 0, PanelWidth, PanelHeight), Point(0, 0));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * PanelWidth * PanelHeight * 4);
}
BENCHMARK(copyPanel);

void copyKnobBlock(benchmark::State& state) {
    OffscreenContext strip(nullptr, 32, 3840, GreyColour);
    PixelSurface window(PanelWidth, PanelHeight);
    DrawContext context(nullptr, &window, nullptr);
    int32_t frame = 0;
    for (auto _ : state) {
        strip.copyTo(&context, Rect(200, 30, 232, 60), Point(0, 30 * frame));
        frame = (frame + 1) & 127;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(copyKnobBlock);

void outlineShapes(benchmark::State& state) {
    PixelSurface surface(PanelWidth, PanelHeight);
    DrawContext context(nullptr, &surface, nullptr);
    context.setLineWidth(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        context.drawRect(Rect(2, 2, 60, 40));
        context.drawEllipse(Rect(70, 2, 130, 62));
        context.moveTo(Point(150, 10));
        context.lineTo(Point(170, 40));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(outlineShapes)->Arg(1)->Arg(3);

} // namespace

BENCHMARK_MAIN();
