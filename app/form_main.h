#pragma once

#include "clocks/clock_face.h"
#include "platform/platform.h"
#include "settings/settings_model.h"
#include "tray/tray_settings.h"
#include "worktime/tick_snapshot.h"
#include "worktime/workcalendar_model.h"

#include <QMainWindow>

class QAction;
class QMenuBar;
class QStackedWidget;
class QTabWidget;
class QWidget;
namespace kelvator {
class AboutPage;
class DateCalcPage;
class AlarmsPage;
class BigClockPage;
class EventEditorPage;
class EventsPage;
class ExitPage;
class NoticePage;
class SettingsPage;
class StopwatchPage;
class YearGridPage;
class TickSource;
class TrayControl;
class WorkTimePage;
class WorkCalendarPage;
class WorkEndSignal;
} // namespace kelvator

using kelvator::TickMoment;

// The program's window: the menu, the page switching, leaving, and the wiring of the models to the
// pages, the tray and the work-end signal.
class TForm_Main : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm_Main(kelvator::Platform platform, QWidget* parent = nullptr);
    ~TForm_Main() override;

    // The 200 ms tick; handlers call it for an immediate refresh.
    void Timer1Timer();

    // ---- Application shell -------------------------------------------------------------
    void Menu_BeallitasokClick();
    void Menu_BezarasClick();

    // Another start of the program asked for the window.
    void BringToFront();
    bool FormCloseQuery();

    // Steps owned by features that fill them in.
    void LoadSettings();
    // The stored values as the controls hold them, and back into the controls.
    kelvator::Settings CollectSettings() const;
    void ShowSettings(const kelvator::Settings& settings);
    // False, after saying so, when the file could not be written.
    bool SaveSettings();
    // Work calendar and hours per weekday (the "Munkarend" page).
    void Button_MunkarendClick();
    // The work calendar and the hours per weekday the program runs with.
    kelvator::WorkCalendarModel& CalendarModel() { return calendarModel_; }

    // Shows an outer page without firing PageControl1Change, as the program's own switches do.
    void ShowOuterPage(QWidget* page);
    void SetMainMenuEnabled(bool enabled);

    // The last tick's schedule, bars, month and payday.
    const kelvator::WorkSnapshot& Snapshot() const { return work_; }
    // The second of the day of the last tick that ran all its steps.
    int LastTickSecond() const { return previousTickSecond_; }
    // What LoadSettings read but did not understand, for the user to hear once at start; or empty.
    const QString& LoadNotice() const { return loadNotice_; }
    const kelvator::ClockFace& clockFace() const { return clockFace_; }

Q_SIGNALS:
    // The close request passed: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ---- State kept between ticks ------------------------------------------------------
    bool startUpFlag_ = false;
    bool hourlyNoticeFlag_ = false;
    bool noticeAcknowledgedFlag_ = false;
    int lastPulseSecond_ = 0;
    int previousTickSecond_ = 0;
    kelvator::WorkSnapshot work_;
    bool settingsLoadedFlag_ = false;
    // The settings file could not be read (not a regular file, too large): it is never written.
    bool settingsFileRefusedFlag_ = false;
    QString loadNotice_;

    // The controls keep their object names: tests and screen readers find them by those.
    QMenuBar* MainMenu1 = nullptr;
    QAction* Menu_Bezaras = nullptr;
    QAction* Menu_Beallitasok = nullptr;
    QAction* Menu_Nevjegy = nullptr;
    QStackedWidget* PageControl1 = nullptr;
    QWidget* TabSheet_Main = nullptr;
    QTabWidget* PageControl_Main = nullptr;

    void BuildWindow();
    // The window stays at its place unless part of it would be off the screen it opens on; checked
    // again once its frame is known.
    void KeepOnScreen();
    bool frameCheckedOnScreen_ = false;
    void BuildMainPage();
    void ShowError(const QString& text);
    // The settings page's requests, the values it holds (which the program runs with) and its
    // button to the work calendar page.
    void WireSettingsPage();
    kelvator::SettingsPage* settingsPage_ = nullptr;
    void HandleEscape();
    // The timer "Timer1" that runs the tick, paced by what the window shows.
    void MakeTickSource();
    kelvator::TickSource* tickSource_ = nullptr;
    // Back from a page over the main one: the main page, with the menu enabled again.
    void ReturnToMainPage();
    kelvator::AboutPage* aboutPage_ = nullptr;
    kelvator::ExitPage* exitPage_ = nullptr;
    kelvator::NoticePage* noticePage_ = nullptr;
    kelvator::DateCalcPage* dateCalcPage_ = nullptr;
    // The work calendar as the date calculator's steps and red days follow it.
    void ShowDateCalcWorkCalendar();
    kelvator::StopwatchPage* stopwatchPage_ = nullptr;
    kelvator::YearGridPage* yearGridPage_ = nullptr;
    kelvator::AlarmsPage* alarmsPage_ = nullptr;
    kelvator::BigClockPage* bigClockPage_ = nullptr;
    kelvator::WorkCalendarPage* workCalendarPage_ = nullptr;
    // The analog face of the big clock and of the work-time page's small clock.
    kelvator::ClockFace clockFace_;
    kelvator::EventsPage* eventsPage_ = nullptr;
    kelvator::WorkTimePage* workTimePage_ = nullptr;
    // The work end's blink and sound, and the player it shares with the settings page.
    kelvator::WorkEndSignal* workEndSignal_ = nullptr;
    kelvator::EventEditorPage* eventEditorPage_ = nullptr;
    void TickSteps();
    // What the pages show of this tick, and the work-end signal.
    void ShowTick(const TickMoment& m);

    kelvator::Platform platform_;
    kelvator::SettingsModel settingsModel_;
    kelvator::WorkCalendarModel calendarModel_;
    kelvator::TraySettingsModel traySettingsModel_;
    QString lastTickFailure_;
    bool closingAllowed_ = false;
    // The tray icon, its menu and the notifications while the window is away.
    kelvator::TrayControl* tray_ = nullptr;
};
