// A name for a folder itself, the same whatever path leads to it: another drive letter (subst, a
// mapped network drive), a junction or symbolic link, a short 8.3 name, a \\?\ path.
#pragma once

#include <string>

// Letters, digits and "-" only, short enough for the name of a kernel object. It is made of the
// volume's serial number and the folder's file index, read from the folder itself; where those
// cannot be read, of a hash of the folder's long path, compared without case.
std::wstring FolderIdentity(const std::wstring& folder);
