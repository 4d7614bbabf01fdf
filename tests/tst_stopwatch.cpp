#include "window_fixture.h"

#include "clocks/analog_clock.h"
#include "settings/inifile.h"
#include "settings/settings_model.h"
#include "stopwatch/stopwatch_page.h"
#include "stopwatch/stopwatch_state.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace kelvator;
using kelvator::testing::Control;
using kelvator::testing::MainTabs;
using kelvator::testing::Window;

namespace {
QStringList Lines(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

double Seconds(int s)
{
    return s / 86400.0;
}

template <typename T> T* Child(const QWidget* parent, const char* name)
{
    auto* child = parent->findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qFatal("no %s", name);
    return child;
}

// The stopwatch page's controls, found as a screen reader finds them.
struct Controls {
    explicit Controls(const QWidget& window)
        : page(Child<StopwatchPage>(&window, "TabSheet_Stopper"))
        , name(Child<QLineEdit>(page, "Edit_Stopper"))
        , start(Child<QPushButton>(page, "Button_StopperStart"))
        , lap(Child<QPushButton>(page, "Button_StopperReszido"))
        , stop(Child<QPushButton>(page, "Button_StopperStop"))
        , elapsed(Child<QLabel>(page, "Label_StopperIdo"))
        , list(Child<QListWidget>(page, "ListBox_Stopper"))
    {
    }
    StopwatchPage* page;
    QLineEdit* name;
    QPushButton* start;
    QPushButton* lap;
    QPushButton* stop;
    QLabel* elapsed;
    QListWidget* list;
};

Settings Stored(const StopwatchPage* page)
{
    Settings s;
    page->CollectSettings(s);
    return s;
}
} // namespace

class TstStopwatch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        Q_INIT_RESOURCE(kelvator);
        QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    }

    void elapsedTexts_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("text");
        QTest::addRow("none") << 0 << "0";
        QTest::addRow("59 s") << 59 << "59";
        QTest::addRow("60 s") << 60 << "1:00";
        QTest::addRow("5:09") << 309 << "5:09";
        QTest::addRow("an hour") << 3600 << "1:00:00";
        QTest::addRow("1:05:09") << 3909 << "1:05:09";
        QTest::addRow("twelve hours") << 43200 << "12:00:00";
        QTest::addRow("clock set back") << -30 << "0";
    }
    void elapsedTexts()
    {
        QFETCH(int, seconds);
        QFETCH(QString, text);
        QCOMPARE(ElapsedText(ElapsedOf(Seconds(seconds))), text);
    }

    void elapsedDropsMilliseconds()
    {
        QCOMPARE(ElapsedOf(Seconds(83) + 0.9 / 86400).s, 23);
        QCOMPARE(ElapsedOf(Seconds(83) - 1e-12).s, 23); // a hair below is still 83 s
    }

    void timeStamps_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<bool>("twelve");
        QTest::addColumn<QString>("text");
        QTest::addRow("morning") << QTime(8, 5, 9) << true << "8:05:09";
        QTest::addRow("half past midnight") << QTime(0, 30) << true << "0:30:00";
        QTest::addRow("half past noon") << QTime(12, 30) << true << "Du. 12:30:00";
        QTest::addRow("afternoon") << QTime(13, 5, 9) << true << "Du. 1:05:09";
        QTest::addRow("24-hour") << QTime(13, 5, 9) << false << "13:05:09";
    }
    void timeStamps()
    {
        QFETCH(QTime, time);
        QFETCH(bool, twelve);
        QFETCH(QString, text);
        QCOMPARE(TimeStamp(time, twelve), text);
    }

    void startLapsAndStop()
    {
        Window w(QDateTime(QDate(2024, 5, 8), QTime(13, 5, 9)));
        TForm_Main& f = *w.form;
        const Controls c(f);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        MainTabs(f)->setCurrentWidget(c.page);
        QVERIFY(c.start->isEnabled());
        QCOMPARE(QApplication::focusWidget(), c.start);
        QCOMPARE(c.elapsed->text(), QStringLiteral("0"));

        c.start->click();
        QCOMPARE(Lines(c.list), QStringList{QStringLiteral("Start: Du. 1:05:09")});
        QVERIFY(!c.start->isEnabled());
        QVERIFY(c.lap->isEnabled());
        for (int lap = 1; lap <= 6; ++lap) {
            w.TickAt(QTime(13, 5, 9).addSecs(83 * lap));
            c.lap->click();
        }
        QCOMPARE(c.list->item(1)->text(), QStringLiteral("R1: 0:01:23"));
        QCOMPARE(c.list->item(6)->text(), QStringLiteral("R6: 0:08:18"));
        QVERIFY(!c.lap->isEnabled());
        QCOMPARE(QApplication::focusWidget(), c.stop);

        w.TickAt(QTime(14, 5, 10));
        QCOMPARE(c.elapsed->text(), QStringLiteral("1:00:01"));
        c.stop->click();
        QCOMPARE(c.list->item(7)->text(), QStringLiteral("Stop: Du. 2:05:10"));
        QCOMPARE(QApplication::focusWidget(), c.start);
        w.TickAt(QTime(15, 0, 0));
        QCOMPARE(c.elapsed->text(), QStringLiteral("1:00:01")); // stopped time stays

        c.start->click(); // a new run clears the list
        QCOMPARE(c.list->count(), 1);
        QCOMPARE(Stored(c.page).stopwatchLap, 0);
    }

    void lapsUseTheLatestRefresh()
    {
        Window w(QDateTime(QDate(2024, 5, 8), QTime(10, 0)));
        TForm_Main& f = *w.form;
        const Controls c(f);
        MainTabs(f)->setCurrentWidget(c.page);
        c.start->click();
        w.TickAt(QDateTime(QDate(2024, 5, 8), QTime(10, 0, 5, 800)));
        w.fake.now = QDateTime(QDate(2024, 5, 8), QTime(10, 0, 6, 100)); // no tick since
        c.lap->click();
        QCOMPARE(c.list->item(1)->text(), QStringLiteral("R1: 0:00:05"));
    }

    void runningStopwatchSurvivesARestartAndStopsItself()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kelvator.ini"));
        {
            testing::FakePlatform fake;
            fake.now = QDateTime(QDate(2024, 5, 8), QTime(8, 0));
            TForm_Main f(fake.Make(path));
            const Controls c(f);
            Control<QCheckBox>(f, "CheckBox_12OrasKijelzes")->setChecked(false);
            c.name->setText(QStringLiteral("Sütés"));
            MainTabs(f)->setCurrentWidget(c.page);
            c.start->click();
        } // the window saves as it goes
        testing::FakePlatform fake;
        fake.now = QDateTime(QDate(2024, 5, 8), QTime(21, 0));
        TForm_Main f(fake.Make(path));
        const Controls c(f);
        f.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        QCOMPARE(Stored(c.page).stopwatchState, int(kStopwatchRunning));
        QCOMPARE(c.name->text(), QStringLiteral("Sütés"));
        QCOMPARE(Lines(c.list), QStringList{QStringLiteral("Start: 8:00:00")});
        QCOMPARE(MainTabs(f)->currentWidget(), c.page); // the tab was kept too
        f.Timer1Timer();
        QCOMPARE(Stored(c.page).stopwatchState, int(kStopwatchStopped));
        QCOMPARE(c.list->item(1)->text(), QStringLiteral("Stop: 20:00:00"));
        f.Timer1Timer();
        QCOMPARE(c.elapsed->text(), QStringLiteral("12:00:00"));
        QVERIFY(c.start->isEnabled());
    }

    void clockSetBackShowsZero()
    {
        Window w(QDateTime(QDate(2024, 5, 8), QTime(10, 0)));
        TForm_Main& f = *w.form;
        const Controls c(f);
        MainTabs(f)->setCurrentWidget(c.page);
        c.start->click();
        w.TickAt(QTime(9, 59));
        QCOMPARE(c.elapsed->text(), QStringLiteral("0"));
    }

    // The page alone, as a settings file leaves it, on a clock the test sets.
    void automaticStopLineFollowsTheClockOption_data()
    {
        QTest::addColumn<bool>("twelve");
        QTest::addColumn<QString>("line");
        QTest::addRow("12-hour") << true << "Stop: Du. 2:00:00";
        QTest::addRow("24-hour") << false << "Stop: 14:00:00";
    }
    void automaticStopLineFollowsTheClockOption()
    {
        QFETCH(bool, twelve);
        QFETCH(QString, line);
        const QDate day(2024, 5, 8);
        StopwatchPage page({.now = [] { return QDateTime(); },
                            .twelveHourClock = [twelve] { return twelve; },
                            .outOfSight = [] { return false; }});
        Settings s;
        s.stopwatchState = kStopwatchRunning;
        s.stopwatchStart = ToDateTime(QDateTime(day, QTime(2, 0)));
        s.laps = {QStringLiteral("Start: 2:00:00")};
        page.ShowSettings(s);
        QVERIFY(page.TickPhaseMs().has_value());
        page.Refresh(QDateTime(day, QTime(14, 0, 0, 1)));
        const Settings after = Stored(&page);
        QCOMPARE(after.stopwatchState, int(kStopwatchStopped));
        QCOMPARE(after.stopwatchStop, s.stopwatchStart + kAutoStopDays);
        QCOMPARE(after.laps, (QStringList{QStringLiteral("Start: 2:00:00"), line}));
        QVERIFY(!page.TickPhaseMs()); // a stopped stopwatch no longer paces the tick
    }

    void storedStateComesBackWhole()
    {
        StopwatchPage page({.now = [] { return QDateTime(); },
                            .twelveHourClock = [] { return true; },
                            .outOfSight = [] { return false; }});
        Settings s;
        s.stopwatchName = QStringLiteral("Tészta");
        s.stopwatchStart = ToDateTime(QDateTime(QDate(2024, 5, 8), QTime(9, 0, 1, 250)));
        s.stopwatchStop = ToDateTime(QDateTime(QDate(2024, 5, 8), QTime(9, 30)));
        s.stopwatchState = kStopwatchRunning;
        s.stopwatchLap = 2;
        s.laps = {QStringLiteral("Start: 9:00:01"), QStringLiteral("R1: 0:01:00"),
                  QStringLiteral("R2: 0:02:00")};
        page.ShowSettings(s);
        const Settings back = Stored(&page);
        QCOMPARE(back.stopwatchName, s.stopwatchName);
        QCOMPARE(back.stopwatchStart, s.stopwatchStart);
        QCOMPARE(back.stopwatchStop, s.stopwatchStop);
        QCOMPARE(back.stopwatchState, s.stopwatchState);
        QCOMPARE(back.stopwatchLap, s.stopwatchLap);
        QCOMPARE(back.laps, s.laps);
        QCOMPARE(page.TickPhaseMs(), std::optional<int>(250)); // the tick turns with the start's second
    }

    // A dial skipped while nobody could see the window is drawn, up to date, at its next paint.
    void dialSkippedOutOfSightIsDrawnWhenPainted()
    {
        const QImage artwork =
            QImage(QStringLiteral(":/kelvator/dial.bmp")).convertToFormat(QImage::Format_RGB32);
        const QDate day(2024, 5, 8);
        bool hidden = false;
        StopwatchPage page({.now = [] { return QDateTime(); },
                            .twelveHourClock = [] { return true; },
                            .outOfSight = [&hidden] { return hidden; }});
        page.SetDialArtwork(artwork);
        Settings s;
        s.stopwatchState = kStopwatchRunning;
        s.stopwatchStart = ToDateTime(QDateTime(day, QTime(10, 0)));
        page.ShowSettings(s);
        page.Refresh(QDateTime(day, QTime(10, 0, 5))); // drawn
        hidden = true;
        page.Refresh(QDateTime(day, QTime(10, 1, 10))); // skipped
        hidden = false;
        auto* dial = Child<QWidget>(&page, "PaintBox_StopperOra");
        const QImage shown = dial->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QImage want;
        DrawStopwatchFace(want, artwork, 0, 1, 10);
        QCOMPARE(shown, want);
    }

    void dialHandsAppearWhenReached_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("minuteHand");
        QTest::addColumn<bool>("hourHand");
        QTest::addRow("55 s") << 55 << false << false;
        QTest::addRow("56 s") << 56 << true << false;
        QTest::addRow("55:00") << 3300 << true << false;
        QTest::addRow("55:01") << 3301 << true << true;
    }
    void dialHandsAppearWhenReached()
    {
        QFETCH(int, seconds);
        QFETCH(bool, minuteHand);
        QFETCH(bool, hourHand);
        const QImage artwork =
            QImage(QStringLiteral(":/kelvator/dial.bmp")).convertToFormat(QImage::Format_RGB32);
        const Elapsed e = ElapsedOf(Seconds(seconds));
        QImage face;
        DrawStopwatchFace(face, artwork, e.h, e.m, e.s);
        // Along each hand, halfway out, where only that hand can be.
        const double beta = (e.m * 6 + e.s * 0.1) * M_PI / 180;
        const double alpha = (e.h * 30 + e.m * 0.5) * M_PI / 180;
        const QPoint minute(qRound(140 + 70 * std::sin(beta)), qRound(142 - 70 * std::cos(beta)));
        const QPoint hour(qRound(140 + 40 * std::sin(alpha)), qRound(142 - 40 * std::cos(alpha)));
        QCOMPARE(qRed(face.pixel(minute)) < 90, minuteHand);
        QCOMPARE(qRed(face.pixel(hour)) < 90, hourHand);
    }

    void dialAtTheLimitPointsToTwelve()
    {
        const QImage artwork =
            QImage(QStringLiteral(":/kelvator/dial.bmp")).convertToFormat(QImage::Format_RGB32);
        const Elapsed e = ElapsedOf(0.5);
        QCOMPARE(e.h, 12);
        QImage face;
        DrawStopwatchFace(face, artwork, e.h, e.m, e.s);
        QCOMPARE(face.pixel(141, 100), qRgb(0, 0, 0)); // the hour hand straight up, beside the second hand
    }
};

QTEST_MAIN(TstStopwatch)
#include "tst_stopwatch.moc"
