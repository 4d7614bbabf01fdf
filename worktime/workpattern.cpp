#include "worktime/workpattern.h"

#include "calendar/numbermask.h"

#include <stdexcept>

namespace kelvator {

namespace {
// "07:30" -> 27000; -1 for anything else.
int ParseClock(const QString& text)
{
    const QString t = text.trimmed();
    if (t.size() != 5 || t[2] != u':')
        return -1;
    int h = 0;
    int m = 0;
    bool okH = false;
    bool okM = false;
    h = t.left(2).toInt(&okH, 10);
    m = t.mid(3, 2).toInt(&okM, 10);
    if (!okH || !okM || !t[0].isDigit() || !t[3].isDigit() || h < 0 || h > 23 || m < 0 || m > 59)
        return -1;
    return h * 3600 + m * 60;
}

QString ClockText(int seconds)
{
    const int hour = seconds / 3600;
    const int minute = seconds / 60 % 60;
    return FormatMask(hour, u"00") + u':' + FormatMask(minute, u"00");
}
} // namespace

std::optional<WeekdayHours> ParseWeekdayHours(const QString& text)
{
    const QStringList ranges = text.split(u';');
    if (ranges.size() != 5)
        return std::nullopt;
    WeekdayHours hours;
    for (size_t i = 0; i < 5; ++i) {
        const QStringList ends = ranges[static_cast<qsizetype>(i)].split(u'-');
        if (ends.size() != 2)
            return std::nullopt;
        hours[i] = DaySpan{ParseClock(ends[0]), ParseClock(ends[1])};
        if (hours[i].start < 0 || hours[i].end < 0 || hours[i].end <= hours[i].start)
            return std::nullopt;
    }
    return hours;
}

QString WeekdayHoursText(const WeekdayHours& hours)
{
    QStringList ranges;
    for (const DaySpan& span : hours)
        ranges << ClockText(span.start) + u'-' + ClockText(span.end);
    return ranges.join(u';');
}

WorkPattern PlainPattern(const WorkSchedule& s)
{
    const DaySpan span{s.workStart, s.workEnd};
    return {[](const QDate& d) { return d.dayOfWeek() < 6; }, [span](const QDate&) { return span; }};
}

WorkPattern MakePattern(const WorkCalendar& calendar, const WorkSchedule& s,
                        const std::optional<WeekdayHours>& hours)
{
    const DaySpan base{s.workStart, s.workEnd};
    WorkPattern p;
    p.isWorkingDay = [calendar](const QDate& d) { return calendar.IsWorkingDay(d); };
    if (!hours) {
        p.spanOf = [base](const QDate&) { return base; };
        return p;
    }
    p.spanOf = [calendar, base, rows = *hours](const QDate& d) {
        int dow = d.dayOfWeek();
        if (dow > 5) {
            // A worked weekend day keeps the hours of the weekday it stands in for.
            const QDate rest = calendar.StandsInFor(d);
            dow = rest.isValid() ? rest.dayOfWeek() : 0;
        }
        return dow >= 1 && dow <= 5 ? rows[static_cast<size_t>(dow - 1)] : base;
    };
    return p;
}

int WorkedPart(const DaySpan& span, int s)
{
    if (s >= span.end)
        return span.Length();
    if (s >= span.start)
        return s - span.start;
    return 0;
}

double DayBarValue(const WorkPattern& p, const QDate& today, int secondOfDay)
{
    if (!p.isWorkingDay(today))
        return 0;
    const DaySpan span = p.spanOf(today);
    if (secondOfDay < span.start)
        return 0;
    if (secondOfDay >= span.end)
        return 1;
    return static_cast<double>(secondOfDay - span.start) / span.Length();
}

double WeekBarValue(const WorkPattern& p, const QDate& today, int secondOfDay)
{
    const QDate monday = today.addDays(1 - today.dayOfWeek());
    int total = 0;
    int done = 0;
    for (int i = 0; i < 7; ++i) {
        const QDate d = monday.addDays(i);
        if (!p.isWorkingDay(d))
            continue;
        const DaySpan span = p.spanOf(d);
        total += span.Length();
        if (d < today)
            done += span.Length();
        else if (d == today)
            done += WorkedPart(span, secondOfDay);
    }
    if (total == 0) {
        if (p.isWorkingDay(today))
            throw std::domain_error("A kelvator vége megegyezik a kezdetével: a munkanap hossza nulla.");
        return 1; // nothing due this week
    }
    return static_cast<double>(done) / total;
}

MonthWork CountMonthWork(const WorkPattern& p, const QDate& today, int secondOfDay)
{
    MonthWork w;
    for (int day = 1; day <= today.daysInMonth(); ++day) {
        const QDate d(today.year(), today.month(), day);
        if (!p.isWorkingDay(d))
            continue;
        const DaySpan span = p.spanOf(d);
        ++w.workingDays;
        w.dueSeconds += span.Length();
        if (day < today.day())
            w.doneSeconds += span.Length();
        else if (day == today.day())
            w.doneSeconds += WorkedPart(span, secondOfDay);
    }
    return w;
}

double MonthProgress(const MonthWork& w)
{
    if (w.dueSeconds == 0)
        throw std::domain_error("A munkahónap hossza nulla.");
    return static_cast<double>(w.doneSeconds) / w.dueSeconds;
}

QString HourlyWageText(double salary, const MonthWork& w)
{
    const double wage = salary / (w.dueSeconds / 3600.0);
    return QStringLiteral("Órabér = ") + FormatMask(wage, u"### ##0") + QStringLiteral(" Ft.");
}

} // namespace kelvator
