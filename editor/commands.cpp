#include "commands.h"

#include "control_ids.h"
#include "control_text.h"
#include "date_text.h"
#include "editor_texts.h"
#include "message_box.h"
#include "reminder_list.h"
#include "reminder_store.h"
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
void ClearListAndText(HWND dialog, EditorState& state) {
    EmptyReminderList(dialog, state);
    SetControlText(dialog, kTextBoxId, "");
    UpdateCharCounter(dialog);
}

// What Borrar and Modificar report when they could not write: the reminder gone from the file, or
// the file error. Nothing was written then, and the dialog stays as it was.
void ReportFailedRewrite(int outcome) {
    if (outcome == kListedReminderGone)
        ShowMessageBox("Ese recordatorio ya no está: se ha cambiado desde otro equipo. Pulsa "
                       "Listar.",
                       "Recordatorio", kBoxOk);
    else
        ReportFileError(outcome);
}

} // namespace

void OnDayPicked(HWND dialog, EditorState& state, const NMSELCHANGE& selection) {
    ClearListAndText(dialog, state);
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
    if (ShowMessageBox(question, "Recordatorio", kBoxYesNo) != kAnswerYes) {
        // The table is read again all the same, and the file made if it is missing.
        ReloadCreatingTheFile(state);
    } else if (int error = AppendAndReload(state, entryTime, entryDate, entryText)) {
        // Nothing was written: the text stays, to be saved again.
        ReportFileError(error);
        return;
    }
    ClearListAndText(dialog, state);
}

void OnBorrar(HWND dialog, EditorState& state) {
    const ListedReminder* line = ListedAt(state.listed, SelectedLineIndex(dialog));
    if (!line)
        return;
    if (int outcome = RewriteListedReminder(state, *line, nullptr)) {
        ReportFailedRewrite(outcome);
        return;
    }
    ClearListAndText(dialog, state);
}

void OnModificar(HWND dialog, EditorState& state) {
    UpdateCharCounter(dialog);
    std::string entryTime = ReadEntryTime(dialog);
    std::string entryText = ReadEntryText(dialog);
    ListedReminder* line = ListedAt(state.listed, SelectedLineIndex(dialog));
    if (!line)
        return;
    Reminder changed = MakeReminder(entryTime, state.selectedDate, entryText, 1);
    if (int outcome = RewriteListedReminder(state, *line, &changed)) {
        ReportFailedRewrite(outcome);
        return;
    }
    // Done before the box, whose message loop may list again: a second Modificar of the line
    // looks for what this one wrote.
    SetControlText(dialog, kTextBoxId, changed.text);
    line->reminder = std::move(changed);
    ShowMessageBox("Texto Modificado ...", "Quenda Soft", kBoxOk);
}

void OnListar(HWND dialog, EditorState& state) {
    // The file as it is now, which the editor of another computer may have changed. The text box
    // is emptied before the lines are made. When they do not fit in memory the counter still
    // follows the text box, and the window procedure reports the failure.
    int error = ReloadIfChanged(state);
    try {
        ListRemindersForDate(dialog, state);
    } catch (const std::bad_alloc&) {
        UpdateCharCounter(dialog);
        throw;
    }
    UpdateCharCounter(dialog);
    ReportFileError(error);
}

void OnLineSelected(HWND dialog, EditorState& state) {
    const ListedReminder* line = ListedAt(state.listed, SelectedLineIndex(dialog));
    if (!line)
        return;
    SetControlText(dialog, kTextBoxId, line->reminder.text);
    UpdateCharCounter(dialog);
}

void ReportFileError(int error) {
    if (error)
        ShowFileErrorBox(error);
}
