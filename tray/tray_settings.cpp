#include "tray/tray_settings.h"

#include "settings/inifile.h"
#include "settings/value_forms.h"

#include <QStringList>

#include <array>
#include <optional>

namespace kelvator {

namespace {

const QString kTalca = QStringLiteral("Talca");
const QString kTipKey = QStringLiteral("CheckBox_SugoMutatjaANapot");
const QString kIconKey = QStringLiteral("CheckBox_IkonMutatjaANapot");
const QString kMenuKey = QStringLiteral("CheckBox_BovitettTalcaMenu");
const QString kReminderKey = QStringLiteral("CheckBox_FigyelmeztetesVegeElott");
const QString kMinutesKey = QStringLiteral("Edit_FigyelmeztetesVegeElottPerc");

// What a stored text of the minutes reads as: the default for anything out of range.
int ReadMinutes(const std::optional<QString>& stored)
{
    const std::optional<int> value = stored ? ParseIntValue(*stored) : std::nullopt;
    return value && ReminderMinutesValid(*value) ? *value : TraySettings::kDefaultReminderMinutes;
}

} // namespace

bool ReminderMinutesValid(int minutes)
{
    return minutes >= TraySettings::kMinReminderMinutes && minutes <= TraySettings::kMaxReminderMinutes;
}

void TraySettingsModel::Set(const TraySettings& settings)
{
    if (settings == settings_)
        return;
    settings_ = settings;
    Q_EMIT changed();
}

QString TraySettingsModel::Read(const IniFile& ini)
{
    QStringList notes;
    auto note = [&notes](const QString& key, const QString& stored, const QString& why) {
        notes << key + QStringLiteral(": „") + stored + QStringLiteral("” – ") + why;
    };
    // A box the file holds in some other form counts as unticked, as in [Munkarend].
    auto box = [&](const QString& key) {
        const std::optional<QString> stored = ini.Value(kTalca, key);
        if (stored && !stored->isEmpty() && !ParseIntValue(*stored))
            note(key, *stored, QStringLiteral("Nem 0 vagy 1, ezért kikapcsoltnak számít."));
        return ReadBoolValue(stored, false);
    };
    TraySettings s;
    s.tipShowsDay = box(kTipKey);
    s.iconShowsDay = box(kIconKey);
    s.fullMenu = box(kMenuKey);
    s.remindBeforeEnd = box(kReminderKey);
    const std::optional<QString> minutes = ini.Value(kTalca, kMinutesKey);
    s.reminderMinutes = ReadMinutes(minutes);
    const std::optional<int> read = minutes ? ParseIntValue(*minutes) : std::nullopt;
    if (minutes && !(read && ReminderMinutesValid(*read)))
        note(kMinutesKey, *minutes,
             QStringLiteral("Nem 1 és 120 közötti egész szám, ezért %1 perc számít.")
                 .arg(TraySettings::kDefaultReminderMinutes));
    Set(s);
    if (notes.isEmpty())
        return {};
    return QStringLiteral("A beállítások fájljának [Talca] részében van, amit a program nem "
                          "értett. Ezeket nem veszi figyelembe, de a fájlban változatlanul "
                          "megőrzi:\r\n\r\n") +
           notes.join(QStringLiteral("\r\n"));
}

void TraySettingsModel::Write(IniFile& ini) const
{
    const std::array<std::pair<QString, bool>, 4> boxes{{
        {kTipKey, settings_.tipShowsDay},
        {kIconKey, settings_.iconShowsDay},
        {kMenuKey, settings_.fullMenu},
        {kReminderKey, settings_.remindBeforeEnd},
    }};
    // A stored form that reads the same is kept as the user wrote it.
    for (const auto& [key, on] : boxes) {
        if (ReadBoolValue(ini.Value(kTalca, key), false) != on)
            ini.SetValue(kTalca, key, BoolText(on));
    }
    if (ReadMinutes(ini.Value(kTalca, kMinutesKey)) != settings_.reminderMinutes)
        ini.SetValue(kTalca, kMinutesKey, QString::number(settings_.reminderMinutes));
}

} // namespace kelvator
