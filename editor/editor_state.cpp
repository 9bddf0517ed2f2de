#include "editor_state.h"

HWND gEditorDialog = nullptr;
std::vector<Reminder> gReminders;
const FolderClaim* gFolderClaim = nullptr;
bool gTimeEnabled = false;
std::string gSelectedDate;
HWND gSavedFocus = nullptr;

HWND Control(int id) {
    return GetDlgItem(gEditorDialog, id);
}
