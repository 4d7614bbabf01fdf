// Times one full tick with each inner tab in front, the drawing routines, and one second of
// idle running per page. Not part of the test run.
#include "app/form_main.h"
#include "app/tick_source.h"
#include "app/tray_control.h"
#include "clocks/analog_clock.h"
#include "tests/fake_platform.h"
#include "yearcal/yearcal.h"
#include "yearcal/yeargrid_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {
QTabWidget* MainTabs(const TForm_Main& form)
{
    return form.findChild<QTabWidget*>(QStringLiteral("PageControl_Main"));
}

// One second of an idle program as its timers run it: the tick on its 200 ms steps when it is
// due (it sleeps over the steps in which nothing it shows can change), the year grid's blink
// every half second while the grid can be seen, and the repaints they ask for, with the clock moving as it
// does. Reported per simulated second, median of the runs, with the ticks and blinks it took.
struct IdleSecond {
    double micros = 0;
    double ticks = 0;
    double blinks = 0;
};

IdleSecond IdleSecondCost(TForm_Main& form, kelvator::testing::FakePlatform& fake)
{
    constexpr int kSeconds = 200;
    std::vector<qint64> ns;
    ns.reserve(kSeconds);
    int ticks = 0;
    int blinks = 0;
    int due = 0; // steps until the tick is due
    auto* tick = form.findChild<kelvator::TickSource*>();
    auto* yearGrid = form.findChild<kelvator::YearGridPage*>();
    for (int s = 0; s < kSeconds; ++s) {
        QElapsedTimer t;
        t.start();
        for (int step = 0; step < 5; ++step) {
            fake.now = fake.now.addMSecs(200);
            if (--due <= 0) {
                due = tick->TickAndPace();
                ++ticks;
            }
            if ((step == 1 || step == 4) && yearGrid->InSight()) {
                yearGrid->Blink();
                ++blinks;
            }
            QApplication::processEvents(); // paints what changed, as the event loop would
        }
        ns.push_back(t.nsecsElapsed());
    }
    std::sort(ns.begin(), ns.end());
    return {static_cast<double>(ns[ns.size() / 2]) / 1000.0, static_cast<double>(ticks) / kSeconds,
            static_cast<double>(blinks) / kSeconds};
}

