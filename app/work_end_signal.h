#pragma once

#include "platform/platform.h"
#include "worktime/workend.h"

#include <QDateTime>
#include <QObject>

#include <functional>

namespace kelvator {

class SettingsModel;
class SettingsPage;
struct TickMoment;

// The work end's signal: the day bar's blink, the beep or the sound file, and the settings
// page's sound controls, which share the one player with it.
class WorkEndSignal : public QObject {
    Q_OBJECT

public:
    // Told of the work end, once per day's end, for the desktop to show while the window is away.
    using Notify = std::function<void(const QDateTime& event, const QString& body)>;
    WorkEndSignal(const Platform& platform, const SettingsModel& settings, SettingsPage& page, Notify notify,
                  QObject* parent);

    // The saved sound file, opened at start; a file that cannot be opened leaves the sound silent.
    void OpenSoundFile(const QString& path);
    // One working day's tick at second `m.secondOfDay`; `previousSecond` is the last tick's that ran
    // all its steps. Returns the day bar's colour.
    quint32 Step(const TickMoment& m, int workEnd, int previousSecond);
    // A sound still playing stops (the program is asked to close).
    void StopSound();

    bool Blinking() const { return blink_; }
    bool PlayerIdle() const { return playerIdle_; }
    quint32 BarColour() const { return barColour_; }

private:
    void ChooseSoundFile();
    void ToggleTestPlayback();
    void SetPlayerIdle(bool idle);

    const Platform& platform_;
    const SettingsModel& settings_;
    SettingsPage& page_;
    Notify notify_;
    quint32 barColour_ = kDayBarOrange;
    bool blink_ = false;
    bool soundFileOpen_ = false;
    bool playerIdle_ = true;
};

} // namespace kelvator
