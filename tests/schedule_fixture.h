#pragma once

#include "worktime/schedule.h"
#include "worktime/workpattern.h"

namespace kelvator::testing {

// A second of the day from hours, minutes and seconds.
inline int Sec(int h, int m, int s = 0)
{
    return h * 3600 + m * 60 + s;
}

// The usual work day, 07:00 to 16:00, without breaks.
inline WorkSchedule SevenToFour()
{
    WorkSchedule s;
    s.workStart = Sec(7, 0);
    s.workEnd = Sec(16, 0);
    return s;
}

// Seven to four, and seven to one on Fridays.
inline WeekdayHours ShortFridays()
{
    constexpr int kHour = 3600;
    WeekdayHours hours;
    hours.fill(DaySpan{7 * kHour, 16 * kHour});
    hours[4] = DaySpan{7 * kHour, 13 * kHour};
    return hours;
}

} // namespace kelvator::testing
