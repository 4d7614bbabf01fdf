#pragma once

#include "platform/platform.h"
#include "tray/tray_day.h"
#include "tray/tray_settings.h"

#include <QDateTime>
#include <QObject>

#include <array>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace kelvator {

class WorkCalendarModel;
struct Settings;

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

    // What the user chose the tray to show of the day, and whether it needs the tick's snapshot
    // while the pages are not kept up to date.
    void SetOptions(const TraySettings& options);
    bool FollowsDay() const;
    // Every tick: the reminder before the work end, the tooltip and the icon, as the options ask.
    void ShowDay(const TickMoment& moment, const WorkSnapshot& work, const Settings& settings,
                 const WorkCalendarModel& calendar);
    // The menu's stopwatch item says what choosing it does.
    void ShowStopwatchRunning(bool running);

Q_SIGNALS:
    void exitRequested();
    // The icon is about to be shown and shows the day: bring the day up to date first.
    void dayWanted();
    // The menu's stopwatch item: start it, or stop it while it runs.
    void stopwatchToggleRequested();

private:
    bool Usable() const;
    void Notify(const QString& body);
    void BuildFullMenu();

    const Platform& platform_;
    QWidget& window_;
    QMenu* menu_ = nullptr;
    bool inTray_ = false;
    bool startInTray_ = false;
    std::array<QDateTime, 2> notified_;
    QAction* exit_ = nullptr;
    // The fuller menu's items, in the menu only while the user wants them.
    QAction* open_ = nullptr;
    QAction* stopwatch_ = nullptr;
    QAction* separator_ = nullptr;
    TraySettings options_;
    TrayReminderState reminder_;
    std::optional<TrayIconState> iconShown_;
    QImage programIcon_;
};

} // namespace kelvator
