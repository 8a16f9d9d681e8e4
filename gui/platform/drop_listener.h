// Drops, a role of the platform contract: what a window reports while another program drags
// data over it. The back end speaks the window system's drag protocol, fetches the data and
// hands it on as a list of absolute paths (links resolved) or as a text; the listener (the
// toolkit's drop target) decides what a drag may do and turns the data into the frame's drop
// dispatch.
//
// Everything is called on the host's GUI thread, from Window::processEvents.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Kinds of data a drag carries that the toolkit can take.
enum DropFormat : uint32_t {
    kDropFiles = 1, // files
    kDropText = 2,  // text, in the 8-bit or UTF-8 encoding the source gave
};

// What the drop would do, as shown to the user while dragging.
enum class DropAction { Refused, Copy, Move };

// The data of one format a drag delivered: the files, or a text.
struct DropData {
    std::vector<std::string> paths; // files: absolute paths, links resolved, in order
    std::string text;               // text: as received (not terminated; it may hold zeros)
};

// What became of the data of one format.
enum class DropOutcome {
    Unusable, // nothing in it to take: the back end tries the drag's next format
    Declined, // valid, but no view took it
    Taken,    // a view took it
};

class DropListener {
  public:
    // A drag offering `formats` (DropFormat bits; 0 when none of them) is at (x, y), window
    // coordinates, with `modifiers` (PointerBits) held. Refused: no drop here.
    virtual DropAction dragOver(uint32_t formats, uint32_t modifiers, int32_t x, int32_t y) = 0;
    // The drag left the window, was cancelled or has ended.
    virtual void dragLeave() = 0;
    // The dropped data in one format, dropped at (x, y).
    virtual DropOutcome drop(DropFormat format, const DropData& data, int32_t x, int32_t y) = 0;

  protected:
    ~DropListener() = default;
};

} // namespace platform
