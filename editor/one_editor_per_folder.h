// One editor per folder. Each editor rewrites the whole reminder file from its own table, so two
// editors of one file would undo each other's changes; a second start brings forward what the
// first one shows instead.
#pragma once

#include "folder_claim.h"

#include <windows.h>

// Takes the folder's `claim` for this editor and returns true. While another editor has it (one
// started as administrator too), brings forward what that editor shows and returns false once
// that is still shown. An editor that shows nothing is starting or ending: this one waits until
// it shows something or ends, for at most half a minute, and then returns false all the same.
bool TakeFolderForEditor(FolderClaim& claim);

// Marks the dialog as the editor of the claimed folder, so that a second start finds it by the
// claim's name, whatever path it was started by; the mark is removed before the dialog is gone.
void MarkEditorDialog(HWND dialog, const FolderClaim& claim);
void UnmarkEditorDialog(HWND dialog, const FolderClaim& claim);