void ReportIdleSeconds(TForm_Main& form, kelvator::testing::FakePlatform& fake)
{
    std::printf("\n%-24s %12s %8s %8s\n", "idle second, page", "median us", "ticks", "blinks");
    auto run = [&](const QString& name) {
        QApplication::processEvents();
        IdleSecondCost(form, fake); // settle: first paints, glyph caches
        const IdleSecond cost = IdleSecondCost(form, fake);
        std::printf("%-24s %12.1f %8.2f %8.2f\n", qPrintable(name), cost.micros, cost.ticks, cost.blinks);
    };
    auto* const bigClockKinds = form.findChild<QTabWidget*>(QStringLiteral("PageControl_NagyOraTipus"));
    QTabWidget* const tabs = MainTabs(form);
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        if (tabs->currentWidget()->objectName() == QStringLiteral("TabSheet_NagyOra")) {
            for (int j = 0; j < bigClockKinds->count(); ++j) {
                bigClockKinds->setCurrentIndex(j);
                run(bigClockKinds->currentWidget()->objectName());
            }
        } else {
            auto* start =
                tabs->currentWidget()->findChild<QPushButton*>(QStringLiteral("Button_StopperStart"));
            if (start && start->isEnabled())
                start->click(); // a running stopwatch, as it is measured
            run(tabs->currentWidget()->objectName());
        }
    }
    tabs->setCurrentIndex(0);
    auto* tray = form.findChild<kelvator::TrayControl*>();
    tray->SendToTray();
    run(QStringLiteral("hidden (tray)"));
    tray->RestoreFromTray();
}
} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    QTemporaryDir settings;
    kelvator::testing::FakePlatform fake;
    fake.now = QDateTime(QDate(2016, 8, 1), QTime(11, 30, 0));
    TForm_Main form(fake.Make(settings.filePath(QStringLiteral("kelvator.ini"))));
    form.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    form.findChild<QTimer*>(QStringLiteral("Timer_AktualisNapVillogtatas"))->stop();
    // The tick's steps fall anywhere in a second, not on the moment the events were dated to.
    fake.now = fake.now.addMSecs(130);
    form.show();
    QApplication::processEvents();

    constexpr int kTicks = 2000;
    std::printf("%-24s %12s %12s\n", "tab", "median us", "max us");
    QTabWidget* const tabs = MainTabs(form);
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QApplication::processEvents();
        std::vector<qint64> ns;
        ns.reserve(kTicks);
        for (int k = 0; k < kTicks; ++k) {
            fake.now = fake.now.addMSecs(200);
            QElapsedTimer t;
            t.start();
            form.Timer1Timer();
            ns.push_back(t.nsecsElapsed());
            if (k % 50 == 0)
                QApplication::processEvents(); // let repaints happen as they would
        }
        std::sort(ns.begin(), ns.end());
        std::printf("%-24s %12.1f %12.1f\n", qPrintable(tabs->currentWidget()->objectName()),
                    static_cast<double>(ns[ns.size() / 2]) / 1000.0, static_cast<double>(ns.back()) / 1000.0);
    }

    // The analog face alone: artwork copy, overlay, sixteen anti-aliased lines.
    kelvator::ClockFaceInput in;
    in.time = QTime(11, 30, 15);
    in.dayOfWeek = 1;
    in.overlayChoice = 0;
    in.schedule.workStart = 7 * 3600;
    in.schedule.workEnd = 16 * 3600;
    in.schedule.breakStart = {34200, 48600, 39600};
    in.schedule.breakEnd = {36000, 50400, 43200};
    in.showBreak = {true, true, true};
    const QImage artwork =
        QImage(QStringLiteral(":/kelvator/dial.bmp")).convertToFormat(QImage::Format_RGB32);
    QImage surface;
    std::vector<qint64> face;
    for (int k = 0; k < 500; ++k) {
        in.time = in.time.addSecs(1);
        QElapsedTimer t;
        t.start();
        kelvator::DrawClockFace(surface, artwork, in);
        face.push_back(t.nsecsElapsed());
    }
    std::sort(face.begin(), face.end());
    std::printf("%-24s %12.1f %12.1f\n", "DrawClockFace", static_cast<double>(face[face.size() / 2]) / 1000.0,
                static_cast<double>(face.back()) / 1000.0);
    // The same faces as the window draws them, second after second: only what moved.
    kelvator::ClockFacePainter painter;
    face.clear();
    for (int k = 0; k < 500; ++k) {
        in.time = in.time.addSecs(1);
        QElapsedTimer t;
        t.start();
        painter.Draw(surface, artwork, in);
        face.push_back(t.nsecsElapsed());
    }
    std::sort(face.begin(), face.end());
    std::printf("%-24s %12.1f %12.1f\n", "ClockFacePainter",
                static_cast<double>(face[face.size() / 2]) / 1000.0,
                static_cast<double>(face.back()) / 1000.0);

    // The year grid, redrawn twice a second whatever page is in front.
    QImage year(385, 221, QImage::Format_RGB32);
    kelvator::DayColours colours;
    for (auto& month : colours)
        month.fill(kelvator::kButtonFace);
    std::vector<qint64> grid;
    for (int k = 0; k < 200; ++k) {
        QElapsedTimer t;
        t.start();
        kelvator::DrawYearGrid(year, kelvator::GridFor(385, 221), 2024, colours, k % 2 == 0,
                               QDate(2024, 5, 7));
        grid.push_back(t.nsecsElapsed());
    }
    std::sort(grid.begin(), grid.end());
    std::printf("%-24s %12.1f %12.1f\n", "DrawYearGrid", static_cast<double>(grid[grid.size() / 2]) / 1000.0,
                static_cast<double>(grid.back()) / 1000.0);

    ReportIdleSeconds(form, fake);

    // The settings file: opening the window on it (the whole load) and one save, each once.
    std::printf("\n%-40s %10s %10s %10s\n", "settings file", "KiB", "open ms", "save ms");
    auto timeSettings = [&](const char* name, const QByteArray& file) {
        const QString path = settings.filePath(QStringLiteral("bench.ini"));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size())
            return;
        out.close();
        QElapsedTimer t;
        t.start();
        auto window = std::make_unique<TForm_Main>(fake.Make(path));
        const double openMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
        window->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        window->findChild<QTimer*>(QStringLiteral("Timer_AktualisNapVillogtatas"))->stop();
        t.restart();
        window->SaveSettings();
        const double saveMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
        std::printf("%-40s %10.0f %10.1f %10.1f\n", name, static_cast<double>(file.size()) / 1024.0, openMs,
                    saveMs);
    };
    QByteArray laps = "[Stopper]\r\nListBox_StopperItemsCount=10000\r\n";
    for (int i = 0; i < 10000; ++i)
        laps += "ListBox_StopperItems" + QByteArray::number(i) + "=R" + QByteArray::number(i % 7) +
                ": 0:01:23\r\n";
    timeSettings("10 000 laps", laps);
    QByteArray sections = "[Stopper]\r\nListBox_StopperItemsCount=2147483647\r\n";
    for (int i = 0; i < 100000; ++i)
        sections += "[S" + QByteArray::number(i) + "]\r\nk=v\r\n";
    timeSettings("100 000 sections, count 2147483647", sections);
    return 0;
}
