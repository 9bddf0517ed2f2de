// The editor under Wine with damaged, huge and oddly placed reminder files, and installed in
// folders with long and non-Latin names: it opens, lists what the file holds, writes beside it
// or reports why it cannot, and loses nothing.
#include "editor_test.h"

#include <filesystem>
#include <random>

namespace {

namespace fs = std::filesystem;

const char kTodayDate[] = "6 Diciembre 2026";

class EditorOddInputTest : public EditorTest {
  protected:
    using EditorTest::EditorTest;

    // Writes a reminder for the picked day through Grabar, answered Yes.
    void WriteReminder(const std::string& text) {
        Type(text);
        Grabar(kYes);
    }
};

} // namespace

TEST_F(EditorOddInputTest, DamagedFileKeepsItsWholeRecordsAndTakesNewOnes) {
    std::mt19937 random(1085);
    std::string noise(4 * kRecordSize, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    std::string whole = noise + ReminderRecordBytes("09:30", kTodayDate, "Comprar pan");
    WriteFile(folder.ReminderFile(), whole + noise.substr(0, 700));
    Open();
    EXPECT_EQ(ListToday(1), std::vector<std::string>{"5 09:30 Comprar pan"});
    WriteReminder("nuevo");
    std::string after = ReadFile(folder.ReminderFile());
    ASSERT_EQ(after.size(), whole.size() + kRecordSize) << "written over the partial record";
    EXPECT_EQ(after.substr(0, whole.size()), whole);
    EXPECT_EQ(RemindersIn(folder.ReminderFile()).back().text, "nuevo");
    EXPECT_EQ(CloseWithX(), 0);
}

// A sparse file of 1 GiB: about 990,000 deleted (all-zero) records after a record of today.
TEST_F(EditorOddInputTest, HugeFileIsListedAndAppendedTo) {
    constexpr long long kSize = 1LL << 30;
    std::string first = ReminderRecordBytes("09:30", kTodayDate, "primero");
    WriteSparseFile(folder.ReminderFile(), kSize, {{0, first}});
    Open();
    EXPECT_EQ(ListToday(1), std::vector<std::string>{"1 09:30 primero"});
    WriteReminder("nuevo");
    long long whole = kSize / kRecordSize * kRecordSize;
    EXPECT_EQ(static_cast<long long>(fs::file_size(folder.ReminderFile())), whole + kRecordSize);
    EXPECT_EQ(ListToday(2),
              (std::vector<std::string>{"1 09:30 primero",
                                        std::to_string(whole / kRecordSize + 1) + " ##:## nuevo"}));
    EXPECT_EQ(CloseWithX(), 0);
}

TEST_F(EditorOddInputTest, FolderNamedLikeTheReminderFileIsReportedNotReplaced) {
    fs::create_directory(folder.ReminderFile());
    Open();
    PickDay(2026, 12, 6);
    Type("nuevo");
    Click(kGrabarId);
    Answer("Recordatorio", kYes);
    EXPECT_EQ(Answer("Quenda Soft", kOk).text, "Err:  70 Permission denied");
    Type("!"); // taken once Grabar is over
    EXPECT_EQ(WaitForText(kTextBoxId, "nuevo!"), "nuevo!") << "the text stays, to be saved again";
    EXPECT_TRUE(fs::is_directory(folder.ReminderFile()));
    EXPECT_TRUE(fs::is_empty(folder.ReminderFile()));
    EXPECT_EQ(CloseWithX(), 0);
}

// Read-only and hidden, set from the Windows side: deleting a reminder rewrites the file all
// the same, and the other reminder stays.
class EditorFileAttributesTest : public EditorOddInputTest,
                                 public testing::WithParamInterface<unsigned> {};

TEST_P(EditorFileAttributesTest, BorrarRewritesTheFile) {
    WriteFile(folder.ReminderFile(), ReminderRecordBytes("09:30", kTodayDate, "uno") +
                                         ReminderRecordBytes("10:30", kTodayDate, "dos"));
    std::string path = folder.WindowsPath(folder.ReminderFile());
    ASSERT_EQ(driver.SetAttributes(path, GetParam()) & GetParam(), GetParam());
    OpenAndSelectFirstOfToday(2, "uno");
    Click(kBorrarId);
    EXPECT_EQ(WaitForListLines(0).size(), 0u) << "Borrar ends by emptying the list";
    EXPECT_EQ(driver.CountBoxes(), 0) << "no error";
    EXPECT_EQ(ReadFile(folder.ReminderFile()), ReminderRecordBytes("10:30", kTodayDate, "dos"));
    EXPECT_EQ(CloseWithX(), 0);
}

INSTANTIATE_TEST_SUITE_P(Files, EditorFileAttributesTest, testing::ValuesIn(ReadOnlyAndHidden()),
                         FileAttributesTestName<testing::TestParamInfo<unsigned>>);

class EditorInstalledTest : public EditorOddInputTest,
                            public testing::WithParamInterface<std::string> {
  protected:
    EditorInstalledTest() : EditorOddInputTest(GetParam()) {}
};

TEST_P(EditorInstalledTest, WritesTheReminderFileBesideIt) {
    Open();
    PickDay(2026, 12, 6);
    WriteReminder("Comprar pan");
    EXPECT_EQ(ListToday(1), std::vector<std::string>{"1 ##:## Comprar pan"});
    EXPECT_EQ(RemindersIn(folder.ReminderFile()).size(), 1u);
    EXPECT_EQ(CloseWithX(), 0);
}

INSTANTIATE_TEST_SUITE_P(Folders, EditorInstalledTest, testing::ValuesIn(UnusualFolderNames()),
                         UnusualFolderTestName<testing::TestParamInfo<std::string>>);
