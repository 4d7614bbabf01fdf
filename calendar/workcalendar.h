#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace kelvator {

// Easter Sunday of the Gregorian (western) calendar.
QDate EasterSunday(int year);

// The name of a public holiday of the Labour Code on that date, or an empty string.
QString HolidayName(const QDate& date);

// A transfer decree's pair: a Saturday that is worked and the weekday that is rested instead.
struct DecreePair {
    QDate working;
    QDate rest;
    bool operator==(const DecreePair&) const = default;
};

// The transfers of the years whose decrees the program knows.
const std::vector<DecreePair>& BuiltInDecrees();

enum class DayKind {
    Plain,      // what the weekday says: Monday to Friday worked, the weekend rested
    Holiday,    // public holiday
    DecreeRest, // a weekday rested by a transfer decree
    DecreeWork, // a Saturday worked by a transfer decree
    UserRest,   // the user's own day off
    UserWork,   // the user's own working day
};

struct DayInfo {
    bool working = false;
    DayKind kind = DayKind::Plain;
    QString name;      // "Húsvéthétfő", "Pihenőnap (áthelyezett)" ...; empty for a plain day
    QString shortName; // "Húsvéthétfő", "Pihenőnap" ...: for the yearly calendar's hover text
};

// The years the program's calendar pages can show; a day outside them is not taken.
constexpr int kFirstCalendarYear = 1900;
constexpr int kLastCalendarYear = 2200;

// The user's own days and decree pairs as the settings file holds them: one entry per date
// ("2026.12.24.") or pair ("2026.12.12.>2026.12.24."). Entries that cannot be read are kept
// as they were, so that nothing the user wrote is lost.
struct CalendarEntries {
    QStringList rest;  // sSzabadnapok
    QStringList work;  // sMunkanapok
    QStringList pairs; // sAthelyezesek
    bool operator==(const CalendarEntries&) const = default;
};

enum class DateProblem {
    None,
    Form,      // not "yyyy.MM.dd."
    NoSuchDay, // 2026.02.30.
    Year,      // outside kFirstCalendarYear ... kLastCalendarYear
};
DateProblem CalendarDateProblem(const QString& text);
// "nincs ilyen nap" ...: the problem in words, to follow a colon.
QString DateProblemText(DateProblem problem);
// "2026.12.24."; an invalid date for anything with a problem.
QDate ParseCalendarDate(const QString& text);
QString CalendarDateText(const QDate& date);
// "2026.12.12.>2026.12.24." with both days readable; nullopt otherwise. Whether the law allows
// the pair is DecreeBook's question.
std::optional<DecreePair> ParseDecreePair(const QString& text);
QString DecreePairText(const DecreePair& pair);
// The settings value split into entries ("" gives none) and joined back.
QStringList SplitEntries(const QString& value);
QString JoinEntries(const QStringList& entries);

// The transfer pairs in force, each checked against the law and the pairs before it: a worked
// Saturday that is no public holiday, a rest day from Monday to Friday that is none either, and
// no Saturday or rest day in two pairs.
class DecreeBook {
public:
    // The built-in decrees.
    DecreeBook();
    // Why the pair cannot join the book (a sentence for the user); empty when it has joined.
    // A pair the book already holds joins again without a word.
    QString Add(const DecreePair& pair);
    bool Contains(const DecreePair& pair) const;
    // The rest day of a worked Saturday, the Saturday of a rest day; invalid for none.
    QDate RestDayOf(const QDate& saturday) const;
    QDate SaturdayOf(const QDate& restDay) const;

private:
    std::map<QDate, QDate> workSat_; // decreed working Saturday -> its rest day
    std::map<QDate, QDate> restDay_; // decreed rest day -> its working Saturday
};

// An entry the calendar leaves out of the counting, and why (a sentence for the user).
struct SkippedEntry {
    QString entry;
    QString reason;
    bool operator==(const SkippedEntry&) const = default;
};
struct SkippedEntries {
    std::vector<SkippedEntry> rest;
    std::vector<SkippedEntry> work;
    std::vector<SkippedEntry> pairs;
    bool empty() const { return rest.empty() && work.empty() && pairs.empty(); }
};
// Blank entries are no one's: they are neither counted nor reported.
SkippedEntries FindSkippedEntries(const CalendarEntries& entries);

// Which days are worked: the law's holidays, the decrees and the user's own days.
// Switched off it is the plain week: Monday to Friday. Copies share the entries.
class WorkCalendar {
public:
    WorkCalendar() = default;
    WorkCalendar(bool enabled, const CalendarEntries& entries);

    bool enabled() const { return enabled_; }
    bool IsWorkingDay(const QDate& date) const;
    // What the real calendar says of the day, whether or not the calendar is switched on.
    DayInfo Info(const QDate& date) const;
    // The rest weekday a decreed working Saturday stands in for; invalid when it has none.
    QDate StandsInFor(const QDate& date) const;
    // Every day of the year whose kind is not plain, in date order.
    std::vector<std::pair<QDate, DayInfo>> SpecialDays(int year) const;

private:
    struct Days {
        std::map<QDate, bool> user; // date -> worked
        DecreeBook decrees;
    };
    bool enabled_ = false;
    // Shared and never changed: every tick copies the calendar into its work pattern.
    std::shared_ptr<const Days> days_;
};

// Entry lists after the user marks a day: rest, work, or back to what the calendar says
// (kind Plain). Any earlier entry of the same date goes.
CalendarEntries WithUserDay(const CalendarEntries& entries, const QDate& date, DayKind kind);

} // namespace kelvator
