// Desktop notifications while the window is put away. Runs on a private session bus
// (dbus-run-session), where the test itself plays the desktop's notification service.
#include "window_fixture.h"

#include "platform/desktop_notifier.h"

#include <QCheckBox>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace kelvator;
using kelvator::testing::Control;
using kelvator::testing::Field;
using kelvator::testing::TrayOf;
using kelvator::testing::Window;

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
} // namespace

// The notification service of a desktop, as far as the program uses it.
class FakeNotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Shown {
        QString app, summary, body;
        QStringList actions;
    };
    QList<Shown> shown;

public Q_SLOTS:
    uint Notify(const QString& app, uint /*replaces*/, const QString& /*icon*/, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& /*hints*/,
                int /*timeout*/)
    {
        shown.append({app, summary, body, actions});
        return uint(40 + shown.size());
    }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }
};

// The desktop's end of the session bus: a connection of its own with the service on it.
struct Desktop {
    QDBusConnection bus;
    FakeNotificationService service;
    explicit Desktop(const QString& name)
        : bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, name))
    {
    }
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;
    ~Desktop()
    {
        bus.unregisterService(kService);
        bus.unregisterObject(kPath);
    }
    bool Up()
    {
        return bus.isConnected() && bus.registerObject(kPath, &service, QDBusConnection::ExportAllSlots) &&
               bus.registerService(kService);
    }
};

