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

// The user's own days and decree pairs as the settings file holds them: one entry per date
// ("2026.12.24.") or pair ("2026.12.12.>2026.12.24."). Entries that cannot be read are kept
// as they were, so that nothing the user wrote is lost.
struct CalendarEntries {
    QStringList rest;  // sSzabadnapok
    QStringList work;  // sMunkanapok
    QStringList pairs; // sAthelyezesek
    bool operator==(const CalendarEntries&) const = default;
};

// "2026.12.24."; an invalid date for anything else.
QDate ParseCalendarDate(const QString& text);
QString CalendarDateText(const QDate& date);
// "2026.12.12.>2026.12.24."; nullopt unless both dates exist and the first is a Saturday.
std::optional<DecreePair> ParseDecreePair(const QString& text);
QString DecreePairText(const DecreePair& pair);
// The settings value split into entries ("" gives none) and joined back.
QStringList SplitEntries(const QString& value);
QString JoinEntries(const QStringList& entries);

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
        std::map<QDate, bool> user;     // date -> worked
        std::map<QDate, QDate> workSat; // decreed working Saturday -> its rest day
        std::map<QDate, QDate> restDay; // decreed rest day -> its working Saturday
    };
    bool enabled_ = false;
    // Shared and never changed: every tick copies the calendar into its work pattern.
    std::shared_ptr<const Days> days_;
};

// Entry lists after the user marks a day: rest, work, or back to what the calendar says
// (kind Plain). Any earlier entry of the same date goes.
CalendarEntries WithUserDay(const CalendarEntries& entries, const QDate& date, DayKind kind);

} // namespace kelvator
