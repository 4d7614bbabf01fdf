// The window's side of the analog face: what it shows, and the work-time page's small clock.
#include "app/form_main.h"

#include "clocks/analog_clock.h"
#include "clocks/big_clock_page.h"
#include "widgets/tpaintbox.h"
#include "widgets/tshape.h"

#include <QCheckBox>
#include <QTabWidget>

using namespace kelvator;

void TForm_Main::WireClockFace()
{
    clockFace_.SetSource([this] { return ClockFaceNow(); });
    connect(&clockFace_, &ClockFace::changed, this, &TForm_Main::ShowSmallFaceChange);
    PaintBox_KisMutatosOra->onPaint = [this](QPainter& p) { PaintBox_KisMutatosOraPaint(p); };
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

void TForm_Main::ShowSmallFaceChange(const QRect& changed, qint64 previousKey)
{
    const QImage& face = clockFace_.Image();
    // The small clock follows the change if it was up to date with the face before it.
    if (smallFaceKey_ == previousKey) {
        smallFaceDirty_ |= changed;
        smallFaceKey_ = face.cacheKey();
    }
    // Only the pixels the changed blocks shrink to go to the screen.
    const int small = PaintBox_KisMutatosOra->width();
    const int faceSize = face.width();
    PaintBox_KisMutatosOra->update(
        QRect(QPoint(changed.left() * small / faceSize, changed.top() * small / faceSize),
              QPoint((changed.right() * small + faceSize - 1) / faceSize,
                     (changed.bottom() * small + faceSize - 1) / faceSize)));
}

void TForm_Main::PaintBox_KisMutatosOraPaint(QPainter& p)
{
    clockFace_.UpdateIfStale();
    const QImage& face = clockFace_.Image();
    // Shrunk from what the big face last received, at the screen's own pixel density; a
    // face that moved only its second hand changes a few of the small clock's pixels.
    const QRect box = PaintBox_KisMutatosOra->rect();
    const qreal ratio = p.device()->devicePixelRatio();
    const int pixels = qMax(1, qRound(box.width() * ratio));
    const bool current = smallFace_.width() == pixels && smallFaceKey_ == face.cacheKey();
    if (!current || !UpdateSmallClockFace(smallFace_, face, smallFaceDirty_))
        smallFace_ = SmallClockFace(face, box.width(), ratio);
    smallFaceKey_ = face.cacheKey();
    smallFaceDirty_ = QRect();
    p.drawImage(QRectF(box), smallFace_);
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
