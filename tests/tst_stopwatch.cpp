#include "window_fixture.h"

#include "clocks/analog_clock.h"
#include "settings/inifile.h"
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
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.PageControl_Main->setCurrentWidget(f.TabSheet_Stopper);
        QVERIFY(f.Button_StopperStart->isEnabled());
        QCOMPARE(QApplication::focusWidget(), f.Button_StopperStart);
        QCOMPARE(f.Label_StopperIdo->text(), QStringLiteral("0"));

        f.Button_StopperStart->click();
        QCOMPARE(Lines(f.ListBox_Stopper), QStringList{QStringLiteral("Start: Du. 1:05:09")});
        QVERIFY(!f.Button_StopperStart->isEnabled());
        QVERIFY(f.Button_StopperReszido->isEnabled());
        for (int lap = 1; lap <= 6; ++lap) {
            w.TickAt(QTime(13, 5, 9).addSecs(83 * lap));
            f.Button_StopperReszido->click();
        }
        QCOMPARE(f.ListBox_Stopper->item(1)->text(), QStringLiteral("R1: 0:01:23"));
        QCOMPARE(f.ListBox_Stopper->item(6)->text(), QStringLiteral("R6: 0:08:18"));
        QVERIFY(!f.Button_StopperReszido->isEnabled());
        QCOMPARE(QApplication::focusWidget(), f.Button_StopperStop);

        w.TickAt(QTime(14, 5, 10));
        QCOMPARE(f.Label_StopperIdo->text(), QStringLiteral("1:00:01"));
        f.Button_StopperStop->click();
        QCOMPARE(f.ListBox_Stopper->item(7)->text(), QStringLiteral("Stop: Du. 2:05:10"));
        QCOMPARE(QApplication::focusWidget(), f.Button_StopperStart);
        w.TickAt(QTime(15, 0, 0));
        QCOMPARE(f.Label_StopperIdo->text(), QStringLiteral("1:00:01")); // stopped time stays

        f.Button_StopperStart->click(); // a new run clears the list
        QCOMPARE(f.ListBox_Stopper->count(), 1);
        QCOMPARE(f.iStopperReszido, 0);
    }

    void lapsUseTheLatestRefresh()
    {
        Window w(QDateTime(QDate(2024, 5, 8), QTime(10, 0)));
        TForm_Main& f = *w.form;
        f.PageControl_Main->setCurrentWidget(f.TabSheet_Stopper);
        f.Button_StopperStart->click();
        w.TickAt(QDateTime(QDate(2024, 5, 8), QTime(10, 0, 5, 800)));
        w.fake.now = QDateTime(QDate(2024, 5, 8), QTime(10, 0, 6, 100)); // no tick since
        f.Button_StopperReszido->click();
        QCOMPARE(f.ListBox_Stopper->item(1)->text(), QStringLiteral("R1: 0:00:05"));
    }

    void runningStopwatchSurvivesARestartAndStopsItself()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kelvator.ini"));
        {
            testing::FakePlatform fake;
            fake.now = QDateTime(QDate(2024, 5, 8), QTime(8, 0));
            TForm_Main f(fake.Make(path));
            f.CheckBox_12OrasKijelzes->setChecked(false);
            f.Edit_Stopper->setText(QStringLiteral("Sütés"));
            f.PageControl_Main->setCurrentWidget(f.TabSheet_Stopper);
            f.Button_StopperStart->click();
        } // the window saves as it goes
        testing::FakePlatform fake;
        fake.now = QDateTime(QDate(2024, 5, 8), QTime(21, 0));
        TForm_Main f(fake.Make(path));
        f.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        QCOMPARE(f.iStopperAllapot, int(kStopwatchRunning));
        QCOMPARE(f.Edit_Stopper->text(), QStringLiteral("Sütés"));
        QCOMPARE(Lines(f.ListBox_Stopper), QStringList{QStringLiteral("Start: 8:00:00")});
        QCOMPARE(f.PageControl_Main->currentWidget(), f.TabSheet_Stopper); // the tab was kept too
        f.Timer1Timer();
        QCOMPARE(f.iStopperAllapot, int(kStopwatchStopped));
        QCOMPARE(f.ListBox_Stopper->item(1)->text(), QStringLiteral("Stop: 20:00:00"));
        f.Timer1Timer();
        QCOMPARE(f.Label_StopperIdo->text(), QStringLiteral("12:00:00"));
        QVERIFY(f.Button_StopperStart->isEnabled());
    }

    void clockSetBackShowsZero()
    {
        Window w(QDateTime(QDate(2024, 5, 8), QTime(10, 0)));
        TForm_Main& f = *w.form;
        f.PageControl_Main->setCurrentWidget(f.TabSheet_Stopper);
        f.Button_StopperStart->click();
        w.TickAt(QTime(9, 59));
        QCOMPARE(f.Label_StopperIdo->text(), QStringLiteral("0"));
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
