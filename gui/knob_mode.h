// KnobMode: the knob interaction mode the host sets through the editor bridge for every editor
// of this library; knobs read it when a drag starts (2 selects linear dragging). Process-wide
// plain state, written and read on the host's GUI thread.
#pragma once

#include <cstdint>

extern int32_t KnobMode;
