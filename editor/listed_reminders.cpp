#include "listed_reminders.h"

#include "reminder_table.h"

#include <algorithm>

namespace {

// The file has no other name for a reminder: two with the same time, date and text are one.
bool HoldsSameReminder(const Reminder& entry, const Reminder& wanted) {
    return entry.active != 0 && entry.time == wanted.time && entry.date == wanted.date &&
           entry.text == wanted.text;
}

} // namespace

std::vector<ListedReminder> RemindersOfDate(const std::vector<Reminder>& table,
                                            std::string_view date) {
    std::vector<ListedReminder> listed;
    for (size_t i = 0; i < table.size(); ++i) {
        const Reminder& entry = table[i];
        if (entry.active != 0 && entry.date == date)
            listed.push_back({static_cast<long>(i + 1), entry});
    }
    return listed;
}

ListedReminder* ListedAt(std::vector<ListedReminder>& listed, long index) {
    auto found = std::lower_bound(
        listed.begin(), listed.end(), index,
        [](const ListedReminder& line, long wanted) { return line.index < wanted; });
    return found != listed.end() && found->index == index ? &*found : nullptr;
}

long FindListedReminder(std::vector<Reminder>& table, const ListedReminder& listed) {
    const Reminder* entry = LiveReminderAt(table, listed.index);
    if (entry && HoldsSameReminder(*entry, listed.reminder))
        return listed.index;
    auto found = std::find_if(table.begin(), table.end(), [&](const Reminder& other) {
        return HoldsSameReminder(other, listed.reminder);
    });
    return found == table.end() ? 0 : static_cast<long>(found - table.begin()) + 1;
}
