/* Keeps Wine's desktop process alive while tests run: it owns one hidden window and waits.
 * Wine ends its desktop process a few seconds after the last window-owning program exits, and
 * whichever program starts it next lends it its standard output, which then stays open long
 * after that program is gone. tools/run-wine starts this once, with no output, and it lives
 * until the Wine server stops. Argument: a file to create once the window exists. */
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR command, int show) {
    (void)previous;
    (void)show;
    WNDCLASSW windowClass = {0};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"KitWineKeepAlive";
    RegisterClassW(&windowClass);
    CreateWindowW(L"KitWineKeepAlive", L"", WS_POPUP, 0, 0, 1, 1, NULL, NULL, instance, NULL);
    if (command && *command == L'"') { /* a path with blanks arrives quoted */
        ++command;
        for (wchar_t* end = command; *end; ++end)
            if (*end == L'"')
                *end = 0;
    }
    if (command && *command)
        CloseHandle(CreateFileW(command, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
