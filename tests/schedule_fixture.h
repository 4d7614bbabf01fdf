#pragma once

#include "worktime/schedule.h"

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

} // namespace kelvator::testing
