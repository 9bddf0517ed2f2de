#include "alert_window.h"

#include "dialog_template.h"
#include "kit_icons.h"
#include "text_1252.h"

#include <mmsystem.h>

#include <algorithm>
#include <iterator>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr uint16_t kAcceptId = IDOK;
constexpr uint16_t kListId = 101;
constexpr uint16_t kDetailId = 102;
constexpr uint16_t kAcceptAllId = 103;
constexpr uint16_t kSnoozeId = 104;
constexpr uint16_t kSnoozeChoiceId = 105;

// In dialog units from the list's left edge: past "06/12/2026 Miercoles ##:##", the widest start.
constexpr int kTextColumn = 104;

constexpr DWORD kDialogStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER | DS_3DLOOK;
static_assert(kDialogSetFont == DS_SETFONT);
// Above the user's work and in the taskbar, but the keyboard stays where the user has it.
constexpr DWORD kDialogExStyle = WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_APPWINDOW;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

// The editor's font, so that the kit's windows look alike.
const DialogFrame kAlertFrame = {.style = kDialogStyle,
                                 .exStyle = kDialogExStyle,
                                 .x = 0,
                                 .y = 0,
                                 .width = 280,
                                 .height = 167,
                                 .caption = u"Recordatorio",
                                 .fontPoints = 8,
                                 .fontName = u"MS Sans Serif"};

// In creation order, which is also the tab order; one row of buttons below the detail. A drop-down
// combo box's height is that of its open list.
const DialogItem kAlertControls[] = {
    {kListId, u"LISTBOX", u"", 7, 7, 266, 62,
     WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_USETABSTOPS |
         LBS_NOINTEGRALHEIGHT,
     WS_EX_CLIENTEDGE},
    {kDetailId, u"EDIT", u"", 7, 74, 266, 65,
     WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
     WS_EX_CLIENTEDGE},
    {kAcceptId, u"BUTTON", u"&Aceptar", 7, 146, 50, 14, kButtonStyle | BS_DEFPUSHBUTTON, 0},
    {kAcceptAllId, u"BUTTON", u"Aceptar &todos", 61, 146, 62, 14, kButtonStyle, 0},
    {kSnoozeId, u"BUTTON", u"&Posponer", 127, 146, 50, 14, kButtonStyle, 0},
    {kSnoozeChoiceId, u"COMBOBOX", u"", 181, 147, 92, 100,
     WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, 0},
};

// The window's state; null before WM_INITDIALOG.
AlertWindow* StateOf(HWND dialog) {
    return reinterpret_cast<AlertWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// Today as AlertLineDetail takes it: 20261206.
int32_t LocalToday() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wYear * 10000 + now.wMonth * 100 + now.wDay;
}

// The user's pick in kSnoozeChoices, whatever the watch set.
int SnoozeChoiceIndex(const AlertWindow& window) {
    return std::clamp(window.snoozeChoice, 0, static_cast<int>(std::size(kSnoozeChoices)) - 1);
}

int SnoozeMinutes(const AlertWindow& window) {
    return kSnoozeChoices[SnoozeChoiceIndex(window)].minutes;
}

// The selected line, if any.
std::optional<size_t> SelectedLine(HWND dialog, const AlertWindow& window) {
    LRESULT selected = SendDlgItemMessageW(dialog, kListId, LB_GETCURSEL, 0, 0);
    if (selected < 0 || static_cast<size_t>(selected) >= window.lines.size())
        return std::nullopt;
    return static_cast<size_t>(selected);
}

// The detail shows the selected line; the buttons for one line need one.
void ShowSelectedLine(HWND dialog, const AlertWindow& window) {
    std::optional<size_t> selected = SelectedLine(dialog, window);
    std::wstring detail;
    if (selected)
        detail = WideFrom1252(AlertLineDetail(window.lines[*selected], LocalToday()));
    SetDlgItemTextW(dialog, kDetailId, detail.c_str());
    EnableWindow(GetDlgItem(dialog, kAcceptId), selected.has_value());
    EnableWindow(GetDlgItem(dialog, kSnoozeId), selected.has_value());
}

