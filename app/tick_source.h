#pragma once

#include <QDateTime>
#include <QObject>

#include <functional>
#include <vector>

class QEvent;
class QTimer;

namespace kelvator {

// What the window shows now that decides how long the tick may sleep.
struct TickNeeds {
    // Something shown turns within a second, or the window is still starting: every step runs.
    bool everyStep = false;
    // Where in its second (0-999) something shown changes, besides the wall clock's own seconds.
    std::vector<int> phasesMs;
};

// The 200 ms tick: a timer on a fixed grid that runs the window's tick and then sleeps over the
// steps in which nothing shown can change (see tick_pacing.h), waking at the next step when
// anything but the program's own drawing happens.
class TickSource : public QObject {
    Q_OBJECT

public:
    // Runs one tick; true when it changed something the next tick reads, which then runs at
    // the next step.
    using RunTick = std::function<bool()>;
    using ReadNeeds = std::function<TickNeeds()>;
    using Clock = std::function<QDateTime()>;

    TickSource(RunTick tick, ReadNeeds needs, Clock now, QObject* parent);

    // Ticks from the next step on.
    void Start();
    QTimer* Timer() const { return timer_; }
    // The timer's expiry: the tick, then as many grid steps of sleep as leave nothing unseen.
    // A timer someone stopped stays stopped.
    void TimerExpired();
    // The tick, then how many 200 ms steps may pass before the next one.
    int TickAndPace();
    // Every event the program receives passes here: anything but the program's own drawing
    // wakes a sleeping tick at its next grid step.
    void NoteInput(const QObject* watched, const QEvent* event);
    // Another of the program's own timers, whose expiries are not input either.
    void IgnoreTimerEvents(const QObject* timer);

private:
    RunTick tick_;
    ReadNeeds needs_;
    Clock now_;
    QTimer* timer_ = nullptr;
    std::vector<const QObject*> quietTimers_;
    bool inputSeen_ = false;
};

} // namespace kelvator
