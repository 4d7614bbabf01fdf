#include "window_fixture.h"

#include "platform/single_instance.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
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
};

QTEST_MAIN(TstTray)
#include "tst_tray.moc"