void SelectLine(HWND dialog, const AlertWindow& window, size_t index) {
    SendDlgItemMessageW(dialog, kListId, LB_SETCURSEL, index, 0);
    ShowSelectedLine(dialog, window);
}

// Takes `count` lines from `first` out of the window, then tells the watch, which keeps what the
// user did before it returns. A window left without lines is destroyed after that: once it is
// gone, nothing the user did in it can be lost.
void CloseLines(HWND dialog, AlertWindow& window, size_t first, size_t count,
                std::optional<int> snoozeMinutes) {
    if (count == 0)
        return;
    AlertsClosed closed{{}, snoozeMinutes};
    auto begin = window.lines.begin() + static_cast<ptrdiff_t>(first);
    auto end = begin + static_cast<ptrdiff_t>(count);
    for (auto line = begin; line != end; ++line)
        closed.ids.push_back(line->id);
    window.lines.erase(begin, end);
    for (size_t i = 0; i < count; ++i)
        SendDlgItemMessageW(dialog, kListId, LB_DELETESTRING, first, 0);
    if (!window.lines.empty())
        SelectLine(dialog, window, std::min(first, window.lines.size() - 1));
    SendMessageW(window.watchWindow, kAlertsClosed, 0, reinterpret_cast<LPARAM>(&closed));
    if (window.lines.empty())
        window.dialog.reset();
}

void CloseSelectedLine(HWND dialog, AlertWindow& window, std::optional<int> snoozeMinutes) {
    if (std::optional<size_t> selected = SelectedLine(dialog, window))
        CloseLines(dialog, window, *selected, 1, snoozeMinutes);
}

// Closing the window puts every line off: no reminder is lost by a close.
void CloseAllLines(HWND dialog, AlertWindow& window, std::optional<int> snoozeMinutes) {
    CloseLines(dialog, window, 0, window.lines.size(), snoozeMinutes);
}

void OnInitDialog(HWND dialog, AlertWindow& window) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&window));
    SetKitIcons(dialog);
    int column = kTextColumn;
    SendDlgItemMessageW(dialog, kListId, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&column));
    for (const SnoozeChoice& choice : kSnoozeChoices)
        SendDlgItemMessageW(dialog, kSnoozeChoiceId, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(WideFrom1252(choice.text).c_str()));
    SendDlgItemMessageW(dialog, kSnoozeChoiceId, CB_SETCURSEL,
                        static_cast<WPARAM>(SnoozeChoiceIndex(window)), 0);
}

// Once the user has come to the window (a click, the taskbar, Alt+Tab), it works from the
// keyboard like any other.
void LetWindowActivate(HWND dialog) {
    LONG_PTR exStyle = GetWindowLongPtrW(dialog, GWL_EXSTYLE);
    if (exStyle & WS_EX_NOACTIVATE)
        SetWindowLongPtrW(dialog, GWL_EXSTYLE, exStyle & ~LONG_PTR{WS_EX_NOACTIVATE});
}

void OnMouseActivate(HWND dialog) {
    LetWindowActivate(dialog);
    SetForegroundWindow(dialog);
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, MA_ACTIVATE);
}

// A button's command arrives as BN_CLICKED, or as 1 from a keyboard accelerator.
bool IsPress(WORD code) {
    return code == BN_CLICKED || code == 1;
}

