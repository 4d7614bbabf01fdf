#include "worktime/payday.h"

#include "calendar/calendar_texts.h"
#include "calendar/numbermask.h"
#include "calendar/tdatetime.h"

namespace kelvator {

namespace {
QString DayHint(const QDate& d)
{
    return DateText(d) + QStringLiteral("\r\n") + WeekdayName(d);
}
bool IsWeekend(const QDate& d)
{
    return d.dayOfWeek() > 5;
}
} // namespace

QDate PaydayOf(const QDate& today, int row, int weekendRule)
{
    return PaydayOf(today, row, weekendRule, [](const QDate& d) { return !IsWeekend(d); }).payday;
}

PaydayChoice PaydayOf(const QDate& today, int row, int weekendRule, const WorkingDayTest& working)
{
    const int n = row == kLastDayRow ? today.daysInMonth() : row + 1;
    QDate payday(today.year(), today.month(), n);
    if (n < today.day())
        payday = ShiftMonths(payday, 1);
    PaydayChoice choice;
    const int step = weekendRule == 0 ? -1 : (weekendRule == 1 ? 1 : 0);
    const QDate set = payday;
    // A month of days off is the longest run a payday can be moved across.
    for (int i = 0; i < 31 && step != 0 && !working(payday); ++i)
        payday = payday.addDays(step);
    choice.payday = payday;
    // Only a weekend payday paid on the Friday just before it was moved for the weekend alone.
    const bool fridayBeforeWeekend = IsWeekend(set) && payday == set.addDays(5 - set.dayOfWeek());
    choice.offHoliday = step < 0 && payday != set && !fridayBeforeWeekend;
    return choice;
}

PaydayStrip BuildPaydayStrip(const QDate& today, const QDate& payday)
{
    return BuildPaydayStrip(today, PaydayChoice{payday, false}, [](const QDate& d) { return !IsWeekend(d); });
}

PaydayStrip BuildPaydayStrip(const QDate& today, const PaydayChoice& choice, const WorkingDayTest& working)
{
    const QDate payday = choice.payday;
    PaydayStrip strip;
    strip.payday = payday;
    strip.markerHint = QStringLiteral("Fizetésnap\r\n") + DayHint(payday);
    const qint64 signedDays = today.daysTo(payday);
    const int days = static_cast<int>(signedDays < 0 ? -signedDays : signedDays);
    strip.daysToPayday = days;
    if (days > 0 && signedDays > 0) {
        for (int i = 1; i <= 31; ++i) {
            DaySquare& sq = strip.squares[static_cast<size_t>(32 - i - 1)];
            sq.visible = i <= days;
            if (!sq.visible)
                continue;
            const QDate d = payday.addDays(-i);
            if (i == days) {
                sq.fill = 0x00808080;
                sq.hint = QStringLiteral("Ez a mai nap.\r\n") + DayHint(d);
            } else {
                sq.fill = !working(d) ? 0x000000FF : 0x00FFFFFF;
                sq.hint = DayHint(d);
            }
            sq.tag = days - i;
        }
        strip.markerTag = days;
    } else if (days == 0) {
        strip.markerTag = 0;
    } else {
        strip.markerVisible = false;
    }
    strip.label = PaydayLabelText(today, choice);
    return strip;
}

QString PaydayLabelText(const QDate& today, const PaydayChoice& choice)
{
    const qint64 days = today.daysTo(choice.payday);
    if (days > 0)
        return QStringLiteral("Fizetés ") + QString::number(days) + QStringLiteral(" nap múlva:");
    if (days == 0)
        return QStringLiteral("Ma van a fizetés.");
    return choice.offHoliday ? QStringLiteral("Munkaszüneti napra esne a fizetésnap, ezért előtte volt.")
                             : QStringLiteral("Hétvégére esne a fizetésnap, ezért pénteken volt.");
}

QString EarnedText(double salary, double monthProgress)
{
    return QStringLiteral("Eddig: ") + FormatMask(salary * monthProgress, u"# ### ##0") +
           QStringLiteral(" Ft.");
}

QString HourlyWageText(double salary, int workdaysInMonth, int workDayLength)
{
    const double wage = salary / workdaysInMonth / (workDayLength / 3600.0);
    return QStringLiteral("Órabér = ") + FormatMask(wage, u"### ##0") + QStringLiteral(" Ft.");
}

} // namespace kelvator
