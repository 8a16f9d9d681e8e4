// DropTarget: the frame window's receiver of drags from other programs. While a drag is over
// the window it answers what the drop would do (nothing for data with neither files nor text,
// copy with the control key held, move otherwise); a drop becomes the frame's onDrop: files as
// type 0 with an array of zero-terminated paths (as the platform hands them: absolute, links
// resolved),
// text as type 1 with a pointer to the zero-terminated text and its block size in bytes
// (terminating zero included), at the drop point in frame coordinates.
//
// State: the frame (not owned) and `accept`, whether the drag now over the window carries
// data the frame takes. Made and owned by the frame, from its window's creation to its
// destruction. GUI thread only.
#pragma once

#include "gui/platform/drop_listener.h"

#include <string>
#include <vector>

class EditorFrame;

class DropTarget final : public platform::DropListener {
  public:
    explicit DropTarget(EditorFrame* frame) : frame(frame) {}

    platform::DropAction dragOver(uint32_t formats, uint32_t modifiers, int32_t x,
                                  int32_t y) override;
    void dragLeave() override { accept = false; }
    platform::DropOutcome drop(platform::DropFormat format, const platform::DropData& data,
                               int32_t x, int32_t y) override;

    bool isAccepting() const { return accept; }

  private:
    platform::DropOutcome dropFiles(const std::vector<std::string>& paths, int32_t x, int32_t y);
    platform::DropOutcome dropText(const std::string& data, int32_t x, int32_t y);

    EditorFrame* frame;
    bool accept = false;
};
