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
// editor's own window procedure.
class ListarOutOfMemory : public testing::Test {
  protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
        InitCommonControlsEx(&classes);
        const DialogItem items[] = {
            {kTextBoxId, u"EDIT", u"", 0, 0, 100, 20, WS_CHILD | ES_MULTILINE, 0},
            {kReminderListId, u"LISTBOX", u"", 0, 20, 100, 60, WS_CHILD | LBS_SORT, 0},
            {kStatusBarId, u"msctls_statusbar32", u"", 0, 0, 0, 0, WS_CHILD, 0}};
        const DialogFrame frame{WS_POPUP, 0, 0, 0, 200, 100, u"", 0, u""};
        std::vector<uint16_t> words = DialogTemplateWords(frame, items);
        dialog_ = CreateDialogIndirectParamW(
            nullptr, reinterpret_cast<const DLGTEMPLATE*>(words.data()), nullptr, EditorDialogProc,
            reinterpret_cast<LPARAM>(&folder_.File()));
        ASSERT_TRUE(dialog_);
        gSelectedDate = "6 Diciembre 2026";
        for (int i = 0; i < 10000; ++i)
            gReminders.push_back(MakeReminder("09:30", gSelectedDate, std::to_string(i), 1));
        SetDlgItemTextW(dialog_, kTextBoxId, L"abc");
        UpdateCharCounter();
        ASSERT_EQ(Counter(), L"Escritas 0003 de 1023");
    }
    void TearDown() override {
        DestroyWindow(dialog_);
        gReminders.clear();
        gSelectedDate.clear();
    }

    void PressListar() { SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(kListarId, BN_CLICKED), 0); }
    std::wstring Counter() {
        wchar_t text[64] = {};
        SendDlgItemMessageW(dialog_, kStatusBarId, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
        return text;
    }
    LRESULT ListedLines() {
        return SendDlgItemMessageW(dialog_, kReminderListId, LB_GETCOUNT, 0, 0);
    }

    TempFolder folder_;
    HWND dialog_ = nullptr;
};

TEST_F(ListarOutOfMemory, IsReportedOnceAndTheCounterFollowsTheEmptiedTextBox) {
    BoxWatcher boxes;
    {
        AllocationLimit limit(64 * 1024);
        PressListar();
    }
    std::vector<SeenBox> seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"Quenda Soft");
    EXPECT_EQ(seen[0].text, L"Err:  7 Out of memory");
    EXPECT_EQ(ListedLines(), 0);
    EXPECT_EQ(Counter(), L"Escritas 0000 de 1023");
    PressListar();
    EXPECT_EQ(ListedLines(), 10000) << "with memory back, the day is listed";
}

// The report itself needs no memory: with none left it still shows, and the editor goes on.
TEST_F(ListarOutOfMemory, IsReportedWhenNoMemoryIsLeftAtAll) {
    BoxWatcher boxes;
    {
        AllocationLimit limit(64 * 1024, true);
        PressListar();
    }
    std::vector<SeenBox> seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Err:  7 Out of memory");
    PressListar();
    EXPECT_EQ(ListedLines(), 10000);
}
