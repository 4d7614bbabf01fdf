#include "calendar/tdatetime.h"

#include <cmath>

namespace kelvator {

namespace {
constexpr qint64 kMsPerDay = 86'400'000;

QDate ClampDate(int year, int month, int day)
{
    if (year < kMinYear)
        return QDate(kMinYear, 1, 1);
    if (year > kMaxYear)
        return QDate(kMaxYear, 12, 31);
    const int last = QDate(year, month, 1).daysInMonth();
    return QDate(year, month, day > last ? last : day);
}
} // namespace

QDate BaseDate()
{
    return QDate(1899, 12, 30);
}

TDateTime ToDateTime(const QDate& date, const QTime& time)
{
    const double days = static_cast<double>(BaseDate().daysTo(date));
    const double ms = time.isValid() ? time.msecsSinceStartOfDay() : 0;
    return days + ms / kMsPerDay;
}

TDateTime ToDateTime(const QDateTime& moment)
{
    return ToDateTime(moment.date(), moment.time());
}

namespace {
// Splits a moment into whole days and milliseconds of the day, rounding to the millisecond.
bool Split(TDateTime t, qint64& days, qint64& ms)
{
    if (!std::isfinite(t) || t < -693'594.0 || t > 2'958'466.0)
        return false;
    double whole = std::floor(t);
    ms = std::llround((t - whole) * kMsPerDay);
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        whole += 1;
    }
    days = static_cast<qint64>(whole);
    return true;
}
} // namespace

QDate DateOf(TDateTime t)
{
    qint64 days = 0;
    qint64 ms = 0;
    if (!Split(t, days, ms))
        return {};
    const QDate d = BaseDate().addDays(days);
    return d.year() >= kMinYear && d.year() <= kMaxYear ? d : QDate();
}

QTime TimeOf(TDateTime t)
{
    qint64 days = 0;
    qint64 ms = 0;
    if (!Split(t, days, ms))
        return {};
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
}

QDateTime ToQDateTime(TDateTime t)
{
    return QDateTime(DateOf(t), TimeOf(t));
}

bool IsWorkday(const QDate& date)
{
    return date.dayOfWeek() < 6;
}

TDateTime NoonOf(TDateTime t)
{
    if (!std::isfinite(t))
        return t;
    qint64 days = 0;
    qint64 ms = 0;
    if (!Split(t, days, ms))
        return std::floor(t) + 0.5;
    return static_cast<double>(days) + 0.5;
}

QDate ShiftMonths(const QDate& date, int months)
{
    if (!date.isValid())
        return date;
    const long long total = static_cast<long long>(date.year()) * 12 + (date.month() - 1) + months;
    const long long year = total >= 0 ? total / 12 : -((-total + 11) / 12);
    const int month = static_cast<int>(total - year * 12) + 1;
    if (year < kMinYear)
        return ClampDate(kMinYear - 1, 1, 1);
    if (year > kMaxYear)
        return ClampDate(kMaxYear + 1, 1, 1);
    return ClampDate(static_cast<int>(year), month, date.day());
}

TDateTime ShiftMonths(TDateTime t, int months)
{
    const QDate date = DateOf(t);
    if (!date.isValid())
        return t;
    return ToDateTime(ShiftMonths(date, months), TimeOf(t));
}

bool StepStaysInRange(const QDate& date, int months, int days)
{
    if (!date.isValid())
        return false;
    const long long total = static_cast<long long>(date.year()) * 12 + (date.month() - 1) + months;
    if (total < static_cast<long long>(kMinYear) * 12 || total > static_cast<long long>(kMaxYear) * 12 + 11)
        return false;
    const QDate moved = ShiftMonths(date, months).addDays(days);
    return moved.isValid() && moved.year() >= kMinYear && moved.year() <= kMaxYear;
}

int IsoWeekNumber(const QDate& date)
{
    return date.weekNumber();
}

int IsoWeeksInYear(int year)
{
    const int jan1 = QDate(year, 1, 1).dayOfWeek();
    return jan1 == 4 || (jan1 == 3 && QDate::isLeapYear(year)) ? 53 : 52;
}

int SecondOfDay(const QTime& time)
{
    return time.hour() * 3600 + time.minute() * 60 + time.second();
}

} // namespace kelvator
