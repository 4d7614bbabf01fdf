#pragma once

#include "app/platform.h"

#include <QString>

#include <functional>
#include <memory>

namespace kelvator {

// The sound file player, a GStreamer playbin. Open returns only after the file has been
// decoded far enough to know it is a sound (bounded wait); the other calls return at once.
std::shared_ptr<SoundPlayer> MakeGstSoundPlayer();

// Plays the given sound file once per call, from the start, through the same sound path.
// Used for the beep with the bundled tone.
std::function<void()> MakeGstTone(const QString& path);

} // namespace kelvator
