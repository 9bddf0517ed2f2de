#include "one_editor_per_folder.h"

#include "control_ids.h"
#include "folder_object_name.h"

#include <windows.h>

namespace {

// This program's claim on a folder.
std::wstring ClaimName(const std::wstring& folder) {
    return FolderObjectName(L"editor", folder);
}

std::wstring FolderOfProcess(DWORD processId) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    std::wstring path(32768, L'\0');
    DWORD length = static_cast<DWORD>(path.size());
    if (!process || !QueryFullProcessImageNameW(process.get(), 0, path.data(), &length))
        return {};
    path.resize(length);
    return path.substr(0, path.rfind(L'\\') + 1);
}

struct EditorSearch {
    std::wstring claimName;
    HWND found = nullptr;
};

// An editor dialog has the calendar; a message box of the same process has not.
BOOL CALLBACK MatchEditorDialog(HWND window, LPARAM param) {
    EditorSearch& search = *reinterpret_cast<EditorSearch*>(param);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (std::wstring_view(className) != L"#32770" || processId == GetCurrentProcessId() ||
        !GetDlgItem(window, kCalendarId) ||
        ClaimName(FolderOfProcess(processId)) != search.claimName)
        return TRUE;
    search.found = window;
    return FALSE;
}

} // namespace

bool ClaimFolder(const std::wstring& folder, UniqueOwnedMutex& claim) {
    std::wstring name = ClaimName(folder);
    claim.reset(CreateMutexW(nullptr, FALSE, name.c_str()));
    if (!claim)
        return true; // no claim to be had: better an editor than none
    // The other editor may still be starting or just closing: give it a moment to show its
    // dialog or to end.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (WaitForSingleObject(claim.get(), attempt == 0 ? 0 : 100) != WAIT_TIMEOUT)
            return true;
        EditorSearch search{name};
        EnumWindows(MatchEditorDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            SetForegroundWindow(search.found);
            break;
        }
    }
    claim.reset();
    return false;
}
