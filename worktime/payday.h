#pragma once

#include <QDate>
#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace kelvator {

constexpr int kLastDayRow = 27; // "Hónap utolsó napja"
constexpr int kDefaultPaydayRow = 1;

// Payday for the list row (0 = day 1 ... 26 = day 27, 27 = last day) and the weekend rule
// (0 the Friday before, 1 the Monday after, 2 the day itself).
QDate PaydayOf(const QDate& today, int row, int weekendRule);

struct DaySquare {
    bool visible = false;
    quint32 fill = 0x00FFFFFF;
    QString hint; // lines end in "\r\n"
    int tag = 0;
};

// Everything the payday row of the work-time page shows.
struct PaydayStrip {
    QDate payday;
    int daysToPayday = 0;
    QString markerHint;
    bool markerVisible = true;
    std::optional<int> markerTag; // left as it was when the payday has passed
    QString label;
    std::array<DaySquare, 31> squares; // square k is squares[k - 1]; only shown ones are filled
};

PaydayStrip BuildPaydayStrip(const QDate& today, const QDate& payday);

// With the work calendar: the payday moves off every day that is not worked (rule 0 back to the
// previous working day, 1 forward to the next one, 2 not at all).
using WorkingDayTest = std::function<bool(const QDate&)>;
struct PaydayChoice {
    QDate payday;
    bool offHoliday = false; // moved back to a day other than the Friday before a weekend payday
};
PaydayChoice PaydayOf(const QDate& today, int row, int weekendRule, const WorkingDayTest& working);
// Squares red on every day that is not worked.
PaydayStrip BuildPaydayStrip(const QDate& today, const PaydayChoice& payday, const WorkingDayTest& working);
// The strip's text: "Fizetés 23 nap múlva:", "Ma van a fizetés." or why the payday has passed.
QString PaydayLabelText(const QDate& today, const PaydayChoice& payday);

// "Eddig:  150 000 Ft." and "Órabér = 1 705 Ft." (300 000 Ft. a month, half of it worked,
// 22 working days of 8 hours)
QString EarnedText(double salary, double monthProgress);
QString HourlyWageText(double salary, int workdaysInMonth, int workDayLength);

} // namespace kelvator
