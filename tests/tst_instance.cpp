// A second start against the running program, other accounts on the same computer, and signals
// that come while the program starts: all against the real binary.
#include "platform/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <string>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

using namespace kelvator;

namespace {
// ---- Helpers run as a process of their own, also as another account ----

int ListeningSocket(const char* path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path, sizeof address.sun_path - 1);
    ::unlink(path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 16) != 0)
        return -1;
    ::chmod(path, 0777); // anyone may connect
    return fd;
}

// --squat ok|silent LOCK SOCKET [LOCK SOCKET...]: holds each lock and listens at each socket,
// answering every request "ok" or never; makes missing folders on the way; ends when stdin closes.
int Squat(int argc, char** argv)
{
    const bool answer = std::strcmp(argv[2], "ok") == 0;
    std::vector<pollfd> polled{{STDIN_FILENO, POLLIN, 0}};
    for (int i = 3; i + 1 < argc; i += 2) {
        ::mkdir(QFileInfo(QString::fromLocal8Bit(argv[i])).absolutePath().toLocal8Bit().constData(), 0755);
        const int lock = ::open(argv[i], O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (lock < 0 || ::flock(lock, LOCK_EX | LOCK_NB) != 0) {
            std::perror(argv[i]);
            return 1;
        }
        const int fd = ListeningSocket(argv[i + 1]);
        if (fd < 0) {
            std::perror(argv[i + 1]);
            return 1;
        }
        polled.push_back({fd, POLLIN, 0});
    }
    std::puts("ready");
    std::fflush(stdout);
    std::vector<int> held;
    for (;;) {
        if (::poll(polled.data(), polled.size(), -1) < 0)
            return 1;
        if (polled[0].revents != 0)
            return 0;
        for (std::size_t i = 1; i < polled.size(); ++i) {
            if (polled[i].revents == 0)
                continue;
            const int client = ::accept4(polled[i].fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0 && answer) {
                [[maybe_unused]] const auto sent = ::send(client, "ok\n", 3, MSG_NOSIGNAL);
                ::close(client);
            } else if (client >= 0) {
                held.push_back(client);
            }
        }
    }
}

// --ask SOCKET: asks as the hand-over does and prints what comes back before the end.
int Ask(const char* path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path, sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        std::puts("no connection");
        return 0;
    }
    [[maybe_unused]] const auto sent = ::send(fd, "show\n", 5, MSG_NOSIGNAL);
    std::string said;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 3000) <= 0) {
            std::printf("%stimeout\n", said.c_str());
            return 0;
        }
        char buffer[64];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            std::printf("%sclosed\n", said.c_str());
            return 0;
        }
        said.append(buffer, std::size_t(got));
    }
}

// ---- The test's side ----

bool Run(const QString& program, const QStringList& arguments, QString* output = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    const bool ok = p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (output)
        *output = QString::fromLocal8Bit(p.readAll()).trimmed();
    return ok;
}

// An account made for one test and removed after it, whatever the test's outcome.
struct OtherAccount {
    QString name = QStringLiteral("kelvtst%1").arg(QCoreApplication::applicationPid());
    uid_t uid = 0;
    bool added = false;
    QString error;
    OtherAccount()
    {
        added = Run(QStringLiteral("useradd"),
                    {QStringLiteral("--system"), QStringLiteral("--no-create-home"),
                     QStringLiteral("--shell"), QStringLiteral("/usr/sbin/nologin"), name},
                    &error);
        if (const passwd* entry = added ? ::getpwnam(name.toLocal8Bit().constData()) : nullptr)
            uid = entry->pw_uid;
    }
    OtherAccount(const OtherAccount&) = delete;
    OtherAccount& operator=(const OtherAccount&) = delete;
    ~OtherAccount()
    {
        if (added)
            Run(QStringLiteral("userdel"), {name});
    }
    bool Made() const { return uid != 0; }
    QStringList As(const QStringList& command) const
    {
        return QStringList{QStringLiteral("-u"), name, QStringLiteral("--")} + command;
    }
};

