#include "platform/single_instance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <string>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kelvator {

Q_LOGGING_CATEGORY(lcInstance, "kelvator.instance", QtWarningMsg)

namespace {
using Clock = std::chrono::steady_clock;

// A start that holds the lock but listens to nobody is ending or just starting; it is waited for
// this long before the program gives up on it.
constexpr int kLockWaitMs = 3000;
// A connection that has not said what it wants by then is dropped.
constexpr auto kRequestTime = std::chrono::seconds(1);
// One told to wait while the window is built is answered at the latest by then.
constexpr auto kWaitingTime = std::chrono::seconds(60);
constexpr std::size_t kMaxClients = 16;

QString ErrnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool FillAddress(const QByteArray& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || std::size_t(path.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    return true;
}

bool SameUser(int fd)
{
    ucred cred{};
    socklen_t length = sizeof cred;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0)
        return false;
    if (cred.uid != ::geteuid()) {
        qCDebug(lcInstance, "refused a connection from uid %u", unsigned(cred.uid));
        return false;
    }
    return true;
}

int RemainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return int(std::max<decltype(left)>(left, 0));
}
} // namespace

QString CheckPrivateFolder(const QString& path, bool create)
{
    const QByteArray name = QFile::encodeName(path);
    if (create && ::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return QStringLiteral("it cannot be made: ") + ErrnoText(errno);
    // In a folder that others may write to and that is not sticky, they could swap ours for theirs.
    struct stat parent {};
    if (::stat(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), &parent) == 0 &&
        (parent.st_mode & S_IWOTH) != 0 && (parent.st_mode & S_ISVTX) == 0)
        return QStringLiteral("the folder it is in can be written by everyone");
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ELOOP || error == ENOTDIR)
            return QStringLiteral("it is a link or not a folder");
        return ErrnoText(error);
    }
    struct stat folder {};
    QString problem;
    if (::fstat(fd, &folder) != 0)
        problem = ErrnoText(errno);
    else if (folder.st_uid != ::geteuid())
        problem = QStringLiteral("it belongs to uid %1").arg(folder.st_uid);
    else if ((folder.st_mode & 077) != 0 && !(create && ::fchmod(fd, 0700) == 0))
        problem = QStringLiteral("other users can reach it (mode %1)").arg(folder.st_mode & 0777, 0, 8);
    ::close(fd);
    return problem;
}

RuntimeFolder PrivateRuntimeFolder()
{
    QStringList passed;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        const QString problem = QDir::isAbsolutePath(runtime) ? CheckPrivateFolder(runtime, false)
                                                              : QStringLiteral("it is not an absolute path");
        if (problem.isEmpty())
            return {runtime, {}};
        passed << QStringLiteral("%1 (XDG_RUNTIME_DIR): %2").arg(runtime, problem);
    }
    // The cache folder only when the temporary one is not the user's: it lives on in the home.
    for (int place = 0; place < 2; ++place) {
        QString candidate = QDir::tempPath() + QStringLiteral("/kelvator-") + QString::number(::geteuid());
        if (place == 1) {
            const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
            if (cache.isEmpty() || !QDir().mkpath(cache))
                break;
            candidate = cache + QStringLiteral("/kelvator");
        }
        const QString problem = CheckPrivateFolder(candidate, true);
        if (problem.isEmpty()) {
            // The runtime folder is often unset (su, cron, a bare X session): no cause for a warning.
            if (passed.isEmpty())
                return {candidate, {}};
            return {candidate,
                    QStringLiteral("passed over %1; the lock and the hand-over socket are kept in %2")
                        .arg(passed.join(QStringLiteral("; ")), candidate)};
        }
        passed << QStringLiteral("%1: %2").arg(candidate, problem);
    }
    return {QString(),
            QStringLiteral("no private folder (%1): running without the lock and without hand-over")
                .arg(passed.join(QStringLiteral("; ")))};
}

