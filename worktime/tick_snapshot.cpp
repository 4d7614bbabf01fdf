#include "worktime/tick_snapshot.h"

#include "calendar/calendar_texts.h"

namespace kelvator {

TickMoment MomentOf(const QDateTime& now, const WorkCalendar& calendar)
{
    TickMoment m;
    m.now = now;
    m.today = now.date();
    m.time = now.time();
    m.value = ToDateTime(m.today, QTime::fromMSecsSinceStartOfDay(m.time.msecsSinceStartOfDay()));
    m.secondOfDay = SecondOfDay(m.time);
    m.workday = calendar.IsWorkingDay(m.today);
    m.weekdayName = WeekdayName(m.today);
    return m;
}

ScheduleFields ScheduleFieldsOf(const Settings& settings)
{
    ScheduleFields f;
    f.startHour = settings.workStartHour;
    f.startMinute = settings.workStartMinute;
    f.endHour = settings.workEndHour;
    f.endMinute = settings.workEndMinute;
    for (size_t i = 0; i < 3; ++i) {
        f.breakHour[i] = settings.breaks[i].hour;
        f.breakMinute[i] = settings.breaks[i].minute;
        f.breakLength[i] = settings.breaks[i].length;
    }
    return f;
}

WorkSnapshot ComputeWorkSnapshot(const TickMoment& m, const Settings& settings,
                                 const WorkCalendarModel& calendar)
{
    WorkSnapshot s;
    s.schedule = ReadSchedule(ScheduleFieldsOf(settings));
    s.pattern = calendar.Pattern(s.schedule);
    if (calendar.WeekdayHoursInUse()) {
        // Today's own span drives the day bar, the work-end signal and the clock faces.
        const DaySpan today = s.pattern.spanOf(m.today);
        s.schedule.workStart = today.start;
        s.schedule.workEnd = today.end;
    }
    s.dayBar = DayBarValue(s.pattern, m.today, m.secondOfDay);
    s.weekBar = WeekBarValue(s.pattern, m.today, m.secondOfDay);
    s.monthWork = CountMonthWork(s.pattern, m.today, m.secondOfDay);
    // A month the user has taken off entirely has nothing due: nothing to show progress of.
    s.monthProgress = s.monthWork.dueSeconds == 0 && calendar.Enabled() ? 0 : MonthProgress(s.monthWork);
    int row = settings.paydayRow;
    if (row < 0 || row > kLastDayRow)
        row = kDefaultPaydayRow; // a list left without a choice still has a payday
    s.payday = PaydayOf(m.today, row, settings.weekendPayday, s.pattern.isWorkingDay);
    s.yearProgress = YearProgress(m.today);
    return s;
}

MonthPay MonthPayOf(const WorkSnapshot& s, double salary, bool weekdayHoursInUse)
{
    MonthPay pay;
    pay.earned = EarnedText(salary, s.monthProgress);
    const MonthWork& monthWork = s.monthWork;
    if (monthWork.workingDays == 0)
        return pay; // nothing due this month: no wage to work out
    if (!weekdayHoursInUse)
        pay.hourlyWage = HourlyWageText(salary, monthWork.workingDays, s.schedule.Length());
    else if (monthWork.dueSeconds > 0)
        pay.hourlyWage = HourlyWageText(salary, monthWork);
    return pay;
}

} // namespace kelvator
