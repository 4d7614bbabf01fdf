#include "platform/desktop_notifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace kelvator {

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kAction = QStringLiteral("default");
} // namespace

DesktopNotifier::DesktopNotifier(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , bus_(bus)
{
}

void DesktopNotifier::Notify(const QString& title, const QString& body)
{
    if (!bus_.isConnected())
        return;
    if (!listening_) {
        listening_ = bus_.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                                  SLOT(ActionInvoked(uint, QString)));
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("kelvator")},
                            {QStringLiteral("urgency"), QVariant::fromValue(uchar(1))}};
    call << QStringLiteral("Kelvator") << uint(0) << QStringLiteral("kelvator") << title << body
         << QStringList{kAction, QStringLiteral("Megnyitás")} << hints << int(-1);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* done) {
        const QDBusPendingReply<uint> reply = *done;
        // No service, or one that refused: the window itself still shows what happened.
        if (reply.isValid())
            shown_.insert(reply.value());
        done->deleteLater();
    });
}

void DesktopNotifier::ActionInvoked(uint id, const QString& action)
{
    // Other programs' notifications share the signal.
    if (!shown_.contains(id) || action != kAction)
        return;
    if (onActivate)
        onActivate();
}

} // namespace kelvator
