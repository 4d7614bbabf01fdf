#pragma once

#include "settings/value_forms.h"

#include <QDate>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <functional>

namespace kelvator {

// The year grid: 12 month rows by 31 day columns, cells sized from the picture's size.
struct YearGrid {
    int cellWidth = 12;
    int cellHeight = 18;
    int dotRadius = 4;
};
YearGrid GridFor(int imageWidth, int imageHeight);

// Month row and day column under a point of the picture (halves round to the even neighbour).
QPoint CellAt(const YearGrid& grid, int x, int y);

// "2026.03.15.   Vasárnap   11. hét   74. nap"
QString HoverDateText(const QDate& date);

using DayColours = std::array<MonthColours, 12>;

// The whole year: cells in their colours, red dots on weekends, and today's frame while blinking.
void DrawYearGrid(QImage& image, const YearGrid& grid, int year, const DayColours& colours, bool blink,
                  const QDate& today);
// The same with the dots on the days `resting` names.
void DrawYearGrid(QImage& image, const YearGrid& grid, int year, const DayColours& colours, bool blink,
                  const QDate& today, const std::function<bool(const QDate&)>& resting);

// The pixels today's blinking frame can touch.
QRect BlinkFrameArea(const YearGrid& grid, const QDate& today);

// A click paints an uncoloured day and clears a coloured one.
quint32 ToggledDayColour(quint32 dayColour, quint32 paint);

} // namespace kelvator
