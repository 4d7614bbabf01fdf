#pragma once

#include "calendar/tdatetime.h"
#include "settings/value_forms.h"
#include "widgets/colours.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

namespace kelvator {

class IniFile;

// One of the six events of the events page.
struct EventSettings {
    bool timeOfDayCounts = true; // CheckBox_AzOraEsPercIsSzamitN
    TDateTime moment = 0;        // dtEsemenyN
    QString name = QStringLiteral("A program első elindítása");
    bool visible = true;      // CheckBox_EsemenyLathatoN
    bool shownInDays = false; // CheckBox_EsemenyNapbanKiirvaN
    bool operator==(const EventSettings&) const = default;
};

// One of the three breaks of the work day, as the settings page's fields hold them.
struct BreakSettings {
    bool on = false;
    QString hour;
    QString minute;
    QString length; // minutes
    bool operator==(const BreakSettings&) const = default;
};

// Every value the settings file keeps outside [Munkarend], with the program's defaults. Texts of
// the settings page's fields are kept as texts: a field may hold what its check refuses.
struct Settings {
    // [EvesNaptar]
    quint32 yearGridColour = kOrange; // Shape_EvesNaptarAktualisSzin
    std::array<MonthColours, 12> dayColours = EmptyDayColours();

    // [Beallitasok]
    int paydayRow = 1; // ListBox_FizetesnapDatuma: days 1-27, then the month's last day
    QString workStartHour = QStringLiteral("07");
    QString workStartMinute = QStringLiteral("00");
    QString workEndHour = QStringLiteral("16");
    QString workEndMinute = QStringLiteral("00");
    int weekendPayday = 0;   // RadioGroup_HetvegiFizetes
    int smallClockShown = 1; // RadioGroup_MutatosOraKelvatorMegjelenites
    int workEndSound = 0;    // RadioGroup_HangjelzesKelvatorVegen
    bool twelveHourClock = true;
    QString monthlySalary = QStringLiteral("0");
    bool iconBesideClock = false;
    bool startAsIcon = false;
    QString workEndSoundFile; // sFileUtvonalKelvatorVegeHang
    bool hourlyNotice = false;
    std::array<BreakSettings, 3> breaks = DefaultBreaks();

    // [Main]
    bool payShown = false; // SpeedButton_FizetesKijelzes
    int mainTab = 0;       // PageControl_Main
    int bigClockTab = 1;   // PageControl_NagyOraTipus

    // [Esemenyek]
    std::array<EventSettings, 6> events{};

    // [Datumok]
    QDate leftDate;
    QDate rightDate;
    int leftStep = 0; // ComboBox_DatumokLepeskoz1: the step less one, -1 for none
    int rightStep = 0;

    // [Stopper]
    QString stopwatchName = QStringLiteral("Stopper óra");
    TDateTime stopwatchStart = 0;
    TDateTime stopwatchStop = 0;
    int stopwatchState = 0;
    int stopwatchLap = 0;
    QStringList laps;

    bool operator==(const Settings&) const = default;

    static std::array<MonthColours, 12> EmptyDayColours();
    static std::array<BreakSettings, 3> DefaultBreaks();
};

// How many choices the settings' lists, groups and tabs offer: a stored index outside them is
// not used.
struct SettingsChoices {
    static constexpr int kPaydayRows = 28;
    static constexpr int kRadioItems = 3;
    static constexpr int kMainTabs = 7;
    static constexpr int kBigClockTabs = 2;
    static constexpr int kDateSteps = 99;
    static constexpr int kTimeFieldLength = 2;
    static constexpr int kSalaryLength = 7;
};

// Reads every key into the settings, in the file's order. A missing or unreadable value takes
// its default; a tab index outside the tabs keeps the value the settings had. Moments missing
// from the file (events, stopwatch, the date calculator's dates) default to now.
void ReadSettings(const IniFile& ini, TDateTime now, Settings& settings);
// Writes every key, in the file's order (new keys are appended in that order).
void WriteSettings(const Settings& settings, IniFile& ini);
// Whether the file holds any section of the program's; one without has nothing of it left.
bool HoldsSettings(const IniFile& ini);

// The settings the program runs with. Pages show them and hand back their changes; the store
// loads and saves them.
class SettingsModel : public QObject {
    Q_OBJECT

public:
    const Settings& Get() const { return settings_; }
    // Takes new settings; says so when anything differs.
    void Set(const Settings& settings);

Q_SIGNALS:
    void changed();

private:
    Settings settings_;
};

} // namespace kelvator
