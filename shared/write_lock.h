// The editors of two computers may open one folder through a network share, and each rewrites the
// whole reminder file from the table it read. So that neither writes between the other's read and
// write, each command that writes the file holds this lock from its read to its write: a
// byte-range lock on a small hidden file beside the reminder file, _Recordatorios_.lock, which
// never holds data. A file server keeps such locks for all its clients and lets one go with the
// handle, when the program ends or its computer is cut off. The reminder file cannot carry it
// itself: every rewrite puts a new file in its place, and the notifier must still read it.
#pragma once

#include "handle.h"
#include "reminder_file.h"

class WriteLock {
  public:
    // Takes the lock, waiting while another editor holds it or another program holds the lock
    // file (held_file.h).
    explicit WriteLock(const ReminderFile& file);
    ~WriteLock();
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

    // 0 once the lock is held, and where the folder lets no lock file be made: the command then
    // goes on alone and meets the folder's own failure. 70 when another editor kept the lock, or
    // another program the lock file.
    int Error() const { return error_; }

  private:
    UniqueFile handle_;
    int error_ = 0;
};
