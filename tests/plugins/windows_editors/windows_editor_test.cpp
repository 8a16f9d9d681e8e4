// The editors of the Windows DLLs in real Win32 windows, loaded as a host loads them.
#include "tests/support/plugin_loader.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <set>
#include <vector>

namespace {

// Keys that reached the host's window: what an editor left to the host.
std::vector<WPARAM> hostKeys;

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) hostKeys.push_back(wParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

// A top-level window of the test's own, as a host makes one for an editor.
struct HostWindow {
    HostWindow() {
        static const bool registered = [] {
            WNDCLASSW description{};
            description.lpfnWndProc = hostProcedure;
            description.hInstance = GetModuleHandleW(nullptr);
            description.lpszClassName = L"EditorTestHost";
            return RegisterClassW(&description) != 0;
        }();
        if (registered)
            handle =
                CreateWindowExW(0, L"EditorTestHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                0, 800, 600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~HostWindow() {
        if (handle) DestroyWindow(handle);
    }
    HWND handle = nullptr;
};

void pump(PluginHost& host, int rounds = 5) {
    for (int i = 0; i < rounds; ++i) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        host.dispatch(effEditIdle);
        Sleep(5);
    }
}

BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> children(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, collectWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Every window of this thread, children included.
size_t threadWindowCount() {
    std::vector<HWND> topLevel;
    EnumThreadWindows(GetCurrentThreadId(), collectWindow, reinterpret_cast<LPARAM>(&topLevel));
    size_t count = topLevel.size();
    for (HWND window : topLevel)
        count += children(window).size();
    return count;
}

// The distinct colours the window shows: a painted panel shows many.
size_t colourCount(HWND window, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC device = GetDC(window);
    HDC memory = CreateCompatibleDC(device);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ before = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, device, 0, 0, SRCCOPY);
    GdiFlush();
    std::set<uint32_t> colours;
    const auto* pixels = static_cast<const uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i)
        colours.insert(pixels[i] & 0xFFFFFFu);
    SelectObject(memory, before);
    DeleteObject(section);
    DeleteDC(memory);
    ReleaseDC(window, device);
    return colours.size();
}

struct OpenEditor {
    HWND window = nullptr;
    HMODULE classModule = nullptr;
    std::wstring className;
};

// Opens `host`'s editor in `parent`; the editor's child window and its class's module.
OpenEditor openIn(PluginHost& host, HWND parent) {
    OpenEditor editor;
    if (host.dispatch(effEditOpen, 0, 0, parent) == 0) return editor;
    pump(host);
    const std::vector<HWND> made = children(parent);
    if (made.size() != 1) return editor;
    editor.window = made.front();
    editor.classModule = reinterpret_cast<HMODULE>(GetClassLongPtrW(editor.window, GCLP_HMODULE));
    wchar_t name[256] = {};
    GetClassNameW(editor.window, name, 256);
    editor.className = name;
    return editor;
}

bool classExists(HMODULE module, const std::wstring& name) {
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    return GetClassInfoExW(module, name.c_str(), &description) != 0;
}

bool isBuilt(const char* name) {
    for (const std::string& built : builtPlugins())
        if (built == name) return true;
    return false;
}

} // namespace

TEST(WindowsEditors, EditorsOfTwoLibrariesOpenSideBySideEachOnItsOwnClass) {
    if (!isBuilt("tloom") || !isBuilt("corallis")) GTEST_SKIP() << "needs tloom and corallis";
    auto older = loadPlugin("tloom");
    auto newer = loadPlugin("corallis");
    ASSERT_TRUE(older && newer);
    HostWindow first, second;
    const OpenEditor a = openIn(*older, first.handle);
    const OpenEditor b = openIn(*newer, second.handle);
    ASSERT_TRUE(a.window && b.window);
    EXPECT_NE(a.classModule, b.classModule);
    EXPECT_GT(colourCount(first.handle, 200, 100), 10u);
    EXPECT_GT(colourCount(second.handle, 200, 100), 10u);

    // One closed: the other's class stays, and its window still paints.
    older->dispatch(effEditClose);
    pump(*newer);
    EXPECT_FALSE(classExists(a.classModule, a.className));
    EXPECT_TRUE(classExists(b.classModule, b.className));
    InvalidateRect(b.window, nullptr, FALSE);
    pump(*newer);
    EXPECT_GT(colourCount(second.handle, 200, 100), 10u);
    // And the closed one opens again beside it.
    const OpenEditor again = openIn(*older, first.handle);
    EXPECT_TRUE(again.window);
    older->dispatch(effEditClose);
    newer->dispatch(effEditClose);
}

