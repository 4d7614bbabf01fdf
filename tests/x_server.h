#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTest>

#include <optional>

namespace kelvator::testing {

// Ends a helper process: asked first, then made to.
inline void EndProcess(QProcess& p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(5000))
        p.kill();
    p.waitForFinished(5000);
}

// A private X server (Xvfb) for what must be seen on a screen.
class XServer {
public:
    XServer()
    {
        server_.start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                       QStringLiteral("tcp")});
        if (server_.waitForStarted(10000) &&
            QTest::qWaitFor([&] { return server_.canReadLine() || server_.state() != QProcess::Running; },
                            20000))
            name_ = QStringLiteral(":") + QString::fromLatin1(server_.readLine().trimmed());
        // A client may still be turned away just after the server names its display: the
        // program started next would find no display. Wait until one is let in.
        if (!Name().isEmpty() &&
            !QTest::qWaitFor([&] { return Xdotool({QStringLiteral("getmouselocation")}).has_value(); },
                             10000))
            name_.clear();
    }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;
    ~XServer() { EndProcess(server_); }

    // ":N", or empty when the server did not start.
    QString Name() const { return name_.size() > 1 ? name_ : QString(); }

    // Whether a window of the process is shown on it (needs xdotool).
    bool Shows(qint64 pid) const
    {
        const std::optional<QByteArray> found =
            Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                     QString::number(pid)});
        return found && !found->trimmed().isEmpty();
    }

private:
    // What xdotool printed on this display, or nothing when it failed.
    std::optional<QByteArray> Xdotool(const QStringList& arguments) const
    {
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), name_);
        run.setProcessEnvironment(env);
        run.start(QStringLiteral("xdotool"), arguments);
        if (!run.waitForFinished(5000) || run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0)
            return std::nullopt;
        return run.readAll();
    }

    QProcess server_;
    QString name_;
};

} // namespace kelvator::testing
