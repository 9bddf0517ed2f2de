#include "editor_dialog.h"

#include "commands.h"
#include "control_ids.h"
#include "dialog_template.h"
#include "editor_texts.h"
#include "file_error_text.h"
#include "kit_icons.h"
#include "one_editor_per_folder.h"
#include "text_box.h"
#include "text_1252.h"

#include <commctrl.h>

#include <new>
#include <vector>

namespace {

// No system menu: the title bar has no close box, and the dialog cannot be resized.
constexpr DWORD kDialogStyle =
    WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;
static_assert(kDialogSetFont == DS_SETFONT);
constexpr DWORD kButtonStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | BS_CENTER | BS_VCENTER | BS_PUSHBUTTON;

// Placed from the screen's top-left corner, not centred. The caption is replaced by the date
// and time during initialisation.
const DialogFrame kEditorFrame = {.style = kDialogStyle,
                                  .exStyle = 0,
                                  .x = 275,
                                  .y = 225,
                                  .width = 382,
                                  .height = 109,
                                  .caption = u"Recordatorio ...",
                                  .fontPoints = 8,
                                  .fontName = u"MS Sans Serif"};

// In creation order, which is also the tab order. The status bar places itself along the
// bottom edge; the check box is so narrow that only its box shows.
const DialogItem kEditorControls[] = {
    {kCalendarId, u"SysMonthCal32", u"SysMonthCal32_1", 0, 0, 170, 95,
     WS_CHILD | WS_VISIBLE | WS_TABSTOP | MCS_WEEKNUMBERS, WS_EX_CLIENTEDGE},
    {kTimePickerId, u"SysDateTimePick32", u"SysDateTimePick32_1", 190, 0, 33, 15,
     WS_CHILD | WS_VISIBLE | WS_TABSTOP | DTS_TIMEFORMAT, WS_EX_CLIENTEDGE},
    {kTextBoxId, u"EDIT", u"", 170, 15, 212, 45,
     WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_WANTRETURN | ES_MULTILINE,
     WS_EX_CLIENTEDGE},
    {kGrabarId, u"BUTTON", u"Grabar", 228, 0, 35, 15, kButtonStyle, 0},
    {kTimeCheckId, u"BUTTON", u"CheckBox1", 180, 0, 10, 15,
     WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0},
    {kBorrarId, u"BUTTON", u"Borrar", 263, 0, 35, 15, kButtonStyle, 0},
    {kModificarId, u"BUTTON", u"Modificar", 298, 0, 35, 15, kButtonStyle, 0},
    {kListarId, u"BUTTON", u"Listar", 333, 0, 35, 15, kButtonStyle, 0},
    {kCloseId, u"BUTTON", u"X", 368, 0, 14, 15, kButtonStyle, 0},
    {kReminderListId, u"LISTBOX", u"", 170, 60, 212, 47,
     WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_SORT | LBS_NOTIFY, WS_EX_CLIENTEDGE},
    {kStatusBarId, u"msctls_statusbar32", u"", 0, 0, 0, 0, WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0},
};

// The date and time at which the dialog opened; it is not refreshed afterwards.
void SetCaptionToNow(HWND dialog) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string caption =
        CaptionText(now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute, now.wSecond);
    SetWindowTextW(dialog, WideFrom1252(caption).c_str());
}

// The dialog's state; null before WM_INITDIALOG.
EditorState* StateOf(HWND dialog) {
    return reinterpret_cast<EditorState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void OnInitDialog(HWND dialog, EditorState& state) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
    MarkEditorDialog(dialog, state.claim);
    SetKitIcons(dialog);
    KeepEscapeFromTextBox(GetDlgItem(dialog, kTextBoxId));
    // Hours and minutes, as a reminder stores them, whatever the user's time format.
    SendDlgItemMessageW(dialog, kTimePickerId, DTM_SETFORMATW, 0,
                        reinterpret_cast<LPARAM>(L"HH:mm"));
    EnableWindow(GetDlgItem(dialog, kTimePickerId), FALSE);
    // Opening the editor alone does not create the reminder file.
    LoadReminders(state.file, state.reminders, IfMissing::Leave, state.fileStamp);
    SetCaptionToNow(dialog);
}

