#pragma once

#include <QObject>
#include <QString>

namespace kelvator {

class IniFile;

// What the tray shows beyond the fixed icon and its one menu item; all of it off at first, so a
// tray the user never set up is what it always was.
struct TraySettings {
    static constexpr int kDefaultReminderMinutes = 10;
    static constexpr int kMinReminderMinutes = 1;
    static constexpr int kMaxReminderMinutes = 120;

    bool tipShowsDay = false;                      // CheckBox_SugoMutatjaANapot
    bool iconShowsDay = false;                     // CheckBox_IkonMutatjaANapot
    bool fullMenu = false;                         // CheckBox_BovitettTalcaMenu
    bool remindBeforeEnd = false;                  // CheckBox_FigyelmeztetesVegeElott
    int reminderMinutes = kDefaultReminderMinutes; // Edit_FigyelmeztetesVegeElottPerc

    bool operator==(const TraySettings&) const = default;
};

// The minutes as stored or typed: a whole number of 1 to 120, nothing otherwise.
bool ReminderMinutesValid(int minutes);

// The tray's settings, in the [Talca] section of the settings file.
class TraySettingsModel : public QObject {
    Q_OBJECT

public:
    const TraySettings& Get() const { return settings_; }
    // Announces a change only when something changed.
    void Set(const TraySettings& settings);

    // Reads [Talca]; returns what it could not understand, for the user to hear once, or an empty
    // text. Such a value counts as its default and stays in the file as written.
    QString Read(const IniFile& ini);
    // Writes only the keys whose value differs from what the file's text reads as, so a file that
    // never used the section stays as it was.
    void Write(IniFile& ini) const;

Q_SIGNALS:
    void changed();

private:
    TraySettings settings_;
};

} // namespace kelvator
