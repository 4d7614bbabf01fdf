#pragma once

#include <QDate>
#include <QString>

#include <functional>

namespace kelvator {

enum class DateStep { Day, Week, Month, Year, Workday };

// The date moved n steps in direction (-1 or +1); a step that would leave years 1-9999
// leaves the date as it was.
QDate StepDate(const QDate& date, DateStep step, int n, int direction);

// Off a weekend first, in the direction of travel, then n working days.
QDate StepWorkdays(const QDate& date, int n, int direction);

// The same over the days `working` says are worked; a date that meets no working day
// within ten years stays where it was.
using WorkingDayTest = std::function<bool(const QDate&)>;
QDate StepDate(const QDate& date, DateStep step, int n, int direction, const WorkingDayTest& working);
QDate StepWorkdays(const QDate& date, int n, int direction, const WorkingDayTest& working);

// "-3 nap", "+1 munkanap" ...
QString StepCaption(DateStep step, int n, int direction);

} // namespace kelvator
