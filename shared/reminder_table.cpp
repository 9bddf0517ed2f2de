#include "reminder_table.h"

Reminder* LiveReminderAt(std::vector<Reminder>& table, long index) {
    if (index < 1 || static_cast<size_t>(index) > table.size())
        return nullptr;
    Reminder& entry = table[static_cast<size_t>(index - 1)];
    return entry.active != 0 ? &entry : nullptr;
}
