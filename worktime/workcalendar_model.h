#pragma once

#include "calendar/workcalendar.h"
#include "worktime/schedule.h"
#include "worktime/workpattern.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace kelvator {

class IniFile;

// The work calendar the program runs with: the user's own days and decree pairs, whether the
// calendar is on, and the hours per weekday. Every change counts once and is announced once.
class WorkCalendarModel : public QObject {
    Q_OBJECT

public:
    const WorkCalendar& Calendar() const { return calendar_; }
    bool Enabled() const { return calendar_.enabled(); }
    const CalendarEntries& Entries() const { return entries_; }
    // The box, the stored text and what it reads as (nothing when it cannot be read).
    bool WeekdayHoursOn() const { return hoursOn_; }
    const QString& WeekdayHoursText() const { return hoursText_; }
    const std::optional<WeekdayHours>& Hours() const { return hours_; }
    bool WeekdayHoursInUse() const { return hoursOn_ && hours_.has_value(); }
    // Counts the calendar's changes, for what draws from it.
    unsigned Revision() const { return revision_; }

    void SetCalendar(bool enabled, const CalendarEntries& entries);
    // A day of the user's own (rest, work) or back to the calendar's own (Plain).
    void SetDay(const QDate& date, DayKind kind);
    // The box, and the rows to keep when there are any.
    void SetWeekdayHours(bool on, const std::optional<WeekdayHours>& hours);
    // The Munkarend page's OK: all of it at once, one change.
    void Apply(bool enabled, const CalendarEntries& entries, bool hoursOn,
               const std::optional<WeekdayHours>& hours);

    // Working days and spans for the settings page's schedule.
    WorkPattern Pattern(const WorkSchedule& base) const;

    // Reads [Munkarend]; returns what it could not understand, for the user to hear once, or an
    // empty text. What it cannot read stays in the file as written.
    QString Read(const IniFile& ini);
    // Writes only the keys that say something new, so a file that never used the section stays
    // as it was.
    void Write(IniFile& ini) const;

Q_SIGNALS:
    void changed();

private:
    void Changed();

    CalendarEntries entries_;
    WorkCalendar calendar_;
    bool hoursOn_ = false;
    QString hoursText_;
    std::optional<WeekdayHours> hours_;
    unsigned revision_ = 0;
};

// The month calendars' red days: off days of the calendar while it is on. Asked at every paint,
// so a calendar changed elsewhere is drawn right when shown again.
inline std::function<bool(const QDate&)> DaysOffTest(const WorkCalendarModel& model)
{
    return [&model](const QDate& d) { return model.Enabled() && !model.Calendar().IsWorkingDay(d); };
}

} // namespace kelvator
