// The corallis library's entry points: the effect, given the factory of its editor.
#include "frame/host_entry.h"
#include "plugins/corallis/corallis_editor.h"
#include "plugins/corallis/corallis_effect.h"

DEFINE_PLUGIN_ENTRY(CorallisEffect, createCorallisEditor)
