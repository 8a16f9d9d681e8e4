// TextBuffer: bounded appends.
#include "gui/text_buffer.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

void TextBuffer::append(const char* text) {
    if (!text) return;
    size_t add = std::strlen(text);
    if (add > kMaxLength - length) add = kMaxLength - length;
    std::memcpy(data + length, text, add);
    length += add;
    data[length] = 0;
}

void TextBuffer::appendFormat(const char* format, ...) {
    if (!format || length >= kMaxLength) return;
    va_list arguments;
    va_start(arguments, format);
    const int written = std::vsnprintf(data + length, kMaxLength + 1 - length, format, arguments);
    va_end(arguments);
    if (written < 0) {
        data[length] = 0;
        return;
    }
    length += static_cast<size_t>(written);
    if (length > kMaxLength) length = kMaxLength;
    data[length] = 0;
}
