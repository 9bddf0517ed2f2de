#include "folder_claim.h"

#include "path_form.h"

#include <cstdint>

namespace {

std::wstring HexText(uint64_t value, int digits) {
    std::wstring text;
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        text += L"0123456789abcdef"[(value >> shift) & 0xF];
    return text;
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

// The folder opened as itself (a folder opens only with backup semantics), not through its
// path: every spelling of it gives the same volume and id. Windows 8's 64-bit serial and 128-bit
// id first (FileIdInfo, class 18, which the Windows 7 headers of this build do not declare): on
// ReFS the 64-bit index is not unique, and cloned volumes share 32-bit serials. Where they cannot
// be had, the 32-bit serial and the 64-bit index. An id of 0 or all ones is a file system that
// has none for its folders. Where neither can be read, a hash of the path.
std::wstring FolderIdentity(const std::wstring& folder) {
    UniqueFile handle(CreateFileW(LongPathForm(folder).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    uint64_t id[3] = {}; // the serial, then the id's low and high halves
    if (handle &&
        GetFileInformationByHandleEx(handle.get(), FILE_INFO_BY_HANDLE_CLASS(18), id, sizeof id) &&
        (id[1] | id[2]) != 0 && (id[1] & id[2]) != UINT64_MAX)
        return L"id-" + HexText(id[0], 16) + L"-" + HexText(id[2], 16) + HexText(id[1], 16);
    BY_HANDLE_FILE_INFORMATION information{};
    if (handle && GetFileInformationByHandle(handle.get(), &information)) {
        uint64_t index = (uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
        if (index != 0 && index != UINT64_MAX)
            return L"file-" + HexText(information.dwVolumeSerialNumber, 8) + L"-" +
                   HexText(index, 16);
    }
    return HashOfPath(folder);
}

} // namespace

FolderClaim::FolderClaim(std::wstring_view kind, const std::wstring& folder)
    : name_(L"Local\\Recordatorio." + std::wstring(kind) + L"." + FolderIdentity(folder)),
      mutex_(CreateMutexW(nullptr, FALSE, name_.c_str())) {}

bool FolderClaim::Take(DWORD milliseconds) {
    if (!mutex_) {
        Sleep(milliseconds); // a caller that waits for the claim waits as long without it
        return false;
    }
    DWORD result = WaitForSingleObject(mutex_.get(), milliseconds);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}
