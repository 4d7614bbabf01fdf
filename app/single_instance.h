#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QLocalServer;
class QLocalSocket;

namespace kelvator {

// One running program per settings file: a second start hands over to the first and ends.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(const QString& settingsPath, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock on the settings file, before anything else is done, and listens for later
    // starts. While another program holds the lock it is asked to come to the front and the
    // result is false; a program that holds it but is still starting is waited for.
    bool Claim(int waitMs = 20000);
    // True when another program already runs on this settings file and has answered that it
    // came to the front.
    bool HandOverToRunning(int waitMs = 500);
    // onActivate runs for each later start, also for one that came before it was set.
    bool Listen(const std::function<void()>& onActivate);

    static QString ServerName(const QString& settingsPath);
    // In the user's runtime folder, named after the settings file.
    static QString LockPath(const QString& settingsPath);

private:
    bool StartServer();
    // Brings this program to the front and tells the asking one so.
    void Answer(QLocalSocket* client);

    QString name_;
    QString lockPath_;
    int lockFd_ = -1;
    QLocalServer* server_ = nullptr;
    std::function<void()> onActivate_;
    QList<QPointer<QLocalSocket>> waiting_; // starts that asked before the window was there
};

// SIGTERM, SIGINT and SIGHUP end the event loop the ordinary way, so the window saves.
void QuitOnTerminationSignals();

} // namespace kelvator
