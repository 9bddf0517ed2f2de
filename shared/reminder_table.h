// The reminder table: a program's copy of the reminder file. Entry i (counted from 1) is
// record i of the file after a load; the editor changes entries in place between loads.
#pragma once

#include "reminder_record.h"

#include <vector>

// Entry `index` of `table` if it exists and is live (active not 0), otherwise null.
Reminder* LiveReminderAt(std::vector<Reminder>& table, long index);
