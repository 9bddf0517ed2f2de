// The two reminder tables that the save loop (driver/save_loop.cpp) writes in turn, built the
// same way under Wine and in the crash test that checks the file against them.
#pragma once

#include "date_text.h"
#include "reminder_record.h"

#include <string>
#include <vector>

// Table 'A' has 100,000 live entries, table 'B' one fewer; their texts differ throughout.
inline std::vector<Reminder> SaveTable(char which) {
    size_t count = which == 'A' ? 100000 : 99999;
    std::vector<Reminder> table;
    table.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        int day = static_cast<int>(i % 28) + 1;
        int month = static_cast<int>(i / 28 % 12) + 1;
        std::string time = std::to_string(10 + i % 14) + ":" + std::to_string(10 + i % 50);
        std::string text = std::string("Tabla ") + which + ", recordatorio " + std::to_string(i);
        text.resize(text.size() + i % 200, which); // lengths vary from record to record
        table.push_back(MakeReminder(i % 7 == 0 ? "##:##" : time,
                                     LongDateText(day, month, 2026 + static_cast<int>(i % 3)), text,
                                     1));
    }
    return table;
}

// The reminder file that holds exactly the entries of a table.
inline std::string SaveTableFileBytes(char which) {
    std::vector<Reminder> table = SaveTable(which);
    std::string bytes(table.size() * kRecordSize, '\0');
    for (size_t i = 0; i < table.size(); ++i)
        EncodeRecord(table[i], RecordBytes(bytes.data() + i * kRecordSize, kRecordSize));
    return bytes;
}
