#include "path_form.h"

#include <windows.h>

std::wstring LongPathForm(const std::wstring& path) {
    // 12 characters of room: a folder's path must leave space for an 8.3 file name in it.
    if (path.size() < MAX_PATH - 12 || path.rfind(L"\\\\?\\", 0) == 0)
        return path;
    if (path.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + path.substr(2);
    if (path.size() > 2 && path[1] == L':' && path[2] == L'\\')
        return L"\\\\?\\" + path;
    return path;
}
