#pragma once

#include "calendar/workcalendar.h"
#include "worktime/schedule.h"

#include <QDate>
#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace kelvator {

// One day's work span in seconds since local midnight.
struct DaySpan {
    int start = 0;
    int end = 0;
    int Length() const { return end - start; }
    bool operator==(const DaySpan&) const = default;
};

// Work hours per weekday, Monday first.
using WeekdayHours = std::array<DaySpan, 5>;
// "07:00-16:00;...;07:00-13:30": five ranges, each ending after it starts; nullopt otherwise.
std::optional<WeekdayHours> ParseWeekdayHours(const QString& text);
QString WeekdayHoursText(const WeekdayHours& hours);

// Which days are worked and each day's span. The plain pattern (Monday to Friday, one span)
// gives exactly the single-schedule results of schedule.h.
struct WorkPattern {
    std::function<bool(const QDate&)> isWorkingDay;
    std::function<DaySpan(const QDate&)> spanOf;
};
WorkPattern PlainPattern(const WorkSchedule& s);
// The calendar's working days; with hours per weekday, a weekday its own row and a worked
// weekend day the row of the weekday it stands in for (the settings' span when it has none).
WorkPattern MakePattern(const WorkCalendar& calendar, const WorkSchedule& s,
                        const std::optional<WeekdayHours>& hours);

// Seconds of the day's span worked by second s of that day.
int WorkedPart(const DaySpan& span, int s);

double DayBarValue(const WorkPattern& p, const QDate& today, int secondOfDay);
// Worked time of the week's working days so far over their total; 1 in a week with nothing due
// on a rest day. Throws std::domain_error when today is worked and the week's total is zero.
double WeekBarValue(const WorkPattern& p, const QDate& today, int secondOfDay);

struct MonthWork {
    int workingDays = 0;
    qint32 dueSeconds = 0;
    qint32 doneSeconds = 0;
};
MonthWork CountMonthWork(const WorkPattern& p, const QDate& today, int secondOfDay);
// Throws std::domain_error where nothing is due.
double MonthProgress(const MonthWork& w);
// "Órabér = ..." from the month's total work time.
QString HourlyWageText(double salary, const MonthWork& w);

} // namespace kelvator
