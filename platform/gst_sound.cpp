#include "platform/gst_sound.h"

#include <QFile>

#include <gst/gst.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
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

constexpr GstClockTime kDecodeWait = 5 * GST_SECOND;
// A sound that has ended for GStreamer may still wait in the sound server's buffer, which can
// hold two seconds when nothing asks for less; closing the stream then takes it back unheard.
// So a stream is kept this long after its end.
constexpr std::chrono::milliseconds kDrainHold{2500};
// More beeps than this still sounding means the sound server has stopped taking them.
constexpr size_t kMaxTones = 8;
// The sound server's stream for a beep holds less than the beep. GStreamer's PulseAudio sink
// starts a stream only once its buffer is full or the sound has ended, and a sound that ends
// before then is handed over after the start: a server running ahead with a long buffer has
// already passed the beep's beginning, and a beep shorter than the buffer loses part of itself
// or all of it.
constexpr guint64 kToneBufferUs = 40000;
constexpr guint64 kToneSegmentUs = 10000;

// A file descriptor, closed with its owner.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd)
        : fd_(fd)
    {
    }
    Fd(Fd&& other) noexcept
        : fd_(std::exchange(other.fd_, -1))
    {
    }
    Fd& operator=(Fd&& other) noexcept
    {
        if (this != &other) {
            Reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { Reset(); }

    int Get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Where GStreamer reads this very file: the one checked, not what the name points to later.
    QByteArray Location() const { return QByteArrayLiteral("/proc/self/fd/") + QByteArray::number(fd_); }

private:
    void Reset()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    int fd_ = -1;
};

// Opens a sound file without waiting for anything: only a regular file is taken, so a FIFO, a
// device or a socket put in its place can hold up neither the window nor the sound thread.
Fd OpenSoundFile(const QString& path)
{
    if (path.isEmpty())
        return {};
    Fd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st = {};
    if (!fd || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    return fd;
}

// decodebin's GstAutoplugSelectResult, which no public header carries.
constexpr int kAutoplugTry = 0;
constexpr int kAutoplugSkip = 2;

// Only what turns a local file into sound may be plugged: demuxers, and parsers and decoders of
// audio. Adaptive-streaming demuxers, anything that handles addresses and anything networked
// would fetch what a playlist or a manifest names.
bool LocalAudioFactory(GstElementFactory* factory)
{
    const gchar* metadata = gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS);
    if (!metadata || gst_element_factory_get_uri_type(factory) != GST_URI_UNKNOWN)
        return false;
    const QByteArray klass(metadata);
    for (const char* word : {"Adaptive", "Network", "Source", "Sink", "Protocol"}) {
        if (klass.contains(word))
            return false;
    }
    if (klass.contains("Demuxer"))
        return true;
    return (klass.contains("Decoder") || klass.contains("Parser")) && klass.contains("Audio");
}

int OnAutoplugSelect(GstElement*, GstPad*, GstCaps*, GstElementFactory* factory, gpointer)
{
    return LocalAudioFactory(factory) ? kAutoplugTry : kAutoplugSkip;
}

// The first audio stream the decoders expose goes on to the sink; any other stays unlinked.
void OnPadAdded(GstElement*, GstPad* pad, gpointer data)
{
    GstCaps* caps = gst_pad_get_current_caps(pad);
    if (!caps)
        caps = gst_pad_query_caps(pad, nullptr);
    const bool audio = caps && gst_caps_get_size(caps) > 0 &&
                       g_str_has_prefix(gst_structure_get_name(gst_caps_get_structure(caps, 0)), "audio/");
    if (caps)
        gst_caps_unref(caps);
    if (!audio)
        return;
    GstPad* input = gst_element_get_static_pad(static_cast<GstElement*>(data), "sink");
    if (!gst_pad_is_linked(input))
        gst_pad_link(pad, input);
    gst_object_unref(input);
}

// file → local decoders → audioconvert → audioresample → sink. Takes the sink; nullptr where an
// element is missing.
GstElement* BuildChain(const Fd& fd, GstElement* sink)
{
    GstElement* source = gst_element_factory_make("filesrc", nullptr);
    GstElement* decoder = gst_element_factory_make("decodebin", nullptr);
    GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
    GstElement* resample = gst_element_factory_make("audioresample", nullptr);
    if (!sink || !source || !decoder || !convert || !resample) {
        for (GstElement* e : {sink, source, decoder, convert, resample}) {
            if (e)
                gst_object_unref(gst_object_ref_sink(e));
        }
        return nullptr;
    }
    GstElement* pipeline = gst_pipeline_new(nullptr);
    gst_bin_add_many(GST_BIN(pipeline), source, decoder, convert, resample, sink, nullptr);
    g_object_set(source, "location", fd.Location().constData(), nullptr);
    if (!gst_element_link(source, decoder) || !gst_element_link_many(convert, resample, sink, nullptr)) {
        gst_object_unref(pipeline);
        return nullptr;
    }
    g_signal_connect(decoder, "autoplug-select", G_CALLBACK(OnAutoplugSelect), nullptr);
    g_signal_connect(decoder, "pad-added", G_CALLBACK(OnPadAdded), convert);
    return pipeline;
}

// What GStreamer's type finders make of the start of the file; all of it in memory, so nothing
// waits. Returns the likeliest type, or nullptr.
GstCaps* TypeOfStart(const QByteArray& head, guint64 length)
{
    struct Found {
        const QByteArray* head;
        guint64 length;
        guint probability = 0;
        GstCaps* caps = nullptr;
    } found{&head, length};
    GstTypeFind find = {};
    find.data = &found;
    find.peek = [](gpointer data, gint64 offset, guint size) -> const guint8* {
        const auto* f = static_cast<const Found*>(data);
        if (offset < 0 || offset + size > f->head->size())
            return nullptr; // only the start is read
        return reinterpret_cast<const guint8*>(f->head->constData()) + offset;
    };
    find.suggest = [](gpointer data, guint probability, GstCaps* caps) {
        auto* f = static_cast<Found*>(data);
        if (probability <= f->probability)
            return;
        if (f->caps)
            gst_caps_unref(f->caps);
        f->caps = gst_caps_ref(caps);
        f->probability = probability;
    };
    find.get_length = [](gpointer data) { return static_cast<const Found*>(data)->length; };
    GList* finders = gst_type_find_factory_get_list();
    for (GList* l = finders; l && found.probability < GST_TYPE_FIND_MAXIMUM; l = l->next)
        gst_type_find_factory_call_function(GST_TYPE_FIND_FACTORY(l->data), &find);
    gst_plugin_feature_list_free(finders);
    return found.caps;
}

// Enough of a file's start for the type finders to know a sound.
constexpr qsizetype kStartRead = qsizetype(64) * 1024;

// Whether the file starts as something the local decoders take. Reads only its start.
bool LooksLikeSound(const Fd& fd)
{
    struct stat st = {};
    if (::fstat(fd.Get(), &st) != 0)
        return false;
    QByteArray head(kStartRead, Qt::Uninitialized);
    const ssize_t got = ::pread(fd.Get(), head.data(), size_t(head.size()), 0);
    if (got <= 0)
        return false;
    head.truncate(got);
    GstCaps* caps = TypeOfStart(head, guint64(st.st_size));
    if (!caps)
        return false;
    GList* all = gst_element_factory_list_get_elements(GST_ELEMENT_FACTORY_TYPE_DECODABLE, GST_RANK_MARGINAL);
    GList* takers = gst_element_factory_list_filter(all, caps, GST_PAD_SINK, FALSE);
    bool taken = false;
    for (GList* l = takers; l && !taken; l = l->next)
        taken = LocalAudioFactory(GST_ELEMENT_FACTORY(l->data));
    gst_plugin_feature_list_free(takers);
    gst_plugin_feature_list_free(all);
    gst_caps_unref(caps);
    return taken;
}

// True when the file decodes to sound: prerolled into a silent sink, an audio stream reached
// it. Waits at most kDecodeWait; runs in a thread of its own.
bool Decodes(const Fd& fd)
{
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    if (sink)
        g_object_set(sink, "sync", FALSE, nullptr);
    GstElement* pipeline = BuildChain(fd, sink);
    if (!pipeline)
        return false;
    bool prerolled = false;
    const GstStateChangeReturn change = gst_element_set_state(pipeline, GST_STATE_PAUSED);
    if (change == GST_STATE_CHANGE_SUCCESS) {
        prerolled = true;
    } else if (change == GST_STATE_CHANGE_ASYNC) {
        GstBus* bus = gst_element_get_bus(pipeline);
        GstMessage* message = gst_bus_timed_pop_filtered(
            bus, kDecodeWait, static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR));
        if (message) {
            prerolled = GST_MESSAGE_TYPE(message) == GST_MESSAGE_ASYNC_DONE;
            gst_message_unref(message);
        }
        gst_object_unref(bus);
    }
    GstPad* input = gst_element_get_static_pad(sink, "sink");
    const bool heard = prerolled && gst_pad_is_linked(input);
    gst_object_unref(input);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return heard;
}

