// The end-to-end test driver. It runs under Wine next to the program under test and answers
// one command per line on stdin; each answer ends with the line "end". Window handles travel
// as hex numbers, texts as hex of their Windows-1252 bytes, paths as hex of UTF-8.
//
// It finds message boxes and dialogs, reads captions, texts, styles, positions and list contents,
// and acts as a user would: presses buttons, types characters, selects list lines, sets the time
// picker and finds the screen point of a calendar day for a real mouse click. It also holds files
// open and sets their attributes, as other programs and the user would.
#include "dialog_template.h"
#include "handle.h"
#include "hex_text.h"
#include "remote_memory.h"
#include "text_1252.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr int kMessageBoxTextId = 0xFFFF;
constexpr int kMessageBoxIconId = 0x0440;

HWND gMeasuringDialog = nullptr; // also keeps Wine's desktop alive while the driver runs
UniqueFile gHeldFile;

std::string HandleText(HWND window) {
    std::ostringstream text;
    text << std::hex << reinterpret_cast<uintptr_t>(window);
    return text.str();
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

struct Search {
    bool wantBox;
    std::string caption; // exact caption for boxes, prefix for dialogs; empty for any
    std::vector<HWND> found = {};
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param) {
    Search& search = *reinterpret_cast<Search*>(param);
    bool isBox = GetDlgItem(window, kMessageBoxTextId) != nullptr;
    if (!IsWindowVisible(window) || ClassOf(window) != "#32770" || isBox != search.wantBox)
        return TRUE;
    std::string caption = Text1252FromWide(WindowText(window));
    bool matches = search.wantBox ? (search.caption.empty() || caption == search.caption)
                                  : caption.rfind(search.caption, 0) == 0;
    if (matches)
        search.found.push_back(window);
    return TRUE;
}

// Every visible match, the frontmost first.
std::vector<HWND> AllTopLevel(bool wantBox, const std::string& caption) {
    Search search{wantBox, caption};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Asks `done` again and again until it is true, for up to timeoutMs.
template <typename Done> void WaitFor(Done done, DWORD timeoutMs) {
    for (ULONGLONG end = GetTickCount64() + timeoutMs; !done() && GetTickCount64() < end;)
        Sleep(5);
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
        if (!IsWindowVisible(GetDlgItem(box, id))) // false for no window too
            continue;
        if (!buttons.empty())
            buttons += ",";
        buttons += std::to_string(id);
    }
    out << "box " << HandleText(box) << " " << Hex(Text1252FromWide(WindowText(box))) << " "
        << Hex(Text1252FromWide(WindowText(GetDlgItem(box, kMessageBoxTextId)))) << " " << buttons
        << " " << (GetWindow(box, GW_OWNER) != nullptr) << " " << HasIcon(box) << "\n";
}

// A hidden dialog in the programs' font, for turning dialog units into pixels.
HWND CreateMeasuringDialog() {
    std::vector<uint16_t> words = DialogTemplateWords(
        {DS_SETFONT | WS_POPUP, 0, 0, 0, 100, 100, u"", 8, u"MS Sans Serif"}, {});
    return CreateDialogIndirectW(GetModuleHandleW(nullptr),
                                 reinterpret_cast<const DLGTEMPLATE*>(words.data()), nullptr,
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
bool FindCalendarPoint(HWND calendar, WORD year, WORD month, WORD day, POINT& found) {
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
            if (hit.uHit == MCHT_CALENDARDATE && hit.st.wYear == year && hit.st.wMonth == month &&
                hit.st.wDay == day) {
                // The middle of the cell: step on while the same cell is hit.
                found = {x + 4, y + 3};
                ClientToScreen(calendar, &found);
                return true;
            }
        }
    }
    return false;
}

using In = std::istream;
using Out = std::ostream;

// The words after a command's name, in order.
template <typename T> T Read(In& in) {
    T value{};
    in >> value;
    return value;
}

HWND ReadWindow(In& in) {
    return HandleFrom(Read<std::string>(in));
}

// Hex of UTF-8.
std::wstring ReadPath(In& in) {
    std::string path = Unhex(Read<std::string>(in));
    std::wstring wide(path.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, path.data(),
                                                        static_cast<int>(path.size()), wide.data(),
                                                        static_cast<int>(wide.size()))));
    return wide;
}

// <hwnd> <id>: a control of a dialog; the window itself for id 0 or none.
HWND ReadControl(In& in) {
    HWND dialog = ReadWindow(in);
    int id = Read<int>(in);
    return id == 0 ? dialog : GetDlgItem(dialog, id);
}

