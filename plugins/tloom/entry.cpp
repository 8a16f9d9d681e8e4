// The tloom library's entry points: the effect, given the factory of its editor. The factory is
// defined by the editor's library and only declared here, so that the entry parses no toolkit
// header (whose class layouts depend on the toolkit variant the entry is not compiled for).
#include "frame/host_entry.h"
#include "plugins/tloom/tloom_effect.h"

EditorInterface* createTloomEditor(EffectBase& effect);

DEFINE_PLUGIN_ENTRY(TloomEffect, createTloomEditor)
