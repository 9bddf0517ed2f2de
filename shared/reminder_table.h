// The reminder table: a program's copy of the reminder file. Entry i (counted from 1) is
// record i of the file after a load; the editor changes entries in place between loads.
#pragma once

#include "reminder_record.h"

#include <vector>

extern std::vector<Reminder> gReminders;

// The number of entries since the last load.
inline long ReminderCount() {
    return static_cast<long>(gReminders.size());
}

// Entry `index` if it exists and is live (active not 0), otherwise null.
Reminder* LiveReminderAt(long index);
