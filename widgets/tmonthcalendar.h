#pragma once

#include <QCalendarWidget>

#include <functional>

// The month calendar of the program's pages: Monday first, ISO week numbers, Hungarian
// names, a grey title, the month on a coloured background and other months' days in red.
class TMonthCalendar : public QCalendarWidget {
    Q_OBJECT

public:
    explicit TMonthCalendar(QWidget* parent = nullptr);

    // Background of the month's days, 0x00BBGGRR.
    void setMonthColour(quint32 colour);

    // Red for the month's days that the test names (the days not worked), black for the others;
    // without a test all of the month's days are black. The test is asked at every paint, so it
    // may follow a calendar that changes; a key other than the last one draws the days again.
    using DayTest = std::function<bool(const QDate&)>;
    void setDaysOff(DayTest isDayOff, int key);
    // The colour a day's number is written in when it is not the selected one.
    QColor dayTextColour(QDate date) const;

protected:
    void paintCell(QPainter* painter, const QRect& rect, QDate date) const override;

private:
    QColor monthColour_;
    DayTest isDayOff_;
    int daysOffKey_ = -1;
};
