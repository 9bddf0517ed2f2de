// The reminder file _Recordatorios_.log of one folder, and the jobs that load it and add to it
// (reminder_rewrite.h rewrites it). Each job opens the file exclusively, does its work and closes
// it again, and returns 0 when done or the file error number of what failed; a file that another
// program holds for a moment is waited for (held_file.h). None shows anything: each program
// decides what to report.
#pragma once

#include "file_stamp.h"
#include "reminder_record.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Where one folder's reminder file lies: made once at start-up from the program's folder and
// handed to every job.
class ReminderFile {
  public:
    // `folder` ends with a backslash, as ExeFolder gives it.
    explicit ReminderFile(std::wstring folder);

    const std::wstring& Folder() const { return folder_; }
    // folder + "_Recordatorios_.log", in the form that reaches the file system at any length.
    const std::wstring& Path() const { return path_; }
    // Another file of the same folder, in the same form.
    std::wstring Beside(std::wstring_view name) const;

  private:
    std::wstring folder_;
    std::wstring path_;
};

// What a load does when the file is missing: the editor's load after its question creates it
// empty, so that the file is there once the user has answered; every other load leaves it
// missing (53, File not found), so that opening a program makes no file.
enum class IfMissing { Create, Leave };

// Replaces `table` with the whole records of the file. A file that is missing, cannot be opened
// or read, or does not fit in memory leaves the table empty.
int LoadReminders(const ReminderFile& file, std::vector<Reminder>& table, IfMissing ifMissing);

// The same, and `stamp` becomes the stamp of what was read (file_stamp.h): the empty stamp when
// the file is missing, none when the load failed otherwise.
int LoadReminders(const ReminderFile& file, std::vector<Reminder>& table, IfMissing ifMissing,
                  std::optional<FileStamp>& stamp);

// Adds one record after the last whole record of the file; on failure the file keeps what it
// had.
int AppendReminder(const ReminderFile& file, std::string_view time, std::string_view date,
                   std::string_view text, int32_t active);
