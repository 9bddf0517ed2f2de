// Names of the named objects (mutexes) by which a program claims its folder for the user's
// session: one name per folder, however the folder is spelled.
#pragma once

#include <string>
#include <string_view>

// "Local\Recordatorio.<kind>.<hash of the folder>". Two spellings of one folder (case, short 8.3
// names) give one name; the folder's path can be longer than an object name may be, hence the
// hash.
std::wstring FolderObjectName(std::wstring_view kind, const std::wstring& folder);
