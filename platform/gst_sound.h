#pragma once

#include "platform/platform.h"

#include <QString>

#include <functional>
#include <memory>

namespace kelvator {

// The sound file player. Nothing it does waits: Open looks only at the start of the file (a
// regular file whose start the local audio decoders know) and checks the rest in the
// background; playing, stopping and rewinding are done by a sound thread of their own.
std::shared_ptr<SoundPlayer> MakeGstSoundPlayer();

// Plays the given sound file once per call, from the start, whole, through the same sound path.
// Used for the beep with the bundled tone.
std::function<void()> MakeGstTone(const QString& path);

} // namespace kelvator
