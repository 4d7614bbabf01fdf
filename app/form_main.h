#pragma once

#include "calendar/tdatetime.h"
#include "calendar/workcalendar.h"
#include "clocks/analog_clock.h"
#include "clocks/clock_face.h"
#include "platform/platform.h"
#include "settings/settings_model.h"
#include "settings/value_forms.h"
#include "worktime/schedule.h"
#include "worktime/tick_snapshot.h"
#include "worktime/workcalendar_model.h"
#include "worktime/workpattern.h"

#include <QImage>
#include <QMainWindow>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>

class QAbstractButton;
class QAction;
class QComboBox;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPainter;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class QTimer;
class QWidget;

class QFrame;
class TMBarGraph;
class TMonthCalendar;
class TPaintBox;
class TShape;
class TRadioGroup;
namespace kelvator {
class AboutPage;
class DateCalcPage;
class AlarmsPage;
class BigClockPage;
class EventEditorPage;
class EventsPage;
class ExitPage;
class IniFile;
class NoticePage;
class StopwatchPage;
class TickSource;
} // namespace kelvator

using kelvator::TickMoment;

// The program's one window: it owns every control and all state.
class TForm_Main : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm_Main(kelvator::Platform platform, QWidget* parent = nullptr);
    ~TForm_Main() override;

    // The 200 ms tick; handlers call it for an immediate refresh.
    void Timer1Timer();

    // ---- Application shell -------------------------------------------------------------
    void FormCreate();
    void FormDestroy();
    void FormKeyPress(QChar key);
    void FormPaint();
    void PageControl1Change();
    void PageControl_MainChange();
    void Menu_BeallitasokClick();
    void Menu_NevjegyClick();
    void Menu_BezarasClick();
    void Button_BeallitasokOKClick();
    void Button_MaClick();

    // Tray and leaving.
    void SendToTray();
    void RestoreFromTray();
    // Another start of the program asked for the window.
    void BringToFront();
    void TrayRelease(kelvator::TrayIcon::Button button);
    // A desktop notification for the hourly notice and the work end, once per event, while
    // the window is hidden or minimised.
    void NotifyHourlyNotice(const TickMoment& m);
    void NotifyWorkEnd(const TickMoment& m, int workEnd);
    void KilepesClick();
    bool FormCloseQuery();

    // Steps owned by features that fill them in.
    void UpdateSoundButton();
    void LoadSettings();
    // The stored values as the controls hold them, and back into the controls.
    kelvator::Settings CollectSettings() const;
    void ShowSettings(const kelvator::Settings& settings);
    // False, after saying so, when the file could not be written.
    bool SaveSettings();
    bool ValidateHourEdit(QLineEdit* edit);
    bool ValidateMinuteEdit(QLineEdit* edit);
    bool Edit_HaviFizetesExit();
    // The field's text if it passes its check, else the last text that did.
    QString CheckedFieldText(const QLineEdit* edit) const;
    void DrawYearCalendar();
    void Shape_EvesNaptarSzin1MouseDown(TShape* shape, Qt::MouseButton button);
    void Image_EvesNaptarMouseMove(QPoint position);
    void Image_EvesNaptarClick();
    void HighlightCalendarLabels(int month, int day);
    void Timer_AktualisNapVillogtatasTimer();
    void PaintBox_KisMutatosOraPaint(QPainter& p);

    void Shape_FizetesnapMouseDown(TShape* shape, Qt::MouseButton button);
    void SpeedButton_FizetesKijelzesClick();
    void Button_BeallitasokMIVFileClick();
    void Button_BeallitasokMIVHangStopClick();
    void RadioGroup_HangjelzesKelvatorVegenClick();

    // Work calendar and hours per weekday (the "Munkarend" page).
    void Button_MunkarendClick();
    void Button_MunkarendOKClick();
    void Button_MunkarendMegsemClick();
    void SpinEdit_MunkarendEvChange();
    void ListBox_MunkarendNapokClick();
    void Button_MunkarendSzabadnapClick();
    void Button_MunkarendMunkanapClick();
    void Button_MunkarendTorlesClick();
    void Button_AthelyezesHozzaadasClick();
    void CheckBox_NapiMunkaidoClick();
    void RefreshWorkPatternList();
    void Image_EvesNaptarContextMenu(QPoint position);
    // A right click's choice in the yearly calendar: rest, work, or back to the calendar (Plain).
    void SetCalendarDay(const QDate& date, kelvator::DayKind kind);
    // False, after saying so, when a weekday row ends before it starts.
    bool CheckWeekdayRows();
    bool WeekdayHoursInUse() const { return calendarModel_.WeekdayHoursInUse(); }
    // The work calendar and the hours per weekday the program runs with.
    kelvator::WorkCalendarModel& CalendarModel() { return calendarModel_; }

    // Shows an outer page without firing PageControl1Change, as the program's own switches do.
    void ShowOuterPage(QWidget* page);
    void SetMainMenuEnabled(bool enabled);

    // ---- Controls (named as in the settings file and the tests) ------------------------
    QTimer* Timer_AktualisNapVillogtatas = nullptr;

    QMenuBar* MainMenu1 = nullptr;
    QAction* Menu_Bezaras = nullptr;
    QAction* Menu_Beallitasok = nullptr;
    QAction* Menu_Nevjegy = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Kilepes = nullptr;

    QStackedWidget* PageControl1 = nullptr;
    QWidget* TabSheet_Main = nullptr;
    QWidget* TabSheet_Beallitasok = nullptr;
    QWidget* TabSheet_Munkarend = nullptr;

    QTabWidget* PageControl_Main = nullptr;
    QWidget* TabSheet_Kelvator = nullptr;
    QWidget* TabSheet_EvesNaptar = nullptr;

    // Settings page.
    QPushButton* Button_BeallitasokOK = nullptr;
    QLineEdit* Edit_MIKOra = nullptr;
    QLineEdit* Edit_MIKPerc = nullptr;
    QLineEdit* Edit_MIVOra = nullptr;
    QLineEdit* Edit_MIVPerc = nullptr;
    QListWidget* ListBox_FizetesnapDatuma = nullptr;
    TRadioGroup* RadioGroup_HetvegiFizetes = nullptr;
    QLineEdit* Edit_HaviFizetes = nullptr;
    QCheckBox* CheckBox_IconAzOraMelle = nullptr;
    QCheckBox* CheckBox_IconkentIndul = nullptr;
    TRadioGroup* RadioGroup_MutatosOraKelvatorMegjelenites = nullptr;
    QCheckBox* CheckBox_12OrasKijelzes = nullptr;
    TRadioGroup* RadioGroup_HangjelzesKelvatorVegen = nullptr;
    QPushButton* Button_BeallitasokMIVFile = nullptr;
    QPushButton* Button_BeallitasokMIVHangStop = nullptr;
    QCheckBox* CheckBox_BeallitasOrankentiHangjelzes = nullptr;
    std::array<QCheckBox*, 3> CheckBox_Szunet{};
    std::array<QLineEdit*, 3> Edit_SzunetOra{};
    std::array<QLineEdit*, 3> Edit_SzunetPerc{};
    std::array<QLineEdit*, 3> Edit_SzunetHossz{};
    // Settings fields with a check: what kind of check, and the last text that passed it.
    struct CheckedField {
        int kind = 0;
        QString lastValid;
        bool hasLastValid = false;
    };
    std::map<const QLineEdit*, CheckedField> checkedFields;

    // Work calendar page; the settings page's button opens it.
    QPushButton* Button_Munkarend = nullptr;
    QCheckBox* CheckBox_Unnepnapok = nullptr;
    QGroupBox* GroupBox_MunkarendNapok = nullptr;
    QSpinBox* SpinEdit_MunkarendEv = nullptr;
    QListWidget* ListBox_MunkarendNapok = nullptr;
    QLineEdit* Edit_MunkarendDatum = nullptr;
    QPushButton* Button_MunkarendSzabadnap = nullptr;
    QPushButton* Button_MunkarendMunkanap = nullptr;
    QPushButton* Button_MunkarendTorles = nullptr;
    QLineEdit* Edit_AthelyezesMunkanap = nullptr;
    QLineEdit* Edit_AthelyezesPihenonap = nullptr;
    QPushButton* Button_AthelyezesHozzaadas = nullptr;
    QLabel* Label_MunkarendUzenet = nullptr;
    QGroupBox* GroupBox_NapiMunkaido = nullptr;
    QCheckBox* CheckBox_NapiMunkaido = nullptr;
    std::array<QLineEdit*, 5> Edit_NapiMIKOra{};
    std::array<QLineEdit*, 5> Edit_NapiMIKPerc{};
    std::array<QLineEdit*, 5> Edit_NapiMIVOra{};
    std::array<QLineEdit*, 5> Edit_NapiMIVPerc{};
    QLabel* Label_NapiMunkaidoHiba = nullptr;
    QPushButton* Button_MunkarendOK = nullptr;
    QPushButton* Button_MunkarendMegsem = nullptr;
    // What the page's OK last applied; the page edits copies until then.
    kelvator::CalendarEntries pendingEntries;

    // Work-time page.
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label_Datum = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Label_Ido = nullptr;
    QLabel* Label_Masodperc = nullptr;
    QLabel* Label_DelutanSzoveg = nullptr;
    TPaintBox* PaintBox_KisMutatosOra = nullptr;
    QLabel* Label_EvHeteA = nullptr;
    QLabel* Label_EvHete = nullptr;
    TMBarGraph* MBarGraph_ATeljesEv = nullptr;
    QLabel* Label_EvNapja = nullptr;
    TMonthCalendar* MonthCalendar1 = nullptr;
    QPushButton* Button_Ma = nullptr;
    QLabel* Label_MikorVolt = nullptr;
    QLabel* Label1 = nullptr;
    TMBarGraph* MBarGraph_Munakanap = nullptr;
    QLabel* Label2 = nullptr;
    TMBarGraph* MBarGraph_Munakahet = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label_Munkahonap = nullptr;
    TMBarGraph* MBarGraph_Munkahonap = nullptr;
    std::array<TShape*, 31> DaySquares{};

    QLabel* Label_FizetesNNapMulva = nullptr;
    TShape* Shape_Fizetesnap = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QAbstractButton* SpeedButton_FizetesKijelzes = nullptr;
    QLabel* Label_KeresettPenz = nullptr;
    QLabel* Label_Oraber = nullptr;

    // Yearly calendar page.
    TShape* Shape_EvesNaptarAktualisSzin = nullptr;
    std::array<kelvator::MonthColours, 12> dayColours{};
    TPaintBox* Image_EvesNaptar = nullptr;
    QImage yearImage;
    std::array<TShape*, 10> Shape_EvesNaptarSzin{}; // palette codes 0-9
    QAbstractButton* SpeedButton_Modositas = nullptr;
    QLabel* Label_EvesNaptarEv = nullptr;
    QLabel* Label_EvesNaptarKijeloltNap = nullptr;
    QLabel* Label_EvesNaptarIdoKulonbseg = nullptr;
    QLabel* Label_EvesNaptarDatum = nullptr;
    QLabel* Label_EvesNaptarNapFajta = nullptr; // the day's kind, with the work calendar on
    std::array<QLabel*, 12> Label_Honap{};
    std::array<QLabel*, 31> Label_NapTizes{};
    std::array<QLabel*, 31> Label_NapEgyes{};
    int yearGridCellWidth = 12;
    int yearGridCellHeight = 18;
    QPoint hoveredCell; // (day column, month row), 0 when none
    QPoint selectedDay; // (day, month), 0 when none
    bool yearBlinkFlag = false;
    // The grid's blink timer runs only while the grid can be seen; unseen, the blink's phase
    // goes on by the clock and the grid shows the right state as soon as it is seen again.
    void StartYearBlink();
    void UpdateYearBlink();
    bool YearGridInSight() const;
    qint64 yearBlinkToggledAt_ = 0; // steady-clock milliseconds of the last change, seen or not

    // ---- State kept between ticks ------------------------------------------------------
    bool startUpFlag = false;
    bool hourlyNoticeFlag = false;
    bool noticeAcknowledgedFlag = false;
    int lastPulseSecond = 0;
    bool afternoonFlag = false;
    int previousTickSecond = 0;
    kelvator::WorkSchedule schedule;
    kelvator::WorkSnapshot work_;      // this tick's schedule, bars, month and payday
    kelvator::NewYearsEve newYearsEve; // this tick's, for the big clock copies
    double yearProgress = 0;
    bool workEndBlinkFlag = false;
    bool soundFileOpenFlag = false;
    bool playerIdleFlag = true;
    bool settingsLoadedFlag = false;
    bool inTrayFlag = false;
    bool startInTrayFlag = false;
    // The settings file could not be read (not a regular file, too large): it is never written.
    bool settingsFileRefusedFlag = false;
    // What LoadSettings read but did not understand, for the user to hear once at start; or empty.
    QString loadNotice;
    QString sFileUtvonalKelvatorVegeHang;

    const kelvator::Platform& platform() const { return platform_; }
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
    void BuildWindow();
    // The window stays at its place unless part of it would be off the screen it opens on; checked
    // again once its frame is known.
    void KeepOnScreen();
    bool frameCheckedOnScreen_ = false;
    void BuildMainPage();
    void BuildWorkTimePage();
    void WireClockFace();
    void BuildYearCalendarPage();
    void SetUpFieldChecks();
    bool CheckFieldOnLeave(QLineEdit* edit);
    void FixLoadedSettings();
    void ShowError(const QString& text);
    bool RejectField(QLineEdit* edit, const QString& message);
    void BuildSettingsPage();
    void BuildWorkPatternPage();
    void FillWeekdayRows(const kelvator::WeekdayHours& hours);
    std::optional<kelvator::WeekdayHours> WeekdayRowsValue() const;
    void CreateDaySquares();
    void HandleEscape();
    // The timer "Timer1" that runs the tick, paced by what the window shows.
    void MakeTickSource();
    kelvator::TickSource* tickSource_ = nullptr;
    // Back from a page over the main one: the main page, with the menu enabled again.
    void ReturnToMainPage();
    void AcknowledgeHourlyNotice();
    kelvator::AboutPage* aboutPage_ = nullptr;
    kelvator::ExitPage* exitPage_ = nullptr;
    kelvator::NoticePage* noticePage_ = nullptr;
    kelvator::DateCalcPage* dateCalcPage_ = nullptr;
    // The work calendar as the date calculator's steps and red days follow it.
    void ShowDateCalcWorkCalendar();
    kelvator::StopwatchPage* stopwatchPage_ = nullptr;
    kelvator::AlarmsPage* alarmsPage_ = nullptr;
    kelvator::BigClockPage* bigClockPage_ = nullptr;
    // The analog face of the big clock and of the work-time page's small clock.
    kelvator::ClockFace clockFace_;
    std::optional<kelvator::ClockFaceInput> ClockFaceNow() const;
    void ShowSmallFaceChange(const QRect& changed, qint64 previousKey);
    kelvator::EventsPage* eventsPage_ = nullptr;
    kelvator::EventEditorPage* eventEditorPage_ = nullptr;
    void ReportTickFailure(const QString& message);
    void TickSteps();
    // Tick steps, in tick order.
    void TickDateTexts(const TickMoment& m);
    void TickTimeTexts(const TickMoment& m);
    void TickYear(const TickMoment& m);
    void TickAnalogClocks(const TickMoment& m);
    void TickCalendarDistance(const TickMoment& m);
    std::function<bool(const QDate&)> DaysOffTest() const; // for the month calendars
    bool BigAnalogClockShown() const;
    bool WorkTimePageShown() const;
    void TickSchedule(const TickMoment& m);
    void TickWorkBars(const TickMoment& m);
    void TickPayday(const TickMoment& m);
    void FitPaydayLabel(bool alone);
    void TickWorkEnd(const TickMoment& m);
    void TickMonth(const TickMoment& m);
    void TickEarnings();
    // The settings the tick reads; the settings page's fields count with their last checked values.
    kelvator::Settings TickSettings() const;
    void MarkTimeField(QLineEdit* edit, bool hour);

    kelvator::Platform platform_;
    kelvator::SettingsModel settingsModel_;
    kelvator::WorkCalendarModel calendarModel_;
    QString lastTickFailure_;
    bool checkingField_ = false;
    // The small clock as last shrunk, the face it matches and what changed on the face since.
    QImage smallFace_;
    qint64 smallFaceKey_ = 0;
    QRect smallFaceDirty_;
    // The pixels under today's frame in both blink states, for one day, colours and grid.
    struct YearFrames {
        struct Key {
            QDate today;
            std::array<kelvator::MonthColours, 12> colours{};
            QRgb buttonFace = 0;
            int cellWidth = 0;
            int cellHeight = 0;
            unsigned calendarRevision = 0; // the work calendar's dots
            bool operator==(const Key&) const = default;
        } key;
        QRect area;
        std::array<QImage, 2> patches;
    } yearFrames_;
    void ShowYearCalendar();
    bool WindowOutOfSight() const;
    QDate paydayStripToday_;
    QDate paydayStripPayday_;
    bool paydayStripOffHoliday_ = false;
    unsigned paydayStripVersion_ = 0;
    bool closingAllowed_ = false;
    void NotifyWhileHidden(const QString& body);
    QDateTime notifiedNotice_;
    QDateTime notifiedWorkEnd_;
};
