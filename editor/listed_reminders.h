// The reminders that the list's lines show, and how Borrar and Modificar find the one of a line
// again in a table that was read anew: the file may have changed since the day was listed (the
// editor of another computer). Plain C++, no Windows.
#pragma once

#include "reminder_record.h"

#include <string_view>
#include <vector>

// A line of the list: the table index that it names and the reminder that it shows.
struct ListedReminder {
    long index;
    Reminder reminder;
};

// The live entries of `table` whose date is `date` byte for byte, in table order (the list box
// then sorts their lines as text).
std::vector<ListedReminder> RemindersOfDate(const std::vector<Reminder>& table,
                                            std::string_view date);

// The listed reminder of the line that names `index`; null when no line does (0: none selected).
ListedReminder* ListedAt(std::vector<ListedReminder>& listed, long index);

// The index of the live entry of `table` that holds the time, date and text of `listed`: its own
// index while the entry there still holds them, else the first entry that does; 0 when none does
// (it was deleted or changed since it was listed).
long FindListedReminder(std::vector<Reminder>& table, const ListedReminder& listed);
