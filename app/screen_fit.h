#pragma once

#include <QRect>

namespace kelvator {

// Where a window that wants the rectangle `wanted` (its frame included) goes on a screen whose
// available area is `available`: exactly where it wanted when it fits there whole; otherwise moved
// in just far enough, and where it is larger than the area, with its top left corner (the title
// bar and the menu) on the area.
QRect FitOnScreen(const QRect& wanted, const QRect& available);

} // namespace kelvator
