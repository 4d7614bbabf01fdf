#include "window_fixture.h"

#include "platform/single_instance.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>

#include <csignal>

using namespace kelvator;
using kelvator::testing::Action;
using kelvator::testing::Control;
using kelvator::testing::TrayOf;
using kelvator::testing::Window;

namespace {
// A copy of the program in a folder of its own, so its settings file lands there.
struct RunningCopy {
    QTemporaryDir dir;
    QString program;
    QString settings;
    RunningCopy()
    {
        program = dir.filePath(QStringLiteral("kelvator"));
        settings = dir.filePath(QStringLiteral("kelvator.ini"));
        QFile::copy(QStringLiteral(KELVATOR_BINARY), program);
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // Asked to come to the front, the program answers once its window is there.
    bool WaitUntilListening() const
    {
        const SingleInstance probe(settings);
        return QTest::qWaitFor([&] { return probe.AskRunning(1000, 20000) == SingleInstance::Answer::Shown; },
                               20000);
    }
};
// A settings file that asks for a start in the tray.
QString StartInTraySettings(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("kelvator.ini"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write("[Beallitasok]\r\nCheckBox_IconkentIndul=1\r\n");
    return path;
}
} // namespace

class TstTray : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }

    void fromTheTrayMenuTheProgramEnds()
    {
        Window w;
        QSignalSpy closed(w.form.get(), &TForm_Main::closed);
        Control<QCheckBox>(*w.form, "CheckBox_IconAzOraMelle")->setChecked(true);
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        w.form->close(); // the box is ticked: to the tray
        QVERIFY(TrayOf(*w.form).InTray());
        QVERIFY(w.fake.tray->shown);
        QCOMPARE(closed.count(), 0);
        Action(*w.form, "Kilepes")->trigger(); // "Kilépés a programból"
        QVERIFY(!w.fake.tray->shown);
        QCOMPARE(closed.count(), 1);
    }

    // Out of sight the face is not drawn; back on screen it shows the moment it is shown at.
    void faceLeftInTheTrayIsDrawnWhenShownAgain()
    {
        Window w(QDateTime(QDate(2024, 5, 7), QTime(9, 0, 0)));
        Control<QCheckBox>(*w.form, "CheckBox_IconAzOraMelle")->setChecked(true);
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        w.TickAt(QTime(9, 0, 0));
        w.form->close(); // the box is ticked: to the tray
        QVERIFY(TrayOf(*w.form).InTray());
        const QImage before = w.form->clockFace().Image();
        w.TickAt(QTime(9, 0, 7));
        QVERIFY(w.form->clockFace().Image() == before);
        w.fake.tray->onRelease(TrayIcon::Button::Left);
        QTRY_VERIFY(w.form->clockFace().Image() != before);

        Window fresh(QDateTime(QDate(2024, 5, 7), QTime(9, 0, 7)));
        fresh.TickAt(QTime(9, 0, 7));
        fresh.TickAt(QTime(9, 0, 7)); // the face uses the previous tick's work day
        QVERIFY(w.form->clockFace().Image() == fresh.form->clockFace().Image());
    }

    void startsInTheTrayOnce()
    {
        QTemporaryDir dir;
        const QString path = StartInTraySettings(dir);
        testing::FakePlatform fake;
        TForm_Main form(fake.Make(path));
        form.show();
        QTRY_VERIFY(form.isHidden());
        QVERIFY(fake.tray->shown);
        fake.tray->onRelease(TrayIcon::Button::Left);
        QVERIFY(form.isVisible());
        form.hide();
        form.show(); // a later appearance does not send it back
        QTest::qWait(50);
        QVERIFY(form.isVisible());
        QCOMPARE(fake.tray->adds, 1);
    }

    void withoutATrayItStartsMinimised()
    {
        QTemporaryDir dir;
        const QString path = StartInTraySettings(dir);
        testing::FakePlatform fake;
        fake.tray->available = false;
        TForm_Main form(fake.Make(path));
        form.show();
        QTest::qWait(50);
        QVERIFY(!form.isHidden());
        QCOMPARE(fake.tray->adds, 0);
        QVERIFY(TrayOf(form).InTray()); // put away: the close request then passes
    }

    void terminationSavesAndSecondStartHandsOver()
    {
        RunningCopy copy;
        QProcess first;
        first.start(copy.program, {});
        QVERIFY(first.waitForStarted());
        QVERIFY(copy.WaitUntilListening());

        QProcess second;
        QElapsedTimer took;
        took.start();
        second.start(copy.program, {});
        QVERIFY(second.waitForFinished(5000));
        QVERIFY2(took.elapsed() < 500, qPrintable(QStringLiteral("%1 ms").arg(took.elapsed())));
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        QVERIFY(!QFile::exists(copy.settings)); // nothing saved yet

        first.terminate(); // SIGTERM
        QVERIFY(first.waitForFinished(10000));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
        QFile ini(copy.settings);
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(ini.readAll().contains("IniFileUtolsoMentes="));
    }

