// Code page 1252 conversions, the exe folder, reminder files in folders with long paths or names
// outside Windows-1252, and the programs' claims on their folders.
#include "exe_folder.h"
#include "folder_claim.h"
#include "reminder_rewrite.h"
#include "temp_folder.h"
#include "text_1252.h"

#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <thread>

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

// One name per folder and kind of program, whatever path leads to the folder; a hash of the path
// where the folder has no identity to read (here: it does not exist). One holder per claim: not
// another thread, as not another program, nor anyone when the claim is denied, as one made by a
// program started as administrator is.
TEST(FolderClaim, OneNamePerFolderAndKindAndOneHolder) {
    TempFolder base;
    std::wstring folder = base.Path() + L"a\\", sibling = base.Path() + L"b\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) &&
                CreateDirectoryW(sibling.c_str(), nullptr));
    auto name = [](const std::wstring& path, const wchar_t* kind = L"editor") {
        return FolderClaim(kind, path).Name();
    };
    std::wsmatch parts;
    std::wstring claimName = name(folder);
    ASSERT_TRUE(std::regex_match(claimName, parts,
                                 std::wregex(LR"(Local\\Recordatorio\.editor\.)"
                                             LR"((?:id-([0-9a-f]{16})-[0-9a-f]{32}|)"
                                             LR"(file-([0-9a-f]{8})-[0-9a-f]{16}))")))
        << claimName;
    // The volume's serial: two volumes may give their folders the same file id.
    wchar_t volume[MAX_PATH] = {};
    DWORD serial = 0;
    ASSERT_TRUE(GetVolumePathNameW(folder.c_str(), volume, MAX_PATH) &&
                GetVolumeInformationW(volume, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(std::stoull(parts[parts[1].matched ? 1 : 2].str(), nullptr, 16) & 0xFFFFFFFF, serial)
        << claimName;
    EXPECT_EQ(name(folder.substr(0, folder.size() - 1)), name(folder));
    EXPECT_EQ(name(L"\\\\?\\" + folder), name(folder));
    EXPECT_NE(name(sibling), name(folder));
    EXPECT_NE(name(folder, L"notifier"), name(folder));
    std::set<std::wstring> hashed;
    for (int i = 0; i < 300; ++i)
        hashed.insert(name(base.Path() + L"falta" + std::to_wstring(i)));
    EXPECT_EQ(hashed.size(), 300u);
    EXPECT_EQ(name(base.Path() + L"FALTA7"), name(base.Path() + L"falta7"));

    FolderClaim editor(L"editor", folder);
    ASSERT_TRUE(editor.Take(0));
    auto takenElsewhere = [&](const wchar_t* kind) {
        bool taken = false;
        std::thread([&] { taken = FolderClaim(kind, folder).Take(0); }).join();
        return taken;
    };
    EXPECT_FALSE(takenElsewhere(L"editor"));
    EXPECT_TRUE(takenElsewhere(L"notifier"));
    SECURITY_ATTRIBUTES noAccess{sizeof noAccess, nullptr, FALSE}; // an empty access list
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:", SDDL_REVISION_1, &noAccess.lpSecurityDescriptor, nullptr));
    UniqueHandle elevated(CreateMutexW(&noAccess, FALSE, name(folder, L"notifier").c_str()));
    ASSERT_TRUE(elevated);
    EXPECT_FALSE(takenElsewhere(L"notifier"));
    LocalFree(noAccess.lpSecurityDescriptor);
}
