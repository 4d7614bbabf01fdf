// The real program in the tray of a real panel: its own X server, xfce4-panel with the
// distribution's default panels (whose notification area hosts StatusNotifierItems), and the
// program started in the tray. What the panel learns of the icon is read over D-Bus, as the
// panel reads it. Runs on a session bus of its own (dbus-run-session).
#include "platform/real_platform.h"
#include "x_server.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QProcess>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <unistd.h>

#include <cstdio>
#include <memory>

using kelvator::testing::EndProcess;
using kelvator::testing::XServer;

namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kItem = QStringLiteral("org.kde.StatusNotifierItem");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// A Wednesday, a working day.
const QDate kDay(2024, 10, 16);

QDBusMessage Call(const QString& service, const QString& path, const QString& interface,
                  const QString& method, const QVariantList& arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    call.setArguments(arguments);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
}

// A property's value, or an invalid variant when it cannot be read.
QVariant Property(const QString& service, const QString& path, const QString& interface, const QString& name)
{
    const QDBusMessage reply = Call(service, path, kProperties, QStringLiteral("Get"), {interface, name});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

// xfce4-panel in a home of its own that holds the distribution's default panel configuration,
// where the panel's settings daemon (xfconfd, started by the bus) finds it.
class Panel {
public:
    static QString DefaultConfiguration()
    {
        return QStandardPaths::locate(QStandardPaths::GenericConfigLocation,
                                      QStringLiteral("xfce4/panel/default.xml"));
    }

    // Returns what went wrong, or an empty string once a notification area hosts items.
    QString Start(const QString& display)
    {
        const QString channels = home_.filePath(QStringLiteral("config/xfce4/xfconf/xfce-perchannel-xml"));
        if (!QDir().mkpath(channels) ||
            !QFile::copy(DefaultConfiguration(), channels + QStringLiteral("/xfce4-panel.xml")))
            return QStringLiteral("the panel's configuration could not be copied");
        QDir(home_.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(home_.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // The settings daemon is started by the bus, with the bus's environment, not the panel's.
        const QMap<QString, QString> activation{{QStringLiteral("HOME"), home_.path()},
                                                {QStringLiteral("XDG_CONFIG_HOME"), ConfigHome()}};
        const QDBusMessage updated =
            Call(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                 QStringLiteral("org.freedesktop.DBus"), QStringLiteral("UpdateActivationEnvironment"),
                 {QVariant::fromValue(activation)});
        if (updated.type() != QDBusMessage::ReplyMessage)
            return QStringLiteral("the bus's environment: ") + updated.errorMessage();

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("HOME"), home_.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), ConfigHome());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home_.filePath(QStringLiteral("runtime")));
        env.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1")); // no accessibility bus
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        // Xvfb has no window manager; the panel would wait five seconds for one.
        process_.start(QStringLiteral("xfce4-panel"), {QStringLiteral("--disable-wm-check")});
        if (!process_.waitForStarted(10000))
            return QStringLiteral("xfce4-panel did not start");
        const bool hosting = QTest::qWaitFor(
            [&] {
                return process_.state() == QProcess::Running &&
                       Property(kWatcher, QStringLiteral("/StatusNotifierWatcher"), kWatcher,
                                QStringLiteral("IsStatusNotifierHostRegistered"))
                           .toBool();
            },
            30000);
        if (!hosting)
            return QStringLiteral("no StatusNotifierItem host came up; the panel said:\n") +
                   QString::fromLocal8Bit(process_.readAll());
        return {};
    }
    Panel() = default;
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;
    ~Panel() { EndProcess(process_); }

private:
    QString ConfigHome() const { return home_.filePath(QStringLiteral("config")); }

    QTemporaryDir home_;
    QProcess process_;
};

