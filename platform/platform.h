#pragma once

#include <QDateTime>
#include <QIcon>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QMenu;
class QWidget;

namespace kelvator {

// The media player: each call can fail and says so by returning false.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual bool Open(const QString& path) = 0;
    virtual bool Close() = 0;
    virtual bool Play() = 0;
    virtual bool Stop() = 0;
    virtual bool Rewind() = 0;
};

// The notification-area icon; released buttons on it come back through the callbacks.
class TrayIcon {
public:
    enum class Button { Left, Right };
    virtual ~TrayIcon() = default;
    // False where the desktop has no notification area.
    virtual bool IsAvailable() const = 0;
    virtual bool Add() = 0;
    virtual bool Delete() = 0;
    // What the icon shows on hover, and the icon itself. Empty text or a null icon is the
    // program's own: "Kelvator" and its application icon. Cheap to call on every tick: a call
    // that changes nothing reaches no panel. Set before Add, they are shown from the start.
    virtual void SetToolTip(const QString& text) = 0;
    virtual void SetIcon(const QIcon& icon) = 0;
    std::function<void(Button)> onRelease;
    // The icon's own menu, for hosts that show it themselves (StatusNotifierItem panels).
    QMenu* menu = nullptr;
};

// Desktop notifications for what happens while the window is hidden. Nothing happens, and
// nothing fails, where the desktop has no notification service.
class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void Notify(const QString& title, const QString& body) = 0;
    // The user chose a notification's action.
    std::function<void()> onActivate;
};

struct OpenFileRequest {
    QString title;
    QString defaultSuffix;
    QStringList filters; // "hang fájl (*.mp3)" style entries
    QString folder;
    QString fileName;
};

// Everything that reaches outside the process, handed to the window so tests can fake it.
struct Platform {
    std::function<QDateTime()> now;
    QString settingsPath;
    std::shared_ptr<SoundPlayer> sound;
    std::function<void()> beep;
    std::function<void(QWidget* parent, const QString& text)> errorBox;
    // Returns the chosen file's full path, or an empty string when cancelled.
    std::function<QString(QWidget* parent, const OpenFileRequest& request)> openFile;
    std::shared_ptr<TrayIcon> tray;
    std::shared_ptr<Notifier> notifier;
};

} // namespace kelvator
