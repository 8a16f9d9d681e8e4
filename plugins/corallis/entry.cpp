// The corallis library's entry points: the effect, which has no editor yet.
#include "frame/host_entry.h"
#include "plugins/corallis/corallis_effect.h"

DEFINE_PLUGIN_ENTRY(CorallisEffect, nullptr)
