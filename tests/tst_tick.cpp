#include "events_fixture.h"
#include "window_fixture.h"
#include "worktime_fixture.h"

#include "app/tick_pacing.h"
#include "app/tick_source.h"
#include "settings/settings_model.h"
#include "stopwatch/stopwatch_page.h"
#include "stopwatch/stopwatch_state.h"
#include "widgets/tmonthcalendar.h"
#include "widgets/tshape.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <vector>

using namespace kelvator;
using kelvator::testing::Control;
using kelvator::testing::MainTabs;
using kelvator::testing::OuterPages;
using kelvator::testing::Window;

namespace {
// One way of setting a window up before its first tick.
using Setup = std::function<void(TForm_Main&, const QDateTime& start)>;

StopwatchPage& StopwatchOf(TForm_Main& form)
{
    auto* page = form.findChild<StopwatchPage*>(QStringLiteral("TabSheet_Stopper"));
    if (!page)
        qFatal("no stopwatch page");
    return *page;
}

// The stopwatch as a settings file leaves it: running since the given moment.
void RunStopwatchSince(TForm_Main& form, const QDateTime& start)
{
    Settings s;
    StopwatchOf(form).CollectSettings(s);
    s.stopwatchState = kStopwatchRunning;
    s.stopwatchStart = ToDateTime(start);
    StopwatchOf(form).ShowSettings(s);
}

TickSource& SourceOf(TForm_Main& form)
{
    return *form.findChild<TickSource*>();
}
QTimer* TimerOf(TForm_Main& form)
{
    return form.findChild<QTimer*>(QStringLiteral("Timer1"));
}

// The first event shown, at `moment` with its time of day.
void SetFirstEvent(TForm_Main& form, TDateTime moment)
{
    testing::ChangeEvent(form, 1, [&](EventSettings& event) {
        event.visible = true;
        event.timeOfDayCounts = true;
        event.moment = moment;
    });
}

// A tick source on a fake tick: what the window would show is set by the test.
struct Paced {
    QObject owner;
    QDateTime now{QDate(2024, 5, 7), QTime(9, 0)};
    int ticks = 0;
    bool nextTickReadsThisOne = false;
    TickNeeds needs;
    int needsRead = 0;
    TickSource source{[this] {
                          ++ticks;
                          return nextTickReadsThisOne;
                      },
                      [this] {
                          ++needsRead;
                          return needs;
                      },
                      [this] { return now; }, &owner};
    QTimer quietTimer;
    QTimer otherTimer;
    Paced() { source.IgnoreTimerEvents(&quietTimer); }
    int Interval() const { return source.Timer()->interval(); }
};

// What reaches the source while it sleeps.
enum class Input { Key, User, Repaint, Layout, OwnTimer, QuietTimer, OtherTimer, OwnTimerOther };
} // namespace
Q_DECLARE_METATYPE(Input)
Q_DECLARE_METATYPE(Setup)

using kelvator::testing::DaySquares;
using kelvator::testing::WorkTimeControl;

