#include "folder_object_name.h"

#include "handle.h"
#include "path_form.h"

#include <windows.h>

#include <cstdint>

namespace {

std::wstring HexText(uint64_t value, int digits) {
    std::wstring text;
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        text += L"0123456789abcdef"[(value >> shift) & 0xF];
    return text;
}

// The folder opened as itself (a folder opens only with backup semantics), not through its
// path: every spelling of it gives the same volume and index. An index of 0 or all ones is a
// file system that has none for its folders.
bool ReadFolderIndex(const std::wstring& folder, std::wstring& identity) {
    UniqueFile handle(CreateFileW(LongPathForm(folder).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!handle || !GetFileInformationByHandle(handle.get(), &information))
        return false;
    uint64_t index = (uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
    if (index == 0 || index == UINT64_MAX)
        return false;
    identity = L"file-" + HexText(information.dwVolumeSerialNumber, 8) + L"-" + HexText(index, 16);
    return true;
}

// Two spellings that differ only in case or in short names give one hash (the name earlier
// versions gave every folder).
std::wstring HashOfPath(const std::wstring& folder) {
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
    return HexText(hash, 16);
}

} // namespace

std::wstring FolderObjectName(std::wstring_view kind, const std::wstring& folder) {
    std::wstring identity;
    if (!ReadFolderIndex(folder, identity))
        identity = HashOfPath(folder);
    std::wstring name = L"Local\\Recordatorio.";
    name += kind;
    name += L'.';
    return name + identity;
}
