// Running out of memory for real: on the test's thread, allocations above a size fail, as large
// ones do first when the 32-bit programs run short of address space with a very large table; or,
// once one has failed, every later one fails too. The file routines return error 7 and leave the
// file as it was; the editor reports 7 once per command and goes on.
#include "commands.h"
#include "dialog_template.h"
#include "editor_dialog.h"
#include "editor_state.h"
#include "file_error_text.h"
#include "record_bytes.h"
#include "reminder_rewrite.h"

#include "box_watcher.h"
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
    HWND dialog = CreateDialogIndirectParamW(
        nullptr, reinterpret_cast<const DLGTEMPLATE*>(words.data()), nullptr, EditorDialogProc,
        reinterpret_cast<LPARAM>(&folder.File()));
    ASSERT_TRUE(dialog);
    gSelectedDate = "6 Diciembre 2026";
    for (int i = 0; i < 10000; ++i)
        gReminders.push_back(MakeReminder("09:30", gSelectedDate, std::to_string(i), 1));
    SetDlgItemTextW(dialog, kTextBoxId, L"abc");
    UpdateCharCounter();
    auto listar = [&](size_t largest, bool exhausted) {
        BoxWatcher boxes;
        {
            AllocationLimit limit(largest, exhausted);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kListarId, BN_CLICKED), 0);
        }
        std::vector<std::wstring> texts;
        for (const SeenBox& box : boxes.Boxes())
            texts.push_back(box.caption + L": " + box.text);
        return texts;
    };
    auto counter = [&] {
        wchar_t text[64] = {};
        SendDlgItemMessageW(dialog, kStatusBarId, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
        return std::wstring(text);
    };
    auto listed = [&] { return SendDlgItemMessageW(dialog, kReminderListId, LB_GETCOUNT, 0, 0); };

    std::vector<std::wstring> outOfMemory = {L"Quenda Soft: Err:  7 Out of memory"};
    EXPECT_EQ(counter(), L"Escritas 0003 de 1023");
    EXPECT_EQ(listar(64 * 1024, false), outOfMemory);
    EXPECT_EQ(listed(), 0);
    EXPECT_EQ(counter(), L"Escritas 0000 de 1023");
    EXPECT_EQ(listar(64 * 1024, true), outOfMemory) << "the report needs no memory";
    EXPECT_EQ(listar(SIZE_MAX, false), std::vector<std::wstring>{});
    EXPECT_EQ(listed(), 10000);
    DestroyWindow(dialog);
    gReminders.clear();
}
