// Drops from other programs onto a window, through OLE: Win32DropRegistration initialises OLE
// on the GUI thread and registers a Win32DropTarget (the system's drop-target interface) on
// the window for its life; the target asks the data object for a file list (CF_HDROP), then
// Unicode text (CF_UNICODETEXT, or 8-bit CF_TEXT when only that is offered), and hands them
// to the window's DropListener: files as UTF-8 absolute paths with shell links resolved
// (paths beyond the path limit are left out), text as UTF-8. The files are offered first; the
// text only when the listener found nothing to take in them. Copy with the control key held,
// move otherwise, limited to what the source allows; nothing for data with neither format.
//
// Faults are harmless: data that cannot be read, an empty file list or text, or text larger
// than kMaxTextBytes is not taken, and a drop with no data is answered with no effect.
//
// State: the window, the listener (none after detach()), the formats the drag offers, the
// reference count. GUI thread only (OLE calls the target there).
#pragma once

#include "gui/platform/drop_listener.h"
#include "gui/platform/win32/win32_com.h"

#include <windows.h>

#include <ole2.h>

#include <cstddef>
#include <string>
#include <vector>

class Win32DropTarget final : public IDropTarget {
  public:
    static constexpr size_t kMaxTextBytes = 4u << 20;

    Win32DropTarget(HWND window, platform::DropListener* listener);

    // Stops all reports: later drags are refused.
    void detach() { listener = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDropTarget
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                   DWORD* effect) override;

    // The data a data object carries, as the listener gets it; false when the format is not
    // there or cannot be read.
    static bool readFiles(IDataObject* data, std::vector<std::string>& paths);
    static bool readText(IDataObject* data, std::string& text);

  private:
    ~Win32DropTarget() = default; // through Release only

    // The listener's answer at a screen point, as an effect the source allows.
    DWORD answer(DWORD keys, POINTL point, DWORD allowed);
    void toWindow(POINTL point, int32_t& x, int32_t& y) const;

    LONG references = 1;
    HWND window;
    platform::DropListener* listener;
    uint32_t formats = 0; // DropFormat bits of the drag over the window
    bool inside = false;  // between DragEnter and DragLeave or Drop
};

// OLE for the window's thread and the target registered on the window; the destructor
// revokes it (call it before the window is destroyed) and balances the initialisation.
class Win32DropRegistration {
  public:
    Win32DropRegistration(HWND window, platform::DropListener* listener);
    ~Win32DropRegistration();
    Win32DropRegistration(const Win32DropRegistration&) = delete;
    Win32DropRegistration& operator=(const Win32DropRegistration&) = delete;

    bool isRegistered() const { return registered; }
    void detach();

  private:
    OleSession ole;
    HWND window;
    Win32DropTarget* target;
    bool registered = false;
};
