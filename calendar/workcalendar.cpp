#include "calendar/workcalendar.h"

#include "calendar/calendar_texts.h"

#include <algorithm>

namespace kelvator {

QDate EasterSunday(int year)
{
    // The anonymous Gregorian algorithm (Meeus, Jones, Butcher).
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(year, month, day);
}

QString HolidayName(const QDate& date)
{
    if (!date.isValid())
        return {};
    struct Fixed {
        int month, day;
        const char16_t* name;
    };
    static constexpr Fixed kFixed[] = {
        {1, 1, u"Újév"},
        {3, 15, u"Nemzeti ünnep"},
        {5, 1, u"A munka ünnepe"},
        {8, 20, u"Az államalapítás ünnepe"},
        {10, 23, u"Nemzeti ünnep"},
        {11, 1, u"Mindenszentek"},
        {12, 25, u"Karácsony"},
        {12, 26, u"Karácsony másnapja"},
    };
    for (const Fixed& f : kFixed) {
        if (date.month() == f.month && date.day() == f.day)
            return QString::fromUtf16(f.name);
    }
    // Every movable holiday lies between 20 March (Good Friday) and 14 June (Whit Monday).
    if (date.month() < 3 || date.month() > 6)
        return {};
    const qint64 fromEaster = EasterSunday(date.year()).daysTo(date);
    switch (fromEaster) {
    case -2:
        return date.year() >= 2017 ? QStringLiteral("Nagypéntek") : QString();
    case 0:
        return QStringLiteral("Húsvétvasárnap");
    case 1:
        return QStringLiteral("Húsvéthétfő");
    case 49:
        return QStringLiteral("Pünkösdvasárnap");
    case 50:
        return QStringLiteral("Pünkösdhétfő");
    default:
        return {};
    }
}

const std::vector<DecreePair>& BuiltInDecrees()
{
    static const std::vector<DecreePair> decrees{
        {QDate(2021, 12, 11), QDate(2021, 12, 24)}, {QDate(2024, 8, 3), QDate(2024, 8, 19)},
        {QDate(2024, 12, 7), QDate(2024, 12, 24)},  {QDate(2024, 12, 14), QDate(2024, 12, 27)},
        {QDate(2025, 5, 17), QDate(2025, 5, 2)},    {QDate(2025, 10, 18), QDate(2025, 10, 24)},
        {QDate(2025, 12, 13), QDate(2025, 12, 24)}, {QDate(2026, 1, 10), QDate(2026, 1, 2)},
        {QDate(2026, 8, 8), QDate(2026, 8, 21)},    {QDate(2026, 12, 12), QDate(2026, 12, 24)},
    };
    return decrees;
}

DateProblem CalendarDateProblem(const QString& text)
{
    const QString t = text.trimmed();
    // Exactly "yyyy.MM.dd.": QDate's own parser would take one-digit months and days too.
    if (t.size() != 11 || t[4] != u'.' || t[7] != u'.' || t[10] != u'.')
        return DateProblem::Form;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (!t[i].isDigit() || t[i].unicode() > u'9')
            return DateProblem::Form;
    }
    const int year = t.left(4).toInt();
    if (year < kFirstCalendarYear || year > kLastCalendarYear)
        return DateProblem::Year;
    if (!QDate::isValid(year, t.mid(5, 2).toInt(), t.mid(8, 2).toInt()))
        return DateProblem::NoSuchDay;
    return DateProblem::None;
}

QString DateProblemText(DateProblem problem)
{
    switch (problem) {
    case DateProblem::Form:
        return QStringLiteral("nem év.hó.nap. alakú (például 2026.12.24.)");
    case DateProblem::NoSuchDay:
        return QStringLiteral("nincs ilyen nap");
    case DateProblem::Year:
        return QStringLiteral("csak %1 és %2 közötti év adható meg")
            .arg(kFirstCalendarYear)
            .arg(kLastCalendarYear);
    case DateProblem::None:
        break;
    }
    return {};
}

QDate ParseCalendarDate(const QString& text)
{
    if (CalendarDateProblem(text) != DateProblem::None)
        return {};
    const QString t = text.trimmed();
    return QDate(t.left(4).toInt(), t.mid(5, 2).toInt(), t.mid(8, 2).toInt());
}

QString CalendarDateText(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy.MM.dd."));
}

