#pragma once

#include <QCalendarWidget>

// The month calendar of the program's pages: Monday first, ISO week numbers, Hungarian
// names, a grey title, the month on a coloured background and other months' days in red.
class TMonthCalendar : public QCalendarWidget {
    Q_OBJECT

public:
    explicit TMonthCalendar(QWidget* parent = nullptr);

    // Background of the month's days, 0x00BBGGRR.
    void setMonthColour(quint32 colour);

protected:
    void paintCell(QPainter* painter, const QRect& rect, QDate date) const override;

private:
    QColor monthColour_;
};
