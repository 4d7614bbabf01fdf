#include "yearcal/yearcal.h"

#include "calendar/calendar_texts.h"
#include "calendar/numbermask.h"
#include "clocks/canvas.h"

namespace kelvator {

YearGrid GridFor(int imageWidth, int imageHeight)
{
    YearGrid g;
    g.cellWidth = RoundHalfEven(imageWidth / 31.0);
    g.cellHeight = RoundHalfEven(imageHeight / 12.0);
    return g;
}

QPoint CellAt(const YearGrid& g, int x, int y)
{
    const int row = RoundHalfEven((y - g.cellHeight / 2.0) / g.cellHeight) + 1;
    const int column = RoundHalfEven((x - g.cellWidth / 2.0) / g.cellWidth) + 1;
    return QPoint(column, row);
}

QString HoverDateText(const QDate& date)
{
    return DateText(date) + QStringLiteral("   ") + WeekdayName(date) + QStringLiteral("   ") +
           QString::number(date.weekNumber()) + QStringLiteral(". hét   ") +
           QString::number(date.dayOfYear()) + QStringLiteral(". nap");
}

namespace {
// Centre of today's frame: one pixel right of and below the cell's dot centre.
QPoint FrameCentre(const YearGrid& g, const QDate& today)
{
    return QPoint(RoundHalfEven(g.cellWidth / 2.0) + (today.day() - 1) * g.cellWidth + 1,
                  RoundHalfEven(g.cellHeight / 2.0) + (today.month() - 1) * g.cellHeight + 1);
}
} // namespace

void DrawYearGrid(QImage& image, const YearGrid& g, int year, const DayColours& colours, bool blink,
                  const QDate& today)
{
    DrawYearGrid(image, g, year, colours, blink, today, [](const QDate& d) { return d.dayOfWeek() >= 6; });
}

void DrawYearGrid(QImage& image, const YearGrid& g, int year, const DayColours& colours, bool blink,
                  const QDate& today, const std::function<bool(const QDate&)>& resting)
{
    Canvas c(image);
    SetCanvasTools(c, kButtonFace, PenMode::Copy, PenStyle::Solid, 1, kButtonFace, BrushStyle::Solid);
    c.Rectangle(0, 0, image.width() - 1, image.height() - 1);

    for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= 31; ++d) {
            if (!QDate::isValid(year, m, d))
                continue;
            const int x = (d - 1) * g.cellWidth;
            const int y = (m - 1) * g.cellHeight;
            SetCanvasTools(c, 0, PenMode::Copy, PenStyle::Solid, 1, colours[size_t(m - 1)][size_t(d - 1)],
                           BrushStyle::Solid);
            c.Rectangle(x, y, x + g.cellWidth + 1, y + g.cellHeight + 1);
        }
    }
    SetCanvasTools(c, 0, PenMode::Copy, PenStyle::Solid, 1, 0x000000FF, BrushStyle::Solid);
    const int halfW = RoundHalfEven(g.cellWidth / 2.0);
    const int halfH = RoundHalfEven(g.cellHeight / 2.0);
    for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= 31; ++d) {
            if (!QDate::isValid(year, m, d) || !resting(QDate(year, m, d)))
                continue;
            const int cx = halfW + (d - 1) * g.cellWidth;
            const int cy = halfH + (m - 1) * g.cellHeight;
            c.Ellipse(cx - g.dotRadius, cy - g.dotRadius, cx + g.dotRadius, cy + g.dotRadius);
        }
    }
    if (blink) {
        SetCanvasTools(c, 0, PenMode::Copy, PenStyle::Solid, 3, 0x00FFFFFF, BrushStyle::Clear);
        const QPoint centre = FrameCentre(g, today);
        c.Rectangle(centre.x() - 7, centre.y() - 10, centre.x() + 7, centre.y() + 10);
    }
}

QRect BlinkFrameArea(const YearGrid& g, const QDate& today)
{
    // The frame's box, widened on every side by more than half the 3-pixel pen.
    const QPoint centre = FrameCentre(g, today);
    return QRect(centre.x() - 7, centre.y() - 10, 14, 20).adjusted(-3, -3, 3, 3);
}

quint32 ToggledDayColour(quint32 dayColour, quint32 paint)
{
    return dayColour == kButtonFace ? paint : kButtonFace;
}

} // namespace kelvator
