// Times one full tick with each inner tab in front. Not part of the test run.
#include "app/form_main.h"
#include "tests/fake_platform.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLocale>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

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
    form.Timer1->stop();
    form.Timer_AktualisNapVillogtatas->stop();
    form.show();
    QApplication::processEvents();

    constexpr int kTicks = 2000;
    std::printf("%-24s %12s %12s\n", "tab", "median us", "max us");
    for (int i = 0; i < form.PageControl_Main->count(); ++i) {
        form.PageControl_Main->setCurrentIndex(i);
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
        std::printf("%-24s %12.1f %12.1f\n", qPrintable(form.PageControl_Main->currentWidget()->objectName()),
                    static_cast<double>(ns[ns.size() / 2]) / 1000.0, static_cast<double>(ns.back()) / 1000.0);
    }
    return 0;
}
