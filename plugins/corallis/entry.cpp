// The corallis library's entry points.
#include "corallis_effect.h"
#include "host_entry.h"

DEFINE_PLUGIN_ENTRY(CorallisEffect)
