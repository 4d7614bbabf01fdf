#pragma once

#include "platform/platform.h"

#include <QDateTime>
#include <QObject>

#include <array>

class QAction;
class QMenu;
class QWidget;

namespace kelvator {

// The window's place in the notification area: putting it there and back, its menu, and the
// desktop notifications for what happens while it is away.
class TrayControl : public QObject {
    Q_OBJECT

public:
    enum class Event { HourlyNotice, WorkEnd };

    TrayControl(const Platform& platform, QWidget& window);

    void SendToTray();
    void RestoreFromTray();
    // Another start of the program, or a notification, asked for the window.
    void BringToFront();
    // Removes the icon and asks the window to close.
    void Exit();

    // Set from the settings: the window goes to the tray when it is first shown.
    void StartInTray(bool on) { startInTray_ = on; }
    bool StartsInTray() const { return startInTray_; }
    // The window's own show and state changes, passed on by the window.
    void WindowShown();
    void WindowStateChanged();

    bool InTray() const { return inTray_; }
    // Nobody can see the window: it is in the tray or minimised.
    bool OutOfSight() const;

    // A desktop notification, once per event (an event is armed on every tick of its first
    // seconds), while the window is hidden or minimised.
    void NotifyWhileHidden(Event kind, const QDateTime& event, const QString& body);

Q_SIGNALS:
    void exitRequested();

private:
    bool Usable() const;

    const Platform& platform_;
    QWidget& window_;
    QMenu* menu_ = nullptr;
    bool inTray_ = false;
    bool startInTray_ = false;
    std::array<QDateTime, 2> notified_;
};

} // namespace kelvator
