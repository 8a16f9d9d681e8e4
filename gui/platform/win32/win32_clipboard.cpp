// The clipboard through OpenClipboard, with a few tries while another program holds it open.
#include "gui/platform/win32/win32_clipboard.h"

#include <cstring>
#include <cwchar>

namespace {

constexpr int kOpenTries = 10;
constexpr DWORD kOpenRetryMs = 5;

bool openClipboard(HWND owner) {
    for (int tries = 0; tries < kOpenTries; ++tries) {
        if (OpenClipboard(owner)) return true;
        Sleep(kOpenRetryMs);
    }
    return false;
}

} // namespace

bool win32_clipboard::setText(HWND owner, const char* text) {
    if (!text) return false;
    const size_t length = std::strlen(text);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (length + 1) * sizeof(wchar_t));
    if (!memory) return false;
    auto* wide = static_cast<wchar_t*>(GlobalLock(memory));
    if (!wide) {
        GlobalFree(memory);
        return false;
    }
    for (size_t i = 0; i < length; ++i)
        wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
    wide[length] = 0;
    GlobalUnlock(memory);
    if (!openClipboard(owner)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    if (!placed) GlobalFree(memory); // the clipboard owns it only once placed
    return placed;
}

bool win32_clipboard::getText(HWND owner, char* buffer, size_t capacity) {
    if (!buffer || capacity == 0) return false;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !openClipboard(owner)) return false;
    bool found = false;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* wide = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (wide) {
        // The text ends at its zero or at the end of its memory, whichever comes first.
        const size_t units = GlobalSize(data) / sizeof(wchar_t);
        size_t out = 0;
        for (size_t i = 0; i < units && wide[i] && out + 1 < capacity; ++i) {
            const auto unit = static_cast<unsigned>(wide[i]);
            if (unit >= 0xDC00u && unit <= 0xDFFFu) continue; // a pair's second half: one '?'
            buffer[out++] = unit <= 0xFFu ? static_cast<char>(unit) : '?';
        }
        buffer[out] = 0;
        GlobalUnlock(data);
        found = true;
    }
    CloseClipboard();
    return found;
}
