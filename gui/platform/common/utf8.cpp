// UTF-8 checks and conversions between UTF-8 and Latin-1.
#include "gui/platform/common/utf8.h"

#include <cstdint>

namespace utf8 {

bool isClean(const std::string& text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    for (size_t i = 0; i < size;) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            if (lead < 0x20 || lead == 0x7f) return false;
            ++i;
            continue;
        }
        int extra = 0;
        uint32_t code = 0;
        if (lead >= 0xc2 && lead <= 0xdf) {
            extra = 1;
            code = lead & 0x1f;
        } else if (lead >= 0xe0 && lead <= 0xef) {
            extra = 2;
            code = lead & 0x0f;
        } else if (lead >= 0xf0 && lead <= 0xf4) {
            extra = 3;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + extra >= size) return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = bytes[i + k];
            if ((next & 0xc0) != 0x80) return false;
            code = (code << 6) | (next & 0x3f);
        }
        if ((extra == 2 && code < 0x800) || (extra == 3 && (code < 0x10000 || code > 0x10ffff)))
            return false;
        if (code >= 0xd800 && code <= 0xdfff) return false;
        if (code >= 0x80 && code <= 0x9f) return false;
        i += extra + 1;
    }
    return true;
}

std::string fromLatin1(const std::string& latin1) {
    std::string out;
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xc0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3f));
        }
    }
    return out;
}

std::string toLatin1(const std::string& utf8Text) {
    std::string out;
    for (size_t i = 0; i < utf8Text.size();) {
        const auto byte = static_cast<unsigned char>(utf8Text[i]);
        size_t length = 1;
        uint32_t code = byte;
        if (byte >= 0xf0)
            length = 4, code = byte & 0x07;
        else if (byte >= 0xe0)
            length = 3, code = byte & 0x0f;
        else if (byte >= 0xc0)
            length = 2, code = byte & 0x1f;
        else if (byte >= 0x80)
            code = '?'; // a stray continuation byte
        if (i + length > utf8Text.size()) break;
        for (size_t k = 1; k < length; ++k)
            code = (code << 6) | (static_cast<unsigned char>(utf8Text[i + k]) & 0x3f);
        out += code < 0x100 ? static_cast<char>(code) : '?';
        i += length;
    }
    return out;
}

std::string forDisplay(const std::string& field) {
    std::string text = field;
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    if (isClean(text)) return text;
    std::string converted;
    for (unsigned char c : text) {
        if (c < 0x80) {
            converted += static_cast<char>(c);
        } else if (c < 0xa0) {
            converted += ' ';
        } else {
            converted += static_cast<char>(0xc0 | (c >> 6));
            converted += static_cast<char>(0x80 | (c & 0x3f));
        }
    }
    return converted;
}

} // namespace utf8
