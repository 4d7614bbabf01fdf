#include "app/gst_sound.h"

#include <QFileInfo>
#include <QObject>
#include <QUrl>

#include <gst/gst.h>

#include <atomic>
#include <memory>
#include <utility>

namespace kelvator {

namespace {

bool GstReady()
{
    static const bool ready = [] {
        GError* error = nullptr;
        const bool ok = gst_init_check(nullptr, nullptr, &error) != FALSE;
        if (error)
            g_error_free(error);
        return ok;
    }();
    return ready;
}

// playbin's GstPlayFlags: audio only, with software volume; a picture in an MP3 opens no window.
constexpr guint kPlayFlagAudio = 0x2;
constexpr guint kPlayFlagSoftVolume = 0x10;
constexpr GstClockTime kDecodeWait = 5 * GST_SECOND;

GstElement* MakePlaybin(const QString& path, bool silent)
{
    GstElement* bin = gst_element_factory_make("playbin", nullptr);
    if (!bin)
        return nullptr;
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded();
    g_object_set(bin, "uri", uri.constData(), "flags", kPlayFlagAudio | kPlayFlagSoftVolume, nullptr);
    if (silent) {
        GstElement* sink = gst_element_factory_make("fakesink", nullptr);
        if (!sink) {
            gst_object_unref(bin);
            return nullptr;
        }
        g_object_set(sink, "sync", FALSE, nullptr);
        g_object_set(bin, "audio-sink", sink, nullptr);
    }
    return bin;
}

// True when the file decodes to sound: it is prerolled into a silent sink, and what the
// decoders found is looked at. Waits at most kDecodeWait.
bool Decodes(const QString& path)
{
    GstElement* bin = MakePlaybin(path, true);
    if (!bin)
        return false;
    bool prerolled = false;
    const GstStateChangeReturn change = gst_element_set_state(bin, GST_STATE_PAUSED);
    if (change == GST_STATE_CHANGE_SUCCESS) {
        prerolled = true;
    } else if (change == GST_STATE_CHANGE_ASYNC) {
        GstBus* bus = gst_element_get_bus(bin);
        GstMessage* message = gst_bus_timed_pop_filtered(
            bus, kDecodeWait, static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR));
        if (message) {
            prerolled = GST_MESSAGE_TYPE(message) == GST_MESSAGE_ASYNC_DONE;
            gst_message_unref(message);
        }
        gst_object_unref(bus);
    }
    gint audioStreams = 0;
    if (prerolled)
        g_object_get(bin, "n-audio", &audioStreams, nullptr);
    gst_element_set_state(bin, GST_STATE_NULL);
    gst_object_unref(bin);
    return audioStreams > 0;
}

// One playbin playing one file into the desktop's sound server. Its bus is serviced from
// GStreamer's own threads, which hand what matters to the main thread; so nothing depends on
// the Qt event dispatcher running a GLib main loop.
//
// Between sounds the pipeline waits in READY, not prerolled in PAUSED: from READY a sound
// starts within about a tenth of a second, from a prerolled pause PulseAudio takes half a
// second. So Rewind goes back to READY, and the end of a sound too.
class Playback {
public:
    explicit Playback(QString path)
        : path_(std::move(path))
    {
    }
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;
    ~Playback() { TearDown(); }