    void trayCarriesItsMenu()
    {
        Window w;
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        w.form->findChild<QPushButton*>(QStringLiteral("Button_Talcara"))->click();
        QVERIFY(w.fake.tray->shown);
        QCOMPARE(w.fake.tray->menu, Control<QMenu>(*w.form, "PopupMenu1"));
        QCOMPARE(Control<QMenu>(*w.form, "PopupMenu1")->actions(),
                 QList<QAction*>{Action(*w.form, "Kilepes")});
    }

    // Whatever a close request would do (here: minimise, as there is no tray), a signal ends
    // the program and the settings are written.
    void signalEndsAndSavesWithCloseToTray_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addRow("SIGTERM") << int(SIGTERM);
        QTest::addRow("SIGINT") << int(SIGINT);
        QTest::addRow("SIGHUP") << int(SIGHUP);
    }

    void signalEndsAndSavesWithCloseToTray()
    {
        QFETCH(int, signal);
        RunningCopy copy;
        {
            QFile f(copy.settings);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[Beallitasok]\r\nCheckBox_IconAzOraMelle=1\r\n");
        }
        QProcess program;
        program.start(copy.program, {});
        QVERIFY(program.waitForStarted());
        QVERIFY(copy.WaitUntilListening());
        QTest::qWait(300); // the window is up and ticking
        QCOMPARE(::kill(pid_t(program.processId()), signal), 0);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QFile ini(copy.settings);
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray saved = ini.readAll();
        QVERIFY(saved.contains("IniFileUtolsoMentes="));
        QVERIFY(saved.contains("CheckBox_IconAzOraMelle=1"));
    }

    // ---- The day in the tray, as the user chooses it on the Munkarend page ------------------

    void trayUntouchedWhileTheOptionsAreOff()
    {
        Window w(QDateTime(QDate(2024, 5, 8), QTime(12, 35)));
        TrayOf(*w.form).SendToTray();
        for (QTime t(15, 49, 58); t <= QTime(16, 1); t = t.addSecs(1))
            w.TickAt(t);
        QCOMPARE(w.fake.tray->toolTipSets, 0); // the icon keeps its "Kelvator" and its picture
        QCOMPARE(w.fake.tray->iconSets, 0);
        QVERIFY(w.fake.notifier->shown.filter(QStringLiteral("perc múlva")).isEmpty());
        QCOMPARE(Control<QMenu>(*w.form, "PopupMenu1")->actions(),
                 QList<QAction*>{Action(*w.form, "Kilepes")});
    }

    void tipAndIconFollowTheDay()
    {
        Window w(QDateTime(QDate(2024, 5, 8), QTime(12, 35)),
                 "[Talca]\r\nCheckBox_SugoMutatjaANapot=1\r\nCheckBox_IkonMutatjaANapot=1\r\n");
        TrayOf(*w.form).SendToTray();
        w.TickAt(QTime(12, 35, 10));
        QVERIFY2(w.fake.tray->toolTip.startsWith(QStringLiteral("Kelvator\nMunkanap: ")),
                 qPrintable(w.fake.tray->toolTip));
        QVERIFY2(w.fake.tray->toolTip.contains(QStringLiteral(" — vége 16:00 (még 3:25)\n")),
                 qPrintable(w.fake.tray->toolTip));
        QVERIFY(!w.fake.tray->icon.isNull());
        const int iconSets = w.fake.tray->iconSets;
        w.TickAt(QTime(12, 35, 50)); // the same minute: the same picture, not drawn again
        QCOMPARE(w.fake.tray->iconSets, iconSets);
        w.TickAt(QTime(12, 36, 0));
        QCOMPARE(w.fake.tray->iconSets, iconSets + 1);
        w.TickAt(QTime(16, 0, 5));
        QVERIFY2(w.fake.tray->toolTip.startsWith(QStringLiteral("Kelvator\nMunkanap vége: 16:00\n")),
                 qPrintable(w.fake.tray->toolTip));

        // Behind the settings page the tray still follows the day.
        Control<QAction>(*w.form, "Menu_Beallitasok")->trigger();
        w.TickAt(QDateTime(QDate(2024, 5, 11), QTime(10, 0)));
        QVERIFY2(w.fake.tray->toolTip.startsWith(QStringLiteral("Kelvator\nMa nincs munkanap\n")),
                 qPrintable(w.fake.tray->toolTip));
    }

    void reminderBeforeTheEnd_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QTime>("firstTick");
        QTest::addColumn<QStringList>("told");
        const QStringList once{QStringLiteral("Kelvator|10 perc múlva vége a munkaidőnek (16:00)")};
        QTest::addRow("Wednesday, running before") << QDate(2024, 5, 8) << QTime(15, 49, 50) << once;
        QTest::addRow("Saturday") << QDate(2024, 5, 11) << QTime(15, 49, 50) << QStringList();
        QTest::addRow("started after the moment") << QDate(2024, 5, 8) << QTime(15, 55) << QStringList();
    }
    void reminderBeforeTheEnd()
    {
        QFETCH(QDate, day);
        QFETCH(QTime, firstTick);
        QFETCH(QStringList, told);
        Window w(QDateTime(day, firstTick),
                 "[Talca]\r\nCheckBox_FigyelmeztetesVegeElott=1\r\nEdit_FigyelmeztetesVegeElottPerc=10\r\n");
        w.form->show(); // told whether the window is shown or not
        for (QTime t = firstTick; t <= QTime(15, 59); t = t.addMSecs(200))
            w.TickAt(t);
        QCOMPARE(w.fake.notifier->shown, told);
    }

    void stopwatchFromTheTrayMenu()
    {
        Window w(QDateTime(QDate(2024, 5, 8), QTime(10, 0)), "[Talca]\r\nCheckBox_BovitettTalcaMenu=1\r\n");
        TrayOf(*w.form).SendToTray();
        auto* menu = Control<QMenu>(*w.form, "PopupMenu1");
        QStringList texts;
        for (QAction* a : menu->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(texts, (QStringList{QStringLiteral("Megnyitás"), QStringLiteral("Stopper indítása"),
                                     QStringLiteral("-"), QStringLiteral("Kilépés a programból")}));
        QCOMPARE(w.fake.tray->menu, menu);

        Action(*w.form, "Menu_TalcaStopper")->trigger();
        QVERIFY(!Control<QPushButton>(*w.form, "Button_StopperStart")->isEnabled());
        QVERIFY(Control<QPushButton>(*w.form, "Button_StopperStop")->isEnabled());
        QCOMPARE(Action(*w.form, "Menu_TalcaStopper")->text(), QStringLiteral("Stopper megállítása"));
        w.TickAt(QTime(10, 5));
        Action(*w.form, "Menu_TalcaStopper")->trigger();
        QVERIFY(Control<QPushButton>(*w.form, "Button_StopperStart")->isEnabled());
        QCOMPARE(Action(*w.form, "Menu_TalcaStopper")->text(), QStringLiteral("Stopper indítása"));
        QVERIFY(TrayOf(*w.form).InTray()); // the window stays where it was

        // Kept as the page's own buttons keep it: in the file at the end.
        w.form.reset();
        QFile file(w.SettingsPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        QVERIFY2(saved.contains("[Stopper]"), saved.constData());
        QVERIFY(saved.contains("[Talca]\r\nCheckBox_BovitettTalcaMenu=1\r\n"));

        Window again(QDateTime(QDate(2024, 5, 8), QTime(11, 0)), saved);
        QCOMPARE(Control<QMenu>(*again.form, "PopupMenu1")->actions().size(), 4);
        auto* laps = Control<QListWidget>(*again.form, "ListBox_Stopper");
        QCOMPARE(laps->count(), 2);
        QVERIFY(laps->item(0)->text().startsWith(QStringLiteral("Start: ")));
        QVERIFY(laps->item(1)->text().startsWith(QStringLiteral("Stop: ")));
    }

    void optionsSetOnTheMunkarendPage()
    {
        Window w(QDateTime(QDate(2024, 5, 8), QTime(12, 35)));
        TrayOf(*w.form).SendToTray();
        w.form->Button_MunkarendClick();
        Control<QCheckBox>(*w.form, "CheckBox_IkonMutatjaANapot")->setChecked(true);
        Control<QPushButton>(*w.form, "Button_MunkarendOK")->click();
        w.TickAt(QTime(12, 36));
        QVERIFY(!w.fake.tray->icon.isNull());
        QFile file(w.SettingsPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().endsWith("[Talca]\r\nCheckBox_IkonMutatjaANapot=1\r\n"));

        // Switched off again: the program's own icon, at once.
        w.form->Button_MunkarendClick();
        Control<QCheckBox>(*w.form, "CheckBox_IkonMutatjaANapot")->setChecked(false);
        Control<QPushButton>(*w.form, "Button_MunkarendOK")->click();
        QVERIFY(w.fake.tray->icon.isNull());
    }

    void malformedOptionIsToldAndDefaults()
    {
        Window w(QDateTime(QDate(2024, 5, 8), QTime(12, 35)),
                 "[Talca]\r\nEdit_FigyelmeztetesVegeElottPerc=500\r\n");
        QVERIFY2(w.form->LoadNotice().contains(QStringLiteral("Edit_FigyelmeztetesVegeElottPerc")),
                 qPrintable(w.form->LoadNotice()));
        w.form->Button_MunkarendClick();
        QCOMPARE(Control<QLineEdit>(*w.form, "Edit_FigyelmeztetesVegeElottPerc")->text(),
                 QStringLiteral("10"));
    }
};

QTEST_MAIN(TstTray)
#include "tst_tray.moc"