// Listens in a thread of its own, so that a later start is answered at once even while the window
// is being built or busy; what the window must do is handed to its thread.
class SingleInstance::Server {
public:
    Server(int listenFd, SingleInstance* owner)
        : listenFd_(listenFd)
        , owner_(owner)
    {
        if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0)
            wake_[0] = wake_[1] = -1;
        else
            thread_ = std::thread([this] { Run(); });
    }
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;
    ~Server()
    {
        Tell('q');
        if (thread_.joinable())
            thread_.join();
        for (int fd : {listenFd_, wake_[0], wake_[1]}) {
            if (fd >= 0)
                ::close(fd);
        }
    }
    bool Running() const { return thread_.joinable(); }
    void SetReady() { Tell('r'); }

private:
    struct Client {
        int fd;
        std::string request;
        Clock::time_point deadline;
        bool waiting; // told to wait until the window is there
    };

    void Tell(char what) const
    {
        if (wake_[1] >= 0) {
            [[maybe_unused]] const auto written = ::write(wake_[1], &what, 1);
        }
    }

    void Answer(Client& client)
    {
        [[maybe_unused]] const auto sent = ::send(client.fd, "ok\n", 3, MSG_NOSIGNAL);
        Drop(client);
        SingleInstance* owner = owner_;
        QMetaObject::invokeMethod(
            owner, [owner] { owner->Activated(); }, Qt::QueuedConnection);
    }

    static void Drop(Client& client)
    {
        ::close(client.fd);
        client.fd = -1;
    }

    void Read(Client& client, bool ready)
    {
        char buffer[64];
        const ssize_t got = ::read(client.fd, buffer, sizeof buffer);
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        if (got <= 0 || client.waiting || client.request.size() + std::size_t(got) > sizeof buffer) {
            Drop(client);
            return;
        }
        client.request.append(buffer, std::size_t(got));
        const std::size_t end = client.request.find('\n');
        if (end == std::string::npos)
            return;
        if (client.request.compare(0, end, "show") != 0) {
            Drop(client);
        } else if (ready) {
            Answer(client);
        } else {
            [[maybe_unused]] const auto sent = ::send(client.fd, "wait\n", 5, MSG_NOSIGNAL);
            client.waiting = true;
            client.deadline = Clock::now() + kWaitingTime;
        }
    }

    void Accept(std::vector<Client>& clients) const
    {
        for (;;) {
            const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (fd < 0)
                return;
            if (clients.size() >= kMaxClients || !SameUser(fd))
                ::close(fd);
            else
                clients.push_back({fd, {}, Clock::now() + kRequestTime, false});
        }
    }

    void Run()
    {
        std::vector<Client> clients;
        std::vector<pollfd> polled;
        bool ready = false;
        for (;;) {
            polled.assign({{wake_[0], POLLIN, 0}, {listenFd_, POLLIN, 0}});
            int timeout = -1;
            for (const Client& client : clients) {
                polled.push_back({client.fd, POLLIN, 0});
                const int left = RemainingMs(client.deadline);
                timeout = timeout < 0 ? left : std::min(timeout, left);
            }
            if (::poll(polled.data(), polled.size(), timeout) < 0 && errno != EINTR)
                break;
            if (polled[0].revents != 0) {
                char said[16];
                const ssize_t n = ::read(wake_[0], said, sizeof said);
                if (n > 0 && std::find(said, said + n, 'q') != said + n)
                    break;
                if (n > 0) {
                    ready = true;
                    for (Client& client : clients) {
                        if (client.fd >= 0 && client.waiting)
                            Answer(client);
                    }
                }
            }
            for (std::size_t i = 2; i < polled.size(); ++i) {
                Client& client = clients[i - 2];
                if (client.fd >= 0 && polled[i].revents != 0)
                    Read(client, ready);
            }
            const auto now = Clock::now();
            for (Client& client : clients) {
                if (client.fd >= 0 && client.deadline <= now)
                    Drop(client);
            }
            std::erase_if(clients, [](const Client& client) { return client.fd < 0; });
            if (polled[1].revents != 0)
                Accept(clients);
        }
        for (Client& client : clients)
            Drop(client);
    }

    int listenFd_;
    int wake_[2] = {-1, -1};
    SingleInstance* owner_;
    std::thread thread_;
};

