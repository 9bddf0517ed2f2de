#include "control_text.h"

#include "editor_state.h"
#include "text_1252.h"

std::string ControlText(int id) {
    HWND control = Control(id);
    int length = GetWindowTextLengthW(control);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return Text1252FromWide(text);
}

void SetControlText(int id, std::string_view text) {
    SetWindowTextW(Control(id), WideFrom1252(text).c_str());
}
