// The last of a day's boxes: one box for each reminder stored for that day.
#pragma once

#include "reminder_file.h"
#include "today.h"

// Loads the reminder file, if there is one, and shows each live reminder of today in file order,
// one box after the other. Never creates the file, never reports: a file that cannot be read
// shows no reminders.
void ShowTodayReminders(const ReminderFile& file, const Today& today);
