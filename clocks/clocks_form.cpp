// The window's side of the analog face: what it shows, and when it is drawn.
#include "app/form_main.h"

#include "clocks/analog_clock.h"
#include "clocks/big_clock_page.h"
#include "widgets/tshape.h"

#include <QCheckBox>
#include <QTabWidget>

using namespace kelvator;

void TForm_Main::WireClockFace()
{
    clockFace_.SetSource([this] { return ClockFaceNow(); });
}

std::optional<ClockFaceInput> TForm_Main::ClockFaceNow() const
{
    // Nobody sees the face of a window in the tray: it is drawn when the window paints again.
    if (WindowOutOfSight())
        return std::nullopt;
    ClockFaceInput in;
    const QDateTime now = platform_.now();
    const QTime time = now.time();
    in.time = QTime(time.hour(), time.minute(), time.second()); // the face shows whole seconds
    in.dayOfWeek = now.date().dayOfWeek();
    in.overlayChoice = settingsModel_.Get().smallClockShown;
    in.blinkFlag = workEndBlinkFlag;
    in.schedule = schedule;
    if (calendarModel_.Enabled())
        in.workingDay = calendarModel_.Calendar().IsWorkingDay(now.date());
    for (size_t k = 0; k < 3; ++k)
        in.showBreak[k] = settingsModel_.Get().breaks[k].on;
    return in;
}

void TForm_Main::TickAnalogClocks(const TickMoment&)
{
    // Drawn before this tick's schedule: the faces show the previous tick's work day.
    const bool workTime = WorkTimePageShown();
    // A new face asks both boxes to paint it; the small one shrinks it when it paints.
    if (BigAnalogClockShown() || workTime)
        clockFace_.Update();
}

bool TForm_Main::WindowOutOfSight() const
{
    return (inTrayFlag && !isVisible()) || isMinimized();
}
