#pragma once

#include "platform/platform.h"

namespace kelvator {

// The real clock, media player, beep, boxes, dialog and tray of the desktop.
Platform MakeRealPlatform();

// The system beep and the bundled tone, both at each call.
std::function<void()> MakeBeep();

// Beside the executable; where that folder cannot be written, the user's configuration folder.
QString DefaultSettingsPath();

} // namespace kelvator
