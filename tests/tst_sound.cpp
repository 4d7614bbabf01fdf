// The real sound path, measured where the user hears it: a private PulseAudio server with a
// null sink, whose monitor is recorded while the program's player and beep play into it.
#include "app/gst_sound.h"
#include "app/real_platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <gst/gst.h>

#include <cmath>
#include <numbers>

using namespace kelvator;

namespace {
constexpr int kRate = 44100;
constexpr int kWindow = kRate / 100; // 10 ms
constexpr double kToneSeconds = 2.0;

// A private sound server and a recorder on its sink's monitor: mono 16-bit samples at kRate.
class SoundServer {
public:
    ~SoundServer()
    {
        for (QProcess* p : {&recorder_, &server_}) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(5000))
                    p->kill();
                p->waitForFinished(5000);
            }
        }
    }

    // Starts the server and the recorder; on failure says why.
    QString Start()
    {
        if (!dir_.isValid())
            return QStringLiteral("no temporary folder");
        const QString socket = dir_.filePath(QStringLiteral("native"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // Everything the server keeps goes to the private folder; as root it needs no system mode.
        for (const char* name : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "PULSE_RUNTIME_PATH",
                                 "PULSE_STATE_PATH"})
            env.insert(QString::fromLatin1(name), dir_.path());
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        env.remove(QStringLiteral("PULSE_SERVER"));
        server_.setProcessEnvironment(env);
        server_.setProcessChannelMode(QProcess::MergedChannels);
        server_.start(QStringLiteral("pulseaudio"),
                      {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--system=false"),
                       QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--disallow-exit"),
                       QStringLiteral("--use-pid-file=no"), QStringLiteral("--realtime=false"),
                       QStringLiteral("--high-priority=false"), QStringLiteral("--log-target=stderr"),
                       QStringLiteral("-L"),
                       QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket,
                       QStringLiteral("-L"),
                       QStringLiteral("module-null-sink sink_name=kelvator_test rate=44100 channels=1")});
        if (!server_.waitForStarted(10000))
            return QStringLiteral("pulseaudio did not start: ") + server_.errorString();
        if (!QTest::qWaitFor([&] { return QFile::exists(socket) || server_.state() != QProcess::Running; },
                             20000) ||
            server_.state() != QProcess::Running)
            return QStringLiteral("pulseaudio ended: ") + QString::fromLocal8Bit(server_.readAll());
        address_ = QStringLiteral("unix:") + socket;

        QObject::connect(&recorder_, &QProcess::readyReadStandardOutput,
                         [this] { bytes_ += recorder_.readAllStandardOutput(); });
        recorder_.start(QStringLiteral("parecord"),
                        {QStringLiteral("--server=") + address_, QStringLiteral("--device=kelvator_test.monitor"),
                         QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                         QStringLiteral("--channels=1"), QStringLiteral("--raw"),
                         QStringLiteral("--latency-msec=20")});
        if (!recorder_.waitForStarted(10000))
            return QStringLiteral("parecord did not start: ") + recorder_.errorString();
        // The monitor delivers silence all the time: data flowing means the server runs.
        if (!QTest::qWaitFor([&] { return bytes_.size() > kRate / 5; }, 20000))
            return QStringLiteral("nothing recorded: ") + QString::fromLocal8Bit(recorder_.readAllStandardError()) +
                   QString::fromLocal8Bit(server_.readAll());
        return {};
    }

    QString Address() const { return address_; }
    // Samples recorded so far: a mark for the moment of a call.
    qsizetype Mark() const { return bytes_.size() / 2; }
    qint16 Sample(qsizetype i) const
    {
        const auto* p = reinterpret_cast<const uchar*>(bytes_.constData()) + 2 * i; // little-endian
        return static_cast<qint16>(p[0] | (p[1] << 8));
    }

    // For each 10 ms window from the mark on: whether it holds a tone.
    std::vector<bool> Loudness(qsizetype from) const
    {
        std::vector<bool> loud;
        for (qsizetype start = from; start + kWindow <= Mark(); start += kWindow) {
            double sum = 0;
            for (qsizetype i = start; i < start + kWindow; ++i)
                sum += double(Sample(i)) * Sample(i);
            loud.push_back(std::sqrt(sum / kWindow) > 1000); // the tones are above 4000
        }
        return loud;
    }

private:
    QTemporaryDir dir_;
    QProcess server_;
    QProcess recorder_;
    QString address_;
    QByteArray bytes_;
};

// A 2 s 440 Hz sine as a 16-bit mono WAV file.
bool WriteWav(const QString& path)
{
    const int count = int(kToneSeconds * kRate);
    QByteArray data(qsizetype(count) * 2, '\0');
    for (int i = 0; i < count; ++i)
        qToLittleEndian<qint16>(qint16(12000 * std::sin(2 * std::numbers::pi * 440 * i / kRate)), data.data() + qsizetype(2) * i);
    QByteArray wav;
    auto u32 = [&](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wav.append(b, 4);
    };
    auto u16 = [&](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wav.append(b, 2);
    };
    wav += "RIFF";
    u32(36 + data.size());
    wav += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(kRate);
    u32(kRate * 2);
    u16(2);
    u16(16);
    wav += "data";
    u32(data.size());
    wav += data;
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(wav) == wav.size();
}

