// The yardstick for the day watch's idle cost: a program built the same way that shows one box
// and then stays, with a hidden top-level window, no timer and nothing to do until it is closed.
#include <windows.h>

namespace {

LRESULT CALLBACK MinimalWatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    MessageBoxW(nullptr, L"Hoy", L"Minimal", MB_OK);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MinimalWatchProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"Minimal.Watch";
    RegisterClassExW(&windowClass);
    CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                    instance, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
