// A program's claim on its folder for the user's session: a named mutex, one per folder and kind
// of program, whatever path leads to the folder (another drive letter made by subst or a mapped
// network drive, a junction or symbolic link, short 8.3 names, a \\?\ path). Each program makes
// its claim once at start-up and hands it on.
#pragma once

#include "handle.h"

#include <windows.h>

#include <string>
#include <string_view>

class FolderClaim {
  public:
    // Names the claim of `kind` ("editor", "notifier") on `folder` and opens it, making it if no
    // program has yet. Nothing is claimed until Take.
    FolderClaim(std::wstring_view kind, const std::wstring& folder);

    // "Local\Recordatorio.<kind>.<the folder's identity>": the volume's serial number and the
    // folder's file id, read from the folder itself ("id-" with 16 and 32 hex digits, or "file-"
    // with 8 and 16 where the system has only the shorter ones); where neither can be read, 16 hex
    // digits of a hash of the folder's long path compared without case. It also marks the windows
    // of the program that holds the claim.
    const std::wstring& Name() const { return name_; }

    // Waits up to `milliseconds` for the claim; true once the calling thread holds it, as it then
    // does while this object lives (a holder that ended without letting go counts as gone). False
    // while another program holds it, and when the name is denied, as a claim made by a program
    // started as administrator is: either way the folder has its program.
    bool Take(DWORD milliseconds);

  private:
    std::wstring name_;
    UniqueOwnedMutex mutex_;
};