class TstTick : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stepsToTheNextChange_data()
    {
        QTest::addColumn<int>("nowMs");
        QTest::addColumn<QList<int>>("phases");
        QTest::addColumn<int>("steps");
        QTest::addRow("just after a second") << 30 << QList<int>{0} << 5;
        QTest::addRow("a step before the second") << 850 << QList<int>{0} << 1;
        QTest::addRow("the next step reaches it exactly") << 800 << QList<int>{0} << 1;
        QTest::addRow("three steps short") << 400 << QList<int>{0} << 3;
        QTest::addRow("on the second itself") << 0 << QList<int>{0} << 1;
        QTest::addRow("a stopwatch phase comes first") << 50 << QList<int>{0, 700} << 4;
        QTest::addRow("the phase just passed") << 701 << QList<int>{0, 700} << 2;
        QTest::addRow("on a later phase") << 700 << QList<int>{0, 700} << 1;
        QTest::addRow("nothing to wait for") << 123 << QList<int>{} << 5;
    }
    void stepsToTheNextChange()
    {
        QFETCH(int, nowMs);
        QFETCH(QList<int>, phases);
        QFETCH(int, steps);
        const std::vector<int> list(phases.begin(), phases.end());
        QCOMPARE(TickStepsToNextChange(nowMs, list), steps);
    }

    // The same window ticked on every 200 ms step and ticked only when its timer wakes it must
    // look the same after every step: same texts, same bars, same faces, at the same steps.
    void pacedTicksShowWhatEveryTickShows_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<int>("steps");
        QTest::addColumn<Setup>("setup");
        const QDate friday(2024, 5, 10);
        QTest::addRow("work end with the blink on the face")
            << QDateTime(friday, QTime(15, 59, 57, 130)) << 40 << Setup([](TForm_Main& f, const QDateTime&) {
                   Control<TRadioGroup>(f, "RadioGroup_MutatosOraKelvatorMegjelenites")
                       ->setItemIndex(0); // the face all day
               });
        QTest::addRow("big analog clock at work end")
            << QDateTime(friday, QTime(15, 59, 58, 20)) << 25 << Setup([](TForm_Main& f, const QDateTime&) {
                   MainTabs(f)->setCurrentWidget(f.findChild<QWidget*>(QStringLiteral("TabSheet_NagyOra")));
               });
        QTest::addRow("running stopwatch started at .700")
            << QDateTime(friday, QTime(10, 0, 5, 50)) << 25
            << Setup([](TForm_Main& f, const QDateTime& start) {
                   RunStopwatchSince(f, start.addMSecs(-4350));
                   MainTabs(f)->setCurrentWidget(&StopwatchOf(f));
               });
        QTest::addRow("an event at .300, with its seconds")
            << QDateTime(friday, QTime(9, 0, 0, 90)) << 30
            << Setup([](TForm_Main& f, const QDateTime& start) {
                   SetFirstEvent(f, ToDateTime(start.addMSecs(3210)));
                   MainTabs(f)->setCurrentWidget(&testing::EventsOf(f));
               });
        QTest::addRow("hourly notice with its beeps")
            << QDateTime(friday, QTime(13, 59, 58, 410)) << 25 << Setup([](TForm_Main& f, const QDateTime&) {
                   Control<QCheckBox>(f, "CheckBox_BeallitasOrankentiHangjelzes")->setChecked(true);
               });
        QTest::addRow("midnight with hours per weekday")
            << QDateTime(QDate(2024, 5, 9), QTime(23, 59, 58, 510)) << 20
            << Setup([](TForm_Main& f, const QDateTime&) {
                   Control<TRadioGroup>(f, "RadioGroup_MutatosOraKelvatorMegjelenites")->setItemIndex(0);
                   WeekdayHours hours;
                   for (auto& day : hours)
                       day = DaySpan{0, 20 * 3600};
                   hours[4] = DaySpan{2 * 3600, 4 * 3600}; // Friday's span differs from Thursday's
                   f.CalendarModel().SetWeekdayHours(true, hours);
               });
    }
    void pacedTicksShowWhatEveryTickShows()
    {
        QFETCH(QDateTime, start);
        QFETCH(int, steps);
        QFETCH(Setup, setup);
        // Made on a whole second: a new settings file dates its events to that moment.
        const QDateTime made = start.addMSecs(-start.time().msec());
        Window every(made);
        Window paced(made);
        for (Window* w : {&every, &paced})
            setup(*w->form, start);
        TickSource& source = SourceOf(*paced.form);
        QTimer* timer = TimerOf(*paced.form);
        QCOMPARE(timer, source.Timer());
        timer->start();
        int due = 0;
        for (int k = 0; k < steps; ++k) {
            const QDateTime now = start.addMSecs(qint64{200} * k);
            every.TickAt(now);
            if (k == due) {
                paced.fake.now = now;
                source.TimerExpired();
                QCOMPARE(timer->interval() % kTickStepMs, 0);
                due = k + timer->interval() / kTickStepMs;
            }
            const QImage want = every.form->grab().toImage();
            const QImage got = paced.form->grab().toImage();
            const QString at = now.toString(QStringLiteral("HH:mm:ss.zzz"));
            QVERIFY2(want == got, qPrintable(at));
            QVERIFY2(every.fake.beeps == paced.fake.beeps, qPrintable(at));
            QVERIFY2(every.fake.sound->calls == paced.fake.sound->calls, qPrintable(at));
        }
    }

    // What reaches the window's backing store second after second, where only the changed
    // parts are repainted, is what a whole repaint of the window shows.
    void repaintedPartsMakeTheWholeWindow_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QTime>("start");
        QTest::addRow("work-time page at work") << "TabSheet_Kelvator" << QTime(10, 29, 50, 120);
        QTest::addRow("work-time page at work end") << "TabSheet_Kelvator" << QTime(15, 59, 57, 120);
        QTest::addRow("analog clock") << "TabSheet_AnalogOra" << QTime(11, 59, 55, 120);
        QTest::addRow("stopwatch") << "TabSheet_Stopper" << QTime(10, 0, 55, 120);
        QTest::addRow("events") << "TabSheet_Esemenyek" << QTime(8, 59, 55, 120);
    }
    void repaintedPartsMakeTheWholeWindow()
    {
        QFETCH(QString, page);
        QFETCH(QTime, start);
        const QDate friday(2024, 5, 10);
        Window w(QDateTime(friday, QTime(8, 0)));
        TForm_Main& f = *w.form;
        Control<TRadioGroup>(f, "RadioGroup_MutatosOraKelvatorMegjelenites")
            ->setItemIndex(0); // sectors all day
        RunStopwatchSince(f, QDateTime(friday, QTime(9, 58, 40, 700)));
        SetFirstEvent(f, ToDateTime(QDateTime(friday, QTime(9, 0))));
        QWidget* tab = f.findChild<QWidget*>(page);
        auto* const bigClockKinds = f.findChild<QTabWidget*>(QStringLiteral("PageControl_NagyOraTipus"));
        if (bigClockKinds->indexOf(tab) >= 0) {
            MainTabs(f)->setCurrentWidget(f.findChild<QWidget*>(QStringLiteral("TabSheet_NagyOra")));
            bigClockKinds->setCurrentWidget(tab);
        } else {
            MainTabs(f)->setCurrentWidget(tab);
        }
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        for (int k = 0; k < 12; ++k) {
            w.TickAt(QDateTime(friday, start.addMSecs(1000 * k)));
            QCoreApplication::sendPostedEvents(); // the repaint of what changed, and only that
            QCoreApplication::processEvents();
            // The offscreen screen's grab is what the window's backing store holds.
            auto onScreen = [&f] {
                return f.screen()->grabWindow(f.winId()).toImage().convertToFormat(QImage::Format_RGB32);
            };
            const QImage shown = onScreen();
            // Every control painted anew. (Not on the digital clock: Qt draws its 96-pixel digits
            // a shade differently when the whole window is repainted than when they were set.)
            for (QWidget* child : f.findChildren<QWidget*>())
                child->update();
            f.update();
            QCoreApplication::processEvents();
            const QImage whole = onScreen();
            const QRect client(f.centralWidget()->mapTo(&f, QPoint(0, 0)), f.centralWidget()->size());
            QVERIFY2(shown.copy(client) == whole.copy(client), qPrintable(QString::number(k)));
        }
    }

    void pacingFollowsWhatTheTickShows_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("interval");
        QTest::addRow("work-time page after a second") << QTime(9, 0, 0, 40) << "TabSheet_Kelvator" << 1000;
        QTest::addRow("work-time page late in a second") << QTime(9, 0, 0, 640) << "TabSheet_Kelvator" << 400;
        QTest::addRow("yearly calendar") << QTime(9, 0, 0, 250) << "TabSheet_EvesNaptar" << 800;
        QTest::addRow("event editor: every step")
            << QTime(9, 0, 0, 40) << "TabSheet_EsemenyBeallitasa" << 200;
        QTest::addRow("settings page") << QTime(9, 0, 0, 40) << "TabSheet_Beallitasok" << 1000;
    }
    void pacingFollowsWhatTheTickShows()
    {
        QFETCH(QTime, time);
        QFETCH(QString, page);
        QFETCH(int, interval);
        // Made on a whole second: a new settings file dates its events to that moment.
        Window w(QDateTime(QDate(2024, 5, 7), QTime(9, 0)));
        w.fake.now.setTime(time);
        TForm_Main& f = *w.form;
        auto* inner = MainTabs(f)->findChild<QWidget*>(page);
        if (inner && MainTabs(f)->indexOf(inner) >= 0)
            MainTabs(f)->setCurrentWidget(inner);
        else
            f.ShowOuterPage(OuterPages(f)->findChild<QWidget*>(page));
        TickSource& source = SourceOf(f);
        QTimer* timer = TimerOf(f);
        timer->start();
        source.TimerExpired(); // the page change's own tick: the next step shows what followed it
        QCOMPARE(timer->interval(), 200);
        source.TimerExpired();
        QCOMPARE(timer->interval(), interval);
    }

    void inputWakesTheTickAtItsNextStep()
    {
        Window w(QDateTime(QDate(2024, 5, 7), QTime(9, 0)));
        w.fake.now.setTime(QTime(9, 0, 0, 30));
        TForm_Main& f = *w.form;
        TickSource& source = SourceOf(f);
        QTimer* timer = TimerOf(f);
        timer->start();
        source.TimerExpired();
        source.TimerExpired();
        QCOMPARE(timer->interval(), 1000);

        // The program's own repaints and layout do not wake it.
        QEvent update(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(WorkTimeControl<QLabel>(f, "Label_Ido"), &update);
        QEvent layout(QEvent::LayoutRequest);
        QCoreApplication::sendEvent(WorkTimeControl<QWidget>(f, "TabSheet_Kelvator"), &layout);
        QCOMPARE(timer->interval(), 1000);

        // A key does: the sleep ends within a step, and the step after it runs too.
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QCoreApplication::sendEvent(WorkTimeControl<TMonthCalendar>(f, "MonthCalendar1"), &key);
        QVERIFY(timer->isActive());
        QVERIFY(timer->interval() <= 200);
        w.fake.now = w.fake.now.addMSecs(150);
        source.TimerExpired();
        QCOMPARE(timer->interval(), 200);
        source.TimerExpired();
        QCOMPARE(timer->interval(), 1000);

        // The year grid's blink is the program's own too.
        QTimerEvent blink(0);
        source.NoteInput(f.findChild<QTimer*>(QStringLiteral("Timer_AktualisNapVillogtatas")), &blink);
        QCOMPARE(timer->interval(), 1000);

        // A day square's click moves the calendar without a tick: the next step shows it.
        source.TimerExpired();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(DaySquares(f)[0], &press);
        QCOMPARE(WorkTimeControl<TMonthCalendar>(f, "MonthCalendar1")->selectedDate(), QDate(2024, 5, 8));
        QVERIFY(timer->interval() <= 200);

        // A stopped clock stays stopped.
        timer->stop();
        source.TimerExpired();
        QVERIFY(!timer->isActive());
    }

    // The source alone, on a fake tick: how long it sleeps after a tick.
    void sleepFollowsWhatIsShown_data()
    {
        QTest::addColumn<int>("nowMs");
        QTest::addColumn<bool>("everyStep");
        QTest::addColumn<bool>("nextTickReadsThisOne");
        QTest::addColumn<QList<int>>("phases");
        QTest::addColumn<int>("interval");
        QTest::addRow("the wall clock alone, after a second") << 40 << false << false << QList<int>{} << 1000;
        QTest::addRow("the wall clock alone, late in a second")
            << 640 << false << false << QList<int>{} << 400;
        QTest::addRow("an event's phase comes first") << 50 << false << false << QList<int>{700} << 800;
        QTest::addRow("on an event's phase itself") << 300 << false << false << QList<int>{300, 900} << 200;
        QTest::addRow("the wall clock's second comes first")
            << 850 << false << false << QList<int>{500} << 200;
        QTest::addRow("every step must run") << 40 << true << false << QList<int>{} << 200;
        QTest::addRow("the next tick reads this one") << 40 << false << true << QList<int>{} << 200;
    }
    void sleepFollowsWhatIsShown()
    {
        QFETCH(int, nowMs);
        QFETCH(bool, everyStep);
        QFETCH(bool, nextTickReadsThisOne);
        QFETCH(QList<int>, phases);
        QFETCH(int, interval);
        Paced p;
        p.source.Start();
        QVERIFY(p.source.Timer()->isActive());
        QCOMPARE(p.Interval(), kTickStepMs);
        QCOMPARE(p.ticks, 0); // starting is not a tick
        p.now.setTime(QTime(9, 0, 0, nowMs));
        p.needs.everyStep = everyStep;
        p.needs.phasesMs.assign(phases.begin(), phases.end());
        p.nextTickReadsThisOne = nextTickReadsThisOne;
        p.source.TimerExpired();
        QCOMPARE(p.ticks, 1);
        QCOMPARE(p.Interval(), interval);
        QVERIFY(p.source.Timer()->isActive());
        // Nothing changed: the same pace again, one tick each time.
        p.source.TimerExpired();
        QCOMPARE(p.ticks, 2);
        QCOMPARE(p.Interval(), interval);
        QCOMPARE(p.source.TickAndPace() * kTickStepMs, interval);
    }

    void onlyInputWakesTheSleep_data()
    {
        QTest::addColumn<Input>("input");
        QTest::addColumn<bool>("wakes");
        QTest::addRow("a key") << Input::Key << true;
        QTest::addRow("a queued call of the program's") << Input::User << true;
        QTest::addRow("a repaint") << Input::Repaint << false;
        QTest::addRow("a layout") << Input::Layout << false;
        QTest::addRow("its own timer's expiry") << Input::OwnTimer << false;
        QTest::addRow("the blink timer's expiry") << Input::QuietTimer << false;
        QTest::addRow("another timer's expiry") << Input::OtherTimer << true;
        QTest::addRow("anything else reaching its own timer") << Input::OwnTimerOther << true;
    }
    void onlyInputWakesTheSleep()
    {
        QFETCH(Input, input);
        QFETCH(bool, wakes);
        Paced p;
        p.now.setTime(QTime(9, 0, 0, 30));
        p.source.Start();
        p.source.TimerExpired();
        QCOMPARE(p.Interval(), 1000);

        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QEvent user(QEvent::User);
        QEvent repaint(QEvent::UpdateRequest);
        QEvent layout(QEvent::LayoutRequest);
        QTimerEvent expiry(0);
        QObject target;
        switch (input) {
        case Input::Key:
            p.source.NoteInput(&target, &key);
            break;
        case Input::User:
            p.source.NoteInput(&target, &user);
            break;
        case Input::Repaint:
            p.source.NoteInput(&target, &repaint);
            break;
        case Input::Layout:
            p.source.NoteInput(&target, &layout);
            break;
        case Input::OwnTimer:
            p.source.NoteInput(p.source.Timer(), &expiry);
            break;
        case Input::QuietTimer:
            p.source.NoteInput(&p.quietTimer, &expiry);
            break;
        case Input::OtherTimer:
            p.source.NoteInput(&p.otherTimer, &expiry);
            break;
        case Input::OwnTimerOther:
            p.source.NoteInput(p.source.Timer(), &user);
            break;
        }
        QVERIFY(p.source.Timer()->isActive());
        if (!wakes) {
            QCOMPARE(p.Interval(), 1000);
            p.source.TimerExpired();
            QCOMPARE(p.Interval(), 1000);
            return;
        }
        // The sleep ends at the next step of the same grid, and the step after it runs too.
        QVERIFY(p.Interval() <= kTickStepMs);
        p.now = p.now.addMSecs(150);
        const int needsBefore = p.needsRead;
        p.source.TimerExpired();
        QCOMPARE(p.Interval(), 200);
        QCOMPARE(p.needsRead, needsBefore); // what is shown does not matter then
        p.source.TimerExpired();
        QCOMPARE(p.Interval(), 1000);
    }

    // A tick woken at every step runs at every step: an awake timer is not restarted off its grid.
    void inputWhileAwakeKeepsTheGrid()
    {
        Paced p;
        p.needs.everyStep = true;
        p.source.Start();
        p.source.TimerExpired();
        QCOMPARE(p.Interval(), 200);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        p.source.NoteInput(&p.owner, &key);
        QCOMPARE(p.Interval(), 200);
    }

    void aStoppedTimerStaysStopped()
    {
        Paced p;
        p.now.setTime(QTime(9, 0, 0, 30));
        p.source.Start();
        p.source.TimerExpired();
        p.source.Timer()->stop();
        p.source.TimerExpired();
        QCOMPARE(p.ticks, 2); // the tick itself still runs when asked
        QVERIFY(!p.source.Timer()->isActive());
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        p.source.NoteInput(&p.owner, &key);
        QVERIFY(!p.source.Timer()->isActive());
    }
};

QTEST_MAIN(TstTick)
#include "tst_tick.moc"
