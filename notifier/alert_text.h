// The text of the box that shows one of today's reminders.
#pragma once

#include "reminder_record.h"
#include "today.h"

#include <string>

// "Tienes un recordatorio para Hoy 06/12/2026 Domingo a las 09:30 : ", two line breaks,
// "Recuerda :", two line breaks and the reminder's text.
std::string AlertText(const Today& today, const Reminder& reminder);

// A live reminder whose date is today's long date text, byte for byte.
bool IsReminderForToday(const Reminder& reminder, const Today& today);
