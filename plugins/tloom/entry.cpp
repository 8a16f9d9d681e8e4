// The tloom library's entry points.
#include "frame/host_entry.h"
#include "plugins/tloom/tloom_effect.h"

DEFINE_PLUGIN_ENTRY(TloomEffect)
