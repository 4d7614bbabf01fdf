#pragma once

#include "settings/settings_model.h"

#include <QDateTime>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TMonthCalendar;

namespace kelvator {

// The editor of one event: its name, date, time of day and whether it is counted in days. It
// works on a copy; the event itself changes only through `accepted`.
class EventEditorPage : public QWidget {
    Q_OBJECT

public:
    // `clock` tells the current moment for "Ma", "Időpont = jelenlegi idő" and the previews that
    // a control's change redraws between two ticks.
    explicit EventEditorPage(std::function<QDateTime()> clock, QWidget* parent = nullptr);

    // Fills the page with slot 1-6's event; the focus goes to "OK.". Call once the page is shown.
    void Open(int slot, const EventSettings& event);
    // Redraws which time controls are enabled and the two previews of the edited moment.
    void Refresh(const QDateTime& now);
    // Escape: what "Mégsem" does.
    void Cancel();

Q_SIGNALS:
    // "OK.": the slot's event as edited.
    void accepted(int slot, const kelvator::EventSettings& event);
    // "Mégsem" or Escape: the slot stays as it was.
    void cancelled();

private:
    TDateTime EditedMoment() const;
    void ShiftDate(int days, int months);
    void RefreshNow();
    void Accept();

    std::function<QDateTime()> clock_;
    int slot_ = 1;
    EventSettings event_;

    QLabel* caption_ = nullptr;
    QLineEdit* nameEdit_ = nullptr;
    QGroupBox* dateBox_ = nullptr;
    TMonthCalendar* calendar_ = nullptr;
    QGroupBox* dateButtonsBox_ = nullptr;
    QPushButton* todayButton_ = nullptr;
    QLabel* datePreview_ = nullptr;
    QGroupBox* timeBox_ = nullptr;
    QCheckBox* timeCountsBox_ = nullptr;
    QComboBox* hourList_ = nullptr;
    QComboBox* minuteList_ = nullptr;
    QLabel* hourLabel_ = nullptr;
    QLabel* minuteLabel_ = nullptr;
    QPushButton* nowButton_ = nullptr;
    QLabel* timePreview_ = nullptr;
    QCheckBox* inDaysBox_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace kelvator
