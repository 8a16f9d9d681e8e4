// Win32DropTarget: the drop-target interface, the data formats it reads, and its registration.
#include "gui/platform/win32/win32_drop.h"

#include "gui/platform/common/path_limit.h"
#include "gui/platform/platform.h"
#include "gui/platform/win32/win32_shell_link.h"
#include "gui/platform/win32/win32_text.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

namespace {

FORMATETC formatOf(CLIPFORMAT format) {
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool offers(IDataObject* data, CLIPFORMAT format) {
    FORMATETC wanted = formatOf(format);
    return data && data->QueryGetData(&wanted) == S_OK;
}

uint32_t formatsOf(IDataObject* data) {
    uint32_t formats = 0;
    if (offers(data, CF_HDROP)) formats |= platform::kDropFiles;
    if (offers(data, CF_UNICODETEXT) || offers(data, CF_TEXT)) formats |= platform::kDropText;
    return formats;
}

// The global memory of one format, locked while the object lives.
class LockedMedium {
  public:
    LockedMedium(IDataObject* data, CLIPFORMAT format) {
        FORMATETC wanted = formatOf(format);
        if (!data || data->GetData(&wanted, &medium) != S_OK) return;
        obtained = true;
        if (medium.tymed != TYMED_HGLOBAL || !medium.hGlobal) return;
        bytes = GlobalLock(medium.hGlobal);
        if (bytes) size = GlobalSize(medium.hGlobal);
    }
    ~LockedMedium() {
        if (bytes) GlobalUnlock(medium.hGlobal);
        if (obtained) ReleaseStgMedium(&medium);
    }
    LockedMedium(const LockedMedium&) = delete;
    LockedMedium& operator=(const LockedMedium&) = delete;

    const void* data() const { return bytes; }
    size_t getSize() const { return bytes ? size : 0; }
    HGLOBAL handle() const { return bytes ? medium.hGlobal : nullptr; }

  private:
    STGMEDIUM medium{};
    bool obtained = false;
    void* bytes = nullptr;
    size_t size = 0;
};

uint32_t modifiersOf(DWORD keys) {
    uint32_t bits = 0;
    if (keys & MK_SHIFT) bits |= platform::kModShift;
    if (keys & MK_CONTROL) bits |= platform::kModControl;
    if (keys & MK_ALT) bits |= platform::kModAlt;
    return bits;
}

} // namespace

Win32DropTarget::Win32DropTarget(HWND window, platform::DropListener* listener)
    : window(window), listener(listener) {}

HRESULT STDMETHODCALLTYPE Win32DropTarget::QueryInterface(REFIID id, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE Win32DropTarget::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references));
}

