// The grimfold library's entry points: the effect, given the factory of its editor. The factory is
// made in the editor's library; the entry parses no toolkit header.
#include "frame/host_entry.h"
#include "plugins/grimfold/grimfold_effect.h"

DEFINE_PLUGIN_ENTRY(GrimfoldEffect, createGrimfoldEditor)
