// The yearly calendar's right-click menu, which sets a day of the user's own in the work calendar.
#include "app/form_main.h"

#include "widgets/tpaintbox.h"
#include "yearcal/yearcal.h"

#include <QAction>
#include <QMenu>

using namespace kelvator;

// ---- The yearly calendar's menu ----------------------------------------------------------------

void TForm_Main::Image_EvesNaptarContextMenu(QPoint position)
{
    if (!calendarModel_.Enabled())
        return;
    YearGrid grid;
    grid.cellWidth = yearGridCellWidth;
    grid.cellHeight = yearGridCellHeight;
    const QPoint cell = CellAt(grid, position.x(), position.y());
    const int year = platform_.now().date().year();
    if (cell.y() < 1 || cell.y() > 12 || cell.x() < 1 || cell.x() > 31 ||
        !QDate::isValid(year, cell.y(), cell.x()))
        return;
    const QDate date(year, cell.y(), cell.x());
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PopupMenu_EvesNaptar"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const std::array<std::pair<const char*, DayKind>, 3> choices{{{"Szabadnap", DayKind::UserRest},
                                                                  {"Munkanap", DayKind::UserWork},
                                                                  {"Naptár szerint", DayKind::Plain}}};
    for (const auto& [caption, kind] : choices) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        connect(action, &QAction::triggered, this, [this, date, k = kind] { SetCalendarDay(date, k); });
    }
    menu->popup(Image_EvesNaptar->mapToGlobal(position));
}

void TForm_Main::SetCalendarDay(const QDate& date, DayKind kind)
{
    calendarModel_.SetDay(date, kind);
    // Like every other change the user makes on a page, it reaches the file at once.
    SaveSettings();
    DrawYearCalendar();
    // The hover text names the day's new kind at once.
    if (selectedDay == QPoint(date.day(), date.month())) {
        const QPoint cell = hoveredCell;
        hoveredCell = QPoint();
        Image_EvesNaptarMouseMove(QPoint((cell.x() - 1) * yearGridCellWidth + yearGridCellWidth / 2,
                                         (cell.y() - 1) * yearGridCellHeight + yearGridCellHeight / 2));
    }
}

// ---- Settings ----------------------------------------------------------------------------------
