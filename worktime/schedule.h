#pragma once

#include "calendar/tdatetime.h"

#include <QString>

#include <array>
#include <stdexcept>

namespace kelvator {

// A field that should hold a whole number but does not.
class FieldError : public std::runtime_error {
public:
    explicit FieldError(const QString& text);
};

// A decimal whole number, optionally signed, blanks around it allowed; throws FieldError.
int ParseWholeNumber(const QString& text);
// The same without throwing; false for anything that is not a whole number.
bool TryParseWholeNumber(const QString& text, int& value);

// The texts of the settings fields the schedule is computed from.
struct ScheduleFields {
    QString startHour, startMinute, endHour, endMinute;
    std::array<QString, 3> breakHour, breakMinute, breakLength;
};

// The work day in seconds since local midnight.
struct WorkSchedule {
    int workStart = 0;
    int workEnd = 0;
    std::array<int, 3> breakStart{};
    std::array<int, 3> breakEnd{};
    int Length() const { return workEnd - workStart; }
    bool operator==(const WorkSchedule&) const = default;
};

// Reads the fields in the order work start, work end, breaks 1-3; throws FieldError.
WorkSchedule ReadSchedule(const ScheduleFields& fields);

struct MonthCounters {
    int workdaysInMonth = 0;
    int workdaysDone = 0;
    int partial = 0; // seconds worked today, while the work day runs
};

double DayBarValue(bool workday, int secondOfDay, const WorkSchedule& s);
// isoDay is Monday 1 ... Sunday 7. Throws std::domain_error for a zero-length work day.
double WeekBarValue(int isoDay, int secondOfDay, const WorkSchedule& s);
MonthCounters CountMonth(const QDate& today, int secondOfDay, const WorkSchedule& s);
// Share of this month's work done; throws std::domain_error where nothing is due.
double MonthProgress(const MonthCounters& c, const WorkSchedule& s);

int DayOfYear(const QDate& date);
int DaysInYear(int year);
double YearProgress(const QDate& date);

// "Szilveszterig: " and the distance to 31 December, or "Szilveszter" on the day itself.
struct NewYearsEve {
    bool isToday = false;
    QString distance; // "4 hónap, 30 nap." (empty on 31 December)
    QString LabelText() const;
};
NewYearsEve NewYearsEveText(TDateTime now);

struct TimeTexts {
    bool afternoon = false;
    QString hourMinute; // "1:05"
    QString second;     // "09"
};
TimeTexts MakeTimeTexts(const QTime& time, bool twelveHour);

// "2016.08.01. Hétfő"
QString DateLabelText(const QDate& date);
// " / 52 hét"
QString WeeksInYearText(int year);

} // namespace kelvator
