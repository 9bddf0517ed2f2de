// The yardstick for the notifier's start: a program built the same way that shows one box.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    MessageBoxW(nullptr, L"Hoy", L"Minimal", MB_OK);
    return 0;
}
