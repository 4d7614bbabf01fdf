#pragma once

#include "calendar/tdatetime.h"

#include <QString>

namespace kelvator {

// "Hétfő" ... "Vasárnap" for the ISO weekday of the date.
QString WeekdayName(const QDate& date);
QString WeekdayName(TDateTime t);
// "Január" ... "December"; empty outside 1-12.
QString MonthName(int month);

// How far moment lies from now, in one Hungarian sentence ("12,0 óra múlva lesz.").
QString RelativeTimeText(bool timeOfDayCounts, bool inDaysOnly, TDateTime moment, TDateTime now);

// Years, months and days (and hours:minutes) from first to second; the sign is that of
// second - first.
QString DateDifferenceText(bool timeOfDayCounts, bool withSign, TDateTime first, TDateTime second);

// "07" for 7: at least two digits, as in times of day and the settings' month keys (n >= 0).
QString TwoDigits(int n);

// "2024.05.07." for a date.
QString DateText(const QDate& date);

} // namespace kelvator