std::optional<DecreePair> ParseDecreePair(const QString& text)
{
    const qsizetype at = text.indexOf(u'>');
    if (at < 0)
        return std::nullopt;
    const DecreePair pair{ParseCalendarDate(text.left(at)), ParseCalendarDate(text.mid(at + 1))};
    if (!pair.working.isValid() || !pair.rest.isValid())
        return std::nullopt;
    return pair;
}

QString DecreePairText(const DecreePair& pair)
{
    return CalendarDateText(pair.working) + u'>' + CalendarDateText(pair.rest);
}

QStringList SplitEntries(const QString& value)
{
    if (value.isEmpty())
        return {};
    return value.split(u';');
}

QString JoinEntries(const QStringList& entries)
{
    return entries.join(u';');
}

// ---- Decree pairs ------------------------------------------------------------------------------

DecreeBook::DecreeBook()
{
    for (const DecreePair& p : BuiltInDecrees()) {
        workSat_[p.working] = p.rest;
        restDay_[p.rest] = p.working;
    }
}

namespace {
QString DayText(const QDate& date)
{
    return CalendarDateText(date) + u' ' + WeekdayName(date) + u'.';
}
} // namespace

QString DecreeBook::Add(const DecreePair& pair)
{
    const QDate& working = pair.working;
    const QDate& rest = pair.rest;
    if (working.dayOfWeek() != 6)
        return QStringLiteral("Az áthelyezett munkanap szombat legyen: ") + DayText(working);
    if (const QString holiday = HolidayName(working); !holiday.isEmpty())
        return QStringLiteral("Az áthelyezett munkanap nem lehet munkaszüneti nap: ") +
               CalendarDateText(working) + u' ' + holiday + u'.';
    if (rest.dayOfWeek() > 5)
        return QStringLiteral("A pihenőnap hétköznap legyen: ") + DayText(rest);
    if (const QString holiday = HolidayName(rest); !holiday.isEmpty())
        return QStringLiteral("A pihenőnap nem lehet munkaszüneti nap: ") + CalendarDateText(rest) + u' ' +
               holiday + u'.';
    if (Contains(pair))
        return {};
    if (const QDate other = RestDayOf(working); other.isValid())
        return QStringLiteral("Egy szombat csak egyszer lehet áthelyezett munkanap: ") +
               CalendarDateText(working) + QStringLiteral(" már a ") + CalendarDateText(other) +
               QStringLiteral(" pihenőnappal párban áll.");
    if (const QDate other = SaturdayOf(rest); other.isValid())
        return QStringLiteral("Egy nap csak egyszer lehet áthelyezett pihenőnap: ") + CalendarDateText(rest) +
               QStringLiteral(" már a ") + CalendarDateText(other) +
               QStringLiteral(" munkanappal párban áll.");
    workSat_[working] = rest;
    restDay_[rest] = working;
    return {};
}

bool DecreeBook::Contains(const DecreePair& pair) const
{
    return RestDayOf(pair.working) == pair.rest && pair.rest.isValid();
}

QDate DecreeBook::RestDayOf(const QDate& saturday) const
{
    const auto found = workSat_.find(saturday);
    return found == workSat_.end() ? QDate() : found->second;
}

QDate DecreeBook::SaturdayOf(const QDate& restDay) const
{
    const auto found = restDay_.find(restDay);
    return found == restDay_.end() ? QDate() : found->second;
}

// ---- Reading the entries -----------------------------------------------------------------------

namespace {
QString Sentence(const QString& fragment)
{
    return fragment.left(1).toUpper() + fragment.mid(1) + u'.';
}

// Why a pair's text is left out; empty when the book took it.
QString AddPairText(DecreeBook& book, const QString& text)
{
    const qsizetype at = text.indexOf(u'>');
    if (at < 0)
        return QStringLiteral("Nem munkanap>pihenőnap alakú (például 2026.12.12.>2026.12.24.).");
    if (const DateProblem p = CalendarDateProblem(text.left(at)); p != DateProblem::None)
        return QStringLiteral("Az áthelyezett munkanap hibás: ") + DateProblemText(p) + u'.';
    if (const DateProblem p = CalendarDateProblem(text.mid(at + 1)); p != DateProblem::None)
        return QStringLiteral("A pihenőnap hibás: ") + DateProblemText(p) + u'.';
    return book.Add(*ParseDecreePair(text));
}

// Every entry in its list's order: the pairs first, then the days off, then the days worked,
// so that a day on both lists is worked. skip(list, entry, reason) hears of each one left out.
template <typename Skip>
void ReadEntries(const CalendarEntries& entries, std::map<QDate, bool>& user, DecreeBook& book, Skip skip)
{
    for (const QString& e : entries.pairs) {
        if (e.trimmed().isEmpty())
            continue;
        if (const QString why = AddPairText(book, e); !why.isEmpty())
            skip(entries.pairs, e, why);
    }
    for (const QStringList* list : {&entries.rest, &entries.work}) {
        for (const QString& e : *list) {
            if (e.trimmed().isEmpty())
                continue;
            if (const DateProblem p = CalendarDateProblem(e); p != DateProblem::None)
                skip(*list, e, Sentence(DateProblemText(p)));
            else
                user[ParseCalendarDate(e)] = list == &entries.work;
        }
    }
}
} // namespace