// find-box|find-dialog <caption> <timeout>, "*" for any caption.
void FindTopLevel(In& in, Out& out, bool wantBox) {
    std::string caption = Unhex(Read<std::string>(in));
    std::vector<HWND> found;
    WaitFor([&] { return !(found = AllTopLevel(wantBox, caption)).empty(); }, Read<DWORD>(in));
    if (found.empty())
        out << "none";
    else if (wantBox)
        DescribeBox(out, found[0]);
    else
        out << "dialog " << HandleText(found[0]);
}

// <caption>: every visible dialog whose caption starts so.
void ListDialogs(In& in, Out& out) {
    out << "dialogs";
    for (HWND dialog : AllTopLevel(false, Unhex(Read<std::string>(in))))
        out << " " << HandleText(dialog);
}

// <class> <timeout> [<title>, as a path]: a top-level window of that class, shown or hidden.
void FindWindowOfClass(In& in, Out& out) {
    std::wstring className = WideFrom1252(Unhex(Read<std::string>(in)));
    DWORD timeout = Read<DWORD>(in);
    std::wstring title = ReadPath(in);
    HWND found = nullptr;
    WaitFor(
        [&] {
            return (found =
                        FindWindowW(className.c_str(), title.empty() ? nullptr : title.c_str()));
        },
        timeout);
    out << (found ? "window " + HandleText(found) : std::string("none"));
}

// Of the process that owns the window.
void DescribePrivateBytes(In& in, Out& out) {
    DWORD processId = 0;
    GetWindowThreadProcessId(ReadWindow(in), &processId);
    UniqueHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!process ||
        !GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters))
        throw std::runtime_error("no memory counters");
    // The commit charge. Windows gives it in both fields; Wine 8 fills in only the second for
    // another process.
    out << "bytes " << (counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage);
}

// <x> <y> <w> <h> in dialog units, in pixels.
void DialogUnitsToPixels(In& in, Out& out) {
    RECT rect{};
    in >> rect.left >> rect.top >> rect.right >> rect.bottom;
    rect.right += rect.left;
    rect.bottom += rect.top;
    MapDialogRect(gMeasuringDialog, &rect);
    out << "px " << rect.left << " " << rect.top << " " << rect.right - rect.left << " "
        << rect.bottom - rect.top;
}

void DescribeText(In& in, Out& out) {
    HWND control = ReadControl(in);
    std::wstring text =
        ClassOf(control) == "msctls_statusbar32" ? StatusText(control) : WindowText(control);
    out << "text " << Hex(Text1252FromWide(text));
}

// <hwnd> <id> <UTF-16 code units as hex, four digits each>, typed into the control.
void TypeChars(In& in, Out&) {
    HWND control = ReadControl(in);
    std::string hex = Read<std::string>(in);
    for (size_t i = 0; i + 3 < hex.size(); i += 4)
        PostMessageW(control, WM_CHAR, std::stoul(hex.substr(i, 4), nullptr, 16), 1);
}

// A box's or dialog's button, as WM_COMMAND.
void PressButton(In& in, Out&) {
    HWND window = ReadWindow(in);
    int id = Read<int>(in);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

// <hwnd> <message> <wparam> <lparam>, posted; or sent, answering once the window has handled it
// (1), or after 5 s (0).
void PostOrSend(In& in, Out& out, bool send) {
    HWND window = ReadWindow(in);
    UINT message = Read<UINT>(in);
    WPARAM wParam = Read<WPARAM>(in);
    LPARAM lParam = static_cast<LPARAM>(Read<WPARAM>(in));
    DWORD_PTR result = 0;
    if (send)
        out << "sent "
            << !!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 5000, &result);
    else
        PostMessageW(window, message, wParam, lParam);
}

// <hwnd> <id> <line>: what a click on a list line does, select it and notify.
void SelectLine(In& in, Out&) {
    HWND dialog = ReadWindow(in);
    int id = Read<int>(in);
    HWND list = GetDlgItem(dialog, id);
    // Posted, not sent: a sent message would be handled before the commands posted earlier.
    PostMessageW(list, LB_SETCURSEL, Read<WPARAM>(in), 0);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// <hwnd> <id> <hour> <minute> <second>: sets the time picker.
void SetPickerTime(In& in, Out&) {
    HWND picker = ReadControl(in);
    RemoteMemory remote(picker, sizeof(SYSTEMTIME));
    SYSTEMTIME time{};
    GetLocalTime(&time);
    in >> time.wHour >> time.wMinute >> time.wSecond;
    remote.Write(&time, sizeof time);
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(remote.Address()));
}

