// TextBuffer: the bounded text a converter writes into. It holds at most 255 characters and a
// terminating zero; anything appended beyond that is cut, so no converter can write past the
// end however long the text it makes.
//
// Plain value type; no allocation. GUI thread (each conversion uses its own buffer).
#pragma once

#include <cstddef>
#include <cstdint>

class TextBuffer {
  public:
    static constexpr size_t kMaxLength = 255;

    TextBuffer() = default;
    explicit TextBuffer(const char* text) { assign(text); }

    void clear() {
        length = 0;
        data[0] = 0;
    }
    void assign(const char* text) {
        clear();
        append(text);
    }
    // Appends as much of text as fits (null appends nothing).
    void append(const char* text);
    // Appends printf-style output, cut where it no longer fits.
    void appendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));

    const char* c_str() const { return data; }
    size_t size() const { return length; }
    bool empty() const { return length == 0; }

  private:
    char data[kMaxLength + 1] = {};
    size_t length = 0;
};
