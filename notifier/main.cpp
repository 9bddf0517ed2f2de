// The notifier: greets the user with today's date and saint, shows today's reminders, ends.
// Started with /diario it stays, as a day watch, and does the same at the start of every new day.
#include "day_boxes.h"
#include "day_watch.h"
#include "day_watch_rules.h"
#include "exe_folder.h"
#include "folder_claim.h"
#include "reminder_file.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
    ReminderFile file(ExeFolder()); // the reminder file beside the program
    if (IsDayWatchCommandLine(arguments ? arguments : L"")) {
        FolderClaim claim(L"notifier", file.Folder()); // one watch per folder and session
        return RunDayWatch(instance, file, claim);
    }
    ShowDayBoxes(file, ReadToday());
    return 0;
}
