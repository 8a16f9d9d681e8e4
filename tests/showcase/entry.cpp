// The showcase library's entry points: the effect, given the factory of its editor. The factory
// is defined by the editor's library and only declared here, so that the entry parses no
// toolkit header (whose class layouts depend on the toolkit variant).
#include "frame/host_entry.h"
#include "tests/showcase/showcase_effect.h"

EditorInterface* createShowcaseEditor(EffectBase& effect);

DEFINE_PLUGIN_ENTRY(ShowcaseEffect, createShowcaseEditor)
