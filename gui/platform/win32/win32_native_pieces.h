// The native edit control and popup menu (win32_edit_box, win32_menu) as the variant-free
// window code reaches them. They adapt toolkit classes, so they are compiled with each variant
// of the toolkit (platform_win32_native_<variant>) and register themselves here when a program
// links them (the DLLs do); a program without them (a test of the window code alone) gets no
// native pieces, and its frames fall back to the toolkit's own menus and edit boxes.
//
// State: what registered, set while the library loads. GUI thread otherwise.
#pragma once

#include <windows.h>

class EditBoxPeerFactory;
class MenuPresenter;

struct Win32NativePieces {
    MenuPresenter* menus = nullptr;
    EditBoxPeerFactory* editBoxes = nullptr;
    // The frame window's messages each answers (the edit control's colours, owner-drawn menu
    // entries): true with the answer when the message was one of its own.
    using MessageAnswer = bool (*)(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    MessageAnswer editMessages = nullptr;
    MessageAnswer menuMessages = nullptr;

    bool answer(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
        return (editMessages && editMessages(message, wParam, lParam, result)) ||
               (menuMessages && menuMessages(message, wParam, lParam, result));
    }
};

Win32NativePieces& win32NativePieces();