SkippedEntries FindSkippedEntries(const CalendarEntries& entries)
{
    SkippedEntries skipped;
    std::map<QDate, bool> user;
    DecreeBook book;
    ReadEntries(entries, user, book, [&](const QStringList& list, const QString& entry, const QString& why) {
        auto& to = &list == &entries.pairs  ? skipped.pairs
                   : &list == &entries.rest ? skipped.rest
                                            : skipped.work;
        to.push_back(SkippedEntry{entry, why});
    });
    return skipped;
}

// ---- The calendar ------------------------------------------------------------------------------

WorkCalendar::WorkCalendar(bool enabled, const CalendarEntries& entries)
    : enabled_(enabled)
{
    auto days = std::make_shared<Days>();
    ReadEntries(entries, days->user, days->decrees,
                [](const QStringList&, const QString&, const QString&) {});
    days_ = std::move(days);
}

DayInfo WorkCalendar::Info(const QDate& date) const
{
    DayInfo info;
    // The user's own days win over the decrees, the decrees over the law's calendar.
    if (days_) {
        if (const auto u = days_->user.find(date); u != days_->user.end()) {
            info.working = u->second;
            info.kind = u->second ? DayKind::UserWork : DayKind::UserRest;
            info.name = info.shortName = u->second ? QStringLiteral("Munkanap") : QStringLiteral("Szabadnap");
            return info;
        }
        if (days_->decrees.RestDayOf(date).isValid()) {
            info.working = true;
            info.kind = DayKind::DecreeWork;
            info.name = QStringLiteral("Munkanap (áthelyezett)");
            info.shortName = QStringLiteral("Munkanap");
            return info;
        }
        if (days_->decrees.SaturdayOf(date).isValid()) {
            info.kind = DayKind::DecreeRest;
            info.name = QStringLiteral("Pihenőnap (áthelyezett)");
            info.shortName = QStringLiteral("Pihenőnap");
            return info;
        }
    }
    const QString holiday = HolidayName(date);
    if (!holiday.isEmpty()) {
        info.kind = DayKind::Holiday;
        info.name = info.shortName = holiday;
        return info;
    }
    info.working = date.dayOfWeek() < 6;
    return info;
}

bool WorkCalendar::IsWorkingDay(const QDate& date) const
{
    if (!enabled_)
        return date.dayOfWeek() < 6;
    return Info(date).working;
}

QDate WorkCalendar::StandsInFor(const QDate& date) const
{
    return days_ ? days_->decrees.RestDayOf(date) : QDate();
}

std::vector<std::pair<QDate, DayInfo>> WorkCalendar::SpecialDays(int year) const
{
    std::vector<std::pair<QDate, DayInfo>> days;
    for (QDate d(year, 1, 1); d.isValid() && d.year() == year; d = d.addDays(1)) {
        DayInfo info = Info(d);
        if (info.kind != DayKind::Plain)
            days.emplace_back(d, std::move(info));
    }
    return days;
}

CalendarEntries WithUserDay(const CalendarEntries& entries, const QDate& date, DayKind kind)
{
    CalendarEntries out = entries;
    auto sameDate = [&date](const QString& e) { return ParseCalendarDate(e) == date; };
    out.rest.removeIf(sameDate);
    out.work.removeIf(sameDate);
    if (kind == DayKind::UserRest)
        out.rest << CalendarDateText(date);
    else if (kind == DayKind::UserWork)
        out.work << CalendarDateText(date);
    return out;
}

} // namespace kelvator
