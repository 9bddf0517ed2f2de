#include "day_watch.h"

#include "alert_text.h"
#include "day_boxes.h"
#include "day_watch_rules.h"
#include "handle.h"
#include "local_moment.h"
#include "message_box.h"
#include "path_form.h"
#include "timed_alerts.h"
#include "today_reminders.h"

#include <cstdint>
#include <set>

namespace {

// The watch's one timer: to the next due moment (the next timed alert or the next local
// midnight, whichever comes first), or for a moment after a change in the folder.
constexpr UINT_PTR kTimer = 1;
// Posted to the window by the handlers of the system's notices, which must answer at once: the
// sender (the system at a resume, the program that set the clock) waits for the answer, and a
// day's boxes may stay open for hours.
constexpr UINT kLookAtClock = WM_APP;
// A change in the folder is looked at a second later, once the program that made it is done:
// the editor's save is several steps, and it reads the file again right after it writes.
constexpr UINT kSettleAfterChange = 1000;
// The wait when the clock cannot be read as a local date: the watch looks again then.
constexpr UINT kWaitWithoutLocalTime = 3600 * 1000;
constexpr int64_t kFileTimeUnitsPerMillisecond = 10000;

// The watch's own state, held by its window.
struct DayWatch {
    const ReminderFile& file; // read afresh at each look
    std::set<int32_t> greetedDays;
    TodaysAlerts alerts;       // of the day greeted last
    bool showingBoxes = false; // boxes are open, in modal loops further up the stack
    bool settling = false;     // the timer waits for a change in the folder to settle
};

// The local clock, read once: the day and the moment (local_moment.h).
struct LocalNow {
    Today today;
    int64_t moment;
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

int64_t MomentOf(const SYSTEMTIME& local) {
    return LocalMoment(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute,
                       local.wSecond);
}

LocalNow ReadLocalNow() {
    SYSTEMTIME local;
    GetLocalTime(&local);
    return {TodayOf(local), MomentOf(local)};
}

// True the first time it is asked about the day of `now`, whose alerts then start afresh from
// now: what is due by then comes in the day's greeting, and the day before's alerts are dropped.
bool TakeDay(DayWatch& watch, const LocalNow& now) {
    if (!TakeDayToGreet(watch.greetedDays,
                        DayNumber(now.today.year, now.today.month, now.today.day)))
        return false;
    watch.alerts = TodaysAlerts{now.moment, {}};
    return true;
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
    return MomentOf(local);
}

// The timer to the next due moment: the next alert that the last look found, or else the start
// of the next local day. A wait computed from the clock here, not a due time handed to the
// system, and re-armed at every look, so that a change of the clock or time zone moves it too.
void ArmTimer(HWND window, std::optional<int64_t> nextAlert) {
    int64_t now = NowInstant();
    int64_t shown = LocalMomentAt(now);
    if (shown < 0) {
        SetTimer(window, kTimer, kWaitWithoutLocalTime, nullptr);
        return;
    }
    int64_t due = NextDayStart(shown);
    if (nextAlert && *nextAlert < due)
        due = *nextAlert;
    SetTimer(window, kTimer, TimerDelay(FirstInstantShowing(due, now, LocalMomentAt) - now),
             nullptr);
}

// Shows what is due now, if anything: the greeting of a day not greeted yet with its reminders,
// or else the earliest timed alert due, from the file as it is at this moment. Returns false
// when nothing was due, with the moment of the alert that the look found next.
bool ShowWhatIsDue(DayWatch& watch, std::optional<int64_t>& nextAlert) {
    LocalNow now = ReadLocalNow();
    if (TakeDay(watch, now)) {
        ShowDayBoxes(watch.file, now.today, kBoxOk | kBoxAboveOthers);
        return true;
    }
    std::string alert;
    {
        std::vector<Reminder> table; // let go before the box, which may stay open for hours
        LoadRemindersPatiently(watch.file, table);
        AlertLook look = LookAtAlerts(table, now.today, now.moment, watch.alerts);
        if (!look.due) {
            watch.alerts.lookedUntil = now.moment;
            nextAlert = look.next;
            return false;
        }
        watch.alerts.shown.insert(AlertKey(table[*look.due]));
        alert = AlertText(now.today, table[*look.due]);
    }
    ShowMessageBox(alert, "Recordatorio", kBoxOk | kBoxAboveOthers);
    return true;
}

// Looks at the clock and the file: shows what is due, one box after the other, until nothing is,
// then arms the timer for what comes next. Called while boxes are open (their modal loops
// deliver the timer and the system's notices), it does nothing: the loop that showed them looks
// again once they are closed, so that two boxes never show together, a new day's greeting comes
// before that day's alerts, and alerts that fell due meanwhile come in time order.
void LookAtClock(HWND window) {
    DayWatch& watch = WatchOf(window);
    KillTimer(window, kTimer);
    watch.settling = false;
    if (watch.showingBoxes)
        return;
    watch.showingBoxes = true;
    std::optional<int64_t> nextAlert;
    while (ShowWhatIsDue(watch, nextAlert)) {
    }
    watch.showingBoxes = false;
    ArmTimer(window, nextAlert);
}

// Ends the watch now. With a day's boxes open (modal loops further up this stack) the process
// ends here: it holds nothing that needs closing, since every job on the reminder file opens and
// closes the file before a box shows.
void EndWatch(HWND window) {
    if (WatchOf(window).showingBoxes)
        ExitProcess(0);
    DestroyWindow(window);
}

void OnTimer(HWND window, UINT_PTR timer) {
    if (timer == kTimer)
        LookAtClock(window);
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

// Something in the folder changed: the reminder file, perhaps, with an alert added, changed or
// deleted. The timer then looks a moment later; a folder that keeps changing is looked at once
// in that moment, not at every change.
void OnFolderChange(HWND window) {
    DayWatch& watch = WatchOf(window);
    if (watch.settling)
        return;
    watch.settling = true;
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
std::wstring WindowTitle(const std::wstring& folder) {
    return folder.ends_with(L'\\') ? folder.substr(0, folder.size() - 1) : folder;
}

// The system's notice of changes in the folder: files made, deleted, renamed or written (the
// editor appends to the reminder file, or replaces it by a new one). Empty if the folder cannot
// be watched: the alerts then come as the file was at the last look.
UniqueChangeNotification WatchFolder(const std::wstring& folder) {
    return UniqueChangeNotification(FindFirstChangeNotificationW(
        LongPathForm(folder).c_str(), FALSE,
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE));
}

// Waits for the window's messages and the folder's changes, never for anything else, until the
// window is destroyed.
void RunMessageLoop(HWND window, HANDLE folderChange) {
    for (;;) {
        DWORD handles = folderChange ? 1 : 0;
        DWORD woken = MsgWaitForMultipleObjectsEx(handles, &folderChange, INFINITE, QS_ALLINPUT,
                                                  MWMO_INPUTAVAILABLE);
        if (handles && woken == WAIT_OBJECT_0) {
            // A notice that cannot be asked for again would stay signalled: the watch then goes
            // on without it.
            if (!FindNextChangeNotification(folderChange))
                folderChange = nullptr;
            OnFolderChange(window);
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return;
            DispatchMessageW(&message);
        }
    }
}

} // namespace

int RunDayWatch(HINSTANCE instance, const ReminderFile& file, FolderClaim& claim,
                bool todayGreeted) {
    const std::wstring& folder = file.Folder();
    if (!claim.Take(0))
        return 0;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DayWatchProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kDayWatchClass;
    RegisterClassExW(&windowClass);
    DayWatch watch{file, {}, {}};
    // Today's boxes were seen at the start of the session; only the alerts still to come are to
    // come.
    if (todayGreeted)
        TakeDay(watch, ReadLocalNow());
    // A top-level window that is never shown: only top-level windows get the system's notices of
    // time changes, resumes and the session's end.
    HWND window = CreateWindowExW(0, kDayWatchClass, WindowTitle(folder).c_str(), WS_POPUP, 0, 0, 0,
                                  0, nullptr, nullptr, instance, &watch);
    if (!window) {
        // No watch to be had: the greeting of a plain start, unless today was greeted.
        if (!todayGreeted)
            ShowDayBoxes(file, ReadToday(), kBoxOk);
        return 0;
    }
    // Watched from before the first look, so that no change after it goes unnoticed.
    UniqueChangeNotification folderChange = WatchFolder(folder);
    LookAtClock(window);
    RunMessageLoop(window, folderChange ? folderChange.get() : nullptr);
    return 0;
}
