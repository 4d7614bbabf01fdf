#include "schedule_fixture.h"
#include "window_fixture.h"
#include "worktime_fixture.h"

#include "calendar/workcalendar.h"
#include "clocks/clock_face.h"
#include "settings/inifile.h"
#include "widgets/mbargraph.h"
#include "widgets/tmonthcalendar.h"
#include "worktime/schedule.h"
#include "worktime/worktime_page.h"
#include "yearcal/yeargrid_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

using namespace kelvator;
using kelvator::testing::Control;
using kelvator::testing::DaySquares;
using kelvator::testing::Field;
using kelvator::testing::MainTabs;
using kelvator::testing::Sec;
using kelvator::testing::SevenToFour;
using kelvator::testing::Window;
using kelvator::testing::WorkTimeControl;

class TstWorktime : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }

    void bars_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("second");
        QTest::addColumn<double>("day");
        QTest::addColumn<double>("week");
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("partial");
        // May 2023: Monday the 1st ... Friday the 5th, Saturday the 6th.
        QTest::addRow("Monday 06:59:59") << QDate(2023, 5, 1) << Sec(6, 59, 59) << 0.0 << 0.0 << 0 << 0;
        QTest::addRow("Monday 07:00:00") << QDate(2023, 5, 1) << Sec(7, 0) << 0.0 << 0.0 << 0 << 0;
        QTest::addRow("Monday 11:30:00") << QDate(2023, 5, 1) << Sec(11, 30) << 0.5 << 0.1 << 0 << Sec(4, 30);
        QTest::addRow("Monday 16:00:00") << QDate(2023, 5, 1) << Sec(16, 0) << 1.0 << 0.2 << 1 << 0;
        QTest::addRow("Wednesday 11:30:00")
            << QDate(2023, 5, 3) << Sec(11, 30) << 0.5 << 0.5 << 2 << Sec(4, 30);
        QTest::addRow("Friday 16:00:00") << QDate(2023, 5, 5) << Sec(16, 0) << 1.0 << 1.0 << 5 << 0;
        QTest::addRow("Saturday noon") << QDate(2023, 5, 6) << Sec(12, 0) << 0.0 << 1.0 << 5 << 0;
        QTest::addRow("Sunday 16:00") << QDate(2023, 5, 7) << Sec(16, 0) << 0.0 << 1.0 << 5 << 0;
    }
    void bars()
    {
        QFETCH(QDate, date);
        QFETCH(int, second);
        QFETCH(double, day);
        QFETCH(double, week);
        QFETCH(int, done);
        QFETCH(int, partial);
        const WorkSchedule s = SevenToFour();
        QCOMPARE(DayBarValue(IsWorkday(date), second, s), day);
        QCOMPARE(WeekBarValue(date.dayOfWeek(), second, s), week);
        const MonthCounters c = CountMonth(date, second, s);
        QCOMPARE(c.workdaysInMonth, 23);
        QCOMPARE(c.workdaysDone, done);
        QCOMPARE(c.partial, partial);
    }

    void monthProgress_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("second");
        QTest::addColumn<double>("progress");
        QTest::addRow("23-day month, first morning") << QDate(2023, 5, 1) << Sec(7, 0) << 0.0;
        QTest::addRow("23-day month, last evening") << QDate(2023, 5, 31) << Sec(16, 0) << 1.0;
        QTest::addRow("starts on Saturday, the 1st") << QDate(2023, 4, 1) << Sec(12, 0) << 0.0;
        QTest::addRow("starts on Saturday, the 2nd") << QDate(2023, 4, 2) << Sec(18, 0) << 0.0;
        QTest::addRow("half a day of 20") << QDate(2023, 4, 3) << Sec(11, 30) << 0.5 / 20;
    }
    void monthProgress()
    {
        QFETCH(QDate, date);
        QFETCH(int, second);
        QFETCH(double, progress);
        const WorkSchedule s = SevenToFour();
        QCOMPARE(MonthProgress(CountMonth(date, second, s), s), progress);
    }

    void zeroLengthDayFails()
    {
        WorkSchedule s;
        s.workStart = s.workEnd = 7 * 3600;
        QVERIFY_THROWS_EXCEPTION(std::domain_error, WeekBarValue(1, Sec(8, 0), s));
        QCOMPARE(WeekBarValue(6, Sec(8, 0), s), 1.0); // weekends never divide
    }

    void schedule()
    {
        ScheduleFields f{QStringLiteral("07"),
                         QStringLiteral("00"),
                         QStringLiteral("16"),
                         QStringLiteral("30"),
                         {QStringLiteral("09"), QStringLiteral("13"), QStringLiteral("11")},
                         {QStringLiteral("30"), QStringLiteral("30"), QStringLiteral("00")},
                         {QStringLiteral("30"), QStringLiteral("30"), QStringLiteral("60")}};
        const WorkSchedule s = ReadSchedule(f);
        QCOMPARE(s.workStart, 25200);
        QCOMPARE(s.workEnd, 59400);
        QCOMPARE(s.breakStart[2], 39600);
        QCOMPARE(s.breakEnd[2], 43200);
        f.breakLength[1] = QStringLiteral("x");
        try {
            ReadSchedule(f);
            QFAIL("no error for a field that is not a number");
        } catch (const FieldError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("'x' is not a valid integer value"));
        }
    }

    void yearTexts_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("eve");
        QTest::addColumn<double>("progress");
        QTest::addColumn<QString>("week");
        QTest::addColumn<QString>("weeks");
        QTest::addRow("31 December") << QDate(2023, 12, 31) << "Szilveszter" << 1.0 << "52"
                                     << " / 52 hét";
        QTest::addRow("1 January") << QDate(2024, 1, 1) << "Szilveszterig: 11 hónap, 30 nap." << 1.0 / 366
                                   << "1"
                                   << " / 52 hét";
        QTest::addRow("30 December") << QDate(2023, 12, 30) << "Szilveszterig: 1 nap." << 364.0 / 365 << "52"
                                     << " / 52 hét";
        QTest::addRow("1 August 2016")
            << QDate(2016, 8, 1) << "Szilveszterig: 4 hónap, 30 nap." << 214.0 / 366 << "31"
            << " / 52 hét";
        QTest::addRow("1 January 2016 in week 53 of 2015")
            << QDate(2016, 1, 1) << "Szilveszterig: 11 hónap, 30 nap." << 1.0 / 366 << "53"
            << " / 52 hét";
        QTest::addRow("2020 has 53 weeks") << QDate(2020, 12, 31) << "Szilveszter" << 1.0 << "53"
                                           << " / 53 hét";
    }
    void yearTexts()
    {
        QFETCH(QDate, date);
        QFETCH(QString, eve);
        QFETCH(double, progress);
        QFETCH(QString, week);
        QFETCH(QString, weeks);
        Window w(QDateTime(date, QTime(9, 15)));
        w.TickAt(QDateTime(date, QTime(9, 15)));
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_EvNapja")->text(), eve);
        QCOMPARE(WorkTimeControl<TMBarGraph>(*w.form, "MBarGraph_ATeljesEv")->MBGValue(), progress);
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_EvHeteA")->text(), week);
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_EvHete")->text(), weeks);
    }

    void timeTexts_data()
    {
        QTest::addColumn<bool>("twelve");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<bool>("afternoon");
        QTest::addRow("12:05") << true << QTime(12, 5, 9) << "12:05"
                               << "09" << true;
        QTest::addRow("12:59") << true << QTime(12, 59, 59) << "12:59"
                               << "59" << true;
        QTest::addRow("13:05") << true << QTime(13, 5) << "1:05"
                               << "00" << true;
        QTest::addRow("0:30") << true << QTime(0, 30) << "0:30"
                              << "00" << false;
        QTest::addRow("11:59") << true << QTime(11, 59) << "11:59"
                               << "00" << false;
        QTest::addRow("24-hour 13:05") << false << QTime(13, 5, 1) << "13:05"
                                       << "01" << false;
        QTest::addRow("24-hour 0:07") << false << QTime(0, 7) << "0:07"
                                      << "00" << false;
    }
    void timeTexts()
    {
        QFETCH(bool, twelve);
        QFETCH(QTime, time);
        QFETCH(QString, text);
        QFETCH(QString, seconds);
        QFETCH(bool, afternoon);
        Window w;
        Control<QCheckBox>(*w.form, "CheckBox_12OrasKijelzes")->setChecked(twelve);
        w.TickAt(time);
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_Ido")->text(), text);
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_Masodperc")->text(), seconds);
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_DelutanSzoveg")
                     ->isVisibleTo(WorkTimeControl<QFrame>(*w.form, "Panel1")),
                 afternoon);
        // The big clock is told the same afternoon.
        MainTabs(*w.form)->setCurrentWidget(w.form->findChild<QWidget*>(QStringLiteral("TabSheet_NagyOra")));
        w.form->findChild<QTabWidget*>(QStringLiteral("PageControl_NagyOraTipus"))->setCurrentIndex(0);
        w.TickAt(time);
        QCOMPARE(w.form->findChild<QLabel*>(QStringLiteral("Label_NagyDigitalisOraDelutanSzoveg"))
                     ->isVisibleTo(w.form->findChild<QFrame*>(QStringLiteral("Panel2"))),
                 afternoon);
    }

    void pageAtAMoment()
    {
        Window w(QDateTime(QDate(2016, 8, 1), QTime(11, 30)));
        w.TickAt(QDateTime(QDate(2016, 8, 1), QTime(11, 30)));
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_Datum")->text(),
                 QStringLiteral("2016.08.01. Hétfő"));
        QCOMPARE(WorkTimeControl<TMBarGraph>(*w.form, "MBarGraph_Munakanap")->MBGValue(), 0.5);
        QCOMPARE(WorkTimeControl<TMBarGraph>(*w.form, "MBarGraph_Munakahet")->MBGValue(), 0.1);
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_Munkahonap")->text(),
                 QStringLiteral("23 munkanap:"));
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_MikorVolt")->text(), QStringLiteral("0 nap"));
        // The bars show whole percents.
        QCOMPARE(WorkTimeControl<TMBarGraph>(*w.form, "MBarGraph_Munakanap")->layoutState().label.text,
                 QStringLiteral("50%"));
    }

    void breaksLeaveTheBarsAlone()
    {
        Window w(QDateTime(QDate(2016, 8, 1), QTime(11, 30)));
        Field(*w.form, "Edit_SzunetOra1")->setText(QStringLiteral("11"));
        Field(*w.form, "Edit_SzunetPerc1")->setText(QStringLiteral("00"));
        Field(*w.form, "Edit_SzunetHossz1")->setText(QStringLiteral("60"));
        Control<QCheckBox>(*w.form, "CheckBox_Szunet1")->setChecked(true);
        w.TickAt(QTime(11, 30));
        QCOMPARE(WorkTimeControl<TMBarGraph>(*w.form, "MBarGraph_Munakanap")->MBGValue(), 0.5);
        QCOMPARE(w.form->Snapshot().schedule.breakStart[0], Sec(11, 0));
    }

    void calendarDistanceAndTodayButton()
    {
        Window w(QDateTime(QDate(2024, 5, 7), QTime(20, 0)));
        WorkTimeControl<TMonthCalendar>(*w.form, "MonthCalendar1")->setSelectedDate(QDate(2023, 1, 15));
        w.TickAt(QTime(20, 0));
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_MikorVolt")->text(),
                 QStringLiteral("+ 1 év, 3 hónap, 23 nap"));
        WorkTimeControl<TMonthCalendar>(*w.form, "MonthCalendar1")->setSelectedDate(QDate(2024, 5, 10));
        w.TickAt(QTime(20, 0));
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_MikorVolt")->text(), QStringLiteral("- 3 nap"));
        WorkTimeControl<QPushButton>(*w.form, "Button_Ma")->click();
        QCOMPARE(WorkTimeControl<TMonthCalendar>(*w.form, "MonthCalendar1")->selectedDate(),
                 QDate(2024, 5, 7));
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_MikorVolt")->text(), QStringLiteral("0 nap"));
    }

    void midnightSwitchesOnTheFirstTick()
    {
        Window w(QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59, 800)));
        w.TickAt(QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59, 800)));
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_EvNapja")->text(), QStringLiteral("Szilveszter"));
        w.TickAt(QDateTime(QDate(2024, 1, 1), QTime(0, 0, 0)));
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_Datum")->text(),
                 QStringLiteral("2024.01.01. Hétfő"));
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_EvNapja")->text(),
                 QStringLiteral("Szilveszterig: 11 hónap, 30 nap."));
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_EvHete")->text(), QStringLiteral(" / 52 hét"));
    }

    void fieldBeingEditedCountsWithItsLastCheckedValue()
    {
        Window w(QDateTime(QDate(2016, 8, 1), QTime(11, 30)));
        Field(*w.form, "Edit_MIVOra")->setText(QStringLiteral("x"));
        w.TickAt(QTime(11, 30));
        QVERIFY(w.fake.errors.isEmpty());
        QCOMPARE(w.form->Snapshot().schedule.workEnd, Sec(16, 0));
        QCOMPARE(WorkTimeControl<TMBarGraph>(*w.form, "MBarGraph_Munakanap")->MBGValue(), 0.5);
    }

    void failureEndsTheTickAndIsReportedOnce()
    {
        Window w(QDateTime(QDate(2016, 8, 1), QTime(11, 30)));
        w.TickAt(QTime(11, 30));
        Field(*w.form, "Edit_MIVOra")->setText(QStringLiteral("07")); // a zero-length work day
        w.TickAt(QTime(12, 30));
        w.TickAt(QTime(12, 30, 1));
        QCOMPARE(w.fake.errors.size(), 1);
        // Earlier steps ran; the bars and the stored second stayed.
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_Ido")->text(), QStringLiteral("12:30"));
        QCOMPARE(WorkTimeControl<TMBarGraph>(*w.form, "MBarGraph_Munakahet")->MBGValue(), 0.1);
        QCOMPARE(w.form->LastTickSecond(), Sec(11, 30));

        Field(*w.form, "Edit_MIVOra")->setText(QStringLiteral("16"));
        w.TickAt(QTime(12, 30, 2));
        QCOMPARE(w.form->LastTickSecond(), Sec(12, 30, 2));
        Field(*w.form, "Edit_MIVOra")->setText(QStringLiteral("07"));
        w.TickAt(QTime(12, 30, 3)); // a new failure after a good tick is reported again
        QCOMPARE(w.fake.errors.size(), 2);
    }

    void monthCalendarShowsTheDaysNotWorked()
    {
        Window w(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        TForm_Main& f = *w.form;
        TMonthCalendar* month = WorkTimeControl<TMonthCalendar>(f, "MonthCalendar1");
        const QColor red(Qt::red);
        const QColor black(Qt::black);
        w.TickAt(QTime(11, 30));
        // Unticked: the month's days are black, Saturdays and holidays alike.
        for (int day : {12, 13, 24, 25, 26})
            QCOMPARE(month->dayTextColour(QDate(2026, 12, day)), black);

        IniFile ini;
        ini.SetValue(QStringLiteral("Munkarend"), QStringLiteral("CheckBox_Unnepnapok"), QStringLiteral("1"));
        QVERIFY(ini.Save(w.SettingsPath()));
        f.LoadSettings();
        w.TickAt(QTime(11, 30, 1));
        for (int day : {13, 24, 25, 26})
            QCOMPARE(month->dayTextColour(QDate(2026, 12, day)), red);
        for (int day : {12, 23, 28})
            QCOMPARE(month->dayTextColour(QDate(2026, 12, day)), black);
        // The user's own day off turns red, and back.
        auto* yearGrid = f.findChild<YearGridPage*>(QStringLiteral("TabSheet_EvesNaptar"));
        yearGrid->ChooseDayKind(QDate(2026, 12, 28), DayKind::UserRest);
        w.TickAt(QTime(11, 30, 2));
        QCOMPARE(month->dayTextColour(QDate(2026, 12, 28)), red);
        yearGrid->ChooseDayKind(QDate(2026, 12, 28), DayKind::Plain);
        QCOMPARE(month->dayTextColour(QDate(2026, 12, 28)), black);
    }

    // The page alone, at a fixed moment: today goes to the month calendar, and every choice of the
    // user asks for a tick.
    void pageAloneAnswersTheUser()
    {
        ClockFace face;
        const QDateTime now(QDate(2024, 5, 8), QTime(10, 0));
        WorkTimePage page(face, [now] { return now; });
        QCOMPARE(page.objectName(), QStringLiteral("TabSheet_Kelvator"));
        QSignalSpy refresh(&page, &WorkTimePage::refreshRequested);
        auto* calendar = WorkTimeControl<TMonthCalendar>(page, "MonthCalendar1");
        page.SelectDay(QDate(2020, 1, 1));
        WorkTimeControl<QPushButton>(page, "Button_Ma")->click();
        QCOMPARE(calendar->selectedDate(), now.date());
        QCOMPARE(refresh.size(), 1);

        auto* payToggle = WorkTimeControl<QAbstractButton>(page, "SpeedButton_FizetesKijelzes");
        payToggle->click();
        QCOMPARE(refresh.size(), 2);
        Settings settings;
        page.CollectSettings(settings);
        QVERIFY(settings.payShown);
        settings.payShown = false;
        page.ShowSettings(settings);
        QVERIFY(!payToggle->isChecked());
    }

    // The payday strip stands while its dates stand, but a changed work calendar draws it again.
    void paydayStripFollowsTheCalendarsRevision()
    {
        ClockFace face;
        const QDate today(2024, 5, 8);
        WorkTimePage page(face, [today] { return QDateTime(today, QTime(10, 0)); });
        const WorkingDayTest weekdays = [](const QDate& d) { return d.dayOfWeek() < 6; };
        const WorkingDayTest ninthOff = [](const QDate& d) { return d.dayOfWeek() < 6 && d.day() != 9; };
        const PaydayChoice friday{QDate(2024, 5, 10), false};
        TShape* tomorrow = DaySquares(page)[30];
        page.ShowPayday(today, friday, weekdays, 1);
        QVERIFY(tomorrow->isVisibleTo(&page));
        const quint32 worked = tomorrow->brushColor();
        page.ShowPayday(today, friday, ninthOff, 1);
        QCOMPARE(tomorrow->brushColor(), worked);
        page.ShowPayday(today, friday, ninthOff, 2);
        QVERIFY(tomorrow->brushColor() != worked);
        QCOMPARE(WorkTimeControl<QLabel>(page, "Label_FizetesNNapMulva")->text(),
                 QStringLiteral("Fizetés 2 nap múlva:"));
    }
};

QTEST_MAIN(TstWorktime)
#include "tst_worktime.moc"