ULONG STDMETHODCALLTYPE Win32DropTarget::Release() {
    const LONG left = InterlockedDecrement(&references);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

void Win32DropTarget::toWindow(POINTL point, int32_t& x, int32_t& y) const {
    POINT inWindow{point.x, point.y};
    ScreenToClient(window, &inWindow);
    x = inWindow.x;
    y = inWindow.y;
}

DWORD Win32DropTarget::answer(DWORD keys, POINTL point, DWORD allowed) {
    if (!listener || !inside) return DROPEFFECT_NONE;
    int32_t x = 0, y = 0;
    toWindow(point, x, y);
    const platform::DropAction action = listener->dragOver(formats, modifiersOf(keys), x, y);
    if (action == platform::DropAction::Refused) return DROPEFFECT_NONE;
    const DWORD wanted = action == platform::DropAction::Copy ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    if (allowed & wanted) return wanted;
    // A source that offers only the other effect gets that one.
    const DWORD other = wanted == DROPEFFECT_COPY ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    return allowed & other;
}

HRESULT STDMETHODCALLTYPE Win32DropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                                     DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    formats = formatsOf(data);
    inside = true;
    *effect = answer(keys, point, *effect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Win32DropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    *effect = answer(keys, point, *effect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Win32DropTarget::DragLeave() {
    if (inside && listener) listener->dragLeave();
    inside = false;
    formats = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Win32DropTarget::Drop(IDataObject* data, DWORD keys, POINTL point,
                                                DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    if (!inside) formats = formatsOf(data); // a drop without an enter first
    inside = true;
    const DWORD answered = answer(keys, point, *effect);
    *effect = DROPEFFECT_NONE;
    if (answered == DROPEFFECT_NONE || !listener) {
        DragLeave();
        return S_OK;
    }
    int32_t x = 0, y = 0;
    toWindow(point, x, y);
    AddRef(); // a listener may revoke the registration while it handles the drop
    platform::DropOutcome outcome = platform::DropOutcome::Unusable;
    platform::DropData dropped;
    if ((formats & platform::kDropFiles) && readFiles(data, dropped.paths))
        outcome = listener->drop(platform::kDropFiles, dropped, x, y);
    if (outcome == platform::DropOutcome::Unusable && listener && (formats & platform::kDropText) &&
        readText(data, dropped.text)) {
        dropped.paths.clear();
        outcome = listener->drop(platform::kDropText, dropped, x, y);
    }
    if (outcome == platform::DropOutcome::Taken) *effect = answered;
    DragLeave();
    Release();
    return S_OK;
}

bool Win32DropTarget::readFiles(IDataObject* data, std::vector<std::string>& paths) {
    paths.clear();
    LockedMedium medium(data, CF_HDROP);
    // The list starts with its DROPFILES header; anything shorter is no list.
    if (medium.getSize() < sizeof(DROPFILES)) return false;
    auto drop = static_cast<HDROP>(medium.handle());
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0 || length > platform::kMaxPathBytes) continue;
        std::wstring path(length + 1, L'\0');
        if (DragQueryFileW(drop, i, path.data(), length + 1) != length) continue;
        path.resize(length);
        std::wstring target;
        if (shell_link::resolve(path, target)) path = target;
        std::string utf8 = win32_text::toPath(path);
        // Longer paths are left out, never cut: a cut path names another file.
        if (utf8.empty() || utf8.size() > platform::kMaxPathBytes) continue;
        paths.push_back(std::move(utf8));
    }
    return !paths.empty();
}

bool Win32DropTarget::readText(IDataObject* data, std::string& text) {
    text.clear();
    if (offers(data, CF_UNICODETEXT)) {
        LockedMedium medium(data, CF_UNICODETEXT);
        const auto* wide = static_cast<const wchar_t*>(medium.data());
        const size_t room = medium.getSize() / sizeof(wchar_t);
        if (!wide || room == 0 || room > kMaxTextBytes / sizeof(wchar_t)) return false;
        size_t length = 0;
        while (length < room && wide[length]) // the text ends at its zero, if it has one
            ++length;
        text = win32_text::toPath(std::wstring(wide, length));
        return !text.empty();
    }
    LockedMedium medium(data, CF_TEXT);
    const auto* bytes = static_cast<const char*>(medium.data());
    const size_t room = medium.getSize();
    if (!bytes || room == 0 || room > kMaxTextBytes) return false;
    const std::string ansi(bytes, strnlen(bytes, room));
    // 8-bit text is in the system's code page: through UTF-16 to UTF-8.
    if (ansi.empty()) return false;
    const int size =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (size <= 0) return false;
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), size);
    text = win32_text::toPath(wide);
    return !text.empty();
}

Win32DropRegistration::Win32DropRegistration(HWND window, platform::DropListener* listener)
    : window(window), target(new Win32DropTarget(window, listener)) {
    // RegisterDragDrop holds a reference of its own while registered.
    registered = ole.isUsable() && RegisterDragDrop(window, target) == S_OK;
}

Win32DropRegistration::~Win32DropRegistration() {
    target->detach();
    if (registered) RevokeDragDrop(window);
    target->Release();
}

void Win32DropRegistration::detach() {
    target->detach();
}
