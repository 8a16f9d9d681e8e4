// ContextHost: what a drawing context needs from the frame that built it. The frame hands
// itself to every context it makes through this interface, so the drawing code knows no frame
// or editor class. A context without a host clips to its default area and has no idle pump.
//
// GUI thread only, for the life of the context.
#pragma once

#include "gui/geometry.h"

class ContextHost {
  public:
    // The frame's size rectangle: the default clip of its contexts.
    virtual Rect getHostArea() const = 0;
    // The editor's idle pump, which keeps the host serviced while a control holds the mouse.
    virtual void runIdlePump() = 0;

  protected:
    ~ContextHost() = default;
};
