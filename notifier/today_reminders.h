// The last of a day's boxes: one box for each reminder stored for that day.
#pragma once

#include "reminder_file.h"
#include "today.h"

#include <vector>

// Shows each live reminder of today in `table` in file order, one box after the other, in boxes of
// that style (message_box.h).
void ShowTodayReminders(const std::vector<Reminder>& table, const Today& today, unsigned boxStyle);

// Loads the reminder file, if there is one, and shows today's reminders as above. Never creates
// the file, never reports: a file that cannot be read, even after a moment's wait for one that
// another program holds, shows no reminders.
void ShowTodayReminders(const ReminderFile& file, const Today& today, unsigned boxStyle);
