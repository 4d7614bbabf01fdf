#include "window_fixture.h"

#include "datecalc/datecalc.h"
#include "settings/inifile.h"
#include "widgets/tmonthcalendar.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace kelvator;
using kelvator::testing::Window;

Q_DECLARE_METATYPE(DateStep)

class TstDatecalc : public QObject {
    Q_OBJECT

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
        f.MonthCalendar_Datumok1->setSelectedDate(QDate(2024, 5, 7));
        f.MonthCalendar_Datumok2->setSelectedDate(QDate(2024, 5, 10));
        f.RefreshDateCalculator();
        QVERIFY(f.Image_DatumokJobbraNyil->isVisibleTo(f.TabSheet_Datumok));
        QVERIFY(!f.Image_DatumokBalraNyil->isVisibleTo(f.TabSheet_Datumok));
        QVERIFY(!f.Label_DatumokEgyenlo->isVisibleTo(f.TabSheet_Datumok));
        QCOMPARE(f.Label_DatumokKulonbseg->text(), QStringLiteral("3 nap."));
        QCOMPARE(f.Label_DatumokMikorVolt1->text(), QStringLiteral("0 nap"));
        QCOMPARE(f.Label_DatumokMikorVolt2->text(), QStringLiteral("- 3 nap"));

        f.Button_Datumok2To1->click();
        QCOMPARE(f.MonthCalendar_Datumok1->selectedDate(), QDate(2024, 5, 10));
        QVERIFY(f.Label_DatumokEgyenlo->isVisibleTo(f.TabSheet_Datumok));
        QVERIFY(!f.Image_DatumokJobbraNyil->isVisibleTo(f.TabSheet_Datumok));
        QCOMPARE(f.Label_DatumokKulonbseg->text(), QStringLiteral("0 nap."));

