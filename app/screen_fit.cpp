#include "app/screen_fit.h"

#include <algorithm>

namespace kelvator {

QRect FitOnScreen(const QRect& wanted, const QRect& available)
{
    if (available.isEmpty() || available.contains(wanted))
        return wanted;
    // The far edge first, then the near one, which wins for a window larger than the area.
    const int x =
        std::max(std::min(wanted.x(), available.x() + available.width() - wanted.width()), available.x());
    const int y =
        std::max(std::min(wanted.y(), available.y() + available.height() - wanted.height()), available.y());
    return {QPoint(x, y), wanted.size()};
}

} // namespace kelvator
