#include "schedule_fixture.h"
#include "window_fixture.h"
#include "worktime_fixture.h"

#include "calendar/calendar_texts.h"
#include "calendar/workcalendar.h"
#include "clocks/analog_clock.h"
#include "datecalc/datecalc.h"
#include "settings/inifile.h"
#include "settings/settings_model.h"
#include "widgets/mbargraph.h"
#include "widgets/tmonthcalendar.h"
#include "widgets/tpaintbox.h"
#include "widgets/tshape.h"
#include "worktime/payday.h"
#include "worktime/workcalendar_model.h"
#include "worktime/workcalendar_page.h"
#include "worktime/workpattern.h"
#include "yearcal/yearcal.h"
#include "yearcal/yeargrid_page.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>

#include <cmath>
#include <functional>

using namespace kelvator;
using kelvator::testing::Control;
using kelvator::testing::MainTabs;
using kelvator::testing::OuterPages;
using kelvator::testing::Sec;
using kelvator::testing::SevenToFour;
using kelvator::testing::Window;

namespace {
YearGridPage& GridPage(TForm_Main& f)
{
    return *f.findChild<YearGridPage*>(QStringLiteral("TabSheet_EvesNaptar"));
}

TPaintBox& GridBox(TForm_Main& f)
{
    return *f.findChild<TPaintBox*>(QStringLiteral("Image_EvesNaptar"));
}

QLabel& DayKindLabel(TForm_Main& f)
{
    return *f.findChild<QLabel*>(QStringLiteral("Label_EvesNaptarNapFajta"));
}

WorkCalendar RealCalendar(const CalendarEntries& entries = {})
{
    return WorkCalendar(true, entries);
}
WorkPattern RealPattern(const CalendarEntries& entries = {})
{
    return MakePattern(RealCalendar(entries), SevenToFour(), std::nullopt);
}
QString FileText(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}
QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}
void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}
// The [Munkarend] lines of a settings file, as they stand.
QStringList MunkarendLines(const QString& path)
{
    const QStringList lines = FileText(path).split(QStringLiteral("\r\n"));
    const qsizetype from = lines.indexOf(QStringLiteral("[Munkarend]"));
    if (from < 0)
        return {};
    QStringList section;
    for (qsizetype i = from + 1; i < lines.size() && !lines[i].startsWith(u'['); ++i)
        section << lines[i];
    section.removeAll(QString());
    return section;
}
// n days from `from` on that pass `take`, as the file writes them.
QStringList Days(QDate from, int n, const std::function<bool(const QDate&)>& take)
{
    QStringList days;
    for (QDate d = from; days.size() < n; d = d.addDays(1)) {
        if (take(d))
            days << CalendarDateText(d);
    }
    return days;
}
// n pairs from `from` on that the law allows: a Saturday that is no holiday, with the nearest
// weekday before it that is none either.
QStringList LawfulPairs(QDate from, int n)
{
    QStringList pairs;
    for (QDate sat = from.addDays(6 - from.dayOfWeek()); pairs.size() < n; sat = sat.addDays(7)) {
        if (!HolidayName(sat).isEmpty())
            continue;
        QDate rest = sat.addDays(-1);
        while (!HolidayName(rest).isEmpty())
            rest = rest.addDays(-1);
        pairs << DecreePairText(DecreePair{sat, rest});
    }
    return pairs;
}
int CountKind(const WorkCalendar& c, QDate from, QDate to, DayKind kind)
{
    int n = 0;
    for (QDate d = from; d <= to; d = d.addDays(1))
        n += c.Info(d).kind == kind ? 1 : 0;
    return n;
}
// A control of the work calendar page, found by its name as screen readers find it.
template <typename T = QAbstractButton> T* Named(const QObject& parent, const char* name)
{
    return parent.findChild<T*>(QString::fromLatin1(name));
}
bool MunkarendShown(const TForm_Main& f)
{
    return OuterPages(f)->currentWidget()->objectName() == QStringLiteral("TabSheet_Munkarend");
}
// The page on its own, opened on 2026 with the settings page's default hours.
struct LonePage {
    WorkCalendarModel model;
    QStringList errors;
    int saves = 0;
    bool saveFails = false;
    WorkCalendarPage page{model,
                          {[this](const QString& text) { errors << text; },
                           [this] {
                               ++saves;
                               return !saveFails;
                           }}};
    explicit LonePage(const CalendarEntries& entries = {})
    {
        model.SetCalendar(false, entries);
        page.Open(2026, Settings{});
    }
    // OK, and the days it put into the model.
    CalendarEntries Applied()
    {
        Named(page, "Button_MunkarendOK")->click();
        return model.Entries();
    }
};
} // namespace

using kelvator::testing::WorkTimeControl;

