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

WriteLock::WriteLock(const ReminderFile& file) : handle_(OpenLockFile(file)) {
    if (handle_ && !RetryWhileHeld([&] { return LockFirstByte(handle_.get(), true); })) {
        error_ = LastFileErrorNumber();
        handle_.reset();
    }
}

WriteLock::~WriteLock() {
    if (handle_)
        LockFirstByte(handle_.get(), false);
}