// A folder every account may write to, like /tmp, with a copy of this test program that the other
// account can run.
struct SharedTemp {
    QTemporaryDir dir;
    QString helper;
    SharedTemp()
    {
        ::chmod(QFile::encodeName(dir.path()).constData(), 01777);
        helper = dir.filePath(QStringLiteral("helper"));
        QFile::copy(QCoreApplication::applicationFilePath(), helper);
        QFile::setPermissions(helper, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                          QFile::ExeOther);
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
};

// A copy of the program in a folder of its own (its settings file lands there), with a private
// runtime folder of its own.
struct ProgramCopy {
    QTemporaryDir dir;
    QTemporaryDir home;
    QString program;
    QString settings;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    ProgramCopy()
    {
        program = dir.filePath(QStringLiteral("kelvator"));
        settings = dir.filePath(QStringLiteral("kelvator.ini"));
        QFile::copy(QStringLiteral(KELVATOR_BINARY), program);
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        for (const char* folder : {"config", "runtime", "cache"}) {
            QDir(home.path()).mkpath(QString::fromLatin1(folder));
            QFile::setPermissions(home.filePath(QString::fromLatin1(folder)),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), Runtime());
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                           QStringLiteral("qt.qpa.*=false;kelvator.instance.debug=true"));
    }
    QString Runtime() const { return home.filePath(QStringLiteral("runtime")); }
    // Where the program falls back to when the runtime folder and the temporary one are not its own.
    QString InCache() const { return home.filePath(QStringLiteral("cache/kelvator")); }
    // As another account would start it: no runtime folder, the temporary folder shared.
    void WithoutRuntimeFolder(const QString& temp)
    {
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        environment.insert(QStringLiteral("TMPDIR"), temp);
    }
    void Start(QProcess& p) const
    {
        p.setProcessEnvironment(environment);
        p.start(program, {});
    }
    // The program listening in folder answers once its window is there.
    bool WaitUntilShown(const QString& folder, int ms) const
    {
        const SingleInstance probe(settings, RuntimeFolder{folder, {}});
        return QTest::qWaitFor([&] { return probe.AskRunning(ms, ms) == SingleInstance::Answer::Shown; }, ms);
    }
    bool WaitUntilShown(int ms = 20000) const { return WaitUntilShown(Runtime(), ms); }
};

void Stop(QProcess& p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(10000))
        p.kill();
    p.waitForFinished(10000);
}

unsigned Mode(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? unsigned(st.st_mode & 07777) : 0u;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The signals the process has a handler for, from /proc.
bool Catches(qint64 pid, int signal)
{
    const QByteArray status = ReadAll(QStringLiteral("/proc/%1/status").arg(pid));
    const qsizetype at = status.indexOf("SigCgt:");
    if (at < 0)
        return false;
    const QByteArray mask = status.mid(at + 7, status.indexOf('\n', at) - at - 7).trimmed();
    return (mask.toULongLong(nullptr, 16) >> (signal - 1) & 1) != 0;
}

const QByteArray kSettings = "[Beallitasok]\r\nEdit_MIVOra=15\r\nCheckBox_IconAzOraMelle=1\r\n"
                             "[Esemenyek]\r\nLabel_EsemenyMegnevezes1=Szabads\xE1g\r\n";
} // namespace

