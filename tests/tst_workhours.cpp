#include "schedule_fixture.h"
#include "window_fixture.h"
#include "worktime_fixture.h"

#include "settings/inifile.h"
#include "settings/settings_model.h"
#include "widgets/mbargraph.h"
#include "widgets/tshape.h"
#include "worktime/payday.h"
#include "worktime/workcalendar_model.h"
#include "worktime/workcalendar_page.h"
#include "worktime/workend.h"
#include "worktime/workpattern.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

using namespace kelvator;
using kelvator::testing::Control;
using kelvator::testing::Field;
using kelvator::testing::OuterPages;
using kelvator::testing::Sec;
using kelvator::testing::SevenToFour;
using kelvator::testing::SignalOf;
using kelvator::testing::Window;

namespace {
// A control of the work calendar page, found by its name as screen readers find it.
template <typename T = QAbstractButton> T* Named(const QObject& parent, const char* name)
{
    return parent.findChild<T*>(QString::fromLatin1(name));
}
bool MunkarendShown(const TForm_Main& f)
{
    return OuterPages(f)->currentWidget()->objectName() == QStringLiteral("TabSheet_Munkarend");
}
// Monday to Thursday 07:00-16:00, Friday 07:00-13:30.
WeekdayHours ShortFriday()
{
    const DaySpan day{Sec(7, 0), Sec(16, 0)};
    return {day, day, day, day, DaySpan{Sec(7, 0), Sec(13, 30)}};
}
// Ticks the per-day box on the page, with Friday ending at 13:30, and saves.
void SetShortFriday(TForm_Main& f, bool ticked = true)
{
    f.Menu_BeallitasokClick();
    f.Button_MunkarendClick();
    auto* perDay = Named(f, "CheckBox_NapiMunkaido");
    perDay->setChecked(!ticked);
    perDay->click(); // to `ticked`, as the user clicks it
    Named<QLineEdit>(f, "Edit_NapiMIVOra5")->setText(QStringLiteral("13"));
    Named<QLineEdit>(f, "Edit_NapiMIVPerc5")->setText(QStringLiteral("30"));
    Named(f, "Button_MunkarendOK")->click();
    Control<QPushButton>(f, "Button_BeallitasokOK")->click();
}
} // namespace

using kelvator::testing::WorkTimeControl;