SingleInstance::SingleInstance(const QString& settingsPath, const RuntimeFolder& folder, QObject* parent)
    : QObject(parent)
{
    if (!folder.warning.isEmpty())
        qCWarning(lcInstance, "kelvator: %s", qUtf8Printable(folder.warning));
    if (folder.path.isEmpty())
        return;
    const QDir dir(folder.path);
    lockPath_ = dir.filePath(BaseName(settingsPath) + QStringLiteral(".lock"));
    socketPath_ = dir.filePath(BaseName(settingsPath) + QStringLiteral(".socket"));
    qCDebug(lcInstance, "lock %s, socket %s", qUtf8Printable(lockPath_), qUtf8Printable(socketPath_));
}

SingleInstance::~SingleInstance()
{
    StopListening();
    if (lockFd_ >= 0)
        ::close(lockFd_); // releases the lock
}

QString SingleInstance::BaseName(const QString& settingsPath)
{
    const QString canonical = QFileInfo(settingsPath).absoluteFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("kelvator-") + QString::fromLatin1(hash);
}

void SingleInstance::OpenLock()
{
    if (lockPath_.isEmpty() || lockFd_ >= 0)
        return;
    // flock() goes with the open file: a program that ends or crashes lets go of it at once. A
    // link is never followed, so no file is made wherever one might point.
    const int fd = ::open(QFile::encodeName(lockPath_).constData(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) {
        qCWarning(lcInstance, "kelvator: the lock %s cannot be opened (%s): running without it",
                  qUtf8Printable(lockPath_), qUtf8Printable(ErrnoText(errno)));
        return;
    }
    struct stat file {};
    if (::fstat(fd, &file) != 0 || !S_ISREG(file.st_mode) || file.st_uid != ::geteuid()) {
        qCWarning(lcInstance, "kelvator: the lock %s is not a file of this user's: running without it",
                  qUtf8Printable(lockPath_));
        ::close(fd);
        return;
    }
    lockFd_ = fd;
}

SingleInstance::Start SingleInstance::Claim()
{
    OpenLock();
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (TerminationRequested())
            return Start::Stopped;
        if (lockFd_ >= 0) {
            if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
                StartServer();
                return Start::First;
            }
            if (errno != EWOULDBLOCK && errno != EINTR) {
                qCWarning(lcInstance, "kelvator: the lock %s cannot be taken (%s): running without it",
                          qUtf8Printable(lockPath_), qUtf8Printable(ErrnoText(errno)));
                ::close(lockFd_);
                lockFd_ = -1;
                continue;
            }
        }
        const Answer answer = AskRunning();
        if (answer == Answer::Shown)
            return Start::HandedOver;
        if (TerminationRequested())
            return Start::Stopped;
        if (lockFd_ < 0) {
            // Without a lock, only a program that answers counts; a silent one keeps its socket.
            if (answer == Answer::Nobody)
                StartServer();
            else
                qCWarning(lcInstance, "kelvator: %s does not answer: running without hand-over",
                          qUtf8Printable(socketPath_));
            return Start::First;
        }
        if (answer == Answer::Silent) {
            // It may have ended while it was asked.
            if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
                StartServer();
                return Start::First;
            }
            return Start::Unanswered;
        }
        // The lock is held and nothing listens: the other program is ending (or just starting).
        if (waited.elapsed() > kLockWaitMs)
            return Start::Unanswered;
        ::usleep(20000);
    }
}

