// RunChooser on Windows (see sdl_dialogs.h): the system's own open and save
// dialogs (comdlg32) and folder browser (shell32), all through the wide API.
#include <vantrel/system/sdl/sdl_dialogs.h>
#include <vantrel/runtime/platform/wide_string.h>

#include <string>

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

namespace vantrel {
namespace {

using platform::FromWide;
using platform::ToWide;

String ChooseFolder(const ChooserRequest& request) {
    std::wstring title = ToWide(request.title);
    BROWSEINFOW info{};
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return String();
    wchar_t path[MAX_PATH] = {};
    bool ok = SHGetPathFromIDListW(chosen, path);
    CoTaskMemFree(chosen);
    return ok ? FromWide(path).Replace("\\", "/") : String();
}

}  // namespace

String RunChooser(const ChooserRequest& request) {
    if (request.directory) return ChooseFolder(request);

    // "description\0patterns\0" per group, then an empty pair.
    std::wstring filter;
    for (const FilterGroup& group : request.filters) {
        filter += ToWide(group.description);
        filter.push_back(L'\0');
        filter += ToWide(group.patterns);
        filter.push_back(L'\0');
    }
    filter.push_back(L'\0');

    std::wstring start = ToWide(request.initialPath.Replace("/", "\\"));
    std::wstring file(32768, L'\0');
    std::wstring folder;
    size_t slash = start.find_last_of(L'\\');
    if (slash == std::wstring::npos) {
        start.copy(file.data(), start.size());
    } else {
        folder = start.substr(0, slash);
        start.copy(file.data(), start.size() - slash - 1, slash + 1);
    }
    std::wstring title = ToWide(request.title);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFilter = request.filters.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_NOCHANGEDIR | OFN_EXPLORER |
                   (request.save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    BOOL chosen = request.save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    return chosen ? FromWide(file.c_str()).Replace("\\", "/") : String();
}

}  // namespace vantrel
