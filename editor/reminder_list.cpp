#include "reminder_list.h"

#include "control_ids.h"
#include "control_text.h"
#include "editor_texts.h"
#include "text_1252.h"

#include <utility>
#include <vector>

void ListRemindersForDate(HWND dialog, EditorState& state) {
    EmptyReminderList(dialog, state);
    SetControlText(dialog, kTextBoxId, "");
    HWND list = GetDlgItem(dialog, kReminderListId);
    // Every allocation happens before the list stops drawing, so that running out of memory
    // cannot leave it so.
    std::vector<ListedReminder> listed = RemindersOfDate(state.reminders, state.selectedDate);
    std::vector<std::wstring> lines;
    for (const ListedReminder& line : listed)
        lines.push_back(WideFrom1252(ListLine(line.index, line.reminder)));
    // Drawn once when all lines are in, not after each: a busy day lists in a blink.
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (const std::wstring& line : lines)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    state.listed = std::move(listed);
}

void EmptyReminderList(HWND dialog, EditorState& state) {
    SendDlgItemMessageW(dialog, kReminderListId, LB_RESETCONTENT, 0, 0);
    state.listed.clear();
}

long SelectedLineIndex(HWND dialog) {
    HWND list = GetDlgItem(dialog, kReminderListId);
    LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR)
        return 0;
    LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length == LB_ERR)
        return 0;
    std::wstring line(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(selected),
                                  reinterpret_cast<LPARAM>(line.data()));
    if (copied == LB_ERR)
        return 0;
    line.resize(static_cast<size_t>(copied));
    return IndexOfListLine(Text1252FromWide(line));
}
