#include "reminder_file.h"

#include "file_error.h"
#include "file_error_text.h"
#include "handle.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <exception>
#include <new>

std::wstring gExeFolder;

namespace {

constexpr wchar_t kFileName[] = L"_Recordatorios_.log";
// The rewrite's new file lies in the same folder, so that it can replace the old one by a
// rename. Each rewrite takes a fresh name, _Recordatorios_.<process>-<number>.new, so that no
// leftover (a folder, or a file that another program holds open) can stand in its way; every
// rewrite first deletes the leftovers that it can.
constexpr wchar_t kNewFilePrefix[] = L"_Recordatorios_";
constexpr wchar_t kNewFileSuffix[] = L".new";
// Records per read or write: about a megabyte, so large files move in few system calls.
constexpr size_t kRecordsPerBlock = 1024;

// Paths beyond MAX_PATH reach the file system only in the \\?\ form.
std::wstring LongPathForm(const std::wstring& path) {
    if (path.size() < MAX_PATH - 12 || path.rfind(L"\\\\?\\", 0) == 0)
        return path;
    if (path.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + path.substr(2);
    if (path.size() > 2 && path[1] == L':' && path[2] == L'\\')
        return L"\\\\?\\" + path;
    return path;
}

std::wstring FilePathIn(std::wstring_view name) {
    std::wstring path = gExeFolder;
    path += name;
    return LongPathForm(path);
}

// No other opener may share the file while one job runs.
UniqueFile OpenExclusive(const std::wstring& path, DWORD access, DWORD disposition) {
    return UniqueFile(
        CreateFileW(path.c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Number of whole records in the open file; a partial record at the end does not count.
bool CountRecords(HANDLE file, uint64_t& count) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size))
        return false;
    count = static_cast<uint64_t>(size.QuadPart) / kRecordSize;
    return true;
}

bool ReadExactly(HANDLE file, char* data, size_t size) {
    while (size > 0) {
        DWORD read = 0;
        if (!ReadFile(file, data, static_cast<DWORD>(size), &read, nullptr) || read == 0)
            return false;
        data += read;
        size -= read;
    }
    return true;
}

// 0 on success, else the error number; a write that transfers less than asked is a full disk.
int WriteExactly(HANDLE file, const char* data, size_t size) {
    DWORD written = 0;
    if (!WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr))
        return LastFileErrorNumber();
    return written == size ? 0 : kErrDiskFull;
}

bool ReadAllRecords(HANDLE file, std::vector<Reminder>& table) {
    uint64_t count = 0;
    if (!CountRecords(file, count))
        return false;
    table.reserve(static_cast<size_t>(count));
    std::vector<char> block(kRecordsPerBlock * kRecordSize);
    while (table.size() < count) {
        size_t records =
            static_cast<size_t>(std::min<uint64_t>(kRecordsPerBlock, count - table.size()));
        if (!ReadExactly(file, block.data(), records * kRecordSize))
            return false;
        AppendDecodedRecords(std::span<const char>(block.data(), records * kRecordSize), table);
    }
    return true;
}

int AppendRecord(const Reminder& reminder) {
    UniqueFile file = OpenExclusive(FilePathIn(kFileName), GENERIC_WRITE, OPEN_ALWAYS);
    if (!file)
        return LastFileErrorNumber();
    uint64_t count = 0;
    if (!CountRecords(file.get(), count))
        return LastFileErrorNumber();
    // The new record goes after the last whole record, over any partial one.
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(count * kRecordSize);
    if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN))
        return LastFileErrorNumber();
    std::array<char, kRecordSize> record;
    EncodeRecord(reminder, record);
    return WriteExactly(file.get(), record.data(), record.size());
}

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
void DeleteLeftoverNewFiles() {
    std::wstring pattern = std::wstring(kNewFilePrefix) + L"*" + kNewFileSuffix;
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileExW(FilePathIn(pattern).c_str(), FindExInfoBasic, &found,
                                       FindExSearchNameMatch, nullptr, 0));
    if (!search)
        return;
    do {
        // A folder of that name is not ours; a file held open by another program stays until a
        // later rewrite.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            !IsOwnNewFileName(found.cFileName))
            continue;
        std::wstring path = FilePathIn(found.cFileName);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    } while (FindNextFileW(search.get(), &found));
}