TEST(WindowsEditors, TwoCopiesOfOneLibraryNeverShareTheirClass) {
    if (!isBuilt("swirlet")) GTEST_SKIP() << "needs swirlet";
    const std::filesystem::path copy =
        std::filesystem::temp_directory_path() /
        ("swirlet-copy-" + std::to_string(GetCurrentProcessId()) + ".dll");
    std::filesystem::copy_file(pluginPath("swirlet"), copy,
                               std::filesystem::copy_options::overwrite_existing);
    std::string error;
    auto original = loadPlugin("swirlet");
    auto twin = PluginHost::load(copy.string(), error);
    ASSERT_TRUE(original && twin) << error;
    twin->start(44100.0f, 512);
    HostWindow first, second;
    const OpenEditor a = openIn(*original, first.handle);
    const OpenEditor b = openIn(*twin, second.handle);
    ASSERT_TRUE(a.window && b.window);
    EXPECT_NE(a.classModule, b.classModule);
    twin->dispatch(effEditClose);
    EXPECT_TRUE(classExists(a.classModule, a.className));
    InvalidateRect(a.window, nullptr, FALSE);
    pump(*original);
    EXPECT_GT(colourCount(first.handle, 200, 100), 10u);
    original->dispatch(effEditClose);
}

TEST(WindowsEditors, AFailedOpenAnswersZeroAndALaterOpenWorks) {
    for (const std::string& name : builtPlugins()) {
        auto host = loadPlugin(name);
        ASSERT_TRUE(host);
        HWND gone = nullptr;
        {
            HostWindow destroyed;
            gone = destroyed.handle;
        }
        EXPECT_EQ(host->dispatch(effEditOpen, 0, 0, gone), 0) << name;
        EXPECT_EQ(host->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t{0x1234})), 0)
            << name;
        HostWindow parent;
        const OpenEditor editor = openIn(*host, parent.handle);
        EXPECT_TRUE(editor.window) << name;
        host->dispatch(effEditClose);
    }
}

TEST(WindowsEditors, KeysNoViewTakesGoOnToTheHostsWindow) {
    if (!isBuilt("grimfold")) GTEST_SKIP() << "needs grimfold";
    auto host = loadPlugin("grimfold");
    ASSERT_TRUE(host);
    HostWindow parent;
    const OpenEditor editor = openIn(*host, parent.handle);
    ASSERT_TRUE(editor.window);
    hostKeys.clear();
    PostMessageW(editor.window, WM_KEYDOWN, 'Q', 1);
    pump(*host);
    EXPECT_EQ(hostKeys, std::vector<WPARAM>{'Q'});
    host->dispatch(effEditClose);
}

TEST(WindowsEditors, OpenCloseCyclesLeaveNoWindowOrGuiObjectBehind) {
    const std::vector<std::string> names = builtPlugins();
    std::vector<std::unique_ptr<PluginHost>> hosts;
    for (const std::string& name : names) {
        hosts.push_back(loadPlugin(name));
        ASSERT_TRUE(hosts.back()) << name;
    }
    HostWindow parent;
    // Once each first: the system's own lazily made objects (cursors, caches) are counted in.
    for (auto& host : hosts) {
        ASSERT_TRUE(openIn(*host, parent.handle).window);
        host->dispatch(effEditClose);
        pump(*host, 1);
    }
    const size_t windows = threadWindowCount();
    const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (int cycle = 0; cycle < 200; ++cycle) {
        PluginHost& host = *hosts[static_cast<size_t>(cycle) % hosts.size()];
        ASSERT_NE(host.dispatch(effEditOpen, 0, 0, parent.handle), 0) << cycle;
        pump(host, 1);
        host.dispatch(effEditClose);
        pump(host, 1);
    }
    EXPECT_EQ(threadWindowCount(), windows);
    // Wine answers 0 for both (its GetGuiResources is not implemented); Windows counts.
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user);
}
