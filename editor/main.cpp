// The editor: one modal dialog in which the user writes, lists, changes and deletes reminders.
#include "editor_dialog.h"
#include "exe_folder.h"
#include "folder_claim.h"
#include "handle.h"
#include "one_editor_per_folder.h"
#include "reminder_file.h"

#include <windows.h>
#include <commctrl.h>

namespace {

using InitCommonControlsExFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

// Registers the calendar, time picker and status bar classes. Older libraries lack
// InitCommonControlsEx; without the library at all the dialog is built all the same.
void InitializeCommonControls() {
    UniqueLibrary library(LoadLibraryW(L"COMCTL32.DLL"));
    if (!library)
        return;
    // Through void (*)(), the one function pointer type that converts to any other silently.
    auto initEx = reinterpret_cast<InitCommonControlsExFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(library.get(), "InitCommonControlsEx")));
    if (initEx) {
        INITCOMMONCONTROLSEX classes{};
        classes.dwSize = sizeof classes;
        classes.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES;
        initEx(&classes);
    } else {
        InitCommonControls();
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The reminder file beside the program; every job on it gets it from here.
    ReminderFile file(ExeFolder());
    FolderClaim claim(L"editor", file.Folder());
    if (!TakeFolderForEditor(claim))
        return 0; // this folder's editor is open already and has come to the front
    InitializeCommonControls();
    ShowEditorDialog(nullptr, file, claim);
    return 0;
}
