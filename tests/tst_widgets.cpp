#include "calendar/workcalendar.h"
#include "widgets/mbargraph.h"
#include "widgets/mbargraph_layout.h"
#include "widgets/tmonthcalendar.h"

#include <QAbstractItemModel>
#include <QLocale>
#include <QTableView>
#include <QTest>

#include <limits>

using namespace kelvator;

Q_DECLARE_METATYPE(TMBGMode)
Q_DECLARE_METATYPE(TMBGOrientation)

namespace {
// A text 30 pixels wide and 13 high, whatever it says.
void Measure30(const QString&, int& w, int& h)
{
    w = 30;
    h = 13;
}

MBGLayout Lay(const MBGProperties& p, int w, int h)
{
    MBGLayout l;
    l.shown = ShownValue(p.value);
    UpdateBarLayout(p, w, h, true, l, &Measure30);
    return l;
}

MBGBox Box(int left, int top, int width, int height)
{
    return MBGBox{left, top, width, height};
}

// Where the calendar draws the number of a day of the month it shows, in its own coordinates.
QRect DayCell(const TMonthCalendar& calendar, const QDate& date)
{
    const auto* view = calendar.findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
    if (!view)
        return {};
    const QAbstractItemModel* model = view->model();
    // Read in order, the days run from the month before (unless the 1st comes first) through
    // the month shown into the next one: the month shown starts at the first 1.
    int month = -1;
    for (int row = 1; row < model->rowCount(); ++row) {
        for (int column = 1; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            const int day = model->data(index).toInt();
            if (day == 1)
                ++month;
            if (month == 0 && day == date.day()) {
                const QRect r = view->visualRect(index);
                return QRect(view->viewport()->mapTo(&calendar, r.topLeft()), r.size());
            }
        }
    }
    return {};
}

// The colour a day's number is drawn in, from the pixels: red, black, or none of them.
QString InkOf(const QImage& image, const QRect& cell)
{
    int red = 0;
    int black = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x <= cell.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 100 && c.blue() < 100)
                ++red;
            else if (c.red() < 100 && c.green() < 100 && c.blue() < 100)
                ++black;
        }
    }
    if (red > 0 && black == 0)
        return QStringLiteral("red");
    if (black > 0 && red == 0)
        return QStringLiteral("black");
    return QStringLiteral("mixed");
}
} // namespace

