// The native edit control and popup menu (win32_edit_box, win32_menu), compiled with each
// variant of the toolkit, as the variant-free window code reaches them: the presenter and the
// peer factory a Win32 window offers its frame, and the messages of the frame window they
// answer (the edit control's colours, owner-drawn menu entries).
#pragma once

#include <windows.h>

class EditBoxPeerFactory;
class MenuPresenter;

MenuPresenter* win32NativeMenuPresenter();
EditBoxPeerFactory* win32NativeEditBoxPeers();
// True (with the answer) when the message was one of theirs.
bool answerNativePieceMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
