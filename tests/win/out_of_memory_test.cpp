// Running out of memory for real: on the test's thread, allocations above a size fail, as large
// ones do first when the 32-bit programs run short of address space with a very large table; or,
// once one has failed, every later one fails too. The file routines return error 7 and leave the
// file as it was; the editor reports 7 once per command and goes on.
#include "commands.h"
#include "control_ids.h"
#include "dialog_template.h"
#include "editor_dialog.h"
#include "editor_state.h"
#include "file_error_text.h"
#include "record_bytes.h"
#include "reminder_rewrite.h"

#include "temp_folder.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {

thread_local size_t gLargestAllocation = SIZE_MAX;
thread_local bool gExhaustedAfterFailure = false;

// Allocations on this thread larger than `largest` fail while it lives; when `exhausted`, every
// allocation after the first failure fails as well.
class AllocationLimit {
  public:
    explicit AllocationLimit(size_t largest, bool exhausted = false) {
        gLargestAllocation = largest;
        gExhaustedAfterFailure = exhausted;
    }
    ~AllocationLimit() {
        gLargestAllocation = SIZE_MAX;
        gExhaustedAfterFailure = false;
    }
};

// The boxes that a command shows on this thread, closed as a user would once they are up. Their
// caption and text go into fixed buffers: the thread may have no memory left.
struct SeenBoxes {
    int count = 0;
    HWND last = nullptr;
    wchar_t text[128] = {};
} gSeen;

BOOL CALLBACK CloseVisibleBox(HWND window, LPARAM) {
    if (!IsWindowVisible(window) || window == gSeen.last)
        return TRUE;
    int length = GetWindowTextW(window, gSeen.text, 64);
    lstrcpyW(gSeen.text + length, L": ");
    GetDlgItemTextW(window, 0xFFFF, gSeen.text + length + 2, 60);
    ++gSeen.count;
    gSeen.last = window;
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    return FALSE;
}

void CALLBACK CloseBoxes(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), CloseVisibleBox, 0);
}

} // namespace

// The standard library's operator delete frees with free().
void* operator new(size_t size) {
    void* block = size <= gLargestAllocation ? std::malloc(size ? size : 1) : nullptr;
    if (!block) {
        if (gExhaustedAfterFailure)
            gLargestAllocation = 0;
        throw std::bad_alloc();
    }
    return block;
}

TEST(SaveReminders, RunningOutOfMemoryLeavesTheFile) {
    TempFolder folder;
    std::string before = ReminderRecordBytes("01:00", "1 Enero 2026", "a");
    WriteWholeFile(folder.File().Path(), before);
    std::vector<Reminder> table = {MakeReminder("02:00", "2 Enero 2026", "b", 1)};
    {
        AllocationLimit limit(64 * 1024);
        EXPECT_EQ(SaveReminders(folder.File(), table), kErrOutOfMemory);
    }
    EXPECT_EQ(ReadWholeFile(folder.File().Path()), before);
}

// Listar of a day with 10,000 reminders, in a dialog with the controls it touches run by the
// editor's own window procedure: reported once, with the counter following the emptied text box;
// reported all the same when no memory is left at all; and the editor goes on.
TEST(ListarOutOfMemory, IsReportedOnceAndTheEditorGoesOn) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    const DialogItem items[] = {
        {kTextBoxId, u"EDIT", u"", 0, 0, 100, 20, WS_CHILD | ES_MULTILINE, 0},
        {kReminderListId, u"LISTBOX", u"", 0, 20, 100, 60, WS_CHILD | LBS_SORT, 0},
        {kStatusBarId, u"msctls_statusbar32", u"", 0, 0, 0, 0, WS_CHILD, 0}};
    std::vector<uint16_t> words =
        DialogTemplateWords({WS_POPUP, 0, 0, 0, 200, 100, u"", 0, u""}, items);
    TempFolder folder;
    FolderClaim claim(L"editor", folder.Path());
    EditorState state{folder.File(), claim};
    HWND dialog =
        CreateDialogIndirectParamW(nullptr, reinterpret_cast<const DLGTEMPLATE*>(words.data()),
                                   nullptr, EditorDialogProc, reinterpret_cast<LPARAM>(&state));
    ASSERT_TRUE(dialog);
    state.selectedDate = "6 Diciembre 2026";
    for (int i = 0; i < 10000; ++i)
        state.reminders.push_back(MakeReminder("09:30", state.selectedDate, std::to_string(i), 1));
    SetDlgItemTextW(dialog, kTextBoxId, L"abc");
    UpdateCharCounter(dialog);
    // The one box that Listar showed, or how many there were.
    auto listar = [&](size_t largest, bool exhausted) {
        gSeen = {};
        UINT_PTR timer = SetTimer(nullptr, 0, 20, CloseBoxes);
        {
            AllocationLimit limit(largest, exhausted);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kListarId, BN_CLICKED), 0);
        }
        KillTimer(nullptr, timer);
        return gSeen.count == 1 ? std::wstring(gSeen.text)
                                : std::to_wstring(gSeen.count) + L" boxes";
    };
    auto counter = [&] {
        wchar_t text[64] = {};
        SendDlgItemMessageW(dialog, kStatusBarId, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
        return std::wstring(text);
    };
    auto listed = [&] { return SendDlgItemMessageW(dialog, kReminderListId, LB_GETCOUNT, 0, 0); };

    const std::wstring outOfMemory = L"Quenda Soft: Err:  7 Out of memory";
    EXPECT_EQ(counter(), L"Escritas 0003 de 1023");
    EXPECT_EQ(listar(64 * 1024, false), outOfMemory);
    EXPECT_EQ(listed(), 0);
    EXPECT_EQ(counter(), L"Escritas 0000 de 1023");
    EXPECT_EQ(listar(64 * 1024, true), outOfMemory) << "the report needs no memory";
    EXPECT_EQ(listar(SIZE_MAX, false), L"0 boxes");
    EXPECT_EQ(listed(), 10000);
    DestroyWindow(dialog);
}
