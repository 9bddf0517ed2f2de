#include "commands.h"

#include "control_text.h"
#include "date_text.h"
#include "editor_state.h"
#include "editor_texts.h"
#include "message_box.h"
#include "reminder_list.h"
#include "reminder_rewrite.h"
#include "reminder_table.h"
#include "text_1252.h"

#include <new>

namespace {

// The time a reminder gets: the picker's hours and minutes while the time is switched on.
std::string ReadEntryTime() {
    if (!gTimeEnabled)
        return std::string(kNoTimeText);
    SYSTEMTIME time{};
    if (SendMessageW(Control(kTimePickerId), DTM_GETSYSTEMTIME, 0,
                     reinterpret_cast<LPARAM>(&time)) != GDT_VALID)
        return std::string(kNoTimeText);
    return EntryTimeText(time.wHour, time.wMinute);
}

// The text box's text; storing keeps its first 1023 characters.
std::string ReadEntryText() {
    return ControlText(kTextBoxId);
}

void ClearTextBox() {
    SetControlText(kTextBoxId, "");
}

} // namespace

void OnDayPicked(const NMSELCHANGE& selection) {
    EmptyReminderList();
    ClearTextBox();
    UpdateCharCounter();
    const SYSTEMTIME& day = selection.stSelStart;
    gSelectedDate = LongDateText(day.wDay, day.wMonth, day.wYear);
}

void OnTimeSwitch() {
    gTimeEnabled = SendMessageW(Control(kTimeCheckId), BM_GETCHECK, 0, 0) != BST_UNCHECKED;
    EnableWindow(Control(kTimePickerId), gTimeEnabled);
}

void UpdateCharCounter() {
    std::wstring counter = WideFrom1252(CharCounterText(ReadEntryText().size()));
    SendMessageW(Control(kStatusBarId), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(counter.c_str()));
}

void OnGrabar(const ReminderFile& file) {
    // Taken now: the dialog stays usable while the question is open, and the reminder is the one
    // the question names, whatever the user picks or types meanwhile.
    std::string entryTime = ReadEntryTime();
    std::string entryText = ReadEntryText();
    std::string entryDate = gSelectedDate;
    // A picked day is a long date text such as "6 Diciembre 2026"; before that it is empty.
    if (entryDate.size() <= 2) {
        ShowMessageBox("Tienes que seleccionar fecha ...", "Programador", kBoxOk);
        return;
    }
    std::string question = "Quieres grabar el dato recordatorio del " + entryDate + " ?";
    if (ShowMessageBox(question, "Recordatorio", kBoxYesNo) == kAnswerYes)
        ReportFileError(AppendReminder(file, entryTime, entryDate, entryText, 1));
    // Whatever the answer, the table is read again so that it matches the file, which the load
    // makes if it is missing. A load reports nothing: a file it cannot read gives an empty table.
    LoadReminders(file, gReminders, IfMissing::Create);
    EmptyReminderList();
    ClearTextBox();
    UpdateCharCounter();
}

void OnBorrar(const ReminderFile& file) {
    Reminder* entry = LiveReminderAt(gReminders, SelectedLineIndex());
    if (!entry)
        return;
    // The entry stays in the table, marked deleted, so the other lines keep their indexes.
    entry->active = 0;
    ReportFileError(SaveReminders(file, gReminders));
    EmptyReminderList();
    ClearTextBox();
    UpdateCharCounter();
}

void OnModificar(const ReminderFile& file) {
    UpdateCharCounter();
    std::string entryTime = ReadEntryTime();
    std::string entryText = ReadEntryText();
    Reminder* entry = LiveReminderAt(gReminders, SelectedLineIndex());
    if (!entry)
        return;
    *entry = MakeReminder(entryTime, gSelectedDate, entryText, 1);
    // Copied now: the boxes below run a message loop in which the table may be reloaded.
    std::string storedText = entry->text;
    ReportFileError(SaveReminders(file, gReminders));
    SetControlText(kTextBoxId, storedText);
    ShowMessageBox("Texto Modificado ...", "Quenda Soft", kBoxOk);
}

void OnListar() {
    // The text box is emptied before the lines are made. When they do not fit in memory the
    // counter still follows the text box, and the window procedure reports the failure.
    try {
        ListRemindersForDate();
    } catch (const std::bad_alloc&) {
        UpdateCharCounter();
        throw;
    }
    UpdateCharCounter();
}

void OnLineSelected() {
    const Reminder* entry = LiveReminderAt(gReminders, SelectedLineIndex());
    if (!entry)
        return;
    SetControlText(kTextBoxId, entry->text);
    UpdateCharCounter();
}

void ReportFileError(int error) {
    if (error)
        ShowFileErrorBox(error);
}
