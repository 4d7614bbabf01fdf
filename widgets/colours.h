#pragma once

#include <QtGlobal>

namespace kelvator {

// Colours shared by several pages, as 0x00BBGGRR values: logic and the settings file keep them
// so, and only the widget that paints one turns it into a QColor.
constexpr quint32 kOrange = 0x000080FF; // the work bars; the year grid's colour at first start

} // namespace kelvator
