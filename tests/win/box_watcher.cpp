#include "box_watcher.h"

#include <windows.h>

namespace {

struct Found {
    HWND box = nullptr;
};

BOOL CALLBACK FindOwnBox(HWND window, LPARAM param) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
        std::wstring(className) == L"#32770") {
        reinterpret_cast<Found*>(param)->box = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace

BoxWatcher::BoxWatcher() : thread_(CreateThread(nullptr, 0, Watch, this, 0, nullptr)) {}

BoxWatcher::~BoxWatcher() {
    stop_ = true;
    WaitForSingleObject(thread_.get(), INFINITE);
}

std::vector<SeenBox> BoxWatcher::Boxes() {
    AcquireSRWLockShared(&lock_);
    std::vector<SeenBox> boxes = boxes_;
    ReleaseSRWLockShared(&lock_);
    return boxes;
}

DWORD WINAPI BoxWatcher::Watch(void* param) {
    BoxWatcher* self = static_cast<BoxWatcher*>(param);
    HWND last = nullptr;
    while (!self->stop_) {
        Found found;
        EnumWindows(FindOwnBox, reinterpret_cast<LPARAM>(&found));
        if (found.box && found.box != last) {
            SeenBox seen{TextOf(found.box), TextOf(GetDlgItem(found.box, 0xFFFF))};
            AcquireSRWLockExclusive(&self->lock_);
            self->boxes_.push_back(seen);
            ReleaseSRWLockExclusive(&self->lock_);
            last = found.box;
            PostMessageW(found.box, WM_COMMAND, IDOK, 0);
        }
        Sleep(20);
    }
    return 0;
}
