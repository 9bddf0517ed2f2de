#include "folder_object_name.h"

#include <windows.h>

#include <cstdint>

std::wstring FolderObjectName(std::wstring_view kind, const std::wstring& folder) {
    std::wstring path(32768, L'\0');
    DWORD length = GetLongPathNameW(folder.c_str(), path.data(), static_cast<DWORD>(path.size()));
    if (length > 0 && length < path.size())
        path.resize(length);
    else
        path = folder;
    // File names compare without case as the invariant locale's upper case, not the user's.
    LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, path.data(),
                  static_cast<int>(path.size()), path.data(), static_cast<int>(path.size()),
                  nullptr, nullptr, 0);
    uint64_t hash = 14695981039346656037ULL; // FNV-1a
    for (wchar_t unit : path) {
        hash ^= static_cast<uint16_t>(unit);
        hash *= 1099511628211ULL;
    }
    std::wstring name = L"Local\\Recordatorio.";
    name += kind;
    name += L'.';
    for (int shift = 60; shift >= 0; shift -= 4)
        name += L"0123456789abcdef"[(hash >> shift) & 0xF];
    return name;
}
