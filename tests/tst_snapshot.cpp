// The tick's work-time figures from the moment, the settings and the work calendar, without a
// window.
#include "worktime/tick_snapshot.h"

#include "schedule_fixture.h"

#include <QTest>

using namespace kelvator;
using kelvator::testing::ShortFridays;

namespace {

constexpr int kHour = 3600;

WorkSnapshot At(const QDateTime& now, const Settings& settings, const WorkCalendarModel& calendar)
{
    return ComputeWorkSnapshot(MomentOf(now, calendar.Calendar()), settings, calendar);
}

} // namespace

class TstSnapshot : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }

    // The day's end and its bar follow the settings page, or the weekday's own hours when ticked.
    void theDaysOwnEnd_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("weekdayHours");
        QTest::addColumn<int>("workEnd");
        QTest::addColumn<double>("dayBar");
        const QDate friday(2026, 12, 11);
        QTest::addRow("Friday, page's hours, at 13:00")
            << QDateTime(friday, QTime(13, 0)) << false << 16 * kHour << -1.0;
        QTest::addRow("Friday, own hours, at 13:00")
            << QDateTime(friday, QTime(13, 0)) << true << 13 * kHour << 1.0;
        QTest::addRow("Friday, own hours, at 7:00")
            << QDateTime(friday, QTime(7, 0)) << true << 13 * kHour << 0.0;
        QTest::addRow("Thursday, own hours, at 16:00")
            << QDateTime(friday.addDays(-1), QTime(16, 0)) << true << 16 * kHour << 1.0;
    }
    void theDaysOwnEnd()
    {
        QFETCH(QDateTime, now);
        QFETCH(bool, weekdayHours);
        QFETCH(int, workEnd);
        QFETCH(double, dayBar);
        WorkCalendarModel calendar;
        calendar.SetWeekdayHours(weekdayHours, ShortFridays());
        const WorkSnapshot s = At(now, Settings(), calendar);
        QCOMPARE(s.schedule.workEnd, workEnd);
        if (dayBar >= 0)
            QCOMPARE(s.dayBar, dayBar);
        else
            QVERIFY(s.dayBar > 0 && s.dayBar < 1);
    }

    // A payday row the list does not have counts as the default one.
    void aMissingPaydayRowCountsAsTheDefault_data()
    {
        QTest::addColumn<int>("row");
        QTest::addRow("none chosen") << -1;
        QTest::addRow("beyond the list") << 40;
    }
    void aMissingPaydayRowCountsAsTheDefault()
    {
        QFETCH(int, row);
        const QDateTime now(QDate(2024, 5, 7), QTime(10, 0));
        WorkCalendarModel calendar;
        Settings settings;
        settings.paydayRow = row;
        const QDate payday = At(now, settings, calendar).payday.payday;
        settings.paydayRow = kDefaultPaydayRow;
        QCOMPARE(payday, At(now, settings, calendar).payday.payday);
        QVERIFY(payday.isValid());
    }

    // With the calendar on, the month counts its own working days, and a month taken off whole
    // shows no progress instead of failing the tick.
    void theMonthFollowsTheCalendar()
    {
        const QDateTime now(QDate(2026, 12, 15), QTime(10, 0));
        WorkCalendarModel calendar;
        const int plainDays = At(now, Settings(), calendar).monthWork.workingDays;
        calendar.SetCalendar(true, CalendarEntries{});
        int expected = 0;
        for (QDate d(2026, 12, 1); d.month() == 12; d = d.addDays(1))
            expected += calendar.Calendar().IsWorkingDay(d) ? 1 : 0;
        QCOMPARE(At(now, Settings(), calendar).monthWork.workingDays, expected);
        QVERIFY(expected != plainDays);

        CalendarEntries allOff;
        for (QDate d(2026, 12, 1); d.month() == 12; d = d.addDays(1)) {
            if (calendar.Calendar().IsWorkingDay(d))
                allOff.rest << d.toString(QStringLiteral("yyyy.MM.dd."));
        }
        calendar.SetCalendar(true, allOff);
        const WorkSnapshot off = At(now, Settings(), calendar);
        QCOMPARE(off.monthWork.dueSeconds, 0);
        QCOMPARE(off.monthProgress, 0.0);
    }

    // The pay line: the wage is worked out only for a month with work due, from the page's day or
    // from the hours due by weekday; otherwise the page keeps the wage it showed.
    void monthPay_data()
    {
        QTest::addColumn<int>("workingDays");
        QTest::addColumn<int>("dueHours");
        QTest::addColumn<bool>("weekdayHours");
        QTest::addColumn<QString>("wage");
        QTest::addRow("nothing due") << 0 << 0 << false << QString();
        QTest::addRow("nothing due, hours by weekday") << 0 << 0 << true << QString();
        QTest::addRow("the page's nine hours") << 20 << 150 << false << QStringLiteral("Órabér = 1 667 Ft.");
        QTest::addRow("hours by weekday") << 20 << 150 << true << QStringLiteral("Órabér = 2 000 Ft.");
        QTest::addRow("working days without hours due") << 3 << 0 << true << QString();
    }
    void monthPay()
    {
        QFETCH(int, workingDays);
        QFETCH(int, dueHours);
        QFETCH(bool, weekdayHours);
        QFETCH(QString, wage);
        WorkSnapshot s;
        s.schedule.workStart = 7 * kHour;
        s.schedule.workEnd = 16 * kHour;
        s.monthWork.workingDays = workingDays;
        s.monthWork.dueSeconds = dueHours * kHour;
        s.monthProgress = 0.5;
        const MonthPay pay = MonthPayOf(s, 300000, weekdayHours);
        QCOMPARE(pay.earned, QStringLiteral("Eddig:  150 000 Ft."));
        QCOMPARE(pay.hourlyWage.has_value(), !wage.isEmpty());
        if (pay.hourlyWage)
            QCOMPARE(*pay.hourlyWage, wage);
    }

    // The moment's own facts: the day's second and whether it is worked.
    void theMoment()
    {
        WorkCalendarModel calendar;
        calendar.SetCalendar(true, CalendarEntries{});
        const TickMoment christmasEve =
            MomentOf(QDateTime(QDate(2026, 12, 24), QTime(9, 30, 15, 700)), calendar.Calendar());
        QCOMPARE(christmasEve.secondOfDay, 9 * kHour + 30 * 60 + 15);
        QVERIFY(!christmasEve.workday);
        QCOMPARE(christmasEve.weekdayName, QStringLiteral("Csütörtök"));
        QVERIFY(MomentOf(QDateTime(QDate(2026, 12, 12), QTime(9, 0)), calendar.Calendar()).workday);
    }
};

QTEST_GUILESS_MAIN(TstSnapshot)
#include "tst_snapshot.moc"
