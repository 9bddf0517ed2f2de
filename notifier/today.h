// A day as the notifier greets it and matches reminders to it.
#pragma once

#include <cstdint>
#include <string>

// The local day that the notifier greets: a plain start reads it once, the day watch at each new
// day. TodayFromDate (greeting.h) makes it.
struct Today {
    int16_t day = 0;
    int16_t month = 0;
    int16_t year = 0;
    std::string shortDate; // "06/12/2026"
    std::string longDate;  // "6 Diciembre 2026", the form of a reminder's date
    std::string weekday;   // "Domingo"
};
