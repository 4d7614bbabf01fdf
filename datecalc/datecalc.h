#pragma once

#include <QDate>
#include <QString>

namespace kelvator {

enum class DateStep { Day, Week, Month, Year, Workday };

// The date moved n steps in direction (-1 or +1); a step that would leave years 1-9999
// leaves the date as it was.
QDate StepDate(const QDate& date, DateStep step, int n, int direction);

// Off a weekend first, in the direction of travel, then n working days.
QDate StepWorkdays(const QDate& date, int n, int direction);

// "-3 nap", "+1 munkanap" ...
QString StepCaption(DateStep step, int n, int direction);

} // namespace kelvator
