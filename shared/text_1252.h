// The programs keep text as 8-bit Windows-1252, the code page of the reminder file; the system
// speaks UTF-16. Both conversions use code page 1252 itself, whatever the system's ANSI code
// page is, so accented Spanish text reads the same on every system.
#pragma once

#include <string>
#include <string_view>

std::wstring WideFrom1252(std::string_view text);

// Characters that Windows-1252 cannot hold become '?', one for each; nothing else is lost.
std::string Text1252FromWide(std::wstring_view text);
