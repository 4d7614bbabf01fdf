#pragma once

#include "worktime/schedule.h"

#include <QImage>
#include <QPoint>
#include <QRect>
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

// Draws face after face as DrawClockFace does, pixel for pixel, but only what moved: the dial
// with its sectors and text is kept while it stays the same, and of the hands only the boxes
// of those that moved are put back and drawn again. The surface must not be drawn on by anyone
// else in between (a surface that was is drawn whole again).
class ClockFacePainter {
public:
    // The part of the surface that changed; empty when nothing did.
    QRect Draw(QImage& surface, const QImage& artwork, const ClockFaceInput& in);

private:
    struct DialKey {
        bool afternoon = false;
        bool overlay = false;
        WorkSchedule schedule;
        std::array<bool, 3> showBreak{};
        bool elapsedDrawn = false;
        QPoint elapsedPoint;
        bool operator==(const DialKey&) const = default;
    };
    // The rounded points every hand is drawn through, and the box each hand can touch.
    struct Hands {
        std::array<QPoint, 10> points{};
        std::array<QRect, 3> boxes{}; // hour, minute, second with the centre caps
    };
    static DialKey DialKeyOf(const ClockFaceInput& in);
    static Hands HandsOf(const QTime& time);

    QImage dial_;
    std::optional<DialKey> dialKey_;
    qint64 artworkKey_ = 0;
    qint64 surfaceKey_ = 0;
    Hands hands_;
};

// The small clock: the whole face shrunk to size x size on a screen of the given device pixel
// ratio. It holds size x ratio device pixels, so it is as sharp as the big face wherever it is
// shown, and says so by its own device pixel ratio.
QImage SmallClockFace(const QImage& face, int size, qreal devicePixelRatio);
// Brings a small clock made by SmallClockFace up to date with a change of the face inside
// `changed`. False when its size is no whole fraction of the face's: it must be made anew.
bool UpdateSmallClockFace(QImage& small, const QImage& face, const QRect& changed);

// The stopwatch face: "Stopper" on the dial, hands for the elapsed hours, minutes and seconds;
// the minute hand appears after 55 seconds, the hour hand after 55 minutes.
void DrawStopwatchFace(QImage& surface, const QImage& artwork, int h, int m, int s);

// Shadows, then hands, then the centre cap, at angles in degrees clockwise from 12; the
// stopwatch leaves out the hour and minute hands until the time reaches them.
void DrawHands(class Canvas& canvas, double hourAngle, double minuteAngle, double secondAngle,
               bool showHour = true, bool showMinute = true);

} // namespace kelvator
