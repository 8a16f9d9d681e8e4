// The toolkit's input handling, driven by the fuzzer's bytes: the showcase editor (one of every
// control, in the newer variant) opened on the headless platform, then a sequence of user and
// host events at chosen places and times: clicks, drags, presses, keys and typed text (in the
// window and through the host's key requests), wheel turns, focus changes, drags and drops of
// files and text from other programs, popup-menu keys and clicks, host parameter changes and
// idle calls. The host says yes to its own file selector and then cancels it, so no desktop
// dialog is ever started. The editor is closed and the effect destroyed at the end.
#include "fuzz/fuzz_input.h"
#include "gui/editor_base.h"
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/headless/headless_window.h"
#include "tests/showcase/showcase_editor.h"
#include "tests/showcase/showcase_effect.h"

#include <cstdint>
#include <string>

namespace {

intptr_t VST_CALL fuzzHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    switch (opcode) {
    case audioMasterVersion:
        return 2400;
    case audioMasterCanDo:
        return 1;
    default:
        return 0;
    }
}

constexpr uint32_t kModifierBits = platform::kModShift | platform::kModControl | platform::kModAlt;

struct Place {
    int32_t x;
    int32_t y;
};

// Mostly inside the window, sometimes on or past its edges, anywhere a window system can report
// (16-bit coordinates).
Place placeIn(FuzzInput& input, int32_t width, int32_t height) {
    if (input.byte() % 8 == 0)
        return {static_cast<int16_t>(input.word()), static_cast<int16_t>(input.word())};
    return {static_cast<int32_t>(input.below(static_cast<uint32_t>(width) + 2)) - 1,
            static_cast<int32_t>(input.below(static_cast<uint32_t>(height) + 2)) - 1};
}

platform::KeyCode keyCode(FuzzInput& input) {
    return static_cast<platform::KeyCode>(input.below(15));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static HeadlessPlatform platform;
    static HeadlessPlatform::Scope scope(platform);

    FuzzInput input(data, size);
    ShowcaseEffect effect(fuzzHost, createShowcaseEditor);
    auto* editor = static_cast<EditorBase*>(effect.getEditor());
    if (!editor || editor->open(reinterpret_cast<void*>(uintptr_t{0x4200001})) != 1) return 0;
    HeadlessWindow* window = platform.lastWindow();
    if (!window) return 0;
    const int32_t width = window->getWidth();
    const int32_t height = window->getHeight();

    for (int events = 0; !input.empty() && events < 300; ++events) {
        const uint8_t kind = input.byte() % 14;
        const uint32_t modifiers = input.byte() & kModifierBits;
        switch (kind) {
        case 0: {
            const Place p = placeIn(input, width, height);
            platform.click(*window, p.x, p.y, modifiers);
            break;
        }
        case 1: {
            const Place from = placeIn(input, width, height);
            const Place to = placeIn(input, width, height);
            platform.drag(*window, from.x, from.y, to.x, to.y,
                          static_cast<int32_t>(input.below(12)), modifiers);
            break;
        }
        case 2: {
            // A press whose button the scripted pointer then holds and moves, or not.
            const Place p = placeIn(input, width, height);
            window->queuePress(p.x, p.y);
            for (int n = input.byte() % 4; n > 0; --n) {
                const Place q = placeIn(input, width, height);
                platform.addStep(
                    {q.x, q.y, input.byte() & 7u, static_cast<int32_t>(input.below(3)) + 1});
            }
            break;
        }
        case 3: {
            const platform::KeyCode code = keyCode(input);
            const auto character = static_cast<char>(input.byte());
            window->queueKey(code, character, modifiers, input.flag());
            break;
        }
        case 4:
            window->queueText(input.text(40).c_str());
            break;
        case 5: {
            const Place p = placeIn(input, width, height);
            platform.setPointer(p.x, p.y);
            editor->onWheel(input.value());
            break;
        }
        case 6: {
            VstKeyCode key{static_cast<int32_t>(input.byte()), static_cast<uint8_t>(input.byte()),
                           static_cast<uint8_t>(input.byte())};
            if (input.flag())
                editor->onKeyDown(key);
            else
                editor->onKeyUp(key);
            break;
        }
        case 7: {
            const Place p = placeIn(input, width, height);
            const auto format = input.flag() ? platform::kDropFiles : platform::kDropText;
            if (input.flag()) window->dragOver(format, p.x, p.y, modifiers);
            if (input.byte() % 4)
                window->drop(format, input.text(600), p.x, p.y);
            else
                window->dragLeave();
            break;
        }
        case 8:
            platform.popupKey(keyCode(input), modifiers);
            break;
        case 9: {
            const Place p = placeIn(input, width, height);
            if (input.flag()) {
                platform.popupClick(p.x, p.y);
            } else {
                const auto kind = static_cast<platform::PopupPointer>(input.below(3));
                platform.popupPointer(kind, p.x, p.y, static_cast<int32_t>(input.below(4)));
            }
            break;
        }
        case 10:
            window->queueFocus(input.flag());
            break;
        case 11: {
            const auto index = static_cast<int32_t>(input.below(ShowcaseEffect::kNumParams + 1));
            effect.setParameter(index, input.value());
            break;
        }
        case 12:
            platform.advance(input.below(800));
            break;
        default:
            window->exposeAll();
            break;
        }
        editor->idle();
    }
    editor->idle();
    editor->close();
    return 0;
}