class TstWorkHours : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addRow("five ranges") << QStringLiteral(
                                            "07:00-16:00;07:00-16:00;07:00-16:00;07:00-16:00;07:00-13:30")
                                     << true;
        QTest::addRow("four ranges") << QStringLiteral("07:00-16:00;07:00-16:00;07:00-16:00;07:00-16:00")
                                     << false;
        QTest::addRow("one-digit hour")
            << QStringLiteral("7:00-16:00;07:00-16:00;07:00-16:00;07:00-16:00;07:00-16:00") << false;
        QTest::addRow("ends before it starts")
            << QStringLiteral("07:00-16:00;07:00-16:00;16:00-07:00;07:00-16:00;07:00-16:00") << false;
        QTest::addRow("hour 24") << QStringLiteral(
                                        "07:00-24:00;07:00-16:00;07:00-16:00;07:00-16:00;07:00-16:00")
                                 << false;
        QTest::addRow("empty") << QString() << false;
        QTest::addRow("words") << QStringLiteral("a-b;c-d;e-f;g-h;i-j") << false;
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const auto hours = ParseWeekdayHours(text);
        QCOMPARE(hours.has_value(), valid);
        if (valid)
            QCOMPARE(WeekdayHoursText(*hours), text);
    }

    void shortFriday_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<double>("day");
        QTest::addColumn<double>("week");
        QTest::addColumn<double>("month");
        // March 2026: 22 weekdays, four of them short Fridays: 18 x 9 h + 4 x 6.5 h = 188 h.
        // Before Friday the 13th: 8 long days and one short Friday, 78.5 h; the week is 42.5 h.
        const double week = Sec(42, 30);
        const double month = Sec(188, 0);
        QTest::addRow("Friday 10:15") << QDateTime(QDate(2026, 3, 13), QTime(10, 15)) << 0.5
                                      << Sec(39, 15) / week << Sec(81, 45) / month;
        QTest::addRow("Friday 13:30")
            << QDateTime(QDate(2026, 3, 13), QTime(13, 30)) << 1.0 << 1.0 << Sec(85, 0) / month;
        QTest::addRow("Saturday") << QDateTime(QDate(2026, 3, 14), QTime(12, 0)) << 0.0 << 1.0
                                  << Sec(85, 0) / month;
        QTest::addRow("Thursday 16:00")
            << QDateTime(QDate(2026, 3, 12), QTime(16, 0)) << 1.0 << Sec(36, 0) / week << Sec(78, 30) / month;
    }
    void shortFriday()
    {
        QFETCH(QDateTime, moment);
        QFETCH(double, day);
        QFETCH(double, week);
        QFETCH(double, month);
        for (bool calendar : {false, true}) {
            const WorkPattern p = MakePattern(WorkCalendar(calendar, {}), SevenToFour(), ShortFriday());
            const int s = SecondOfDay(moment.time());
            QCOMPARE(DayBarValue(p, moment.date(), s), day);
            QCOMPARE(WeekBarValue(p, moment.date(), s), week);
            QCOMPARE(MonthProgress(CountMonthWork(p, moment.date(), s)), month);
        }
    }

    void hourlyWage()
    {
        const WorkPattern p = MakePattern(WorkCalendar(), SevenToFour(), ShortFriday());
        const MonthWork w = CountMonthWork(p, QDate(2026, 3, 1), 0);
        QCOMPARE(w.workingDays, 22);
        QCOMPARE(HourlyWageText(300000, w), QStringLiteral("Órabér = 1 596 Ft.")); // 300000 / 188 h
        QCOMPARE(HourlyWageText(300000, 22, Sec(9, 0)), QStringLiteral("Órabér = 1 515 Ft."));
    }

    void workingSaturdayStandsIn_data()
    {
        QTest::addColumn<QDate>("saturday");
        QTest::addColumn<int>("end");
        QTest::addRow("for a Friday") << QDate(2026, 8, 8) << Sec(13, 30);
        QTest::addRow("for a Friday in January") << QDate(2026, 1, 10) << Sec(13, 30);
        QTest::addRow("for a Thursday") << QDate(2026, 12, 12) << Sec(15, 0);
        QTest::addRow("the user's own, with no pair") << QDate(2026, 3, 14) << Sec(16, 0);
    }
    void workingSaturdayStandsIn()
    {
        QFETCH(QDate, saturday);
        QFETCH(int, end);
        CalendarEntries e;
        e.work << QStringLiteral("2026.03.14.");
        WeekdayHours hours = ShortFriday();
        hours[3].end = Sec(15, 0);
        const WorkPattern p = MakePattern(WorkCalendar(true, e), SevenToFour(), hours);
        QVERIFY(p.isWorkingDay(saturday));
        QCOMPARE(p.spanOf(saturday), (DaySpan{Sec(7, 0), end}));
        QCOMPARE(DayBarValue(p, saturday, end), 1.0);
    }

    void signalAtEachDaysEnd_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<int>("beeps");
        QTest::addRow("Friday 13:30") << QDateTime(QDate(2026, 3, 13), QTime(13, 30)) << true << 1;
        QTest::addRow("Friday 16:00") << QDateTime(QDate(2026, 3, 13), QTime(16, 0)) << true << 0;
        QTest::addRow("Thursday 16:00") << QDateTime(QDate(2026, 3, 12), QTime(16, 0)) << true << 1;
        QTest::addRow("Thursday 13:30") << QDateTime(QDate(2026, 3, 12), QTime(13, 30)) << true << 0;
        QTest::addRow("unticked, Friday 13:30") << QDateTime(QDate(2026, 3, 13), QTime(13, 30)) << false << 0;
        QTest::addRow("unticked, Friday 16:00") << QDateTime(QDate(2026, 3, 13), QTime(16, 0)) << false << 1;
    }
    void signalAtEachDaysEnd()
    {
        QFETCH(QDateTime, moment);
        QFETCH(bool, ticked);
        QFETCH(int, beeps);
        Window w(moment.addSecs(-60));
        SetShortFriday(*w.form, ticked);
        Control<TRadioGroup>(*w.form, "RadioGroup_HangjelzesKelvatorVegen")->setItemIndex(1);
        w.TickAt(moment.addSecs(-1));
        w.TickAt(moment);
        QCOMPARE(w.fake.beeps, beeps);
        QCOMPARE(WorkTimeControl<TMBarGraph>(*w.form, "MBarGraph_Munakanap")->MBGPlusColorAt1(),
                 beeps ? kDayBarLime : kDayBarOrange);
        // Re-armed ten minutes after the day's own end, not a second before.
        Control<QPushButton>(*w.form, "Button_BeallitasokMIVHangStop")->click(); // playing
        QVERIFY(!SignalOf(*w.form).PlayerIdle());
        w.TickAt(moment.addSecs(599));
        QCOMPARE(SignalOf(*w.form).PlayerIdle(), beeps == 0);
        w.TickAt(moment.addSecs(600));
        QVERIFY(SignalOf(*w.form).PlayerIdle());
    }

    void windowBars()
    {
        Window w(QDateTime(QDate(2026, 3, 13), QTime(10, 15)));
        TForm_Main& f = *w.form;
        Field(f, "Edit_HaviFizetes")->setText(QStringLiteral("300000"));
        SetShortFriday(f);
        w.TickAt(QDateTime(QDate(2026, 3, 13), QTime(10, 15)));
        QCOMPARE(WorkTimeControl<TMBarGraph>(f, "MBarGraph_Munakanap")->MBGValue(), 0.5);
        QCOMPARE(WorkTimeControl<TMBarGraph>(f, "MBarGraph_Munakahet")->MBGValue(),
                 Sec(39, 15) / double(Sec(42, 30)));
        QCOMPARE(WorkTimeControl<QLabel>(f, "Label_Oraber")->text(), QStringLiteral("Órabér = 1 596 Ft."));
        QCOMPARE(WorkTimeControl<QLabel>(f, "Label_Munkahonap")->text(), QStringLiteral("22 munkanap:"));
        QCOMPARE(f.Snapshot().schedule.workEnd, Sec(13, 30)); // the clock faces draw today's span

        const IniFile saved = IniFile::Load(w.SettingsPath());
        QCOMPARE(saved.Value(QStringLiteral("Munkarend"), QStringLiteral("CheckBox_NapiMunkaido")),
                 QStringLiteral("1"));
        QCOMPARE(saved.Value(QStringLiteral("Munkarend"), QStringLiteral("sNapiMunkaido")),
                 QStringLiteral("07:00-16:00;07:00-16:00;07:00-16:00;07:00-16:00;07:00-13:30"));
    }

    void untickedKeepsOneSpan()
    {
        Window w(QDateTime(QDate(2026, 3, 13), QTime(13, 30)));
        TForm_Main& f = *w.form;
        Field(f, "Edit_HaviFizetes")->setText(QStringLiteral("300000"));
        SetShortFriday(f, false);
        w.TickAt(QDateTime(QDate(2026, 3, 13), QTime(13, 30)));
        QCOMPARE(WorkTimeControl<TMBarGraph>(f, "MBarGraph_Munakanap")->MBGValue(),
                 Sec(6, 30) / double(Sec(9, 0)));
        QCOMPARE(WorkTimeControl<QLabel>(f, "Label_Oraber")->text(), QStringLiteral("Órabér = 1 515 Ft."));
        QCOMPARE(f.Snapshot().schedule.workEnd, Sec(16, 0));
    }

    void rowsArePrefilledAndChecked()
    {
        Window w(QDateTime(QDate(2026, 3, 13), QTime(10, 15)));
        TForm_Main& f = *w.form;
        Field(f, "Edit_MIKOra")->setText(QStringLiteral("08"));
        Field(f, "Edit_MIVOra")->setText(QStringLiteral("17"));
        Field(f, "Edit_MIVPerc")->setText(QStringLiteral("30"));
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        f.Menu_BeallitasokClick();
        f.Button_MunkarendClick();
        auto* wednesdayStart = Named<QLineEdit>(f, "Edit_NapiMIKOra3");
        QVERIFY(!wednesdayStart->isEnabled());
        Named(f, "CheckBox_NapiMunkaido")->click(); // ticked
        QVERIFY(wednesdayStart->isEnabled());
        QCOMPARE(wednesdayStart->text(), QStringLiteral("08"));
        QCOMPARE(Named<QLineEdit>(f, "Edit_NapiMIVOra3")->text(), QStringLiteral("17"));
        QCOMPARE(Named<QLineEdit>(f, "Edit_NapiMIVPerc3")->text(), QStringLiteral("30"));
        // A row that ends before it starts is refused with the settings page's message.
        Named<QLineEdit>(f, "Edit_NapiMIVOra3")->setText(QStringLiteral("07"));
        Named(f, "Button_MunkarendOK")->click();
        QCOMPARE(w.fake.errors.value(0),
                 QStringLiteral("A kelvator vége legyen nagyobb,\r\nmint a kelvator kezdete."));
        QVERIFY(MunkarendShown(f));
        QVERIFY(!f.CalendarModel().WeekdayHoursOn());
        // A field left with a bad hour gets the settings page's field check.
        auto* tuesdayStart = Named<QLineEdit>(f, "Edit_NapiMIKOra2");
        tuesdayStart->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), tuesdayStart);
        tuesdayStart->setText(QStringLiteral("24"));
        QTest::keyClick(tuesdayStart, Qt::Key_Tab);
        QCOMPARE(w.fake.errors.value(1), QStringLiteral("A beírt óra érték hibás.\r\n0–23 a jó érték."));
        QVERIFY(tuesdayStart->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), tuesdayStart);
    }

    void rowFieldsAreCheckedOnLeaving_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        const QString hour = QStringLiteral("A beírt óra érték hibás.\r\n0–23 a jó érték.");
        const QString minute = QStringLiteral("A beírt perc érték hibás.\r\n0–59 a jó érték.");
        QTest::addRow("start hour 24") << "Edit_NapiMIKOra1"
                                       << "24" << hour;
        QTest::addRow("end hour 23") << "Edit_NapiMIVOra5"
                                     << "23" << QString();
        QTest::addRow("end hour empty") << "Edit_NapiMIVOra2"
                                        << "" << hour;
        QTest::addRow("start minute 60") << "Edit_NapiMIKPerc3"
                                         << "60" << minute;
        QTest::addRow("end minute 59") << "Edit_NapiMIVPerc4"
                                       << "59" << QString();
        QTest::addRow("end minute text") << "Edit_NapiMIVPerc1"
                                         << "x" << minute;
    }
    void rowFieldsAreCheckedOnLeaving()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, error);
        WorkCalendarModel model;
        QStringList errors;
        WorkCalendarPage page(model, {[&errors](const QString& e) { errors << e; }, [] { return true; }});
        page.Open(2026, Settings{});
        Named(page, "CheckBox_NapiMunkaido")->click(); // ticked: the rows take the focus
        page.show();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        auto* edit = page.findChild<QLineEdit*>(field);
        edit->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), edit);
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Tab);
        if (error.isEmpty()) {
            QVERIFY(errors.isEmpty());
            QCOMPARE(edit->text(), text);
            QVERIFY(QApplication::focusWidget() != edit);
        } else {
            // Told once, emptied and back in the field.
            QCOMPARE(errors, QStringList{error});
            QVERIFY(edit->text().isEmpty());
            QCOMPARE(QApplication::focusWidget(), edit);
        }
    }

    void malformedValueIsIgnoredAndSaidOnce()
    {
        Window w(QDateTime(QDate(2026, 3, 13), QTime(13, 30)));
        IniFile ini;
        ini.SetValue(QStringLiteral("Munkarend"), QStringLiteral("CheckBox_NapiMunkaido"),
                     QStringLiteral("1"));
        ini.SetValue(QStringLiteral("Munkarend"), QStringLiteral("sNapiMunkaido"),
                     QStringLiteral("07:00-13:30"));
        QVERIFY(ini.Save(w.SettingsPath()));
        TForm_Main& f = *w.form;
        f.LoadSettings();
        w.TickAt(QDateTime(QDate(2026, 3, 13), QTime(13, 30)));
        QCOMPARE(WorkTimeControl<TMBarGraph>(f, "MBarGraph_Munakanap")->MBGValue(),
                 Sec(6, 30) / double(Sec(9, 0)));
        QVERIFY(w.fake.errors.isEmpty());
        f.Button_MunkarendClick();
        auto* told = Named<QLabel>(f, "Label_NapiMunkaidoHiba");
        QVERIFY(told->isVisibleTo(Named<QWidget>(f, "TabSheet_Munkarend")));
        Named(f, "Button_MunkarendMegsem")->click();
        f.SaveSettings();
        QCOMPARE(IniFile::Load(w.SettingsPath())
                     .Value(QStringLiteral("Munkarend"), QStringLiteral("sNapiMunkaido")),
                 QStringLiteral("07:00-13:30"));
    }

    void unreadableHoursAreToldAndKept_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addRow("ticked") << QStringLiteral("1");
        QTest::addRow("unticked") << QStringLiteral("0");
    }
    void unreadableHoursAreToldAndKept()
    {
        QFETCH(QString, box);
        Window w(QDateTime(QDate(2026, 3, 13), QTime(13, 30)));
        IniFile ini;
        ini.SetValue(QStringLiteral("Munkarend"), QStringLiteral("CheckBox_NapiMunkaido"), box);
        ini.SetValue(QStringLiteral("Munkarend"), QStringLiteral("sNapiMunkaido"),
                     QStringLiteral("07:00-13:30"));
        QVERIFY(ini.Save(w.SettingsPath()));
        TForm_Main& f = *w.form;
        f.LoadSettings();
        QVERIFY2(f.LoadNotice().contains(QStringLiteral("sNapiMunkaido: „07:00-13:30” – ")),
                 qPrintable(f.LoadNotice()));
        QVERIFY(f.LoadNotice().contains(QStringLiteral("ezért a Beállítások munkaideje érvényes.")));
        auto stored = [&w] {
            return IniFile::Load(w.SettingsPath())
                .Value(QStringLiteral("Munkarend"), QStringLiteral("sNapiMunkaido"));
        };
        // The page looked at and left with OK: the value stays as the user wrote it.
        f.Menu_BeallitasokClick();
        f.Button_MunkarendClick();
        Named(f, "Button_MunkarendOK")->click();
        Control<QPushButton>(f, "Button_BeallitasokOK")->click();
        QCOMPARE(stored(), QStringLiteral("07:00-13:30"));
        w.TickAt(QDateTime(QDate(2026, 3, 13), QTime(13, 30)));
        QCOMPARE(WorkTimeControl<TMBarGraph>(f, "MBarGraph_Munakanap")->MBGValue(),
                 Sec(6, 30) / double(Sec(9, 0)));
        // Rows the user sets replace it.
        SetShortFriday(f, box == u'1');
        QCOMPARE(stored(), QStringLiteral("07:00-16:00;07:00-16:00;07:00-16:00;07:00-16:00;07:00-13:30"));
    }
};

QTEST_MAIN(TstWorkHours)
#include "tst_workhours.moc"
