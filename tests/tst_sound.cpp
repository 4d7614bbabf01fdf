// The real sound path, measured where the user hears it: a private PulseAudio server with a
// null sink, whose monitor is recorded while the program's player and beep play into it.
#include "platform/gst_sound.h"
#include "platform/pulse_tone.h"
#include "platform/real_platform.h"

#include "sound_server.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QtEndian>

#include <gst/gst.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <cmath>
#include <numbers>

using namespace kelvator;

namespace {
using testing::kRate;
using testing::kWindow;
using testing::Run;
using testing::Runs;
constexpr double kToneSeconds = 2.0;

// A 2 s 440 Hz sine as a 16-bit mono WAV file.
bool WriteWav(const QString& path)
{
    const int count = int(kToneSeconds * kRate);
    QByteArray data(qsizetype(count) * 2, '\0');
    for (int i = 0; i < count; ++i)
        qToLittleEndian<qint16>(qint16(12000 * std::sin(2 * std::numbers::pi * 440 * i / kRate)),
                                data.data() + qsizetype(2) * i);
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
    GstElement* pipeline =
        gst_parse_launch("audiotestsrc wave=sine freq=440 volume=0.4 num-buffers=200 samplesperbuffer=441 "
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
    GstMessage* done = gst_bus_timed_pop_filtered(
        bus, 20 * GST_SECOND, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool ok = done && GST_MESSAGE_TYPE(done) == GST_MESSAGE_EOS;
    if (done)
        gst_message_unref(done);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return ok && QFileInfo(path).size() > 10000;
}

} // namespace

class TstSound : public QObject {
    Q_OBJECT

    testing::SoundServer server;
    QTemporaryDir files;

private Q_SLOTS:
    void initTestCase()
    {
        Q_INIT_RESOURCE(kelvator);
        const QString failure = server.Start();
        // No sound server is a failure of the test machine, not a reason to pass.
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        qputenv("PULSE_SERVER", server.Address().toLocal8Bit());
        // As on a desktop that asks for GStreamer's newer player, whose decoders would follow a
        // streaming playlist (the variable's name up to GStreamer 1.22, and after).
        qputenv("USE_PLAYBIN3", "1");
        qputenv("GST_PLAY_USE_PLAYBIN3", "1");
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

    // A desktop's sound server runs its sink far ahead whenever nothing asks for less; there a
    // beep cut off or closed too early is lost, and one cut at its start is heard shortened.
    void everyBeepHeard_data()
    {
        QTest::addColumn<int>("recorderLatency");
        QTest::addRow("sink kept near real time") << 20;
        QTest::addRow("sink at the server's own latency") << 0;
    }

    void everyBeepHeard()
    {
        QFETCH(int, recorderLatency);
        const QString failure = server.Record(recorderLatency);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        const std::function<void()> beep = MakeBeep();
        // The program makes its beep long before the first one. (A null sink left at its own
        // latency loses a short stream that starts or ends just as it renders ahead, paplay's as
        // much as ours; the first and last beeps here keep clear of that moment.)
        QTest::qWait(recorderLatency > 0 ? 500 : 3000);
        constexpr int kBeeps = 10;
        const qsizetype start = server.Mark();
        std::vector<qsizetype> calls;
        for (int i = 0; i < kBeeps; ++i) {
            calls.push_back(server.Mark());
            beep();
            QTest::qWait(1000);
        }
        QVERIFY(server.RecordFor(recorderLatency > 0 ? 0.3 : 3));
        const std::vector<Run> runs = Runs(server.Loudness(start));
        QStringList onsets;
        for (const Run& r : runs)
            onsets << QString::number((start + qsizetype(r.first) * kWindow - calls[0]) / double(kRate), 'f',
                                      2);
        qInfo("%d beeps heard for %d calls, at %s s", int(runs.size()), kBeeps,
              qPrintable(onsets.join(u' ')));
        QCOMPARE(int(runs.size()), kBeeps);
        for (int i = 0; i < kBeeps; ++i) {
            QVERIFY2(runs[i].length >= 9, qPrintable(QString::number(runs[i].length))); // the tone is 0.12 s
            if (i > 0) {
                // One a second, each as late as the others.
                const int apart = runs[i].first - runs[i - 1].first;
                QVERIFY2(apart >= 90 && apart <= 110, qPrintable(QString::number(apart)));
            }
            // With the recorder this close, the recording keeps pace with the calls.
            if (recorderLatency > 0) {
                const double delay = (start + qsizetype(runs[i].first) * kWindow - calls[i]) / double(kRate);
                QVERIFY2(delay > -0.05 && delay <= 0.15, qPrintable(QString::number(delay)));
            }
        }
    }

    // Where no desktop sound server answers, the beep goes through GStreamer: also every one.
    void gstreamerToneEveryCall()
    {
        const QString failure = server.Record(20);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        const std::unique_ptr<QTemporaryFile> file(
            QTemporaryFile::createNativeFile(QStringLiteral(":/kelvator/beep.wav")));
        QVERIFY(file);
        const std::function<void()> tone = MakeGstTone(file->fileName());
        QTest::qWait(1000); // made at the first beep that needs it; loaded before it sounds
        constexpr int kBeeps = 5;
        const qsizetype start = server.Mark();
        std::vector<qsizetype> calls;
        for (int i = 0; i < kBeeps; ++i) {
            calls.push_back(server.Mark());
            tone();
            QTest::qWait(1000);
        }
        QVERIFY(server.RecordFor(0.3));
        const std::vector<Run> runs = Runs(server.Loudness(start));
        QCOMPARE(int(runs.size()), kBeeps);
        for (int i = 0; i < kBeeps; ++i) {
            QVERIFY2(runs[i].length >= 9, qPrintable(QString::number(runs[i].length)));
            const double delay = (start + qsizetype(runs[i].first) * kWindow - calls[i]) / double(kRate);
            QVERIFY2(delay > -0.05 && delay <= 0.15, qPrintable(QString::number(delay)));
        }
    }

    // The beep finds out in its own thread that no server answers, and takes the other way.
    void noServerTakesTheOtherWay()
    {
        QFile wav(QStringLiteral(":/kelvator/beep.wav"));
        QVERIFY(wav.open(QIODevice::ReadOnly));
        std::atomic<int> otherWay = 0;
        const std::function<void()> tone = MakePulseTone(wav.readAll(), [&] { ++otherWay; });
        QVERIFY(tone);
        const QByteArray address = qgetenv("PULSE_SERVER");
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(files.filePath(QStringLiteral("nincs-szerver"))));
        QElapsedTimer clock;
        clock.start();
        tone();
        QVERIFY(clock.elapsed() < 100);
        QTRY_COMPARE_WITH_TIMEOUT(otherWay.load(), 1, 10000);
        qputenv("PULSE_SERVER", address);

        QVERIFY(!MakePulseTone(QByteArray("RIFF\x04\0\0\0WAVE", 12), [] {}));
    }

    // The first beep after a long wait meets a sound server that may have been restarted since.
    void beepAfterTheServerRestarted()
    {
        const std::function<void()> beep = MakeBeep();
        beep();
        QTest::qWait(3000); // longer than a beep's stream is kept
        const QString failure = server.Restart();
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        const qsizetype call = server.Mark();
        beep();
        QVERIFY(server.RecordFor(1));
        const std::vector<Run> runs = Runs(server.Loudness(call));
        QCOMPARE(int(runs.size()), 1);
        QVERIFY2(runs[0].length >= 9, qPrintable(QString::number(runs[0].length)));
        const double delay = runs[0].first * kWindow / double(kRate);
        QVERIFY2(delay <= 0.15, qPrintable(QString::number(delay)));
    }

    // Nothing waits on a file that is not a regular one: neither Open nor a later Play.
    void aFifoNeverWaits()
    {
        const QString path = files.filePath(QStringLiteral("cso.wav"));
        QVERIFY(WriteWav(path));
        const std::shared_ptr<SoundPlayer> player = MakeGstSoundPlayer();
        QVERIFY(player->Open(path));
        QVERIFY(QFile::remove(path));
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        // Whoever waits in open() is let go after a while, so that waiting fails the test
        // instead of hanging it.
        std::atomic<bool> done = false;
        std::thread rescuer([&] {
            std::this_thread::sleep_for(std::chrono::seconds(2));
            while (!done) {
                const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0)
                    ::close(fd);
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        });
        QElapsedTimer clock;
        clock.start();
        const bool rewound = player->Rewind();
        const bool played = player->Play();
        const bool opened = MakeGstSoundPlayer()->Open(path);
        const qint64 waited = clock.elapsed();
        done = true;
        rescuer.join();
        QVERIFY(rewound);
        QVERIFY(!played);
        QVERIFY(!opened);
        QVERIFY2(waited < 500, qPrintable(QString::number(waited)));
        QVERIFY(player->Close());
    }

    // A header and a mountain of nothing: looked at in the background, not while Open waits.
    void aHugeFileOpensAtOnce()
    {
        const QString path = files.filePath(QStringLiteral("nagy.wav"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("RIFF\xff\xff\xff\x01WAVE", 12));
        QVERIFY(f.resize(30 * 1024 * 1024));
        f.close();
        const std::shared_ptr<SoundPlayer> player = MakeGstSoundPlayer();
        QElapsedTimer clock;
        clock.start();
        const bool opened = player->Open(path);
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
        if (opened) {
            // It holds no sound: once that is known, it is not played.
            QVERIFY(QTest::qWaitFor([&] { return !player->Play(); }, 10000));
        }
    }

    // A playlist decides nothing: neither as the file chosen nor put in the chosen file's place
    // does it make the program fetch what it names.
    void onlyLocalDecoders()
    {
        // Without a streaming demuxer installed this would prove nothing.
        GstElementFactory* streaming = gst_element_factory_find("hlsdemux2");
        if (!streaming)
            streaming = gst_element_factory_find("hlsdemux");
        QVERIFY(streaming);
        gst_object_unref(streaming);

        QTcpServer web;
        int connections = 0;
        QObject::connect(&web, &QTcpServer::newConnection, [&] {
            while (QTcpSocket* s = web.nextPendingConnection()) {
                ++connections;
                s->close();
                s->deleteLater();
            }
        });
        QVERIFY(web.listen(QHostAddress::LocalHost));
        const QByteArray playlist =
            "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:2\n#EXT-X-MEDIA-SEQUENCE:0\n"
            "#EXTINF:2.0,\nhttp://127.0.0.1:" +
            QByteArray::number(web.serverPort()) +
            "/resz0.ts\n#EXTINF:2.0,\nhttp://127.0.0.1:" + QByteArray::number(web.serverPort()) +
            "/resz1.ts\n#EXT-X-ENDLIST\n";
        auto write = [&](const QString& path) {
            QFile f(path);
            return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(playlist) == playlist.size();
        };

        const QString named = files.filePath(QStringLiteral("lista.wav"));
        QVERIFY(write(named));
        const std::shared_ptr<SoundPlayer> player = MakeGstSoundPlayer();
        QVERIFY(!player->Open(named));
        QVERIFY(!player->Play());
        QTest::qWait(1500);
        QCOMPARE(connections, 0);

        const QString swapped = files.filePath(QStringLiteral("csere.wav"));
        QVERIFY(WriteWav(swapped));
        QVERIFY(player->Open(swapped));
        QVERIFY(write(swapped));
        const qsizetype mark = server.Mark();
        player->Rewind();
        player->Play();
        QTest::qWait(2000);
        QCOMPARE(connections, 0);
        QVERIFY(Runs(server.Loudness(mark)).empty());

        // The server does answer: a fetch would have been counted.
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, web.serverPort());
        QVERIFY(probe.waitForConnected(2000));
        QTRY_COMPARE(connections, 1);
    }
};

QTEST_MAIN(TstSound)
#include "tst_sound.moc"
