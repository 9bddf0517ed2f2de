#include "reminder_file.h"

#include "file_error.h"
#include "file_error_text.h"
#include "handle.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <exception>

std::wstring gExeFolder;

namespace {

constexpr wchar_t kFileName[] = L"_Recordatorios_.log";
// The rewrite's new file, in the same folder so that it can replace the old one by a rename.
constexpr wchar_t kNewFileName[] = L"_Recordatorios_.new";
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

std::wstring FilePathIn(const wchar_t* name) {
    return LongPathForm(gExeFolder + name);
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

int WriteLiveRecords(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL); // a stale new file may be read-only
    UniqueFile file = OpenExclusive(path, GENERIC_WRITE, CREATE_ALWAYS);
    if (!file)
        return LastFileErrorNumber();
    std::vector<char> block(kRecordsPerBlock * kRecordSize);
    size_t filled = 0;
    for (const Reminder& entry : gReminders) {
        if (entry.active == 0)
            continue;
        EncodeRecord(entry, RecordBytes(block.data() + filled, kRecordSize));
        filled += kRecordSize;
        if (filled == block.size()) {
            if (int error = WriteExactly(file.get(), block.data(), filled))
                return error;
            filled = 0;
        }
    }
    if (int error = WriteExactly(file.get(), block.data(), filled))
        return error;
    return FlushFileBuffers(file.get()) ? 0 : LastFileErrorNumber();
}

// Deleting a file that is not there is no failure: there is nothing left to delete.
int DeleteReminderFile(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    if (DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)
        return 0;
    return LastFileErrorNumber();
}

int RewriteReminderFile() {
    std::wstring path = FilePathIn(kFileName);
    bool anyLive = std::any_of(gReminders.begin(), gReminders.end(),
                               [](const Reminder& entry) { return entry.active != 0; });
    if (!anyLive)
        return DeleteReminderFile(path);

    std::wstring newPath = FilePathIn(kNewFileName);
    if (int error = WriteLiveRecords(newPath)) {
        DeleteFileW(newPath.c_str());
        return error;
    }
    // A read-only, hidden or system file could not be replaced; on failure it gets its
    // attributes back along with its contents.
    DWORD oldAttributes = GetFileAttributesW(path.c_str());
    if (oldAttributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    if (!MoveFileExW(newPath.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        int error = LastFileErrorNumber();
        DeleteFileW(newPath.c_str());
        if (oldAttributes != INVALID_FILE_ATTRIBUTES)
            SetFileAttributesW(path.c_str(), oldAttributes);
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

void AppendReminder(std::string_view time, std::string_view date, std::string_view text,
                    int32_t active) {
    if (int error = AppendRecord(MakeReminder(time, date, text, active)))
        ShowFileErrorBox(error);
}

void SaveReminders() {
    if (int error = RewriteReminderFile())
        ShowFileErrorBox(error);
}
