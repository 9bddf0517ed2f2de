#include "write_lock.h"

#include "file_error.h"
#include "held_file.h"

namespace {

// Every editor opens the lock file sharing it in every way, so that only the lock excludes.
UniqueFile OpenLockFile(const ReminderFile& file) {
    return UniqueFile(CreateFileW(file.Beside(L"_Recordatorios_.lock").c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr));
}

// The first byte, whether or not the file has one.
bool LockFirstByte(HANDLE file, bool take) {
    OVERLAPPED at{};
    return take ? LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                             &at) != FALSE
                : UnlockFileEx(file, 0, 1, 0, &at) != FALSE;
}

} // namespace

// One wait for both ways the lock can be held: by another editor, and by a sync or backup
// program that has the lock file open without sharing it.
WriteLock::WriteLock(const ReminderFile& file) {
    bool locked = RetryWhileHeld([&] {
        if (!handle_)
            handle_ = OpenLockFile(file);
        return handle_ && LockFirstByte(handle_.get(), true);
    });
    if (locked)
        return;
    // A lock file that cannot be opened for another reason (a read-only folder) lets the command
    // go on alone.
    if (handle_ || IsHeldError(GetLastError()))
        error_ = LastFileErrorNumber();
    handle_.reset();
}

WriteLock::~WriteLock() {
    if (handle_)
        LockFirstByte(handle_.get(), false);
}
