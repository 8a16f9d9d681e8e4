// The tloom library's entry points.
#include "host_entry.h"
#include "tloom_effect.h"

DEFINE_PLUGIN_ENTRY(TloomEffect)