class TstInstance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Fifty second starts in a row: each ends within half a second, and the first comes to the
    // front for each.
    void everySecondStartHandsOverAtOnce()
    {
        ProgramCopy copy;
        QProcess first;
        copy.Start(first);
        QVERIFY(first.waitForStarted());
        QVERIFY(copy.WaitUntilShown()); // asks once itself
        qint64 slowest = 0;
        for (int i = 0; i < 50; ++i) {
            QProcess second;
            QElapsedTimer took;
            took.start();
            copy.Start(second);
            QVERIFY(second.waitForFinished(5000));
            const qint64 ms = took.elapsed();
            QVERIFY2(ms < 500, qPrintable(QStringLiteral("start %1 took %2 ms").arg(i + 1).arg(ms)));
            slowest = std::max(slowest, ms);
            QCOMPARE(second.exitStatus(), QProcess::NormalExit);
            QCOMPARE(second.exitCode(), 0);
            QCOMPARE(first.state(), QProcess::Running);
        }
        qInfo("the slowest of 50 second starts took %lld ms", slowest);
        QByteArray log;
        QTRY_COMPARE((log += first.readAllStandardError()).count("asked to come to the front"),
                     qsizetype(51));
        Stop(first);
        QCOMPARE(first.exitCode(), 0);
    }

    // A program that is ending lets go of the lock a moment after it stops listening: a start in
    // that moment waits for the lock and runs.
    void aStartWaitsForAProgramThatEnds()
    {
        ProgramCopy copy;
        SingleInstance ending(copy.settings, RuntimeFolder{copy.Runtime(), {}});
        const int lock =
            ::open(QFile::encodeName(ending.LockPath()).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(lock >= 0);
        QCOMPARE(::flock(lock, LOCK_EX), 0);
        QProcess program;
        copy.Start(program);
        QVERIFY(program.waitForStarted());
        QTest::qWait(300);
        QCOMPARE(program.state(), QProcess::Running);
        ::close(lock);
        QVERIFY(copy.WaitUntilShown(5000));
        Stop(program);
        QCOMPARE(program.exitCode(), 0);
    }

    // One that holds the lock and takes requests but never answers is given a second, not more;
    // no second program is started on its settings file.
    void aSilentHolderIsNotWaitedFor()
    {
        ProgramCopy copy;
        SingleInstance silent(copy.settings, RuntimeFolder{copy.Runtime(), {}});
        const int lock =
            ::open(QFile::encodeName(silent.LockPath()).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(lock >= 0);
        QCOMPARE(::flock(lock, LOCK_EX), 0);
        const int listening = ListeningSocket(QFile::encodeName(silent.SocketPath()).constData());
        QVERIFY(listening >= 0);
        QProcess program;
        QElapsedTimer took;
        took.start();
        copy.Start(program);
        QVERIFY(program.waitForStarted());
        QByteArray log;
        QTRY_VERIFY_WITH_TIMEOUT((log += program.readAllStandardError()).contains("does not answer"), 5000);
        QVERIFY2(took.elapsed() < 2000, qPrintable(QStringLiteral("%1 ms").arg(took.elapsed())));
        // It says so in a box; a termination signal ends that too.
        Stop(program);
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(!QFile::exists(copy.settings));
        ::close(listening);
        ::close(lock);
    }

    // Where no socket can be made (here: its path is too long), the program says so and runs,
    // holding the lock all the same: a second start does not run beside it.
    void withoutASocketTheLockStillHolds()
    {
        ProgramCopy copy;
        const QString deep = copy.Runtime() + QLatin1Char('/') + QString(120, QLatin1Char('d'));
        QVERIFY(QDir().mkpath(deep));
        QVERIFY(::chmod(QFile::encodeName(deep).constData(), 0700) == 0);
        copy.environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), deep);
        QProcess first;
        copy.Start(first);
        QVERIFY(first.waitForStarted());
        QByteArray log;
        QTRY_VERIFY_WITH_TIMEOUT((log += first.readAllStandardError()).contains("too long for a socket"),
                                 10000);
        QProcess second;
        copy.Start(second);
        QVERIFY(second.waitForStarted());
        QByteArray secondLog;
        QTRY_VERIFY_WITH_TIMEOUT((secondLog += second.readAllStandardError()).contains("does not answer"),
                                 10000);
        QCOMPARE(first.state(), QProcess::Running);
        Stop(second);
        QCOMPARE(second.exitCode(), 0);
        Stop(first);
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
    }

    // Another account prepares the places a start would look in, with a lock it holds and a socket
    // that answers "ok" or never: the program's own start is not held back by it.
    void anotherAccountCannotHoldTheStartBack_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addRow("its socket answers") << QStringLiteral("ok");
        QTest::addRow("its socket never answers") << QStringLiteral("silent");
    }

    void anotherAccountCannotHoldTheStartBack()
    {
        QFETCH(QString, mode);
        if (::geteuid() != 0)
            QSKIP("making another account needs root");
        OtherAccount other;
        if (!other.Made())
            QSKIP(qPrintable(QStringLiteral("no account could be made: ") + other.error));
        SharedTemp temp;
        ProgramCopy copy;
        copy.WithoutRuntimeFolder(temp.dir.path());
        const QString base = SingleInstance::BaseName(copy.settings);
        const QString ours = temp.Path(QStringLiteral("kelvator-%1/").arg(::geteuid()));
        QProcess squatter;
        squatter.start(
            QStringLiteral("runuser"),
            other.As({temp.helper, QStringLiteral("--squat"), mode,
                      // where the program looks now
                      ours + base + QStringLiteral(".lock"), ours + base + QStringLiteral(".socket"),
                      // and where it used to
                      temp.Path(base + QStringLiteral(".lock")), temp.Path(base)}));
        QVERIFY(squatter.waitForReadyRead(10000));
        QCOMPARE(squatter.readAllStandardOutput().trimmed(), QByteArray("ready"));

        QProcess program;
        QElapsedTimer took;
        took.start();
        copy.Start(program);
        QVERIFY(program.waitForStarted());
        QVERIFY(copy.WaitUntilShown(copy.InCache(), 3000));
        QVERIFY2(took.elapsed() < 1500, qPrintable(QStringLiteral("%1 ms").arg(took.elapsed())));
        QCOMPARE(program.state(), QProcess::Running);
        const QByteArray log = program.readAllStandardError();
        QVERIFY2(log.contains(QStringLiteral("belongs to uid %1").arg(other.uid).toUtf8()), log.constData());
        Stop(program);
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        squatter.closeWriteChannel();
        QVERIFY(squatter.waitForFinished(10000));
    }

    // Another account's link where the program makes its folder: not followed, nothing made where
    // it points.
    void anotherAccountsLinkIsNotFollowed()
    {
        if (::geteuid() != 0)
            QSKIP("making another account needs root");
        OtherAccount other;
        if (!other.Made())
            QSKIP(qPrintable(QStringLiteral("no account could be made: ") + other.error));
        SharedTemp temp;
        ProgramCopy copy;
        copy.WithoutRuntimeFolder(temp.dir.path());
        const QString theirs = temp.Path(QStringLiteral("theirs"));
        QVERIFY(Run(QStringLiteral("runuser"), other.As({QStringLiteral("mkdir"), QStringLiteral("-m"),
                                                         QStringLiteral("777"), theirs})));
        QVERIFY(Run(QStringLiteral("runuser"),
                    other.As({QStringLiteral("ln"), QStringLiteral("-s"), theirs,
                              temp.Path(QStringLiteral("kelvator-%1").arg(::geteuid()))})));
        QProcess program;
        copy.Start(program);
        QVERIFY(program.waitForStarted());
        QVERIFY(copy.WaitUntilShown(copy.InCache(), 20000));
        QCOMPARE(QDir(theirs).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
        Stop(program);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(QDir(theirs).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
    }

    // A link at the lock's place is not followed either: the program runs, without the lock.
    void aLinkAtTheLockIsNotFollowed()
    {
        ProgramCopy copy;
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath(QStringLiteral("made"));
        const SingleInstance paths(copy.settings, RuntimeFolder{copy.Runtime(), {}});
        QVERIFY(QFile::link(target, paths.LockPath()));
        QProcess program;
        copy.Start(program);
        QVERIFY(program.waitForStarted());
        QVERIFY(copy.WaitUntilShown());
        QVERIFY(!QFile::exists(target));
        Stop(program);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(program.readAllStandardError().contains("cannot be opened"));
        QVERIFY(!QFile::exists(target));
        QVERIFY(QFileInfo(paths.LockPath()).isSymLink());
    }

    // A request from another account is neither answered nor acted on, even where it reaches the
    // socket; the user's own is.
    void anotherAccountsRequestIsNotHonoured()
    {
        if (::geteuid() != 0)
            QSKIP("making another account needs root");
        OtherAccount other;
        if (!other.Made())
            QSKIP(qPrintable(QStringLiteral("no account could be made: ") + other.error));
        SharedTemp temp;
        const QString open = temp.Path(QStringLiteral("open"));
        QVERIFY(QDir().mkpath(open));
        QVERIFY(::chmod(QFile::encodeName(open).constData(), 0755) == 0);
        SingleInstance instance(temp.Path(QStringLiteral("kelvator.ini")), RuntimeFolder{open, {}});
        QCOMPARE(instance.Claim(), SingleInstance::Start::First);
        int activated = 0;
        instance.Listen([&activated] { ++activated; });
        QVERIFY(::chmod(QFile::encodeName(instance.SocketPath()).constData(), 0777) == 0);

        QString answer;
        QVERIFY(Run(QStringLiteral("runuser"),
                    other.As({temp.helper, QStringLiteral("--ask"), instance.SocketPath()}), &answer));
        QCOMPARE(answer, QStringLiteral("closed"));
        QTest::qWait(100);
        QCOMPARE(activated, 0);

        QVERIFY(Run(temp.helper, {QStringLiteral("--ask"), instance.SocketPath()}, &answer));
        QCOMPARE(answer, QStringLiteral("ok\nclosed"));
        QTRY_COMPARE(activated, 1);
    }

    // Nor is another account's answer believed: a start asks only a program of its own user's.
    void anotherAccountsAnswerIsNotBelieved()
    {
        if (::geteuid() != 0)
            QSKIP("making another account needs root");
        OtherAccount other;
        if (!other.Made())
            QSKIP(qPrintable(QStringLiteral("no account could be made: ") + other.error));
        SharedTemp temp;
        const QString open = temp.Path(QStringLiteral("open"));
        const SingleInstance asking(temp.Path(QStringLiteral("kelvator.ini")), RuntimeFolder{open, {}});
        QProcess squatter;
        squatter.start(QStringLiteral("runuser"),
                       other.As({temp.helper, QStringLiteral("--squat"), QStringLiteral("ok"),
                                 asking.LockPath(), asking.SocketPath()}));
        QVERIFY(squatter.waitForReadyRead(10000));
        QCOMPARE(asking.AskRunning(), SingleInstance::Answer::Nobody);
        squatter.closeWriteChannel();
        QVERIFY(squatter.waitForFinished(10000));
    }

    // The folder for the lock and the socket: a directory of the user's own that nobody else can
    // reach; another's, a link or a file is refused, and the user's own is closed to others.
    void aPrivateFolderIsCheckedBeforeUse()
    {
        QTemporaryDir dir;
        const QString made = dir.filePath(QStringLiteral("made"));
        QCOMPARE(CheckPrivateFolder(made, true), QString());
        QCOMPARE(Mode(made), 0700u);
        const QString open = dir.filePath(QStringLiteral("open"));
        QVERIFY(QDir().mkdir(open));
        QVERIFY(::chmod(QFile::encodeName(open).constData(), 0755) == 0);
        QVERIFY(CheckPrivateFolder(open, false).contains(QStringLiteral("mode 755")));
        QCOMPARE(CheckPrivateFolder(open, true), QString());
        QCOMPARE(Mode(open), 0700u);
        const QString link = dir.filePath(QStringLiteral("link"));
        QVERIFY(QFile::link(made, link));
        QVERIFY(!CheckPrivateFolder(link, true).isEmpty());
        QVERIFY(!CheckPrivateFolder(link, false).isEmpty());
        const QString file = dir.filePath(QStringLiteral("file"));
        QVERIFY(QFile(file).open(QIODevice::WriteOnly));
        QVERIFY(!CheckPrivateFolder(file, true).isEmpty());
        if (::geteuid() == 0) {
            QVERIFY(::chown(QFile::encodeName(open).constData(), 65534, 65534) == 0);
            QVERIFY(CheckPrivateFolder(open, true).contains(QStringLiteral("belongs to uid 65534")));
        }
        // Inside a folder anyone may write to and that is not sticky, anyone could swap it.
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0777) == 0);
        QVERIFY(!CheckPrivateFolder(made, false).isEmpty());
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 01777) == 0);
        QCOMPARE(CheckPrivateFolder(made, false), QString());
    }

    // A termination signal while the program starts, before its window is there, ends it at once
    // and leaves the settings as they were; a little later it ends it and saves what was loaded.
    void aSignalWhileStartingEndsTheProgram_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("delayMs"); // -1: right after exec, held back until the program can take it
        QTest::addRow("SIGTERM right after exec") << int(SIGTERM) << -1;
        QTest::addRow("SIGINT right after exec") << int(SIGINT) << -1;
        QTest::addRow("SIGHUP right after exec") << int(SIGHUP) << -1;
        QTest::addRow("SIGTERM as soon as it is caught") << int(SIGTERM) << 0;
        QTest::addRow("SIGTERM 100 ms later") << int(SIGTERM) << 100;
        QTest::addRow("SIGTERM 300 ms later") << int(SIGTERM) << 300;
    }

    void aSignalWhileStartingEndsTheProgram()
    {
        QFETCH(int, signal);
        QFETCH(int, delayMs);
        ProgramCopy copy;
        {
            QFile f(copy.settings);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(kSettings);
        }
        QProcess program;
        if (delayMs < 0) {
            // Blocked in the new process, the signal waits for the program's first line.
            program.setChildProcessModifier([signal] {
                sigset_t blocked;
                sigemptyset(&blocked);
                sigaddset(&blocked, signal);
                ::sigprocmask(SIG_BLOCK, &blocked, nullptr);
            });
        }
        copy.Start(program);
        QVERIFY(program.waitForStarted());
        const qint64 pid = program.processId();
        if (delayMs >= 0) {
            // Polled without pause: the signal comes at the first moment the program can take it.
            QElapsedTimer waited;
            waited.start();
            while (!Catches(pid, signal) && waited.elapsed() < 10000) {
            }
            QVERIFY(Catches(pid, signal));
            if (delayMs > 0)
                QTest::qWait(delayMs);
        }
        QElapsedTimer took;
        took.start();
        QCOMPARE(::kill(pid_t(pid), signal), 0);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY2(took.elapsed() < 3000, qPrintable(QStringLiteral("%1 ms").arg(took.elapsed())));
        const QByteArray saved = ReadAll(copy.settings);
        if (delayMs < 0)
            QCOMPARE(saved, kSettings); // ended before the window was built: nothing to write
        for (const QByteArray& line : kSettings.split('\n'))
            QVERIFY2(saved.contains(line), line.constData());
        // Whatever it got to, it let go of everything: the next start runs.
        QProcess next;
        copy.Start(next);
        QVERIFY(copy.WaitUntilShown());
        Stop(next);
    }
};

int main(int argc, char* argv[])
{
    if (argc >= 3 && std::strcmp(argv[1], "--squat") == 0)
        return Squat(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--ask") == 0)
        return Ask(argv[2]);
    QCoreApplication app(argc, argv);
    TstInstance test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_instance.moc"
