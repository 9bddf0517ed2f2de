#include "editor_state.h"

HWND gEditorDialog = nullptr;
std::vector<Reminder> gReminders;
std::wstring gClaimName;
bool gTimeEnabled = false;
std::string gSelectedDate;
HWND gSavedFocus = nullptr;

HWND Control(int id) {
    return GetDlgItem(gEditorDialog, id);
}
