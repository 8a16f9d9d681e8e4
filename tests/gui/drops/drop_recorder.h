// DropRecorder: a view that takes (or declines) drops and keeps a copy of what each one held.
#pragma once

#include "gui/view.h"

#include <cstring>
#include <string>
#include <vector>

struct RecordedDrop {
    int32_t type = -1;
    int32_t count = 0;
    std::vector<std::string> paths; // type 0
    std::string text;               // type 1: the bytes up to the terminating zero
    bool textTerminated = false;    // type 1: a zero at count - 1
    Point where;
};

class DropRecorder : public View {
  public:
    explicit DropRecorder(const Rect& size, bool accepts = true) : View(size), accepts(accepts) {}

    bool onDrop(void** items, int32_t count, int32_t type, Point& where) override {
        RecordedDrop drop;
        drop.type = type;
        drop.count = count;
        drop.where = where;
        if (type == 0) {
            for (int32_t i = 0; i < count; ++i)
                drop.paths.emplace_back(static_cast<const char*>(items[i]));
        } else if (type == 1 && count > 0) {
            const char* text = static_cast<const char*>(items[0]);
            drop.text.assign(text, strnlen(text, static_cast<size_t>(count)));
            drop.textTerminated = text[count - 1] == '\0';
        }
        drops.push_back(drop);
        return accepts;
    }

    bool accepts;
    std::vector<RecordedDrop> drops;
};
