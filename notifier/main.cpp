// The notifier: greets the user with today's date and saint, shows today's reminders, ends.
// Started with /diario it stays, as a day watch, does the same at the start of every new day and
// brings each timed reminder again at its time.
#include "day_boxes.h"
#include "day_watch.h"
#include "day_watch_rules.h"
#include "exe_folder.h"
#include "folder_claim.h"
#include "message_box.h"
#include "reminder_file.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
    ReminderFile file(ExeFolder()); // the reminder file beside the program
    StartKind start = StartKindOf(arguments ? arguments : L"");
    if (start != StartKind::Plain) {
        FolderClaim claim(L"notifier", file.Folder()); // one watch per folder and session
        return RunDayWatch(instance, file, claim, start == StartKind::RestartedWatch);
    }
    ShowDayBoxes(file, ReadToday(), kBoxOk);
    return 0;
}
