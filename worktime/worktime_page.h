#pragma once

#include "calendar/tdatetime.h"
#include "worktime/payday.h"
#include "worktime/schedule.h"
#include "worktime/tick_snapshot.h"

#include <QDate>
#include <QDateTime>
#include <QImage>
#include <QRect>
#include <QWidget>

#include <array>
#include <functional>

class QAbstractButton;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class TMBarGraph;
class TMonthCalendar;
class TPaintBox;
class TShape;

namespace kelvator {

class ClockFace;
struct Settings;

// The work-time page: today's date and time with a small analog clock, the week and the year,
// a month calendar with the distance to its chosen day, the work day, week and month bars, the
// days to payday and, on request, the money earned so far and the hourly wage.
class WorkTimePage : public QWidget {
    Q_OBJECT

public:
    // The small clock shows `face` shrunk, which must outlive the page; `now` is read when the
    // user asks for today.
    WorkTimePage(ClockFace& face, std::function<QDateTime()> now, QWidget* parent = nullptr);

    void ShowSettings(const Settings& settings);
    void CollectSettings(Settings& settings) const;

    // Selects a day in the month calendar.
    void SelectDay(const QDate& day);
    // The days the month calendar draws in red; asked at every paint, redrawn when `revision` changes.
    void ShowDaysOff(std::function<bool(const QDate&)> daysOff, int revision);

    // The tick's texts and bars, in the tick's order.
    void ShowDate(const QDate& today);
    void ShowTime(const TimeTexts& time);
    void ShowYear(const QDate& today, const NewYearsEve& newYearsEve, double yearProgress);
    // How far the calendar's chosen day is from `now`.
    void ShowDistance(TDateTime now);
    void ShowWorkBars(double dayBar, double weekBar);
    // The squares up to payday; drawn again only when a date, the reason or `revision` changes.
    void ShowPayday(const QDate& today, const PaydayChoice& choice, const WorkingDayTest& working,
                    unsigned revision);
    // The work day bar's colour, which blinks at the work end.
    void ShowWorkEnd(quint32 dayBarColour);
    void ShowMonthProgress(double progress);
    void ShowMonthPay(const MonthPay& pay, int workingDays);

Q_SIGNALS:
    // The user changed what the page shows (a day chosen, today, the pay shown): the window ticks.
    void refreshRequested();

private:
    void BuildDaySquares();
    void ChooseDayFromToday(const TShape* shape, Qt::MouseButton button);
    // Why a payday has passed stands alone on the row, with no squares and no marker beside it.
    void FitPaydayLabel(bool alone);
    void ShowSmallFaceChange(const QRect& changed, qint64 previousKey);
    void PaintSmallFace(QPainter& p);

    ClockFace& face_;
    std::function<QDateTime()> now_;

    QGroupBox* todayBox_ = nullptr;
    QLabel* dateLabel_ = nullptr;
    QFrame* timePanel_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    QLabel* secondLabel_ = nullptr;
    QLabel* afternoonLabel_ = nullptr;
    TPaintBox* smallClock_ = nullptr;
    QLabel* weekNumberLabel_ = nullptr;
    QLabel* weeksInYearLabel_ = nullptr;
    TMBarGraph* yearBar_ = nullptr;
    QLabel* newYearsEveLabel_ = nullptr;
    TMonthCalendar* monthCalendar_ = nullptr;
    QPushButton* todayButton_ = nullptr;
    QLabel* distanceLabel_ = nullptr;
    QLabel* dayCaption_ = nullptr;
    TMBarGraph* dayBar_ = nullptr;
    QLabel* weekCaption_ = nullptr;
    TMBarGraph* weekBar_ = nullptr;
    QLabel* monthCaption_ = nullptr;
    QLabel* monthDaysLabel_ = nullptr;
    TMBarGraph* monthBar_ = nullptr;
    QLabel* paydayLabel_ = nullptr;
    TShape* paydayMarker_ = nullptr;
    QGroupBox* payBox_ = nullptr;
    QAbstractButton* payToggle_ = nullptr;
    QLabel* earnedLabel_ = nullptr;
    QLabel* hourlyWageLabel_ = nullptr;
    std::array<TShape*, 31> daySquares_{};

    // The payday strip as last drawn.
    QDate stripToday_;
    QDate stripPayday_;
    bool stripOffHoliday_ = false;
    unsigned stripRevision_ = 0;

    // The small clock as last shrunk, the face it matches and what changed on the face since.
    QImage smallFace_;
    qint64 smallFaceKey_ = 0;
    QRect smallFaceDirty_;
};

} // namespace kelvator
