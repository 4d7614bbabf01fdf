#include "app/tick_source.h"

#include "app/tick_pacing.h"

#include <QEvent>
#include <QTimer>

#include <algorithm>
#include <span>
#include <utility>

namespace kelvator {

TickSource::TickSource(RunTick tick, ReadNeeds needs, Clock now, QObject* parent)
    : QObject(parent)
    , tick_(std::move(tick))
    , needs_(std::move(needs))
    , now_(std::move(now))
    , timer_(new QTimer(this))
{
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(kTickStepMs);
    // Its sleeps are whole grid steps and must end on the step, not within a coarse slack.
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &TickSource::TimerExpired);
}

void TickSource::Start()
{
    timer_->start(kTickStepMs);
}

void TickSource::TimerExpired()
{
    const int interval = TickAndPace() * kTickStepMs;
    // One already on this pace keeps its grid.
    if (timer_->isActive() && timer_->interval() != interval)
        timer_->start(interval);
}

int TickSource::TickAndPace()
{
    const bool nextTickReadsThisOne = tick_();
    int steps = 1;
    if (!inputSeen_ && !nextTickReadsThisOne) {
        TickNeeds needs = needs_();
        if (!needs.everyStep) {
            needs.phasesMs.push_back(0); // the wall clock's own seconds
            steps = TickStepsToNextChange(now_().time().msec(), std::span<const int>(needs.phasesMs));
        }
    }
    inputSeen_ = false;
    return steps;
}

void TickSource::NoteInput(const QObject* watched, const QEvent* event)
{
    const QEvent::Type type = event->type();
    if (IsOwnBookkeeping(type))
        return;
    if (type == QEvent::Timer &&
        (watched == timer_ || std::ranges::find(quietTimers_, watched) != quietTimers_.end()))
        return;
    inputSeen_ = true;
    // A sleep of several steps ends at the next step of the same grid.
    if (timer_->isActive() && timer_->interval() > kTickStepMs)
        timer_->start(timer_->remainingTime() % kTickStepMs);
}

void TickSource::IgnoreTimerEvents(const QObject* timer)
{
    quietTimers_.push_back(timer);
}

} // namespace kelvator
