#include "day_watch.h"

#include "alert_text.h"
#include "alert_window.h"
#include "day_boxes.h"
#include "day_watch_rules.h"
#include "file_error_text.h"
#include "handle.h"
#include "local_moment.h"
#include "message_box.h"
#include "path_form.h"
#include "timed_alerts.h"
#include "today_reminders.h"
#include "watch_memory.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

// The watch's timer: to the next due moment (the next timed alert or the next local midnight,
// whichever comes first), or for a moment after a change in the folder.
constexpr UINT_PTR kTimer = 1;
// While boxes are open their modal loops wait for messages only, and the folder's notice waits
// for the watch's message loop: this timer looks at it every few seconds then.
constexpr UINT_PTR kBoxTimer = 2;
constexpr UINT kNoticeLookWhileBoxesShow = 5000;
// Posted to the window by the handlers of the system's notices, which must answer at once: the
// sender (the system at a resume, the program that set the clock) waits for the answer, and a
// day's boxes may stay open for hours.
constexpr UINT kLookAtClock = WM_APP;
// A change in the folder is looked at a second later, once the program that made it is done:
// the editor's save is several steps, and it reads the file again right after it writes. Until
// then the notice is not asked for again: a folder that keeps changing wakes the watch once in
// that second, not at every change.
constexpr UINT kSettleAfterChange = 1000;
// The wait when the clock cannot be read as a local date: the watch looks again then.
constexpr UINT kWaitWithoutLocalTime = 3600 * 1000;
constexpr int64_t kFileTimeUnitsPerMillisecond = 10000;

// The watch's own state, held by its window.
struct DayWatch {
    const ReminderFile& file;
    // The folder without its final backslash: the window's title, and the name under which the
    // watch keeps what the user has seen (watch_memory.h).
    std::wstring folderName;
    WatchState state = {};
    HWND window = nullptr;
    // The system's notice of changes in the folder; empty while the folder cannot be watched (some
    // network folders give no notices), and then the watch looks at the file each minute and
    // asks for the notice again.
    UniqueChangeNotification folderChange = {};
    // The notice is asked for and has not come while `noticeArmed`: only then is it waited for.
    bool noticeArmed = false;
    // The last moment at which the notice was seen not to have come: a change that it brings
    // later was made after it.
    int64_t folderUnchangedAt = 0;
    bool showingBoxes = false; // boxes are open, in modal loops further up the stack
    // The timed alerts, the missed reminders and the snoozes that ended, until the user is done
    // with them.
    AlertWindow alerts = {};
};

DayWatch& WatchOf(HWND window) {
    return *reinterpret_cast<DayWatch*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Now, in milliseconds since 1601 (UTC): the scale of the instants handed to LocalMomentAt.
int64_t NowInstant() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return static_cast<int64_t>((static_cast<uint64_t>(now.dwHighDateTime) << 32) |
                                now.dwLowDateTime) /
           kFileTimeUnitsPerMillisecond;
}