// A new file under a name that nothing in the folder has; its path is left in `path`.
UniqueFile CreateNewFile(std::wstring& path) {
    static unsigned number = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = FilePathIn(std::wstring(kNewFilePrefix) + L"." +
                          std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(number++) + kNewFileSuffix);
        UniqueFile file = OpenExclusive(path, GENERIC_WRITE, CREATE_NEW);
        DWORD error = GetLastError();
        // A name in use, if only by a file pending deletion: the next one.
        if (file || !IsNameTaken(error)) {
            SetLastError(error);
            return file;
        }
    }
    return UniqueFile();
}

// Writes the live entries into a new file; on success its path is left in `newPath`.
int WriteLiveRecords(std::wstring& newPath) {
    std::vector<char> block(kRecordsPerBlock * kRecordSize);
    UniqueFile file = CreateNewFile(newPath);
    if (!file)
        return LastFileErrorNumber();
    size_t filled = 0;
    int error = 0;
    for (const Reminder& entry : gReminders) {
        if (entry.active == 0)
            continue;
        EncodeRecord(entry, RecordBytes(block.data() + filled, kRecordSize));
        filled += kRecordSize;
        if (filled == block.size()) {
            if ((error = WriteExactly(file.get(), block.data(), filled)))
                break;
            filled = 0;
        }
    }
    if (!error)
        error = WriteExactly(file.get(), block.data(), filled);
    if (!error && !FlushFileBuffers(file.get()))
        error = LastFileErrorNumber();
    file.reset();
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
    if (DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)
        return 0;
    int error = LastFileErrorNumber();
    RestoreAttributes(path, attributes);
    return error;
}

int RewriteReminderFile() {
    DeleteLeftoverNewFiles();
    std::wstring path = FilePathIn(kFileName);
    bool anyLive = std::any_of(gReminders.begin(), gReminders.end(),
                               [](const Reminder& entry) { return entry.active != 0; });
    if (!anyLive)
        return DeleteReminderFile(path);

    std::wstring newPath;
    if (int error = WriteLiveRecords(newPath))
        return error;
    DWORD attributes = ClearAttributes(path);
    if (!MoveFileExW(newPath.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        int error = LastFileErrorNumber();
        DeleteFileW(newPath.c_str());
        RestoreAttributes(path, attributes);
        return error;
    }
    return 0;
}

} // namespace

std::wstring ReminderFilePath() {
    return gExeFolder + kFileName;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(LongPathForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void LoadReminders() {
    gReminders.clear();
    UniqueFile file = OpenExclusive(FilePathIn(kFileName), GENERIC_READ, OPEN_ALWAYS);
    if (!file)
        return;
    try {
        std::vector<Reminder> table;
        if (ReadAllRecords(file.get(), table))
            gReminders = std::move(table);
    } catch (const std::exception&) {
        // Too large for memory: no reminders rather than some, so that a later rewrite cannot
        // leave out the ones that did not fit.
    }
}

// Memory can run short with a very large table in the 32-bit program: the job is abandoned before
// it changes the file, and reported like any other failure.
void AppendReminder(std::string_view time, std::string_view date, std::string_view text,
                    int32_t active) {
    int error = kErrOutOfMemory;
    try {
        error = AppendRecord(MakeReminder(time, date, text, active));
    } catch (const std::bad_alloc&) {
    }
    if (error)
        ShowFileErrorBox(error);
}

void SaveReminders() {
    int error = kErrOutOfMemory;
    try {
        error = RewriteReminderFile();
    } catch (const std::bad_alloc&) {
    }
    if (error)
        ShowFileErrorBox(error);
}
