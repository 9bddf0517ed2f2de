// The editor dialog: a month calendar, the time switch and picker, the buttons, the text box,
// the list of the picked day's reminders and a status bar that counts the characters typed.
#pragma once

#include "folder_claim.h"
#include "reminder_file.h"

#include <windows.h>

// Runs the dialog modally on the reminder file of `file`, marked as the holder of the folder's
// `claim`, and returns its end result (0 when the user closes it).
INT_PTR ShowEditorDialog(HWND owner, const ReminderFile& file, const FolderClaim& claim);

// The dialog's callback; WM_INITDIALOG brings the EditorState that the dialog then holds as its
// lParam. Returns FALSE for every message, so the default handling follows.
INT_PTR CALLBACK EditorDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
