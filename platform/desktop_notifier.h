#pragma once

#include "platform/platform.h"

#include <QDBusConnection>
#include <QObject>
#include <QSet>

namespace kelvator {

// Notifications through the desktop's org.freedesktop.Notifications service, each with an
// action that brings the window back. Calls are asynchronous: a missing service costs nothing.
class DesktopNotifier final : public QObject, public Notifier {
    Q_OBJECT

public:
    explicit DesktopNotifier(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                             QObject* parent = nullptr);
    void Notify(const QString& title, const QString& body) override;

private Q_SLOTS:
    void ActionInvoked(uint id, const QString& action);

private:
    QDBusConnection bus_;
    bool listening_ = false;
    // Ids of our notifications; some servers report the closing before the action, so they stay.
    QSet<uint> shown_;
};

} // namespace kelvator
