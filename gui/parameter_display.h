// ParameterDisplay: a value display that carries its parameter's index as its tag and shows
// the effect's own text for that parameter (its display text, then its unit when the look asks
// for it), whatever the display's value, which only decides when it redraws. The editors put
// one under each knob.
//
// Threads: the host's GUI thread; setValue may come from a host parameter thread (Control).
#pragma once

#include "gui/colour.h"
#include "gui/value_display.h"

#include <cstdint>

// How a panel's parameter displays look.
struct DisplayLook {
    int32_t font;
    int32_t horizontalAlign; // 0 left, 1 centre, 2 right
    Colour text;
    Colour back;
    Colour frame;
    bool withUnit; // the parameter's unit label after its text
};

class ParameterDisplay : public ValueDisplay {
  public:
    ParameterDisplay(const Rect& size, int32_t parameter, const DisplayLook& look);

    // The converter: writes nothing unless the display sits in a frame whose editor has an
    // effect, and its tag is one of that effect's parameters.
    static void convert(float value, TextBuffer& text, void* display);

  private:
    bool withUnit;
};