// GStreamer's state changes can wait: for the sound server, for a stream to drain, for a file.
// They all happen here, in one thread and in the order asked; the window's thread only queues
// its requests and never waits for one. The thread lives as long as the process.
class SoundThread {
public:
    using Clock = std::chrono::steady_clock;

    static void Post(std::function<void()> task) { PostAfter(Clock::duration::zero(), std::move(task)); }
    static void PostAfter(Clock::duration delay, std::function<void()> task)
    {
        static SoundThread* const thread = new SoundThread; // ends with the process, never joined
        {
            const std::lock_guard<std::mutex> lock(thread->mutex_);
            // Tasks due at the same moment keep their order.
            thread->tasks_.emplace(Clock::now() + delay, std::move(task));
        }
        thread->wake_.notify_one();
    }

private:
    SoundThread()
    {
        std::thread([this] { Run(); }).detach();
    }

    [[noreturn]] void Run()
    {
        for (;;) {
            std::function<void()> task;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                while (tasks_.empty() || tasks_.begin()->first > Clock::now()) {
                    if (tasks_.empty())
                        wake_.wait(lock);
                    else
                        wake_.wait_until(lock, tasks_.begin()->first);
                }
                task = std::move(tasks_.begin()->second);
                tasks_.erase(tasks_.begin());
            }
            task();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::multimap<Clock::time_point, std::function<void()>> tasks_;
};

// One sound, played once from its start into the desktop's sound server. Made, changed and
// dropped in the sound thread only.
class Voice {
public:
    // Runs in the sound thread when the sound has ended (true) or failed (false).
    using Finished = std::function<void(Voice*, bool ended)>;
    // A short buffer is for sounds shorter than the usual fifth of a second.
    static std::shared_ptr<Voice> Make(Fd fd, Finished onFinished, bool shortBuffer = false)
    {
        GstElement* pipeline = BuildChain(fd, gst_element_factory_make("autoaudiosink", nullptr));
        if (!pipeline)
            return nullptr;
        if (shortBuffer)
            g_signal_connect(pipeline, "deep-element-added", G_CALLBACK(&Voice::OnElementAdded), nullptr);
        auto voice = std::shared_ptr<Voice>(new Voice(std::move(fd), pipeline, std::move(onFinished)));
        GstBus* bus = gst_element_get_bus(pipeline);
        gst_bus_set_sync_handler(bus, &Voice::OnMessage, new std::weak_ptr<Voice>(voice),
                                 [](gpointer data) { delete static_cast<std::weak_ptr<Voice>*>(data); });
        gst_object_unref(bus);
        return voice;
    }
    Voice(const Voice&) = delete;
    Voice& operator=(const Voice&) = delete;
    ~Voice()
    {
        // Stopping joins GStreamer's threads; only then may the file go.
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        GstBus* bus = gst_element_get_bus(pipeline_);
        gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
        gst_object_unref(bus);
        gst_object_unref(pipeline_);
    }

