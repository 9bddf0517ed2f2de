#include "message_box.h"

#include "text_1252.h"

#include <windows.h>

int ShowMessageBox(std::string_view text, std::string_view caption, unsigned style) {
    return MessageBoxW(nullptr, WideFrom1252(text).c_str(), WideFrom1252(caption).c_str(), style);
}
