// X11 key translation.
#include "gui/platform/x11/x11_keys.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

platform::KeyEvent x11_keys::translate(XKeyEvent& event) {
    platform::KeyEvent key;
    key.pressed = event.type == KeyPress;
    if (event.state & ShiftMask) key.modifiers |= platform::kModShift;
    if (event.state & ControlMask) key.modifiers |= platform::kModControl;
    if (event.state & Mod1Mask) key.modifiers |= platform::kModAlt;

    // Looked up without Control, so that Control-C answers 'c' rather than a control code.
    XKeyEvent plain = event;
    plain.state &= ~static_cast<unsigned>(ControlMask);
    char text[8] = {};
    KeySym keysym = NoSymbol;
    const int count = XLookupString(&plain, text, sizeof(text), &keysym, nullptr);
    switch (keysym) {
    case XK_Left:
    case XK_KP_Left:
        key.code = platform::KeyCode::Left;
        return key;
    case XK_Right:
    case XK_KP_Right:
        key.code = platform::KeyCode::Right;
        return key;
    case XK_Up:
    case XK_KP_Up:
        key.code = platform::KeyCode::Up;
        return key;
    case XK_Down:
    case XK_KP_Down:
        key.code = platform::KeyCode::Down;
        return key;
    case XK_Home:
    case XK_KP_Home:
        key.code = platform::KeyCode::Home;
        return key;
    case XK_End:
    case XK_KP_End:
        key.code = platform::KeyCode::End;
        return key;
    case XK_BackSpace:
        key.code = platform::KeyCode::Backspace;
        return key;
    case XK_Delete:
    case XK_KP_Delete:
        key.code = platform::KeyCode::Delete;
        return key;
    case XK_Insert:
    case XK_KP_Insert:
        key.code = platform::KeyCode::Insert;
        return key;
    case XK_Return:
        key.code = platform::KeyCode::Enter;
        return key;
    case XK_KP_Enter:
        key.code = platform::KeyCode::KeypadEnter;
        return key;
    case XK_Escape:
        key.code = platform::KeyCode::Escape;
        return key;
    case XK_Tab:
    case XK_ISO_Left_Tab:
        key.code = platform::KeyCode::Tab;
        return key;
    default:
        break;
    }
    const auto first = static_cast<unsigned char>(text[0]);
    if (count == 1 && first >= 32 && first != 127) {
        key.code = platform::KeyCode::Character;
        key.character = text[0];
    }
    return key;
}
