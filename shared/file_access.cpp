#include "file_access.h"

#include "file_error.h"
#include "file_error_text.h"
#include "held_file.h"
#include "reminder_record.h"

UniqueFile OpenExclusive(const std::wstring& path, DWORD access, DWORD disposition) {
    UniqueFile file;
    RetryWhileHeld([&] {
        file.reset(CreateFileW(path.c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
        return static_cast<bool>(file);
    });
    return file;
}

bool CountRecords(HANDLE file, uint64_t& count) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size))
        return false;
    count = static_cast<uint64_t>(size.QuadPart) / kRecordSize;
    return true;
}

int ReadExactly(HANDLE file, char* data, size_t size) {
    while (size > 0) {
        DWORD read = 0;
        if (!RetryWhileHeld([&] {
                return ReadFile(file, data, static_cast<DWORD>(size), &read, nullptr) != FALSE;
            }))
            return LastFileErrorNumber();
        if (read == 0)
            return kErrInputPastEnd;
        data += read;
        size -= read;
    }
    return 0;
}

int WriteExactly(HANDLE file, const char* data, size_t size) {
    DWORD written = 0;
    if (!RetryWhileHeld([&] {
            return WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) != FALSE;
        }))
        return LastFileErrorNumber();
    return written == size ? 0 : kErrDiskFull;
}
