#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class TRadioGroup;

namespace kelvator {

class FieldChecks;
struct Settings;

// The settings page ("Beállítások"): the work day and its breaks, payday and pay, the work-end
// sound, the small clock's overlay, the hourly notice and the tray. Its fields are checked as the
// user leaves them; a value refused there does not count, the last one that passed does.
class SettingsPage : public QWidget {
    Q_OBJECT

public:
    // `showError` says why a value or the page was refused.
    explicit SettingsPage(std::function<void(const QString&)> showError, QWidget* parent = nullptr);

    // Its fields as they count: a refused text is collected as the last one that passed.
    void ShowSettings(const Settings& s);
    void CollectSettings(Settings& s) const;
    // Hand-edited values the work-time displays cannot use fall back to their defaults; what the
    // fields then hold is what a value refused later falls back to.
    void FixLoadedFields();
    void SetWorkEndSoundFile(const QString& path);
    // The play button's caption and weight follow whether the work-end sound is playing.
    void ShowSoundPlaying(bool playing);
    void FocusDefaultButton();
    // Back from the work calendar page, at the button that opened it.
    void FocusWorkCalendarButton();

Q_SIGNALS:
    // A value changed, by the user or by the program: whoever follows the page collects it again.
    void changed();
    // OK with values that pass the page's checks: the settings are saved and the page is left.
    void okClicked();
    // "Hang fájl kiválasztása": the user wants to choose the work-end sound file.
    void soundFileRequested();
    // "Hang lejátszás": play the work-end sound, or stop it while it plays.
    void soundButtonClicked();
    // The user picked an item of "Kelvator végén hang".
    void workEndSoundPicked(int index);
    // "Munkarend…": open the work calendar and the hours per weekday.
    void workCalendarRequested();

private:
    void Accept();
    void Say(const QString& text) const;

    std::function<void(const QString&)> showError_;
    FieldChecks* checks_ = nullptr;
    QString workEndSoundFile_;

    QPushButton* okButton_ = nullptr;
    QPushButton* workCalendarButton_ = nullptr;
    QLineEdit* startHourEdit_ = nullptr;
    QLineEdit* startMinuteEdit_ = nullptr;
    QLineEdit* endHourEdit_ = nullptr;
    QLineEdit* endMinuteEdit_ = nullptr;
    QListWidget* paydayList_ = nullptr;
    TRadioGroup* weekendPaydayGroup_ = nullptr;
    QLineEdit* salaryEdit_ = nullptr;
    QCheckBox* iconBesideClockBox_ = nullptr;
    QCheckBox* startAsIconBox_ = nullptr;
    TRadioGroup* smallClockGroup_ = nullptr;
    QCheckBox* twelveHourBox_ = nullptr;
    TRadioGroup* workEndSoundGroup_ = nullptr;
    QPushButton* soundFileButton_ = nullptr;
    QPushButton* soundButton_ = nullptr;
    QCheckBox* hourlyNoticeBox_ = nullptr;
    std::array<QCheckBox*, 3> breakBoxes_{};
    std::array<QLineEdit*, 3> breakHourEdits_{};
    std::array<QLineEdit*, 3> breakMinuteEdits_{};
    std::array<QLineEdit*, 3> breakLengthEdits_{};
};

} // namespace kelvator
