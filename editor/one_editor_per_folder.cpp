#include "one_editor_per_folder.h"

#include <string_view>

namespace {

// The longest wait for another editor to show something or end: starting, it loads the reminder
// file before it shows its dialog, which may take seconds.
constexpr ULONGLONG kLongestWait = 30000;

struct Search {
    const std::wstring& claimName;
    HWND dialog = nullptr;
    HWND box = nullptr;
};

// The mark is a window property named after the claim.
BOOL CALLBACK MatchMarkedDialog(HWND window, LPARAM param) {
    Search& search = *reinterpret_cast<Search*>(param);
    if (!GetPropW(window, search.claimName.c_str()))
        return TRUE;
    search.dialog = window;
    return FALSE;
}

// The editor's boxes have no owner: they are the other top-level dialogs of its thread.
BOOL CALLBACK MatchShownBox(HWND window, LPARAM param) {
    Search& search = *reinterpret_cast<Search*>(param);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (window == search.dialog || !IsWindowVisible(window) ||
        std::wstring_view(className) != L"#32770")
        return TRUE;
    search.box = window;
    return FALSE;
}

// What the other editor shows: an open box before its dialog, which may cover the box's waiting
// question (after the user has closed the dialog, the box alone keeps the program alive).
// Nothing while the dialog is not shown yet or the editor is ending.
HWND ShownByOtherEditor(const FolderClaim& claim) {
    Search search{claim.Name()};
    EnumWindows(MatchMarkedDialog, reinterpret_cast<LPARAM>(&search));
    if (!search.dialog)
        return nullptr;
    EnumThreadWindows(GetWindowThreadProcessId(search.dialog, nullptr), MatchShownBox,
                      reinterpret_cast<LPARAM>(&search));
    if (search.box)
        return search.box;
    return IsWindowVisible(search.dialog) ? search.dialog : nullptr;
}

// The other editor's thread takes the activation in its own time, and can lose it again to the
// window that was in front: the window is brought forward again until it has stayed in front for
// a moment, for at most five seconds (a busy machine may take seconds to switch). The restore is
// posted, so that an editor busy with a long save cannot hold this start up.
void BringForward(HWND window) {
    if (IsIconic(window))
        ShowWindowAsync(window, SW_RESTORE);
    for (int check = 0, inFront = 0; check < 100 && inFront < 3; ++check) {
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

bool TakeFolderForEditor(FolderClaim& claim) {
    ULONGLONG deadline = GetTickCount64() + kLongestWait;
    while (!claim.Take(100)) {
        // A window the user closed meanwhile (X, or the box answered) shows nothing: wait on.
        if (HWND shown = ShownByOtherEditor(claim)) {
            BringForward(shown);
            if (IsWindowVisible(shown))
                return false;
        }
        if (GetTickCount64() >= deadline)
            return false;
    }
    return true;
}

void MarkEditorDialog(HWND dialog, const FolderClaim& claim) {
    SetPropW(dialog, claim.Name().c_str(), reinterpret_cast<HANDLE>(1));
}

void UnmarkEditorDialog(HWND dialog, const FolderClaim& claim) {
    RemovePropW(dialog, claim.Name().c_str());
}