    bool Set(GstState state) { return gst_element_set_state(pipeline_, state) != GST_STATE_CHANGE_FAILURE; }

private:
    Voice(Fd fd, GstElement* pipeline, Finished onFinished)
        : fd_(std::move(fd))
        , pipeline_(pipeline)
        , onFinished_(std::move(onFinished))
    {
    }

    // The desktop's sink appears inside the automatic one when that gets ready.
    static void OnElementAdded(GstBin*, GstBin*, GstElement* element, gpointer)
    {
        if (g_object_class_find_property(G_OBJECT_GET_CLASS(element), "buffer-time") &&
            g_object_class_find_property(G_OBJECT_GET_CLASS(element), "latency-time"))
            g_object_set(element, "buffer-time", gint64(kToneBufferUs), "latency-time",
                         gint64(kToneSegmentUs), nullptr);
    }

    // Runs in whichever thread posts the message; only hands work to the sound thread.
    static GstBusSyncReply OnMessage(GstBus*, GstMessage* message, gpointer data)
    {
        const GstMessageType type = GST_MESSAGE_TYPE(message);
        if (type == GST_MESSAGE_EOS || type == GST_MESSAGE_ERROR) {
            SoundThread::Post(
                [weak = *static_cast<std::weak_ptr<Voice>*>(data), ended = type == GST_MESSAGE_EOS] {
                    if (const std::shared_ptr<Voice> voice = weak.lock(); voice && voice->onFinished_)
                        std::exchange(voice->onFinished_, nullptr)(voice.get(), ended);
                });
        }
        return GST_BUS_DROP; // nobody reads the bus: nothing may pile up on it
    }

