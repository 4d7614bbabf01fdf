// The window opens whole on its screen: where it fits it stays at its fixed place, elsewhere it
// is moved in, at scale 1 and 2.
#include "window_fixture.h"

#include "app/screen_fit.h"

#include <QApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QTextStream>
#include <QWindow>

using namespace kelvator;

namespace {
const QPoint kPlace(623, 278);

// Run as a child with the screen and scale factor given to it: shows the window and prints its
// frame and the available area of its screen, in the screen's logical pixels.
int ShowWindowAndReport(int argc, char** argv)
{
    QApplication app(argc, argv);
    testing::Window w;
    w.form->show();
    if (!QTest::qWaitForWindowExposed(w.form.get()))
        return 2;
    QTextStream out(stdout);
    const QRect frame = w.form->frameGeometry();
    const QRect available = w.form->screen()->availableGeometry();
    out << frame.x() << ' ' << frame.y() << ' ' << frame.width() << ' ' << frame.height() << ' '
        << available.x() << ' ' << available.y() << ' ' << available.width() << ' ' << available.height()
        << Qt::endl;
    return 0;
}
} // namespace

class TstScreenFit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fitOnScreen_data()
    {
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("place");
        const QSize window(520, 414);
        const QRect wanted(kPlace, window);
        QTest::addRow("1280x1024: stays") << wanted << QRect(0, 0, 1280, 1024) << kPlace;
        QTest::addRow("right and bottom edges on the area's: stays")
            << wanted << QRect(0, 0, 623 + 520, 278 + 414) << kPlace;
        QTest::addRow("one pixel too wide") << wanted << QRect(0, 0, 623 + 519, 1024) << QPoint(622, 278);
        QTest::addRow("one pixel too tall") << wanted << QRect(0, 0, 1280, 278 + 413) << QPoint(623, 277);
        QTest::addRow("1280x1024 at scale 2") << wanted << QRect(0, 0, 640, 512) << QPoint(120, 98);
        QTest::addRow("800x600") << wanted << QRect(0, 0, 800, 600) << QPoint(280, 186);
        QTest::addRow("800x600 under a 30 px panel") << wanted << QRect(0, 30, 800, 570) << QPoint(280, 186);
        QTest::addRow("a panel at the bottom") << wanted << QRect(0, 0, 1280, 660) << QPoint(623, 246);
        QTest::addRow("window left of a left panel")
            << QRect(QPoint(0, 278), window) << QRect(48, 0, 1232, 1024) << QPoint(48, 278);
        QTest::addRow("larger than the area: top left on it")
            << wanted << QRect(0, 0, 400, 300) << QPoint(0, 0);
        QTest::addRow("screen right of the primary one")
            << QRect(QPoint(1900, 278), window) << QRect(1280, 0, 1024, 768) << QPoint(1784, 278);
        QTest::addRow("screen left of the primary one, negative coordinates")
            << QRect(QPoint(-300, 500), window) << QRect(-1024, 0, 1024, 768) << QPoint(-520, 354);
        QTest::addRow("no area known: stays") << wanted << QRect() << kPlace;
    }
    void fitOnScreen()
    {
        QFETCH(QRect, wanted);
        QFETCH(QRect, available);
        QFETCH(QPoint, place);
        const QRect fitted = FitOnScreen(wanted, available);
        QCOMPARE(fitted.topLeft(), place);
        QCOMPARE(fitted.size(), wanted.size());
    }

    // The real window on a screen of the given size at the given scale (the offscreen platform's
    // own screen, configured, and Qt's scaling).
    void windowOpensWhole_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("scale");
        QTest::addColumn<bool>("stays");
        QTest::addRow("1280x1024 at 1x") << QSize(1280, 1024) << 1 << true;
        QTest::addRow("1920x1080 at 1x") << QSize(1920, 1080) << 1 << true;
        QTest::addRow("1280x1024 at 2x") << QSize(1280, 1024) << 2 << false;
        QTest::addRow("1920x1080 at 2x") << QSize(1920, 1080) << 2 << false;
        QTest::addRow("2560x1440 at 2x") << QSize(2560, 1440) << 2 << true;
        QTest::addRow("800x600 at 1x") << QSize(800, 600) << 1 << false;
        QTest::addRow("640x480 at 1x") << QSize(640, 480) << 1 << false;
    }
    void windowOpensWhole()
    {
        QFETCH(QSize, screen);
        QFETCH(int, scale);
        QFETCH(bool, stays);
        QTemporaryDir dir;
        const QString config = dir.filePath(QStringLiteral("screen.json"));
        {
            QFile f(config);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(
                QStringLiteral(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": %1, "height": %2,
                                      "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                    .arg(screen.width())
                    .arg(screen.height())
                    .toUtf8());
        }
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config);
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--show-window")});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitCode(), 0);
        const QStringList numbers =
            QString::fromLatin1(child.readAllStandardOutput()).simplified().split(u' ');
        QCOMPARE(numbers.size(), 8);
        const QRect frame(numbers[0].toInt(), numbers[1].toInt(), numbers[2].toInt(), numbers[3].toInt());
        const QRect available(numbers[4].toInt(), numbers[5].toInt(), numbers[6].toInt(), numbers[7].toInt());
        QCOMPARE(available, QRect(QPoint(0, 0), screen / scale));
        QVERIFY2(available.contains(frame), qPrintable(QStringLiteral("frame %1,%2 %3x%4")
                                                           .arg(frame.x())
                                                           .arg(frame.y())
                                                           .arg(frame.width())
                                                           .arg(frame.height())));
        if (stays)
            QCOMPARE(frame.topLeft(), kPlace);
        else // moved in no further than needed: it touches the right or bottom edge
            QVERIFY(frame.right() == available.right() || frame.bottom() == available.bottom());
    }
};

int main(int argc, char** argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--show-window") == 0)
        return ShowWindowAndReport(argc, argv);
    QApplication app(argc, argv);
    TstScreenFit test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_screen_fit.moc"
