#include "window_fixture.h"
#include "worktime_fixture.h"

#include "calendar/calendar_texts.h"
#include "calendar/workcalendar.h"
#include "settings/inifile.h"
#include "widgets/mbargraph.h"
#include "widgets/tmonthcalendar.h"
#include "widgets/tshape.h"
#include "worktime/payday.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace kelvator;
using kelvator::testing::Control;
using kelvator::testing::Field;
using kelvator::testing::Window;

namespace {
constexpr int kRow10 = 9;
const QString kWeekendText = QStringLiteral("Hétvégére esne a fizetésnap, ezért pénteken volt.");
const QString kDayOffText = QStringLiteral("Munkaszüneti napra esne a fizetésnap, ezért előtte volt.");

// The window with the work calendar ticked in its settings file.
void TickCalendar(kelvator::testing::Window& w)
{
    IniFile ini;
    ini.SetValue(QStringLiteral("Munkarend"), QStringLiteral("CheckBox_Unnepnapok"), QStringLiteral("1"));
    QVERIFY(ini.Save(w.SettingsPath()));
    w.form->LoadSettings();
    QVERIFY(w.form->CalendarModel().Calendar().enabled());
}
} // namespace

using kelvator::testing::DaySquares;
using kelvator::testing::WorkTimeControl;

