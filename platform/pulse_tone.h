#pragma once

#include <QByteArray>

#include <functional>

namespace kelvator {

// Plays a 16-bit PCM WAV, held in memory, into the desktop's sound server (PulseAudio, or one
// that speaks its protocol) once per call, whole, each call in a thread of its own: the call
// returns at once. Where no such server answers, the call runs the fallback instead, in that
// thread. Returns nothing when the WAV is not one it can play.
std::function<void()> MakePulseTone(const QByteArray& wav, std::function<void()> fallback);

} // namespace kelvator
