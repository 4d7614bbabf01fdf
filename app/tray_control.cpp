#include "app/tray_control.h"

#include <QCursor>
#include <QMenu>
#include <QTimer>
#include <QWidget>

namespace kelvator {

TrayControl::TrayControl(const Platform& platform, QWidget& window)
    : QObject(&window)
    , platform_(platform)
    , window_(window)
{
    setObjectName(QStringLiteral("TrayControl"));
    menu_ = new QMenu(&window_);
    menu_->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* exit = menu_->addAction(QStringLiteral("Kilépés a programból"));
    exit->setObjectName(QStringLiteral("Kilepes"));
    connect(exit, &QAction::triggered, this, &TrayControl::Exit);
    if (platform_.tray) {
        platform_.tray->onRelease = [this](TrayIcon::Button b) {
            if (b == TrayIcon::Button::Left)
                RestoreFromTray();
            else
                menu_->popup(QCursor::pos());
        };
    }
    if (platform_.notifier)
        platform_.notifier->onActivate = [this] { BringToFront(); };
}

bool TrayControl::Usable() const
{
    return platform_.tray && platform_.tray->IsAvailable();
}

void TrayControl::SendToTray()
{
    inTray_ = true;
    if (!Usable()) {
        // Without a notification area a hidden window could never come back.
        window_.showMinimized();
        return;
    }
    platform_.tray->menu = menu_;
    platform_.tray->Add();
    window_.hide();
}

void TrayControl::RestoreFromTray()
{
    window_.show();
    window_.raise();
    window_.activateWindow();
    if (window_.isMinimized())
        window_.showNormal();
    if (platform_.tray)
        platform_.tray->Delete();
    inTray_ = false;
}

void TrayControl::BringToFront()
{
    if (inTray_ || window_.isHidden() || window_.isMinimized()) {
        RestoreFromTray();
        return;
    }
    window_.raise();
    window_.activateWindow();
}

void TrayControl::Exit()
{
    if (platform_.tray)
        platform_.tray->Delete();
    Q_EMIT exitRequested();
}

void TrayControl::WindowShown()
{
    // Not from inside the show itself: the window manager has not seen the window yet.
    if (startInTray_) {
        startInTray_ = false;
        QTimer::singleShot(0, this, &TrayControl::SendToTray);
    }
}

void TrayControl::WindowStateChanged()
{
    if (window_.isMinimized() && !inTray_) {
        // Hiding from inside the state change confuses some window managers; do it next.
        QTimer::singleShot(0, this, [this] {
            if (window_.isMinimized() && !inTray_)
                SendToTray();
        });
    } else if (!window_.isMinimized() && inTray_ && window_.isVisible()) {
        // Brought back from the task bar where there is no notification area.
        inTray_ = false;
    }
}

bool TrayControl::OutOfSight() const
{
    return (inTray_ && !window_.isVisible()) || window_.isMinimized();
}

void TrayControl::NotifyWhileHidden(Event kind, const QDateTime& event, const QString& body)
{
    QDateTime& notified = notified_[static_cast<size_t>(kind)];
    if (event == notified)
        return;
    notified = event;
    if (!platform_.notifier || !(inTray_ || window_.isHidden() || window_.isMinimized()))
        return;
    try {
        platform_.notifier->Notify(QStringLiteral("Kelvator"), body);
    } catch (...) {
        // A notification is an extra: the window still shows what happened.
    }
}

} // namespace kelvator
