// The corallis library's entry points.
#include "frame/host_entry.h"
#include "plugins/corallis/corallis_effect.h"

DEFINE_PLUGIN_ENTRY(CorallisEffect)
