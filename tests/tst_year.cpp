// A whole year of ticks on the real window, minute by minute and densely around the moments
// where things switch, with the invariants every tick must keep.
#include "window_fixture.h"
#include "worktime_fixture.h"

#include "calendar/tdatetime.h"
#include "widgets/mbargraph.h"
#include "worktime/schedule.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimeZone>

using namespace kelvator;
using kelvator::testing::Field;
using kelvator::testing::MainTabs;
using kelvator::testing::Window;
using kelvator::testing::WorkTimeControl;

class TstYear : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }

    void aLeapYearInBudapest()
    {
        QVERIFY2(QDateTime(QDate(2024, 7, 1), QTime(12, 0)).offsetFromUtc() == 7200,
                 "TZ must be Europe/Budapest");
        const int minutesPerStep = qEnvironmentVariableIntValue("KELVATOR_YEAR_STEP_MINUTES") > 0
                                       ? qEnvironmentVariableIntValue("KELVATOR_YEAR_STEP_MINUTES")
                                       : 1;
        const QDateTime first(QDate(2024, 1, 1), QTime(0, 0));
        const qint64 begin = first.toSecsSinceEpoch() - 120;
        const qint64 end = QDateTime(QDate(2025, 1, 1), QTime(0, 5)).toSecsSinceEpoch();
        Window w(QDateTime::fromSecsSinceEpoch(begin));
        TForm_Main& f = *w.form;
        Field(f, "Edit_HaviFizetes")->setText(QStringLiteral("450000"));
        auto* stopwatch = f.findChild<QWidget*>(QStringLiteral("TabSheet_Stopper"));
        QVERIFY(stopwatch);
        MainTabs(f)->setCurrentWidget(stopwatch);
        stopwatch->findChild<QPushButton*>(QStringLiteral("Button_StopperStart"))->click();

        QWidget* const tabs[] = {WorkTimeControl<QWidget>(f, "TabSheet_Kelvator"),
                                 f.findChild<QWidget*>(QStringLiteral("TabSheet_NagyOra")), stopwatch};
        auto* const bigClockKinds = f.findChild<QTabWidget*>(QStringLiteral("PageControl_NagyOraTipus"));
        QDate lastDate;
        qint64 ticks = 0;
        auto tick = [&](const QDateTime& now) {
            w.fake.now = now;
            f.Timer1Timer();
            ++ticks;
            const QTime t = now.time();
            if (f.LastTickSecond() != SecondOfDay(t))
                return QStringLiteral("the tick did not run to its end");
            for (const TMBarGraph* bar : {WorkTimeControl<TMBarGraph>(f, "MBarGraph_Munakanap"),
                                          WorkTimeControl<TMBarGraph>(f, "MBarGraph_Munakahet"),
                                          WorkTimeControl<TMBarGraph>(f, "MBarGraph_Munkahonap"),
                                          WorkTimeControl<TMBarGraph>(f, "MBarGraph_ATeljesEv")}) {
                if (!(bar->MBGValue() >= 0 && bar->MBGValue() <= 1))
                    return QStringLiteral("%1 out of range: %2").arg(bar->objectName()).arg(bar->MBGValue());
            }
            const QString payday = WorkTimeControl<QLabel>(f, "Label_FizetesNNapMulva")->text();
            if (payday.isEmpty() || payday.startsWith(QStringLiteral("Label_")))
                return QStringLiteral("no payday text");
            if (now.date() != lastDate) {
                if (WorkTimeControl<QLabel>(f, "Label_Datum")->text() != DateLabelText(now.date()))
                    return QStringLiteral("the date did not switch on the first tick");
                lastDate = now.date();
            }
            return QString();
        };

        for (qint64 s = begin; s <= end; s += 60 * minutesPerStep) {
            const QDateTime at = QDateTime::fromSecsSinceEpoch(s);
            const QDate day = at.date();
            MainTabs(f)->setCurrentWidget(tabs[day.dayOfYear() % 3]);
            if (day.dayOfYear() % 2 == 0)
                bigClockKinds->setCurrentIndex(day.dayOfYear() % 4 == 0 ? 0 : 1);

            const QTime t = at.time();
            const bool dense = t == QTime(7, 0) || t == QTime(16, 0) || t == QTime(0, 0) ||
                               (t.minute() == 0 && t.hour() == day.day() % 24) ||
                               at.offsetFromUtc() != at.addSecs(-60).offsetFromUtc();
            if (dense) {
                for (qint64 ms = -2000; ms <= 2000; ms += 200) {
                    const QString broken = tick(QDateTime::fromMSecsSinceEpoch(s * 1000 + ms));
                    QVERIFY2(broken.isEmpty(), qPrintable(at.toString(Qt::ISODate) + u' ' + broken));
                }
            } else {
                const QString broken = tick(at);
                QVERIFY2(broken.isEmpty(), qPrintable(at.toString(Qt::ISODate) + u' ' + broken));
            }
        }
        QVERIFY(tick(QDateTime::fromSecsSinceEpoch(end)).isEmpty());
        QVERIFY(w.fake.errors.isEmpty());
        QVERIFY(ticks > 365 * 24 * 60 / minutesPerStep);
        QCOMPARE(WorkTimeControl<QLabel>(f, "Label_EvNapja")->text(),
                 QStringLiteral("Szilveszterig: 11 hónap, 30 nap."));
    }
};

QTEST_MAIN(TstYear)
#include "tst_year.moc"
