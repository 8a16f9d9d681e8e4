// The swirlet library's entry points.
#include "host_entry.h"
#include "swirlet_effect.h"

DEFINE_PLUGIN_ENTRY(SwirletEffect)
