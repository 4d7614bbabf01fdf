#pragma once

#include "widgets/colours.h"

#include <QtGlobal>

namespace kelvator {

constexpr quint32 kDayBarOrange = kOrange;
constexpr quint32 kDayBarLime = 65280;
constexpr int kWorkEndWindow = 30; // seconds of blinking after work end
constexpr int kSoundRearmAfter = 600;

enum class WorkEndSound { None = 0, Beep = 1, File = 2 };

// What one workday tick asks of the work-end signal.
struct WorkEndStep {
    quint32 barColour = kDayBarOrange;
    bool blinkFlag = false;
    bool beep = false;
    bool startSound = false; // rewind and play; the player-idle flag clears when that works
    bool rearm = false;      // set the player-idle flag again
};

// s is the second of the day, workEnd the end of the work day, previousSecond the second of the
// last tick that passed the page gate and ran all its steps (it is stored at the very end of
// such a tick, so a tick that fails midway leaves it alone); the signal acts once per second
// inside the window.
WorkEndStep StepWorkEnd(int s, int workEnd, int previousSecond, quint32 barColour, bool blinkFlag,
                        WorkEndSound sound, bool soundFileOpen, bool playerIdle);

} // namespace kelvator
