#pragma once

#include <QDateTime>
#include <QWidget>

#include <array>
#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class TMonthCalendar;

namespace kelvator {

struct Settings;

// The date calculator: two month calendars with their own steps, how far each date lies from
// today, and the difference between them.
class DateCalcPage : public QWidget {
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;
    using DayTest = std::function<bool(const QDate&)>;

    // The clock gives today for "Ma" and for the distances, read when they are needed.
    explicit DateCalcPage(Clock now, QWidget* parent = nullptr);

    // Every caption and text of the page again, measured from the clock's now.
    void Refresh();

    // The work calendar: which days the working-day steps count, which days the calendars show
    // in red, and its revision; a revision other than the last one draws the days again. The
    // tests are kept and asked when needed, so they may follow a calendar that changes.
    void ShowWorkCalendar(DayTest isWorkingDay, const DayTest& isDayOff, int revision);

    // The two dates and step sizes.
    void ShowSettings(const Settings& settings);
    void CollectSettings(Settings& settings) const;

private:
    // Side 0 is the left date, side 1 the right one.
    struct Side {
        TMonthCalendar* calendar = nullptr;
        QLabel* distance = nullptr;
        QGroupBox* box = nullptr;
        QComboBox* steps = nullptr;
        QPushButton* today = nullptr;
        QPushButton* stepOne = nullptr;
        std::array<QPushButton*, 5> back{}; // by step kind: day, week, month, year, working day
        std::array<QPushButton*, 5> forward{};
    };

    void BuildSide(int side);
    void Step(int side, int kind, int direction);
    void SetToday(int side);
    void SetStepOne(int side);
    void Copy(int from, int to);

    Clock now_;
    DayTest isWorkingDay_;
    std::array<Side, 2> sides_{};
    QLabel* rightArrow_ = nullptr;
    QLabel* leftArrow_ = nullptr;
    QLabel* equalSign_ = nullptr;
    QLabel* difference_ = nullptr;
    QPushButton* copyRight_ = nullptr;
    QPushButton* copyLeft_ = nullptr;
};

} // namespace kelvator
