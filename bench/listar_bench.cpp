// Times Listar on a day with 10,000 reminders in a table of 100,000 against adding the same
// 10,000 lines to a sorted list box directly: once plainly, line after line, and also with the
// list's drawing held off until the end, as Listar does. All fill the same visible list box;
// the runs alternate and the medians are compared. The plain fill is slow (the list is drawn
// after every line), so it runs once.
#include "control_ids.h"
#include "editor_texts.h"
#include "exe_folder.h"
#include "listed_reminders.h"
#include "reminder_list.h"
#include "text_1252.h"

#include "measure.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kEntries = 100000;
constexpr int kRounds = 5;
const char kDay[] = "6 Diciembre 2026";

// A window holding the two controls that listing touches, with the editor's ids and styles.
HWND CreateListingWindow() {
    HWND window = CreateWindowExW(0, L"STATIC", L"Listar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  600, 400, nullptr, nullptr, nullptr, nullptr);
    CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 300,
                    60, window, reinterpret_cast<HMENU>(kTextBoxId), nullptr, nullptr);
    CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_SORT | LBS_NOTIFY, 0, 60,
                    300, 300, window, reinterpret_cast<HMENU>(kReminderListId), nullptr, nullptr);
    return window;
}

} // namespace

int wmain() {
    // Listing reads only the editor state's table and picked day.
    ReminderFile file(ExeFolder());
    FolderClaim claim(L"editor", file.Folder());
    EditorState state{file, claim, {}, kDay};
    for (int i = 0; i < kEntries; ++i) {
        std::string date = i % 10 == 0 ? kDay : std::to_string(1 + i % 28) + " Noviembre 2026";
        state.reminders.push_back(MakeReminder(i % 3 ? "09:30" : "##:##", date,
                                               "Recordatorio numero " + std::to_string(i), 1));
    }
    HWND window = CreateListingWindow();
    HWND list = GetDlgItem(window, kReminderListId);

    std::vector<std::wstring> lines;
    for (const ListedReminder& line : RemindersOfDate(state.reminders, kDay))
        lines.push_back(WideFrom1252(ListLine(line.index, line.reminder)));

    auto addDirectly = [&](bool holdDrawing) {
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        double start = Now();
        if (holdDrawing)
            SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        for (const std::wstring& line : lines)
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        if (holdDrawing) {
            SendMessageW(list, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(list, nullptr, TRUE);
        }
        double seconds = Now() - start;
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        return seconds;
    };

    std::vector<double> listar, held;
    for (int round = 0; round < kRounds; ++round) {
        double start = Now();
        ListRemindersForDate(window, state);
        listar.push_back(Now() - start);
        held.push_back(addDirectly(true));
    }
    double plain = addDirectly(false);
    std::printf("Listar, %zu of %d reminders: %.0f ms; adding the same lines to a sorted list box "
                "directly: %.0f ms; ratio %.3f (goal at most 1.3)\n",
                lines.size(), kEntries, Median(listar) * 1000, plain * 1000,
                Median(listar) / plain);
    std::printf("  the same lines added with the list's drawing held off: %.0f ms; ratio %.2f\n",
                Median(held) * 1000, Median(listar) / Median(held));
    DestroyWindow(window);
    return 0;
}
