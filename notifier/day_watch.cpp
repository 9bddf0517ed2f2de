#include "day_watch.h"

#include "day_boxes.h"
#include "day_watch_rules.h"

#include <cstdint>
#include <set>

namespace {

constexpr UINT_PTR kMidnightTimer = 1;
// Posted to the window by the handlers of the system's notices, which must answer at once: the
// sender (the system at a resume, the program that set the clock) waits for the answer, and a
// day's boxes may stay open for hours.
constexpr UINT kLookAtDate = WM_APP;
constexpr int64_t kFileTimeUnitsPerMillisecond = 10000;
constexpr uint64_t kFileTimeUnitsPerDay = 24ULL * 3600 * 1000 * kFileTimeUnitsPerMillisecond;
// The wait when the clock cannot be read as a local date: the date is looked at again then.
constexpr int64_t kWaitWithoutLocalTime = 3600 * 1000;

// The watch's own state, held by its window.
struct DayWatch {
    const ReminderFile& file; // read afresh for each day
    std::set<int32_t> greetedDays;
    bool showingBoxes = false; // a day's boxes are open, in modal loops further up the stack
};

DayWatch& WatchOf(HWND window) {
    return *reinterpret_cast<DayWatch*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

uint64_t FileTimeValue(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Milliseconds from now to the start of the next local day, by the local clock and time zone
// (the day on which the clocks change has 23 or 25 hours). A wait computed from the clock here,
// not a due time handed to the system: the timer that waits it is re-armed at every look at the
// date, so a change of the clock or time zone moves it too.
int64_t MillisecondsToNextMidnight() {
    FILETIME now, midnight;
    SYSTEMTIME utc, local, nextLocal, nextUtc;
    GetSystemTimeAsFileTime(&now);
    if (!FileTimeToSystemTime(&now, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return kWaitWithoutLocalTime;
    local.wHour = local.wMinute = local.wSecond = local.wMilliseconds = 0;
    if (!SystemTimeToFileTime(&local, &midnight))
        return kWaitWithoutLocalTime;
    uint64_t next = FileTimeValue(midnight) + kFileTimeUnitsPerDay;
    midnight = {static_cast<DWORD>(next), static_cast<DWORD>(next >> 32)};
    if (!FileTimeToSystemTime(&midnight, &nextLocal) ||
        !TzSpecificLocalTimeToSystemTime(nullptr, &nextLocal, &nextUtc) ||
        !SystemTimeToFileTime(&nextUtc, &midnight))
        return kWaitWithoutLocalTime;
    return (static_cast<int64_t>(FileTimeValue(midnight)) -
            static_cast<int64_t>(FileTimeValue(now))) /
           kFileTimeUnitsPerMillisecond;
}

void ArmMidnightTimer(HWND window) {
    SetTimer(window, kMidnightTimer, MidnightTimerDelay(MillisecondsToNextMidnight()), nullptr);
}

// Looks at the date: greets today unless it has been greeted, and then each day that has begun
// by the time the user closes the last box. Called while boxes are open (their modal loops
// deliver the timer and the system's notices), it only re-arms the timer: the loop that showed
// them looks at the date again once they are closed, so two days' boxes never show together.
void GreetNewDays(HWND window) {
    ArmMidnightTimer(window);
    DayWatch& watch = WatchOf(window);
    if (watch.showingBoxes)
        return;
    watch.showingBoxes = true;
    for (;;) {
        Today today = ReadToday();
        if (!TakeDayToGreet(watch.greetedDays, DayNumber(today.year, today.month, today.day)))
            break;
        ShowDayBoxes(watch.file, today);
    }
    watch.showingBoxes = false;
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
    if (timer == kMidnightTimer)
        GreetNewDays(window);
}

void OnLookAtDate(HWND window) {
    GreetNewDays(window);
}

// The clock or the time zone was set. A settings change is looked at too, in case a new time
// zone is announced only that way.
void OnTimeChange(HWND window) {
    PostMessageW(window, kLookAtDate, 0, 0);
}

LRESULT OnPowerBroadcast(HWND window, WPARAM event) {
    // A resume on its own or by the user: the night may have passed in sleep or hibernation.
    if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND)
        PostMessageW(window, kLookAtDate, 0, 0);
    return TRUE;
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
    case kLookAtDate: OnLookAtDate(window); return 0;
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

} // namespace

int RunDayWatch(HINSTANCE instance, const ReminderFile& file, FolderClaim& claim) {
    const std::wstring& folder = file.Folder();
    if (!claim.Take(0))
        return 0;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DayWatchProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kDayWatchClass;
    RegisterClassExW(&windowClass);
    DayWatch watch{file, {}};
    // A top-level window that is never shown: only top-level windows get the system's notices of
    // time changes, resumes and the session's end.
    HWND window = CreateWindowExW(0, kDayWatchClass, WindowTitle(folder).c_str(), WS_POPUP, 0, 0, 0,
                                  0, nullptr, nullptr, instance, &watch);
    if (!window) {
        ShowDayBoxes(file, ReadToday()); // no watch to be had: the greeting of a plain start
        return 0;
    }
    GreetNewDays(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
