#include "message_box.h"

#include "file_error_text.h"
#include "text_1252.h"

#include <windows.h>

#include <array>
#include <iterator>

int ShowMessageBox(std::string_view text, std::string_view caption, unsigned style) {
    return MessageBoxW(nullptr, WideFrom1252(text).c_str(), WideFrom1252(caption).c_str(), style);
}

void ShowFileErrorBox(int number) {
    std::array<char, 48> text = FileErrorText(number);
    wchar_t wide[48] = {};
    MultiByteToWideChar(1252, 0, text.data(), -1, wide, static_cast<int>(std::size(wide)));
    MessageBoxW(nullptr, wide, L"Quenda Soft", kBoxOk);
}
