#include "reminder_store.h"

#include "file_error_text.h"
#include "reminder_rewrite.h"
#include "write_lock.h"

#include <utility>

int ReloadIfChanged(EditorState& state) {
    if (state.fileStamp && StampOfFileAt(state.file.Path()) == state.fileStamp)
        return 0;
    int error = LoadReminders(state.file, state.reminders, IfMissing::Leave, state.fileStamp);
    return error == kErrFileNotFound ? 0 : error;
}

void ReloadCreatingTheFile(EditorState& state) {
    // A load reports nothing: a file it cannot read gives an empty table, read again next time.
    LoadReminders(state.file, state.reminders, IfMissing::Create, state.fileStamp);
}

int AppendAndReload(EditorState& state, std::string_view time, std::string_view date,
                    std::string_view text) {
    {
        WriteLock lock(state.file);
        if (int error = lock.Error())
            return error;
        if (int error = AppendReminder(state.file, time, date, text, 1))
            return error;
    }
    ReloadCreatingTheFile(state);
    return 0;
}

int RewriteListedReminder(EditorState& state, const ListedReminder& line,
                          const Reminder* replacement) {
    WriteLock lock(state.file);
    if (int error = lock.Error())
        return error;
    if (int error = ReloadIfChanged(state))
        return error;
    long index = FindListedReminder(state.reminders, line);
    if (index == 0)
        return kListedReminderGone;
    // A deleted entry stays in the table, marked, so that the other lines keep their indexes.
    Reminder& entry = state.reminders[static_cast<size_t>(index - 1)];
    Reminder other = replacement ? *replacement : Reminder{entry.time, entry.date, entry.text, 0};
    std::swap(entry, other);
    if (int error = SaveReminders(state.file, state.reminders)) {
        std::swap(entry, other);
        return error;
    }
    // The editor's own write is no change under it. No other editor writes while the lock holds.
    state.fileStamp = StampOfFileAt(state.file.Path());
    return 0;
}