class TstPayday : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        Q_INIT_RESOURCE(kelvator);
        QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    }

    void payday_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("rule");
        QTest::addColumn<QDate>("payday");
        QTest::addColumn<QString>("label");
        QTest::addRow("on the day") << QDate(2024, 5, 10) << kRow10 << 0 << QDate(2024, 5, 10)
                                    << "Ma van a fizetés.";
        QTest::addRow("two days") << QDate(2024, 5, 8) << kRow10 << 0 << QDate(2024, 5, 10)
                                  << "Fizetés 2 nap múlva:";
        QTest::addRow("Sunday payday, before")
            << QDate(2024, 3, 4) << kRow10 << 0 << QDate(2024, 3, 8) << "Fizetés 4 nap múlva:";
        QTest::addRow("Sunday payday, Friday")
            << QDate(2024, 3, 8) << kRow10 << 0 << QDate(2024, 3, 8) << "Ma van a fizetés.";
        QTest::addRow("Sunday payday, Saturday") << QDate(2024, 3, 9) << kRow10 << 0 << QDate(2024, 3, 8)
                                                 << "Hétvégére esne a fizetésnap, ezért pénteken volt.";
        QTest::addRow("Sunday payday, Sunday") << QDate(2024, 3, 10) << kRow10 << 0 << QDate(2024, 3, 8)
                                               << "Hétvégére esne a fizetésnap, ezért pénteken volt.";
        QTest::addRow("Sunday payday, Monday after")
            << QDate(2024, 3, 11) << kRow10 << 0 << QDate(2024, 4, 10) << "Fizetés 30 nap múlva:";
        QTest::addRow("Monday rule, Thursday")
            << QDate(2024, 2, 8) << kRow10 << 1 << QDate(2024, 2, 12) << "Fizetés 4 nap múlva:";
        QTest::addRow("Monday rule, Sunday after")
            << QDate(2024, 2, 11) << kRow10 << 1 << QDate(2024, 3, 11) << "Fizetés 29 nap múlva:";
        QTest::addRow("same-day rule")
            << QDate(2024, 3, 4) << kRow10 << 2 << QDate(2024, 3, 10) << "Fizetés 6 nap múlva:";
        QTest::addRow("last day, 31-day month")
            << QDate(2023, 1, 31) << kLastDayRow << 0 << QDate(2023, 1, 31) << "Ma van a fizetés.";
        QTest::addRow("last day on Sunday") << QDate(2024, 3, 30) << kLastDayRow << 0 << QDate(2024, 3, 29)
                                            << "Hétvégére esne a fizetésnap, ezért pénteken volt.";
        QTest::addRow("December rolls over")
            << QDate(2024, 12, 20) << kRow10 << 0 << QDate(2025, 1, 10) << "Fizetés 21 nap múlva:";
        QTest::addRow("32 days") << QDate(2021, 1, 28) << 26 << 1 << QDate(2021, 3, 1)
                                 << "Fizetés 32 nap múlva:";
    }
    void payday()
    {
        QFETCH(QDate, today);
        QFETCH(int, row);
        QFETCH(int, rule);
        QFETCH(QDate, payday);
        QFETCH(QString, label);
        const QDate computed = PaydayOf(today, row, rule);
        QCOMPARE(computed, payday);
        QCOMPARE(BuildPaydayStrip(today, computed).label, label);
    }

    // Day n of the month is row n - 1.
    void movedPayday_data()
    {
        QTest::addColumn<bool>("calendar");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("rule");
        QTest::addColumn<QDate>("payday");
        QTest::addColumn<QString>("label");
        // The 26th of December 2026 is a Saturday and a holiday, the 25th a holiday, the 24th a
        // rest day: the payday goes back to Wednesday the 23rd.
        const int row26 = 25;
        QTest::addRow("Christmas, on, 21st") << true << QDate(2026, 12, 21) << row26 << 0
                                             << QDate(2026, 12, 23) << QStringLiteral("Fizetés 2 nap múlva:");
        QTest::addRow("Christmas, on, 23rd")
            << true << QDate(2026, 12, 23) << row26 << 0 << QDate(2026, 12, 23) << "Ma van a fizetés.";
        for (int day : {24, 25, 26})
            QTest::addRow("Christmas, on, %dth", day)
                << true << QDate(2026, 12, day) << row26 << 0 << QDate(2026, 12, 23) << kDayOffText;
        QTest::addRow("Christmas, on, 27th") << true << QDate(2026, 12, 27) << row26 << 0
                                             << QDate(2027, 1, 26) << QStringLiteral("Fizetés 30 nap múlva:");
        QTest::addRow("Christmas, off, 24th")
            << false << QDate(2026, 12, 24) << row26 << 0 << QDate(2026, 12, 25)
            << QStringLiteral("Fizetés 1 nap múlva:");
        QTest::addRow("Christmas, off, 26th")
            << false << QDate(2026, 12, 26) << row26 << 0 << QDate(2026, 12, 25) << kWeekendText;
        QTest::addRow("Christmas, on, Monday rule")
            << true << QDate(2026, 12, 24) << row26 << 1 << QDate(2026, 12, 28)
            << QStringLiteral("Fizetés 4 nap múlva:");
        // A plain Saturday with a worked Friday before it keeps the weekend's words.
        QTest::addRow("plain Saturday, on")
            << true << QDate(2026, 12, 5) << 4 << 0 << QDate(2026, 12, 4) << kWeekendText;
        QTest::addRow("plain Sunday, on")
            << true << QDate(2026, 12, 6) << 5 << 0 << QDate(2026, 12, 4) << kWeekendText;
        // A Sunday after a working Saturday is paid on that Saturday.
        QTest::addRow("Sunday after a working Saturday, on")
            << true << QDate(2026, 12, 13) << 12 << 0 << QDate(2026, 12, 12) << kDayOffText;
        QTest::addRow("Sunday after a working Saturday, off")
            << false << QDate(2026, 12, 13) << 12 << 0 << QDate(2026, 12, 11) << kWeekendText;
        QTest::addRow("working Saturday, on")
            << true << QDate(2026, 1, 10) << kRow10 << 0 << QDate(2026, 1, 10) << "Ma van a fizetés.";
        QTest::addRow("working Saturday, off")
            << false << QDate(2026, 1, 10) << kRow10 << 0 << QDate(2026, 1, 9) << kWeekendText;
        // Easter Sunday 2026: Saturday rested, Good Friday a holiday, so Thursday.
        QTest::addRow("Easter Sunday, on")
            << true << QDate(2026, 4, 5) << 4 << 0 << QDate(2026, 4, 2) << kDayOffText;
        QTest::addRow("Easter Sunday, off")
            << false << QDate(2026, 4, 5) << 4 << 0 << QDate(2026, 4, 3) << kWeekendText;
        // Whit Monday 2026 goes back over the weekend to Friday: a Monday payday, not a weekend one.
        QTest::addRow("Whit Monday, on, Saturday")
            << true << QDate(2026, 5, 23) << 24 << 0 << QDate(2026, 5, 22) << kDayOffText;
        QTest::addRow("Whit Monday, off, Saturday")
            << false << QDate(2026, 5, 23) << 24 << 0 << QDate(2026, 5, 25)
            << QStringLiteral("Fizetés 2 nap múlva:");
        QTest::addRow("the Saturday before, on")
            << true << QDate(2026, 5, 23) << 22 << 0 << QDate(2026, 5, 22) << kWeekendText;
        // 2021: Christmas Day a Saturday, 24 December a rest day by decree.
        QTest::addRow("Christmas 2021, on")
            << true << QDate(2021, 12, 25) << 24 << 0 << QDate(2021, 12, 23) << kDayOffText;
        QTest::addRow("Christmas 2021, off")
            << false << QDate(2021, 12, 25) << 24 << 0 << QDate(2021, 12, 24) << kWeekendText;
        QTest::addRow("New Year's Day 2027, on")
            << true << QDate(2027, 1, 1) << 0 << 0 << QDate(2026, 12, 31) << kDayOffText;
    }
    void movedPayday()
    {
        QFETCH(bool, calendar);
        QFETCH(QDate, today);
        QFETCH(int, row);
        QFETCH(int, rule);
        QFETCH(QDate, payday);
        QFETCH(QString, label);
        const WorkCalendar c(calendar, {});
        const WorkingDayTest working = [&c](const QDate& d) { return c.IsWorkingDay(d); };
        const PaydayChoice choice = PaydayOf(today, row, rule, working);
        QCOMPARE(choice.payday, payday);
        const PaydayStrip strip = BuildPaydayStrip(today, choice, working);
        QCOMPARE(strip.label, label);
        QCOMPARE(strip.markerHint, QStringLiteral("Fizetésnap\r\n") +
                                       payday.toString(QStringLiteral("yyyy.MM.dd.")) +
                                       QStringLiteral("\r\n") + WeekdayName(payday));
        if (!calendar) {
            QCOMPARE(PaydayOf(today, row, rule), payday);
            QCOMPARE(BuildPaydayStrip(today, payday).label, label);
        }
    }

    void stripOfTwoDays()
    {
        const PaydayStrip s = BuildPaydayStrip(QDate(2024, 5, 8), QDate(2024, 5, 10));
        QCOMPARE(s.markerHint, QStringLiteral("Fizetésnap\r\n2024.05.10.\r\nPéntek"));
        QCOMPARE(s.markerTag, std::optional<int>(2));
        QVERIFY(s.markerVisible);
        for (int k = 1; k <= 29; ++k)
            QVERIFY(!s.squares[k - 1].visible);
        QCOMPARE(s.squares[29].fill, quint32(0x00808080));
        QCOMPARE(s.squares[29].hint, QStringLiteral("Ez a mai nap.\r\n2024.05.08.\r\nSzerda"));
        QCOMPARE(s.squares[29].tag, 0);
        QCOMPARE(s.squares[30].fill, quint32(0x00FFFFFF));
        QCOMPARE(s.squares[30].hint, QStringLiteral("2024.05.09.\r\nCsütörtök"));
        QCOMPARE(s.squares[30].tag, 1);
    }

    void stripOverAWeekend()
    {
        const PaydayStrip s = BuildPaydayStrip(QDate(2024, 2, 8), QDate(2024, 2, 12));
        QCOMPARE(s.squares[27].fill, quint32(0x00808080)); // Thursday, today
        QCOMPARE(s.squares[28].fill, quint32(0x00FFFFFF)); // Friday
        QCOMPARE(s.squares[29].fill, quint32(0x000000FF)); // Saturday
        QCOMPARE(s.squares[30].fill, quint32(0x000000FF)); // Sunday
        QVERIFY(!s.squares[26].visible);
    }

    void stripOf32Days()
    {
        const PaydayStrip s = BuildPaydayStrip(QDate(2021, 1, 28), QDate(2021, 3, 1));
        for (const DaySquare& sq : s.squares) {
            QVERIFY(sq.visible);
            QVERIFY(sq.fill != 0x00808080);
        }
        QCOMPARE(s.squares[0].tag, 1); // 29 January
        QCOMPARE(s.squares[0].hint, QStringLiteral("2021.01.29.\r\nPéntek"));
    }

    void stripAfterAFridayPayday()
    {
        const PaydayStrip s = BuildPaydayStrip(QDate(2024, 3, 9), QDate(2024, 3, 8));
        QVERIFY(!s.markerVisible);
        QVERIFY(!s.markerTag);
        for (const DaySquare& sq : s.squares)
            QVERIFY(!sq.visible);
    }

    void amounts_data()
    {
        QTest::addColumn<double>("salary");
        QTest::addColumn<double>("progress");
        QTest::addColumn<int>("workdays");
        QTest::addColumn<int>("hours");
        QTest::addColumn<QString>("earned");
        QTest::addColumn<QString>("wage");
        QTest::addRow("the example") << 300000.0 << 0.5 << 22 << 8 << "Eddig:  150 000 Ft."
                                     << "Órabér = 1 705 Ft.";
        QTest::addRow("nothing yet") << 300000.0 << 0.0 << 23 << 9 << "Eddig:   0 Ft."
                                     << "Órabér = 1 449 Ft.";
        QTest::addRow("millions") << 9999999.0 << 1.0 << 20 << 8 << "Eddig: 9 999 999 Ft."
                                  << "Órabér = 62 500 Ft.";
        QTest::addRow("no salary") << 0.0 << 0.7 << 21 << 8 << "Eddig:   0 Ft."
                                   << "Órabér =  0 Ft.";
    }
    void amounts()
    {
        QFETCH(double, salary);
        QFETCH(double, progress);
        QFETCH(int, workdays);
        QFETCH(int, hours);
        QFETCH(QString, earned);
        QFETCH(QString, wage);
        QCOMPARE(EarnedText(salary, progress), earned);
        QCOMPARE(HourlyWageText(salary, workdays, hours * 3600), wage);
    }

    void pageShowsThePaydayStrip()
    {
        Window w(QDateTime(QDate(2024, 5, 8), QTime(9, 0)));
        TForm_Main& f = *w.form;
        Control<QListWidget>(f, "ListBox_FizetesnapDatuma")->setCurrentRow(kRow10);
        w.TickAt(QTime(9, 0));
        QCOMPARE(WorkTimeControl<QLabel>(f, "Label_FizetesNNapMulva")->text(),
                 QStringLiteral("Fizetés 2 nap múlva:"));
        QVERIFY(DaySquares(f)[29]->isVisibleTo(WorkTimeControl<QWidget>(f, "TabSheet_Kelvator")));
        QVERIFY(!DaySquares(f)[28]->isVisibleTo(WorkTimeControl<QWidget>(f, "TabSheet_Kelvator")));
        QCOMPARE(DaySquares(f)[29]->toolTip(), QStringLiteral("Ez a mai nap.\n2024.05.08.\nSzerda"));
        QCOMPARE(WorkTimeControl<TShape>(f, "Shape_Fizetesnap")->toolTip(),
                 QStringLiteral("Fizetésnap\n2024.05.10.\nPéntek"));

        // A left click on a square or the marker moves the calendar; a right click does not.
        QTest::mouseClick(WorkTimeControl<TShape>(f, "Shape_Fizetesnap"), Qt::RightButton);
        QCOMPARE(WorkTimeControl<TMonthCalendar>(f, "MonthCalendar1")->selectedDate(), QDate(2024, 5, 8));
        QTest::mousePress(WorkTimeControl<TShape>(f, "Shape_Fizetesnap"), Qt::LeftButton);
        QCOMPARE(WorkTimeControl<TMonthCalendar>(f, "MonthCalendar1")->selectedDate(), QDate(2024, 5, 10));
        QTest::mousePress(DaySquares(f)[30], Qt::LeftButton);
        QCOMPARE(WorkTimeControl<TMonthCalendar>(f, "MonthCalendar1")->selectedDate(), QDate(2024, 5, 9));
        w.TickAt(QTime(9, 0, 1));
        QCOMPARE(WorkTimeControl<QLabel>(f, "Label_MikorVolt")->text(), QStringLiteral("- 1 nap"));

        // The next day the strip shrinks; on payday it is gone.
        w.TickAt(QDateTime(QDate(2024, 5, 10), QTime(0, 0, 0)));
        QCOMPARE(WorkTimeControl<QLabel>(f, "Label_FizetesNNapMulva")->text(),
                 QStringLiteral("Ma van a fizetés."));
        for (TShape* sq : DaySquares(f))
            QVERIFY(!sq->isVisibleTo(WorkTimeControl<QWidget>(f, "TabSheet_Kelvator")));
        QVERIFY(WorkTimeControl<TShape>(f, "Shape_Fizetesnap")
                    ->isVisibleTo(WorkTimeControl<QWidget>(f, "TabSheet_Kelvator")));
        QCOMPARE(WorkTimeControl<TShape>(f, "Shape_Fizetesnap")->tag(), 0);
    }

    void pageNamesTheRealReasonAndDay()
    {
        Window w(QDateTime(QDate(2026, 12, 21), QTime(9, 0)));
        TickCalendar(w);
        TForm_Main& f = *w.form;
        Control<QListWidget>(f, "ListBox_FizetesnapDatuma")->setCurrentRow(25);
        Control<TRadioGroup>(f, "RadioGroup_HetvegiFizetes")->setItemIndex(0);
        w.TickAt(QTime(9, 0));
        QCOMPARE(WorkTimeControl<QLabel>(f, "Label_FizetesNNapMulva")->text(),
                 QStringLiteral("Fizetés 2 nap múlva:"));
        QCOMPARE(WorkTimeControl<TShape>(f, "Shape_Fizetesnap")->toolTip(),
                 QStringLiteral("Fizetésnap\n2026.12.23.\nSzerda"));
        for (int day : {24, 25, 26}) {
            w.TickAt(QDateTime(QDate(2026, 12, day), QTime(9, 0)));
            QCOMPARE(WorkTimeControl<QLabel>(f, "Label_FizetesNNapMulva")->text(), kDayOffText);
            QVERIFY(!WorkTimeControl<TShape>(f, "Shape_Fizetesnap")
                         ->isVisibleTo(WorkTimeControl<QWidget>(f, "TabSheet_Kelvator")));
        }
    }

    void anotherRowToTheSameDayChangesTheReason()
    {
        // On Saturday 23 May 2026 the 23rd and Whit Monday the 25th are both paid on Friday the 22nd.
        Window w(QDateTime(QDate(2026, 5, 23), QTime(9, 0)));
        TickCalendar(w);
        TForm_Main& f = *w.form;
        Control<TRadioGroup>(f, "RadioGroup_HetvegiFizetes")->setItemIndex(0);
        Control<QListWidget>(f, "ListBox_FizetesnapDatuma")->setCurrentRow(22);
        w.TickAt(QTime(9, 0));
        QCOMPARE(WorkTimeControl<QLabel>(f, "Label_FizetesNNapMulva")->text(), kWeekendText);
        Control<QListWidget>(f, "ListBox_FizetesnapDatuma")->setCurrentRow(24);
        w.TickAt(QTime(9, 0, 1));
        QCOMPARE(WorkTimeControl<QLabel>(f, "Label_FizetesNNapMulva")->text(), kDayOffText);
    }

    void movedTextIsReadInFull_data()
    {
        QTest::addColumn<bool>("calendar");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("alone");
        QTest::addRow("weekend") << false << QDate(2024, 3, 9) << kRow10 << kWeekendText << true;
        QTest::addRow("day off") << true << QDate(2026, 12, 24) << 25 << kDayOffText << true;
        QTest::addRow("days to go") << true << QDate(2026, 12, 21) << 25 << "Fizetés 2 nap múlva:" << false;
        QTest::addRow("payday") << false << QDate(2024, 3, 8) << kRow10 << "Ma van a fizetés." << false;
    }
    void movedTextIsReadInFull()
    {
        QFETCH(bool, calendar);
        QFETCH(QDate, today);
        QFETCH(int, row);
        QFETCH(QString, label);
        QFETCH(bool, alone);
        Window w(QDateTime(today, QTime(9, 0)));
        if (calendar)
            TickCalendar(w);
        TForm_Main& f = *w.form;
        Control<QListWidget>(f, "ListBox_FizetesnapDatuma")->setCurrentRow(row);
        Control<TRadioGroup>(f, "RadioGroup_HetvegiFizetes")->setItemIndex(0);
        f.show();
        w.TickAt(QTime(9, 0));
        QLabel* shown = WorkTimeControl<QLabel>(f, "Label_FizetesNNapMulva");
        QCOMPARE(shown->text(), label);
        QVERIFY(shown->isVisible());
        QVERIFY(QFontMetrics(shown->font()).horizontalAdvance(label) <= shown->contentsRect().width());
        QVERIFY(f.rect().contains(QRect(shown->mapTo(&f, QPoint(0, 0)), shown->size())));
        // Nothing is drawn over the text.
        for (TShape* sq : DaySquares(f))
            QVERIFY(!sq->isVisible() || !sq->geometry().intersects(shown->geometry()));
        QVERIFY(!WorkTimeControl<TShape>(f, "Shape_Fizetesnap")->isVisible() ||
                !WorkTimeControl<TShape>(f, "Shape_Fizetesnap")->geometry().intersects(shown->geometry()));
        // Beside the squares the label keeps its own width.
        QCOMPARE(shown->width() == 118, !alone);

        if (alone) {
            // The next month's payday brings the squares and the narrow label back.
            w.TickAt(QDateTime(today.addDays(3), QTime(9, 0)));
            QVERIFY(WorkTimeControl<TShape>(f, "Shape_Fizetesnap")->isVisible());
            QCOMPARE(shown->width(), 118);
        }
    }

    void noPaydayRowFallsBackToTheDefault()
    {
        Window w(QDateTime(QDate(2024, 5, 1), QTime(9, 0)));
        Control<QListWidget>(*w.form, "ListBox_FizetesnapDatuma")->setCurrentRow(-1);
        w.TickAt(QTime(9, 0));
        QVERIFY(w.fake.errors.isEmpty());
        QCOMPARE(WorkTimeControl<QLabel>(*w.form, "Label_FizetesNNapMulva")->text(),
                 QStringLiteral("Fizetés 1 nap múlva:"));
    }

    void amountsFollowTheToggle()
    {
        Window w(QDateTime(QDate(2016, 8, 1), QTime(11, 30)));
        TForm_Main& f = *w.form;
        Field(f, "Edit_HaviFizetes")->setText(QStringLiteral("300000"));
        w.TickAt(QTime(11, 30));
        QVERIFY(!WorkTimeControl<QLabel>(f, "Label_KeresettPenz")
                     ->isVisibleTo(WorkTimeControl<QGroupBox>(f, "GroupBox4")));
        WorkTimeControl<QAbstractButton>(f, "SpeedButton_FizetesKijelzes")->click();
        QVERIFY(WorkTimeControl<QLabel>(f, "Label_KeresettPenz")
                    ->isVisibleTo(WorkTimeControl<QGroupBox>(f, "GroupBox4")));
        QVERIFY(WorkTimeControl<QLabel>(f, "Label_Oraber")
                    ->isVisibleTo(WorkTimeControl<QGroupBox>(f, "GroupBox4")));
        // 4.5 hours of 23 × 9: 300000 × 0.0217... = 6522
        QCOMPARE(WorkTimeControl<QLabel>(f, "Label_KeresettPenz")->text(),
                 QStringLiteral("Eddig:  6 522 Ft."));
        QCOMPARE(WorkTimeControl<QLabel>(f, "Label_Oraber")->text(), QStringLiteral("Órabér = 1 449 Ft."));
        WorkTimeControl<QAbstractButton>(f, "SpeedButton_FizetesKijelzes")->click();
        QVERIFY(!WorkTimeControl<QLabel>(f, "Label_KeresettPenz")
                     ->isVisibleTo(WorkTimeControl<QGroupBox>(f, "GroupBox4")));
    }
};

QTEST_MAIN(TstPayday)
#include "tst_payday.moc"
