#include "app/tray_control.h"

#include "settings/settings_model.h"
#include "worktime/workcalendar_model.h"

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
    exit_ = menu_->addAction(QStringLiteral("Kilépés a programból"));
    exit_->setObjectName(QStringLiteral("Kilepes"));
    connect(exit_, &QAction::triggered, this, &TrayControl::Exit);
    BuildFullMenu();
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
    if (options_.tipShowsDay || options_.iconShowsDay)
        Q_EMIT dayWanted();
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
    if (inTray_ || window_.isHidden() || window_.isMinimized())
        Notify(body);
}

void TrayControl::Notify(const QString& body)
{
    if (!platform_.notifier)
        return;
    try {
        platform_.notifier->Notify(QStringLiteral("Kelvator"), body);
    } catch (...) {
        // A notification is an extra: the window still shows what happened.
    }
}

void TrayControl::BuildFullMenu()
{
    open_ = new QAction(QStringLiteral("Megnyitás"), this);
    open_->setObjectName(QStringLiteral("Menu_TalcaMegnyitas"));
    connect(open_, &QAction::triggered, this, &TrayControl::RestoreFromTray);
    stopwatch_ = new QAction(QStringLiteral("Stopper indítása"), this);
    stopwatch_->setObjectName(QStringLiteral("Menu_TalcaStopper"));
    connect(stopwatch_, &QAction::triggered, this, &TrayControl::stopwatchToggleRequested);
    separator_ = new QAction(this);
    separator_->setSeparator(true);
}

void TrayControl::SetOptions(const TraySettings& options)
{
    if (options.fullMenu != options_.fullMenu) {
        if (options.fullMenu) {
            menu_->insertActions(exit_, {open_, stopwatch_, separator_});
        } else {
            for (QAction* a : {open_, stopwatch_, separator_})
                menu_->removeAction(a);
        }
    }
    options_ = options;
    if (!platform_.tray)
        return;
    // Switched off, the icon is the program's own with its name, as it always was.
    if (!options_.tipShowsDay)
        platform_.tray->SetToolTip(QString());
    if (!options_.iconShowsDay) {
        iconShown_.reset();
        platform_.tray->SetIcon(QIcon());
    }
}

bool TrayControl::FollowsDay() const
{
    return options_.remindBeforeEnd || (inTray_ && (options_.tipShowsDay || options_.iconShowsDay));
}

void TrayControl::ShowDay(const TickMoment& moment, const WorkSnapshot& work, const Settings& settings,
                          const WorkCalendarModel& calendar)
{
    // Whether the window is shown or not: the point is to hear of it in time.
    if (const std::optional<QString> reminder =
            StepTrayReminder(reminder_, moment, work, options_.remindBeforeEnd, options_.reminderMinutes))
        Notify(*reminder);
    // Only an icon in the tray is seen; going there brings the day up to date first.
    if (!platform_.tray || !inTray_)
        return;
    if (options_.tipShowsDay)
        platform_.tray->SetToolTip(TrayTipText(moment, work, settings, calendar));
    if (options_.iconShowsDay) {
        const TrayIconState state = TrayIconStateOf(moment, work);
        if (state != iconShown_) {
            if (programIcon_.isNull())
                programIcon_ = ProgramIconImage();
            platform_.tray->SetIcon(MakeTrayIcon(state, programIcon_));
            iconShown_ = state;
        }
    }
}

void TrayControl::ShowStopwatchRunning(bool running)
{
    const QString text = running ? QStringLiteral("Stopper megállítása") : QStringLiteral("Stopper indítása");
    if (stopwatch_->text() != text)
        stopwatch_->setText(text);
}

} // namespace kelvator
