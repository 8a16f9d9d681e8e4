// The swirlet library's entry points: the effect, given the factory of its editor.
#include "frame/host_entry.h"
#include "plugins/swirlet/swirlet_editor.h"
#include "plugins/swirlet/swirlet_effect.h"

DEFINE_PLUGIN_ENTRY(SwirletEffect, createSwirletEditor)
