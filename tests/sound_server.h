#pragma once

// A private PulseAudio server with a null sink, and a recorder on the sink's monitor: what is
// played into it is what a listener would hear, sample by sample.
#include "x_server.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <vector>

namespace kelvator::testing {

constexpr int kRate = 44100;
constexpr int kWindow = kRate / 100; // 10 ms

class SoundServer {
public:
    SoundServer() = default;
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;
    ~SoundServer()
    {
        StopRecording();
        EndProcess(server_);
    }

    // Starts the server and a recorder; on failure says why. A recorder's latency of 0 leaves the
    // server at its own: then the sink runs up to two seconds ahead whenever no stream asks for
    // less, as a desktop's sound server does.
    QString Start(int recorderLatencyMs = 20)
    {
        if (!dir_.isValid())
            return QStringLiteral("no temporary folder");
        socket_ = dir_.filePath(QStringLiteral("native"));
        address_ = QStringLiteral("unix:") + socket_;
        const QString failure = StartServer();
        return failure.isEmpty() ? Record(recorderLatencyMs) : failure;
    }

    // Ends the server and starts a new one at the same address, as a sound server does that is
    // restarted while the program waits; the recorder follows.
    QString Restart(int recorderLatencyMs = 20)
    {
        StopRecording();
        EndProcess(server_);
        const QString failure = StartServer();
        return failure.isEmpty() ? Record(recorderLatencyMs) : failure;
    }

    // A new recording, from now on.
    QString Record(int latencyMs)
    {
        StopRecording();
        bytes_.clear();
        QObject::connect(&recorder_, &QProcess::readyReadStandardOutput,
                         [this] { bytes_ += recorder_.readAllStandardOutput(); });
        QStringList arguments = {
            QStringLiteral("--server=") + address_, QStringLiteral("--device=kelvator_test.monitor"),
            QStringLiteral("--format=s16le"),       QStringLiteral("--rate=44100"),
            QStringLiteral("--channels=1"),         QStringLiteral("--raw")};
        if (latencyMs > 0)
            arguments << QStringLiteral("--latency-msec=%1").arg(latencyMs);
        recorder_.start(QStringLiteral("parecord"), arguments);
        if (!recorder_.waitForStarted(10000))
            return QStringLiteral("parecord did not start: ") + recorder_.errorString();
        // The monitor delivers silence all the time: data flowing means the server runs.
        if (!QTest::qWaitFor([&] { return bytes_.size() > kRate / 5; }, 20000))
            return QStringLiteral("nothing recorded: ") +
                   QString::fromLocal8Bit(recorder_.readAllStandardError()) +
                   QString::fromLocal8Bit(server_.readAll());
        return {};
    }

    // Waits until the recording holds at least the given number of seconds more than now:
    // a recorder at the server's own latency delivers its data seconds late.
    bool RecordFor(double seconds)
    {
        const qsizetype want = Mark() + qsizetype(seconds * kRate);
        return QTest::qWaitFor([&] { return Mark() >= want; }, int(seconds * 1000) + 10000);
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
    QString StartServer()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // Everything the server keeps goes to the private folder; as root it needs no system mode.
        for (const char* name :
             {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "PULSE_RUNTIME_PATH", "PULSE_STATE_PATH"})
            env.insert(QString::fromLatin1(name), dir_.path());
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        env.remove(QStringLiteral("PULSE_SERVER"));
        QFile::remove(socket_);
        server_.setProcessEnvironment(env);
        server_.setProcessChannelMode(QProcess::MergedChannels);
        server_.start(QStringLiteral("pulseaudio"),
                      {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                       QStringLiteral("--system=false"), QStringLiteral("--exit-idle-time=-1"),
                       QStringLiteral("--disallow-exit"), QStringLiteral("--use-pid-file=no"),
                       QStringLiteral("--realtime=false"), QStringLiteral("--high-priority=false"),
                       QStringLiteral("--log-target=stderr"), QStringLiteral("-L"),
                       QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket_,
                       QStringLiteral("-L"),
                       QStringLiteral("module-null-sink sink_name=kelvator_test rate=44100 channels=1")});
        if (!server_.waitForStarted(10000))
            return QStringLiteral("pulseaudio did not start: ") + server_.errorString();
        if (!QTest::qWaitFor([&] { return QFile::exists(socket_) || server_.state() != QProcess::Running; },
                             20000) ||
            server_.state() != QProcess::Running)
            return QStringLiteral("pulseaudio ended: ") + QString::fromLocal8Bit(server_.readAll());
        return {};
    }

    void StopRecording()
    {
        QObject::disconnect(&recorder_, &QProcess::readyReadStandardOutput, nullptr, nullptr);
        EndProcess(recorder_);
    }

    QTemporaryDir dir_;
    QProcess server_;
    QProcess recorder_;
    QString socket_;
    QString address_;
    QByteArray bytes_;
};

struct Run {
    int first = -1; // window
    int length = 0; // windows
};

// Stretches of tone, joined across gaps shorter than the given number of 10 ms windows.
inline std::vector<Run> Runs(const std::vector<bool>& loud, int joinGap = 20)
{
    std::vector<Run> runs;
    int lastLoud = -1000;
    for (int i = 0; i < int(loud.size()); ++i) {
        if (!loud[i])
            continue;
        if (i - lastLoud > joinGap)
            runs.push_back({i, 0});
        runs.back().length = i - runs.back().first + 1;
        lastLoud = i;
    }
    return runs;
}

} // namespace kelvator::testing
