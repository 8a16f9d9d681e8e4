// Support for the editor tests that drive a plug-in's editor through its library's record on
// the headless platform: the panel bitmaps as pixels, block comparisons against them, and a
// test build of a plug-in library switched to its own headless platform.
#pragma once

#include "bmp/bmp_codec.h"
#include "frame/aeffect.h"
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/headless/headless_window.h"
#include "gui/platform/pixel_surface.h"
#include "tools/plughost/plugin_host.h"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The parent window id every headless editor is opened with.
inline void* fakeParent() {
    return reinterpret_cast<void*>(uintptr_t{0x4200001});
}

// One bitmap of plugins/<plugin>/resources as the pixels the toolkit draws from it.
inline PixelSurface loadPanelBitmap(const std::string& plugin, const std::string& file) {
    std::ifstream in(std::string(SOURCE_DIR "/plugins/") + plugin + "/resources/" + file,
                     std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    BmpImage decoded;
    PixelSurface out;
    if (!decodeBmpFile(bytes.data(), bytes.size(), decoded)) return out;
    out.width = decoded.width;
    out.height = decoded.height;
    out.pixels = std::move(decoded.pixels);
    return out;
}

// The same bitmap, decoded once per test program.
inline const PixelSurface& panelBitmap(const std::string& plugin, const std::string& file) {
    static std::map<std::string, PixelSurface> decoded;
    const std::string key = plugin + "/" + file;
    auto found = decoded.find(key);
    if (found == decoded.end()) found = decoded.emplace(key, loadPanelBitmap(plugin, file)).first;
    return found->second;
}

// The frame a filmstrip knob of `frames` frames, each `frameHeight` high, shows for `value`:
// rounding down, only 1.0 reaching the last.
inline int32_t stripFrameFor(float value, int32_t frames, int32_t frameHeight) {
    if (!(value > 0.0f)) return 0;
    if (value >= 1.0f) return frames - 1;
    return static_cast<int32_t>(static_cast<float>((frames - 1) * frameHeight) * value) /
           frameHeight;
}

// Whether `screen` shows the width x height block of `from` starting at row fromTop, with its
// top left corner at (left, top).
inline bool showsBlock(const PixelSurface& screen, int32_t left, int32_t top,
                       const PixelSurface& from, int32_t fromTop, int32_t width, int32_t height) {
    for (int32_t r = 0; r < height; ++r)
        for (int32_t c = 0; c < width; ++c)
            if (screen.row(top + r)[left + c] != from.row(fromTop + r)[c]) return false;
    return true;
}

// Copies that block of `from` into `picture` at (left, top): an expected picture is built from
// the panel with each control's frame copied over it.
inline void copyBlock(PixelSurface& picture, int32_t left, int32_t top, const PixelSurface& from,
                      int32_t fromTop, int32_t width, int32_t height) {
    for (int32_t r = 0; r < height; ++r)
        for (int32_t c = 0; c < width; ++c)
            picture.row(top + r)[left + c] = from.row(fromTop + r)[c];
}

// Whether `events` are one drag's gesture on parameter `index`: begin, automate calls whose
// values only rise from `start`, end. `last` is the last automated value.
inline ::testing::AssertionResult isRisingGesture(const std::vector<HostEvent>& events,
                                                  int32_t index, float start, float& last) {
    last = start;
    if (events.size() < 3) return ::testing::AssertionFailure() << events.size() << " calls";
    if (events.front().kind != HostEvent::BeginEdit || events.back().kind != HostEvent::EndEdit)
        return ::testing::AssertionFailure() << "not bracketed by begin and end edit";
    for (size_t i = 0; i < events.size(); ++i) {
        if (events[i].index != index)
            return ::testing::AssertionFailure() << "call " << i << " on " << events[i].index;
        if (i == 0 || i + 1 == events.size()) continue;
        if (events[i].kind != HostEvent::Automate || !(events[i].value > last))
            return ::testing::AssertionFailure() << "call " << i << " is no rising automate";
        last = events[i].value;
    }
    return ::testing::AssertionSuccess();
}

// One plug-in library of the headless test build (see add_headless_plugin), switched to a
// fresh headless platform before its effect (and its editor's clock) is made, and loaded
// through its entry as a host loads it.
struct HeadlessLibrary {
    explicit HeadlessLibrary(const char* path) {
        using Hook = HeadlessPlatform* (*)();
#ifdef _WIN32
        library = LoadLibraryA(path);
        if (!library) return;
        auto hook = reinterpret_cast<Hook>(reinterpret_cast<void*>(
            GetProcAddress(static_cast<HMODULE>(library), "testHeadlessPlatform")));
#else
        library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
        if (!library) return;
        auto hook = reinterpret_cast<Hook>(dlsym(library, "testHeadlessPlatform"));
#endif
        if (!hook) return;
        platform = hook();
        std::string error;
        host = PluginHost::load(path, error);
        if (!host) return;
        host->start(44100.0f, 256);
        host->dispatch(effSetEditKnobMode, 0, 0);
    }
    ~HeadlessLibrary() {
        if (host) host->close();
        host.reset();
#ifdef _WIN32
        if (library) FreeLibrary(static_cast<HMODULE>(library));
#else
        if (library) dlclose(library);
#endif
    }
    HeadlessLibrary(const HeadlessLibrary&) = delete;
    HeadlessLibrary& operator=(const HeadlessLibrary&) = delete;

    bool ready() const {
        return host != nullptr;
    }
    intptr_t open() {
        return host->dispatch(effEditOpen, 0, 0, fakeParent());
    }
    void idle() {
        host->dispatch(effEditIdle);
    }
    HeadlessWindow* window() const {
        return platform->lastWindow();
    }
    std::string displayText(int32_t index) {
        char text[64] = {};
        host->dispatch(effGetParamDisplay, index, 0, text);
        return text;
    }

    void* library = nullptr;
    HeadlessPlatform* platform = nullptr;
    std::unique_ptr<PluginHost> host;
};
