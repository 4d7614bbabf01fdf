#include "app/form_main.h"
#include "app/tray_control.h"
#include "app/work_end_signal.h"

#include "exit/exit_page.h"

#include <QStackedWidget>

using namespace kelvator;

void TForm_Main::BringToFront()
{
    tray_->BringToFront();
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
    if (!tray_->InTray() && settingsModel_.Get().iconBesideClock) {
        tray_->SendToTray();
        return false;
    }
    return true;
}