class TstNotify : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }

    // Which events notify, with what text, and only once each while the window is away.
    void oncePerEventWhileHidden_data()
    {
        QTest::addColumn<bool>("hourly");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<QStringList>("expected");
        const QStringList hourTicks{QStringLiteral("13:59:59"), QStringLiteral("14:00:00"),
                                    QStringLiteral("14:00:01"), QStringLiteral("14:00:02"),
                                    QStringLiteral("14:00:03")};
        QTest::addRow("hourly notice")
            << true << false << hourTicks << QStringList{QStringLiteral("Kelvator|14:00")};
        QTest::addRow("window shown") << true << true << hourTicks << QStringList{};
        QTest::addRow("no hourly chime") << false << false << hourTicks << QStringList{};
        QTest::addRow("two hours") << true << false
                                   << QStringList{QStringLiteral("09:00:00"), QStringLiteral("09:00:02"),
                                                  QStringLiteral("10:00:01")}
                                   << QStringList{QStringLiteral("Kelvator|9:00"),
                                                  QStringLiteral("Kelvator|10:00")};
        const QStringList endTicks{QStringLiteral("16:29:59"), QStringLiteral("16:30:00"),
                                   QStringLiteral("16:30:01"), QStringLiteral("16:30:30"),
                                   QStringLiteral("16:30:31")};
        QTest::addRow("work end") << false << false << endTicks
                                  << QStringList{QStringLiteral("Kelvator|Vége a munkaidőnek (16:30)")};
        QTest::addRow("work end, shown") << false << true << endTicks << QStringList{};
        QTest::addRow("work end, late tick")
            << false << false << QStringList{QStringLiteral("16:30:30")}
            << QStringList{QStringLiteral("Kelvator|Vége a munkaidőnek (16:30)")};
        QTest::addRow("after the window")
            << false << false << QStringList{QStringLiteral("16:30:31")} << QStringList{};
    }

    void oncePerEventWhileHidden()
    {
        QFETCH(bool, hourly);
        QFETCH(bool, shown);
        QFETCH(QStringList, ticks);
        QFETCH(QStringList, expected);
        Window w(QDateTime(QDate(2024, 5, 7), QTime(8, 0))); // a Tuesday
        Field(*w.form, "Edit_MIVOra")->setText(QStringLiteral("16"));
        Field(*w.form, "Edit_MIVPerc")->setText(QStringLiteral("30"));
        Control<QCheckBox>(*w.form, "CheckBox_BeallitasOrankentiHangjelzes")->setChecked(hourly);
        if (shown) {
            w.form->show();
            QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        }
        for (const QString& t : ticks)
            w.TickAt(QTime::fromString(t, QStringLiteral("HH:mm:ss")));
        QCOMPARE(w.fake.notifier->shown, expected);
    }

    void minimisedWithoutTrayNotifies()
    {
        Window w(QDateTime(QDate(2024, 5, 7), QTime(8, 0)));
        w.fake.tray->available = false;
        Control<QCheckBox>(*w.form, "CheckBox_BeallitasOrankentiHangjelzes")->setChecked(true);
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        TrayOf(*w.form).SendToTray(); // no notification area: minimised
        w.TickAt(QTime(11, 0, 0));
        QCOMPARE(w.fake.notifier->shown, QStringList{QStringLiteral("Kelvator|11:00")});
    }

    // Through a notification service on the session bus, and back by its action.
    void serviceShowsAndActionRestores()
    {
        QDBusConnection client = QDBusConnection::sessionBus();
        QVERIFY2(client.isConnected(), "no session bus: run under dbus-run-session");
        Desktop desktop(QStringLiteral("desktop"));
        QVERIFY(desktop.Up());

        QTemporaryDir dir;
        testing::FakePlatform fake;
        fake.now = QDateTime(QDate(2024, 5, 7), QTime(15, 59, 59)); // a Tuesday; work end 16:00
        Platform platform = fake.Make(dir.filePath(QStringLiteral("kelvator.ini")));
        platform.notifier = std::make_shared<DesktopNotifier>(client);
        TForm_Main form(std::move(platform));
        form.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        form.findChild<QTimer*>(QStringLiteral("Timer_AktualisNapVillogtatas"))->stop();
        Control<QCheckBox>(form, "CheckBox_BeallitasOrankentiHangjelzes")->setChecked(true);
        Control<QCheckBox>(form, "CheckBox_IconAzOraMelle")->setChecked(true);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.close(); // to the tray
        QVERIFY(form.isHidden());

        for (const QTime& t : {QTime(15, 59, 59), QTime(16, 0, 0), QTime(16, 0, 1), QTime(16, 0, 2)}) {
            fake.now = QDateTime(fake.now.date(), t);
            form.Timer1Timer();
        }
        QTRY_COMPARE(desktop.service.shown.size(), 1);
        QCOMPARE(desktop.service.shown[0].app, QStringLiteral("Kelvator"));
        QCOMPARE(desktop.service.shown[0].summary, QStringLiteral("Kelvator"));
        QCOMPARE(desktop.service.shown[0].body, QStringLiteral("16:00"));
        QVERIFY(desktop.service.shown[0].actions.size() == 2 &&
                desktop.service.shown[0].actions[0] == QStringLiteral("default"));

        form.findChild<QPushButton*>(QStringLiteral("Button_FigyelemAllapotNyugtazasa"))->click();
        fake.now = QDateTime(fake.now.date(), QTime(16, 0, 3));
        form.Timer1Timer(); // work end (16:00) reached on the main page
        QTRY_COMPARE(desktop.service.shown.size(), 2);
        QCOMPARE(desktop.service.shown[1].body, QStringLiteral("Vége a munkaidőnek (16:00)"));

        // Another program's notification: its action is not ours.
        QDBusMessage foreign = QDBusMessage::createSignal(kPath, kService, QStringLiteral("ActionInvoked"));
        foreign << uint(7) << QStringLiteral("default");
        QVERIFY(desktop.bus.send(foreign));
        QTest::qWait(300);
        QVERIFY(form.isHidden());

        QDBusMessage action = QDBusMessage::createSignal(kPath, kService, QStringLiteral("ActionInvoked"));
        action << uint(42) << QStringLiteral("default");
        QVERIFY(desktop.bus.send(action));
        QTRY_VERIFY(form.isVisible());
        QVERIFY(!TrayOf(form).InTray());
        QVERIFY(!fake.tray->shown);
    }

    // The reminder before the end reaches the session bus's service, and its action brings the
    // window from the tray.
    void reminderThroughTheServiceBringsTheWindow()
    {
        QDBusConnection client = QDBusConnection::sessionBus();
        QVERIFY2(client.isConnected(), "no session bus: run under dbus-run-session");
        Desktop desktop(QStringLiteral("desktop-reminder"));
        QVERIFY(desktop.Up());

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kelvator.ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "[Talca]\r\nCheckBox_FigyelmeztetesVegeElott=1\r\nEdit_FigyelmeztetesVegeElottPerc=15\r\n");
        file.close();
        testing::FakePlatform fake;
        fake.now = QDateTime(QDate(2024, 5, 7), QTime(15, 44, 59)); // a Tuesday; work end 16:00
        Platform platform = fake.Make(path);
        platform.notifier = std::make_shared<DesktopNotifier>(client);
        TForm_Main form(std::move(platform));
        form.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        form.findChild<QTimer*>(QStringLiteral("Timer_AktualisNapVillogtatas"))->stop();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TrayOf(form).SendToTray();
        QVERIFY(form.isHidden());

        for (const QTime& t : {QTime(15, 44, 59), QTime(15, 45, 0), QTime(15, 45, 1)}) {
            fake.now = QDateTime(fake.now.date(), t);
            form.Timer1Timer();
        }
        QTRY_COMPARE(desktop.service.shown.size(), 1); // notification 41
        QCOMPARE(desktop.service.shown[0].body, QStringLiteral("15 perc múlva vége a munkaidőnek (16:00)"));

        QDBusMessage action = QDBusMessage::createSignal(kPath, kService, QStringLiteral("ActionInvoked"));
        action << uint(41) << QStringLiteral("default");
        QVERIFY(desktop.bus.send(action));
        QTRY_VERIFY(form.isVisible());
        QVERIFY(!TrayOf(form).InTray());
    }

    void withoutServiceNothingHappens()
    {
        DesktopNotifier notifier(QDBusConnection::sessionBus());
        bool activated = false;
        notifier.onActivate = [&] { activated = true; };
        notifier.Notify(QStringLiteral("Kelvator"), QStringLiteral("12:00")); // nobody owns the name
        QTest::qWait(300);
        QVERIFY(!activated);
        DesktopNotifier offline(QDBusConnection(QStringLiteral("never connected")));
        offline.Notify(QStringLiteral("Kelvator"), QStringLiteral("12:00"));
    }
};

QTEST_MAIN(TstNotify)
#include "tst_notify.moc"
