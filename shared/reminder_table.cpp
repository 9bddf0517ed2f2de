#include "reminder_table.h"

std::vector<Reminder> gReminders;

Reminder* LiveReminderAt(long index) {
    if (index < 1 || index > ReminderCount())
        return nullptr;
    Reminder& entry = gReminders[static_cast<size_t>(index - 1)];
    return entry.active != 0 ? &entry : nullptr;
}
