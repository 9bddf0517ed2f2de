// Names of the named objects (mutexes) by which a program claims its folder for the user's
// session: one name per folder, whatever path leads to it (another drive letter made by subst or
// a mapped network drive, a junction or symbolic link, short 8.3 names, a \\?\ path).
#pragma once

#include <string>
#include <string_view>

// "Local\Recordatorio.<kind>.<the folder's identity>": the volume's serial number and the
// folder's file index, read from the folder itself. Where those cannot be read, a hash of the
// folder's long path compared without case; the path can be longer than an object name may be.
std::wstring FolderObjectName(std::wstring_view kind, const std::wstring& folder);
