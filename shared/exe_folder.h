// The folder of the running executable, where each program keeps its reminder file.
#pragma once

#include <string>

// The executable's full path up to and including its last backslash; empty if it has none.
// Read in UTF-16 and at any length, so unusual folder names and long paths work.
std::wstring ExeFolder();
