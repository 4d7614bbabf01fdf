#include "app/tick_pacing.h"

#include <algorithm>

namespace kelvator {

int TickStepsToNextChange(int nowMsOfSecond, std::span<const int> phasesMs)
{
    int steps = kMaxTickSteps;
    for (int phase : phasesMs) {
        const int ahead = ((phase - nowMsOfSecond) % 1000 + 1000) % 1000;
        if (ahead == 0)
            return 1;
        steps = std::min(steps, (ahead + kTickStepMs - 1) / kTickStepMs);
    }
    return std::max(1, steps);
}

bool IsOwnBookkeeping(QEvent::Type type)
{
    switch (type) {
    case QEvent::Paint:
    case QEvent::UpdateRequest:
    case QEvent::UpdateLater:
    case QEvent::LayoutRequest:
    case QEvent::Polish:
    case QEvent::PolishRequest:
    case QEvent::ChildAdded:
    case QEvent::ChildPolished:
    case QEvent::ChildRemoved:
    case QEvent::DeferredDelete:
    case QEvent::ToolTipChange:
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::ContentsRectChange:
    case QEvent::DynamicPropertyChange:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        return true;
    default:
        return false;
    }
}

} // namespace kelvator
