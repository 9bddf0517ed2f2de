// The last of a day's boxes: one box for each reminder stored for that day.
#pragma once

#include "greeting.h"

// Loads the reminder file of the exe folder, if there is one, and shows each live reminder of
// today in file order, one box after the other. Never creates the file, never reports.
void ShowTodayReminders(const Today& today);