class TstWidgets : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }

    void bars_data()
    {
        QTest::addColumn<TMBGMode>("mode");
        QTest::addColumn<TMBGOrientation>("orientation");
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("minusShown");
        QTest::addColumn<bool>("plusShown");
        QTest::addColumn<MBGBox>("bar"); // the shown bar, if any
        QTest::addColumn<QString>("text");
        const auto U = modeUnsigned;
        const auto S = modeSigned;
        const auto Hz = orientationHorizontal;
        const auto Vt = orientationVertical;
        QTest::addRow("half rounds to even 192")
            << U << Hz << 385 << 17 << 0.5 << false << true << Box(1, 1, 192, 15) << "50%";
        QTest::addRow("full") << U << Hz << 385 << 17 << 1.0 << false << true << Box(1, 1, 383, 15) << "100%";
        QTest::addRow("over full keeps its text")
            << U << Hz << 385 << 17 << 1.25 << false << true << Box(1, 1, 383, 15) << "125%";
        QTest::addRow("zero") << U << Hz << 385 << 17 << 0.0 << false << false << MBGBox{} << "0%";
        QTest::addRow("negative") << U << Hz << 385 << 17 << -0.3 << false << false << MBGBox{} << "-30%";
        QTest::addRow("unsigned vertical")
            << U << Vt << 17 << 61 << 0.25 << false << true << Box(1, 45, 15, 15) << "0%";
        QTest::addRow("signed minus half")
            << S << Hz << 105 << 17 << -0.5 << true << false << Box(26, 1, 26, 15) << "0%";
        QTest::addRow("signed plus half")
            << S << Hz << 105 << 17 << 0.5 << false << true << Box(55, 1, 24, 15) << "0%";
        QTest::addRow("signed minus full")
            << S << Hz << 105 << 17 << -2.0 << true << false << Box(1, 1, 51, 15) << "0%";
        QTest::addRow("signed vertical full")
            << S << Vt << 17 << 60 << 1.0 << false << true << Box(1, 1, 15, 29) << "0%";
        QTest::addRow("signed vertical minus")
            << S << Vt << 17 << 60 << -0.5 << true << false << Box(1, 33, 15, 13) << "0%";
        QTest::addRow("not a number is -1")
            << S << Hz << 105 << 17 << std::numeric_limits<double>::quiet_NaN() << true << false
            << Box(1, 1, 51, 15) << "0%";
    }
    void bars()
    {
        QFETCH(TMBGMode, mode);
        QFETCH(TMBGOrientation, orientation);
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(double, value);
        QFETCH(bool, minusShown);
        QFETCH(bool, plusShown);
        QFETCH(MBGBox, bar);
        QFETCH(QString, text);
        MBGProperties p;
        p.mode = mode;
        p.orientation = orientation;
        p.value = value;
        const MBGLayout l = Lay(p, w, h);
        QCOMPARE(l.minus.visible, minusShown);
        QCOMPARE(l.plus.visible, plusShown);
        if (minusShown)
            QCOMPARE(l.minus.box, bar);
        if (plusShown)
            QCOMPARE(l.plus.box, bar);
        QCOMPARE(l.zero.visible, mode == modeSigned);
        QCOMPARE(l.label.text, text); // signed and vertical bars leave the label as it was
    }

    void zeroMark()
    {
        MBGProperties p;
        p.mode = modeSigned;
        p.value = 0;
        MBGLayout l = Lay(p, 105, 17);
        QCOMPARE(l.zero.box, Box(53, 1, 1, 15));
        QVERIFY(!l.plus.visible && !l.minus.visible);
        p.orientation = orientationVertical;
        l = Lay(p, 17, 60);
        QCOMPARE(l.zero.box, Box(1, 31, 15, 1));
    }

    void autoTextKeepsItsSideBetweenTheThresholds()
    {
        // Bar width is 100 × value; with a 30-pixel text the thresholds are 40 and 50.
        MBGProperties p;
        MBGLayout l;
        const struct {
            double value;
            bool outside;
        } steps[] = {{0.60, false}, {0.45, false}, {0.40, false}, {0.39, true},
                     {0.45, true},  {0.50, true},  {0.51, false}};
        for (const auto& step : steps) {
            p.value = step.value;
            l.shown = ShownValue(p.value);
            UpdateBarLayout(p, 102, 17, false, l, &Measure30);
            const int width = l.plus.box.width;
            QVERIFY2(l.textOutside == step.outside,
                     qPrintable(QString::number(step.value) + QLatin1Char(' ') + QString::number(width)));
            QCOMPARE(l.label.left, step.outside ? 1 + width + 5 : 1 + width - 30 - 5);
            QCOMPARE(l.label.top, 2); // (15 - 13) / 2 + 1
        }
    }

    void textPositions_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::addRow("inside") << int(tpInside) << 1 + 192 - 30 - 5 << 2;
        QTest::addRow("outside") << int(tpOutside) << 1 + 192 + 5 << 2;
        QTest::addRow("fix") << int(tpFix) << 7 << 3;
        QTest::addRow("centre") << int(tpCentre) << 192 + 1 - 15 << 2;
    }
    void textPositions()
    {
        QFETCH(int, position);
        QFETCH(int, left);
        QFETCH(int, top);
        MBGProperties p;
        p.textPosition = static_cast<TMBGTextPosition>(position);
        p.textLeft = 7;
        p.textTop = 3;
        const MBGLayout l = Lay(p, 385, 17);
        QCOMPARE(l.label.left, left);
        QCOMPARE(l.label.top, top);
    }

    void decimalsUseTheLocaleSeparator()
    {
        MBGProperties p;
        p.decimals = 2;
        p.value = 0.12346;
        QCOMPARE(Lay(p, 385, 17).label.text, QStringLiteral("12,35%"));
        p.decimals = 4;
        p.value = 0.5;
        QCOMPARE(Lay(p, 385, 17).label.text, QStringLiteral("50,0000%"));
    }

    void colours()
    {
        QCOMPARE(BlendColour(0x00FFFFFF, 0x000000FF, 0.5), quint32(0x007F7FFF));
        QCOMPARE(BlendColour(0x00FFFFFF, 33023, 1.0), quint32(33023));
        QCOMPARE(BlendColour(0x00FFFFFF, 33023, -3), quint32(0x00FFFFFF));
        QCOMPARE(BlendColour(0x00FFFFFF, 33023, 7), quint32(33023));
        QCOMPARE(ColourByte(0x00123456, u'r'), 0x56);
        QCOMPARE(ColourByte(0x00123456, u'G'), 0x34);
        QCOMPARE(ColourByte(0x00123456, u'b'), 0x12);
        QCOMPARE(ColourByte(0x00123456, u'x'), 0);
        QCOMPARE(InvertColour(0x00123456), quint32(0x00EDCBA9));

        MBGProperties p;
        p.inverseText = true;
        p.value = 1;
        p.plusColorAt1 = 0x0000FFFF;
        QCOMPARE(Lay(p, 385, 17).label.colour, quint32(0x00FF0000));
    }

    void monthCalendarDaysOff_data()
    {
        QTest::addColumn<bool>("calendar");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("ink");
        // With the work calendar: every day not worked red, a working Saturday black.
        QTest::addRow("on, rest day 24th") << true << QDate(2026, 12, 24) << "red";
        QTest::addRow("on, Christmas Day") << true << QDate(2026, 12, 25) << "red";
        QTest::addRow("on, Saturday holiday") << true << QDate(2026, 12, 26) << "red";
        QTest::addRow("on, Sunday") << true << QDate(2026, 12, 13) << "red";
        QTest::addRow("on, working Saturday") << true << QDate(2026, 12, 12) << "black";
        QTest::addRow("on, Wednesday") << true << QDate(2026, 12, 23) << "black";
        // Without it the month's days are black whatever they are, as they always were.
        QTest::addRow("off, working Saturday") << false << QDate(2026, 12, 12) << "black";
        QTest::addRow("off, rest day 24th") << false << QDate(2026, 12, 24) << "black";
        QTest::addRow("off, Christmas Day") << false << QDate(2026, 12, 25) << "black";
        QTest::addRow("off, Sunday") << false << QDate(2026, 12, 13) << "black";
    }
    void monthCalendarDaysOff()
    {
        QFETCH(bool, calendar);
        QFETCH(QDate, date);
        QFETCH(QString, ink);
        const kelvator::WorkCalendar work(true, {});
        TMonthCalendar month;
        month.resize(294, 158);
        month.setSelectedDate(QDate(2026, 12, 1));
        if (calendar)
            month.setDaysOff([&work](const QDate& d) { return !work.IsWorkingDay(d); }, 1);
        const QImage image = month.grab().toImage();
        const QRect cell = DayCell(month, date);
        QVERIFY(!cell.isEmpty());
        QCOMPARE(InkOf(image, cell), ink);
        QCOMPARE(month.dayTextColour(date),
                 ink == QStringLiteral("red") ? QColor(Qt::red) : QColor(Qt::black));
        // The days of the next month stay red either way.
        QCOMPARE(month.dayTextColour(QDate(2027, 1, 4)), QColor(Qt::red));
    }

    void monthCalendarDrawsAgainOnANewKey()
    {
        bool off = false;
        TMonthCalendar month;
        month.resize(294, 158);
        month.setSelectedDate(QDate(2026, 12, 1));
        month.setDaysOff([&off](const QDate&) { return off; }, 1);
        const QRect cell = DayCell(month, QDate(2026, 12, 23));
        QCOMPARE(InkOf(month.grab().toImage(), cell), QStringLiteral("black"));
        off = true; // the test follows a calendar that changed
        QCOMPARE(InkOf(month.grab().toImage(), cell), QStringLiteral("red"));
        // The same key keeps the test it has; a new one takes the new test.
        month.setDaysOff({}, 1);
        QCOMPARE(month.dayTextColour(QDate(2026, 12, 23)), QColor(Qt::red));
        month.setDaysOff({}, 2);
        QCOMPARE(month.dayTextColour(QDate(2026, 12, 23)), QColor(Qt::black));
    }

    void widgetLaysOutOnlyWhenNeeded()
    {
        TMBarGraph bar;
        bar.resize(385, 17);
        bar.setMBGValue(0.3);
        const int afterFirst = bar.barLayouts();
        bar.setMBGValue(0.3);
        QCOMPARE(bar.barLayouts(), afterFirst);
        bar.setMBGValue(1.5);
        bar.setMBGValue(2.0); // both shown as 1: nothing moves the second time
        QCOMPARE(bar.barLayouts(), afterFirst + 1);
        QCOMPARE(bar.layoutState().label.text, QStringLiteral("200%"));
        bar.setMBGPlusColorAt1(65280);
        QCOMPARE(bar.barLayouts(), afterFirst + 2);
        QCOMPARE(bar.layoutState().plus.fill, quint32(65280));
    }

    void widgetDefaults()
    {
        TMBarGraph bar;
        QCOMPARE(bar.size(), QSize(105, 17));
        QCOMPARE(bar.MBGValue(), 0.5);
        QCOMPARE(bar.MBGMode(), modeUnsigned);
        QCOMPARE(bar.MBGTextPosition(), tpAuto);
        QCOMPARE(bar.MBGPlusColorAt1(), quint32(0x000000FF));
        bar.setMBGDecimals(9);
        QCOMPARE(bar.MBGDecimals(), 4);
        bar.setMBGOrientation(orientationVertical);
        QCOMPARE(bar.minimumSize(), QSize(6, 30));
    }
};

QTEST_MAIN(TstWidgets)
#include "tst_widgets.moc"
