// The grimfold library's entry points: the effect, given the factory of its editor.
#include "frame/host_entry.h"
#include "plugins/grimfold/grimfold_editor.h"
#include "plugins/grimfold/grimfold_effect.h"

DEFINE_PLUGIN_ENTRY(GrimfoldEffect, createGrimfoldEditor)
