#include "commands.h"

#include "control_ids.h"
#include "control_text.h"
#include "date_text.h"
#include "editor_texts.h"
#include "message_box.h"
#include "reminder_list.h"
#include "reminder_rewrite.h"
#include "reminder_table.h"
#include "text_1252.h"

#include <new>

namespace {

// The time switch is the check box itself.
bool IsTimeOn(HWND dialog) {
    return IsDlgButtonChecked(dialog, kTimeCheckId) != BST_UNCHECKED;
}

// The time a reminder gets: the picker's hours and minutes while the time is switched on.
std::string ReadEntryTime(HWND dialog) {
    if (!IsTimeOn(dialog))
        return std::string(kNoTimeText);
    SYSTEMTIME time{};
    if (SendDlgItemMessageW(dialog, kTimePickerId, DTM_GETSYSTEMTIME, 0,
                            reinterpret_cast<LPARAM>(&time)) != GDT_VALID)
        return std::string(kNoTimeText);
    return EntryTimeText(time.wHour, time.wMinute);
}

// The text box's text; storing keeps its first 1023 characters.
std::string ReadEntryText(HWND dialog) {
    return ControlText(dialog, kTextBoxId);
}

// After a command that is done with the list and the text: both emptied, the counter at zero.
void ClearListAndText(HWND dialog) {
    EmptyReminderList(dialog);
    SetControlText(dialog, kTextBoxId, "");
    UpdateCharCounter(dialog);
}

} // namespace

void OnDayPicked(HWND dialog, EditorState& state, const NMSELCHANGE& selection) {
    ClearListAndText(dialog);
    const SYSTEMTIME& day = selection.stSelStart;
    state.selectedDate = LongDateText(day.wDay, day.wMonth, day.wYear);
}

void OnTimeSwitch(HWND dialog) {
    EnableWindow(GetDlgItem(dialog, kTimePickerId), IsTimeOn(dialog));
}

void UpdateCharCounter(HWND dialog) {
    std::wstring counter = WideFrom1252(CharCounterText(ReadEntryText(dialog).size()));
    SendDlgItemMessageW(dialog, kStatusBarId, SB_SETTEXTW, 0,
                        reinterpret_cast<LPARAM>(counter.c_str()));
}

void OnGrabar(HWND dialog, EditorState& state) {
    // Taken now: the dialog stays usable while the question is open, and the reminder is the one
    // the question names, whatever the user picks or types meanwhile.
    std::string entryTime = ReadEntryTime(dialog);
    std::string entryText = ReadEntryText(dialog);
    std::string entryDate = state.selectedDate;
    // A picked day is a long date text such as "6 Diciembre 2026"; before that it is empty.
    if (entryDate.size() <= 2) {
        ShowMessageBox("Tienes que seleccionar fecha ...", "Programador", kBoxOk);
        return;
    }
    std::string question = "Quieres grabar el dato recordatorio del " + entryDate + " ?";
    if (ShowMessageBox(question, "Recordatorio", kBoxYesNo) == kAnswerYes)
        ReportFileError(AppendReminder(state.file, entryTime, entryDate, entryText, 1));
    // Whatever the answer, the table is read again so that it matches the file, which the load
    // makes if it is missing. A load reports nothing: a file it cannot read gives an empty table.
    LoadReminders(state.file, state.reminders, IfMissing::Create);
    ClearListAndText(dialog);
}

void OnBorrar(HWND dialog, EditorState& state) {
    Reminder* entry = LiveReminderAt(state.reminders, SelectedLineIndex(dialog));
    if (!entry)
        return;
    // The entry stays in the table, marked deleted, so the other lines keep their indexes.
    entry->active = 0;
    ReportFileError(SaveReminders(state.file, state.reminders));
    ClearListAndText(dialog);
}

void OnModificar(HWND dialog, EditorState& state) {
    UpdateCharCounter(dialog);
    std::string entryTime = ReadEntryTime(dialog);
    std::string entryText = ReadEntryText(dialog);
    Reminder* entry = LiveReminderAt(state.reminders, SelectedLineIndex(dialog));
    if (!entry)
        return;
    *entry = MakeReminder(entryTime, state.selectedDate, entryText, 1);
    // Copied now: the boxes below run a message loop in which the table may be reloaded.
    std::string storedText = entry->text;
    ReportFileError(SaveReminders(state.file, state.reminders));
    SetControlText(dialog, kTextBoxId, storedText);
    ShowMessageBox("Texto Modificado ...", "Quenda Soft", kBoxOk);
}

void OnListar(HWND dialog, const EditorState& state) {
    // The text box is emptied before the lines are made. When they do not fit in memory the
    // counter still follows the text box, and the window procedure reports the failure.
    try {
        ListRemindersForDate(dialog, state);
    } catch (const std::bad_alloc&) {
        UpdateCharCounter(dialog);
        throw;
    }
    UpdateCharCounter(dialog);
}

void OnLineSelected(HWND dialog, EditorState& state) {
    const Reminder* entry = LiveReminderAt(state.reminders, SelectedLineIndex(dialog));
    if (!entry)
        return;
    SetControlText(dialog, kTextBoxId, entry->text);
    UpdateCharCounter(dialog);
}

void ReportFileError(int error) {
    if (error)
        ShowFileErrorBox(error);
}
