#pragma once

#include "worktime/schedule.h"

#include <QDate>
#include <QString>
#include <QWidget>

class QFrame;
class QLabel;
class QTabWidget;
class TMBarGraph;
class TPaintBox;

namespace kelvator {

class ClockFace;
struct Settings;

// One tick's date, time and year, as the work-time page worked them out.
struct BigClockTexts {
    QDate today;
    QString date;    // "2016.08.01. Hétfő"
    QString weekday; // "Hétfő"
    TimeTexts time;
    NewYearsEve newYearsEve;
    double yearProgress = 0;
    QString weekNumber;  // "31"
    QString weeksInYear; // " / 52 hét"
};

// The big clock: a digital clock and an analog face on two inner tabs, with the date, the
// week and the year's progress beside each.
class BigClockPage : public QWidget {
    Q_OBJECT

public:
    // The analog tab shows `face`, which must outlive the page.
    explicit BigClockPage(ClockFace& face, QWidget* parent = nullptr);

    void ShowSettings(const Settings& settings);
    void CollectSettings(Settings& settings) const;

    bool AnalogShown() const;
    // Fills the texts of the inner tab that is shown; the other one is filled when it is shown.
    void ShowTexts(const BigClockTexts& texts);

Q_SIGNALS:
    // The user chose the other inner tab: it wants this moment's texts at once.
    void kindChanged();

private:
    void ShowFaceChange(const QRect& area);

    ClockFace& face_;
    QTabWidget* kinds_ = nullptr;
    QWidget* digitalTab_ = nullptr;
    QWidget* analogTab_ = nullptr;

    QLabel* digitalDate_ = nullptr;
    QFrame* digitalPanel_ = nullptr;
    QLabel* digitalAfternoon_ = nullptr;
    QLabel* digitalTime_ = nullptr;
    QLabel* digitalSecond_ = nullptr;
    QLabel* digitalWeekNumber_ = nullptr;
    QLabel* digitalWeeksInYear_ = nullptr;
    TMBarGraph* digitalYearBar_ = nullptr;
    QLabel* digitalDayOfYear_ = nullptr;

    TPaintBox* faceBox_ = nullptr;
    QLabel* analogYear_ = nullptr;
    QLabel* analogMonthDay_ = nullptr;
    QLabel* analogWeekday_ = nullptr;
    QLabel* analogWeekNumber_ = nullptr;
    QLabel* analogWeeksInYear_ = nullptr;
    TMBarGraph* analogYearBar_ = nullptr;
    QLabel* analogDayOfYear_ = nullptr;
};

} // namespace kelvator
