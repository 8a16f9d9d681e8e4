// The common item dialogs: configured from the request, shown modally, read back.
#include "gui/platform/win32/win32_file_dialog.h"

#include "gui/platform/common/path_limit.h"
#include "gui/platform/win32/win32_com.h"
#include "gui/platform/win32/win32_modal_idle.h"
#include "gui/platform/win32/win32_text.h"

#include <shobjidl.h>

namespace win32_file_dialog {

using platform::DialogMode;
using platform::DialogOutcome;
using platform::DialogStatus;

namespace {

// The file-system path of a shell item, as UTF-8; false when it has none or it is too long.
bool pathOf(IShellItem* item, std::string& path) {
    wchar_t* name = nullptr;
    if (!item || FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &name)) || !name) return false;
    path = win32_text::toPath(name);
    CoTaskMemFree(name);
    return !path.empty() && path.size() <= platform::kMaxPathBytes;
}

void configure(IFileDialog* dialog, const platform::DialogRequest& request,
               const std::vector<std::pair<std::wstring, std::wstring>>& types) {
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    options |= FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST | FOS_NOCHANGEDIR;
    switch (request.mode) {
    case DialogMode::Load:
        options |= FOS_FILEMUSTEXIST;
        break;
    case DialogMode::LoadMultiple:
        options |= FOS_FILEMUSTEXIST | FOS_ALLOWMULTISELECT;
        break;
    case DialogMode::Directory:
        options |= FOS_PICKFOLDERS;
        break;
    case DialogMode::Save:
        options |= FOS_OVERWRITEPROMPT;
        break;
    }
    dialog->SetOptions(options);
    if (!request.title.empty()) dialog->SetTitle(win32_text::fromPath(request.title).c_str());
    if (!types.empty()) {
        std::vector<COMDLG_FILTERSPEC> filterSpecs;
        for (const auto& [label, patterns] : types)
            filterSpecs.push_back({label.c_str(), patterns.c_str()});
        dialog->SetFileTypes(static_cast<UINT>(filterSpecs.size()), filterSpecs.data());
        dialog->SetFileTypeIndex(1);
    }
    if (!request.initialDirectory.empty()) {
        ComRef<IShellItem> folder;
        const std::wstring wide = win32_text::fromPath(request.initialDirectory);
        if (SUCCEEDED(SHCreateItemFromParsingName(wide.c_str(), nullptr, IID_IShellItem,
                                                  folder.putVoid())))
            dialog->SetFolder(folder.get());
    }
}

DialogOutcome results(IFileDialog* dialog, DialogMode mode) {
    DialogOutcome outcome;
    outcome.status = DialogStatus::Failed;
    if (mode == DialogMode::LoadMultiple) {
        ComRef<IFileOpenDialog> open;
        ComRef<IShellItemArray> items;
        DWORD count = 0;
        if (FAILED(dialog->QueryInterface(IID_IFileOpenDialog, open.putVoid())) ||
            FAILED(open->GetResults(items.put())) || FAILED(items->GetCount(&count)))
            return outcome;
        for (DWORD i = 0; i < count; ++i) {
            ComRef<IShellItem> item;
            std::string path;
            if (FAILED(items->GetItemAt(i, item.put())) || !pathOf(item.get(), path)) {
                outcome.paths.clear();
                return outcome;
            }
            outcome.paths.push_back(std::move(path));
        }
    } else {
        ComRef<IShellItem> item;
        std::string path;
        if (FAILED(dialog->GetResult(item.put())) || !pathOf(item.get(), path)) return outcome;
        outcome.paths.push_back(std::move(path));
    }
    if (!outcome.paths.empty()) outcome.status = DialogStatus::Chosen;
    return outcome;
}

} // namespace

std::vector<std::pair<std::wstring, std::wstring>>
fileTypes(const std::vector<platform::DialogFilter>& filters) {
    std::vector<std::pair<std::wstring, std::wstring>> types;
    for (const platform::DialogFilter& filter : filters) {
        std::wstring patterns;
        for (const std::string& pattern : filter.patterns)
            patterns += (patterns.empty() ? L"" : L";") + win32_text::fromPath(pattern);
        if (!patterns.empty()) types.emplace_back(win32_text::fromPath(filter.label), patterns);
    }
    return types;
}

DialogOutcome run(const platform::DialogRequest& request, const platform::IdlePump& idle) {
    DialogOutcome outcome; // Unavailable until a dialog exists
    ComApartment com;
    if (!com.isUsable()) return outcome;
    ComRef<IFileDialog> dialog;
    const CLSID& kind =
        request.mode == DialogMode::Save ? CLSID_FileSaveDialog : CLSID_FileOpenDialog;
    if (FAILED(CoCreateInstance(kind, nullptr, CLSCTX_INPROC_SERVER, IID_IFileDialog,
                                dialog.putVoid())))
        return outcome;
    const auto types = fileTypes(request.filters);
    configure(dialog.get(), request, types);

    HRESULT shown = E_FAIL;
    bool givenUp = false;
    {
        ModalIdle pump([&] { return !idle || idle(); },
                       [&] { dialog->Close(HRESULT_FROM_WIN32(ERROR_CANCELLED)); });
        shown = dialog->Show(reinterpret_cast<HWND>(request.parentWindow));
        givenUp = pump.wasCancelled();
    }
    if (givenUp || shown == HRESULT_FROM_WIN32(ERROR_CANCELLED)) {
        outcome.status = DialogStatus::Cancelled;
        return outcome;
    }
    if (FAILED(shown)) {
        outcome.status = DialogStatus::Failed;
        return outcome;
    }
    return results(dialog.get(), request.mode);
}

} // namespace win32_file_dialog
