#include "app/form_main.h"

#include "alarms/alarms_page.h"
#include "app/tick_source.h"
#include "app/tray_control.h"
#include "app/work_end_signal.h"
#include "clocks/big_clock_page.h"
#include "datecalc/datecalc_page.h"
#include "events/event_editor_page.h"
#include "events/events_page.h"
#include "settings/settings_page.h"
#include "stopwatch/stopwatch_page.h"
#include "widgets/mbargraph.h"
#include "widgets/tshape.h"
#include "widgets/widget_factory.h"
#include "worktime/workcalendar_page.h"
#include "worktime/worktime_page.h"
#include "yearcal/yeargrid_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <chrono>

using namespace kelvator;

namespace {

// Narrower tab padding than the desktop style's, so that every caption fits.
class CompactTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return 12;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

void TForm_Main::BuildMainPage()
{
    PageControl_Main = Place<QTabWidget>(TabSheet_Main, "PageControl_Main", 0, 0, 518, 391);
    workTimePage_ = new WorkTimePage(
        clockFace_, [this] { return platform_.now(); }, PageControl_Main);
    PageControl_Main->addTab(workTimePage_, QStringLiteral("Kelvator"));
    connect(workTimePage_, &WorkTimePage::refreshRequested, this, &TForm_Main::Timer1Timer);
    eventsPage_ = new EventsPage([this] { return platform_.now(); }, PageControl_Main);
    PageControl_Main->addTab(eventsPage_, QStringLiteral("Események"));
    connect(eventsPage_, &EventsPage::editRequested, this, [this](int slot) {
        ShowOuterPage(eventEditorPage_);
        SetMainMenuEnabled(false);
        eventEditorPage_->Open(slot, eventsPage_->Event(slot));
        SaveSettings();
    });
    connect(eventsPage_, &EventsPage::saveRequested, this, [this] { SaveSettings(); });
    // Not while the settings are being loaded into the page.
    connect(eventsPage_, &EventsPage::visibilityChanged, this, [this] {
        if (settingsLoadedFlag_)
            SaveSettings();
    });
    bigClockPage_ = new BigClockPage(clockFace_, PageControl_Main);
    PageControl_Main->addTab(bigClockPage_, QStringLiteral("Nagy óra"));
    connect(bigClockPage_, &BigClockPage::kindChanged, this, &TForm_Main::Timer1Timer);
    dateCalcPage_ = new DateCalcPage([this] { return platform_.now(); }, PageControl_Main);
    PageControl_Main->addTab(dateCalcPage_, QStringLiteral("Dátumok"));
    stopwatchPage_ =
        new StopwatchPage({.now = [this] { return platform_.now(); },
                           .twelveHourClock = [this] { return settingsModel_.Get().twelveHourClock; },
                           .outOfSight = [this] { return tray_->OutOfSight(); }},
                          PageControl_Main);
    PageControl_Main->addTab(stopwatchPage_, QStringLiteral("Stopper óra"));
    yearGridPage_ = new YearGridPage(
        {.now = [this] { return platform_.now(); },
         .steadyMs =
             [] {
                 using namespace std::chrono;
                 return qint64(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
             },
         .inSight =
             [this] {
                 return isVisible() && !isMinimized() && PageControl1->currentWidget() == TabSheet_Main &&
                        PageControl_Main->currentWidget() == yearGridPage_;
             },
         .clockRunning = [this] { return tickSource_ && tickSource_->Timer()->isActive(); }},
        calendarModel_, PageControl_Main);
    PageControl_Main->addTab(yearGridPage_, QStringLiteral("Éves naptár"));
    connect(yearGridPage_, &YearGridPage::dayKindChosen, this, [this](const QDate& date, DayKind kind) {
        calendarModel_.SetDay(date, kind);
        // Like every other change the user makes on a page, it reaches the file at once.
        SaveSettings();
    });
    alarmsPage_ = new AlarmsPage(PageControl_Main);
    PageControl_Main->addTab(alarmsPage_, QStringLiteral("Napi riasztások"));
    connect(PageControl_Main, &QTabWidget::currentChanged, this, [this] {
        Timer1Timer();
        QWidget* tab = PageControl_Main->currentWidget();
        if (tab == dateCalcPage_)
            dateCalcPage_->Refresh();
        if (tab == stopwatchPage_)
            stopwatchPage_->FocusLastEnabledButton();
        if (tab == yearGridPage_)
            yearGridPage_->Shown();
    });
    // Seven captions share 518 pixels, as they did on the narrower native tabs.
    PageControl_Main->setUsesScrollButtons(false);
    auto* compact = new CompactTabStyle;
    compact->setParent(PageControl_Main);
    PageControl_Main->tabBar()->setStyle(compact);

    workTimePage_->ShowDaysOff(DaysOffTest(calendarModel_), int(calendarModel_.Revision()));
    clockFace_.SetSource([this]() -> std::optional<ClockFaceInput> {
        // Nobody sees the face of a window in the tray: it is drawn when the window paints again.
        if (tray_->OutOfSight())
            return std::nullopt;
        const Settings& settings = settingsModel_.Get();
        ClockFaceInput in;
        const QDateTime now = platform_.now();
        const QTime time = now.time();
        in.time = QTime(time.hour(), time.minute(), time.second()); // the face shows whole seconds
        in.dayOfWeek = now.date().dayOfWeek();
        in.overlayChoice = settings.smallClockShown;
        in.blinkFlag = workEndSignal_->Blinking();
        in.schedule = work_.schedule;
        if (calendarModel_.Enabled())
            in.workingDay = calendarModel_.Calendar().IsWorkingDay(now.date());
        for (size_t k = 0; k < 3; ++k)
            in.showBreak[k] = settings.breaks[k].on;
        return in;
    });
    ShowDateCalcWorkCalendar();
    stopwatchPage_->SetDialArtwork(clockFace_.Artwork());
    connect(tray_, &TrayControl::stopwatchToggleRequested, this, [this] {
        stopwatchPage_->StartOrStop();
        tray_->ShowStopwatchRunning(stopwatchPage_->Running());
    });
}

void TForm_Main::ShowDateCalcWorkCalendar()
{
    // Both tests ask the model when they are used, so they follow a calendar changed later.
    dateCalcPage_->ShowWorkCalendar(
        [this](const QDate& d) { return calendarModel_.Calendar().IsWorkingDay(d); },
        DaysOffTest(calendarModel_), int(calendarModel_.Revision()));
}

void TForm_Main::WireSettingsPage()
{
    // The window runs with what the page holds, as it changes.
    connect(settingsPage_, &SettingsPage::changed, this, [this] {
        Settings settings = settingsModel_.Get();
        settingsPage_->CollectSettings(settings);
        settingsModel_.Set(settings);
    });
    connect(settingsPage_, &SettingsPage::okClicked, this, [this] {
        if (!SaveSettings())
            return;
        ShowOuterPage(TabSheet_Main);
        SetMainMenuEnabled(true);
    });
    workEndSignal_ = new WorkEndSignal(
        platform_, settingsModel_, *settingsPage_,
        [this](const QDateTime& event, const QString& body) {
            tray_->NotifyWhileHidden(TrayControl::Event::WorkEnd, event, body);
        },
        this);

    connect(settingsPage_, &SettingsPage::workCalendarRequested, this, &TForm_Main::Button_MunkarendClick);
    connect(workCalendarPage_, &WorkCalendarPage::trayApplied, this,
            [this](const TraySettings& options) { traySettingsModel_.Set(options); });
    connect(workCalendarPage_, &WorkCalendarPage::done, this, [this] {
        ShowOuterPage(settingsPage_);
        settingsPage_->FocusWorkCalendarButton();
    });
}

void TForm_Main::Button_MunkarendClick()
{
    // The rows the user never set show the settings page's hours as they stand.
    workCalendarPage_->Open(platform_.now().date().year(), CollectSettings());
    workCalendarPage_->ShowTraySettings(traySettingsModel_.Get());
    ShowOuterPage(workCalendarPage_);
    workCalendarPage_->FocusDefaultButton();
}