// A copy of the program in a folder of its own, so its settings file lands beside it, started
// with its clock at a chosen time of kDay.
class Program {
public:
    Program(const QByteArray& settings, const QString& display, QTime at)
    {
        const QString path = dir_.filePath(QStringLiteral("kelvator"));
        QFile::copy(QStringLiteral(KELVATOR_BINARY), path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile ini(dir_.filePath(QStringLiteral("kelvator.ini")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write(settings);
        ini.close();
        QDir(dir_.path()).mkpath(QStringLiteral("config"));
        QDir(dir_.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(dir_.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir_.filePath(QStringLiteral("runtime")));
        const qint64 shift = QDateTime(kDay, at).toMSecsSinceEpoch() - QDateTime::currentMSecsSinceEpoch();
        env.insert(QStringLiteral("KELVATOR_CLOCK_SHIFT_MS"), QString::number(shift));
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedChannels);
        process_.start(path, {});
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() { EndProcess(process_); }

    QProcess& Process() { return process_; }

private:
    QTemporaryDir dir_;
    QProcess process_;
};

struct ItemAddress {
    QString service;
    QString path;
};

// The program's item among those the watcher knows: "service/path" or a bare service name.
ItemAddress FindItem(qint64 pid)
{
    const QStringList items = Property(kWatcher, QStringLiteral("/StatusNotifierWatcher"), kWatcher,
                                       QStringLiteral("RegisteredStatusNotifierItems"))
                                  .toStringList();
    for (const QString& item : items) {
        const qsizetype slash = item.indexOf(u'/');
        ItemAddress address{slash < 0 ? item : item.left(slash),
                            slash < 0 ? QStringLiteral("/StatusNotifierItem") : item.mid(slash)};
        const QDBusReply<uint> owner = QDBusConnection::sessionBus().interface()->servicePid(address.service);
        if (owner.isValid() && qint64(owner.value()) == pid)
            return address;
    }
    return {};
}

struct Image {
    int width = 0;
    int height = 0;
    QByteArray argb; // big-endian ARGB32, row by row
};

QList<Image> Images(const QDBusArgument& arg)
{
    QList<Image> images;
    arg.beginArray();
    while (!arg.atEnd()) {
        Image image;
        arg.beginStructure();
        arg >> image.width >> image.height >> image.argb;
        arg.endStructure();
        images << image;
    }
    arg.endArray();
    return images;
}

struct ToolTip {
    QString iconName;
    QList<Image> images;
    QString title;
    QString description;
};

ToolTip ReadToolTip(const ItemAddress& item)
{
    ToolTip tip;
    const QVariant value = Property(item.service, item.path, kItem, QStringLiteral("ToolTip"));
    if (!value.canConvert<QDBusArgument>())
        return tip;
    const auto arg = value.value<QDBusArgument>();
    arg.beginStructure();
    arg >> tip.iconName;
    tip.images = Images(arg);
    arg >> tip.title >> tip.description;
    arg.endStructure();
    return tip;
}

QImage ToImage(const Image& image)
{
    QImage out(image.width, image.height, QImage::Format_ARGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* line = reinterpret_cast<quint32*>(out.scanLine(y));
        for (int x = 0; x < image.width; ++x)
            line[x] = qFromBigEndian<quint32>(image.argb.constData() + 4 * (qsizetype(y) * image.width + x));
    }
    return out;
}

// The labels of a dbusmenu layout's children, "-" for a separator, hidden items left out.
QStringList MenuLabels(const QDBusArgument& layout)
{
    QStringList labels;
    int id = 0;
    QVariantMap properties;
    layout.beginStructure();
    layout >> id >> properties;
    layout.beginArray();
    while (!layout.atEnd()) {
        QDBusVariant child;
        layout >> child;
        const auto childLayout = child.variant().value<QDBusArgument>();
        int childId = 0;
        QVariantMap childProperties;
        childLayout.beginStructure();
        childLayout >> childId >> childProperties;
        if (childProperties.value(QStringLiteral("visible"), true).toBool()) {
            if (childProperties.value(QStringLiteral("type")).toString() == QLatin1String("separator"))
                labels << QStringLiteral("-");
            else // an access key is marked by "_", a real one doubled
                labels << childProperties.value(QStringLiteral("label"))
                              .toString()
                              .replace(QStringLiteral("__"), QStringLiteral("\x01"))
                              .remove(u'_')
                              .replace(u'\x01', u'_');
        }
    }
    layout.endArray();
    layout.endStructure();
    return labels;
}

// The same picture each time it is drawn, in a new icon each time: sizes a panel of 16 to 32 px
// picks from, none larger, so the item sends exactly these.
QImage DrawnImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 128, 0), size / 6.0));
    painter.drawEllipse(QRectF(size / 8.0, size / 8.0, size * 0.75, size * 0.75));
    return image;
}
QIcon DrawnIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 32})
        icon.addPixmap(QPixmap::fromImage(DrawnImage(size)));
    return icon;
}

// The program's tray icon, driven line by line from the standard input: "add", "tip TEXT"
// (percent-encoded), "icon drawn", "icon own"; each answered with "ok" once done.
int RunTrayItem()
{
    const std::shared_ptr<kelvator::TrayIcon> tray = kelvator::MakeRealPlatform().tray;
    QByteArray pending;
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t got = ::read(0, buffer, sizeof buffer);
        if (got <= 0) {
            QCoreApplication::quit();
            return;
        }
        pending.append(buffer, got);
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            if (line == "add")
                tray->Add();
            else if (line.startsWith("tip "))
                tray->SetToolTip(QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(4))));
            else if (line == "icon drawn")
                tray->SetIcon(DrawnIcon());
            else if (line == "icon own")
                tray->SetIcon(QIcon());
            std::fputs("ok\n", stdout);
            std::fflush(stdout);
        }
    });
    return QCoreApplication::exec();
}

