#include "editor_dialog.h"

#include "commands.h"
#include "editor_state.h"
#include "exe_folder.h"
#include "reminder_file.h"
#include "store.h"
#include "text_box.h"
#include "text_1252.h"

#include <commctrl.h>

#include <iterator>
#include <vector>

namespace {

constexpr int kIconId = 200;

constexpr DWORD kDialogStyle =
    WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;
constexpr DWORD kButtonStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | BS_CENTER | BS_VCENTER | BS_PUSHBUTTON;

// One control of the dialog; position and size in dialog units.
struct ControlTemplate {
    WORD id;
    const wchar_t* className;
    const wchar_t* caption;
    short x, y, width, height;
    DWORD style;
    DWORD exStyle;
};

// In creation order, which is also the tab order. The status bar places itself along the
// bottom edge; the check box is so narrow that only its box shows.
const ControlTemplate kControls[] = {
    {kCalendarId, L"SysMonthCal32", L"SysMonthCal32_1", 0, 0, 170, 95,
     WS_CHILD | WS_VISIBLE | WS_TABSTOP | MCS_WEEKNUMBERS, WS_EX_CLIENTEDGE},
    {kTimePickerId, L"SysDateTimePick32", L"SysDateTimePick32_1", 190, 0, 33, 15,
     WS_CHILD | WS_VISIBLE | WS_TABSTOP | DTS_TIMEFORMAT, WS_EX_CLIENTEDGE},
    {kTextBoxId, L"EDIT", L"", 170, 15, 212, 45,
     WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_WANTRETURN | ES_MULTILINE,
     WS_EX_CLIENTEDGE},
    {kGrabarId, L"BUTTON", L"Grabar", 228, 0, 35, 15, kButtonStyle, 0},
    {kTimeCheckId, L"BUTTON", L"CheckBox1", 180, 0, 10, 15,
     WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0},
    {kBorrarId, L"BUTTON", L"Borrar", 263, 0, 35, 15, kButtonStyle, 0},
    {kModificarId, L"BUTTON", L"Modificar", 298, 0, 35, 15, kButtonStyle, 0},
    {kListarId, L"BUTTON", L"Listar", 333, 0, 35, 15, kButtonStyle, 0},
    {kCloseId, L"BUTTON", L"X", 368, 0, 14, 15, kButtonStyle, 0},
    {kReminderListId, L"LISTBOX", L"", 170, 60, 212, 47,
     WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_SORT | LBS_NOTIFY, WS_EX_CLIENTEDGE},
    {kStatusBarId, L"msctls_statusbar32", L"", 0, 0, 0, 0, WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0},
};

// An in-memory dialog template: a DLGTEMPLATE with its menu, class, caption and font, then a
// DLGITEMTEMPLATE per control, each starting on a DWORD boundary.
class TemplateWriter {
  public:
    void Word(WORD value) { words_.push_back(value); }
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(const wchar_t* text) {
        for (; *text; ++text)
            Word(static_cast<WORD>(*text));
        Word(0);
    }
    void AlignToDword() {
        if (words_.size() % 2 != 0)
            Word(0);
    }
    // The vector's storage is aligned for any scalar type, so offsets aligned to DWORDs are.
    const DLGTEMPLATE* Template() const {
        return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
    }