// True for a command handled. Enter gives IDOK, Esc IDCANCEL.
bool OnCommand(HWND dialog, AlertWindow& window, WORD id, WORD code) {
    switch (id) {
    case kListId:
        if (code == LBN_SELCHANGE)
            ShowSelectedLine(dialog, window);
        return true;
    case kSnoozeChoiceId:
        if (code == CBN_SELCHANGE) {
            LRESULT choice = SendDlgItemMessageW(dialog, kSnoozeChoiceId, CB_GETCURSEL, 0, 0);
            if (choice >= 0)
                window.snoozeChoice = static_cast<int>(choice);
        }
        return true;
    case kAcceptId:
        if (IsPress(code))
            CloseSelectedLine(dialog, window, std::nullopt);
        return true;
    case kAcceptAllId:
        if (IsPress(code))
            CloseAllLines(dialog, window, std::nullopt);
        return true;
    case kSnoozeId:
        if (IsPress(code))
            CloseSelectedLine(dialog, window, SnoozeMinutes(window));
        return true;
    case IDCANCEL: CloseAllLines(dialog, window, SnoozeMinutes(window)); return true;
    }
    return false;
}

INT_PTR CALLBACK AlertDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Nothing may leave a window procedure by an exception: a failed allocation abandons the one
    // command, before the watch is told of anything.
    try {
        if (msg == WM_INITDIALOG) {
            OnInitDialog(dialog, *reinterpret_cast<AlertWindow*>(lParam));
            return FALSE; // no focus set: the window takes the keyboard only when the user comes
        }
        AlertWindow* window = StateOf(dialog);
        if (!window)
            return FALSE;
        switch (msg) {
        case WM_MOUSEACTIVATE: OnMouseActivate(dialog); return TRUE;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE)
                LetWindowActivate(dialog);
            return FALSE; // the dialog manager puts the focus back on a control
        case WM_COMMAND: return OnCommand(dialog, *window, LOWORD(wParam), HIWORD(wParam));
        case WM_CLOSE: CloseAllLines(dialog, *window, SnoozeMinutes(*window)); return TRUE;
        }
    } catch (const std::bad_alloc&) {
    }
    return FALSE;
}

bool CreateAlertDialog(AlertWindow& window) {
    std::vector<uint16_t> words = DialogTemplateWords(kAlertFrame, kAlertControls);
    window.dialog.reset(CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(words.data()), nullptr,
        AlertDialogProc, reinterpret_cast<LPARAM>(&window)));
    return static_cast<bool>(window.dialog);
}

bool HoldsLine(const AlertWindow& window, const ReminderId& id) {
    return std::ranges::binary_search(window.lines, id, {}, &AlertLine::id);
}

// Above every other window, without the keyboard; the taskbar button flashes until the user
// comes to it.
void ShowNewLines(HWND dialog) {
    ShowWindow(dialog, SW_SHOWNOACTIVATE);
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    FLASHWINFO flash{sizeof flash, dialog, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
    FlashWindowEx(&flash);
    PlaySoundW(L"Notification.Default", nullptr, SND_ALIAS | SND_ASYNC | SND_NODEFAULT);
}

} // namespace

void AddAlertLines(AlertWindow& window, const std::vector<AlertLine>& lines) {
    std::optional<ReminderId> lastAdded;
    for (const AlertLine& line : lines) {
        if (HoldsLine(window, line.id))
            continue;
        if (!window.dialog && !CreateAlertDialog(window))
            return;
        size_t at = AlertLinePosition(window.lines, line.id);
        window.lines.insert(window.lines.begin() + static_cast<ptrdiff_t>(at), line);
        std::wstring text = WideFrom1252(AlertLineText(line));
        SendDlgItemMessageW(window.dialog.get(), kListId, LB_INSERTSTRING, at,
                            reinterpret_cast<LPARAM>(text.c_str()));
        lastAdded = line.id;
    }
    if (!lastAdded)
        return;
    auto selected = std::ranges::lower_bound(window.lines, *lastAdded, {}, &AlertLine::id);
    SelectLine(window.dialog.get(), window, static_cast<size_t>(selected - window.lines.begin()));
    ShowNewLines(window.dialog.get());
}

bool HandleAlertWindowKeys(AlertWindow& window, MSG& message) {
    return window.dialog && IsDialogMessageW(window.dialog.get(), &message);
}