// The tray icon of a child process that runs RunTrayItem.
class TrayItemProcess {
public:
    explicit TrayItemProcess(const QString& display)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("DISPLAY"), display);
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--tray-item")});
    }
    TrayItemProcess(const TrayItemProcess&) = delete;
    TrayItemProcess& operator=(const TrayItemProcess&) = delete;
    ~TrayItemProcess() { EndProcess(process_); }

    qint64 Pid() const { return process_.processId(); }
    // Whether the command was carried out.
    bool Do(const QByteArray& command)
    {
        process_.write(command + '\n');
        return QTest::qWaitFor([&] { return process_.canReadLine(); }, 10000) &&
               process_.readLine() == "ok\n";
    }
    bool SetToolTip(const QString& text) { return Do("tip " + text.toUtf8().toPercentEncoding()); }

private:
    QProcess process_;
};

// Counts an item's signals.
class SignalCounter : public QObject {
    Q_OBJECT
public:
    int toolTips = 0;
    int icons = 0;
    bool Watch(const QString& service, const QString& path)
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        return bus.connect(service, path, kItem, QStringLiteral("NewToolTip"), this, SLOT(OnToolTip())) &&
               bus.connect(service, path, kItem, QStringLiteral("NewIcon"), this, SLOT(OnIcon()));
    }
private Q_SLOTS:
    void OnToolTip() { ++toolTips; }
    void OnIcon() { ++icons; }
};

QList<QImage> IconImages(const ItemAddress& item)
{
    QList<QImage> images;
    const QVariant pixmaps = Property(item.service, item.path, kItem, QStringLiteral("IconPixmap"));
    if (pixmaps.canConvert<QDBusArgument>()) {
        for (const Image& image : Images(pixmaps.value<QDBusArgument>()))
            images << ToImage(image);
    }
    return images;
}

} // namespace

