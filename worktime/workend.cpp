#include "worktime/workend.h"

namespace kelvator {

WorkEndStep StepWorkEnd(int s, int workEnd, int previousSecond, quint32 barColour, bool blinkFlag,
                        WorkEndSound sound, bool soundFileOpen, bool playerIdle)
{
    WorkEndStep step;
    step.barColour = barColour;
    step.blinkFlag = blinkFlag;
    const int d = s - workEnd;
    if (d < 0 || d > kWorkEndWindow) {
        step.barColour = kDayBarOrange;
        step.blinkFlag = false;
    } else if (s != previousSecond) {
        const bool toLime = barColour == kDayBarOrange;
        step.barColour = toLime ? kDayBarLime : kDayBarOrange;
        step.blinkFlag = toLime;
        step.beep = sound == WorkEndSound::Beep;
        step.startSound = sound == WorkEndSound::File && soundFileOpen && playerIdle;
    }
    step.rearm = d >= kSoundRearmAfter || d < 0;
    return step;
}

} // namespace kelvator
