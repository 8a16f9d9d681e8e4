// The grimfold library's entry points.
#include "grimfold_effect.h"
#include "host_entry.h"

DEFINE_PLUGIN_ENTRY(GrimfoldEffect)
