#include "text_box.h"

#include <commctrl.h>

namespace {

LRESULT CALLBACK TextBoxProc(HWND textBox, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR) {
    if ((msg == WM_KEYDOWN || msg == WM_CHAR) && wParam == VK_ESCAPE)
        return 0;
    return DefSubclassProc(textBox, msg, wParam, lParam);
}

} // namespace

void KeepEscapeFromTextBox(HWND textBox) {
    SetWindowSubclass(textBox, TextBoxProc, 0, 0);
}
