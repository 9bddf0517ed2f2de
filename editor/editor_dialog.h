// The editor dialog: a month calendar, the time switch and picker, the buttons, the text box,
// the list of the picked day's reminders and a status bar that counts the characters typed.
#pragma once

#include <windows.h>

#include <string>

// Runs the dialog modally and returns its end result (0 when the user closes it). The dialog is
// marked with the name of the editor's claim on its folder.
INT_PTR ShowEditorDialog(HWND owner, const std::wstring& claimName);

// The dialog's callback. Returns FALSE for every message, so the default handling follows.
INT_PTR CALLBACK EditorDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