class TstTrayPanel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xfce4-panel")).isEmpty())
            QSKIP("xfce4-panel is not installed");
        QVERIFY2(!Panel::DefaultConfiguration().isEmpty(), "xfce4-panel's default.xml is missing");
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "no session bus: run under dbus-run-session");
        qDBusRegisterMetaType<QMap<QString, QString>>();
    }

    void trayItem_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QTime>("at");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("ownIcon");
        QTest::addColumn<QStringList>("menu");

        QTest::addRow("as before") << QByteArray("[Beallitasok]\r\nCheckBox_IconkentIndul=1\r\n")
                                   << QTime(10, 0) << QStringLiteral("Kelvator") << true
                                   << QStringList{QStringLiteral("Kilépés a programból")};
        QTest::addRow("the day shown")
            << QByteArray(
                   "[Beallitasok]\r\nCheckBox_IconkentIndul=1\r\n[Talca]\r\nCheckBox_SugoMutatjaANapot=1\r\n"
                   "CheckBox_IkonMutatjaANapot=1\r\nCheckBox_BovitettTalcaMenu=1\r\n")
            << QTime(12, 35, 5)
            << QStringLiteral("Kelvator\nMunkanap: 62% — vége 16:00 (még 3:25)\nFizetés 16 nap múlva")
            << false
            << QStringList{QStringLiteral("Megnyitás"), QStringLiteral("Stopper indítása"),
                           QStringLiteral("-"), QStringLiteral("Kilépés a programból")};
    }

    // Started in the tray, the program's item reaches the panel with its tooltip, its icon and
    // its menu.
    void trayItem()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QTime, at);
        QFETCH(QString, title);
        QFETCH(bool, ownIcon);
        QFETCH(QStringList, menu);

        XServer display;
        QVERIFY2(!display.Name().isEmpty(), "Xvfb did not start");
        Panel panel;
        const QString failure = panel.Start(display.Name());
        QVERIFY2(failure.isEmpty(), qPrintable(failure));

        Program program(settings, display.Name(), at);
        QVERIFY(program.Process().waitForStarted(10000));
        ItemAddress item;
        QVERIFY2(QTest::qWaitFor(
                     [&] {
                         item = FindItem(program.Process().processId());
                         return !item.service.isEmpty() || program.Process().state() != QProcess::Running;
                     },
                     30000),
                 "the program's item did not reach the panel");
        QVERIFY2(!item.service.isEmpty(), "the program ended before its item reached the panel");

        const ToolTip tip = ReadToolTip(item);
        qInfo("tooltip title \"%s\", description \"%s\"", qPrintable(tip.title), qPrintable(tip.description));
        QCOMPARE(tip.title, title);

        const QVariant pixmaps = Property(item.service, item.path, kItem, QStringLiteral("IconPixmap"));
        QVERIFY(pixmaps.canConvert<QDBusArgument>());
        const QList<Image> images = Images(pixmaps.value<QDBusArgument>());
        QVERIFY2(!images.isEmpty(), "the item has no icon");
        const QIcon own(QStringLiteral(KELVATOR_ICON));
        bool smallOne = false;
        for (const Image& image : images) {
            qInfo("icon %d x %d", image.width, image.height);
            QVERIFY(image.width >= 16 && image.width <= 64);
            QCOMPARE(image.height, image.width);
            QCOMPARE(image.argb.size(), qsizetype(4) * image.width * image.height);
            smallOne = smallOne || image.width <= 24;
            const QImage shown = ToImage(image);
            QVERIFY2(shown.pixelColor(image.width / 2, image.height / 2).alpha() > 0, "the icon is empty");
            const QImage expected =
                own.pixmap(QSize(image.width, image.height)).toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(shown == expected, ownIcon);
        }
        QVERIFY2(smallOne, "no icon for a small panel");

        const auto menuPath =
            Property(item.service, item.path, kItem, QStringLiteral("Menu")).value<QDBusObjectPath>();
        QVERIFY(!menuPath.path().isEmpty());
        const QDBusMessage layout =
            Call(item.service, menuPath.path(), QStringLiteral("com.canonical.dbusmenu"),
                 QStringLiteral("GetLayout"), {0, -1, QStringList()});
        QVERIFY2(layout.type() == QDBusMessage::ReplyMessage && layout.arguments().size() == 2,
                 qPrintable(layout.errorMessage()));
        QCOMPARE(MenuLabels(layout.arguments().at(1).value<QDBusArgument>()), menu);
        QCOMPARE(program.Process().state(), QProcess::Running);
    }

    // The tooltip and the picture the window gives reach the panel as given, also when given
    // before the icon is shown; giving the same again sends the panel nothing.
    void toolTipAndIcon()
    {
        XServer display;
        QVERIFY2(!display.Name().isEmpty(), "Xvfb did not start");
        Panel panel;
        const QString failure = panel.Start(display.Name());
        QVERIFY2(failure.isEmpty(), qPrintable(failure));

        TrayItemProcess tray(display.Name());
        const QString twoLines =
            QStringLiteral("Munkanap: 62% — vége 16:00 (még 3:25)\nFizetés 23 nap múlva");
        QVERIFY(tray.SetToolTip(twoLines));
        QVERIFY(tray.Do("icon drawn"));
        QVERIFY(tray.Do("add"));
        ItemAddress item;
        QVERIFY2(QTest::qWaitFor(
                     [&] {
                         item = FindItem(tray.Pid());
                         return !item.service.isEmpty();
                     },
                     30000),
                 "the item did not reach the panel");
        QCOMPARE(ReadToolTip(item).title, twoLines);
        QList<QImage> images = IconImages(item);
        QCOMPARE(images.size(), 3);
        for (const QImage& image : images)
            QVERIFY2(image == DrawnImage(image.width()), qPrintable(QString::number(image.width())));

        SignalCounter sent;
        QVERIFY(sent.Watch(item.service, item.path));
        // The same text and a new icon of the same picture change nothing; what changes after
        // them is the first thing the panel hears of.
        QVERIFY(tray.SetToolTip(twoLines));
        QVERIFY(tray.Do("icon drawn"));
        QVERIFY(tray.SetToolTip(QStringLiteral("Ma nincs munkanap")));
        QVERIFY(tray.Do("icon own"));
        QTRY_COMPARE(sent.toolTips, 1);
        QTRY_COMPARE(sent.icons, 1);
        QCOMPARE(ReadToolTip(item).title, QStringLiteral("Ma nincs munkanap"));
        images = IconImages(item);
        QVERIFY(!images.isEmpty());
        const QIcon own(QStringLiteral(KELVATOR_ICON));
        for (const QImage& image : images)
            QVERIFY(image == own.pixmap(image.size()).toImage().convertToFormat(QImage::Format_ARGB32));

        // No text is the program's own.
        QVERIFY(tray.SetToolTip(QString()));
        QTRY_COMPARE(sent.toolTips, 2);
        QCOMPARE(ReadToolTip(item).title, QStringLiteral("Kelvator"));
        QCOMPARE(sent.icons, 1);
    }
};

// With --tray-item the program is the tray icon another run of it reads.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--tray-item") == 0)
        return RunTrayItem();
    TstTrayPanel test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_tray_panel.moc"
