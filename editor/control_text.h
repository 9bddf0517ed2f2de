// The texts of the dialog's controls, as the program holds them: 8-bit Windows-1252.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The text of the dialog's control `id`; characters Windows-1252 cannot hold come back as '?'.
std::string ControlText(HWND dialog, int id);

void SetControlText(HWND dialog, int id, std::string_view text);