// The local moment at an instant, by the time zone's rules for that instant's year (a change of
// the clock between now and then included); -1 if the system cannot tell.
int64_t LocalMomentAt(int64_t instant) {
    uint64_t units = static_cast<uint64_t>(instant) * kFileTimeUnitsPerMillisecond;
    FILETIME time{static_cast<DWORD>(units), static_cast<DWORD>(units >> 32)};
    SYSTEMTIME utc, local;
    if (!FileTimeToSystemTime(&time, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return -1;
    return LocalMoment(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute,
                       local.wSecond);
}

// The clock, read once for a look: its day, its moment and the timer's wait all come from here.
ClockReading ReadClock() {
    int64_t instant = NowInstant();
    return {instant, LocalMomentAt(instant)};
}

// The file as it is now, waited for a moment if another program holds it. False if it is there
// but cannot be read: a file that is missing has no reminders, and a look never makes one.
bool ReadReminderFile(const ReminderFile& file, std::vector<Reminder>& table) {
    int error = LoadReminders(file, table, IfMissing::Leave);
    return error == 0 || error == kErrFileNotFound;
}

// The system's notice of changes in the folder: files made, deleted, renamed or written (the
// editor appends to the reminder file, or replaces it by a new one). Empty if the folder cannot
// be watched.
UniqueChangeNotification WatchFolder(const std::wstring& folder) {
    return UniqueChangeNotification(FindFirstChangeNotificationW(
        LongPathForm(folder).c_str(), FALSE,
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE));
}

// Asks for the folder's next change, unless it is asked for already: the notice is made, or asked
// for again after the last one came. A notice that cannot be asked for again would stay
// signalled: the watch goes without it, looking each minute, and asks for a new one at its next
// look.
void AwaitFolderChange(DayWatch& watch) {
    if (watch.noticeArmed)
        return;
    if (!watch.folderChange)
        watch.folderChange = WatchFolder(watch.file.Folder());
    else if (!FindNextChangeNotification(watch.folderChange.get()))
        watch.folderChange.reset();
    if (!watch.folderChange)
        return;
    watch.noticeArmed = true;
    watch.folderUnchangedAt = ReadClock().moment;
}

// Whether the folder's notice has come; if not, the folder is unchanged as of now.
bool FolderChanged(DayWatch& watch) {
    if (!watch.noticeArmed)
        return false;
    if (WaitForSingleObject(watch.folderChange.get(), 0) == WAIT_OBJECT_0)
        return true;
    watch.folderUnchangedAt = ReadClock().moment;
    return false;
}

// While boxes are open their modal loops wait for messages only: the notice is looked at every
// few seconds then, and after each box. A change found then was made after the look before, so
// a reminder written for a time past by then does not come when the boxes are closed, and one
// written for a later time does.
void LookAtNoticeWhileBoxesShow(DayWatch& watch) {
    if (!watch.showingBoxes || !FolderChanged(watch))
        return;
    NoteFolderChange(watch.state, watch.folderUnchangedAt);
    watch.noticeArmed = false;
    AwaitFolderChange(watch);
}

// Keeps what the user has seen for the watch's next run, once a box is closed, or when the watch
// ends. A failure to keep it changes nothing now: it is tried again after the next box.
void KeepWhatWasSeen(DayWatch& watch) {
    if (watch.state.seenUnsaved && KeepSeen(watch.folderName, watch.state.seen) == ERROR_SUCCESS)
        watch.state.seenUnsaved = false;
}

// Once each box is closed, and what it showed noted as seen: that is kept, and the folder's
// notice is looked at.
void AfterBoxClosed(DayWatch& watch) {
    KeepWhatWasSeen(watch);
    LookAtNoticeWhileBoxesShow(watch);
}

// The greeted day's list, read once its greeting has been closed, so that what fell due while the
// greeting stayed open is in the list and does not come again; the reminders of the days the user
// missed go into the alerts window. False if the file could not be read: the next look reads it
// again.
bool ShowDayList(DayWatch& watch, const Today& today, int64_t now) {
    std::vector<Reminder> table;
    if (!ReadReminderFile(watch.file, table)) {
        NoteFailedRead(watch.state);
        return false;
    }
    // The moment the file was read, after any wait for a held file; within the day.
    int64_t readAt = std::clamp(ReadClock().moment, now, SecondBefore(NextDayStart(now)));
    DayList list = ReadDayList(watch.state, table, today, readAt);
    std::vector<AlertLine> missed;
    for (const ListBox& box : list.missed)
        missed.push_back(MakeAlertLine(*box.seenWhenClosed, table[box.index]));
    AddAlertLines(watch.alerts, missed);
    for (size_t i = 0; i < list.boxes.size(); ++i) {
        ShowMessageBox(AlertText(today, table[list.boxes[i].index]), "Recordatorio",
                       kBoxOk | kBoxAboveOthers);
        NoteListBoxClosed(watch.state, list, i);
        AfterBoxClosed(watch);
    }
    return true;
}

// Shows what is due at `now`, if anything: the greeting of a day not greeted yet and its list,
// the list of a day whose file could not be read before; or else puts the snoozes that ended and
// the timed alerts due into the alerts window, from the file as it is at this moment. Returns
// false when no box was shown.
bool ShowWhatIsDue(DayWatch& watch, const ClockReading& now) {
    Today today = TodayAt(now.moment);
    switch (VisitClock(watch.state, now.moment)) {
    case DueAtLook::Greeting:
        ShowDayGreeting(today, kBoxOk | kBoxAboveOthers);
        AfterBoxClosed(watch);
        ShowDayList(watch, today, now.moment);
        return true;
    case DueAtLook::DayList: return ShowDayList(watch, today, now.moment);
    case DueAtLook::Alerts: break;
    }
    std::vector<Reminder> table;
    if (!ReadReminderFile(watch.file, table)) {
        NoteFailedRead(watch.state);
        return false;
    }
    std::vector<AlertLine> lines;
    while (std::optional<DueAlert> due = TakeDueSnooze(watch.state, table, now.moment))
        lines.push_back(MakeAlertLine(due->id, table[due->index]));
    while (std::optional<DueAlert> due = TakeDueAlert(watch.state, table, today, now.moment))
        lines.push_back(MakeAlertLine(due->id, table[due->index]));
    // Not kept here: a look in a busy folder comes every second, and a snooze forgotten (its
    // reminder deleted) is forgotten again after a power cut.
    AddAlertLines(watch.alerts, lines);
    return false;
}

// Looks at the clock and the file: shows what is due, one box after the other, until nothing is,
// then arms the timer for what comes next, from the clock as the last look read it. Called while
// boxes are open (their modal loops deliver the timer and the system's notices), it only asks
// for the folder's next change: the loop that showed them looks again once they are closed, so
// that two boxes never show together and a new day's greeting comes before that day's alerts.
void LookAtClock(HWND window) {
    DayWatch& watch = WatchOf(window);
    KillTimer(window, kTimer);
    // Asked for before the file is read, so that no change after the read goes unnoticed.
    AwaitFolderChange(watch);
    if (watch.showingBoxes)
        return;
    watch.showingBoxes = true;
    SetTimer(window, kBoxTimer, kNoticeLookWhileBoxesShow, nullptr);
    ClockReading now = ReadClock();
    while (now.moment >= 0 && ShowWhatIsDue(watch, now))
        now = ReadClock();
    KillTimer(window, kBoxTimer);
    watch.showingBoxes = false;
    AwaitFolderChange(watch); // asked for again if a change came with the last box
    UINT wait =
        now.moment < 0
            ? kWaitWithoutLocalTime
            : NextLookDelay(now, watch.state, static_cast<bool>(watch.folderChange), LocalMomentAt);
    SetTimer(window, kTimer, wait, nullptr);
}

// Ends the watch now. What the user has seen is kept box by box; with boxes open (modal loops
// further up this stack) the process ends here: it holds nothing that needs closing, since every
// job on the reminder file opens and closes the file before a box shows.
void EndWatch(HWND window) {
    DayWatch& watch = WatchOf(window);
    if (watch.showingBoxes)
        ExitProcess(0);
    KeepWhatWasSeen(watch);
    watch.alerts.dialog.reset();
    DestroyWindow(window);
}

// The user is done with lines of the alerts window: seen, or put off from now. A snooze's end is
// one more moment for the timer.
void OnAlertsClosed(HWND window, const AlertsClosed& closed) {
    DayWatch& watch = WatchOf(window);
    int64_t now = ReadClock().moment;
    if (now < 0)
        now = watch.state.lastLook;
    for (const ReminderId& id : closed.ids)
        if (closed.snoozeMinutes)
            NoteAlertSnoozed(watch.state, id,
                             MomentAfter(now, int64_t{*closed.snoozeMinutes} * 60));
        else
            NoteAlertClosed(watch.state, id);
    KeepWhatWasSeen(watch);
    if (closed.snoozeMinutes)
        PostMessageW(window, kLookAtClock, 0, 0);
}

void OnTimer(HWND window, UINT_PTR timer) {
    if (timer == kTimer)
        LookAtClock(window);
    else if (timer == kBoxTimer)
        LookAtNoticeWhileBoxesShow(WatchOf(window));
}

void OnLookAtClock(HWND window) {
    LookAtClock(window);
}

// The clock or the time zone was set. A settings change is looked at too, in case a new time
// zone is announced only that way.
void OnTimeChange(HWND window) {
    PostMessageW(window, kLookAtClock, 0, 0);
}

LRESULT OnPowerBroadcast(HWND window, WPARAM event) {
    // A resume on its own or by the user: the night, or an alert's time, may have passed in sleep
    // or hibernation.
    if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND)
        PostMessageW(window, kLookAtClock, 0, 0);
    return TRUE;
}

// Something in the folder changed after `unchangedAt`: the reminder file, perhaps, with an alert
// added, changed or deleted. The timer then looks a moment later, and the notice is asked for
// again then. Only the watch's own message loop waits for the notice, never a box's, so no box
// is open here.
void OnFolderChanged(HWND window, int64_t unchangedAt) {
    DayWatch& watch = WatchOf(window);
    watch.noticeArmed = false;
    NoteFolderChange(watch.state, unchangedAt);
    SetTimer(window, kTimer, kSettleAfterChange, nullptr);
}

// Nothing to save: the session may end at once.
LRESULT OnQueryEndSession() {
    return TRUE;
}

void OnEndSession(HWND window, bool ending) {
    if (ending)
        EndWatch(window);
}

// The uninstaller's or a new install's request, or the user's through the task list.
void OnClose(HWND window) {
    EndWatch(window);
}

void OnDestroy() {
    PostQuitMessage(0);
}

LRESULT CALLBACK DayWatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        break;
    case WM_TIMER: OnTimer(window, wParam); return 0;
    case kLookAtClock: OnLookAtClock(window); return 0;
    case kAlertsClosed:
        OnAlertsClosed(window, *reinterpret_cast<const AlertsClosed*>(lParam));
        return 0;
    case WM_TIMECHANGE:
    case WM_SETTINGCHANGE: OnTimeChange(window); return 0;
    case WM_POWERBROADCAST: return OnPowerBroadcast(window, wParam);
    case WM_QUERYENDSESSION: return OnQueryEndSession();
    case WM_ENDSESSION: OnEndSession(window, wParam != FALSE); return 0;
    case WM_CLOSE: OnClose(window); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The folder as the installer names it: without the final backslash.
std::wstring FolderName(const std::wstring& folder) {
    return folder.ends_with(L'\\') ? folder.substr(0, folder.size() - 1) : folder;
}

// Waits for the window's messages and, while it is asked for, the folder's notice, never for
// anything else, until the window is destroyed. A notice that comes while the watch handles a
// message (a slow flush of what it keeps) is of a change made since the last moment it was seen
// not to have come; one that wakes the watch, of a change made a moment before.
void RunMessageLoop(DayWatch& watch) {
    for (;;) {
        if (FolderChanged(watch))
            OnFolderChanged(watch.window, watch.folderUnchangedAt);
        HANDLE notice = watch.folderChange.get();
        DWORD handles = watch.noticeArmed ? 1 : 0;
        if (MsgWaitForMultipleObjectsEx(handles, &notice, INFINITE, QS_ALLINPUT,
                                        MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0 &&
            handles)
            OnFolderChanged(watch.window, SecondBefore(ReadClock().moment));
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return;
            if (!HandleAlertWindowKeys(watch.alerts, message))
                DispatchMessageW(&message);
        }
    }
}

} // namespace

int RunDayWatch(HINSTANCE instance, const ReminderFile& file, FolderClaim& claim, bool restarted) {
    if (!claim.Take(0))
        return 0;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DayWatchProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kDayWatchClass;
    RegisterClassExW(&windowClass);
    DayWatch watch{file, FolderName(file.Folder())};
    StartWatch(watch.state, RecallSeen(watch.folderName), ReadClock().moment, restarted);
    // A top-level window that is never shown: only top-level windows get the system's notices of
    // time changes, resumes and the session's end.
    watch.window = CreateWindowExW(0, kDayWatchClass, watch.folderName.c_str(), WS_POPUP, 0, 0, 0,
                                   0, nullptr, nullptr, instance, &watch);
    if (!watch.window) {
        // No watch to be had: the greeting of a plain start, unless today was seen.
        if (watch.state.days.empty())
            ShowDayBoxes(file, ReadToday(), kBoxOk);
        return 0;
    }
    watch.alerts.watchWindow = watch.window;
    LookAtClock(watch.window);
    RunMessageLoop(watch);
    return 0;
}
