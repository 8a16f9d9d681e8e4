// The grimfold library's entry points: the effect, which has no editor yet.
#include "frame/host_entry.h"
#include "plugins/grimfold/grimfold_effect.h"

DEFINE_PLUGIN_ENTRY(GrimfoldEffect, nullptr)
