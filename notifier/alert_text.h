// The texts of the boxes that show a reminder: one of today's, or one of a day the user missed.
#pragma once

#include "reminder_record.h"
#include "today.h"

#include <string>

// "Tienes un recordatorio para Hoy 06/12/2026 Domingo a las 09:30 : ", two line breaks,
// "Recuerda :", two line breaks and the reminder's text.
std::string AlertText(const Today& today, const Reminder& reminder);

// The box of a reminder of a day that the user did not see (`day`, its own): "Tenías un
// recordatorio para el 06/12/2026 Domingo a las 09:30 : ", then as above.
std::string MissedAlertText(const Today& day, const Reminder& reminder);

// A live reminder whose date is today's long date text, byte for byte.
bool IsReminderForToday(const Reminder& reminder, const Today& today);
