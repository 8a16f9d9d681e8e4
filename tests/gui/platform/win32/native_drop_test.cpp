// OLE drops onto a window under Wine: the clipboard's data object offers files (one a shell link
// made here) and text; the drop target must answer the effects the control key and the source
// allow, resolve the link, offer the text when the files are not taken, and take nothing from
// data it cannot use.
#include "gui/platform/platform.h"
#include "gui/platform/win32/win32_drop.h"
#include "gui/platform/win32/win32_shell_link.h"
#include "gui/platform/win32/win32_text.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>

namespace {

// A data object of the system's own: the clipboard's, holding files and text put there.
struct ClipboardData {
    ComRef<IDataObject> data;
    ClipboardData(HWND owner, const std::wstring& files, const std::wstring& text) {
        OpenClipboard(owner);
        EmptyClipboard();
        if (!files.empty()) {
            DROPFILES header{sizeof(DROPFILES), {0, 0}, FALSE, TRUE};
            put(CF_HDROP, &header, sizeof header, files.c_str(), files.size() + 1);
        }
        if (!text.empty()) put(CF_UNICODETEXT, nullptr, 0, text.c_str(), text.size() + 1);
        CloseClipboard();
        OleGetClipboard(data.put());
    }
    static void put(UINT format, const void* head, size_t headSize, const wchar_t* body,
                    size_t count) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, headSize + count * sizeof(wchar_t));
        auto* bytes = static_cast<char*>(GlobalLock(memory));
        if (head) std::memcpy(bytes, head, headSize);
        std::memcpy(bytes + headSize, body, count * sizeof(wchar_t));
        GlobalUnlock(memory);
        SetClipboardData(format, memory);
    }
};

// Takes text, and files as `filesOutcome` says; copies with the control key, else moves.
struct Listener final : platform::DropListener {
    platform::DropOutcome filesOutcome = platform::DropOutcome::Taken;
    std::vector<std::string> paths;
    std::string text;
    int leaves = 0;
    platform::DropAction dragOver(uint32_t formats, uint32_t keys, int32_t, int32_t) override {
        using platform::DropAction;
        return !formats                       ? DropAction::Refused
               : keys & platform::kModControl ? DropAction::Copy
                                              : DropAction::Move;
    }
    void dragLeave() override { ++leaves; }
    platform::DropOutcome drop(platform::DropFormat format, const platform::DropData& data, int32_t,
                               int32_t) override {
        if (format == platform::kDropText) {
            text = data.text;
            return platform::DropOutcome::Taken;
        }
        paths = data.paths;
        return filesOutcome;
    }
};

// A shell link at `link` to `target`, saved through the shell's own link object.
bool makeLink(const std::wstring& link, const std::wstring& target) {
    ComApartment com;
    ComRef<IShellLinkW> shell;
    ComRef<IPersistFile> file;
    return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, shell.putVoid())) &&
           SUCCEEDED(shell->SetPath(target.c_str())) &&
           SUCCEEDED(shell->QueryInterface(IID_IPersistFile, file.putVoid())) &&
           SUCCEEDED(file->Save(link.c_str(), TRUE));
}

class NativeDrops : public ::testing::Test {
  protected:
    void SetUp() override {
        window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
        target = new Win32DropTarget(window, &listener);
    }
    void TearDown() override {
        target->Release();
        DestroyWindow(window);
    }
    // The effect a drag answers on entering with `keys`, the source allowing `allowed`.
    DWORD enter(IDataObject* data, DWORD keys, DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE) {
        target->DragEnter(data, keys, POINTL{10, 10}, &allowed);
        return allowed;
    }
    DWORD drop(IDataObject* data) {
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->Drop(data, 0, POINTL{10, 10}, &effect);
        return effect;
    }

    OleSession ole;
    Listener listener;
    HWND window = nullptr;
    Win32DropTarget* target = nullptr;
};

TEST_F(NativeDrops, TheWindowIsRegisteredForItsLifeWithOleBalanced) {
    {
        Win32DropRegistration registration(window, &listener);
        ASSERT_TRUE(registration.isRegistered());
        EXPECT_EQ(RegisterDragDrop(window, target), DRAGDROP_E_ALREADYREGISTERED);
    }
    EXPECT_EQ(RegisterDragDrop(window, target), S_OK);
    EXPECT_EQ(RevokeDragDrop(window), S_OK);
}

TEST_F(NativeDrops, TheEffectFollowsTheControlKeyAndWhatTheSourceAllows) {
    ClipboardData text(window, L"", L"x");
    EXPECT_EQ(enter(text.data.get(), MK_LBUTTON), DWORD(DROPEFFECT_MOVE));
    EXPECT_EQ(enter(text.data.get(), MK_LBUTTON | MK_CONTROL), DWORD(DROPEFFECT_COPY));
    EXPECT_EQ(enter(text.data.get(), MK_LBUTTON, DROPEFFECT_COPY), DWORD(DROPEFFECT_COPY));
    ClipboardData nothing(window, L"", L"");
    EXPECT_EQ(enter(nothing.data.get(), MK_CONTROL), DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(drop(nothing.data.get()), DWORD(DROPEFFECT_NONE));
    EXPECT_TRUE(listener.paths.empty() && listener.text.empty());
}

TEST_F(NativeDrops, FilesArriveWithLinksResolvedAndTextOnlyWhenTheFilesAreNotTaken) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = temp;
    const std::wstring file = folder + L"drop target \u00e9.wav";
    const std::wstring link = folder + L"to it.LNK";
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(makeLink(link, file));
    const std::string utf8File = win32_text::toPath(file);
    EXPECT_EQ(shell_link::resolvedPath(win32_text::toPath(link)), utf8File);
    EXPECT_EQ(shell_link::resolvedPath(utf8File), utf8File);

    ClipboardData both(window, file + L'\0' + link + L'\0', L"caf\u00e9 \u266a");
    IDataObject* data = both.data.get();
    enter(data, 0);
    EXPECT_EQ(drop(data), DWORD(DROPEFFECT_MOVE));
    EXPECT_EQ(listener.paths, (std::vector<std::string>{utf8File, utf8File}));
    EXPECT_EQ(listener.text, "");
    EXPECT_EQ(listener.leaves, 1);

    listener.filesOutcome = platform::DropOutcome::Unusable;
    enter(data, 0);
    EXPECT_EQ(drop(data), DWORD(DROPEFFECT_MOVE));
    EXPECT_EQ(listener.text, "caf\xc3\xa9 \xe2\x99\xaa");

    // An empty list and an empty text are nothing to take.
    ClipboardData empty(window, std::wstring(1, L'\0'), std::wstring(1, L'\0'));
    listener.text.clear();
    enter(empty.data.get(), 0);
    EXPECT_EQ(drop(empty.data.get()), DWORD(DROPEFFECT_NONE));
    EXPECT_TRUE(listener.text.empty());
    DeleteFileW(link.c_str());
    DeleteFileW(file.c_str());
}

} // namespace
