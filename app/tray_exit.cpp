#include "app/form_main.h"

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

void TForm_Main::TrayRelease(TrayIcon::Button button)
{
    if (button == TrayIcon::Button::Left)
        RestoreFromTray();
    else
        PopupMenu1->popup(QCursor::pos());
}

void TForm_Main::NotifyHourlyNotice(const TickMoment& m)
{
    // The notice arms on every tick of its first seconds; the user hears of it once.
    const QDateTime hour(m.today, QTime(m.time.hour(), 0));
    if (hour == notifiedNotice_)
        return;
    notifiedNotice_ = hour;
    NotifyWhileHidden(FormatMask(m.time.hour(), u"0") + u':' + FormatMask(0, u"00"));
}

void TForm_Main::NotifyWorkEnd(const TickMoment& m, int workEnd)
{
    const QDateTime end(m.today, QTime::fromMSecsSinceStartOfDay(workEnd * 1000));
    if (end == notifiedWorkEnd_)
        return;
    notifiedWorkEnd_ = end;
    const int hour = workEnd / 3600;
    const int minute = workEnd % 3600 / 60;
    NotifyWhileHidden(QStringLiteral("Vége a munkaidőnek (") + FormatMask(hour, u"00") + u':' +
                      FormatMask(minute, u"00") + u')');
}

void TForm_Main::NotifyWhileHidden(const QString& body)
{
    if (!platform_.notifier || !(inTrayFlag || isHidden() || isMinimized()))
        return;
    try {
        platform_.notifier->Notify(QStringLiteral("Kelvator"), body);
    } catch (...) {
        // A notification is an extra: the window still shows what happened.
    }
}

void TForm_Main::FormPaint()
{
    if (!startInTrayFlag)
        return;
    startInTrayFlag = false;
    // Not from inside the show itself: the window manager has not seen the window yet.
    QTimer::singleShot(0, this, &TForm_Main::SendToTray);
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
    if (!playerIdleFlag) {
        try {
            if (platform_.sound)
                platform_.sound->Stop();
        } catch (...) {
            // Stopping the sound must not keep the window open.
        }
        playerIdleFlag = true;
        settingsPage_->ShowSoundPlaying(!playerIdleFlag);
    }
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
