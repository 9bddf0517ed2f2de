// The boxes of one day: the greeting, then one box per reminder of that day. A plain start and
// the day watch both show them through here.
#pragma once

#include "reminder_file.h"
#include "today.h"

#include <windows.h>

// Today by the local clock.
Today ReadToday();

// The greeting box of that day, in a box of that style (message_box.h); returns when it is closed.
void ShowDayGreeting(const Today& today, unsigned boxStyle);

// The greeting box and, once it is closed, the day's reminders from the reminder file as it is
// now, one box after the other, all in boxes of that style (message_box.h). Returns when the
// last box is closed.
void ShowDayBoxes(const ReminderFile& file, const Today& today, unsigned boxStyle);