    Fd fd_;
    GstElement* pipeline_;
    Finished onFinished_;
};

// Keeps a sound's stream until the sound server has played what it holds of it.
void DropLater(std::shared_ptr<Voice> voice)
{
    SoundThread::PostAfter(kDrainHold, [voice = std::move(voice)]() mutable { voice.reset(); });
}

// The sound file's playback as the sound thread keeps it. Stop keeps the position, as the
// program's player always has; a sound that has played to its end stays there until a rewind.
class Track : public std::enable_shared_from_this<Track> {
public:
    void Play(Fd fd)
    {
        if (atEnd_)
            return;
        if (voice_) {
            voice_->Set(GST_STATE_PLAYING);
            return;
        }
        if (!GstReady())
            return;
        voice_ = Voice::Make(std::move(fd), [weak = weak_from_this()](Voice* voice, bool ended) {
            if (const std::shared_ptr<Track> track = weak.lock(); track && track->voice_.get() == voice)
                track->Ended(ended);
        });
        if (voice_ && !voice_->Set(GST_STATE_PLAYING))
            voice_.reset();
    }
    void Pause()
    {
        if (voice_)
            voice_->Set(GST_STATE_PAUSED);
    }
    void Rewind()
    {
        voice_.reset();
        atEnd_ = false;
    }

private:
    // A finished sound gives its stream back once it has been heard, so the sound server may rest.
    void Ended(bool ended)
    {
        if (ended)
            DropLater(std::move(voice_));
        voice_.reset();
        atEnd_ = true;
    }

    std::shared_ptr<Voice> voice_;
    bool atEnd_ = false;
};

// Lets the last owner of a sound-thread object go in the sound thread, where its pipeline stops.
template <typename T> void DropInSoundThread(std::shared_ptr<T>& owned)
{
    if (owned)
        SoundThread::Post([dropped = std::move(owned)]() mutable { dropped.reset(); });
}

class GstSoundPlayer final : public SoundPlayer {
public:
    GstSoundPlayer() = default;
    GstSoundPlayer(const GstSoundPlayer&) = delete;
    GstSoundPlayer& operator=(const GstSoundPlayer&) = delete;
    ~GstSoundPlayer() override { DropInSoundThread(track_); }

