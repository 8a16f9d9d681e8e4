// The showcase editor's file strip: the key that opens a file selector, the display of the
// chosen or dropped files (or dropped text), and the invisible view under every control that
// takes drops anywhere on the panel. None of them is a parameter: the key starts no automation
// gesture and the display shows what the editor hands it.
//
// State: OpenKey: the key image (two frames, released over pressed). FileDisplay: the line it
// shows (a fixed head and a body that is cut to fit, from the left for a path so its end stays
// visible, else from the right) and the text it drew last. DropCatcher: the function drops go
// to. GUI thread only.
#pragma once

#include "gui/value_display.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What the file display shows: `head` always, then as much of `body` as fits.
struct FileLine {
    std::string head;
    std::string body;
    bool keepEnd = false; // cut the body from the left (paths), else from the right
};

// The lines for the paths a selector chose, for dropped files and for dropped text (UTF-8 or
// 8-bit as the source gave it), in the toolkit's 8-bit text.
FileLine chosenFilesLine(const std::vector<std::string>& paths);
FileLine droppedFilesLine(const std::vector<std::string>& paths);
FileLine droppedTextLine(const std::string& text);

class OpenKey : public Control {
  public:
    OpenKey(const Rect& size, ControlListener* listener, int32_t tag, Bitmap* background);

    // Frame 1 (pressed) while the value is not 0.
    void draw(DrawContext* context) override;
    // Shows pressed while the left button is held over the key; a release over it tells the
    // listener once, with the value back at 0.
    void mouse(DrawContext* context, Point& where) override;
};

class FileDisplay : public ValueDisplay {
  public:
    explicit FileDisplay(const Rect& size);

    void show(const FileLine& line);
    void draw(DrawContext* context) override;

    // The text the last draw showed.
    const std::string& getShown() const { return shown; }

  private:
    FileLine line;
    std::string shown;
};

class DropCatcher : public View {
  public:
    using Handler = std::function<bool(void** items, int32_t count, int32_t type)>;
    DropCatcher(const Rect& size, Handler handler);

    bool onDrop(void** items, int32_t count, int32_t type, Point& where) override;

  private:
    Handler handler;
};