SingleInstance::Answer SingleInstance::AskRunning(int silentMs, int startingMs) const
{
    sockaddr_un address{};
    if (!FillAddress(QFile::encodeName(socketPath_), address))
        return Answer::Nobody;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return Answer::Nobody;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        // A full backlog: something listens there but takes no one in.
        return errno == EAGAIN ? Answer::Silent : Answer::Nobody;
    // Only a program of this user's own is asked, or believed.
    if (!SameUser(fd) || ::send(fd, "show\n", 5, MSG_NOSIGNAL) != 5)
        return Answer::Nobody;
    // The answer may be there before anything is waited for: read first, then wait.
    auto deadline = Clock::now() + std::chrono::milliseconds(silentMs);
    std::string said;
    for (;;) {
        char buffer[64];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR))
            return Answer::Nobody; // it ended, or refused
        if (got > 0) {
            said.append(buffer, std::size_t(got));
            for (std::size_t end = said.find('\n'); end != std::string::npos; end = said.find('\n')) {
                const std::string line = said.substr(0, end);
                said.erase(0, end + 1);
                if (line == "ok")
                    return Answer::Shown;
                if (line == "wait")
                    deadline = Clock::now() + std::chrono::milliseconds(startingMs);
            }
            if (said.size() > sizeof buffer)
                return Answer::Nobody;
            continue;
        }
        const int left = RemainingMs(deadline);
        if (left == 0 || TerminationRequested())
            return Answer::Silent;
        pollfd polled{fd, POLLIN, 0};
        ::poll(&polled, 1, std::min(left, 50));
    }
}

void SingleInstance::StartServer()
{
    if (server_)
        return;
    const QByteArray path = QFile::encodeName(socketPath_);
    sockaddr_un address{};
    if (!FillAddress(path, address)) {
        if (!socketPath_.isEmpty())
            qCWarning(lcInstance,
                      "kelvator: %s is too long for a socket: a second start will not find this one",
                      qUtf8Printable(socketPath_));
        return;
    }
    // The lock is ours: a socket left here belongs to a program that did not end cleanly.
    ::unlink(path.constData());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, int(kMaxClients)) != 0) {
        qCWarning(lcInstance, "kelvator: cannot listen at %s (%s): a second start will not find this one",
                  qUtf8Printable(socketPath_), qUtf8Printable(ErrnoText(errno)));
        if (fd >= 0)
            ::close(fd);
        return;
    }
    server_ = std::make_unique<Server>(fd, this);
    if (!server_->Running()) {
        qCWarning(lcInstance, "kelvator: cannot listen at %s: a second start will not find this one",
                  qUtf8Printable(socketPath_));
        server_.reset();
        ::unlink(path.constData());
    }
}

void SingleInstance::Listen(const std::function<void()>& onActivate)
{
    onActivate_ = onActivate;
    if (server_)
        server_->SetReady();
}

void SingleInstance::StopListening()
{
    if (!server_)
        return;
    server_.reset();
    ::unlink(QFile::encodeName(socketPath_).constData());
}

void SingleInstance::Activated()
{
    qCDebug(lcInstance, "asked to come to the front");
    if (onActivate_)
        onActivate_();
}

namespace {
volatile std::sig_atomic_t terminationRequested = 0;
int signalPair[2] = {-1, -1};

void OnSignal(int)
{
    const int savedErrno = errno;
    terminationRequested = 1;
    if (signalPair[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write(signalPair[1], &byte, 1);
    }
    errno = savedErrno;
}
} // namespace

void CatchTerminationSignals()
{
    // Non-blocking: a handler never waits on a full pair; close-on-exec: no player or helper
    // the program starts inherits it.
    if (signalPair[0] < 0 &&
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, signalPair) != 0)
        signalPair[0] = signalPair[1] = -1;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigset_t caught;
    sigemptyset(&caught);
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(sig, &action, nullptr);
        sigaddset(&caught, sig);
    }
    // A launcher that left them blocked would make the program deaf to the session's end; one
    // that came while they were blocked is taken now.
    ::pthread_sigmask(SIG_UNBLOCK, &caught, nullptr);
}

bool TerminationRequested()
{
    return terminationRequested != 0;
}

void QuitOnTerminationSignals()
{
    if (signalPair[0] < 0 || !QCoreApplication::instance())
        return;
    auto* notifier = new QSocketNotifier(signalPair[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char bytes[16];
        while (::read(signalPair[0], bytes, sizeof bytes) > 0) {
        }
        // exit() rather than quit(): it also ends a box shown before the main loop runs.
        QCoreApplication::exit(0);
    });
}

} // namespace kelvator
