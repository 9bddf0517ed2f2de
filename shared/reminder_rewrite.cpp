#include "reminder_rewrite.h"

#include "file_access.h"
#include "file_error.h"
#include "file_error_text.h"
#include "held_file.h"

#include <algorithm>
#include <new>

namespace {

// The rewrite's new file lies in the same folder, so that it can replace the old one by a
// rename. Each rewrite takes the first name _Recordatorios_.<process>-<number>.new, counting from
// 0, that nothing in the folder has, so that no leftover (a folder, or a file that another
// program holds open) can stand in its way; every rewrite first deletes the leftovers it can.
constexpr wchar_t kNewFilePrefix[] = L"_Recordatorios_";
constexpr wchar_t kNewFileSuffix[] = L".new";

// The names of the new files that rewrites make (_Recordatorios_.<process>-<number>.new) and
// that older versions made (_Recordatorios_.new). Other names that the search matches, such as a
// user's "_Recordatorios_ copia.new", are not ours.
bool IsOwnNewFileName(std::wstring_view name) {
    std::wstring_view head = L"_Recordatorios_.", suffix = kNewFileSuffix;
    if (name == L"_Recordatorios_.new")
        return true;
    if (!name.starts_with(head) || !name.ends_with(suffix))
        return false;
    name = name.substr(head.size(), name.size() - head.size() - suffix.size());
    auto isNumber = [](std::wstring_view part) {
        return !part.empty() && std::all_of(part.begin(), part.end(),
                                            [](wchar_t c) { return c >= L'0' && c <= L'9'; });
    };
    size_t dash = name.find(L'-');
    return dash != std::wstring_view::npos && isNumber(name.substr(0, dash)) &&
           isNumber(name.substr(dash + 1));
}

// Deletes the new files that earlier rewrites left when they were killed or failed, older
// versions' _Recordatorios_.new included.
void DeleteLeftoverNewFiles(const ReminderFile& file) {
    std::wstring pattern = std::wstring(kNewFilePrefix) + L"*" + kNewFileSuffix;
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileExW(file.Beside(pattern).c_str(), FindExInfoBasic, &found,
                                       FindExSearchNameMatch, nullptr, 0));
    if (!search)
        return;
    do {
        // A folder of that name is not ours; a file held open by another program stays until a
        // later rewrite.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            !IsOwnNewFileName(found.cFileName))
            continue;
        std::wstring path = file.Beside(found.cFileName);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    } while (FindNextFileW(search.get(), &found));
}

// A new file under a name that nothing in the folder has; its path is left in `path`. Returns 0
// or the file error number of the last name tried.
int CreateNewFile(const ReminderFile& file, std::wstring& path, UniqueFile& handle) {
    DWORD error = ERROR_SUCCESS;
    for (int number = 0; number < 100; ++number) {
        path = file.Beside(std::wstring(kNewFilePrefix) + L"." +
                           std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(number) +
                           kNewFileSuffix);
        handle = OpenExclusive(path, GENERIC_WRITE, CREATE_NEW);
        if (handle)
            return 0;
        // A name in use, if only by a file pending deletion: the next one.
        error = GetLastError();
        if (!IsNameTaken(error, path))
            break;
    }
    return FileErrorNumberOf(error);
}

// Writes the live entries into a new file; on success its path is left in `newPath`.
int WriteLiveRecords(const ReminderFile& file, const std::vector<Reminder>& table,
                     std::wstring& newPath) {
    std::vector<char> block(kRecordsPerBlock * kRecordSize);
    UniqueFile handle;
    if (int error = CreateNewFile(file, newPath, handle))
        return error;
    size_t filled = 0;
    int error = 0;
    for (const Reminder& entry : table) {
        if (entry.active == 0)
            continue;
        EncodeRecord(entry, RecordBytes(block.data() + filled, kRecordSize));
        filled += kRecordSize;
        if (filled == block.size()) {
            if ((error = WriteExactly(handle.get(), block.data(), filled)))
                break;
            filled = 0;
        }
    }
    if (!error)
        error = WriteExactly(handle.get(), block.data(), filled);
    if (!error && !FlushFileBuffers(handle.get()))
        error = LastFileErrorNumber();
    handle.reset();
    if (error)
        DeleteFileW(newPath.c_str());
    return error;
}

// Makes a read-only, hidden or system file replaceable and deletable; returns what it had.
DWORD ClearAttributes(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    return attributes;
}

// A file that could not be replaced or deleted gets its attributes back with its contents.
void RestoreAttributes(const std::wstring& path, DWORD attributes) {
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(path.c_str(), attributes);
}

// Deleting a file that is not there is no failure: there is nothing left to delete.
int DeleteReminderFile(const std::wstring& path) {
    DWORD attributes = ClearAttributes(path);
    if (RetryWhileHeld([&] { return DeleteFileW(path.c_str()) != FALSE; }) ||
        GetLastError() == ERROR_FILE_NOT_FOUND)
        return 0;
    int error = LastFileErrorNumber();
    RestoreAttributes(path, attributes);
    return error;
}

// True while another program has the file open without letting it be deleted or replaced.
bool IsInUse(const std::wstring& path) {
    UniqueFile probe(CreateFileW(path.c_str(), DELETE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    return !probe && GetLastError() == ERROR_SHARING_VIOLATION;
}

// Puts the new file in the old one's place. A file that another program has open is not
// replaced, and the system says access denied, not held: the file is asked whether it is in use.
bool ReplaceWithNewFile(const std::wstring& newPath, const std::wstring& path) {
    return RetryWhileHeld([&] {
        if (MoveFileExW(newPath.c_str(), path.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        DWORD error = GetLastError();
        if (error == ERROR_ACCESS_DENIED && IsInUse(path))
            error = ERROR_SHARING_VIOLATION;
        SetLastError(error);
        return false;
    });
}

int RewriteReminderFile(const ReminderFile& file, const std::vector<Reminder>& table) {
    DeleteLeftoverNewFiles(file);
    const std::wstring& path = file.Path();
    bool anyLive = std::any_of(table.begin(), table.end(),
                               [](const Reminder& entry) { return entry.active != 0; });
    if (!anyLive)
        return DeleteReminderFile(path);

    std::wstring newPath;
    if (int error = WriteLiveRecords(file, table, newPath))
        return error;
    DWORD attributes = ClearAttributes(path);
    if (!ReplaceWithNewFile(newPath, path)) {
        int error = LastFileErrorNumber();
        DeleteFileW(newPath.c_str());
        RestoreAttributes(path, attributes);
        return error;
    }
    return 0;
}

} // namespace

// Memory can run short with a very large table in the 32-bit program: the rewrite then ends
// before it changes the file, and reports it like any other failure.
int SaveReminders(const ReminderFile& file, const std::vector<Reminder>& table) {
    try {
        return RewriteReminderFile(file, table);
    } catch (const std::bad_alloc&) {
        return kErrOutOfMemory;
    }
}
