#include "calendar/calendar_texts.h"

#include "calendar/numbermask.h"

#include <array>
#include <cmath>

namespace kelvator {

namespace {
constexpr double kDaysPerYear = 365.25;
constexpr double kDaysPerMonth = 30.4375;
constexpr double kThreshold = 0.999;
constexpr qint64 kMsPerDay = 86'400'000;

struct Unit {
    const char16_t* past;
    const char16_t* future;
};
constexpr Unit kYears{u" év.", u" év múlva lesz."};
constexpr Unit kMonths{u" hónap.", u" hónap múlva lesz."};
constexpr Unit kDays{u" nap.", u" nap múlva lesz."};
constexpr Unit kHours{u" óra.", u" óra múlva lesz."};
constexpr Unit kMinutes{u" perc.", u" perc múlva lesz."};
constexpr Unit kSeconds{u" másodperc.", u" másodperc múlva lesz."};

QString UnitText(bool past, double value, QStringView mask, const Unit& unit)
{
    const QString number = FormatMask(value, mask);
    if (past)
        return QStringLiteral("Azóta eltelt: ") + number + QString::fromUtf16(unit.past);
    return number + QString::fromUtf16(unit.future);
}

// A span of days as whole milliseconds, so that sums of fractions like 1/3 day do not
// fall a hair short of a whole hour or day.
qint64 SpanMs(double days)
{
    return std::llround(std::fabs(days) * kMsPerDay);
}
} // namespace

QString WeekdayName(const QDate& date)
{
    static constexpr std::array<const char16_t*, 7> kNames{u"Hétfő",  u"Kedd",    u"Szerda",  u"Csütörtök",
                                                           u"Péntek", u"Szombat", u"Vasárnap"};
    const int dow = date.dayOfWeek();
    return dow >= 1 && dow <= 7 ? QString::fromUtf16(kNames[dow - 1]) : QString();
}

QString WeekdayName(TDateTime t)
{
    return WeekdayName(DateOf(t));
}

QString MonthName(int month)
{
    static constexpr std::array<const char16_t*, 12> kNames{
        u"Január", u"Február",   u"Március",    u"Április", u"Május",    u"Június",
        u"Július", u"Augusztus", u"Szeptember", u"Október", u"November", u"December"};
    return month >= 1 && month <= 12 ? QString::fromUtf16(kNames[month - 1]) : QString();
}

QString RelativeTimeText(bool timeOfDayCounts, bool inDaysOnly, TDateTime moment, TDateTime now)
{
    if (!std::isfinite(moment) || !std::isfinite(now))
        return QStringLiteral("Azóta eltelt idő ismeretlen.");
    if (!timeOfDayCounts) {
        moment = NoonOf(moment);
        now = NoonOf(now);
    }
    const double delta = std::fabs(moment - now);
    const bool past = now >= moment;

    if (!inDaysOnly && delta / kDaysPerYear >= kThreshold)
        return UnitText(past, delta / kDaysPerYear, u"0.00", kYears);
    if (!inDaysOnly && delta / kDaysPerMonth >= kThreshold)
        return UnitText(past, delta / kDaysPerMonth, u"0.0", kMonths);
    if (delta >= kThreshold)
        return UnitText(past, delta, timeOfDayCounts ? u"0.0" : u"0", kDays);
    if (!timeOfDayCounts)
        return QStringLiteral("Ez a mai nap.");
    if (delta * 24 >= kThreshold)
        return UnitText(past, delta * 24, u"0.0", kHours);
    if (delta * 1440 >= kThreshold)
        return UnitText(past, delta * 1440, u"0.0", kMinutes);
    if (delta * 86400 >= kThreshold)
        return UnitText(past, delta * 86400, u"0", kSeconds);
    return QStringLiteral("Most van.");
}

QString DateDifferenceText(bool timeOfDayCounts, bool withSign, TDateTime first, TDateTime second)
{
    if (!std::isfinite(first) || !std::isfinite(second))
        return QString();
    if (!timeOfDayCounts) {
        first = NoonOf(first);
        second = NoonOf(second);
    }
    const bool negative = first > second;
    const TDateTime lo = negative ? second : first;
    TDateTime hi = negative ? first : second;

    int years = static_cast<int>((hi - lo) / kDaysPerYear);
    if (years > 0) {
        hi = ShiftMonths(hi, -years * 12);
        if (hi < lo) {
            --years;
            hi = ShiftMonths(hi, 12);
        }
    }
    int months = static_cast<int>(std::fabs(hi - lo) / kDaysPerMonth);
    if (months > 0) {
        hi = ShiftMonths(hi, -months);
        if (hi < lo) {
            --months;
            hi = ShiftMonths(hi, 1);
        }
    }
    const qint64 restMs = SpanMs(hi - lo);
    const qint64 days = restMs / kMsPerDay;
    const qint64 dayMs = restMs % kMsPerDay;

    QString text;
    bool written = false;
    if (years != 0) {
        text += FormatMask(years, u"0") + QStringLiteral(" év, ");
        written = true;
    }
    if (written || months != 0) {
        text += FormatMask(months, u"0") + QStringLiteral(" hónap, ");
        written = true;
    }
    if (written || days != 0) {
        text += FormatMask(static_cast<double>(days), u"0") + QStringLiteral(" nap");
        written = true;
    }
    if (timeOfDayCounts) {
        if (written)
            text += QStringLiteral("   ");
        const qint64 hours = dayMs / 3'600'000;
        const qint64 minutes = (dayMs % 3'600'000) / 60'000;
        text += FormatMask(static_cast<double>(hours), u"0") + u':' +
                FormatMask(static_cast<double>(minutes), u"00");
    }
    if (text.isEmpty())
        return QStringLiteral("0 nap");
    if (withSign)
        text.prepend(negative ? QStringLiteral("- ") : QStringLiteral("+ "));
    return text;
}

QString TwoDigits(int n)
{
    return FormatMask(n, u"00");
}

QString DateText(const QDate& date)
{
    return FormatMask(date.year(), u"0000") + u'.' + FormatMask(date.month(), u"00") + u'.' +
           FormatMask(date.day(), u"00") + u'.';
}

} // namespace kelvator
