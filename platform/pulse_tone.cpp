#include "platform/pulse_tone.h"

#include <QtEndian>

#include <pulse/pulseaudio.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

namespace kelvator {

namespace {

// Beeps still on their way at once; more means the sound server has stopped taking them.
constexpr int kMaxBeeps = 8;
constexpr pa_usec_t kStreamBuffer = 2 * PA_USEC_PER_SEC;

struct Pcm {
    pa_sample_spec format{};
    QByteArray samples;
};

// The format and samples of a 16-bit PCM WAV file.
std::optional<Pcm> ReadWav(const QByteArray& wav)
{
    if (wav.size() < 12 || !wav.startsWith("RIFF") || wav.mid(8, 4) != "WAVE")
        return std::nullopt;
    Pcm pcm;
    bool format = false;
    for (qsizetype at = 12; at + 8 <= wav.size();) {
        const QByteArray id = wav.mid(at, 4);
        const quint32 size = qFromLittleEndian<quint32>(wav.constData() + at + 4);
        const qsizetype body = at + 8;
        if (size > quint64(wav.size() - body))
            return std::nullopt;
        if (id == "fmt " && size >= 16) {
            const auto* p = wav.constData() + body;
            const quint16 tag = qFromLittleEndian<quint16>(p);
            const quint16 channels = qFromLittleEndian<quint16>(p + 2);
            const quint32 rate = qFromLittleEndian<quint32>(p + 4);
            const quint16 bits = qFromLittleEndian<quint16>(p + 14);
            if (tag != 1 || bits != 16 || channels == 0 || channels > PA_CHANNELS_MAX || rate == 0)
                return std::nullopt;
            pcm.format = {PA_SAMPLE_S16LE, rate, quint8(channels)};
            format = true;
        } else if (id == "data" && format) {
            pcm.samples = wav.mid(body, size);
            return pa_sample_spec_valid(&pcm.format) && !pcm.samples.isEmpty() ? std::optional(pcm)
                                                                               : std::nullopt;
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

// Runs the connection's events until the condition holds; false when the connection fails.
template <typename Condition> bool RunUntil(pa_mainloop* loop, Condition done)
{
    while (!done()) {
        if (pa_mainloop_iterate(loop, 1, nullptr) < 0)
            return false;
    }
    return true;
}

// Writes the whole sound and drains it: the server starts the stream with all of it there, and
// the drain ends once the sink has taken it all. False where no server answers.
//
// The stream's buffer is as long as a sink's longest and it asks for no latency, as paplay's
// does: a stream that wants less makes the server shorten its sink's latency first, and a sink
// that had been running far ahead then plays the new stream only after what it had prepared, up
// to two seconds late. A stream per beep, closed at its end, keeps nothing open while the program
// waits for hours.
bool PlayWhole(const Pcm& pcm)
{
    const std::unique_ptr<pa_mainloop, decltype(&pa_mainloop_free)> loop(pa_mainloop_new(), pa_mainloop_free);
    if (!loop)
        return false;
    const std::unique_ptr<pa_context, decltype(&pa_context_unref)> context(
        pa_context_new(pa_mainloop_get_api(loop.get()), "Kelvator"), pa_context_unref);
    if (!context || pa_context_connect(context.get(), nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0)
        return false;
    auto settled = [&] {
        const pa_context_state_t state = pa_context_get_state(context.get());
        return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
    };
    if (!RunUntil(loop.get(), settled) || pa_context_get_state(context.get()) != PA_CONTEXT_READY) {
        pa_context_disconnect(context.get());
        return false;
    }
    // Connected: from here on a failure is the sound's, and is not played another way.
    if (pa_stream* stream = pa_stream_new(context.get(), "beep", &pcm.format, nullptr)) {
        auto ready = [&] {
            const pa_stream_state_t state = pa_stream_get_state(stream);
            return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
        };
        pa_buffer_attr buffer{};
        buffer.maxlength = buffer.prebuf = buffer.minreq = buffer.fragsize = std::uint32_t(-1);
        buffer.tlength = std::uint32_t(pa_usec_to_bytes(kStreamBuffer, &pcm.format));
        if (pa_stream_connect_playback(stream, nullptr, &buffer, PA_STREAM_NOFLAGS, nullptr, nullptr) == 0 &&
            RunUntil(loop.get(), ready) && pa_stream_get_state(stream) == PA_STREAM_READY &&
            pa_stream_write(stream, pcm.samples.constData(), size_t(pcm.samples.size()), nullptr, 0,
                            PA_SEEK_RELATIVE) == 0) {
            // The stream starts when it is drained, with the whole beep in it.
            bool drained = false;
            pa_operation* drain = pa_stream_drain(
                stream, [](pa_stream*, int, void* flag) { *static_cast<bool*>(flag) = true; }, &drained);
            if (drain) {
                RunUntil(loop.get(),
                         [&] { return drained || pa_operation_get_state(drain) != PA_OPERATION_RUNNING; });
                pa_operation_unref(drain);
            }
        }
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
    }
    pa_context_disconnect(context.get());
    return true;
}

} // namespace

std::function<void()> MakePulseTone(const QByteArray& wav, std::function<void()> fallback)
{
    std::optional<Pcm> pcm = ReadWav(wav);
    if (!pcm)
        return {};
    auto shared = std::make_shared<const Pcm>(std::move(*pcm));
    auto running = std::make_shared<std::atomic<int>>(0);
    return [shared, running, fallback = std::move(fallback)] {
        if (running->fetch_add(1) >= kMaxBeeps) {
            running->fetch_sub(1);
            return;
        }
        // Waiting for the server is the thread's, never the caller's.
        std::thread([shared, running, fallback] {
            if (!PlayWhole(*shared) && fallback)
                fallback();
            running->fetch_sub(1);
        }).detach();
    };
}

} // namespace kelvator
