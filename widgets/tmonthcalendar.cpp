#include "widgets/tmonthcalendar.h"

#include "widgets/tshape.h"

#include <QPainter>
#include <QTextCharFormat>

#include <utility>

TMonthCalendar::TMonthCalendar(QWidget* parent)
    : QCalendarWidget(parent)
{
    // The interface is Hungarian whatever the desktop's language is.
    setLocale(QLocale(QLocale::Hungarian, QLocale::Hungary));
    setFirstDayOfWeek(Qt::Monday);
    setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    setGridVisible(false);
    setMonthColour(0x0073D1D7);
    if (QWidget* bar = findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"))) {
        QPalette pal = bar->palette();
        pal.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
        pal.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
        pal.setColor(QPalette::Highlight, QColor(0xC0, 0xC0, 0xC0));
        pal.setColor(QPalette::WindowText, Qt::black);
        pal.setColor(QPalette::ButtonText, Qt::black);
        pal.setColor(QPalette::HighlightedText, Qt::black);
        bar->setPalette(pal);
        bar->setAutoFillBackground(true);
    }
    // The day names and week numbers sit on a fixed light face, so their text is fixed black.
    QTextCharFormat header = headerTextFormat();
    header.setBackground(QColor(0xF7, 0xF7, 0xF7));
    header.setForeground(Qt::black);
    setHeaderTextFormat(header);
    // Weekends keep the ordinary text colour; only other months' days are red, and the days
    // not worked where a work calendar says which they are (setDaysOff).
    QTextCharFormat plain;
    plain.setForeground(Qt::black);
    setWeekdayTextFormat(Qt::Saturday, plain);
    setWeekdayTextFormat(Qt::Sunday, plain);
}

void TMonthCalendar::setMonthColour(quint32 colour)
{
    monthColour_ = ToQColor(colour);
    update();
}

void TMonthCalendar::setDaysOff(DayTest isDayOff, int key)
{
    if (key == daysOffKey_)
        return;
    daysOffKey_ = key;
    isDayOff_ = std::move(isDayOff);
    update();
}

QColor TMonthCalendar::dayTextColour(QDate date) const
{
    const bool inMonth = date.month() == monthShown() && date.year() == yearShown();
    if (!inMonth)
        return Qt::red;
    return isDayOff_ && isDayOff_(date) ? Qt::red : Qt::black;
}

void TMonthCalendar::paintCell(QPainter* painter, const QRect& rect, QDate date) const
{
    const bool selected = date == selectedDate();
    painter->save();
    painter->fillRect(rect, monthColour_);
    if (selected)
        painter->fillRect(rect.adjusted(1, 1, -1, -1), palette().color(QPalette::Highlight));
    painter->setPen(selected ? palette().color(QPalette::HighlightedText) : dayTextColour(date));
    painter->drawText(rect, Qt::AlignCenter, QString::number(date.day()));
    painter->restore();
}
