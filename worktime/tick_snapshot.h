#pragma once

#include "calendar/tdatetime.h"
#include "settings/settings_model.h"
#include "worktime/payday.h"
#include "worktime/schedule.h"
#include "worktime/workcalendar_model.h"
#include "worktime/workpattern.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace kelvator {

// What one tick knows of the moment it runs at; the clock is read once per tick.
struct TickMoment {
    QDateTime now;
    TDateTime value = 0;
    QDate today;
    QTime time;
    int secondOfDay = 0;
    bool workday = false;
    QString weekdayName;
};
TickMoment MomentOf(const QDateTime& now, const WorkCalendar& calendar);

// What the work-time page shows of one tick, worked out from the moment, the settings and the
// work calendar alone.
struct WorkSnapshot {
    // Today's span when the hours per weekday are in use, else the settings page's day.
    WorkSchedule schedule;
    WorkPattern pattern;
    double dayBar = 0;
    double weekBar = 0;
    MonthWork monthWork;
    double monthProgress = 0;
    PaydayChoice payday;
    double yearProgress = 0;
};

// The settings page's fields the schedule is read from.
ScheduleFields ScheduleFieldsOf(const Settings& settings);
WorkSnapshot ComputeWorkSnapshot(const TickMoment& moment, const Settings& settings,
                                 const WorkCalendarModel& calendar);

// The pay line of a monthly salary: what is earned so far, and the hourly wage when the month
// has work due (without, the page keeps the wage it showed before).
struct MonthPay {
    QString earned;
    std::optional<QString> hourlyWage;
};
MonthPay MonthPayOf(const WorkSnapshot& snapshot, double salary, bool weekdayHoursInUse);

} // namespace kelvator
