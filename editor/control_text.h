// The texts of the dialog's controls, as the program holds them: 8-bit Windows-1252.
#pragma once

#include <string>
#include <string_view>

// The control's text; characters Windows-1252 cannot hold come back as '?'.
std::string ControlText(int id);

void SetControlText(int id, std::string_view text);
