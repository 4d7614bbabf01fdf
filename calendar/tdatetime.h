#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

// A moment as whole days since 1899-12-30 plus the time of day as the fraction.
// The scale is linear before 1899 too (-0.25 is 29 December 1899, 18:00).
using TDateTime = double;

namespace kelvator {

constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;

QDate BaseDate();

TDateTime ToDateTime(const QDate& date, const QTime& time = QTime(0, 0));
TDateTime ToDateTime(const QDateTime& moment);
// Invalid for a value that is not finite or lies outside years 1-9999.
QDate DateOf(TDateTime t);
QTime TimeOf(TDateTime t);
QDateTime ToQDateTime(TDateTime t);

bool IsWorkday(const QDate& date);

// The same date at 12:00:00.000.
TDateTime NoonOf(TDateTime t);

// Moves the date by whole months, keeping the time of day; a day missing from the target
// month becomes its last day. Results outside years 1-9999 are held at the range's ends.
TDateTime ShiftMonths(TDateTime t, int months);
QDate ShiftMonths(const QDate& date, int months);
// Whether the date moved by these months and days stays within years 1-9999.
bool StepStaysInRange(const QDate& date, int months, int days);

int IsoWeekNumber(const QDate& date);
int IsoWeeksInYear(int year);

// Seconds since local midnight of the wall-clock time.
int SecondOfDay(const QTime& time);

} // namespace kelvator
