#pragma once

#include "calendar/tdatetime.h"

#include <QString>
#include <QTime>

namespace kelvator {

enum StopwatchState { kStopwatchIdle = 0, kStopwatchRunning = 1, kStopwatchStopped = 2 };
constexpr int kMaxLaps = 6;
constexpr double kAutoStopDays = 0.5; // a stopwatch stops itself after 12 hours

// Hours, minutes and seconds of an elapsed span, as a time of day, milliseconds dropped.
struct Elapsed {
    int h = 0;
    int m = 0;
    int s = 0;
    int Seconds() const { return h * 3600 + m * 60 + s; }
};
// A span below zero (the clock set back after the start) reads as zero.
Elapsed ElapsedOf(double days);

// "8:05:09", or with the 12-hour display "Du. 1:05:09" in the afternoon.
QString TimeStamp(const QTime& time, bool twelveHour);
// "1:05:09", "5:09" or "9".
QString ElapsedText(const Elapsed& e);
// "R1: 0:01:23"
QString LapLine(int lap, const Elapsed& e);

} // namespace kelvator
