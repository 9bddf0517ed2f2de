#include "reminder_file.h"

#include "file_access.h"
#include "file_error.h"
#include "file_error_text.h"
#include "path_form.h"

#include <algorithm>
#include <array>
#include <new>

namespace {

int ReadAllRecords(HANDLE file, std::vector<Reminder>& table) {
    uint64_t count = 0;
    if (!CountRecords(file, count))
        return LastFileErrorNumber();
    if (count > table.max_size())
        return kErrOutOfMemory;
    table.reserve(static_cast<size_t>(count));
    std::vector<char> block(kRecordsPerBlock * kRecordSize);
    while (table.size() < count) {
        size_t records =
            static_cast<size_t>(std::min<uint64_t>(kRecordsPerBlock, count - table.size()));
        if (int error = ReadExactly(file, block.data(), records * kRecordSize))
            return error;
        AppendDecodedRecords(std::span<const char>(block.data(), records * kRecordSize), table);
    }
    return 0;
}

int AppendRecord(const ReminderFile& file, const Reminder& reminder) {
    UniqueFile handle = OpenExclusive(file.Path(), GENERIC_WRITE, OPEN_ALWAYS);
    if (!handle)
        return LastFileErrorNumber();
    uint64_t count = 0;
    if (!CountRecords(handle.get(), count))
        return LastFileErrorNumber();
    // The new record goes after the last whole record, over any partial one.
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(count * kRecordSize);
    if (!SetFilePointerEx(handle.get(), at, nullptr, FILE_BEGIN))
        return LastFileErrorNumber();
    std::array<char, kRecordSize> record;
    EncodeRecord(reminder, record);
    return WriteExactly(handle.get(), record.data(), record.size());
}

} // namespace

ReminderFile::ReminderFile(std::wstring folder)
    : folder_(std::move(folder)), path_(Beside(L"_Recordatorios_.log")) {}

std::wstring ReminderFile::Beside(std::wstring_view name) const {
    std::wstring path = folder_;
    path += name;
    return LongPathForm(path);
}

// Memory can run short with a very large table in the 32-bit program: a job then ends before it
// changes the file and returns 7, like any other failure.
int LoadReminders(const ReminderFile& file, std::vector<Reminder>& table, IfMissing ifMissing,
                  std::optional<FileStamp>& stamp) {
    table.clear();
    stamp.reset();
    UniqueFile handle = OpenExclusive(file.Path(), GENERIC_READ,
                                      ifMissing == IfMissing::Create ? OPEN_ALWAYS : OPEN_EXISTING);
    if (!handle) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            stamp = FileStamp{};
        return FileErrorNumberOf(error);
    }
    try {
        std::vector<Reminder> loaded;
        if (int error = ReadAllRecords(handle.get(), loaded))
            return error;
        table = std::move(loaded);
        stamp = StampOfOpenFile(handle.get());
        return 0;
    } catch (const std::bad_alloc&) {
        // No reminders rather than some, so that a later rewrite cannot leave out the ones that
        // did not fit.
        return kErrOutOfMemory;
    }
}

int LoadReminders(const ReminderFile& file, std::vector<Reminder>& table, IfMissing ifMissing) {
    std::optional<FileStamp> stamp;
    return LoadReminders(file, table, ifMissing, stamp);
}

int AppendReminder(const ReminderFile& file, std::string_view time, std::string_view date,
                   std::string_view text, int32_t active) {
    try {
        return AppendRecord(file, MakeReminder(time, date, text, active));
    } catch (const std::bad_alloc&) {
        return kErrOutOfMemory;
    }
}
