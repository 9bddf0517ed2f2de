// The editor dialog's state, held by the dialog (DWLP_USER) from its initialisation on and handed
// to each handler. What the controls show (the time switch, the texts) is read from them.
#pragma once

#include "file_stamp.h"
#include "folder_claim.h"
#include "listed_reminders.h"
#include "reminder_file.h"
#include "reminder_record.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

struct EditorState {
    const ReminderFile& file;
    // This editor's claim on its folder; its name marks the dialog while the dialog exists.
    const FolderClaim& claim;
    // The editor's copy of the reminder file (reminder_table.h): entry i, counted from 1, is
    // record i of the file after a load; the commands change entries in place between loads.
    std::vector<Reminder> reminders = {};
    // Long date text of the day last picked on the calendar ("6 Diciembre 2026"); empty until the
    // user picks one.
    std::string selectedDate = {};
    // The control that had the keyboard focus when the dialog was last deactivated.
    HWND savedFocus = nullptr;
    // Which file the table is a copy of: the stamp of what the editor last read or wrote. None
    // when that load failed, so that the next command reads the file again.
    std::optional<FileStamp> fileStamp = std::nullopt;
    // What the list's lines show, by the index each names, in index order.
    std::vector<ListedReminder> listed = {};
};