        f.MonthCalendar_Datumok1->setSelectedDate(QDate(2023, 7, 1));
        f.MonthCalendar_Datumok2->setSelectedDate(QDate(2023, 8, 31));
        f.Button_Datumok1To2->click();
        QCOMPARE(f.MonthCalendar_Datumok2->selectedDate(), QDate(2023, 7, 1));
        f.MonthCalendar_Datumok2->setSelectedDate(QDate(2023, 8, 31));
        f.RefreshDateCalculator();
        QCOMPARE(f.Label_DatumokKulonbseg->text(), QStringLiteral("1 hónap, 29 nap."));
        f.MonthCalendar_Datumok1->setSelectedDate(QDate(2023, 9, 1));
        f.RefreshDateCalculator();
        QVERIFY(f.Image_DatumokBalraNyil->isVisibleTo(f.TabSheet_Datumok));
        QCOMPARE(f.Label_DatumokMikorVolt1->text(), QStringLiteral("+ 8 hónap, 6 nap"));
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
        f.MonthCalendar_Datumok1->setSelectedDate(QDate(2024, 5, 7));
        f.MonthCalendar_Datumok2->setSelectedDate(QDate(2024, 5, 10));
        f.RefreshDateCalculator();
        TMonthCalendar* calendar = side == 0 ? f.MonthCalendar_Datumok1 : f.MonthCalendar_Datumok2;
        auto* days = calendar->findChild<QWidget*>(QStringLiteral("qt_calendar_calendarview"));
        QVERIFY(days);
        QTest::keyClick(days, static_cast<Qt::Key>(key));
        QCOMPARE(calendar->selectedDate(), picked);
        QLabel* distanceLabel = side == 0 ? f.Label_DatumokMikorVolt1 : f.Label_DatumokMikorVolt2;
        QCOMPARE(distanceLabel->text(), distance);
        QCOMPARE(f.Label_DatumokKulonbseg->text(), difference);
        QCOMPARE(f.Image_DatumokJobbraNyil->isVisibleTo(f.TabSheet_Datumok), arrow == 1);
        QCOMPARE(f.Image_DatumokBalraNyil->isVisibleTo(f.TabSheet_Datumok), arrow == -1);
        QCOMPARE(f.Label_DatumokEgyenlo->isVisibleTo(f.TabSheet_Datumok), arrow == 0);
    }

    void stepButtonsUseTheirSidesStep()
    {
        Window w(QDateTime(QDate(2024, 5, 7), QTime(20, 0)));
        TForm_Main& f = *w.form;
        f.ComboBox_DatumokLepeskoz1->setCurrentIndex(11);
        f.ComboBox_DatumokLepeskoz2->setCurrentIndex(4);
        f.RefreshDateCalculator();
        QCOMPARE(f.dateSides[0].forward[2]->text(), QStringLiteral("+12 hónap"));
        QCOMPARE(f.dateSides[0].back[4]->text(), QStringLiteral("-12 munkanap"));
        QCOMPARE(f.dateSides[1].back[0]->text(), QStringLiteral("-5 nap"));
        f.MonthCalendar_Datumok1->setSelectedDate(QDate(2024, 2, 29));
        f.dateSides[0].forward[2]->click();
        QCOMPARE(f.MonthCalendar_Datumok1->selectedDate(), QDate(2025, 2, 28));

        f.dateSides[0].stepOne->click(); // "L = 1" on the left only
        QCOMPARE(f.ComboBox_DatumokLepeskoz1->currentIndex(), 0);
        QCOMPARE(f.dateSides[0].forward[0]->text(), QStringLiteral("+1 nap"));
        QCOMPARE(f.ComboBox_DatumokLepeskoz2->currentIndex(), 4);
        QCOMPARE(f.dateSides[1].forward[0]->text(), QStringLiteral("+5 nap"));

        f.dateSides[1].today->click();
        QCOMPARE(f.MonthCalendar_Datumok2->selectedDate(), QDate(2024, 5, 7));
        f.dateSides[1].forward[4]->click(); // Tuesday + 5 working days
        QCOMPARE(f.MonthCalendar_Datumok2->selectedDate(), QDate(2024, 5, 14));
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
        QCOMPARE(f.MonthCalendar_Datumok1->selectedDate(), QDate(2024, 1, 31));
        QCOMPARE(f.MonthCalendar_Datumok2->selectedDate(), QDate(2024, 3, 1));
        QCOMPARE(f.dateSides[0].back[1]->text(), QStringLiteral("-7 hét"));
        // An index past the list leaves it without a choice: step 0.
        QCOMPARE(f.ComboBox_DatumokLepeskoz2->currentIndex(), -1);
        QCOMPARE(f.dateSides[1].forward[3]->text(), QStringLiteral("+0 év"));
        QCOMPARE(f.Label_DatumokKulonbseg->text(), QStringLiteral("30 nap."));
    }

    void switchingToTheTabRefreshes()
    {
        Window w(QDateTime(QDate(2024, 5, 7), QTime(20, 0)));
        TForm_Main& f = *w.form;
        f.MonthCalendar_Datumok1->setSelectedDate(QDate(2024, 5, 1));
        w.fake.now = QDateTime(QDate(2024, 5, 8), QTime(9, 0));
        f.PageControl_Main->setCurrentWidget(f.TabSheet_Datumok);
        QCOMPARE(f.Label_DatumokMikorVolt1->text(), QStringLiteral("+ 7 nap"));
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
        f.PageControl_Main->setCurrentWidget(f.TabSheet_Datumok);
        for (TMonthCalendar* month : {f.MonthCalendar_Datumok1, f.MonthCalendar_Datumok2}) {
            month->setSelectedDate(QDate(2026, 12, 1));
            QCOMPARE(month->dayTextColour(date), red ? QColor(Qt::red) : QColor(Qt::black));
        }
    }
};

QTEST_MAIN(TstDatecalc)
#include "tst_datecalc.moc"
