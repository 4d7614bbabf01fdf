#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

namespace kelvator {

// One running program per settings file: a second start hands over to the first and ends.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(const QString& settingsPath, QObject* parent = nullptr);

    // True when another program already runs on this settings file; it has been asked to
    // come to the front.
    bool HandOverToRunning();
    // Listens for later starts; onActivate runs for each of them.
    bool Listen(const std::function<void()>& onActivate);

    static QString ServerName(const QString& settingsPath);

private:
    QString name_;
    QLocalServer* server_ = nullptr;
};

// SIGTERM, SIGINT and SIGHUP end the event loop the ordinary way, so the window saves.
void QuitOnTerminationSignals();

} // namespace kelvator
