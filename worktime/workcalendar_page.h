#pragma once

#include "calendar/workcalendar.h"
#include "tray/tray_settings.h"
#include "worktime/workpattern.h"

#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace kelvator {
class FieldChecks;

struct Settings;
class WorkCalendarModel;

// The "Munkarend" page: the real work calendar on or off, the user's own days and decree pairs,
// and the work hours per weekday. It edits copies; OK puts them into the model in one change.
class WorkCalendarPage : public QWidget {
    Q_OBJECT

public:
    // What the page asks of the window, each at the moment it needs it.
    struct Queries {
        std::function<void(const QString&)> showError; // the error box
        std::function<bool()> save;                    // the file written now; false once told why
    };

    WorkCalendarPage(WorkCalendarModel& model, Queries queries, QWidget* parent = nullptr);

    // Shows the model's calendar and hours, listing `year`'s days. Rows the user never set take
    // the hours of `settings` (the settings page as it stands).
    void Open(int year, const Settings& settings);
    // The page opens with the focus on "OK".
    void FocusDefaultButton();
    // "Mégsem" and Escape: back without a change.
    void Cancel();

    // The tray's options as they stand; shown again at every opening, since Mégsem drops edits.
    void ShowTraySettings(const TraySettings& tray);
    // The tray's options as the page holds them (the minutes as last accepted).
    TraySettings CollectTraySettings() const;

Q_SIGNALS:
    // OK took the page: the tray's options, before the file is written, so the save holds them.
    void trayApplied(const kelvator::TraySettings& tray);
    // OK put the page into the model and the file took it.
    void applied();
    // The user is done with the page, by OK or Cancel.
    void done();

private:
    void Accept();
    void RefreshList();
    void ListClicked();
    void SetOwnDay(DayKind kind);
    void RemoveDay();
    void AddPair();
    void PerDayClicked();
    void ReminderClicked();
    void FillRows(const WeekdayHours& rows);
    std::optional<WeekdayHours> RowsValue() const;
    bool CheckRows();
    // Refused input in red, what was done in the page's own colour.
    void Say(bool refused, const QString& text);
    // The settings page's text for a row field: start or end, hour or minute.
    const QString& SettingsText(size_t field) const;

    WorkCalendarModel& model_;
    Queries queries_;
    // What OK applies; the model keeps its own until then.
    CalendarEntries pending_;
    // The settings page's start hour, start minute, end hour and end minute.
    std::array<QString, 4> settingsHours_;
    // The row fields' checks as the user leaves them.
    FieldChecks* fieldChecks_ = nullptr;

    QCheckBox* holidaysBox_ = nullptr;
    QGroupBox* daysGroup_ = nullptr;
    QSpinBox* yearSpin_ = nullptr;
    QListWidget* dayList_ = nullptr;
    QLineEdit* dateEdit_ = nullptr;
    QPushButton* restDayButton_ = nullptr;
    QPushButton* workDayButton_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QLineEdit* pairWorkEdit_ = nullptr;
    QLineEdit* pairRestEdit_ = nullptr;
    QPushButton* addPairButton_ = nullptr;
    QLabel* messageLabel_ = nullptr;
    QGroupBox* hoursGroup_ = nullptr;
    QCheckBox* perDayBox_ = nullptr;
    // Per weekday: start hour, start minute, end hour, end minute.
    std::array<std::array<QLineEdit*, 4>, 5> rowEdits_{};
    QLabel* hoursErrorLabel_ = nullptr;
    QGroupBox* trayGroup_ = nullptr;
    QCheckBox* trayTipBox_ = nullptr;
    QCheckBox* trayIconBox_ = nullptr;
    QCheckBox* trayMenuBox_ = nullptr;
    QCheckBox* reminderBox_ = nullptr;
    QLineEdit* reminderEdit_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace kelvator
