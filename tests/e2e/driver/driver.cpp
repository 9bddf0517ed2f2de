// The end-to-end test driver. It runs under Wine next to the program under test and answers
// one command per line on stdin; each answer ends with the line "end". Window handles travel
// as hex numbers, texts as hex of their Windows-1252 bytes, paths as hex of UTF-8.
//
// It finds message boxes and dialogs, reads captions, texts, styles, positions, focus and list
// contents, and acts as a user would: presses buttons, types characters, selects list lines,
// sets the time picker and finds the screen point of a calendar day for a real mouse click. It
// also holds files open and sets their attributes, as other programs and the user would.
#include "handle.h"
#include "hex_text.h"
#include "remote_memory.h"
#include "text_1252.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kMessageBoxTextId = 0xFFFF;
constexpr int kMessageBoxIconId = 0x0440;

HWND gMeasuringDialog = nullptr; // also keeps Wine's desktop alive while the driver runs
UniqueFile gHeldFile;

std::wstring WideFromUtf8(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                   wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<size_t>(size));
    return wide;
}

std::string HandleText(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "%llx",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
    return text;
}

HWND HandleFrom(const std::string& text) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::stoull(text, nullptr, 16)));
}

// Asked with WM_GETTEXT: GetWindowText of another process's control gives only its creation
// caption, not what an edit control holds now.
std::wstring WindowText(HWND window) {
    size_t length = static_cast<size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    LRESULT copied =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

std::string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return Text1252FromWide(name);
}

HWND Control(HWND dialog, int id) {
    return id == 0 ? dialog : GetDlgItem(dialog, id);
}

bool IsMessageBox(HWND window) {
    return GetDlgItem(window, kMessageBoxTextId) != nullptr;
}

struct Search {
    bool wantBox;
    std::string caption; // exact caption for boxes, prefix for dialogs; empty for any
    HWND found = nullptr;
    std::vector<HWND>* all = nullptr; // every match instead of the first
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param) {
    Search& search = *reinterpret_cast<Search*>(param);
    if (!IsWindowVisible(window) || ClassOf(window) != "#32770" ||
        IsMessageBox(window) != search.wantBox)
        return TRUE;
    std::string caption = Text1252FromWide(WindowText(window));
    bool matches = search.wantBox ? (search.caption.empty() || caption == search.caption)
                                  : caption.rfind(search.caption, 0) == 0;
    if (!matches)
        return TRUE;
    search.found = window;
    if (search.all)
        search.all->push_back(window);
    return search.all != nullptr;
}

HWND WaitForTopLevel(bool wantBox, const std::string& caption, DWORD timeoutMs) {
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        Search search{wantBox, caption};
        EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found || GetTickCount64() >= deadline)
            return search.found;
        Sleep(5);
    }
}

bool IsShown(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control && IsWindowVisible(control);
}

// A box without icon still has the icon's static control, empty and of no width.
bool HasIcon(HWND box) {
    HWND icon = GetDlgItem(box, kMessageBoxIconId);
    RECT rect{};
    if (!icon || !IsWindowVisible(icon) || !GetWindowRect(icon, &rect))
        return false;
    return rect.right > rect.left && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
}

// box <hwnd> <caption> <text> <button ids> <has owner> <has icon>
void DescribeBox(std::ostream& out, HWND box) {
    std::string buttons;
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
        if (!IsShown(box, id))
            continue;
        if (!buttons.empty())
            buttons += ",";
        buttons += std::to_string(id);
    }
    out << "box " << HandleText(box) << " " << Hex(Text1252FromWide(WindowText(box))) << " "
        << Hex(Text1252FromWide(WindowText(GetDlgItem(box, kMessageBoxTextId)))) << " " << buttons
        << " " << (GetWindow(box, GW_OWNER) != nullptr) << " " << HasIcon(box) << "\n";
}

BOOL CALLBACK CountBox(HWND window, LPARAM param) {
    if (IsWindowVisible(window) && ClassOf(window) == "#32770" && IsMessageBox(window))
        ++*reinterpret_cast<int*>(param);
    return TRUE;
}

// A hidden dialog in the programs' font, for turning dialog units into pixels.
HWND CreateMeasuringDialog() {
    alignas(4) static WORD tmpl[64] = {};
    DLGTEMPLATE* header = reinterpret_cast<DLGTEMPLATE*>(tmpl);
    header->style = DS_SETFONT | WS_POPUP;
    header->cx = 100;
    header->cy = 100;
    WORD* p = reinterpret_cast<WORD*>(header + 1);
    *p++ = 0; // no menu
    *p++ = 0; // default class
    *p++ = 0; // no caption
    *p++ = 8; // point size
    for (const wchar_t* face = L"MS Sans Serif"; *face; ++face)
        *p++ = static_cast<WORD>(*face);
    *p++ = 0;
    return CreateDialogIndirectW(GetModuleHandleW(nullptr), header, nullptr,
                                 [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; });
}