  private:
    std::vector<WORD> words_;
};

void WriteControl(TemplateWriter& out, const ControlTemplate& control) {
    out.AlignToDword();
    out.Dword(control.style);
    out.Dword(control.exStyle);
    out.Word(static_cast<WORD>(control.x));
    out.Word(static_cast<WORD>(control.y));
    out.Word(static_cast<WORD>(control.width));
    out.Word(static_cast<WORD>(control.height));
    out.Word(control.id);
    out.Text(control.className);
    out.Text(control.caption);
    out.Word(0); // no creation data
}

void WriteEditorTemplate(TemplateWriter& out) {
    out.Dword(kDialogStyle);
    out.Dword(0); // extended style
    out.Word(static_cast<WORD>(std::size(kControls)));
    out.Word(275); // x, from the screen's top-left corner
    out.Word(225); // y
    out.Word(382); // width
    out.Word(109); // height
    out.Word(0);   // no menu
    out.Word(0);   // the standard dialog class
    out.Text(L"Recordatorio ...");
    out.Word(8); // font size in points
    out.Text(L"MS Sans Serif");
    for (const ControlTemplate& control : kControls)
        WriteControl(out, control);
}

void SetDialogIcons(HWND dialog) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto loadIcon = [instance](int size) {
        return reinterpret_cast<LPARAM>(
            LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON, size, size, LR_SHARED));
    };
    SendMessageW(dialog, WM_SETICON, ICON_BIG, loadIcon(32));
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, loadIcon(16));
}

// The date and time at which the dialog opened; it is not refreshed afterwards.
void SetCaptionToNow(HWND dialog) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string caption =
        CaptionText(now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute, now.wSecond);
    SetWindowTextW(dialog, WideFrom1252(caption).c_str());
}

void OnInitDialog(HWND dialog) {
    gEditorDialog = dialog;
    SetDialogIcons(dialog);
    KeepEscapeFromTextBox(Control(kTextBoxId));
    gTimeEnabled = false;
    EnableWindow(Control(kTimePickerId), FALSE);
    gExeFolder = ExeFolder();
    // Opening the editor alone does not create the reminder file.
    if (FileExists(ReminderFilePath()))
        LoadReminders();
    SetCaptionToNow(dialog);
}

// The control that had the keyboard focus gets it back when the user returns to the dialog.
void OnNcActivate(WPARAM active) {
    if (!active) {
        gSavedFocus = GetFocus();
    } else if (gSavedFocus) {
        SetFocus(gSavedFocus);
        gSavedFocus = nullptr;
    }
}

void OnClose(HWND dialog) {
    EndDialog(dialog, 0);
}

// A button's command arrives as BN_CLICKED, or as 1 from a keyboard accelerator.
bool IsPress(WORD code) {
    return code == BN_CLICKED || code == 1;
}

// Esc (IDCANCEL) and Enter (IDOK) belong to no control and are ignored.
void OnCommand(HWND dialog, WORD id, WORD code) {
    switch (id) {
    case kTextBoxId:
        if (code == EN_CHANGE || code == 1)
            UpdateCharCounter();
        break;
    case kGrabarId:
        if (IsPress(code))
            OnGrabar();
        break;
    case kTimeCheckId: OnTimeSwitch(); break;
    case kBorrarId:
        if (IsPress(code))
            OnBorrar();
        break;
    case kModificarId:
        if (IsPress(code))
            OnModificar();
        break;
    case kListarId:
        if (IsPress(code))
            OnListar();
        break;
    case kCloseId:
        if (IsPress(code))
            OnClose(dialog);
        break;
    case kReminderListId:
        if (code == LBN_SELCHANGE)
            OnLineSelected();
        break;
    }
}

// Only the calendar sends MCN_SELECT.
void OnNotify(const NMHDR& header) {
    if (header.code == MCN_SELECT)
        OnDayPicked(reinterpret_cast<const NMSELCHANGE&>(header));
}

} // namespace

INT_PTR ShowEditorDialog(HWND owner) {
    TemplateWriter editorTemplate;
    WriteEditorTemplate(editorTemplate);
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), editorTemplate.Template(), owner,
                                   EditorDialogProc, 0);
}

// Returning FALSE from WM_INITDIALOG leaves the focus where it is: the editor sets none.
INT_PTR CALLBACK EditorDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: OnInitDialog(dialog); break;
    case WM_NCACTIVATE: OnNcActivate(wParam); break;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); break;
    case WM_NOTIFY: OnNotify(*reinterpret_cast<const NMHDR*>(lParam)); break;
    case WM_CLOSE: OnClose(dialog); break;
    }
    return FALSE;
}
