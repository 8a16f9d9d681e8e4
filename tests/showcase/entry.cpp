// The showcase library's entry points: the effect, given the factory of its editor.
#include "frame/host_entry.h"
#include "tests/showcase/showcase_editor.h"
#include "tests/showcase/showcase_effect.h"

DEFINE_PLUGIN_ENTRY(ShowcaseEffect, createShowcaseEditor)
