// The save loop: rewrites the reminder file of the folder named on its command line with two
// tables in turn, one SaveReminders after the other, until it is killed. The crash test kills it
// at random moments and checks that the file always holds one whole table or the other.
#include "reminder_rewrite.h"
#include "save_tables.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 2)
        return 2;
    std::wstring folder = argv[1];
    if (folder.empty() || folder.back() != L'\\')
        folder += L'\\';
    ReminderFile file(folder);
    const std::vector<Reminder> tables[2] = {SaveTable('A'), SaveTable('B')};
    for (size_t round = 0;; ++round)
        SaveReminders(file, tables[round % 2]);
}
