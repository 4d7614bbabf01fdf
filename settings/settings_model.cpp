#include "settings/settings_model.h"

#include "calendar/calendar_texts.h"
#include "settings/inifile.h"
#include "widgets/colours.h"

#include <functional>
#include <memory>
#include <vector>

namespace kelvator {

namespace {

const QString kEvesNaptar = QStringLiteral("EvesNaptar");
const QString kBeallitasok = QStringLiteral("Beallitasok");
const QString kMain = QStringLiteral("Main");
const QString kEsemenyek = QStringLiteral("Esemenyek");
const QString kDatumok = QStringLiteral("Datumok");
const QString kStopper = QStringLiteral("Stopper");

// One key of the file, bound to a field of the settings.
struct Key {
    std::function<void(const Settings&, IniFile&)> write;
    std::function<void(const IniFile&, Settings&)> read;
};

template <typename Field>
Key BoolKey(const QString& section, const QString& name, Field field, bool byDefault)
{
    return {[=](const Settings& s, IniFile& ini) { ini.SetValue(section, name, BoolText(field(s))); },
            [=](const IniFile& ini, Settings& s) {
                field(s) = ReadBoolValue(ini.Value(section, name), byDefault);
            }};
}

// A value longer than its field is invalid: cutting it would make another number.
template <typename Field>
Key TextKey(const QString& section, const QString& name, Field field, const QString& byDefault,
            int maxLength = -1)
{
    return {[=](const Settings& s, IniFile& ini) { ini.SetValue(section, name, field(s)); },
            [=](const IniFile& ini, Settings& s) {
                const QString text = ini.Value(section, name).value_or(byDefault);
                field(s) = maxLength >= 0 && text.size() > maxLength ? byDefault : text;
            }};
}

template <typename Field>
Key IntKey(const QString& section, const QString& name, Field field, int byDefault,
           const std::function<int(int)>& fit)
{
    return {[=](const Settings& s, IniFile& ini) { ini.SetValue(section, name, QString::number(field(s))); },
            [=](const IniFile& ini, Settings& s) {
                field(s) = fit(ReadIntValue(ini.Value(section, name), byDefault));
            }};
}

// An index of a group of choices: below them means none chosen, above them the last one.
template <typename Field>
Key RadioKey(const QString& section, const QString& name, Field field, int byDefault)
{
    return {[=](const Settings& s, IniFile& ini) { ini.SetValue(section, name, QString::number(field(s))); },
            [=](const IniFile& ini, Settings& s) {
                const int v = ReadIntValue(ini.Value(section, name), byDefault);
                const int last = SettingsChoices::kRadioItems - 1;
                field(s) = v < -1 ? -1 : (v > last ? last : v);
            }};
}

// A tab always shows: an index outside the tabs keeps the one shown.
template <typename Field>
Key TabKey(const QString& section, const QString& name, Field field, int byDefault, int tabs)
{
    return {[=](const Settings& s, IniFile& ini) { ini.SetValue(section, name, QString::number(field(s))); },
            [=](const IniFile& ini, Settings& s) {
                const int v = ReadIntValue(ini.Value(section, name), byDefault);
                if (v >= 0 && v < tabs)
                    field(s) = v;
            }};
}

template <typename Field>
Key MomentKey(const QString& section, const QString& name, Field field,
              const std::function<TDateTime()>& byDefault)
{
    return {[=](const Settings& s, IniFile& ini) { ini.SetValue(section, name, DateTimeText(field(s))); },
            [=](const IniFile& ini, Settings& s) {
                field(s) = ReadDateTimeValue(ini.Value(section, name), byDefault());
            }};
}

template <typename Field> Key DateKey(const QString& section, const QString& name, Field field, TDateTime now)
{
    return {[=](const Settings& s, IniFile& ini) {
                ini.SetValue(section, name, DateTimeText(ToDateTime(field(s))));
            },
            [=](const IniFile& ini, Settings& s) {
                field(s) = DateOf(ReadDateTimeValue(ini.Value(section, name), now));
            }};
}

// Every key of the file in the order the file has always had.
std::vector<Key> KeyTable(TDateTime now)
{
    std::vector<Key> keys;
    keys.push_back({[](const Settings& s, IniFile& ini) {
                        ini.SetValue(kEvesNaptar, QStringLiteral("Shape_EvesNaptarAktualisSzin"),
                                     QString::number(static_cast<qint32>(s.yearGridColour)));
                    },
                    [](const IniFile& ini, Settings& s) {
                        s.yearGridColour = static_cast<quint32>(ReadIntValue(
                            ini.Value(kEvesNaptar, QStringLiteral("Shape_EvesNaptarAktualisSzin")),
                            static_cast<qint32>(Settings().yearGridColour)));
                    }});
    for (size_t m = 0; m < 12; ++m) {
        const QString name = QStringLiteral("sNapokSzinei") + TwoDigits(int(m) + 1);
        keys.push_back({[=](const Settings& s, IniFile& ini) {
                            ini.SetValue(kEvesNaptar, name, MonthColoursText(s.dayColours[m]));
                        },
                        [=](const IniFile& ini, Settings& s) {
                            s.dayColours[m] =
                                ParseMonthColours(ini.Value(kEvesNaptar, name).value_or(QString(31, u'-')));
                        }});
    }

    // A row that does not exist would leave the payday undefined: the default row instead.
    keys.push_back(IntKey(
        kBeallitasok, QStringLiteral("ListBox_FizetesnapDatuma"),
        [](auto& s) -> auto& { return s.paydayRow; }, 1,
        [](int v) { return v >= 0 && v < SettingsChoices::kPaydayRows ? v : 1; }));
    constexpr int kTime = SettingsChoices::kTimeFieldLength;
    keys.push_back(TextKey(
        kBeallitasok, QStringLiteral("Edit_MIKOra"), [](auto& s) -> auto& { return s.workStartHour; },
        QStringLiteral("07"), kTime));
    keys.push_back(TextKey(
        kBeallitasok, QStringLiteral("Edit_MIKPerc"), [](auto& s) -> auto& { return s.workStartMinute; },
        QStringLiteral("00"), kTime));
    keys.push_back(TextKey(
        kBeallitasok, QStringLiteral("Edit_MIVOra"), [](auto& s) -> auto& { return s.workEndHour; },
        QStringLiteral("16"), kTime));
    keys.push_back(TextKey(
        kBeallitasok, QStringLiteral("Edit_MIVPerc"), [](auto& s) -> auto& { return s.workEndMinute; },
        QStringLiteral("00"), kTime));
    keys.push_back(RadioKey(
        kBeallitasok, QStringLiteral("RadioGroup_HetvegiFizetes"),
        [](auto& s) -> auto& { return s.weekendPayday; }, 0));
    keys.push_back(RadioKey(
        kBeallitasok, QStringLiteral("RadioGroup_MutatosOraKelvatorMegjelenites"),
        [](auto& s) -> auto& { return s.smallClockShown; }, 1));
    keys.push_back(RadioKey(
        kBeallitasok, QStringLiteral("RadioGroup_HangjelzesKelvatorVegen"),
        [](auto& s) -> auto& { return s.workEndSound; }, 0));
    keys.push_back(BoolKey(
        kBeallitasok, QStringLiteral("CheckBox_12OrasKijelzes"),
        [](auto& s) -> auto& { return s.twelveHourClock; }, true));
    keys.push_back(TextKey(
        kBeallitasok, QStringLiteral("Edit_HaviFizetes"), [](auto& s) -> auto& { return s.monthlySalary; },
        QStringLiteral("0"), SettingsChoices::kSalaryLength));
    keys.push_back(BoolKey(
        kBeallitasok, QStringLiteral("CheckBox_IconAzOraMelle"),
        [](auto& s) -> auto& { return s.iconBesideClock; }, false));
    keys.push_back(BoolKey(
        kBeallitasok, QStringLiteral("CheckBox_IconkentIndul"),
        [](auto& s) -> auto& { return s.startAsIcon; }, false));
    keys.push_back(TextKey(
        kBeallitasok, QStringLiteral("sFileUtvonalKelvatorVegeHang"),
        [](auto& s) -> auto& { return s.workEndSoundFile; }, QString()));

    keys.push_back(BoolKey(
        kMain, QStringLiteral("SpeedButton_FizetesKijelzes"), [](auto& s) -> auto& { return s.payShown; },
        false));
    keys.push_back(TabKey(
        kMain, QStringLiteral("PageControl_Main"), [](auto& s) -> auto& { return s.mainTab; }, 0,
        SettingsChoices::kMainTabs));
    keys.push_back(TabKey(
        kMain, QStringLiteral("PageControl_NagyOraTipus"), [](auto& s) -> auto& { return s.bigClockTab; }, 1,
        SettingsChoices::kBigClockTabs));

    for (size_t i = 0; i < 6; ++i)
        keys.push_back(BoolKey(
            kEsemenyek, QStringLiteral("CheckBox_AzOraEsPercIsSzamit") + QString::number(i + 1),
            [i](auto& s) -> auto& { return s.events[i].timeOfDayCounts; }, true));
    // All six events default to one moment: the program's first start.
    for (size_t i = 0; i < 6; ++i)
        keys.push_back(MomentKey(
            kEsemenyek, QStringLiteral("dtEsemeny") + QString::number(i + 1),
            [i](auto& s) -> auto& { return s.events[i].moment; }, [now] { return now; }));
    for (size_t i = 0; i < 6; ++i)
        keys.push_back(TextKey(
            kEsemenyek, QStringLiteral("Label_EsemenyMegnevezes") + QString::number(i + 1),
            [i](auto& s) -> auto& { return s.events[i].name; }, EventSettings().name));
    for (size_t i = 0; i < 6; ++i)
        keys.push_back(BoolKey(
            kEsemenyek, QStringLiteral("CheckBox_EsemenyLathato") + QString::number(i + 1),
            [i](auto& s) -> auto& { return s.events[i].visible; }, true));
    for (size_t i = 0; i < 6; ++i)
        keys.push_back(BoolKey(
            kEsemenyek, QStringLiteral("CheckBox_EsemenyNapbanKiirva") + QString::number(i + 1),
            [i](auto& s) -> auto& { return s.events[i].shownInDays; }, false));

    keys.push_back(DateKey(
        kDatumok, QStringLiteral("MonthCalendar_Datumok1"), [](auto& s) -> auto& { return s.leftDate; },
        now));
    keys.push_back(DateKey(
        kDatumok, QStringLiteral("MonthCalendar_Datumok2"), [](auto& s) -> auto& { return s.rightDate; },
        now));
    auto step = [](int v) { return v >= 0 && v < SettingsChoices::kDateSteps ? v : -1; };
    keys.push_back(IntKey(
        kDatumok, QStringLiteral("ComboBox_DatumokLepeskoz1"), [](auto& s) -> auto& { return s.leftStep; }, 0,
        step));
    keys.push_back(IntKey(
        kDatumok, QStringLiteral("ComboBox_DatumokLepeskoz2"), [](auto& s) -> auto& { return s.rightStep; },
        0, step));

    keys.push_back(TextKey(
        kStopper, QStringLiteral("Edit_Stopper"), [](auto& s) -> auto& { return s.stopwatchName; },
        Settings().stopwatchName));
    keys.push_back(MomentKey(
        kStopper, QStringLiteral("dtStopperStart"), [](auto& s) -> auto& { return s.stopwatchStart; },
        [now] { return now; }));
    keys.push_back(MomentKey(
        kStopper, QStringLiteral("dtStopperStop"), [](auto& s) -> auto& { return s.stopwatchStop; },
        [now] { return now; }));
    auto asIs = [](int v) { return v; };
    keys.push_back(IntKey(
        kStopper, QStringLiteral("iStopperAllapot"), [](auto& s) -> auto& { return s.stopwatchState; }, 0,
        asIs));
    keys.push_back(IntKey(
        kStopper, QStringLiteral("iStopperReszido"), [](auto& s) -> auto& { return s.stopwatchLap; }, 0,
        asIs));

    // The lap count, the hourly chime, then the lap lines: the order the file has always had.
    auto lapCount = std::make_shared<int>(0);
    keys.push_back({[](const Settings& s, IniFile& ini) {
                        ini.SetValue(kStopper, QStringLiteral("ListBox_StopperItemsCount"),
                                     QString::number(s.laps.size()));
                    },
                    [lapCount](const IniFile& ini, Settings&) {
                        *lapCount =
                            ReadIntValue(ini.Value(kStopper, QStringLiteral("ListBox_StopperItemsCount")), 0);
                    }});
    keys.push_back(BoolKey(
        kBeallitasok, QStringLiteral("CheckBox_BeallitasOrankentiHangjelzes"),
        [](auto& s) -> auto& { return s.hourlyNotice; }, false));
    keys.push_back(
        {[](const Settings& s, IniFile& ini) {
             for (qsizetype i = 0; i < s.laps.size(); ++i)
                 ini.SetValue(kStopper, QStringLiteral("ListBox_StopperItems") + QString::number(i),
                              s.laps[i]);
         },
         [lapCount](const IniFile& ini, Settings& s) {
             // Every lap line is a line of the section, so a count beyond them reads
             // the lines that are there and no more.
             const qsizetype limit = qMin<qsizetype>(*lapCount, ini.SectionSize(kStopper));
             QStringList lines;
             qsizetype present = 0;
             for (qsizetype i = 0; i < limit; ++i) {
                 const std::optional<QString> line =
                     ini.Value(kStopper, QStringLiteral("ListBox_StopperItems") + QString::number(i));
                 lines.append(line.value_or(QString()));
                 if (line)
                     present = i + 1;
             }
             lines.resize(present);
             s.laps = lines;
         }});

    const std::array<BreakSettings, 3> breaks = Settings::DefaultBreaks();
    for (size_t i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        keys.push_back(BoolKey(
            kBeallitasok,
            QStringLiteral("CheckBox_Szunet") + n, [i](auto& s) -> auto& { return s.breaks[i].on; },
            breaks[i].on));
        keys.push_back(TextKey(
            kBeallitasok,
            QStringLiteral("Edit_SzunetOra") + n, [i](auto& s) -> auto& { return s.breaks[i].hour; },
            breaks[i].hour, kTime));
        keys.push_back(TextKey(
            kBeallitasok,
            QStringLiteral("Edit_SzunetPerc") + n, [i](auto& s) -> auto& { return s.breaks[i].minute; },
            breaks[i].minute, kTime));
        keys.push_back(TextKey(
            kBeallitasok,
            QStringLiteral("Edit_SzunetHossz") + n, [i](auto& s) -> auto& { return s.breaks[i].length; },
            breaks[i].length, kTime));
    }
    return keys;
}

} // namespace

std::array<MonthColours, 12> Settings::EmptyDayColours()
{
    std::array<MonthColours, 12> colours{};
    for (MonthColours& month : colours)
        month.fill(kButtonFace);
    return colours;
}

std::array<BreakSettings, 3> Settings::DefaultBreaks()
{
    return {{{true, QStringLiteral("09"), QStringLiteral("30"), QStringLiteral("30")},
             {true, QStringLiteral("13"), QStringLiteral("30"), QStringLiteral("30")},
             {false, QStringLiteral("11"), QStringLiteral("00"), QStringLiteral("60")}}};
}

void ReadSettings(const IniFile& ini, TDateTime now, Settings& settings)
{
    for (const Key& key : KeyTable(now))
        key.read(ini, settings);
}

void WriteSettings(const Settings& settings, IniFile& ini)
{
    for (const Key& key : KeyTable(0))
        key.write(settings, ini);
}

bool HoldsSettings(const IniFile& ini)
{
    for (const QString& section : {kEvesNaptar, kBeallitasok, kMain, kEsemenyek, kDatumok, kStopper,
                                   QStringLiteral("Idobelyeg"), QStringLiteral("Munkarend")}) {
        if (ini.HasSection(section))
            return true;
    }
    return false;
}

void SettingsModel::Set(const Settings& settings)
{
    if (settings == settings_)
        return;
    settings_ = settings;
    Q_EMIT changed();
}

} // namespace kelvator
