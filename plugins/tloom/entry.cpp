// The tloom library's entry points: the effect, given the factory of its editor. The factory is
// made in the editor's library; the entry parses no toolkit header.
#include "frame/host_entry.h"
#include "plugins/tloom/tloom_effect.h"

DEFINE_PLUGIN_ENTRY(TloomEffect, createTloomEditor)
