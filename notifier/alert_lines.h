// The lines of the alerts window (alert_window.h), apart from Win32: what each line and the detail
// below the list say, where a new line goes, and the times a reminder can be put off by.
#pragma once

#include "reminder_id.h"
#include "reminder_record.h"
#include "today.h"

#include <cstdint>
#include <string>
#include <vector>

// A reminder due and not yet closed: its name for the watch, its day and the record as it was read.
struct AlertLine {
    ReminderId id;
    Today day;
    Reminder reminder;
};

AlertLine MakeAlertLine(const ReminderId& id, const Reminder& reminder);

// "06/12/2026 Domingo 09:30", a tab and the first line of the text; "##:##" for a reminder
// without a time.
std::string AlertLineText(const AlertLine& line);

// The line's reminder as its box says it on the day `today` (20261206): "Tienes un recordatorio
// para Hoy ..." on its own day, "Tenías un recordatorio para el ..." after it. Every line break is
// CR LF, as an edit control shows it.
std::string AlertLineDetail(const AlertLine& line, int32_t today);

// Where a line of that reminder goes among `lines`, which are oldest first.
size_t AlertLinePosition(const std::vector<AlertLine>& lines, const ReminderId& id);

struct SnoozeChoice {
    const char* text;
    int minutes;
};
// The drop-down list beside "Posponer", the first the default.
inline constexpr SnoozeChoice kSnoozeChoices[] = {
    {"5 minutos", 5},
    {"10 minutos", 10},
    {"15 minutos", 15},
    {"30 minutos", 30},
    {"1 hora", 60},
    {"2 horas", 120},
    {"1 d\xED"
     "a",
     24 * 60},
};