    // Takes a regular file whose start is a sound the local decoders know. Whether it decodes
    // all the way is found out in the background; a file that does not is not played.
    bool Open(const QString& path) override
    {
        if (!GstReady())
            return false;
        Fd fd = OpenSoundFile(path);
        if (!fd || !LooksLikeSound(fd))
            return false;
        DropInSoundThread(track_);
        path_ = path;
        track_ = std::make_shared<Track>();
        decodes_ = std::make_shared<std::atomic<int>>(kChecking);
        std::thread([fd = std::move(fd), decodes = decodes_] {
            decodes->store(Decodes(fd) ? kDecodes : kFails);
        }).detach();
        return true;
    }
    bool Close() override
    {
        if (!track_)
            return false;
        DropInSoundThread(track_);
        return true;
    }
    // The file is looked at again at every play: it may have been replaced since it was opened.
    bool Play() override
    {
        if (!track_ || decodes_->load() == kFails)
            return false;
        Fd fd = OpenSoundFile(path_);
        if (!fd)
            return false;
        SoundThread::Post(
            [track = track_, file = std::make_shared<Fd>(std::move(fd))] { track->Play(std::move(*file)); });
        return true;
    }
    bool Stop() override
    {
        if (!track_)
            return false;
        SoundThread::Post([track = track_] { track->Pause(); });
        return true;
    }
    bool Rewind() override
    {
        if (!track_)
            return false;
        SoundThread::Post([track = track_] { track->Rewind(); });
        return true;
    }

private:
    enum : int { kChecking, kDecodes, kFails };
    QString path_;
    std::shared_ptr<Track> track_;
    std::shared_ptr<std::atomic<int>> decodes_;
};

// Beeps, each played whole: a beep still sounding when the next is asked for goes on to its
// end beside it. Restarting one sound for every beep cut each one off before the sound server
// had played it whenever the server held more than a second of sound in its buffer.
class Tones : public std::enable_shared_from_this<Tones> {
public:
    // Loads and tries what a beep needs before the first one is asked for, so that it starts as
    // quickly as every later one.
    static void WarmUp(const Fd& fd)
    {
        if (!GstReady() || !Decodes(fd))
            return;
        if (GstElement* sink = gst_element_factory_make("autoaudiosink", nullptr)) {
            gst_object_ref_sink(sink);
            gst_element_set_state(sink, GST_STATE_READY);
            gst_element_set_state(sink, GST_STATE_NULL);
            gst_object_unref(sink);
        }
    }

    void Start(Fd fd)
    {
        if (!GstReady())
            return;
        if (voices_.size() >= kMaxTones)
            voices_.pop_front();
        std::shared_ptr<Voice> voice = Voice::Make(
            std::move(fd),
            [weak = weak_from_this()](Voice* done, bool ended) {
                const std::shared_ptr<Tones> tones = weak.lock();
                if (!tones)
                    return;
                auto it = std::find_if(tones->voices_.begin(), tones->voices_.end(),
                                       [done](const auto& v) { return v.get() == done; });
                if (it == tones->voices_.end())
                    return;
                if (ended)
                    DropLater(std::move(*it));
                tones->voices_.erase(it);
            },
            true);
        if (voice && voice->Set(GST_STATE_PLAYING))
            voices_.push_back(std::move(voice));
    }

private:
    std::list<std::shared_ptr<Voice>> voices_;
};

} // namespace

std::shared_ptr<SoundPlayer> MakeGstSoundPlayer()
{
    return std::make_shared<GstSoundPlayer>();
}

std::function<void()> MakeGstTone(const QString& path)
{
    // The tones are dropped in the sound thread when the last copy of the function goes.
    std::shared_ptr<Tones> tones(new Tones, [](Tones* t) { SoundThread::Post([t] { delete t; }); });
    if (Fd fd = OpenSoundFile(path))
        SoundThread::Post([file = std::make_shared<Fd>(std::move(fd))] { Tones::WarmUp(*file); });
    return [tones, path] {
        Fd fd = OpenSoundFile(path);
        if (!fd)
            return;
        SoundThread::Post(
            [tones, file = std::make_shared<Fd>(std::move(fd))] { tones->Start(std::move(*file)); });
    };
}

} // namespace kelvator
