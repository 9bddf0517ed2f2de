// The notifier under Wine with damaged, huge and oddly placed reminder files, and installed in
// folders with long and non-Latin names. Whatever it finds, it greets, shows today's whole live
// records in file order, leaves the file as it was and exits with 0.
#include "notifier_test.h"
#include "reminder_record.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <random>

namespace {

namespace fs = std::filesystem;

const char kToday[] = "2026-12-06 09:05:07";
const char kTodayDate[] = "6 Diciembre 2026";

std::string AlertFor(const std::string& time, const std::string& text) {
    return "Tienes un recordatorio para Hoy 06/12/2026 Domingo a las " + time +
           " : \r\n\r\nRecuerda :\r\n\r\n" + text;
}

std::string RandomBytes(std::mt19937& random, size_t size) {
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

class NotifierOddInputTest : public NotifierTest {
  protected:
    using NotifierTest::NotifierTest;

    // Runs the notifier on 6 December 2026: the greeting, then exactly these alerts in order.
    void ExpectGreetingAndAlerts(const std::vector<std::string>& alerts) {
        Process notifier = Start(kToday);
        EXPECT_EQ(ReadAndClose(kGreetingCaption),
                  "Hoy es 6 Diciembre 2026 Domingo\r\n\r\nSan Nicolas de Bari");
        for (const std::string& alert : alerts)
            EXPECT_EQ(ReadAndClose("Recordatorio"), alert);
        ExpectEndsWithoutMoreBoxes(notifier);
    }
};

} // namespace

TEST_F(NotifierOddInputTest, RandomBytesAroundRecordsOfToday) {
    std::mt19937 random(1085);
    // A record of today whose time and text are noise: shown as the fields hold them.
    std::string noisy = RandomBytes(random, kRecordSize);
    noisy.replace(kDateOffset, sizeof kTodayDate, kTodayDate, sizeof kTodayDate);
    noisy.replace(kActiveOffset, 4, "\x01\x00\x00\x00", 4);
    Reminder noise = DecodeRecord(ConstRecordBytes(noisy.data(), kRecordSize));
    // A stored 255 reads as a zero byte, where the box's text ends.
    std::string noiseAlert = AlertFor(noise.time, noise.text);
    noiseAlert = noiseAlert.substr(0, noiseAlert.find('\0'));

    std::string bytes = RandomBytes(random, 5 * kRecordSize) +
                        ReminderRecordBytes("09:30", kTodayDate, "Comprar pan") + noisy +
                        RandomBytes(random, 3 * kRecordSize + 611);
    WriteFile(folder.ReminderFile(), bytes);
    ExpectGreetingAndAlerts({AlertFor("09:30", "Comprar pan"), noiseAlert});
    EXPECT_EQ(ReadFile(folder.ReminderFile()), bytes);
}

TEST_F(NotifierOddInputTest, PartialRecordOfTodayAtTheEndIsNotShown) {
    std::string bytes = ReminderRecordBytes("09:30", kTodayDate, "entero") +
                        ReminderRecordBytes("10:00", kTodayDate, "cortado").substr(0, 1084);
    WriteFile(folder.ReminderFile(), bytes);
    ExpectGreetingAndAlerts({AlertFor("09:30", "entero")});
    EXPECT_EQ(ReadFile(folder.ReminderFile()), bytes);
}

// A sparse file of 1 GiB: about 990,000 deleted (all-zero) records between a record of today at
// the start and one as the last whole record. It takes no room on disk.
TEST_F(NotifierOddInputTest, HugeFileIsReadToItsLastWholeRecord) {
    constexpr off_t kSize = off_t{1} << 30;
    constexpr off_t kLastRecord = (kSize / kRecordSize - 1) * kRecordSize;
    std::string first = ReminderRecordBytes("09:30", kTodayDate, "primero");
    std::string last = ReminderRecordBytes("23:59", kTodayDate, "\xFAltimo");
    WriteSparseFile(folder.ReminderFile(), kSize, {{0, first}, {kLastRecord, last}});
    struct stat before {};
    ASSERT_EQ(stat(folder.ReminderFile().c_str(), &before), 0);
    ASSERT_LT(before.st_blocks * 512, 1 << 20) << "the file system made the file take room";

    auto started = std::chrono::steady_clock::now();
    ExpectGreetingAndAlerts({AlertFor("09:30", "primero"), AlertFor("23:59", "\xFAltimo")});
    std::cout << "1 GiB file: "
              << std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count()
              << " s from start to exit\n";

    struct stat after {};
    ASSERT_EQ(stat(folder.ReminderFile().c_str(), &after), 0);
    EXPECT_EQ(after.st_size, kSize);
    EXPECT_EQ(after.st_blocks, before.st_blocks);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    std::array<char, kRecordSize> record;
    int fd = open(folder.ReminderFile().c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(pread(fd, record.data(), record.size(), 0), static_cast<ssize_t>(kRecordSize));
    EXPECT_EQ(std::string(record.data(), record.size()), first);
    EXPECT_EQ(pread(fd, record.data(), record.size(), kLastRecord),
              static_cast<ssize_t>(kRecordSize));
    EXPECT_EQ(std::string(record.data(), record.size()), last);
    close(fd);
}

TEST_F(NotifierOddInputTest, FolderNamedLikeTheReminderFileGivesNoReminders) {
    fs::create_directory(folder.ReminderFile());
    ExpectGreetingAndAlerts({});
    EXPECT_TRUE(fs::is_directory(folder.ReminderFile()));
    EXPECT_TRUE(fs::is_empty(folder.ReminderFile()));
}

// Attributes set from the Windows side, as a user or another program would set them.
class NotifierFileAttributesTest : public NotifierOddInputTest,
                                   public testing::WithParamInterface<unsigned> {};

TEST_P(NotifierFileAttributesTest, FileIsReadAndKeepsItsAttributes) {
    std::string bytes = ReminderRecordBytes("09:30", kTodayDate, "Comprar pan");
    WriteFile(folder.ReminderFile(), bytes);
    std::string path = folder.WindowsPath(folder.ReminderFile());
    unsigned attributes = driver.SetAttributes(path, GetParam());
    ASSERT_EQ(attributes & GetParam(), GetParam());
    ExpectGreetingAndAlerts({AlertFor("09:30", "Comprar pan")});
    EXPECT_EQ(driver.Attributes(path), attributes);
    EXPECT_EQ(ReadFile(folder.ReminderFile()), bytes);
}

INSTANTIATE_TEST_SUITE_P(Files, NotifierFileAttributesTest, testing::ValuesIn(ReadOnlyAndHidden()),
                         FileAttributesTestName<testing::TestParamInfo<unsigned>>);

// The installation folder's name; the reminder file lies beside the program.
class NotifierInstalledTest : public NotifierOddInputTest,
                              public testing::WithParamInterface<std::string> {
  protected:
    NotifierInstalledTest() : NotifierOddInputTest(GetParam()) {}
};

TEST_P(NotifierInstalledTest, FindsTheReminderFileBesideIt) {
    std::string bytes = ReminderRecordBytes("09:30", kTodayDate, "Comprar pan");
    WriteFile(folder.ReminderFile(), bytes);
    ExpectGreetingAndAlerts({AlertFor("09:30", "Comprar pan")});
    EXPECT_EQ(ReadFile(folder.ReminderFile()), bytes);
}

INSTANTIATE_TEST_SUITE_P(Folders, NotifierInstalledTest, testing::ValuesIn(UnusualFolderNames()),
                         UnusualFolderTestName<testing::TestParamInfo<std::string>>);
