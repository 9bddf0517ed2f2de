// One editor per folder. Each editor rewrites the whole reminder file from its own table, so two
// editors of one file would undo each other's changes; a second start brings forward what the
// first one shows instead.
#pragma once

#include "handle.h"

#include <windows.h>

#include <string>

// The name of the claim on the folder, the same whatever path leads to the folder. It also marks
// the editor dialog that holds the claim.
std::wstring FolderClaimName(const std::wstring& folder);

// Makes this editor the one editor of `folder` and returns true; the folder stays claimed while
// `claim` lives. When another editor has the folder, brings forward
// what it shows (its dialog, restored if minimised, or else its open box) and returns false. An
// editor that shows nothing is starting or ending: this one waits until it shows its dialog, or
// until it has ended and the folder can be claimed.
bool ClaimFolder(const std::wstring& folder, UniqueOwnedMutex& claim);

// Marks the dialog as the editor of the claimed folder, so that a second start finds it by the
// claim's name, whatever path it was started by; the mark is removed before the dialog is gone.
void MarkEditorDialog(HWND dialog, const std::wstring& claimName);
void UnmarkEditorDialog(HWND dialog, const std::wstring& claimName);
