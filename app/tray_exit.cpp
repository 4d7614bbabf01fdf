#include "app/form_main.h"
#include "app/work_end_signal.h"

#include "calendar/numbermask.h"
#include "exit/exit_page.h"
#include "settings/settings_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QMenu>
#include <QStackedWidget>
#include <QTimer>

using namespace kelvator;

namespace {
bool TrayUsable(const Platform& p)
{
    return p.tray && p.tray->IsAvailable();
}
} // namespace

void TForm_Main::SendToTray()
{
    inTrayFlag = true;
    if (!TrayUsable(platform_)) {
        // Without a notification area a hidden window could never come back.
        showMinimized();
        return;
    }
    platform_.tray->menu = PopupMenu1;
    platform_.tray->Add();
    hide();
}

void TForm_Main::RestoreFromTray()
{
    show();
    raise();
    activateWindow();
    if (isMinimized())
        showNormal();
    if (platform_.tray)
        platform_.tray->Delete();
    inTrayFlag = false;
}

void TForm_Main::BringToFront()
{
    if (inTrayFlag || isHidden() || isMinimized()) {
        RestoreFromTray();
        return;
    }
    raise();
    activateWindow();
}

void TForm_Main::NotifyWhileHidden(QDateTime& notified, const QDateTime& event, const QString& body)
{
    // An event is armed on every tick of its first seconds; the user hears of it once.
    if (event == notified)
        return;
    notified = event;
    if (!platform_.notifier || !(inTrayFlag || isHidden() || isMinimized()))
        return;
    try {
        platform_.notifier->Notify(QStringLiteral("Kelvator"), body);
    } catch (...) {
        // A notification is an extra: the window still shows what happened.
    }
}

void TForm_Main::KilepesClick()
{
    if (platform_.tray)
        platform_.tray->Delete();
    close();
}

void TForm_Main::Menu_BezarasClick()
{
    ShowOuterPage(exitPage_);
    exitPage_->FocusDefaultButton();
    SetMainMenuEnabled(false);
}

bool TForm_Main::FormCloseQuery()
{
    workEndSignal_->StopSound();
    if (PageControl1->currentWidget() == exitPage_)
        return false;
    if (!inTrayFlag && settingsModel_.Get().iconBesideClock) {
        SendToTray();
        return false;
    }
    return true;
}

bool TForm_Main::WindowOutOfSight() const
{
    return (inTrayFlag && !isVisible()) || isMinimized();
}
