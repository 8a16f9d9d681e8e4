// The library entry shared by every deliverable: asks the host's version, creates the effect and
// hands back its record. Each deliverable's entry.cpp instantiates it with its own effect class
// and the factory of its editor (nullptr while it has none), joining sound and editor.
#pragma once

#include "frame/aeffect.h"
#include "frame/editor_interface.h"

#include <new>

#ifdef _WIN32
// Windows: the library's .def file exports the two entries under their plain names (no
// decoration in the 32-bit build) and maps "main" onto pluginMainEntry.
#define PLUGIN_EXPORT extern "C"
#define PLUGIN_MAIN_SYMBOL
#else
#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#define PLUGIN_MAIN_SYMBOL __asm__("main")
#endif

// Creates an EffectClass (with its editor from `editorFactory`) for the host, or answers null: for
// a host that reports version 0, when memory runs out, or when the effect's constructor set its
// `failed` flag.
template <class EffectClass>
AEffect* runHostEntry(audioMasterCallback hostCallback, EditorFactory editorFactory) {
    if (!hostCallback) return nullptr;
    if (hostCallback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    EffectClass* effect = new (std::nothrow) EffectClass(hostCallback, editorFactory);
    if (!effect) return nullptr;
    if (effect->failed) {
        delete effect;
        return nullptr;
    }
    return effect->getAeffect();
}

// Defines the two exported entries of a deliverable: VSTPluginMain, the name hosts on this
// platform look up first, and main; both do the same.
#define DEFINE_PLUGIN_ENTRY(EffectClass, editorFactory)                                            \
    PLUGIN_EXPORT AEffect* VST_CALL VSTPluginMain(audioMasterCallback hostCallback) {              \
        return runHostEntry<EffectClass>(hostCallback, editorFactory);                             \
    }                                                                                              \
    PLUGIN_EXPORT AEffect* VST_CALL pluginMainEntry(audioMasterCallback hostCallback)              \
        PLUGIN_MAIN_SYMBOL;                                                                        \
    PLUGIN_EXPORT AEffect* VST_CALL pluginMainEntry(audioMasterCallback hostCallback) {            \
        return runHostEntry<EffectClass>(hostCallback, editorFactory);                             \
    }
