#include "text_box.h"

namespace {

WNDPROC gEditProc = nullptr;

LRESULT CALLBACK TextBoxProc(HWND textBox, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallWindowProcW(gEditProc, textBox, msg, wParam, lParam);
    if (msg == WM_GETDLGCODE && wParam == VK_ESCAPE)
        result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
    return result;
}

} // namespace

void KeepEscapeFromTextBox(HWND textBox) {
    gEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(textBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TextBoxProc)));
}
