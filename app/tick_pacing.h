#pragma once

#include <QEvent>

#include <span>

namespace kelvator {

// The tick runs on a 200 ms grid, but between two changes of what it shows its runs are all
// alike. Every value it shows is a function of the settings and of the clock read to the
// millisecond, and each such value can only change where the clock passes a whole second of
// some reference: of the wall clock itself, of a running stopwatch's start, of an event's
// moment. A tick that saw nothing new arrive since the last one may therefore sleep over the
// grid steps before the next such passage, and wake on the same grid where the next change
// falls.
inline constexpr int kTickStepMs = 200;
inline constexpr int kMaxTickSteps = 5; // never more than a second between two ticks

// How many grid steps from now the next tick is due: the first step that reaches a moment
// whose position in its second is one of phasesMs (0-999). A phase that is now itself may
// still be settling (a comparison that turns only after the moment), so the next step is due.
int TickStepsToNextChange(int nowMsOfSecond, std::span<const int> phasesMs);

// Events that the program's own drawing and layout cause while it waits; anything else may
// bring something that a tick reads (a click, a key, a queued call, a window shown or hidden).
bool IsOwnBookkeeping(QEvent::Type type);

} // namespace kelvator
