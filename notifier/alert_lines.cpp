#include "alert_lines.h"

#include "alert_text.h"
#include "day_watch_rules.h"

#include <algorithm>

namespace {

// An edit control breaks lines only at CR LF; the editor's file may hold a lone CR or LF.
std::string WithCrLfBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

AlertLine MakeAlertLine(const ReminderId& id, const Reminder& reminder) {
    return {id, TodayAt(id.moment), reminder};
}

std::string AlertLineText(const AlertLine& line) {
    const std::string& text = line.reminder.text;
    return line.day.shortDate + " " + line.day.weekday + " " + line.reminder.time + "\t" +
           text.substr(0, text.find_first_of("\r\n"));
}

std::string AlertLineDetail(const AlertLine& line, int32_t today) {
    return WithCrLfBreaks(DayOf(line.id.moment) == today
                              ? AlertText(line.day, line.reminder)
                              : MissedAlertText(line.day, line.reminder));
}

size_t AlertLinePosition(const std::vector<AlertLine>& lines, const ReminderId& id) {
    auto after = std::upper_bound(lines.begin(), lines.end(), id,
                                  [](const ReminderId& a, const AlertLine& b) { return a < b.id; });
    return static_cast<size_t>(after - lines.begin());
}
