#pragma once

#include "worktime/tick_snapshot.h"

#include <QDate>
#include <QIcon>
#include <QImage>
#include <QString>

#include <optional>

namespace kelvator {

class WorkCalendarModel;
struct Settings;

// ---- The tooltip ------------------------------------------------------------------------------

// "Kelvator", the work day, the payday and, while the page shows the pay, the money earned so far,
// one line each. Everything in it is worked out from the tick's minute, so it changes at most once
// a minute; `work` is the tick's snapshot.
QString TrayTipText(const TickMoment& moment, const WorkSnapshot& work, const Settings& settings,
                    const WorkCalendarModel& calendar);
// The work day's line alone: "Munkanap: 62% — vége 16:00 (még 3:25)", "Munkanap vége: 16:00" or
// "Ma nincs munkanap".
QString TrayWorkDayLine(const TickMoment& moment, const WorkSnapshot& work);

// ---- The live icon ----------------------------------------------------------------------------

// What the icon shows: the program's own icon outside working hours, the work day's progress, or
// the two colours the day bar blinks in for the half minute after the end.
enum class TrayIconKind { Plain, Progress, BlinkLime, BlinkOrange };

struct TrayIconState {
    TrayIconKind kind = TrayIconKind::Plain;
    int permille = 0; // the work day done, 0-1000, while kind is Progress
    bool operator==(const TrayIconState&) const = default;
};

// The state of the tick's moment: the progress from the minute, so it changes at most once a
// minute, and once a second while blinking. Redraw only when it differs from the last one drawn.
TrayIconState TrayIconStateOf(const TickMoment& moment, const WorkSnapshot& work);
TrayIconState TrayProgressState(double progress);

// The icon `size` pixels square at `devicePixelRatio`: a disc filled clockwise from 12 o'clock in
// the day bar's orange, all lime or all orange while blinking, and `programIcon` scaled when
// plain. Transparent around the disc.
QImage DrawTrayIcon(const TrayIconState& state, int size, qreal devicePixelRatio, const QImage& programIcon);
// The sizes panels ask for, at 1x and 2x. Needs a QGuiApplication.
QIcon MakeTrayIcon(const TrayIconState& state, const QImage& programIcon);
// The program's own icon from the resources (empty where they are not linked in).
QImage ProgramIconImage();

// ---- The reminder before the end --------------------------------------------------------------

// The reminder's memory between ticks.
struct TrayReminderState {
    QDate day;                     // the day of the last tick seen
    std::optional<int> lastSecond; // that tick's second of the day
    bool given = false;            // the reminder of `day` was given
};

// "10 perc múlva vége a munkaidőnek (16:00)" once on a working day, at the first tick that reaches
// `minutes` before the day's own end after an earlier tick of the same day that had not; nothing
// when `on` is false, on a day off, or when the program was not running before that moment.
// Every tick goes through here, switched on or not, so that switching on counts the ticks before.
std::optional<QString> StepTrayReminder(TrayReminderState& state, const TickMoment& moment,
                                        const WorkSnapshot& work, bool on, int minutes);
// The reminder's text for `minutes` before an end at `workEnd` seconds of the day.
QString TrayReminderText(int minutes, int workEnd);

} // namespace kelvator
