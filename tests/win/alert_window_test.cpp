// The day watch's alerts window under Wine: its list, what each button tells the watch, and that
// closing it puts off every line left, so that no reminder is lost.
#include "alert_window.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<AlertsClosed> gTold;

LRESULT CALLBACK WatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kAlertsClosed) {
        gTold.push_back(*reinterpret_cast<const AlertsClosed*>(lParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A stand-in for the watch's hidden window.
UniqueWindow MakeWatchWindow() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WatchProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"AlertWindowTestWatch";
    RegisterClassExW(&windowClass);
    return UniqueWindow(CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0,
                                        HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr));
}

// Days long past, so that the clock never makes one of them today.
AlertLine Line(int64_t moment, const char* time, const char* text) {
    return MakeAlertLine({moment, 7}, MakeReminder(time, "6 Enero 2001", text, 1));
}

std::wstring ListLine(HWND dialog, int index) {
    wchar_t text[200] = L"";
    SendDlgItemMessageW(dialog, 101, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

} // namespace

TEST(AlertWindow, ListsByTimeAcceptsTheSelectedLineAndClosingPutsOffTheRest) {
    gTold.clear();
    UniqueWindow watch = MakeWatchWindow();
    AlertWindow window;
    window.watchWindow = watch.get();
    window.snoozeChoice = 3; // 30 minutos
    AddAlertLines(window, {Line(20010106160000, "16:00",
                                "Llamar al m\xE9"
                                "dico"),
                           Line(20010106093000, "09:30", "Comprar pan")});
    AddAlertLines(window, {Line(20010106093000, "09:30", "Comprar pan"),
                           Line(20010105100000, "10:00", "Dentista\r\nsin falta")});
    HWND dialog = window.dialog.get();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_NE(GetForegroundWindow(), dialog);
    ASSERT_EQ(SendDlgItemMessageW(dialog, 101, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(ListLine(dialog, 0), L"05/01/2001 Viernes 10:00\tDentista");
    EXPECT_EQ(ListLine(dialog, 2), L"06/01/2001 Sabado 16:00\tLlamar al m\u00E9dico");
    // The last one added is selected and shown.
    EXPECT_EQ(SendDlgItemMessageW(dialog, 101, LB_GETCURSEL, 0, 0), 0);
    wchar_t detail[300] = L"";
    GetDlgItemTextW(dialog, 102, detail, 300);
    EXPECT_EQ(std::wstring(detail), L"Ten\u00EDas un recordatorio para el 05/01/2001 Viernes a las "
                                    L"10:00 : \r\n\r\nRecuerda :\r\n\r\nDentista\r\nsin falta");

    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_EQ(gTold.size(), 1u);
    EXPECT_EQ(gTold[0].ids, (std::vector<ReminderId>{{20010105100000, 7}}));
    EXPECT_FALSE(gTold[0].snoozeMinutes);
    EXPECT_EQ(ListLine(dialog, 0), L"06/01/2001 Sabado 09:30\tComprar pan");

    SendMessageW(dialog, WM_CLOSE, 0, 0);
    ASSERT_EQ(gTold.size(), 2u);
    EXPECT_EQ(gTold[1].ids, (std::vector<ReminderId>{{20010106093000, 7}, {20010106160000, 7}}));
    EXPECT_EQ(gTold[1].snoozeMinutes, 30);
    EXPECT_TRUE(window.lines.empty());
    EXPECT_FALSE(window.dialog);
    EXPECT_FALSE(IsWindow(dialog));
}
