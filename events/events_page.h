#pragma once

#include "settings/settings_model.h"

#include <QDateTime>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace kelvator {

// The events page: six named moments, each with its distance from now, which the user can hide,
// swap with the next shown one, or open in the editor.
class EventsPage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSlots = 6;

    // `clock` tells the current moment when a click redraws the list between two ticks.
    explicit EventsPage(std::function<QDateTime()> clock, QWidget* parent = nullptr);

    void ShowSettings(const Settings& settings);
    void CollectSettings(Settings& settings) const;

    // Slot 1-6. A changed event's name shows at once; its date and distance at the next Refresh.
    const EventSettings& Event(int slot) const;
    void SetEvent(int slot, const EventSettings& event);

    // Redraws the shown events' dates and distances, which boxes show and the swap buttons.
    void Refresh(const QDateTime& now);
    // The millisecond phases at which the shown events' texts turn: those whose time of day counts.
    std::vector<int> TurnPhasesMs() const;

Q_SIGNALS:
    // "..." of a slot: the user wants to edit it.
    void editRequested(int slot);
    // Two events were swapped (or a swap found no partner): the file is written now.
    void saveRequested();
    // The user showed or hid an event.
    void visibilityChanged();

private:
    void SwapEvents(int a, int b);
    void StretchSwapButton(int n);
    void SwapClicked(int n);

    std::function<QDateTime()> clock_;
    std::array<EventSettings, kSlots> events_{};
    std::array<QGroupBox*, kSlots> boxes_{};
    std::array<QLabel*, kSlots> names_{};
    std::array<QLabel*, kSlots> distances_{};
    std::array<QPushButton*, kSlots> editButtons_{};
    std::array<QCheckBox*, kSlots> visibleBoxes_{};
    std::array<QPushButton*, kSlots - 1> swapButtons_{};
};

} // namespace kelvator
