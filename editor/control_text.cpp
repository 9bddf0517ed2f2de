#include "control_text.h"

#include "text_1252.h"

std::string ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthW(control);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return Text1252FromWide(text);
}

void SetControlText(HWND dialog, int id, std::string_view text) {
    SetDlgItemTextW(dialog, id, WideFrom1252(text).c_str());
}