// The same tone as MP3, through GStreamer's LAME encoder.
bool WriteMp3(const QString& path)
{
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(
        "audiotestsrc wave=sine freq=440 volume=0.4 num-buffers=200 samplesperbuffer=441 "
        "! audio/x-raw,rate=44100,channels=1 ! lamemp3enc target=bitrate bitrate=128 "
        "! filesink name=out",
        &error);
    if (error) {
        g_error_free(error);
        if (pipeline)
            gst_object_unref(pipeline);
        return false;
    }
    GstElement* out = gst_bin_get_by_name(GST_BIN(pipeline), "out");
    g_object_set(out, "location", QFile::encodeName(path).constData(), nullptr);
    gst_object_unref(out);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* done = gst_bus_timed_pop_filtered(bus, 20 * GST_SECOND,
                                                  static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool ok = done && GST_MESSAGE_TYPE(done) == GST_MESSAGE_EOS;
    if (done)
        gst_message_unref(done);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return ok && QFileInfo(path).size() > 10000;
}

struct Run {
    int first = -1; // window
    int length = 0; // windows
};
// Stretches of tone, joined across gaps shorter than 200 ms.
std::vector<Run> Runs(const std::vector<bool>& loud)
{
    std::vector<Run> runs;
    int lastLoud = -1000;
    for (int i = 0; i < int(loud.size()); ++i) {
        if (!loud[i])
            continue;
        if (i - lastLoud > 20)
            runs.push_back({i, 0});
        runs.back().length = i - runs.back().first + 1;
        lastLoud = i;
    }
    return runs;
}
} // namespace

class TstSound : public QObject {
    Q_OBJECT

    SoundServer server;
    QTemporaryDir files;

private Q_SLOTS:
    void initTestCase()
    {
        Q_INIT_RESOURCE(kelvator);
        const QString failure = server.Start();
        // No sound server is a failure of the test machine, not a reason to pass.
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        qputenv("PULSE_SERVER", server.Address().toLocal8Bit());
        QVERIFY(gst_init_check(nullptr, nullptr, nullptr));
        QVERIFY(WriteWav(files.filePath(QStringLiteral("tone.wav"))));
        QVERIFY(WriteMp3(files.filePath(QStringLiteral("tone.mp3"))));
    }

    void wholeFileOnTime_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addRow("WAV") << QStringLiteral("tone.wav");
        QTest::addRow("MP3") << QStringLiteral("tone.mp3");
    }

    void wholeFileOnTime()
    {
        QFETCH(QString, file);
        const std::shared_ptr<SoundPlayer> player = MakeGstSoundPlayer();
        QVERIFY(player->Open(files.filePath(file)));
        QTest::qWait(500); // the program opens its file long before work end
        const qsizetype mark = server.Mark();
        QVERIFY(player->Rewind());
        QVERIFY(player->Play());
        QTest::qWait(int(kToneSeconds * 1000) + 1000);
        const std::vector<Run> runs = Runs(server.Loudness(mark));
        QCOMPARE(int(runs.size()), 1);
        const double toneSeconds = runs[0].length / 100.0;
        const double delay = runs[0].first / 100.0;
        qInfo("%s: %.2f s of tone, starting %.2f s after Play", qPrintable(file), toneSeconds, delay);
        QVERIFY2(toneSeconds >= 1.9, qPrintable(QString::number(toneSeconds)));
        QVERIFY2(toneSeconds <= kToneSeconds + 0.2, qPrintable(QString::number(toneSeconds)));
        QVERIFY2(delay <= 0.5, qPrintable(QString::number(delay)));

        // Played through to the end, rewound and played again: the whole sound once more.
        const qsizetype again = server.Mark();
        QVERIFY(player->Rewind());
        QVERIFY(player->Play());
        QTest::qWait(800);
        // Stop keeps the position: Play goes on from there.
        QVERIFY(player->Stop());
        QTest::qWait(600);
        QVERIFY(player->Play());
        QTest::qWait(int(kToneSeconds * 1000) + 500);
        int loud = 0;
        for (bool l : server.Loudness(again))
            loud += l ? 1 : 0;
        QVERIFY2(std::abs(loud / 100.0 - kToneSeconds) < 0.15, qPrintable(QString::number(loud / 100.0)));
        QVERIFY(player->Close());
        QVERIFY(!player->Play());
    }

    void onlySoundOpens()
    {
        const std::shared_ptr<SoundPlayer> player = MakeGstSoundPlayer();
        const QString text = files.filePath(QStringLiteral("nem_hang.mp3"));
        QFile f(text);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4000, 'x'));
        f.close();
        QVERIFY(!player->Open(text));
        QVERIFY(!player->Open(files.filePath(QStringLiteral("nincs.wav"))));
        QVERIFY(!player->Open(files.path()));
        QVERIFY(!player->Play());
        QVERIFY(!player->Stop());
        QVERIFY(!player->Rewind());
        QVERIFY(!player->Close());
    }

    void everyBeepHeard()
    {
        const std::function<void()> beep = MakeBeep();
        constexpr int kBeeps = 10;
        const qsizetype start = server.Mark();
        std::vector<qsizetype> calls;
        for (int i = 0; i < kBeeps; ++i) {
            calls.push_back(server.Mark());
            beep();
            QTest::qWait(1000);
        }
        QTest::qWait(300);
        const std::vector<Run> runs = Runs(server.Loudness(start));
        qInfo("%d beeps heard for %d calls", int(runs.size()), kBeeps);
        QCOMPARE(int(runs.size()), kBeeps);
        for (int i = 0; i < kBeeps; ++i) {
            const double delay = (start + qsizetype(runs[i].first) * kWindow - calls[i]) / double(kRate);
            QVERIFY2(delay > -0.05 && delay <= 0.5, qPrintable(QString::number(delay)));
            QVERIFY2(runs[i].length >= 8, qPrintable(QString::number(runs[i].length))); // the tone is 0.12 s
        }
    }
};

QTEST_MAIN(TstSound)
#include "tst_sound.moc"