// window <style> <exstyle> <x> <y> <w> <h> <client w> <client h> <has owner> <visible>
//        <enabled> <caption> <client x> <client y>, positions on the screen
void DescribeWindow(std::ostream& out, HWND window) {
    RECT rect{}, client{};
    GetWindowRect(window, &rect);
    GetClientRect(window, &client);
    POINT origin{};
    ClientToScreen(window, &origin);
    out << "window " << std::hex << GetWindowLongW(window, GWL_STYLE) << " "
        << GetWindowLongW(window, GWL_EXSTYLE) << std::dec << " " << rect.left << " " << rect.top
        << " " << rect.right - rect.left << " " << rect.bottom - rect.top << " " << client.right
        << " " << client.bottom << " " << (GetWindow(window, GW_OWNER) != nullptr) << " "
        << (IsWindowVisible(window) != 0) << " " << (IsWindowEnabled(window) != 0) << " "
        << Hex(Text1252FromWide(WindowText(window))) << " " << origin.x << " " << origin.y << "\n";
}

// child <id> <class> <style> <exstyle> <x> <y> <w> <h> <enabled> <visible> <text>, in the
// order of the window list (creation order for a dialog's controls).
void DescribeChildren(std::ostream& out, HWND parent) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        out << "child " << GetDlgCtrlID(child) << " " << Hex(ClassOf(child)) << " " << std::hex
            << GetWindowLongW(child, GWL_STYLE) << " " << GetWindowLongW(child, GWL_EXSTYLE)
            << std::dec << " " << rect.left << " " << rect.top << " " << rect.right - rect.left
            << " " << rect.bottom - rect.top << " " << (IsWindowEnabled(child) != 0) << " "
            << (IsWindowVisible(child) != 0) << " " << Hex(Text1252FromWide(WindowText(child)))
            << "\n";
    }
}

void DescribeList(std::ostream& out, HWND list) {
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    out << "listbox " << count << " " << static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0))
        << "\n";
    for (int i = 0; i < count; ++i) {
        // The program may empty the list while it is read (Listar does, to fill it anew): the
        // lines stop there, and the tests, which wait for a list, ask again.
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        if (length == LB_ERR)
            break;
        std::wstring line(static_cast<size_t>(length) + 1, L'\0');
        LRESULT copied = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
        if (copied == LB_ERR)
            break;
        line.resize(static_cast<size_t>(copied));
        out << "line " << Hex(Text1252FromWide(line)) << "\n";
    }
}

// A status bar's first part; its text lives in the bar's process.
std::wstring StatusText(HWND bar) {
    size_t length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, 0, 0));
    RemoteMemory remote(bar, (length + 1) * sizeof(wchar_t));
    SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(remote.Address()));
    std::wstring text(length + 1, L'\0');
    remote.Read(text.data(), text.size() * sizeof(wchar_t));
    text.resize(length);
    return text;
}

// The screen point of a calendar cell: MCM_HITTEST over the control until a point hits it.
bool FindCalendarPoint(HWND calendar, bool todayLink, WORD year, WORD month, WORD day,
                       POINT& found) {
    RemoteMemory remote(calendar, sizeof(MCHITTESTINFO));
    RECT client{};
    GetClientRect(calendar, &client);
    for (int y = 2; y < client.bottom; y += 3) {
        for (int x = 2; x < client.right; x += 3) {
            MCHITTESTINFO hit{};
            hit.cbSize = sizeof hit;
            hit.pt = {x, y};
            if (!remote.Write(&hit, sizeof hit))
                return false;
            SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(remote.Address()));
            remote.Read(&hit, sizeof hit);
            bool match = todayLink ? hit.uHit == MCHT_TODAYLINK
                                   : hit.uHit == MCHT_CALENDARDATE && hit.st.wYear == year &&
                                         hit.st.wMonth == month && hit.st.wDay == day;
            if (match) {
                // The middle of the cell: step on while the same cell is hit.
                found = {x + 4, y + 3};
                ClientToScreen(calendar, &found);
                return true;
            }
        }
    }
    return false;
}