// <hwnd> <id> <year> <month> <day>: the screen point of a calendar cell.
void FindCalendarCell(In& in, Out& out) {
    HWND calendar = ReadControl(in);
    WORD year = Read<WORD>(in), month = Read<WORD>(in), day = Read<WORD>(in);
    POINT point{};
    if (FindCalendarPoint(calendar, year, month, day, point))
        out << "point " << point.x << " " << point.y;
    else
        out << "none";
}

// The middle of a control, for a mouse click.
void DescribeScreenPoint(In& in, Out& out) {
    RECT rect{};
    GetWindowRect(ReadControl(in), &rect);
    out << "point " << (rect.left + rect.right) / 2 << " " << (rect.top + rect.bottom) / 2;
}

// attributes <path>, set-attributes <path> <hex>: what the file then has.
void FileAttributes(In& in, Out& out, bool set) {
    std::wstring path = ReadPath(in);
    in >> std::hex;
    if (set)
        SetFileAttributesW(path.c_str(), Read<DWORD>(in));
    out << "attributes " << std::hex << GetFileAttributesW(path.c_str());
}

// Opens a file with no sharing, as another program would, until "release".
void HoldFile(In& in, Out& out) {
    gHeldFile.reset(
        CreateFileW(ReadPath(in).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    out << "held " << static_cast<bool>(gHeldFile);
}

const std::pair<std::string_view, void (*)(In&, Out&)> kCommands[] = {
    {"find-box", [](In& in, Out& out) { FindTopLevel(in, out, true); }},
    {"find-dialog", [](In& in, Out& out) { FindTopLevel(in, out, false); }},
    {"dialogs", ListDialogs},
    {"find-window", FindWindowOfClass},
    {"private-bytes", DescribePrivateBytes},
    {"foreground",
     [](In&, Out& out) { out << "foreground " << HandleText(GetForegroundWindow()); }},
    // What a click on a window does on Windows; without a window manager a click does not.
    {"to-front", [](In& in, Out&) { SetForegroundWindow(ReadWindow(in)); }},
    {"count-boxes", [](In&, Out& out) { out << "count " << AllTopLevel(true, "").size(); }},
    {"window", [](In& in, Out& out) { DescribeWindow(out, ReadControl(in)); }},
    {"children", [](In& in, Out& out) { DescribeChildren(out, ReadWindow(in)); }},
    {"dlg-px", DialogUnitsToPixels},
    {"text", DescribeText},
    {"chars", TypeChars},
    {"press", PressButton},
    {"click", [](In& in, Out&) { PostMessageW(ReadControl(in), BM_CLICK, 0, 0); }},
    {"post", [](In& in, Out& out) { PostOrSend(in, out, false); }},
    {"send", [](In& in, Out& out) { PostOrSend(in, out, true); }},
    {"listbox", [](In& in, Out& out) { DescribeList(out, ReadControl(in)); }},
    {"select", SelectLine},
    {"check",
     [](In& in, Out& out) { out << "check " << SendMessageW(ReadControl(in), BM_GETCHECK, 0, 0); }},
    {"time-set", SetPickerTime},
    {"calendar-point", FindCalendarCell},
    {"screen-point", DescribeScreenPoint},
    {"hold", HoldFile},
    {"release", [](In&, Out&) { gHeldFile.reset(); }},
    {"attributes", [](In& in, Out& out) { FileAttributes(in, out, false); }},
    {"set-attributes", [](In& in, Out& out) { FileAttributes(in, out, true); }},
    {"alive", [](In& in, Out& out) { out << "alive " << (IsWindow(ReadWindow(in)) != 0); }},
};

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
            std::string name = Read<std::string>(in);
            auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                        [&](const auto& known) { return known.first == name; });
            if (command == std::end(kCommands))
                throw std::runtime_error("unknown command");
            command->second(in, out);
        } catch (const std::exception& error) {
            out.str("");
            out << "error " << error.what() << " in: " << line;
        }
        std::string answer = out.str(); // "ok" for an action that tells nothing more
        if (answer.empty() || !answer.ends_with('\n'))
            answer += answer.empty() ? "ok\n" : "\n";
        std::cout << answer << "end\n" << std::flush;
    }
    return 0;
}
