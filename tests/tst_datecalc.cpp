#include "window_fixture.h"

#include "datecalc/datecalc.h"
#include "datecalc/datecalc_page.h"
#include "settings/inifile.h"
#include "settings/settings_model.h"
#include "widgets/tmonthcalendar.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace kelvator;
using kelvator::testing::MainTabs;
using kelvator::testing::Window;

Q_DECLARE_METATYPE(DateStep)

class TstDatecalc : public QObject {
    Q_OBJECT

private:
    // The page's controls by their names, in a window or on a page alone.
    template <typename T> static T* Child(QWidget& parent, const char* name)
    {
        auto* child = parent.findChild<T*>(QString::fromLatin1(name));
        if (!child)
            qFatal("no %s on the page", name);
        return child;
    }
    static DateCalcPage* Page(QWidget& parent) { return Child<DateCalcPage>(parent, "TabSheet_Datumok"); }
    static TMonthCalendar* Calendar(QWidget& parent, int side)
    {
        return Child<TMonthCalendar>(parent, side == 1 ? "MonthCalendar_Datumok1" : "MonthCalendar_Datumok2");
    }
    static QComboBox* Steps(QWidget& parent, int side)
    {
        return Child<QComboBox>(parent,
                                side == 1 ? "ComboBox_DatumokLepeskoz1" : "ComboBox_DatumokLepeskoz2");
    }
    static QLabel* Distance(QWidget& parent, int side)
    {
        return Child<QLabel>(parent, side == 1 ? "Label_DatumokMikorVolt1" : "Label_DatumokMikorVolt2");
    }
    static QLabel* Label(QWidget& parent, const char* name) { return Child<QLabel>(parent, name); }
    static QPushButton* Button(QWidget& parent, const char* name) { return Child<QPushButton>(parent, name); }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }

    void steps_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<DateStep>("step");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QDate>("to");
        // 2024-05-10 is a Friday.
        QTest::addRow("workday on from Friday")
            << QDate(2024, 5, 10) << DateStep::Workday << 1 << 1 << QDate(2024, 5, 13);
        QTest::addRow("workday on from Saturday")
            << QDate(2024, 5, 11) << DateStep::Workday << 1 << 1 << QDate(2024, 5, 14);
        QTest::addRow("workday on from Sunday")
            << QDate(2024, 5, 12) << DateStep::Workday << 1 << 1 << QDate(2024, 5, 14);
        QTest::addRow("workday back from Monday")
            << QDate(2024, 5, 13) << DateStep::Workday << 1 << -1 << QDate(2024, 5, 10);
        QTest::addRow("workday back from Saturday")
            << QDate(2024, 5, 11) << DateStep::Workday << 1 << -1 << QDate(2024, 5, 9);
        QTest::addRow("workday back from Sunday")
            << QDate(2024, 5, 12) << DateStep::Workday << 1 << -1 << QDate(2024, 5, 9);
        QTest::addRow("five workdays from Wednesday")
            << QDate(2024, 5, 8) << DateStep::Workday << 5 << 1 << QDate(2024, 5, 15);
        QTest::addRow("step 0 moves off the weekend")
            << QDate(2024, 5, 11) << DateStep::Workday << 0 << 1 << QDate(2024, 5, 13);
        QTest::addRow("month from 31 January")
            << QDate(2023, 1, 31) << DateStep::Month << 1 << 1 << QDate(2023, 2, 28);
        QTest::addRow("month back from 31 March")
            << QDate(2024, 3, 31) << DateStep::Month << 1 << -1 << QDate(2024, 2, 29);
        QTest::addRow("12 months from 29 February")
            << QDate(2024, 2, 29) << DateStep::Month << 12 << 1 << QDate(2025, 2, 28);
        QTest::addRow("99 years back")
            << QDate(2024, 5, 7) << DateStep::Year << 99 << -1 << QDate(1925, 5, 7);
        QTest::addRow("weeks") << QDate(2024, 5, 7) << DateStep::Week << 3 << -1 << QDate(2024, 4, 16);
        QTest::addRow("days") << QDate(2024, 5, 7) << DateStep::Day << 99 << 1 << QDate(2024, 8, 14);
        QTest::addRow("year past 9999 stays")
            << QDate(9950, 1, 1) << DateStep::Year << 99 << 1 << QDate(9950, 1, 1);
        QTest::addRow("day before year 1 stays")
            << QDate(1, 1, 1) << DateStep::Day << 1 << -1 << QDate(1, 1, 1);
        QTest::addRow("workday past 9999 stays")
            << QDate(9999, 12, 31) << DateStep::Workday << 3 << 1 << QDate(9999, 12, 31);
    }
    void steps()
    {
        QFETCH(QDate, from);
        QFETCH(DateStep, step);
        QFETCH(int, n);
        QFETCH(int, direction);
        QFETCH(QDate, to);
        QCOMPARE(StepDate(from, step, n, direction), to);
    }

    void pageCompareAndCopy()
    {
        Window w(QDateTime(QDate(2024, 5, 7), QTime(20, 0)));
        TForm_Main& f = *w.form;
        Calendar(f, 1)->setSelectedDate(QDate(2024, 5, 7));
        Calendar(f, 2)->setSelectedDate(QDate(2024, 5, 10));
        Page(f)->Refresh();
        QVERIFY(Label(f, "Image_DatumokJobbraNyil")->isVisibleTo(Page(f)));
        QVERIFY(!Label(f, "Image_DatumokBalraNyil")->isVisibleTo(Page(f)));
        QVERIFY(!Label(f, "Label_DatumokEgyenlo")->isVisibleTo(Page(f)));
        QCOMPARE(Label(f, "Label_DatumokKulonbseg")->text(), QStringLiteral("3 nap."));
        QCOMPARE(Distance(f, 1)->text(), QStringLiteral("0 nap"));
        QCOMPARE(Distance(f, 2)->text(), QStringLiteral("- 3 nap"));

        Button(f, "Button_Datumok2To1")->click();
        QCOMPARE(Calendar(f, 1)->selectedDate(), QDate(2024, 5, 10));
        QVERIFY(Label(f, "Label_DatumokEgyenlo")->isVisibleTo(Page(f)));
        QVERIFY(!Label(f, "Image_DatumokJobbraNyil")->isVisibleTo(Page(f)));
        QCOMPARE(Label(f, "Label_DatumokKulonbseg")->text(), QStringLiteral("0 nap."));

        Calendar(f, 1)->setSelectedDate(QDate(2023, 7, 1));
        Calendar(f, 2)->setSelectedDate(QDate(2023, 8, 31));
        Button(f, "Button_Datumok1To2")->click();
        QCOMPARE(Calendar(f, 2)->selectedDate(), QDate(2023, 7, 1));
        Calendar(f, 2)->setSelectedDate(QDate(2023, 8, 31));
        Page(f)->Refresh();
        QCOMPARE(Label(f, "Label_DatumokKulonbseg")->text(), QStringLiteral("1 hónap, 29 nap."));
        Calendar(f, 1)->setSelectedDate(QDate(2023, 9, 1));
        Page(f)->Refresh();
        QVERIFY(Label(f, "Image_DatumokBalraNyil")->isVisibleTo(Page(f)));
        QCOMPARE(Distance(f, 1)->text(), QStringLiteral("+ 8 hónap, 6 nap"));
    }

    void keyboardPicksRefreshThePage_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("key");
        QTest::addColumn<QDate>("picked");
        QTest::addColumn<QString>("distance");
        QTest::addColumn<QString>("difference");
        QTest::addColumn<int>("arrow"); // 1 right, -1 left, 0 equal
        QTest::addRow("left, arrow right") << 0 << int(Qt::Key_Right) << QDate(2024, 5, 8) << "- 1 nap"
                                           << "2 nap." << 1;
        QTest::addRow("left, page down")
            << 0 << int(Qt::Key_PageDown) << QDate(2024, 6, 7) << "- 1 hónap, 0 nap"
            << "28 nap." << -1;
        QTest::addRow("right, arrow up") << 1 << int(Qt::Key_Up) << QDate(2024, 5, 3) << "+ 4 nap"
                                         << "4 nap." << -1;
        QTest::addRow("right, page up") << 1 << int(Qt::Key_PageUp) << QDate(2024, 4, 10) << "+ 27 nap"
                                        << "27 nap." << -1;
        QTest::addRow("right, arrow left to the left date")
            << 1 << int(Qt::Key_Left) << QDate(2024, 5, 9) << "- 2 nap"
            << "2 nap." << 1;
    }
    void keyboardPicksRefreshThePage()
    {
        QFETCH(int, side);
        QFETCH(int, key);
        QFETCH(QDate, picked);
        QFETCH(QString, distance);
        QFETCH(QString, difference);
        QFETCH(int, arrow);
        Window w(QDateTime(QDate(2024, 5, 7), QTime(20, 0)));
        TForm_Main& f = *w.form;
        Calendar(f, 1)->setSelectedDate(QDate(2024, 5, 7));
        Calendar(f, 2)->setSelectedDate(QDate(2024, 5, 10));
        Page(f)->Refresh();
        TMonthCalendar* calendar = Calendar(f, side + 1);
        auto* days = calendar->findChild<QWidget*>(QStringLiteral("qt_calendar_calendarview"));
        QVERIFY(days);
        QTest::keyClick(days, static_cast<Qt::Key>(key));
        QCOMPARE(calendar->selectedDate(), picked);
        QLabel* distanceLabel = Distance(f, side + 1);
        QCOMPARE(distanceLabel->text(), distance);
        QCOMPARE(Label(f, "Label_DatumokKulonbseg")->text(), difference);
        QCOMPARE(Label(f, "Image_DatumokJobbraNyil")->isVisibleTo(Page(f)), arrow == 1);
        QCOMPARE(Label(f, "Image_DatumokBalraNyil")->isVisibleTo(Page(f)), arrow == -1);
        QCOMPARE(Label(f, "Label_DatumokEgyenlo")->isVisibleTo(Page(f)), arrow == 0);
    }

    void stepButtonsUseTheirSidesStep()
    {
        Window w(QDateTime(QDate(2024, 5, 7), QTime(20, 0)));
        TForm_Main& f = *w.form;
        Steps(f, 1)->setCurrentIndex(11);
        Steps(f, 2)->setCurrentIndex(4);
        Page(f)->Refresh();
        QCOMPARE(Button(f, "Button_DatumokPHonap1")->text(), QStringLiteral("+12 hónap"));
        QCOMPARE(Button(f, "Button_DatumokMMunkaNap1")->text(), QStringLiteral("-12 munkanap"));
        QCOMPARE(Button(f, "Button_DatumokMNap2")->text(), QStringLiteral("-5 nap"));
        Calendar(f, 1)->setSelectedDate(QDate(2024, 2, 29));
        Button(f, "Button_DatumokPHonap1")->click();
        QCOMPARE(Calendar(f, 1)->selectedDate(), QDate(2025, 2, 28));

        Button(f, "Button_DatumokLepeskozEgy1")->click(); // "L = 1" on the left only
        QCOMPARE(Steps(f, 1)->currentIndex(), 0);
        QCOMPARE(Button(f, "Button_DatumokPNap1")->text(), QStringLiteral("+1 nap"));
        QCOMPARE(Steps(f, 2)->currentIndex(), 4);
        QCOMPARE(Button(f, "Button_DatumokPNap2")->text(), QStringLiteral("+5 nap"));

        Button(f, "Button_DatumokMa2")->click();
        QCOMPARE(Calendar(f, 2)->selectedDate(), QDate(2024, 5, 7));
        Button(f, "Button_DatumokPMunkaNap2")->click(); // Tuesday + 5 working days
        QCOMPARE(Calendar(f, 2)->selectedDate(), QDate(2024, 5, 14));
    }

    void stepSizesComeFromTheSettingsFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kelvator.ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Datumok]\r\nMonthCalendar_Datumok1=2024.01.31.\r\nMonthCalendar_Datumok2=2024.03.01. "
                   "10:00:00\r\n"
                   "ComboBox_DatumokLepeskoz1=6\r\nComboBox_DatumokLepeskoz2=120\r\n");
        file.close();
        testing::FakePlatform fake;
        fake.now = QDateTime(QDate(2024, 5, 7), QTime(20, 0));
        TForm_Main f(fake.Make(path));
        QCOMPARE(Calendar(f, 1)->selectedDate(), QDate(2024, 1, 31));
        QCOMPARE(Calendar(f, 2)->selectedDate(), QDate(2024, 3, 1));
        QCOMPARE(Button(f, "Button_DatumokMHet1")->text(), QStringLiteral("-7 hét"));
        // An index past the list leaves it without a choice: step 0.
        QCOMPARE(Steps(f, 2)->currentIndex(), -1);
        QCOMPARE(Button(f, "Button_DatumokPEv2")->text(), QStringLiteral("+0 év"));
        QCOMPARE(Label(f, "Label_DatumokKulonbseg")->text(), QStringLiteral("30 nap."));
    }

    void switchingToTheTabRefreshes()
    {
        Window w(QDateTime(QDate(2024, 5, 7), QTime(20, 0)));
        TForm_Main& f = *w.form;
        Calendar(f, 1)->setSelectedDate(QDate(2024, 5, 1));
        w.fake.now = QDateTime(QDate(2024, 5, 8), QTime(9, 0));
        MainTabs(f)->setCurrentWidget(Page(f));
        QCOMPARE(Distance(f, 1)->text(), QStringLiteral("+ 7 nap"));
    }

    void calendarsShowTheDaysNotWorked_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("red");
        QTest::addRow("on, working Saturday") << true << QDate(2026, 12, 12) << false;
        QTest::addRow("on, Sunday") << true << QDate(2026, 12, 13) << true;
        QTest::addRow("on, rest day") << true << QDate(2026, 12, 24) << true;
        QTest::addRow("on, Christmas Day") << true << QDate(2026, 12, 25) << true;
        QTest::addRow("on, Saturday holiday") << true << QDate(2026, 12, 26) << true;
        QTest::addRow("on, Thursday") << true << QDate(2026, 12, 17) << false;
        QTest::addRow("off, Saturday") << false << QDate(2026, 12, 12) << false;
        QTest::addRow("off, rest day") << false << QDate(2026, 12, 24) << false;
    }
    void calendarsShowTheDaysNotWorked()
    {
        QFETCH(bool, ticked);
        QFETCH(QDate, date);
        QFETCH(bool, red);
        Window w(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
        TForm_Main& f = *w.form;
        IniFile ini;
        ini.SetValue(QStringLiteral("Munkarend"), QStringLiteral("CheckBox_Unnepnapok"),
                     ticked ? QStringLiteral("1") : QStringLiteral("0"));
        QVERIFY(ini.Save(w.SettingsPath()));
        f.LoadSettings();
        MainTabs(f)->setCurrentWidget(Page(f));
        for (TMonthCalendar* month : {Calendar(f, 1), Calendar(f, 2)}) {
            month->setSelectedDate(QDate(2026, 12, 1));
            QCOMPARE(month->dayTextColour(date), red ? QColor(Qt::red) : QColor(Qt::black));
        }
    }

    // The page alone: the working-day steps ask the test it was handed, at the time of the click.
    void pageStepsOverTheDaysTheCalendarNames_data()
    {
        QTest::addColumn<bool>("withCalendar");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QDate>("to");
        // 2024-05-10 is a Friday; the calendar below rests on Monday 13 and works Saturday 18.
        QTest::addRow("no calendar: Monday") << false << QDate(2024, 5, 10) << 1 << QDate(2024, 5, 13);
        QTest::addRow("over the Monday off") << true << QDate(2024, 5, 10) << 1 << QDate(2024, 5, 14);
        QTest::addRow("back over the Monday off") << true << QDate(2024, 5, 14) << -1 << QDate(2024, 5, 10);
        QTest::addRow("onto the working Saturday") << true << QDate(2024, 5, 17) << 1 << QDate(2024, 5, 18);
        QTest::addRow("no calendar: past Saturday") << false << QDate(2024, 5, 17) << 1 << QDate(2024, 5, 20);
    }
    void pageStepsOverTheDaysTheCalendarNames()
    {
        QFETCH(bool, withCalendar);
        QFETCH(QDate, from);
        QFETCH(int, direction);
        QFETCH(QDate, to);
        DateCalcPage page([] { return QDateTime(QDate(2024, 5, 7), QTime(20, 0)); });
        QDate rest; // set after the page has the test: the page must ask it when stepping
        if (withCalendar) {
            page.ShowWorkCalendar(
                [&rest](const QDate& d) {
                    return d == QDate(2024, 5, 18) || (d != rest && d.dayOfWeek() < 6);
                },
                [](const QDate&) { return false; }, 1);
        }
        rest = QDate(2024, 5, 13);
        Calendar(page, 1)->setSelectedDate(from);
        Button(page, direction > 0 ? "Button_DatumokPMunkaNap1" : "Button_DatumokMMunkaNap1")->click();
        QCOMPARE(Calendar(page, 1)->selectedDate(), to);
    }

    // "Ma" and the distances read the clock when they are used, not when the page was made.
    void pageReadsTheClockWhenAsked()
    {
        QDateTime now(QDate(2024, 5, 7), QTime(20, 0));
        DateCalcPage page([&now] { return now; });
        Calendar(page, 1)->setSelectedDate(QDate(2024, 5, 7));
        Calendar(page, 2)->setSelectedDate(QDate(2024, 5, 7));
        QCOMPARE(Distance(page, 2)->text(), QStringLiteral("0 nap"));

        now = QDateTime(QDate(2024, 5, 9), QTime(0, 0, 1));
        Button(page, "Button_DatumokMa1")->click();
        QCOMPARE(Calendar(page, 1)->selectedDate(), QDate(2024, 5, 9));
        QCOMPARE(Distance(page, 1)->text(), QStringLiteral("0 nap"));
        QCOMPARE(Distance(page, 2)->text(), QStringLiteral("+ 2 nap"));
        QCOMPARE(Label(page, "Label_DatumokKulonbseg")->text(), QStringLiteral("2 nap."));
        QVERIFY(Label(page, "Image_DatumokBalraNyil")->isVisibleTo(&page));

        now = QDateTime(QDate(2024, 5, 10), QTime(8, 0));
        page.Refresh();
        QCOMPARE(Distance(page, 1)->text(), QStringLiteral("+ 1 nap"));
    }

    // The stored values come back as they went in, "no step" included.
    void pageSettingsRoundTrip()
    {
        DateCalcPage page([] { return QDateTime(QDate(2024, 5, 7), QTime(20, 0)); });
        Settings in;
        in.leftDate = QDate(1999, 12, 31);
        in.rightDate = QDate(2030, 2, 28);
        in.leftStep = 98;
        in.rightStep = -1;
        page.ShowSettings(in);
        page.Refresh(); // the window refreshes once the whole file is shown
        QCOMPARE(Button(page, "Button_DatumokPNap1")->text(), QStringLiteral("+99 nap"));
        QCOMPARE(Button(page, "Button_DatumokMEv2")->text(), QStringLiteral("-0 év"));
        Settings out;
        page.CollectSettings(out);
        QCOMPARE(out.leftDate, in.leftDate);
        QCOMPARE(out.rightDate, in.rightDate);
        QCOMPARE(out.leftStep, 98);
        QCOMPARE(out.rightStep, -1);
    }
};

QTEST_MAIN(TstDatecalc)
#include "tst_datecalc.moc"