void Run(std::istringstream& in, std::ostream& out) {
    std::string command;
    in >> command;
    if (command == "find-box" || command == "find-dialog") {
        std::string caption;
        DWORD timeout = 0;
        in >> caption >> timeout;
        bool wantBox = command == "find-box";
        HWND found = WaitForTopLevel(wantBox, caption == "*" ? "" : Unhex(caption), timeout);
        if (!found)
            out << "none\n";
        else if (wantBox)
            DescribeBox(out, found);
        else
            out << "dialog " << HandleText(found) << "\n";
    } else if (command == "dialogs") { // every visible dialog whose caption starts so
        std::string caption;
        in >> caption;
        std::vector<HWND> all;
        Search search{false, Unhex(caption), nullptr, &all};
        EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
        out << "dialogs";
        for (HWND dialog : all)
            out << " " << HandleText(dialog);
        out << "\n";
    } else if (command == "find-window") { // a top-level window of that class, shown or hidden
        std::string className;
        DWORD timeout = 0;
        in >> className >> timeout;
        std::wstring wide = WideFrom1252(Unhex(className));
        ULONGLONG deadline = GetTickCount64() + timeout;
        HWND found = nullptr;
        while (!(found = FindWindowW(wide.c_str(), nullptr)) && GetTickCount64() < deadline)
            Sleep(5);
        out << (found ? "window " + HandleText(found) : std::string("none")) << "\n";
    } else if (command == "private-bytes") { // of the process that owns the window
        std::string handle;
        in >> handle;
        DWORD processId = 0;
        GetWindowThreadProcessId(HandleFrom(handle), &processId);
        UniqueHandle process(
            OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof counters;
        if (!process || !GetProcessMemoryInfo(process.get(),
                                              reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                              sizeof counters))
            throw std::runtime_error("no memory counters");
        // The commit charge. Windows gives it in both fields; Wine 8 fills in only the second for
        // another process.
        out << "bytes " << (counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage)
            << "\n";
    } else if (command == "foreground") {
        out << "foreground " << HandleText(GetForegroundWindow()) << "\n";
    } else if (command == "count-boxes") {
        int count = 0;
        EnumWindows(CountBox, reinterpret_cast<LPARAM>(&count));
        out << "count " << count << "\n";
    } else if (command == "window") {
        std::string handle;
        in >> handle;
        DescribeWindow(out, HandleFrom(handle));
    } else if (command == "children") {
        std::string handle;
        in >> handle;
        DescribeChildren(out, HandleFrom(handle));
    } else if (command == "dlg-px") {
        RECT rect{};
        in >> rect.left >> rect.top >> rect.right >> rect.bottom;
        rect.right += rect.left;
        rect.bottom += rect.top;
        MapDialogRect(gMeasuringDialog, &rect);
        out << "px " << rect.left << " " << rect.top << " " << rect.right - rect.left << " "
            << rect.bottom - rect.top << "\n";
    } else if (command == "text") {
        std::string handle;
        int id = 0;
        in >> handle >> id;
        HWND control = Control(HandleFrom(handle), id);
        std::wstring text =
            ClassOf(control) == "msctls_statusbar32" ? StatusText(control) : WindowText(control);
        out << "text " << Hex(Text1252FromWide(text)) << "\n";
    } else if (command == "chars") { // UTF-16 code units as hex, four digits each
        std::string handle, hex;
        int id = 0;
        in >> handle >> id >> hex;
        HWND control = Control(HandleFrom(handle), id);
        for (size_t i = 0; i + 3 < hex.size(); i += 4)
            PostMessageW(control, WM_CHAR, std::stoul(hex.substr(i, 4), nullptr, 16), 1);
        out << "ok\n";
    } else if (command == "press") { // a box's or dialog's button, as WM_COMMAND
        std::string handle;
        int id = 0;
        in >> handle >> id;
        HWND window = HandleFrom(handle);
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
        out << "ok\n";
    } else if (command == "click") { // a button control clicks itself
        std::string handle;
        int id = 0;
        in >> handle >> id;
        PostMessageW(Control(HandleFrom(handle), id), BM_CLICK, 0, 0);
        out << "ok\n";
    } else if (command == "post") {
        std::string handle;
        unsigned message = 0;
        unsigned long long wparam = 0, lparam = 0;
        in >> handle >> message >> wparam >> lparam;
        PostMessageW(HandleFrom(handle), message, static_cast<WPARAM>(wparam),
                     static_cast<LPARAM>(lparam));
        out << "ok\n";
    } else if (command == "send") { // returns once the window has handled it, or after 5 s
        std::string handle;
        unsigned message = 0;
        unsigned long long wparam = 0, lparam = 0;
        in >> handle >> message >> wparam >> lparam;
        DWORD_PTR result = 0;
        bool handled =
            SendMessageTimeoutW(HandleFrom(handle), message, static_cast<WPARAM>(wparam),
                                static_cast<LPARAM>(lparam), SMTO_NORMAL, 5000, &result) != 0;
        out << "sent " << handled << "\n";
    } else if (command == "listbox") {
        std::string handle;
        int id = 0;
        in >> handle >> id;
        DescribeList(out, Control(HandleFrom(handle), id));
    } else if (command == "select") { // what a click on a line does: select it, notify
        std::string handle;
        int id = 0, index = 0;
        in >> handle >> id >> index;
        HWND dialog = HandleFrom(handle);
        HWND list = GetDlgItem(dialog, id);
        // Posted, not sent: a sent message would be handled before the commands posted earlier.
        PostMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        out << "ok\n";
    } else if (command == "check") {
        std::string handle;
        int id = 0;
        in >> handle >> id;
        out << "check " << SendMessageW(Control(HandleFrom(handle), id), BM_GETCHECK, 0, 0) << "\n";
    } else if (command == "focus") {
        std::string handle;
        in >> handle;
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(HandleFrom(handle), nullptr), &info);
        out << "focus " << (info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0) << " "
            << HandleText(info.hwndFocus) << "\n";
    } else if (command == "time-set" || command == "time-get") {
        std::string handle;
        int id = 0;
        in >> handle >> id;
        HWND picker = Control(HandleFrom(handle), id);
        RemoteMemory remote(picker, sizeof(SYSTEMTIME));
        SYSTEMTIME time{};
        if (command == "time-set") {
            int hour = 0, minute = 0, second = 0;
            in >> hour >> minute >> second;
            GetLocalTime(&time);
            time.wHour = static_cast<WORD>(hour);
            time.wMinute = static_cast<WORD>(minute);
            time.wSecond = static_cast<WORD>(second);
            remote.Write(&time, sizeof time);
            SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID,
                         reinterpret_cast<LPARAM>(remote.Address()));
        }
        SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(remote.Address()));
        remote.Read(&time, sizeof time);
        out << "time " << time.wHour << " " << time.wMinute << " " << time.wSecond << "\n";
    } else if (command == "calendar-point") { // <hwnd> <id> <year> <month> <day>, or today
        std::string handle, what;
        int id = 0;
        in >> handle >> id >> what;
        int month = 0, day = 0;
        in >> month >> day;
        POINT point{};
        bool today = what == "today";
        if (FindCalendarPoint(Control(HandleFrom(handle), id), today,
                              static_cast<WORD>(today ? 0 : std::stoi(what)),
                              static_cast<WORD>(month), static_cast<WORD>(day), point))
            out << "point " << point.x << " " << point.y << "\n";
        else
            out << "none\n";
    } else if (command == "screen-point") { // the middle of a control, for a mouse click
        std::string handle;
        int id = 0;
        in >> handle >> id;
        RECT rect{};
        GetWindowRect(Control(HandleFrom(handle), id), &rect);
        out << "point " << (rect.left + rect.right) / 2 << " " << (rect.top + rect.bottom) / 2
            << "\n";
    } else if (command == "hold") { // open a file with no sharing, as another program would
        std::string path;
        in >> path;
        gHeldFile.reset(CreateFileW(WideFromUtf8(Unhex(path)).c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
        out << "held " << (gHeldFile ? 1 : 0) << "\n";
    } else if (command == "attributes" || command == "set-attributes") { // <path> [<hex>]
        std::string path;
        DWORD attributes = 0;
        in >> path >> std::hex >> attributes;
        std::wstring wide = WideFromUtf8(Unhex(path));
        if (command == "set-attributes")
            SetFileAttributesW(wide.c_str(), attributes);
        out << "attributes " << std::hex << GetFileAttributesW(wide.c_str()) << "\n";
    } else if (command == "release") {
        gHeldFile.reset();
        out << "ok\n";
    } else if (command == "alive") {
        std::string handle;
        in >> handle;
        out << "alive " << (IsWindow(HandleFrom(handle)) != 0) << "\n";
    } else {
        out << "error unknown command\n";
    }
}

} // namespace

int wmain() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    gMeasuringDialog = CreateMeasuringDialog();
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line == "quit")
            break;
        std::istringstream in(line);
        std::ostringstream out;
        try {
            Run(in, out);
        } catch (const std::exception& error) {
            out.str("");
            out << "error " << error.what() << " in: " << line << "\n";
        }
        std::cout << out.str() << "end\n" << std::flush;
    }
    return 0;
}
