// The save loop: rewrites the reminder file of the folder named on its command line with two
// tables in turn, one SaveReminders after the other, until it is killed. The crash test kills it
// at random moments and checks that the file always holds one whole table or the other.
#include "reminder_file.h"
#include "save_tables.h"

#include <utility>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2)
        return 2;
    gExeFolder = argv[1];
    if (gExeFolder.empty() || gExeFolder.back() != L'\\')
        gExeFolder += L'\\';
    std::vector<Reminder> tables[2] = {SaveTable('A'), SaveTable('B')};
    for (size_t round = 0;; ++round) {
        std::swap(gReminders, tables[round % 2]);
        SaveReminders();
        std::swap(gReminders, tables[round % 2]);
    }
}
