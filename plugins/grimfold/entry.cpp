// The grimfold library's entry points.
#include "frame/host_entry.h"
#include "plugins/grimfold/grimfold_effect.h"

DEFINE_PLUGIN_ENTRY(GrimfoldEffect)
