#include "worktime/schedule.h"

#include "calendar/calendar_texts.h"
#include "calendar/numbermask.h"

namespace kelvator {

FieldError::FieldError(const QString& text)
    : std::runtime_error(QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString())
{
}

bool TryParseWholeNumber(const QString& text, int& value)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (ok)
        value = v;
    return ok;
}

int ParseWholeNumber(const QString& text)
{
    int value = 0;
    if (!TryParseWholeNumber(text, value))
        throw FieldError(text);
    return value;
}

WorkSchedule ReadSchedule(const ScheduleFields& f)
{
    WorkSchedule s;
    s.workStart = ParseWholeNumber(f.startHour) * 3600 + ParseWholeNumber(f.startMinute) * 60;
    s.workEnd = ParseWholeNumber(f.endHour) * 3600 + ParseWholeNumber(f.endMinute) * 60;
    for (size_t i = 0; i < 3; ++i) {
        s.breakStart[i] = ParseWholeNumber(f.breakHour[i]) * 3600 + ParseWholeNumber(f.breakMinute[i]) * 60;
        s.breakEnd[i] = s.breakStart[i] + ParseWholeNumber(f.breakLength[i]) * 60;
    }
    return s;
}

double DayBarValue(bool workday, int secondOfDay, const WorkSchedule& s)
{
    if (!workday || secondOfDay < s.workStart)
        return 0;
    if (secondOfDay >= s.workEnd)
        return 1;
    return static_cast<double>(secondOfDay - s.workStart) / s.Length();
}

double WeekBarValue(int isoDay, int secondOfDay, const WorkSchedule& s)
{
    if (isoDay >= 6)
        return 1;
    const int length = s.Length();
    if (length == 0)
        throw std::domain_error("A kelvator vége megegyezik a kezdetével: a munkanap hossza nulla.");
    const int done = (isoDay - 1) * length;
    int worked = done;
    if (secondOfDay >= s.workEnd)
        worked = done + length;
    else if (secondOfDay >= s.workStart)
        worked = done + secondOfDay - s.workStart;
    return static_cast<double>(worked) / (5 * length);
}

MonthCounters CountMonth(const QDate& today, int secondOfDay, const WorkSchedule& s)
{
    MonthCounters c;
    const QDate first(today.year(), today.month(), 1);
    const int firstDow = first.dayOfWeek();
    for (int day = 1; day <= today.daysInMonth(); ++day) {
        const bool workday = (firstDow - 1 + day - 1) % 7 < 5;
        if (!workday)
            continue;
        ++c.workdaysInMonth;
        if (day < today.day())
            ++c.workdaysDone;
    }
    const bool todayWorkday = IsWorkday(today);
    if (todayWorkday && secondOfDay >= s.workEnd)
        ++c.workdaysDone;
    if (todayWorkday && secondOfDay >= s.workStart && secondOfDay < s.workEnd)
        c.partial = secondOfDay - s.workStart;
    return c;
}

double MonthProgress(const MonthCounters& c, const WorkSchedule& s)
{
    const qint32 length = s.Length();
    const qint32 due = length * c.workdaysInMonth;
    if (due == 0)
        throw std::domain_error("A munkahónap hossza nulla.");
    const qint32 done = length * c.workdaysDone + c.partial;
    return static_cast<double>(done) / due;
}

int DayOfYear(const QDate& date)
{
    return date.dayOfYear();
}

int DaysInYear(int year)
{
    return QDate::isLeapYear(year) ? 366 : 365;
}

double YearProgress(const QDate& date)
{
    return static_cast<double>(DayOfYear(date)) / DaysInYear(date.year());
}

QString NewYearsEve::LabelText() const
{
    return isToday ? QStringLiteral("Szilveszter") : QStringLiteral("Szilveszterig: ") + distance;
}

NewYearsEve NewYearsEveText(TDateTime now)
{
    NewYearsEve e;
    const QDate today = DateOf(now);
    e.isToday = DayOfYear(today) >= DaysInYear(today.year());
    if (!e.isToday)
        e.distance = DateDifferenceText(false, false, now, ToDateTime(QDate(today.year(), 12, 31))) + u'.';
    return e;
}

TimeTexts MakeTimeTexts(const QTime& time, bool twelveHour)
{
    TimeTexts t;
    int hour = time.hour();
    if (twelveHour && hour >= 12) {
        t.afternoon = true;
        if (hour > 12)
            hour -= 12;
    }
    t.hourMinute = FormatMask(hour, u"0") + u':' + FormatMask(time.minute(), u"00");
    t.second = FormatMask(time.second(), u"00");
    return t;
}

QString DateLabelText(const QDate& date)
{
    return DateText(date) + u' ' + WeekdayName(date);
}

QString WeeksInYearText(int year)
{
    return QStringLiteral(" / ") + QString::number(IsoWeeksInYear(year)) + QStringLiteral(" hét");
}

} // namespace kelvator
