// Win32MenuPresenter: building the system menus and tracking them.
#include "gui/platform/win32/win32_menu.h"

#include "gui/draw_context.h"
#include "gui/editor_frame.h"
#include "gui/menu_look.h"
#include "gui/platform/pixel_surface.h"
#include "gui/platform/win32/win32_frame_window.h"
#include "gui/platform/win32/win32_modal_idle.h"
#include "gui/platform/win32/win32_native_pieces.h"
#include "gui/platform/win32/win32_text.h"

#include <string>

namespace {

// Menus deeper than this are not built (the tree cannot nest itself; this only bounds it).
constexpr int kMaxDepth = 32;

// An entry's text as the menu shows it: '&' would mark a mnemonic, so it is doubled.
std::wstring menuText(const char* text) {
    std::wstring shown;
    for (wchar_t c : win32_text::fromLatin1(text ? text : "")) {
        if (c == L'&') shown.push_back(L'&');
        shown.push_back(c);
    }
    return shown;
}

// The look of the menu being tracked now, whose entries the owner draws.
MenuLook* trackedLook = nullptr;

HMENU build(const MenuTree& tree, size_t panelIndex, int depth) {
    if (panelIndex >= tree.panels.size() || depth > kMaxDepth) return nullptr;
    HMENU menu = CreatePopupMenu();
    if (!menu) return nullptr;
    for (const MenuItem& item : tree.panels[panelIndex].items) {
        UINT flags = item.columnBreak ? MF_MENUBREAK : 0;
        UINT_PTR id = 0;
        switch (item.kind) {
        case MenuItem::Kind::Separator:
            if (tree.look) { // the look draws the line; the entry can never be chosen
                AppendMenuW(menu, flags | MF_OWNERDRAW | MF_DISABLED, 0,
                            reinterpret_cast<LPCWSTR>(&item));
                continue;
            }
            AppendMenuW(menu, flags | MF_SEPARATOR, 0, nullptr);
            continue;
        case MenuItem::Kind::Greyed:
            flags |= MF_STRING | MF_GRAYED;
            break;
        case MenuItem::Kind::Title:
            flags |= MF_STRING | MF_DISABLED;
            break;
        case MenuItem::Kind::SubMenu: {
            HMENU sub = item.subPanel >= 0
                            ? build(tree, static_cast<size_t>(item.subPanel), depth + 1)
                            : nullptr;
            if (!sub) continue; // a submenu that cannot be made is left out
            flags |= MF_STRING | MF_POPUP;
            id = reinterpret_cast<UINT_PTR>(sub);
            break;
        }
        case MenuItem::Kind::Normal:
            flags |= MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED);
            id = static_cast<UINT_PTR>(item.commandId + 1);
            break;
        }
        const std::wstring text = menuText(item.text);
        // Owner-drawn entries carry their item, which the look measures and draws.
        const bool appended = tree.look ? AppendMenuW(menu, (flags & ~MF_STRING) | MF_OWNERDRAW, id,
                                                      reinterpret_cast<LPCWSTR>(&item))
                                        : AppendMenuW(menu, flags, id, text.c_str());
        if (!appended && (flags & MF_POPUP)) DestroyMenu(reinterpret_cast<HMENU>(id));
    }
    return menu;
}

// Takes up to two button messages of `window` that the closing click left behind.
void dropClosingPresses(HWND window) {
    MSG message;
    for (int i = 0; i < 2; ++i)
        if (!PeekMessageW(&message, window, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_REMOVE)) break;
}

void drawItem(MenuLook& look, const DRAWITEMSTRUCT& entry) {
    const RECT& at = entry.rcItem;
    // One pixel taller than the entry: the look's fills leave their last row.
    const Rect rect(at.left, at.top, at.right, at.bottom + 1);
    PixelSurface picture(rect.getWidth(), rect.getHeight());
    if (picture.pixels.empty()) return;
    DrawContext context(nullptr, &picture, nullptr);
    context.setOffset(Point(-rect.left, -rect.top));
    const int32_t state =
        ((entry.itemState & ODS_CHECKED) ? kMenuItemChecked : 0) |
        ((entry.itemState & (ODS_DISABLED | ODS_GRAYED)) ? kMenuItemDisabled : 0) |
        ((entry.itemState & ODS_SELECTED) ? kMenuItemSelected : 0);
    look.draw(context, rect, *reinterpret_cast<const MenuItem*>(entry.itemData), state);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height; // rows top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(entry.hDC, rect.left, rect.top, static_cast<DWORD>(picture.width),
                      static_cast<DWORD>(at.bottom - at.top), 0, 0, 0,
                      static_cast<UINT>(picture.height), picture.pixels.data(), &info,
                      DIB_RGB_COLORS);
}

} // namespace

bool Win32MenuPresenter::ownerDrawMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (!trackedLook || (message != WM_MEASUREITEM && message != WM_DRAWITEM)) return false;
    if (message == WM_MEASUREITEM) {
        auto* entry = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (!entry || entry->CtlType != ODT_MENU || !entry->itemData) return false;
        DrawContext context(nullptr, nullptr, nullptr); // measuring needs no surface
        const Point size =
            trackedLook->measure(context, *reinterpret_cast<const MenuItem*>(entry->itemData));
        entry->itemWidth = static_cast<UINT>(size.h > 0 ? size.h : 0);
        entry->itemHeight = static_cast<UINT>(size.v > 0 ? size.v : 0);
    } else {
        auto* entry = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (!entry || entry->CtlType != ODT_MENU || !entry->itemData) return false;
        drawItem(*trackedLook, *entry);
    }
    result = TRUE;
    return true;
}

HMENU Win32MenuPresenter::buildMenu(const MenuTree& tree, size_t panel) {
    return build(tree, panel, 0);
}

int32_t Win32MenuPresenter::track(const MenuTree& tree, const MenuPlacement& placement) {
    EditorFrame* frame = placement.frame;
    if (!frame || tree.panels.empty()) return -1;
    HWND owner = win32WindowHandle(frame->getPlatformWindow());
    if (!owner || !IsWindow(owner)) return -1;
    HMENU menu = buildMenu(tree, 0);
    if (!menu) return -1;

    frame->remember(); // the host may close the editor while the menu is open
    const int32_t holding = frame->getReferenceCount();
    UINT chosen = 0;
    {
        ModalIdle idle(
            [&] {
                frame->runIdlePump();
                return frame->getReferenceCount() >= holding && frame->isOpen() && IsWindow(owner);
            },
            [] { EndMenu(); });
        MenuLook* outerLook = trackedLook; // a menu opened from inside another one's pump
        trackedLook = tree.look;
        const UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY |
                           (placement.rightButton ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON);
        chosen = static_cast<UINT>(TrackPopupMenuEx(menu, flags, placement.position.h,
                                                    placement.position.v, owner, nullptr));
        trackedLook = outerLook;
        if (idle.wasCancelled()) chosen = 0;
    }
    DestroyMenu(menu); // the submenus with it
    if (IsWindow(owner)) dropClosingPresses(owner);
    frame->forget();
    return chosen > 0 ? static_cast<int32_t>(chosen - 1) : -1;
}

namespace {
// Linked into a program, the presenter offers itself to the program's Win32 windows.
Win32MenuPresenter presenter;
const bool registered = [] {
    win32NativePieces().menus = &presenter;
    win32NativePieces().menuMessages = &Win32MenuPresenter::ownerDrawMessage;
    return true;
}();
} // namespace
