// What the build makes for each plug-in's bundle (cmake/Lv2Bundle.cmake writes one source per
// plug-in): its URI and its effect, created through the plug-in's own entry and record. The
// plug-in binary and the Turtle generator get the effect without an editor; the UI binary gets
// it with the plug-in's editor.
#pragma once

#include "frame/aeffect.h"

extern const char* const kLv2PluginUri;
extern const char* const kLv2UiUri;

// The effect's record, or null when the entry refuses (as it does for a VST 2.x host).
AEffect* createLv2Effect(audioMasterCallback hostCallback);
AEffect* createLv2EditorEffect(audioMasterCallback hostCallback);