    bool Build()
    {
        if (bin_)
            return true;
        bin_ = MakePlaybin(path_, false);
        if (!bin_)
            return false;
        ++generation_;
        GstBus* bus = gst_element_get_bus(bin_);
        gst_bus_set_sync_handler(bus, &Playback::OnMessage, this, nullptr);
        gst_object_unref(bus);
        if (gst_element_set_state(bin_, GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) {
            TearDown();
            return false;
        }
        return true;
    }

    bool Play()
    {
        ++commands_;
        if (atEnd_)
            return true; // played from the end: nothing left until a rewind
        // A pipeline that failed (the sound server went away) is built anew.
        if (!Build())
            return false;
        return gst_element_set_state(bin_, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
    }

    bool Pause()
    {
        ++commands_;
        if (!bin_ || State() != GST_STATE_PLAYING)
            return true; // nothing is playing
        return gst_element_set_state(bin_, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
    }

    bool Rewind()
    {
        ++commands_;
        atEnd_ = false;
        if (!bin_)
            return true; // a pipeline yet to be built starts at the beginning
        return gst_element_set_state(bin_, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
    }

private:
    // Runs in whichever thread posts the message; only hands work to the main thread.
    static GstBusSyncReply OnMessage(GstBus*, GstMessage* message, gpointer data)
    {
        auto* self = static_cast<Playback*>(data);
        const int generation = self->generation_;
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
            QMetaObject::invokeMethod(
                &self->context_, [self, generation] { self->Failed(generation); }, Qt::QueuedConnection);
        } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) {
            const int commands = self->commands_;
            QMetaObject::invokeMethod(
                &self->context_, [self, generation, commands] { self->Ended(generation, commands); },
                Qt::QueuedConnection);
        }
        return GST_BUS_DROP; // nobody reads the bus: nothing may pile up on it
    }

    void Failed(int generation)
    {
        if (generation == generation_)
            TearDown();
    }

    // A finished sound gives its stream back, so the sound server may rest; the player stays
    // at the end, as a finished player does, until it is rewound.
    void Ended(int generation, int commands)
    {
        if (generation != generation_ || commands != commands_ || !bin_)
            return;
        gst_element_set_state(bin_, GST_STATE_READY);
        atEnd_ = true;
    }

    GstState State() const
    {
        GstState current = GST_STATE_VOID_PENDING;
        GstState pending = GST_STATE_VOID_PENDING;
        gst_element_get_state(bin_, &current, &pending, 0);
        return pending != GST_STATE_VOID_PENDING ? pending : current;
    }

    void TearDown()
    {
        if (!bin_)
            return;
        // Stopping joins GStreamer's threads; only then may the handler lose its target.
        gst_element_set_state(bin_, GST_STATE_NULL);
        GstBus* bus = gst_element_get_bus(bin_);
        gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
        gst_object_unref(bus);
        gst_object_unref(bin_);
        bin_ = nullptr;
        ++generation_;
    }

    QString path_;
    GstElement* bin_ = nullptr;
    bool atEnd_ = false;
    // Queued calls from GStreamer's threads land here, in the thread that made the player;
    // they are dropped with it.
    QObject context_;
    std::atomic<int> generation_{0};
    std::atomic<int> commands_{0};
};

class GstSoundPlayer final : public SoundPlayer {
public:
    bool Open(const QString& path) override
    {
        const QFileInfo info(path);
        if (path.isEmpty() || !info.isFile() || !info.isReadable() || !GstReady())
            return false;
        if (!Decodes(path))
            return false;
        playback_ = std::make_unique<Playback>(path);
        // Connects to the sound server now; without one, the pipeline is built again at Play.
        playback_->Build();
        return true;
    }
    bool Close() override
    {
        if (!playback_)
            return false;
        playback_.reset();
        return true;
    }
    bool Play() override { return playback_ && playback_->Play(); }
    // Stop keeps the position, as the program's player always has.
    bool Stop() override { return playback_ && playback_->Pause(); }
    bool Rewind() override { return playback_ && playback_->Rewind(); }

private:
    std::unique_ptr<Playback> playback_;
};

} // namespace

std::shared_ptr<SoundPlayer> MakeGstSoundPlayer()
{
    return std::make_shared<GstSoundPlayer>();
}

std::function<void()> MakeGstTone(const QString& path)
{
    auto playback = std::make_shared<Playback>(path);
    return [playback] {
        if (!GstReady())
            return;
        playback->Rewind();
        playback->Play();
    };
}

} // namespace kelvator
