// Win32 key translation.
#include "gui/platform/win32/win32_keys.h"

namespace {

platform::KeyCode specialKey(WPARAM virtualKey, bool extended) {
    using platform::KeyCode;
    switch (virtualKey) {
    case VK_LEFT:
        return KeyCode::Left;
    case VK_RIGHT:
        return KeyCode::Right;
    case VK_UP:
        return KeyCode::Up;
    case VK_DOWN:
        return KeyCode::Down;
    case VK_HOME:
        return KeyCode::Home;
    case VK_END:
        return KeyCode::End;
    case VK_BACK:
        return KeyCode::Backspace;
    case VK_DELETE:
        return KeyCode::Delete;
    case VK_INSERT:
        return KeyCode::Insert;
    case VK_RETURN:
        return extended ? KeyCode::KeypadEnter : KeyCode::Enter;
    case VK_ESCAPE:
        return KeyCode::Escape;
    case VK_TAB:
        return KeyCode::Tab;
    default:
        return KeyCode::Unknown;
    }
}

bool isPrintable(wchar_t c) {
    return c >= 32 && c != 127 && c <= 0xFF;
}

} // namespace

uint32_t win32_keys::heldModifiers() {
    uint32_t bits = 0;
    if (GetKeyState(VK_SHIFT) & 0x8000) bits |= platform::kModShift;
    if (GetKeyState(VK_CONTROL) & 0x8000) bits |= platform::kModControl;
    if (GetKeyState(VK_MENU) & 0x8000) bits |= platform::kModAlt;
    return bits;
}

platform::KeyEvent win32_keys::translateKey(UINT message, WPARAM virtualKey, wchar_t typed) {
    platform::KeyEvent key;
    key.pressed = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    key.modifiers = heldModifiers();
    // Bit 24 of the message's key data marks the keypad's Enter; the caller passes it folded
    // into bit 16 of the virtual key.
    const bool extended = (virtualKey & 0x10000u) != 0;
    key.code = specialKey(virtualKey & 0xFFFFu, extended);
    if (key.code != platform::KeyCode::Unknown) return key;
    // Control and AltGr combinations type control codes or nothing: the key's own character.
    wchar_t c = typed;
    if (!isPrintable(c)) {
        c = static_cast<wchar_t>(
            MapVirtualKeyW(static_cast<UINT>(virtualKey & 0xFFFFu), MAPVK_VK_TO_CHAR) & 0x7FFFu);
        if (c >= L'A' && c <= L'Z' && !(key.modifiers & platform::kModShift)) c += L'a' - L'A';
    }
    if (isPrintable(c)) {
        key.code = platform::KeyCode::Character;
        key.character = static_cast<char>(c);
    }
    return key;
}

platform::KeyEvent win32_keys::translateChar(wchar_t typed) {
    platform::KeyEvent key;
    key.modifiers = heldModifiers();
    if (isPrintable(typed)) {
        key.code = platform::KeyCode::Character;
        key.character = static_cast<char>(typed);
    }
    return key;
}
