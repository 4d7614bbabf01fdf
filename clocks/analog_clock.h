#pragma once

#include "worktime/schedule.h"

#include <QImage>
#include <QPoint>
#include <QTime>

#include <array>
#include <optional>

namespace kelvator {

// What the big analog face needs to know of the moment and of the work day.
struct ClockFaceInput {
    QTime time;
    int dayOfWeek = 1;     // ISO, Monday 1
    int overlayChoice = 1; // 0 all day on workdays, 1 during work time only, 2 never
    bool blinkFlag = false;
    WorkSchedule schedule;
    std::array<bool, 3> showBreak{};
    // Set by the work calendar; otherwise Monday to Friday are the working days.
    std::optional<bool> workingDay;
    bool operator==(const ClockFaceInput&) const = default;
};

// The point at radius r for a time of day in seconds, on the face centred at (140, 142).
QPoint ClockPoint(int seconds, double radius);

// Renders the whole face onto surface (280 x 280) from the artwork.
void DrawClockFace(QImage& surface, const QImage& artwork, const ClockFaceInput& in);

// The small clock: the whole face shrunk to size x size on a screen of the given device pixel
// ratio. It holds size x ratio device pixels, so it is as sharp as the big face wherever it is
// shown, and says so by its own device pixel ratio.
QImage SmallClockFace(const QImage& face, int size, qreal devicePixelRatio);

// The stopwatch face: "Stopper" on the dial, hands for the elapsed hours, minutes and seconds;
// the minute hand appears after 55 seconds, the hour hand after 55 minutes.
void DrawStopwatchFace(QImage& surface, const QImage& artwork, int h, int m, int s);

// Shadows, then hands, then the centre cap, at angles in degrees clockwise from 12; the
// stopwatch leaves out the hour and minute hands until the time reaches them.
void DrawHands(class Canvas& canvas, double hourAngle, double minuteAngle, double secondAngle,
               bool showHour = true, bool showMinute = true);

} // namespace kelvator
