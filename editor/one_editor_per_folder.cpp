#include "one_editor_per_folder.h"

#include "folder_object_name.h"

#include <string_view>

namespace {

struct Search {
    const std::wstring* claimName;
    HWND found = nullptr;
};

// The mark is a window property named after the claim.
BOOL CALLBACK MatchMarkedDialog(HWND window, LPARAM param) {
    Search& search = *reinterpret_cast<Search*>(param);
    if (!GetPropW(window, search.claimName->c_str()))
        return TRUE;
    search.found = window;
    return FALSE;
}

// The editor's boxes have no owner: they are the other top-level dialogs of its thread.
BOOL CALLBACK MatchShownBox(HWND window, LPARAM param) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (!IsWindowVisible(window) || std::wstring_view(className) != L"#32770")
        return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

// What the other editor shows: its dialog, or, after the user has closed the dialog while one of
// its boxes was open, that box, which keeps the program alive until it is answered. Nothing
// while the dialog is not shown yet or the editor is ending.
HWND ShownByOtherEditor(const std::wstring& claimName) {
    Search search{&claimName};
    EnumWindows(MatchMarkedDialog, reinterpret_cast<LPARAM>(&search));
    if (!search.found || IsWindowVisible(search.found))
        return search.found;
    HWND box = nullptr;
    EnumThreadWindows(GetWindowThreadProcessId(search.found, nullptr), MatchShownBox,
                      reinterpret_cast<LPARAM>(&box));
    return box;
}

// The other editor's thread takes the activation in its own time, and can lose it again to the
// window that was in front: the window is brought forward again until it has stayed in front for
// a moment, for at most a second. The restore is posted, so that an editor busy with a long save
// cannot hold this start up.
void BringForward(HWND window) {
    if (IsIconic(window))
        ShowWindowAsync(window, SW_RESTORE);
    for (int check = 0, inFront = 0; check < 20 && inFront < 3; ++check) {
        if (GetForegroundWindow() == window) {
            ++inFront;
        } else {
            inFront = 0;
            SetForegroundWindow(window);
        }
        Sleep(50);
    }
}

} // namespace

std::wstring FolderClaimName(const std::wstring& folder) {
    return FolderObjectName(L"editor", folder);
}

bool ClaimFolder(const std::wstring& folder, UniqueOwnedMutex& claim) {
    std::wstring claimName = FolderClaimName(folder);
    claim.reset(CreateMutexW(nullptr, FALSE, claimName.c_str()));
    if (!claim)
        return true; // no claim to be had: better an editor than none
    // An abandoned claim (an editor that was killed) is ours as well.
    while (WaitForSingleObject(claim.get(), 100) == WAIT_TIMEOUT) {
        if (HWND shown = ShownByOtherEditor(claimName)) {
            BringForward(shown);
            claim.reset();
            return false;
        }
    }
    return true;
}

void MarkEditorDialog(HWND dialog, const std::wstring& claimName) {
    SetPropW(dialog, claimName.c_str(), reinterpret_cast<HANDLE>(1));
}

void UnmarkEditorDialog(HWND dialog, const std::wstring& claimName) {
    RemovePropW(dialog, claimName.c_str());
}
