#include "datecalc/datecalc.h"

#include "calendar/tdatetime.h"

namespace kelvator {

namespace {
bool IsWeekend(const QDate& d)
{
    return d.dayOfWeek() > 5;
}
bool InRange(const QDate& d)
{
    return d.isValid() && d.year() >= kMinYear && d.year() <= kMaxYear;
}
} // namespace

QDate StepWorkdays(const QDate& date, int n, int direction)
{
    return StepWorkdays(date, n, direction, [](const QDate& d) { return !IsWeekend(d); });
}

QDate StepWorkdays(const QDate& date, int n, int direction, const WorkingDayTest& working)
{
    // A calendar of nothing but days off must not hold the program for ever.
    constexpr int kLongestRun = 3660;
    QDate d = date;
    auto offRestDays = [&] {
        for (int run = 0; !working(d); ++run) {
            if (run >= kLongestRun || !InRange(d))
                return false;
            d = d.addDays(direction);
        }
        return true;
    };
    if (!offRestDays())
        return date;
    for (int i = 0; i < n; ++i) {
        d = d.addDays(direction);
        if (!offRestDays())
            return date;
    }
    return d;
}

QDate StepDate(const QDate& date, DateStep step, int n, int direction)
{
    return StepDate(date, step, n, direction, [](const QDate& d) { return !IsWeekend(d); });
}

QDate StepDate(const QDate& date, DateStep step, int n, int direction, const WorkingDayTest& working)
{
    QDate moved;
    switch (step) {
    case DateStep::Day:
        moved = date.addDays(static_cast<qint64>(n) * direction);
        break;
    case DateStep::Week:
        moved = date.addDays(static_cast<qint64>(7) * n * direction);
        break;
    case DateStep::Month:
    case DateStep::Year: {
        const int months = (step == DateStep::Year ? 12 : 1) * n * direction;
        if (!StepStaysInRange(date, months, 0))
            return date;
        moved = ShiftMonths(date, months);
        break;
    }
    case DateStep::Workday:
        moved = StepWorkdays(date, n, direction, working);
        break;
    }
    return InRange(moved) ? moved : date;
}

QString StepCaption(DateStep step, int n, int direction)
{
    QString unit;
    switch (step) {
    case DateStep::Day:
        unit = QStringLiteral(" nap");
        break;
    case DateStep::Week:
        unit = QStringLiteral(" hét");
        break;
    case DateStep::Month:
        unit = QStringLiteral(" hónap");
        break;
    case DateStep::Year:
        unit = QStringLiteral(" év");
        break;
    case DateStep::Workday:
        unit = QStringLiteral(" munkanap");
        break;
    }
    return (direction < 0 ? u'-' : u'+') + QString::number(n) + unit;
}

} // namespace kelvator