// The control that had the keyboard focus gets it back when the user returns to the dialog.
void OnNcActivate(EditorState& state, WPARAM active) {
    if (!active) {
        state.savedFocus = GetFocus();
    } else if (state.savedFocus) {
        SetFocus(state.savedFocus);
        state.savedFocus = nullptr;
    }
}

void OnClose(HWND dialog) {
    EndDialog(dialog, 0);
}

void OnDestroy(HWND dialog, const EditorState& state) {
    UnmarkEditorDialog(dialog, state.claim);
}

// A button's command arrives as BN_CLICKED, or as 1 from a keyboard accelerator.
bool IsPress(WORD code) {
    return code == BN_CLICKED || code == 1;
}

// Esc (IDCANCEL) and Enter (IDOK) belong to no control and are ignored.
void OnCommand(HWND dialog, EditorState& state, WORD id, WORD code) {
    switch (id) {
    case kTextBoxId:
        if (code == EN_CHANGE || code == 1)
            UpdateCharCounter(dialog);
        break;
    case kGrabarId:
        if (IsPress(code))
            OnGrabar(dialog, state);
        break;
    case kTimeCheckId: OnTimeSwitch(dialog); break;
    case kBorrarId:
        if (IsPress(code))
            OnBorrar(dialog, state);
        break;
    case kModificarId:
        if (IsPress(code))
            OnModificar(dialog, state);
        break;
    case kListarId:
        if (IsPress(code))
            OnListar(dialog, state);
        break;
    case kCloseId:
        if (IsPress(code))
            OnClose(dialog);
        break;
    case kReminderListId:
        if (code == LBN_SELCHANGE)
            OnLineSelected(dialog, state);
        break;
    }
}

// Only the calendar sends MCN_SELECT.
void OnNotify(HWND dialog, EditorState& state, const NMHDR& header) {
    if (header.code == MCN_SELECT)
        OnDayPicked(dialog, state, reinterpret_cast<const NMSELCHANGE&>(header));
}

} // namespace

INT_PTR ShowEditorDialog(HWND owner, const ReminderFile& file, const FolderClaim& claim) {
    std::vector<uint16_t> words = DialogTemplateWords(kEditorFrame, kEditorControls);
    EditorState state{file, claim};
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                   reinterpret_cast<const DLGTEMPLATE*>(words.data()), owner,
                                   EditorDialogProc, reinterpret_cast<LPARAM>(&state));
}

// Returning FALSE from WM_INITDIALOG leaves the focus where it is: the editor sets none.
INT_PTR CALLBACK EditorDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Nothing may leave a window procedure by an exception. What a handler can throw is a failed
    // allocation (a very large table in the 32-bit program): that one command is abandoned, the
    // file routines having left the file as it was, and the program goes on. The report
    // allocates nothing, so it cannot fail the same way.
    try {
        if (msg == WM_INITDIALOG) {
            OnInitDialog(dialog, *reinterpret_cast<EditorState*>(lParam));
            return FALSE;
        }
        // Messages that reach the dialog before its initialisation have nothing to act on.
        EditorState* state = StateOf(dialog);
        if (!state)
            return FALSE;
        switch (msg) {
        case WM_NCACTIVATE: OnNcActivate(*state, wParam); break;
        case WM_COMMAND: OnCommand(dialog, *state, LOWORD(wParam), HIWORD(wParam)); break;
        case WM_NOTIFY: OnNotify(dialog, *state, *reinterpret_cast<const NMHDR*>(lParam)); break;
        case WM_CLOSE: OnClose(dialog); break;
        case WM_DESTROY: OnDestroy(dialog, *state); break;
        }
    } catch (const std::bad_alloc&) {
        ReportFileError(kErrOutOfMemory);
    }
    return FALSE;
}
