// The tloom library's entry points: the effect, which has no editor yet.
#include "frame/host_entry.h"
#include "plugins/tloom/tloom_effect.h"

DEFINE_PLUGIN_ENTRY(TloomEffect, nullptr)
