// The yardstick for the editor's start: a program built the same way that reads the reminder
// file beside it in one piece and then shows an empty dialog.
#include "exe_folder.h"
#include "handle.h"

#include <windows.h>

#include <vector>

namespace {

std::vector<char> ReadWholeFile(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    GetFileSizeEx(file.get(), &size);
    std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    return bytes;
}

INT_PTR CALLBACK MinimalDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE)
        EndDialog(dialog, 0);
    return FALSE;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    std::vector<char> file = ReadWholeFile(ExeFolder() + L"_Recordatorios_.log");
    alignas(4) static WORD dialog[64] = {};
    DLGTEMPLATE* header = reinterpret_cast<DLGTEMPLATE*>(dialog);
    header->style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
    header->x = 275;
    header->y = 225;
    header->cx = 382;
    header->cy = 109;
    WORD* p = reinterpret_cast<WORD*>(header + 1);
    *p++ = 0; // no menu
    *p++ = 0; // the dialog class
    for (const wchar_t* c = L"Minimal"; *c; ++c)
        *p++ = static_cast<WORD>(*c);
    *p++ = 0;
    *p++ = 8;
    for (const wchar_t* c = L"MS Sans Serif"; *c; ++c)
        *p++ = static_cast<WORD>(*c);
    *p++ = 0;
    DialogBoxIndirectParamW(instance, header, nullptr, MinimalDialogProc, 0);
    return 0;
}
