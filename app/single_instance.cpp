#include "app/single_instance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace kelvator {

SingleInstance::SingleInstance(const QString& settingsPath, QObject* parent)
    : QObject(parent)
    , name_(ServerName(settingsPath))
    , lockPath_(LockPath(settingsPath))
{
}

SingleInstance::~SingleInstance()
{
    if (lockFd_ >= 0)
        ::close(lockFd_); // releases the lock
}

QString SingleInstance::ServerName(const QString& settingsPath)
{
    const QString canonical = QFileInfo(settingsPath).absoluteFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("kelvator-") + QString::fromLatin1(hash);
}

QString SingleInstance::LockPath(const QString& settingsPath)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(ServerName(settingsPath) + QStringLiteral(".lock"));
}

bool SingleInstance::Claim(int waitMs)
{
    // flock() goes with the open file: a program that ends or crashes lets go of it at once.
    lockFd_ = ::open(QFile::encodeName(lockPath_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0) {
        // No lock to be had: the listening socket alone decides, as well as it can.
        if (HandOverToRunning())
            return false;
        StartServer();
        return true;
    }
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
            StartServer();
            return true;
        }
        if (HandOverToRunning(200))
            return false;
        // The other program has the file but does not listen yet: it is starting.
        if (waited.elapsed() > waitMs)
            return false;
        QThread::msleep(50);
    }
}

bool SingleInstance::HandOverToRunning(int waitMs)
{
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(waitMs))
        return false;
    socket.write("show\n");
    socket.waitForBytesWritten(500);
    // The running program answers once its window is there; one that ended meanwhile does not.
    const bool answered = socket.waitForReadyRead(20000);
    socket.disconnectFromServer();
    return answered;
}

bool SingleInstance::StartServer()
{
    if (server_)
        return server_->isListening();
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // A socket left by a program that did not end cleanly: the lock says none runs now.
        QLocalServer::removeServer(name_);
        if (!server_->listen(name_))
            return false;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            if (onActivate_)
                Answer(client);
            else
                waiting_.append(client);
        }
    });
    return true;
}

void SingleInstance::Answer(QLocalSocket* client)
{
    onActivate_();
    client->write("ok\n");
    client->flush();
}

bool SingleInstance::Listen(const std::function<void()>& onActivate)
{
    onActivate_ = onActivate;
    const QList<QPointer<QLocalSocket>> waiting = std::exchange(waiting_, {});
    for (const QPointer<QLocalSocket>& client : waiting) {
        if (client && onActivate_)
            Answer(client);
    }
    return StartServer();
}

namespace {
int signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}
} // namespace

void QuitOnTerminationSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [notifier] {
        notifier->setEnabled(false);
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(signalPipe[0], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &action, nullptr);
}

} // namespace kelvator
