// The Win32 back end's own rules: a class is used only while registered, a window destroyed
// with its parent is reported gone, the clipboard's text, popup panels, web addresses and
// folder checks.
#include "gui/platform/pixel_surface.h"
#include "gui/platform/win32/win32_platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Parent {
    Parent() {
        handle = CreateWindowExW(0, L"STATIC", L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~Parent() { DestroyWindow(handle); }
    HWND handle = nullptr;
};

platform::WindowSpec specIn(HWND parent, const char* className) {
    platform::WindowSpec windowSpec;
    windowSpec.parent = parent;
    windowSpec.width = 100;
    windowSpec.height = 50;
    windowSpec.className = className;
    return windowSpec;
}

} // namespace

TEST(Win32Platform, AClassIsUsedOnlyWhileRegistered) {
    Win32Platform& platform = win32Platform();
    Parent parent;
    ASSERT_TRUE(parent.handle);
    EXPECT_EQ(platform.createChildWindow(specIn(parent.handle, "PluginTestClass")), nullptr);
    ASSERT_TRUE(platform.registerWindowClass("PluginTestClass"));
    auto window = platform.createChildWindow(specIn(parent.handle, "PluginTestClass"));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isUsable());
    window.reset();
    platform.unregisterWindowClass("PluginTestClass");
    EXPECT_EQ(platform.createChildWindow(specIn(parent.handle, "PluginTestClass")), nullptr);
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    EXPECT_FALSE(GetClassInfoExW(platform.instance(), L"PluginTestClass", &description));
    // Registered afresh, it works again.
    ASSERT_TRUE(platform.registerWindowClass("PluginTestClass"));
    EXPECT_NE(platform.createChildWindow(specIn(parent.handle, "PluginTestClass")), nullptr);
    platform.unregisterWindowClass("PluginTestClass");
}

TEST(Win32Platform, AWindowDestroyedWithItsParentIsReportedGone) {
    Win32Platform& platform = win32Platform();
    ASSERT_TRUE(platform.registerWindowClass("PluginTestGone"));
    struct Listener : platform::WindowListener {
        void windowPaint(const platform::Area&) override {}
        void windowButtonDown(int32_t, int32_t) override {}
        void windowDestroyed() override { ++destroyed; }
        int destroyed = 0;
    } listener;
    auto parent = std::make_unique<Parent>();
    platform::WindowSpec windowSpec = specIn(parent->handle, "PluginTestGone");
    windowSpec.listener = &listener;
    auto window = platform.createChildWindow(windowSpec);
    ASSERT_NE(window, nullptr);
    parent.reset();
    window->processEvents(platform::EventFilter::All);
    EXPECT_FALSE(window->isUsable());
    EXPECT_EQ(listener.destroyed, 1);
    window.reset(); // the handle is stale: nothing is destroyed twice
    platform.unregisterWindowClass("PluginTestGone");
}

TEST(Win32Platform, TheClipboardCarriesLatin1TextAndThereIsNoPrimarySelection) {
    Win32Platform& platform = win32Platform();
    ASSERT_TRUE(platform.registerWindowClass("PluginTestClipboard"));
    Parent parent;
    auto window = platform.createChildWindow(specIn(parent.handle, "PluginTestClipboard"));
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->setSelectionText(platform::Selection::Clipboard, "caf\xe9 50%"));
    // Other programs read it as Unicode text.
    ASSERT_TRUE(OpenClipboard(nullptr));
    const auto* wide = static_cast<const wchar_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
    EXPECT_STREQ(wide, L"caf\u00e9 50%");
    GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
    CloseClipboard();
    char text[6] = {};
    ASSERT_TRUE(window->getSelectionText(platform::Selection::Clipboard, text, sizeof text));
    EXPECT_STREQ(text, "caf\xe9 ");
    EXPECT_FALSE(window->setSelectionText(platform::Selection::Primary, "x"));
    EXPECT_FALSE(window->getSelectionText(platform::Selection::Primary, text, sizeof text));
    window.reset();
    platform.unregisterWindowClass("PluginTestClipboard");
}

TEST(Win32Platform, APopupLayerShowsTopmostPanelsAndTakesTheThreadsInput) {
    Win32Platform& platform = win32Platform();
    ASSERT_TRUE(platform.registerWindowClass("PluginTestPopup"));
    Parent parent;
    auto window = platform.createChildWindow(specIn(parent.handle, "PluginTestPopup"));
    ASSERT_NE(window, nullptr);
    auto layer = window->openPopupLayer();
    ASSERT_NE(layer, nullptr);
    const PixelSurface pixels(40, 30, 0x00336699);
    const platform::PopupPanel panel{{100, 120, 140, 150}, &pixels};
    layer->showPanels(&panel, 1);
    ASSERT_TRUE(layer->isUsable());
    HWND shown = GetCapture();
    ASSERT_NE(shown, nullptr);
    RECT place{};
    GetWindowRect(shown, &place);
    EXPECT_EQ(place.left, 100);
    EXPECT_EQ(place.bottom, 150);
    EXPECT_TRUE(GetWindowLongW(shown, GWL_EXSTYLE) & WS_EX_TOPMOST);

    struct Listener : platform::PopupListener {
        void popupKey(const platform::KeyEvent& key) override { keys.push_back(key.code); }
        void popupPointer(platform::PopupPointer kind, int32_t, int32_t, int32_t button) override {
            if (kind == platform::PopupPointer::Press) presses.push_back(button);
        }
        std::vector<platform::KeyCode> keys;
        std::vector<int32_t> presses;
    } listener;
    // A key meant for the host's window and a press on the panel: both are the menu's.
    PostMessageW(parent.handle, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageW(shown, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    layer->processEvents(listener);
    EXPECT_EQ(listener.keys, std::vector<platform::KeyCode>{platform::KeyCode::Escape});
    EXPECT_EQ(listener.presses, std::vector<int32_t>{3});
    layer.reset();
    EXPECT_FALSE(IsWindow(shown));
    EXPECT_NE(GetCapture(), shown);
    window.reset();
    platform.unregisterWindowClass("PluginTestPopup");
}

TEST(Win32Platform, OnlyWebAddressesGoToTheShellAndOnlyAbsoluteFoldersAreFolders) {
    Win32Platform& platform = win32Platform();
    EXPECT_FALSE(platform.openWebPage(nullptr));
    EXPECT_FALSE(platform.openWebPage("file:///C:/windows/notepad.exe"));
    EXPECT_FALSE(platform.openWebPage("C:\\windows\\notepad.exe"));
    EXPECT_FALSE(platform.openWebPage(("https://example.org/" + std::string(5000, 'a')).c_str()));
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(GetWindowsDirectoryW(system, MAX_PATH), 0u);
    char folder[MAX_PATH * 3] = {};
    WideCharToMultiByte(CP_UTF8, 0, system, -1, folder, sizeof folder, nullptr, nullptr);
    EXPECT_TRUE(platform.isDirectory(folder));
    EXPECT_TRUE(platform.isDirectory(std::string(folder) + "/system32"));
    EXPECT_FALSE(platform.isDirectory(std::string(folder) + "\\win.ini"));
    EXPECT_FALSE(platform.isDirectory(std::string(folder) + "\\no such folder"));
    EXPECT_FALSE(platform.isDirectory("windows"));
    EXPECT_FALSE(platform.isDirectory(""));
}