class TstWorkCalendar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }

    // ---- The calendar itself ---------------------------------------------------------------

    void easter_data()
    {
        QTest::addColumn<QDate>("easter");
        for (const QDate& d : {QDate(2016, 3, 27), QDate(2017, 4, 16), QDate(2019, 4, 21), QDate(2020, 4, 12),
                               QDate(2021, 4, 4), QDate(2024, 3, 31), QDate(2025, 4, 20), QDate(2026, 4, 5),
                               QDate(2027, 3, 28), QDate(2285, 3, 22), QDate(2038, 4, 25)})
            QTest::addRow("%d", d.year()) << d;
    }
    void easter()
    {
        QFETCH(QDate, easter);
        QCOMPARE(EasterSunday(easter.year()), easter);
    }

    void easterStaysInItsWindow()
    {
        // 22 March to 25 April, a Sunday, in every year the program answers for.
        for (int year = 1900; year <= 2200; ++year) {
            const QDate e = EasterSunday(year);
            QVERIFY2(e >= QDate(year, 3, 22) && e <= QDate(year, 4, 25) && e.dayOfWeek() == 7,
                     qPrintable(e.toString(Qt::ISODate)));
        }
    }

    void holidays_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("name");
        const QList<QDate> easters{QDate(2024, 3, 31), QDate(2025, 4, 20), QDate(2026, 4, 5),
                                   QDate(2027, 3, 28)};
        for (const QDate& e : easters) {
            const int y = e.year();
            const QList<std::pair<QDate, QString>> days{
                {QDate(y, 1, 1), QStringLiteral("Újév")},
                {QDate(y, 3, 15), QStringLiteral("Nemzeti ünnep")},
                {e.addDays(-2), QStringLiteral("Nagypéntek")},
                {e, QStringLiteral("Húsvétvasárnap")},
                {e.addDays(1), QStringLiteral("Húsvéthétfő")},
                {QDate(y, 5, 1), QStringLiteral("A munka ünnepe")},
                {e.addDays(49), QStringLiteral("Pünkösdvasárnap")},
                {e.addDays(50), QStringLiteral("Pünkösdhétfő")},
                {QDate(y, 8, 20), QStringLiteral("Az államalapítás ünnepe")},
                {QDate(y, 10, 23), QStringLiteral("Nemzeti ünnep")},
                {QDate(y, 11, 1), QStringLiteral("Mindenszentek")},
                {QDate(y, 12, 25), QStringLiteral("Karácsony")},
                {QDate(y, 12, 26), QStringLiteral("Karácsony másnapja")}};
            for (const auto& [date, name] : days)
                QTest::addRow("%s", qPrintable(date.toString(Qt::ISODate))) << date << name;
        }
    }
    void holidays()
    {
        QFETCH(QDate, date);
        QFETCH(QString, name);
        const DayInfo info = RealCalendar().Info(date);
        QCOMPARE(info.name, name);
        QCOMPARE(info.kind, DayKind::Holiday);
        QVERIFY(!info.working);
        QVERIFY(!RealCalendar().IsWorkingDay(date));
        QVERIFY(WorkCalendar().IsWorkingDay(date) == (date.dayOfWeek() < 6)); // switched off: plain
    }

    void thirteenHolidaysAYear()
    {
        for (int year : {2016, 2017, 2024, 2025, 2026, 2027}) {
            int count = 0;
            for (QDate d(year, 1, 1); d.year() == year; d = d.addDays(1))
                count += HolidayName(d).isEmpty() ? 0 : 1;
            QCOMPARE(count, year >= 2017 ? 13 : 12); // Good Friday only from 2017 on
        }
        QVERIFY(HolidayName(QDate(2016, 3, 25)).isEmpty());
    }

    void decreePairs_data()
    {
        QTest::addColumn<QDate>("working");
        QTest::addColumn<QDate>("rest");
        for (const DecreePair& p : BuiltInDecrees())
            QTest::addRow("%s", qPrintable(p.working.toString(Qt::ISODate))) << p.working << p.rest;
        QCOMPARE(BuiltInDecrees().size(), size_t(10));
    }
    void decreePairs()
    {
        QFETCH(QDate, working);
        QFETCH(QDate, rest);
        const WorkCalendar c = RealCalendar();
        QCOMPARE(working.dayOfWeek(), 6);
        QVERIFY(c.IsWorkingDay(working));
        QCOMPARE(c.Info(working).kind, DayKind::DecreeWork);
        QCOMPARE(c.Info(working).name, QStringLiteral("Munkanap (áthelyezett)"));
        QVERIFY(!c.IsWorkingDay(rest));
        QCOMPARE(c.Info(rest).kind, DayKind::DecreeRest);
        QCOMPARE(c.Info(rest).name, QStringLiteral("Pihenőnap (áthelyezett)"));
        QCOMPARE(c.Info(rest).shortName, QStringLiteral("Pihenőnap"));
        QCOMPARE(c.StandsInFor(working), rest);
        // Switched off, the plain week again.
        QVERIFY(!WorkCalendar(false, {}).IsWorkingDay(working));
        QVERIFY(WorkCalendar(false, {}).IsWorkingDay(rest));
    }

    void userDaysWin()
    {
        CalendarEntries e;
        e.rest << QStringLiteral("2026.05.15."); // a Friday off
        e.work << QStringLiteral("2026.10.23."); // working on a holiday
        e.rest << QStringLiteral("2026.12.12."); // off on the decree's working Saturday
        const WorkCalendar c = RealCalendar(e);
        QVERIFY(!c.IsWorkingDay(QDate(2026, 5, 15)));
        QCOMPARE(c.Info(QDate(2026, 5, 15)).name, QStringLiteral("Szabadnap"));
        QVERIFY(c.IsWorkingDay(QDate(2026, 10, 23)));
        QCOMPARE(c.Info(QDate(2026, 10, 23)).kind, DayKind::UserWork);
        QCOMPARE(c.Info(QDate(2026, 10, 23)).name, QStringLiteral("Munkanap"));
        QVERIFY(!c.IsWorkingDay(QDate(2026, 12, 12)));
    }

    void entries_data()
    {
        QTest::addColumn<QString>("rest");
        QTest::addColumn<QString>("pairs");
        QTest::addColumn<int>("decemberDays");
        QTest::addRow("none") << QString() << QString() << 22;
        QTest::addRow("one day off") << QStringLiteral("2026.12.28.") << QString() << 21;
        QTest::addRow("malformed days skipped")
            << QStringLiteral("2026.02.30.;tegnap;;2026.12.28;2026.12.28.") << QString() << 21;
        QTest::addRow("a new decree pair") << QString() << QStringLiteral("2026.12.19.>2026.12.31.") << 22;
        QTest::addRow("a pair not starting on Saturday is skipped")
            << QString() << QStringLiteral("2026.12.18.>2026.12.31.;x>y;2026.12.19.") << 22;
    }
    void entries()
    {
        QFETCH(QString, rest);
        QFETCH(QString, pairs);
        QFETCH(int, decemberDays);
        CalendarEntries e;
        e.rest = SplitEntries(rest);
        e.pairs = SplitEntries(pairs);
        QCOMPARE(JoinEntries(e.rest), rest); // kept as they were
        const MonthWork w = CountMonthWork(RealPattern(e), QDate(2026, 12, 1), 0);
        QCOMPARE(w.workingDays, decemberDays);
    }

    void withUserDay()
    {
        CalendarEntries e;
        e.rest << QStringLiteral("rossz") << QStringLiteral("2026.12.28.");
        e = WithUserDay(e, QDate(2026, 12, 28), DayKind::UserWork);
        QCOMPARE(e.rest, QStringList{QStringLiteral("rossz")});
        QCOMPARE(e.work, QStringList{QStringLiteral("2026.12.28.")});
        e = WithUserDay(e, QDate(2026, 12, 28), DayKind::Plain);
        QVERIFY(e.work.isEmpty());
        QCOMPARE(e.rest, QStringList{QStringLiteral("rossz")});
    }

    // ---- Counts, bars, payday ------------------------------------------------------------

    void monthDays_data()
    {
        QTest::addColumn<QDate>("month");
        QTest::addColumn<bool>("real");
        QTest::addColumn<int>("days");
        QTest::addRow("December 2026, plain") << QDate(2026, 12, 1) << false << 23;
        QTest::addRow("December 2026") << QDate(2026, 12, 1) << true << 22;
        QTest::addRow("August 2026") << QDate(2026, 8, 1) << true << 20;
        QTest::addRow("April 2026") << QDate(2026, 4, 1) << true << 20;
        QTest::addRow("January 2026") << QDate(2026, 1, 1) << true << 21; // 1st, 2nd off, 10th worked
    }
    void monthDays()
    {
        QFETCH(QDate, month);
        QFETCH(bool, real);
        QFETCH(int, days);
        const WorkPattern p = MakePattern(WorkCalendar(real, {}), SevenToFour(), std::nullopt);
        const MonthWork w = CountMonthWork(p, month, 0);
        QCOMPARE(w.workingDays, days);
        QCOMPARE(w.dueSeconds, days * 9 * 3600);
    }

    void weekBar_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<double>("day");
        QTest::addColumn<double>("week");
        // 1 May 2024 is a Wednesday holiday: four days are due.
        QTest::addRow("holiday Wednesday") << QDateTime(QDate(2024, 5, 1), QTime(12, 0)) << 0.0 << 0.5;
        QTest::addRow("Tuesday before it") << QDateTime(QDate(2024, 4, 30), QTime(16, 0)) << 1.0 << 0.5;
        QTest::addRow("Thursday after it") << QDateTime(QDate(2024, 5, 2), QTime(11, 30)) << 0.5 << 0.625;
        QTest::addRow("Friday evening") << QDateTime(QDate(2024, 5, 3), QTime(16, 0)) << 1.0 << 1.0;
        QTest::addRow("Saturday") << QDateTime(QDate(2024, 5, 4), QTime(10, 0)) << 0.0 << 1.0;
        // Saturday 12 December 2026 is worked: six days are due.
        QTest::addRow("Friday before a working Saturday")
            << QDateTime(QDate(2026, 12, 11), QTime(16, 0)) << 1.0 << 5.0 / 6;
        QTest::addRow("working Saturday") << QDateTime(QDate(2026, 12, 12), QTime(11, 30)) << 0.5 << 5.5 / 6;
        QTest::addRow("working Saturday evening")
            << QDateTime(QDate(2026, 12, 12), QTime(16, 0)) << 1.0 << 1.0;
        QTest::addRow("Sunday after it") << QDateTime(QDate(2026, 12, 13), QTime(9, 0)) << 0.0 << 1.0;
        // 24 and 25 December 2026 (Thursday, Friday) are off.
        QTest::addRow("Christmas Eve") << QDateTime(QDate(2026, 12, 24), QTime(12, 0)) << 0.0 << 1.0;
    }
    void weekBar()
    {
        QFETCH(QDateTime, moment);
        QFETCH(double, day);
        QFETCH(double, week);
        const WorkPattern p = RealPattern();
        const int s = SecondOfDay(moment.time());
        QCOMPARE(DayBarValue(p, moment.date(), s), day);
        QCOMPARE(WeekBarValue(p, moment.date(), s), week);
    }

    void switchedOffIsTheOldFormulas()
    {
        // Every day of two years at the moments where the formulas change: bit for bit the same.
        const WorkSchedule s = SevenToFour();
        const WorkPattern off = MakePattern(WorkCalendar(false, {}), s, std::nullopt);
        const WorkPattern plain = PlainPattern(s);
        for (QDate d(2026, 1, 1); d.year() < 2028; d = d.addDays(1)) {
            for (int t : {0, Sec(6, 59, 59), Sec(7, 0), Sec(7, 0, 1), Sec(11, 30), Sec(15, 59, 59),
                          Sec(16, 0), Sec(23, 59, 59)}) {
                for (const WorkPattern* p : {&off, &plain}) {
                    QCOMPARE(DayBarValue(*p, d, t), DayBarValue(IsWorkday(d), t, s));
                    QCOMPARE(WeekBarValue(*p, d, t), WeekBarValue(d.dayOfWeek(), t, s));
                    const MonthCounters c = CountMonth(d, t, s);
                    const MonthWork w = CountMonthWork(*p, d, t);
                    QCOMPARE(w.workingDays, c.workdaysInMonth);
                    QCOMPARE(MonthProgress(w), MonthProgress(c, s));
                }
            }
        }
    }

    void zeroLengthDayStillFails()
    {
        WorkSchedule s;
        s.workStart = s.workEnd = Sec(7, 0);
        QVERIFY_THROWS_EXCEPTION(std::domain_error,
                                 WeekBarValue(PlainPattern(s), QDate(2026, 12, 9), Sec(8, 0)));
        QCOMPARE(WeekBarValue(PlainPattern(s), QDate(2026, 12, 12), Sec(8, 0)), 1.0);
    }

    void userDaysInBars()
    {
        CalendarEntries e;
        e.rest << QStringLiteral("2026.05.15."); // leave on a Friday
        e.work << QStringLiteral("2026.10.23."); // working on a holiday Friday
        const WorkPattern p = RealPattern(e);
        QCOMPARE(DayBarValue(p, QDate(2026, 5, 15), Sec(12, 0)), 0.0);
        QCOMPARE(WeekBarValue(p, QDate(2026, 5, 14), Sec(16, 0)), 1.0); // Thursday ends the week
        // May 2026: 21 weekdays, 1 May and Whit Monday off, and the leave day.
        QCOMPARE(CountMonthWork(p, QDate(2026, 5, 1), 0).workingDays, 18);
        QCOMPARE(DayBarValue(p, QDate(2026, 10, 23), Sec(11, 30)), 0.5);
        QCOMPARE(WeekBarValue(p, QDate(2026, 10, 23), Sec(16, 0)), 1.0);
        QCOMPARE(CountMonthWork(p, QDate(2026, 10, 1), 0).workingDays, 22);
    }

    void payday_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("rule");
        QTest::addColumn<bool>("real");
        QTest::addColumn<QDate>("payday");
        QTest::addColumn<QString>("label");
        // Payday the 1st: 1 January 2027 is a Friday holiday, then a weekend.
        const QDate before(2026, 12, 20);
        const QDate newYear(2027, 1, 1);
        QTest::addRow("back, before")
            << before << 0 << true << QDate(2026, 12, 31) << QStringLiteral("Fizetés 11 nap múlva:");
        QTest::addRow("forward, before")
            << before << 1 << true << QDate(2027, 1, 4) << QStringLiteral("Fizetés 15 nap múlva:");
        QTest::addRow("on the day, before")
            << before << 2 << true << newYear << QStringLiteral("Fizetés 12 nap múlva:");
        QTest::addRow("back, on New Year's Day")
            << newYear << 0 << true << QDate(2026, 12, 31)
            << QStringLiteral("Munkaszüneti napra esne a fizetésnap, ezért előtte volt.");
        QTest::addRow("forward, on New Year's Day")
            << newYear << 1 << true << QDate(2027, 1, 4) << QStringLiteral("Fizetés 3 nap múlva:");
        QTest::addRow("plain, on New Year's Day")
            << newYear << 0 << false << newYear << QStringLiteral("Ma van a fizetés.");
    }
    void payday()
    {
        QFETCH(QDate, today);
        QFETCH(int, rule);
        QFETCH(bool, real);
        QFETCH(QDate, payday);
        QFETCH(QString, label);
        const WorkCalendar c(real, {});
        const WorkingDayTest working = [&c](const QDate& d) { return c.IsWorkingDay(d); };
        const PaydayChoice choice = PaydayOf(today, 0, rule, working);
        QCOMPARE(choice.payday, payday);
        QCOMPARE(BuildPaydayStrip(today, choice, working).label, label);
    }

    void paydaySquaresRedOnHolidays()
    {
        const WorkCalendar c = RealCalendar();
        const WorkingDayTest working = [&c](const QDate& d) { return c.IsWorkingDay(d); };
        const QDate today(2026, 12, 20);
        const PaydayStrip strip = BuildPaydayStrip(today, PaydayOf(today, 0, 0, working), working);
        // Square 31 is 30 December, square 24 is 23 December ... square 21 is 20 December (today).
        QCOMPARE(strip.squares[30].fill, 0x00FFFFFFu); // 30 December
        QCOMPARE(strip.squares[25].fill, 0x000000FFu); // 25 December, a holiday
        QCOMPARE(strip.squares[24].fill, 0x000000FFu); // 24 December, a rest day
        QCOMPARE(strip.squares[23].fill, 0x00FFFFFFu); // 23 December
    }

    void workingDaySteps_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QDate>("real");
        QTest::addColumn<QDate>("plain");
        QTest::addRow("over Christmas")
            << QDate(2026, 12, 23) << 1 << 1 << QDate(2026, 12, 28) << QDate(2026, 12, 24);
        QTest::addRow("onto the working Saturday")
            << QDate(2026, 12, 11) << 1 << 1 << QDate(2026, 12, 12) << QDate(2026, 12, 14);
        QTest::addRow("back from Easter Monday")
            << QDate(2026, 4, 6) << 1 << -1 << QDate(2026, 4, 1) << QDate(2026, 4, 3);
        QTest::addRow("five forward from New Year's Day")
            << QDate(2027, 1, 1) << 5 << 1 << QDate(2027, 1, 11) << QDate(2027, 1, 8);
    }
    void workingDaySteps()
    {
        QFETCH(QDate, from);
        QFETCH(int, n);
        QFETCH(int, direction);
        QFETCH(QDate, real);
        QFETCH(QDate, plain);
        const WorkCalendar c = RealCalendar();
        QCOMPARE(StepDate(from, DateStep::Workday, n, direction,
                          [&c](const QDate& d) { return c.IsWorkingDay(d); }),
                 real);
        QCOMPARE(StepDate(from, DateStep::Workday, n, direction), plain);
    }

    void stepsNeverRunForEver()
    {
        const QDate from(2026, 12, 9);
        QCOMPARE(StepWorkdays(from, 1, 1, [](const QDate&) { return false; }), from);
    }

    void yearGridDots()
    {
        const WorkCalendar c = RealCalendar();
        QImage image(385, 221, QImage::Format_RGB32);
        DayColours colours{};
        for (auto& m : colours)
            m.fill(kButtonFace);
        DrawYearGrid(image, YearGrid{}, 2026, colours, false, QDate(2026, 12, 9),
                     [&c](const QDate& d) { return !c.IsWorkingDay(d); });
        auto dotted = [&image](int month, int day) {
            return image.pixel(6 + (day - 1) * 12, 9 + (month - 1) * 18) == qRgb(255, 0, 0);
        };
        QVERIFY(!dotted(12, 12)); // the working Saturday
        QVERIFY(dotted(12, 13));
        QVERIFY(dotted(12, 24));
        QVERIFY(dotted(12, 25));
        QVERIFY(!dotted(12, 23));
        QVERIFY(dotted(4, 6)); // Easter Monday
    }

    void analogOverlayFollowsTheCalendar()
    {
        QImage artwork(280, 280, QImage::Format_RGB32);
        artwork.fill(Qt::white);
        ClockFaceInput in;
        in.time = QTime(11, 0);
        in.overlayChoice = 0;
        in.schedule = SevenToFour();
        QImage weekday, holiday, saturday, workingSaturday;
        in.dayOfWeek = 1;
        DrawClockFace(weekday, artwork, in);
        in.workingDay = false;
        DrawClockFace(holiday, artwork, in);
        in.dayOfWeek = 6;
        in.workingDay.reset();
        DrawClockFace(saturday, artwork, in);
        in.workingDay = true;
        DrawClockFace(workingSaturday, artwork, in);
        QVERIFY(weekday != holiday);
        QCOMPARE(holiday, saturday);
        QCOMPARE(workingSaturday, weekday);
    }

    // ---- The window ----------------------------------------------------------------------

    void untickedWindowIsUnchanged()
    {
        Window w(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        w.TickAt(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_Munkahonap")->text(),
                 QStringLiteral("23 munkanap:"));
        w.form->SaveSettings();
        QVERIFY(!FileText(w.SettingsPath()).contains(QStringLiteral("Munkarend")));
    }

    void tickedWindow()
    {
        Window w(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        TForm_Main& f = *w.form;
        f.Menu_BeallitasokClick();
        f.Button_MunkarendClick();
        QVERIFY(MunkarendShown(f));
        Named(f, "CheckBox_Unnepnapok")->setChecked(true);
        Named(f, "Button_MunkarendOK")->click();
        QCOMPARE(OuterPages(f)->currentWidget(), Control<QWidget>(f, "TabSheet_Beallitasok"));
        Control<QPushButton>(f, "Button_BeallitasokOK")->click();
        w.TickAt(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        QCOMPARE(WorkTimeControl<QLabel>(f, "Label_Munkahonap")->text(), QStringLiteral("22 munkanap:"));
        // Christmas Eve: no day bar, no work-end signal.
        Control<TRadioGroup>(f, "RadioGroup_HangjelzesKelvatorVegen")->setItemIndex(1);
        w.TickAt(QDateTime(QDate(2026, 12, 24), QTime(15, 59, 59)));
        w.TickAt(QDateTime(QDate(2026, 12, 24), QTime(16, 0)));
        QCOMPARE(WorkTimeControl<TMBarGraph>(f, "MBarGraph_Munakanap")->MBGValue(), 0.0);
        QCOMPARE(w.fake.beeps, 0);
        // The working Saturday signals its end.
        w.TickAt(QDateTime(QDate(2026, 12, 12), QTime(15, 59, 59)));
        w.TickAt(QDateTime(QDate(2026, 12, 12), QTime(16, 0)));
        QCOMPARE(w.fake.beeps, 1);

        const QString file = FileText(w.SettingsPath());
        QVERIFY(file.indexOf(QStringLiteral("[Munkarend]")) > file.indexOf(QStringLiteral("[Idobelyeg]")));
        QVERIFY(file.contains(QStringLiteral("CheckBox_Unnepnapok=1")));

        // Read back by a new start.
        Window again(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        QFile::remove(again.SettingsPath());
        QFile::copy(w.SettingsPath(), again.SettingsPath());
        again.form->LoadSettings();
        again.TickAt(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        QCOMPARE(WorkTimeControl<QLabel>(*again.form, "Label_Munkahonap")->text(),
                 QStringLiteral("22 munkanap:"));
    }

    void cancelChangesNothing()
    {
        Window w(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        TForm_Main& f = *w.form;
        f.Menu_BeallitasokClick();
        f.Button_MunkarendClick();
        Named(f, "CheckBox_Unnepnapok")->setChecked(true);
        Named<QLineEdit>(f, "Edit_MunkarendDatum")->setText(QStringLiteral("2026.12.28."));
        Named(f, "Button_MunkarendSzabadnap")->click();
        QTest::keyClick(Named<QLineEdit>(f, "Edit_MunkarendDatum"), Qt::Key_Escape);
        QCOMPARE(OuterPages(f)->currentWidget(), Control<QWidget>(f, "TabSheet_Beallitasok"));
        QVERIFY(!f.CalendarModel().Calendar().enabled());
        QVERIFY(f.CalendarModel().Entries().rest.isEmpty());
    }

    void pageEditsCopiesUntilOk()
    {
        LonePage lone;
        QSignalSpy applied(&lone.page, &WorkCalendarPage::applied);
        QSignalSpy done(&lone.page, &WorkCalendarPage::done);
        const QWidget& p = lone.page;
        auto* list = Named<QListWidget>(p, "ListBox_MunkarendNapok");
        const int listed = list->count();
        auto addDay = [&p] {
            Named(p, "CheckBox_Unnepnapok")->setChecked(true);
            Named<QLineEdit>(p, "Edit_MunkarendDatum")->setText(QStringLiteral("2026.12.28."));
            Named(p, "Button_MunkarendSzabadnap")->click();
        };
        // Cancel: the model untouched, nothing written.
        addDay();
        QCOMPARE(list->count(), listed + 1);
        const unsigned revision = lone.model.Revision();
        Named(p, "Button_MunkarendMegsem")->click();
        QCOMPARE(done.count(), 1);
        QCOMPARE(applied.count(), 0);
        QCOMPARE(lone.model.Revision(), revision);
        QVERIFY(!lone.model.Enabled());
        QCOMPARE(lone.saves, 0);
        // Opened again, the page shows the model, not what was cancelled.
        lone.page.Open(2026, Settings{});
        QCOMPARE(list->count(), listed);
        QVERIFY(!Named(p, "CheckBox_Unnepnapok")->isChecked());
        QVERIFY(Named<QLineEdit>(p, "Edit_MunkarendDatum")->text().isEmpty());
        QVERIFY(Named<QLabel>(p, "Label_MunkarendUzenet")->text().isEmpty());
        // OK: one change with all of it, written, then done.
        addDay();
        QCOMPARE(lone.Applied().rest, QStringList{QStringLiteral("2026.12.28.")});
        QVERIFY(lone.model.Enabled());
        QCOMPARE(lone.model.Revision(), revision + 1);
        QCOMPARE(lone.saves, 1);
        QCOMPARE(applied.count(), 1);
        QCOMPARE(done.count(), 2);
    }

    void pageStaysWhenTheFileCannotBeWritten()
    {
        LonePage lone;
        lone.saveFails = true;
        QSignalSpy applied(&lone.page, &WorkCalendarPage::applied);
        QSignalSpy done(&lone.page, &WorkCalendarPage::done);
        Named(lone.page, "CheckBox_Unnepnapok")->setChecked(true);
        Named(lone.page, "Button_MunkarendOK")->click();
        // The program runs with it; the user may try again or leave.
        QVERIFY(lone.model.Enabled());
        QCOMPARE(lone.saves, 1);
        QCOMPARE(applied.count(), 0);
        QCOMPARE(done.count(), 0);
    }

    void badInput_data()
    {
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("working");
        QTest::addColumn<QString>("rest");
        QTest::addColumn<QString>("message");
        QTest::addRow("no such date")
            << QStringLiteral("2026.02.30.") << QString() << QString() << QStringLiteral("A dátum hibás");
        QTest::addRow("text") << QStringLiteral("holnap") << QString() << QString()
                              << QStringLiteral("A dátum hibás");
        QTest::addRow("pair from a Friday")
            << QString() << QStringLiteral("2027.12.10.") << QStringLiteral("2027.12.24.")
            << QStringLiteral("Az áthelyezett munkanap szombat legyen");
        QTest::addRow("pair to a Sunday")
            << QString() << QStringLiteral("2027.12.11.") << QStringLiteral("2027.12.26.")
            << QStringLiteral("A pihenőnap hétköznap legyen");
        QTest::addRow("pair with a bad rest day")
            << QString() << QStringLiteral("2027.12.11.") << QStringLiteral("2027.13.01.")
            << QStringLiteral("A pihenőnap hibás");
    }
    void badInput()
    {
        QFETCH(QString, day);
        QFETCH(QString, working);
        QFETCH(QString, rest);
        QFETCH(QString, message);
        LonePage lone;
        const QWidget& p = lone.page;
        if (!day.isEmpty()) {
            Named<QLineEdit>(p, "Edit_MunkarendDatum")->setText(day);
            Named(p, "Button_MunkarendSzabadnap")->click();
            Named(p, "Button_MunkarendMunkanap")->click();
        } else {
            Named<QLineEdit>(p, "Edit_AthelyezesMunkanap")->setText(working);
            Named<QLineEdit>(p, "Edit_AthelyezesPihenonap")->setText(rest);
            Named(p, "Button_AthelyezesHozzaadas")->click();
        }
        const QString said = Named<QLabel>(p, "Label_MunkarendUzenet")->text();
        QVERIFY2(said.startsWith(message), qPrintable(said));
        QCOMPARE(lone.Applied(), CalendarEntries{});
    }

    void pageAddsAndRemoves()
    {
        Window w(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        TForm_Main& f = *w.form;
        f.Button_MunkarendClick();
        auto* list = Named<QListWidget>(f, "ListBox_MunkarendNapok");
        auto* date = Named<QLineEdit>(f, "Edit_MunkarendDatum");
        const int before = list->count();
        QCOMPARE(before, 13 + 6); // 2026: 13 holidays, three pairs
        Named<QLineEdit>(f, "Edit_AthelyezesMunkanap")->setText(QStringLiteral("2026.12.19."));
        Named<QLineEdit>(f, "Edit_AthelyezesPihenonap")->setText(QStringLiteral("2026.12.31."));
        Named(f, "Button_AthelyezesHozzaadas")->click();
        date->setText(QStringLiteral("2026.12.29."));
        Named(f, "Button_MunkarendSzabadnap")->click();
        QCOMPARE(list->count(), before + 3);
        date->setText(QStringLiteral("2026.12.31."));
        Named(f, "Button_MunkarendTorles")->click(); // the pair the user added goes with either of its days
        QCOMPARE(list->count(), before + 1);
        date->setText(QStringLiteral("2026.12.25."));
        Named(f, "Button_MunkarendTorles")->click(); // the law's days stay
        QCOMPARE(list->count(), before + 1);
        Named(f, "CheckBox_Unnepnapok")->setChecked(true);
        Named(f, "Button_MunkarendOK")->click();
        QCOMPARE(f.CalendarModel().Entries().rest, QStringList{QStringLiteral("2026.12.29.")});
        QVERIFY(f.CalendarModel().Entries().pairs.isEmpty());
    }

    void rightClickMenu()
    {
        Window w(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        TForm_Main& f = *w.form;
        MainTabs(f)->setCurrentWidget(&GridPage(f));
        const QPoint christmasEve(6 + 23 * 12, 9 + 11 * 18);
        GridBox(f).onMouseMove(christmasEve);
        QCOMPARE(DayKindLabel(f).text(), QString());
        GridBox(f).onRightClick(christmasEve);
        QVERIFY(f.findChild<QMenu*>(QStringLiteral("PopupMenu_EvesNaptar")) == nullptr); // off: no menu

        f.Button_MunkarendClick();
        Named(f, "CheckBox_Unnepnapok")->setChecked(true);
        Named(f, "Button_MunkarendOK")->click();
        GridBox(f).onMouseMove(QPoint(3, 219)); // off the grid and back: the texts are made anew
        GridBox(f).onMouseMove(christmasEve);
        QCOMPARE(DayKindLabel(f).text(), QStringLiteral("Pihenőnap"));
        GridBox(f).onRightClick(christmasEve);
        auto* menu = f.findChild<QMenu*>(QStringLiteral("PopupMenu_EvesNaptar"));
        QVERIFY(menu);
        QStringList captions;
        for (QAction* a : menu->actions())
            captions << a->text();
        QCOMPARE(captions, (QStringList{QStringLiteral("Szabadnap"), QStringLiteral("Munkanap"),
                                        QStringLiteral("Naptár szerint")}));
        menu->actions().at(1)->trigger();
        QVERIFY(f.CalendarModel().Calendar().IsWorkingDay(QDate(2026, 12, 24)));
        QCOMPARE(DayKindLabel(f).text(), QStringLiteral("Munkanap"));
        GridPage(f).ChooseDayKind(QDate(2026, 12, 24), DayKind::Plain);
        QVERIFY(!f.CalendarModel().Calendar().IsWorkingDay(QDate(2026, 12, 24)));
        QVERIFY(f.CalendarModel().Entries().work.isEmpty());
    }

    void settingsKeepWhatTheyCannotRead()
    {
        Window w(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        IniFile ini;
        ini.SetValue(QStringLiteral("Munkarend"), QStringLiteral("CheckBox_Unnepnapok"), QStringLiteral("1"));
        ini.SetValue(QStringLiteral("Munkarend"), QStringLiteral("sSzabadnapok"),
                     QStringLiteral("2026.12.28.;valami;2026.13.01."));
        ini.SetValue(QStringLiteral("Munkarend"), QStringLiteral("sAthelyezesek"),
                     QStringLiteral("2026.12.19.>2026.12.31.;2026.12.18.>2026.12.30."));
        ini.SetValue(QStringLiteral("Munkarend"), QStringLiteral("Ismeretlen"), QStringLiteral("marad"));
        QVERIFY(ini.Save(w.SettingsPath()));
        w.form->LoadSettings();
        QVERIFY(!w.form->CalendarModel().Calendar().IsWorkingDay(QDate(2026, 12, 28)));
        QVERIFY(w.form->CalendarModel().Calendar().IsWorkingDay(QDate(2026, 12, 19)));
        QVERIFY(w.form->CalendarModel().Calendar().IsWorkingDay(QDate(2026, 12, 30)));
        w.form->SaveSettings();
        const IniFile saved = IniFile::Load(w.SettingsPath());
        QCOMPARE(saved.Value(QStringLiteral("Munkarend"), QStringLiteral("sSzabadnapok")),
                 QStringLiteral("2026.12.28.;valami;2026.13.01."));
        QCOMPARE(saved.Value(QStringLiteral("Munkarend"), QStringLiteral("sAthelyezesek")),
                 QStringLiteral("2026.12.19.>2026.12.31.;2026.12.18.>2026.12.30."));
        QCOMPARE(saved.Value(QStringLiteral("Munkarend"), QStringLiteral("Ismeretlen")),
                 QStringLiteral("marad"));
    }

    // ---- The settings file's lists and the page's checks -------------------------------------

    void longListsAreNeverCut_data()
    {
        QTest::addColumn<int>("restDays");
        QTest::addColumn<int>("workDays");
        QTest::addColumn<int>("pairs");
        // 180 weekdays from 5 January 2026 take 2 159 characters and reach into September.
        QTest::addRow("180 days of leave") << 180 << 0 << 0;
        QTest::addRow("5 000, 5 000 and 1 000 pairs") << 5000 << 5000 << 1000;
    }
    void longListsAreNeverCut()
    {
        QFETCH(int, restDays);
        QFETCH(int, workDays);
        QFETCH(int, pairs);
        const auto weekday = [](const QDate& d) { return d.dayOfWeek() < 6; };
        CalendarEntries e;
        e.rest = Days(QDate(2026, 1, 5), restDays, weekday);
        e.work = Days(QDate(1950, 1, 1), workDays, [](const QDate& d) { return d.dayOfWeek() > 5; });
        e.pairs = LawfulPairs(QDate(2100, 1, 1), pairs);

        Window w(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        w.form->CalendarModel().SetCalendar(false, e); // what the page opens with
        w.form->Button_MunkarendClick();
        Named(*w.form, "CheckBox_Unnepnapok")->setChecked(true);
        Named(*w.form, "Button_MunkarendOK")->click();
        const QByteArray saved = FileBytes(w.SettingsPath());
        for (const auto& [key, list] :
             {std::pair{"sSzabadnapok=", &e.rest}, std::pair{"sMunkanapok=", &e.work},
              std::pair{"sAthelyezesek=", &e.pairs}}) {
            if (!list->isEmpty())
                QVERIFY(saved.contains(
                    QByteArray("\r\n" + QByteArray(key) + JoinEntries(*list).toLatin1() + "\r\n")));
        }

        Window again(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        WriteFile(again.SettingsPath(), saved);
        again.form->LoadSettings();
        QCOMPARE(again.form->CalendarModel().Entries(), e);
        QCOMPARE(again.form->LoadNotice(), QString());
        const WorkCalendar& c = again.form->CalendarModel().Calendar();
        if (restDays > 0) {
            const QDate last = ParseCalendarDate(e.rest.last());
            QCOMPARE(CountKind(c, QDate(2026, 1, 5), last, DayKind::UserRest), restDays);
            QVERIFY(!c.IsWorkingDay(last));
            QVERIFY(!c.IsWorkingDay(QDate(2026, 8, 31)));
        }
        if (workDays > 0)
            QCOMPARE(CountKind(c, QDate(1950, 1, 1), ParseCalendarDate(e.work.last()), DayKind::UserWork),
                     workDays);
        if (pairs > 0) {
            const QDate last = ParseDecreePair(e.pairs.last())->working;
            QCOMPARE(CountKind(c, QDate(2100, 1, 1), last, DayKind::DecreeWork), pairs);
            QCOMPARE(CountKind(c, QDate(2099, 12, 1), last, DayKind::DecreeRest),
                     pairs); // the first is 31 December
        }
        // Saved again, byte for byte what was read.
        QVERIFY(again.form->SaveSettings());
        QCOMPARE(FileBytes(again.SettingsPath()), saved);
    }

    void pairsAgainstTheLaw_data()
    {
        QTest::addColumn<QString>("earlier");
        QTest::addColumn<QString>("working");
        QTest::addColumn<QString>("rest");
        QTest::addColumn<QString>("message");
        QTest::addRow("a holiday on a Saturday")
            << QString() << QStringLiteral("2027.10.23.") << QStringLiteral("2027.10.22.")
            << QStringLiteral(
                   "Az áthelyezett munkanap nem lehet munkaszüneti nap: 2027.10.23. Nemzeti ünnep.");
        QTest::addRow("a Saturday with two rest days")
            << QStringLiteral("2027.12.11.>2027.12.24.") << QStringLiteral("2027.12.11.")
            << QStringLiteral("2027.12.31.")
            << QStringLiteral("Egy szombat csak egyszer lehet áthelyezett munkanap: 2027.12.11. már a "
                              "2027.12.24. pihenőnappal párban áll.");
        QTest::addRow("a rest day with two Saturdays")
            << QStringLiteral("2027.12.11.>2027.12.24.") << QStringLiteral("2027.12.18.")
            << QStringLiteral("2027.12.24.")
            << QStringLiteral("Egy nap csak egyszer lehet áthelyezett pihenőnap: 2027.12.24. már a "
                              "2027.12.11. munkanappal párban áll.");
        QTest::addRow("a built-in Saturday")
            << QString() << QStringLiteral("2026.12.12.") << QStringLiteral("2026.12.31.")
            << QStringLiteral("Egy szombat csak egyszer");
        QTest::addRow("a built-in rest day")
            << QString() << QStringLiteral("2026.12.19.") << QStringLiteral("2026.12.24.")
            << QStringLiteral("Egy nap csak egyszer");
        QTest::addRow("a rest day on a holiday")
            << QString() << QStringLiteral("2027.10.30.") << QStringLiteral("2027.11.01.")
            << QStringLiteral("A pihenőnap nem lehet munkaszüneti nap: 2027.11.01. Mindenszentek.");
        QTest::addRow("a rest day on a Saturday")
            << QString() << QStringLiteral("2027.12.11.") << QStringLiteral("2027.12.18.")
            << QStringLiteral("A pihenőnap hétköznap legyen: 2027.12.18. Szombat.");
        QTest::addRow("a year the page cannot show")
            << QString() << QStringLiteral("9999.12.25.") << QStringLiteral("9999.12.24.")
            << QStringLiteral("Az áthelyezett munkanap hibás: „9999.12.25.”.\nCsak 1900 és 2200 közötti év "
                              "adható meg.");
    }
    void pairsAgainstTheLaw()
    {
        QFETCH(QString, earlier);
        QFETCH(QString, working);
        QFETCH(QString, rest);
        QFETCH(QString, message);
        // On the page: refused in red, nothing added.
        CalendarEntries before;
        before.pairs = SplitEntries(earlier);
        LonePage lone(before);
        const QWidget& p = lone.page;
        Named<QLineEdit>(p, "Edit_AthelyezesMunkanap")->setText(working);
        Named<QLineEdit>(p, "Edit_AthelyezesPihenonap")->setText(rest);
        Named(p, "Button_AthelyezesHozzaadas")->click();
        const auto* said = Named<QLabel>(p, "Label_MunkarendUzenet");
        QVERIFY2(said->text().startsWith(message), qPrintable(said->text()));
        QCOMPARE(said->palette().color(QPalette::WindowText), QColor(192, 0, 0));
        QCOMPARE(lone.Applied().pairs, SplitEntries(earlier));

        // From the file: left out of the counting, kept, and named.
        const QString entry = working + u'>' + rest;
        CalendarEntries e;
        e.pairs = SplitEntries(earlier) << entry;
        const SkippedEntries skipped = FindSkippedEntries(e);
        QCOMPARE(skipped.pairs.size(), size_t(1));
        QCOMPARE(skipped.pairs[0].entry, entry);
        QVERIFY2(!skipped.pairs[0].reason.isEmpty(), qPrintable(skipped.pairs[0].reason));
        const QDate sat = ParseCalendarDate(working);
        if (sat.isValid())
            QVERIFY(WorkCalendar(true, e).StandsInFor(sat) != ParseCalendarDate(rest));
    }

    void lawfulPairsPass_data()
    {
        QTest::addColumn<QString>("pairs");
        QTest::addRow("the 2027 decree's pattern") << QStringLiteral("2027.12.11.>2027.12.24.");
        QTest::addRow("a built-in pair written again") << QStringLiteral("2026.12.12.>2026.12.24.");
        QTest::addRow("the same pair twice")
            << QStringLiteral("2027.12.11.>2027.12.24.;2027.12.11.>2027.12.24.");
        QTest::addRow("Good Friday is no holiday before 2017") << QStringLiteral("2016.03.19.>2016.03.25.");
        QTest::addRow("first and last years")
            << QStringLiteral("1900.01.06.>1900.01.05.;2200.12.20.>2200.12.19.");
    }
    void lawfulPairsPass()
    {
        QFETCH(QString, pairs);
        CalendarEntries e;
        e.pairs = SplitEntries(pairs);
        QVERIFY(FindSkippedEntries(e).empty());
        const WorkCalendar c(true, e);
        for (const QString& p : e.pairs) {
            const DecreePair pair = *ParseDecreePair(p);
            QVERIFY(c.IsWorkingDay(pair.working));
            QVERIFY(!c.IsWorkingDay(pair.rest));
        }
    }

    void unreadableEntries_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("told");
        QTest::addColumn<int>("decemberDays");
        // 28 December is a day off in every row; December 2026 has 22 working days without it.
        QTest::addRow("dashes") << QByteArrayLiteral("sSzabadnapok=2026-12-23;2026.12.28.")
                                << QStringList{QStringLiteral(
                                       "sSzabadnapok: „2026-12-23” – Nem év.hó.nap. alakú")}
                                << 21;
        QTest::addRow("no final dot")
            << QByteArrayLiteral("sSzabadnapok=2026.12.28.;2026.12.31")
            << QStringList{QStringLiteral("sSzabadnapok: „2026.12.31” – Nem év.hó.nap.")} << 21;
        QTest::addRow("a one-digit day") << QByteArrayLiteral("sSzabadnapok=2026.12.7.;2026.12.28.")
                                         << QStringList{QStringLiteral("sSzabadnapok: „2026.12.7.”")} << 21;
        QTest::addRow("no such day") << QByteArrayLiteral("sSzabadnapok=2026.02.30.;2026.12.28.")
                                     << QStringList{QStringLiteral(
                                            "sSzabadnapok: „2026.02.30.” – Nincs ilyen nap.")}
                                     << 21;
        QTest::addRow("a year the page cannot show")
            << QByteArrayLiteral("sSzabadnapok=9999.12.31.;2026.12.28.")
            << QStringList{QStringLiteral(
                   "sSzabadnapok: „9999.12.31.” – Csak 1900 és 2200 közötti év adható meg.")}
            << 21;
        QTest::addRow("a working day in 1899")
            << QByteArrayLiteral("sSzabadnapok=2026.12.28.\r\nsMunkanapok=1899.12.30.")
            << QStringList{QStringLiteral("sMunkanapok: „1899.12.30.” – Csak 1900")} << 21;
        QTest::addRow("a pair starting on a Sunday")
            << QByteArrayLiteral("sSzabadnapok=2026.12.28.\r\nsAthelyezesek=2026.12.20.>2026.12.31.")
            << QStringList{QStringLiteral(
                   "sAthelyezesek: „2026.12.20.>2026.12.31.” – Az áthelyezett munkanap "
                   "szombat legyen: 2026.12.20. Vasárnap.")}
            << 21;
        QTest::addRow("a pair without its mark")
            << QByteArrayLiteral("sSzabadnapok=2026.12.28.\r\nsAthelyezesek=2026.12.19. 2026.12.31.")
            << QStringList{QStringLiteral(
                   "sAthelyezesek: „2026.12.19. 2026.12.31.” – Nem munkanap>pihenőnap")}
            << 21;
        QTest::addRow("two kinds at once")
            << QByteArrayLiteral("sSzabadnapok=x;2026.12.28.;y\r\nsMunkanapok=2026.12.5")
            << QStringList{QStringLiteral("sSzabadnapok: „x”"), QStringLiteral("sSzabadnapok: „y”"),
                           QStringLiteral("sMunkanapok: „2026.12.5”")}
            << 21;
        QTest::addRow("blank entries are no one's")
            << QByteArrayLiteral("sSzabadnapok=;2026.12.28.;;") << QStringList{} << 21;
    }
    void unreadableEntries()
    {
        QFETCH(QByteArray, line);
        QFETCH(QStringList, told);
        QFETCH(int, decemberDays);
        Window w(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        const QByteArray file = "[Munkarend]\r\nCheckBox_Unnepnapok=1\r\n" + line + "\r\n";
        WriteFile(w.SettingsPath(), file);
        TForm_Main& f = *w.form;
        f.LoadSettings();
        // Told once, in the start's notice, and no error box.
        for (const QString& t : told)
            QVERIFY2(f.LoadNotice().contains(t), qPrintable(f.LoadNotice()));
        QCOMPARE(f.LoadNotice().isEmpty(), told.isEmpty());
        if (!told.isEmpty())
            QCOMPARE(f.LoadNotice().count(QStringLiteral("\r\n")), told.size() + 1);
        QVERIFY(w.fake.errors.isEmpty());
        // Left out of the counting.
        w.TickAt(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        QCOMPARE(WorkTimeControl<QLabel>(f, "Label_Munkahonap")->text(),
                 QString::number(decemberDays) + QStringLiteral(" munkanap:"));
        // Kept as they are, whatever else is saved.
        QVERIFY(f.SaveSettings());
        QCOMPARE(MunkarendLines(w.SettingsPath()),
                 QString::fromLatin1(file).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).mid(1));
        // A day the user adds joins them; none of them goes.
        GridPage(f).ChooseDayKind(QDate(2026, 12, 29), DayKind::UserRest);
        const QStringList lines = MunkarendLines(w.SettingsPath());
        const QString restLine = QString::fromLatin1(line).split(QStringLiteral("\r\n")).first();
        QVERIFY2(lines.contains(restLine + QStringLiteral(";2026.12.29.")), qPrintable(lines.join(u'|')));
    }

    void unreadableBox_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("told");
        QTest::addRow("igen") << QByteArrayLiteral("igen") << true;
        QTest::addRow("empty, as if missing") << QByteArrayLiteral("") << false;
        QTest::addRow("0") << QByteArrayLiteral("0") << false;
        QTest::addRow("hexadecimal zero") << QByteArrayLiteral("0x0") << false;
    }
    void unreadableBox()
    {
        QFETCH(QByteArray, value);
        QFETCH(bool, told);
        Window w(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        const QByteArray line = "CheckBox_Unnepnapok=" + value;
        WriteFile(w.SettingsPath(), "[Munkarend]\r\n" + line + "\r\nsSzabadnapok=2026.12.28.\r\n");
        TForm_Main& f = *w.form;
        f.LoadSettings();
        QVERIFY(!f.CalendarModel().Calendar().enabled()); // read as off
        QCOMPARE(f.LoadNotice().contains(QStringLiteral("CheckBox_Unnepnapok: „") +
                                         QString::fromLatin1(value) +
                                         QStringLiteral("” – Nem 0 vagy 1, ezért kikapcsoltnak számít.")),
                 told);
        w.TickAt(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        QCOMPARE(WorkTimeControl<QLabel>(f, "Label_Munkahonap")->text(), QStringLiteral("23 munkanap:"));
        // Not rewritten behind the user's back: the page opened and left with OK keeps it.
        f.Menu_BeallitasokClick();
        f.Button_MunkarendClick();
        Named(f, "Button_MunkarendOK")->click();
        Control<QPushButton>(f, "Button_BeallitasokOK")->click();
        QVERIFY(MunkarendLines(w.SettingsPath()).contains(QString::fromLatin1(line)));
        // Ticked by the user, it is written as the program writes it.
        f.Button_MunkarendClick();
        Named(f, "CheckBox_Unnepnapok")->setChecked(true);
        Named(f, "Button_MunkarendOK")->click();
        QVERIFY(MunkarendLines(w.SettingsPath()).contains(QStringLiteral("CheckBox_Unnepnapok=1")));
    }

    void longNoticesStayShort()
    {
        CalendarEntries e;
        for (int i = 0; i < 500; ++i)
            e.rest << QStringLiteral("rossz%1").arg(i);
        QCOMPARE(FindSkippedEntries(e).rest.size(), size_t(500));
        Window w(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        WriteFile(w.SettingsPath(), "[Munkarend]\r\nsSzabadnapok=" + JoinEntries(e.rest).toLatin1() + "\r\n");
        w.form->LoadSettings();
        QCOMPARE(w.form->LoadNotice().count(QStringLiteral("\r\n")), 12);
        QVERIFY(w.form->LoadNotice().endsWith(QStringLiteral("sSzabadnapok: … és még 490 ilyen bejegyzés.")));
    }

    void yearsThePageCanShow_data()
    {
        QTest::addColumn<QString>("day");
        QTest::addColumn<bool>("taken");
        QTest::addRow("9999") << QStringLiteral("9999.12.31.") << false;
        QTest::addRow("2201") << QStringLiteral("2201.01.01.") << false;
        QTest::addRow("2200") << QStringLiteral("2200.12.31.") << true;
        QTest::addRow("1900") << QStringLiteral("1900.01.01.") << true;
        QTest::addRow("1899") << QStringLiteral("1899.12.31.") << false;
        QTest::addRow("0000") << QStringLiteral("0000.01.01.") << false;
    }
    void yearsThePageCanShow()
    {
        QFETCH(QString, day);
        QFETCH(bool, taken);
        LonePage lone;
        const QWidget& p = lone.page;
        const auto* year = Named<QSpinBox>(p, "SpinEdit_MunkarendEv");
        const auto* said = Named<QLabel>(p, "Label_MunkarendUzenet");
        Named<QLineEdit>(p, "Edit_MunkarendDatum")->setText(day);
        Named(p, "Button_MunkarendSzabadnap")->click();
        if (taken) {
            // Listed under its own year.
            QCOMPARE(year->value(), ParseCalendarDate(day).year());
            QVERIFY(!Named<QListWidget>(p, "ListBox_MunkarendNapok")
                         ->findItems(DateText(ParseCalendarDate(day)), Qt::MatchStartsWith)
                         .isEmpty());
        } else {
            QCOMPARE(said->text(), QStringLiteral("A dátum hibás: „") + day +
                                       QStringLiteral("”.\nCsak 1900 és 2200 közötti év adható meg."));
            QCOMPARE(said->palette().color(QPalette::WindowText), QColor(192, 0, 0));
        }
        QCOMPARE(year->minimum(), kFirstCalendarYear);
        QCOMPARE(year->maximum(), kLastCalendarYear);
        QCOMPARE(lone.Applied().rest, taken ? QStringList{day} : QStringList{});
    }

    void okWithNothingChangedAddsNoSection()
    {
        Window w(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        TForm_Main& f = *w.form;
        f.Menu_BeallitasokClick();
        f.Button_MunkarendClick();
        Named(f, "Button_MunkarendOK")->click();
        Control<QPushButton>(f, "Button_BeallitasokOK")->click();
        QVERIFY(!FileText(w.SettingsPath()).contains(QStringLiteral("Munkarend")));
        // Rows looked at but left alone, ticked and unticked again: still nothing of the user's.
        f.Button_MunkarendClick();
        Named(f, "CheckBox_NapiMunkaido")->click(); // ticked
        QVERIFY(Named(f, "CheckBox_NapiMunkaido")->isChecked());
        Named(f, "CheckBox_NapiMunkaido")->click(); // and unticked
        Named(f, "Button_MunkarendOK")->click();
        QVERIFY(!FileText(w.SettingsPath()).contains(QStringLiteral("Munkarend")));
        QVERIFY(!f.CalendarModel().Hours());
    }

    void onlyWhatDiffersIsWritten_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("after");
        QTest::addRow("the box ticked")
            << QByteArray() << QStringList{QStringLiteral("CheckBox_Unnepnapok=1")};
        QTest::addRow("keys already there stay, the changed one updated")
            << QByteArrayLiteral(
                   "[Munkarend]\r\nCheckBox_Unnepnapok=0\r\nsSzabadnapok=\r\nsNapiMunkaido=\r\n")
            << QStringList{QStringLiteral("CheckBox_Unnepnapok=1"), QStringLiteral("sSzabadnapok="),
                           QStringLiteral("sNapiMunkaido=")};
        QTest::addRow("another form of the same value stays")
            << QByteArrayLiteral("[Munkarend]\r\nCheckBox_Unnepnapok= 0x1 \r\n")
            << QStringList{QStringLiteral("CheckBox_Unnepnapok= 0x1 ")};
    }
    void onlyWhatDiffersIsWritten()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, after);
        Window w(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        TForm_Main& f = *w.form;
        if (!before.isNull()) {
            WriteFile(w.SettingsPath(), before);
            f.LoadSettings();
        }
        f.Button_MunkarendClick();
        Named(f, "CheckBox_Unnepnapok")->setChecked(true);
        Named(f, "Button_MunkarendOK")->click();
        QCOMPARE(MunkarendLines(w.SettingsPath()), after);
    }

    void untickedRowsTheUserSetAreKept()
    {
        Window w(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        TForm_Main& f = *w.form;
        f.Button_MunkarendClick();
        Named<QLineEdit>(f, "Edit_NapiMIVOra5")->setEnabled(true);
        Named<QLineEdit>(f, "Edit_NapiMIVOra5")->setText(QStringLiteral("13"));
        Named(f, "Button_MunkarendOK")->click();
        QCOMPARE(MunkarendLines(w.SettingsPath()),
                 QStringList{QStringLiteral(
                     "sNapiMunkaido=07:00-16:00;07:00-16:00;07:00-16:00;07:00-16:00;07:00-13:00")});
    }

    void rightClickIsSavedAtOnce()
    {
        Window w(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        TForm_Main& f = *w.form;
        f.Button_MunkarendClick();
        Named(f, "CheckBox_Unnepnapok")->setChecked(true);
        Named(f, "Button_MunkarendOK")->click();
        MainTabs(f)->setCurrentWidget(&GridPage(f));
        const QPoint christmasEve(6 + 23 * 12, 9 + 11 * 18);
        GridBox(f).onRightClick(christmasEve);
        auto* menu = f.findChild<QMenu*>(QStringLiteral("PopupMenu_EvesNaptar"));
        QVERIFY(menu);
        menu->actions().at(1)->trigger();
        QVERIFY(MunkarendLines(w.SettingsPath()).contains(QStringLiteral("sMunkanapok=2026.12.24.")));
        GridPage(f).ChooseDayKind(QDate(2026, 12, 24), DayKind::Plain);
        QVERIFY(MunkarendLines(w.SettingsPath()).contains(QStringLiteral("sMunkanapok=")));
    }

    void redMessagesReadOnDarkPages_data()
    {
        QTest::addColumn<QColor>("window");
        QTest::addRow("light") << QColor(0xEF, 0xEF, 0xEF);
        QTest::addRow("dark") << QColor(0x35, 0x35, 0x35);
    }
    void redMessagesReadOnDarkPages()
    {
        QFETCH(QColor, window);
        Window w(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        TForm_Main& f = *w.form;
        QPalette palette = f.palette();
        palette.setColor(QPalette::Window, window);
        f.setPalette(palette);
        f.Button_MunkarendClick();
        Named<QLineEdit>(f, "Edit_AthelyezesMunkanap")->setText(QStringLiteral("2027.12.10.")); // a Friday
        Named<QLineEdit>(f, "Edit_AthelyezesPihenonap")->setText(QStringLiteral("2027.12.24."));
        Named(f, "Button_AthelyezesHozzaadas")->click();
        const QColor text = Named<QLabel>(f, "Label_MunkarendUzenet")->palette().color(QPalette::WindowText);
        // Red, and at least 4.5 : 1 against the page (the usual measure of readable text).
        QVERIFY(text.red() > 2 * text.green() && text.green() == text.blue());
        auto luminance = [](const QColor& c) {
            auto channel = [](double v) {
                return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
        };
        const double a = luminance(text) + 0.05;
        const double b = luminance(window) + 0.05;
        QVERIFY2(std::max(a, b) / std::min(a, b) >= 4.5, qPrintable(text.name()));
    }
};

QTEST_MAIN(TstWorkCalendar)
#include "tst_workcalendar.moc"
