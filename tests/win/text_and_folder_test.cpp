// Code page 1252 conversions, the exe folder, and reminder files in folders with long paths
// or names outside Windows-1252.
#include "exe_folder.h"
#include "reminder_rewrite.h"
#include "temp_folder.h"
#include "text_1252.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(Text1252, SpanishTextRoundTrips) {
    EXPECT_EQ(WideFrom1252("Oto\xF1o"), L"Oto\u00F1o");
    EXPECT_EQ(WideFrom1252("Epifan\xED"
                           "a del Se\xF1or \x80"),
              L"Epifan\u00EDa del Se\u00F1or \u20AC");
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Text1252FromWide(WideFrom1252(all)), all);
}

TEST(Text1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    // No best fit: a Polish barred l must not turn into a plain l.
    EXPECT_EQ(Text1252FromWide(L"\u0141\u00F3d\u017A \u0142"), "?\xF3"
                                                               "d? ?");
    EXPECT_EQ(Text1252FromWide(L"\u041C\u0438\u0440 \u65E5\u672C"), "??? ??");
    EXPECT_EQ(Text1252FromWide(L""), "");
}

TEST(ExeFolder, IsTheFolderOfTheRunningProgram) {
    std::wstring folder = ExeFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    EXPECT_EQ(std::wstring(path).rfind(folder, 0), 0u);
    EXPECT_EQ(std::wstring(path).find(L'\\', folder.size()), std::wstring::npos);
}

TEST(ReminderFile, WorksInFoldersOutsideTheCodePageAndBeyondMaxPath) {
    std::wstring deep;
    for (int i = 0; i < 6; ++i)
        deep += std::wstring(50, static_cast<wchar_t>(L'a' + i)) + L"\\";
    for (std::wstring name :
         {std::wstring(L"\u041F\u0430\u043F\u043A\u0430 \u65E5\u672C"), deep + L"\u0444"}) {
        TempFolder folder(name);
        const ReminderFile& file = folder.File();
        EXPECT_EQ(FileExists(file.Path()), false);
        EXPECT_EQ(AppendReminder(file, "09:30", "6 Diciembre 2026", "uno", 1), 0);
        EXPECT_EQ(AppendReminder(file, "10:30", "6 Diciembre 2026", "dos", 1), 0);
        ASSERT_TRUE(FileExists(file.Path()));
        std::vector<Reminder> table;
        EXPECT_EQ(LoadReminders(file, table, IfMissing::Leave), 0);
        ASSERT_EQ(table.size(), 2u);
        table[0].active = 0;
        EXPECT_EQ(SaveReminders(file, table), 0);
        EXPECT_EQ(LoadReminders(file, table, IfMissing::Leave), 0);
        ASSERT_EQ(table.size(), 1u);
        EXPECT_EQ(table[0].text, "dos");
        EXPECT_GT(file.Path().size(), name.size());
    }
}
