// The crash-safe rewrite of the reminder file: the live entries go into a new file beside the
// old one, which then replaces it in one step, so that a failure or a kill at any point leaves
// one whole file or the other.
#pragma once

#include "reminder_file.h"

#include <vector>

// Rewrites the file from the live entries of `table`, or deletes it when there is none, waiting
// for a file that another program holds for a moment (held_file.h). Returns 0 when done or the
// file error number of what failed; the old file is then left whole, with its attributes. The table
// is not changed, so a later rewrite writes its entries again.
int SaveReminders(const ReminderFile& file, const std::vector<Reminder>& table);
