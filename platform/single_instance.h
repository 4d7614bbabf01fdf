#pragma once

#include <QLoggingCategory>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace kelvator {

// Where the lock and the hand-over socket are kept, at debug level what the hand-over does.
Q_DECLARE_LOGGING_CATEGORY(lcInstance)

// A folder only this user can reach. Another account that could write in it could hold the lock
// or answer for the running program, so the program's own start is never left to it.
struct RuntimeFolder {
    QString path;    // empty: no private folder could be had
    QString warning; // why a better place was passed over, or empty
};
// $XDG_RUNTIME_DIR when it is private; otherwise kelvator-<uid> in the temporary folder, or
// kelvator in the cache folder, made 0700 and checked: a directory of this user's own, no link.
RuntimeFolder PrivateRuntimeFolder();
// What is wrong with the folder as a private one, or empty. With create, a missing folder is made
// and one of this user's own that others could reach is closed to them.
QString CheckPrivateFolder(const QString& path, bool create);

// One running program per settings file: a second start hands over to the first and ends.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(const QString& settingsPath, const RuntimeFolder& folder = PrivateRuntimeFolder(),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    enum class Start {
        First,      // this program runs; it holds the lock and listens for later starts
        HandedOver, // another program on this settings file came to the front
        Unanswered, // another program holds the settings file but does not answer
        Stopped,    // a termination signal came while waiting
    };
    // Takes the lock on the settings file, before anything else is done, and listens for later
    // starts; while another program holds the lock it is asked to come to the front.
    Start Claim();

    enum class Answer {
        Shown,  // the running program came to the front
        Silent, // something listens but did not answer in time
        Nobody, // nothing of this user's listens, or the program went away before answering
    };
    // Asks the program that listens on this settings file to come to the front. One that is still
    // building its window says so and is waited for up to startingMs; one that says nothing, up to
    // silentMs.
    Answer AskRunning(int silentMs = 1000, int startingMs = 10000) const;

    // From now on a later start is answered at once and onActivate runs for it in this thread;
    // until then it is told to wait. Also for one that asked before.
    void Listen(const std::function<void()>& onActivate);
    // The program is ending: a later start no longer hands over to it but waits for the lock.
    void StopListening();

    // The file name both the lock and the socket start with, after the settings file's path.
    static QString BaseName(const QString& settingsPath);
    QString LockPath() const { return lockPath_; }
    QString SocketPath() const { return socketPath_; }

private:
    void OpenLock();
    void StartServer();
    void Activated();

    QString lockPath_;
    QString socketPath_;
    int lockFd_ = -1;
    std::function<void()> onActivate_;
    class Server;
    std::unique_ptr<Server> server_;
};

// SIGTERM, SIGINT and SIGHUP: caught from the first line of main() on, so that one arriving while
// the program starts ends it as soon as it can.
void CatchTerminationSignals();
bool TerminationRequested();
// Once the application exists: a termination signal ends every event loop, also a box's.
void QuitOnTerminationSignals();

} // namespace kelvator
