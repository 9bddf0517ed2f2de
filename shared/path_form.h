// Paths in the form that reaches the file system at any length.
#pragma once

#include <string>

// A full path too long for the plain form in the \\?\ form (\\?\UNC\ for a network path);
// shorter paths, and paths already in that form, as they are.
std::wstring LongPathForm(const std::wstring& path);
