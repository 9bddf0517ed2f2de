// The bytes of reminder records as the programs write them, for preparing and checking reminder
// files: on the Windows side and the Linux side of the tests alike.
#pragma once

#include "reminder_record.h"

#include <array>
#include <string>

inline std::string ReminderRecordBytes(const Reminder& reminder) {
    std::array<char, kRecordSize> record;
    EncodeRecord(reminder, record);
    return std::string(record.data(), record.size());
}

inline std::string ReminderRecordBytes(const char* time, const char* date, const char* text,
                                       int32_t active = 1) {
    return ReminderRecordBytes(MakeReminder(time, date, text, active));
}
