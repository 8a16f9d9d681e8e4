// The three drawing costs every editor is measured by, on the headless platform with the real
// editor, controls and artwork: a full paint of the panel (an exposure of the whole window),
// the redraw after one host change (which must present only inside the given rectangles), and
// an idle call with nothing to redraw (which must present nothing).
#pragma once

#include "frame/aeffect.h"
#include "frame/editor_interface.h"
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/headless/headless_window.h"

#include <benchmark/benchmark.h>

#include <initializer_list>

inline intptr_t quietBenchHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// An open editor of Effect whose controls have had their first draw.
template <class Effect> struct OpenEditor {
    explicit OpenEditor(EditorFactory factory) : scope(platform), effect(quietBenchHost, factory) {
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
    Effect effect;
    EditorInterface* editor = nullptr;
    HeadlessWindow* window = nullptr;
};

// A rectangle a redraw may present into, edges included.
struct AllowedArea {
    int left, top, right, bottom;
    bool holds(const platform::Area& a) const {
        return a.left >= left && a.top >= top && a.right <= right + 1 && a.bottom <= bottom + 1;
    }
};

inline void countPresented(benchmark::State& state, HeadlessWindow& window) {
    state.counters["presented"] = benchmark::Counter(
        static_cast<double>(window.presentedAreas().size()), benchmark::Counter::kAvgIterations);
}

template <class Effect> void benchFullPaint(benchmark::State& state, EditorFactory factory) {
    OpenEditor<Effect> open(factory);
    for (auto _ : state) {
        open.window->exposeAll();
        open.editor->idle();
    }
    countPresented(state, *open.window);
}

// Parameter `index` flips between 0.2 and 0.8; every presented area must lie in `allowed`.
template <class Effect>
void benchParameterRedraw(benchmark::State& state, EditorFactory factory, int32_t index,
                          std::initializer_list<AllowedArea> allowed) {
    OpenEditor<Effect> open(factory);
    float value = 0.2f;
    for (auto _ : state) {
        value = value == 0.2f ? 0.8f : 0.2f;
        open.effect.setParameter(index, value);
        open.editor->idle();
    }
    for (const platform::Area& a : open.window->presentedAreas()) {
        bool inside = false;
        for (const AllowedArea& area : allowed)
            inside = inside || area.holds(a);
        if (!inside) {
            state.SkipWithError("presented outside the changed control");
            break;
        }
    }
    countPresented(state, *open.window);
}

template <class Effect> void benchIdleNothingDirty(benchmark::State& state, EditorFactory factory) {
    OpenEditor<Effect> open(factory);
    for (auto _ : state)
        open.editor->idle();
    if (!open.window->presentedAreas().empty()) state.SkipWithError("an idle call presented");
}
