// The tloom library's entry points: the effect, given the factory of its editor.
#include "frame/host_entry.h"
#include "plugins/tloom/tloom_editor.h"
#include "plugins/tloom/tloom_effect.h"

DEFINE_PLUGIN_ENTRY(TloomEffect, createTloomEditor)
