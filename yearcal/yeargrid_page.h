#pragma once

#include "calendar/workcalendar.h"
#include "yearcal/yearcal.h"

#include <QDate>
#include <QDateTime>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <array>
#include <functional>

class QAbstractButton;
class QLabel;
class QTimer;
class TPaintBox;
class TShape;

namespace kelvator {

struct Settings;
class WorkCalendarModel;

// The yearly calendar page: the year as a grid of days the user colours, today's cell blinking,
// the hovered day's date, distance and kind, and with the work calendar on a right-click menu
// that makes a day a rest or a working day.
class YearGridPage : public QWidget {
    Q_OBJECT

public:
    // What the page asks of the window, each at the moment it needs it.
    struct Queries {
        std::function<QDateTime()> now;   // today, and the hovered day's distance from now
        std::function<qint64()> steadyMs; // milliseconds of a steady clock, for the blink's phase
        std::function<bool()> inSight;    // the grid can be seen: the blink runs
        // The program's clock runs; stopped (a test driving the window by hand), so does the blink.
        std::function<bool()> clockRunning;
    };

    YearGridPage(Queries queries, const WorkCalendarModel& calendar, QWidget* parent = nullptr);

    void ShowSettings(const Settings& s);
    void CollectSettings(Settings& s) const;

    // "Ma: ..." under the grid, for the tick while the page is shown.
    void Refresh(const QDate& today);
    // The page comes to the front: "Színezés" is released and the grid drawn afresh.
    void Shown();
    // Draws the whole grid afresh, whatever changed.
    void Redraw();

    // The blink starts with the program; it then runs only while the grid is in sight, and
    // unseen its phase goes on by the steady clock, so the grid shows the right state as soon
    // as it is seen again. Call UpdateBlink whenever the grid may have come into or out of sight.
    void StartBlink();
    void UpdateBlink();
    // One change of the blink, as its timer makes it.
    void Blink();
    bool InSight() const { return queries_.inSight(); }
    // The blink's timer: its events are the program's own, not the user's.
    QTimer* BlinkTimer() const { return blinkTimer_; }

    // The right-click menu's choice for a day: the window applies it to the work calendar, then
    // the grid and the hover texts show the day's new kind.
    void ChooseDayKind(const QDate& date, DayKind kind);

    // The grid as last drawn, today's frame on or off as BlinkOn says.
    const QImage& Picture() const { return image_; }
    bool BlinkOn() const { return blinkOn_; }
    // (day, month) under the pointer, null when it is over no day.
    QPoint SelectedDay() const { return selectedDay_; }

Q_SIGNALS:
    // A day's kind chosen in the right-click menu: rest, work, or back to the calendar (Plain).
    void dayKindChosen(const QDate& date, kelvator::DayKind kind);

private:
    void ShowGrid();
    void SwatchPressed(TShape* swatch, Qt::MouseButton button);
    void PointerMoved(QPoint position);
    void Clicked();
    void ContextMenu(QPoint position);
    void HighlightLabels(int month, int day);

    Queries queries_;
    const WorkCalendarModel& calendar_;

    QLabel* yearLabel_ = nullptr;
    std::array<QLabel*, 12> monthLabels_{};
    std::array<QLabel*, 31> dayTensLabels_{};
    std::array<QLabel*, 31> dayOnesLabels_{};
    TPaintBox* gridBox_ = nullptr;
    std::array<TShape*, 10> swatches_{}; // palette codes 0-9
    TShape* paintSwatch_ = nullptr;
    QAbstractButton* colouringButton_ = nullptr;
    QLabel* hoverDateLabel_ = nullptr;
    QLabel* todayLabel_ = nullptr;
    QLabel* distanceLabel_ = nullptr;
    QLabel* dayKindLabel_ = nullptr; // the day's kind, with the work calendar on
    QTimer* blinkTimer_ = nullptr;

    DayColours dayColours_{};
    YearGrid grid_;
    QImage image_;
    QPoint hoveredCell_; // (day column, month row), 0 when none
    QPoint selectedDay_; // (day, month), 0 when none
    bool blinkOn_ = false;
    qint64 blinkToggledAt_ = 0; // steady-clock milliseconds of the last change, seen or not

    // The pixels under today's frame in both blink states, for one day, colours and grid.
    struct Frames {
        struct Key {
            QDate today;
            DayColours colours{};
            QRgb buttonFace = 0;
            int cellWidth = 0;
            int cellHeight = 0;
            unsigned calendarRevision = 0; // the work calendar's dots
            bool operator==(const Key&) const = default;
        } key;
        QRect area;
        std::array<QImage, 2> patches;
    } frames_;
};

} // namespace kelvator
