// The swirlet library's entry points.
#include "frame/host_entry.h"
#include "plugins/swirlet/swirlet_effect.h"

DEFINE_PLUGIN_ENTRY(SwirletEffect)
