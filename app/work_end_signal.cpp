#include "app/work_end_signal.h"

#include "calendar/numbermask.h"
#include "settings/settings_model.h"
#include "settings/settings_page.h"
#include "worktime/tick_snapshot.h"

#include <QFileInfo>
#include <QTime>

namespace kelvator {

namespace {
// Every call to the player and the beep is guarded: a failure ends that action and nothing else.
template <typename Action> bool Guarded(Action action)
{
    try {
        return action();
    } catch (...) {
        return false;
    }
}
} // namespace

WorkEndSignal::WorkEndSignal(const Platform& platform, const SettingsModel& settings, SettingsPage& page,
                             Notify notify, QObject* parent)
    : QObject(parent)
    , platform_(platform)
    , settings_(settings)
    , page_(page)
    , notify_(std::move(notify))
{
    setObjectName(QStringLiteral("WorkEndSignal"));
    page_.ShowSoundPlaying(false);
    connect(&page_, &SettingsPage::soundFileRequested, this, &WorkEndSignal::ChooseSoundFile);
    connect(&page_, &SettingsPage::soundButtonClicked, this, &WorkEndSignal::ToggleTestPlayback);
    connect(&page_, &SettingsPage::workEndSoundPicked, this, [this](int index) {
        if (index == 2 || playerIdle_ || !soundFileOpen_)
            return;
        if (platform_.sound)
            Guarded([this] { return platform_.sound->Stop(); });
        SetPlayerIdle(true);
    });
}

void WorkEndSignal::OpenSoundFile(const QString& path)
{
    if (platform_.sound && !path.isEmpty() && Guarded([&] { return platform_.sound->Open(path); }))
        soundFileOpen_ = true;
}

quint32 WorkEndSignal::Step(const TickMoment& m, int workEnd, int previousSecond)
{
    const WorkEndStep step =
        StepWorkEnd(m.secondOfDay, workEnd, previousSecond, barColour_, blink_,
                    static_cast<WorkEndSound>(settings_.Get().workEndSound), soundFileOpen_, playerIdle_);
    barColour_ = step.barColour;
    blink_ = step.blinkFlag;
    const int sinceEnd = m.secondOfDay - workEnd;
    if (notify_ && sinceEnd >= 0 && sinceEnd <= kWorkEndWindow) {
        const int hour = workEnd / 3600;
        const int minute = workEnd % 3600 / 60;
        notify_(QDateTime(m.today, QTime(hour, minute, workEnd % 60)),
                QStringLiteral("Vége a munkaidőnek (") + FormatMask(hour, u"00") + u':' +
                    FormatMask(minute, u"00") + u')');
    }
    if (step.beep && platform_.beep) {
        Guarded([this] {
            platform_.beep();
            return true;
        });
    }
    if (step.startSound && platform_.sound &&
        Guarded([this] { return platform_.sound->Rewind() && platform_.sound->Play(); }))
        SetPlayerIdle(false);
    if (step.rearm)
        SetPlayerIdle(true);
    return barColour_;
}

void WorkEndSignal::StopSound()
{
    if (playerIdle_)
        return;
    // Stopping the sound must not keep the window open.
    if (platform_.sound)
        Guarded([this] { return platform_.sound->Stop(); });
    SetPlayerIdle(true);
}

void WorkEndSignal::ChooseSoundFile()
{
    if (!platform_.openFile)
        return;
    const QString path = settings_.Get().workEndSoundFile;
    const QFileInfo current(path);
    OpenFileRequest request;
    request.title = QStringLiteral("Kelvator végét jelző hang fájl kiválasztása");
    request.defaultSuffix = QStringLiteral("mp3");
    request.filters = {QStringLiteral("hang fájl (*.mp3)"), QStringLiteral("hang fájl (*.wav)")};
    request.fileName = path.isEmpty() ? QString() : current.fileName();
    request.folder = path.isEmpty() ? QString() : current.absolutePath();
    const QString chosen = platform_.openFile(page_.window(), request);
    if (chosen.isEmpty())
        return;
    page_.SetWorkEndSoundFile(chosen);
    if (!platform_.sound)
        return;
    SoundPlayer& player = *platform_.sound;
    // One guarded run: a failing step leaves what was done before it.
    Guarded([&] {
        if (!playerIdle_ && !player.Stop())
            return false;
        if (soundFileOpen_ && !player.Close())
            return false;
        if (!player.Open(chosen))
            return false;
        soundFileOpen_ = true;
        if (!player.Rewind() || !player.Play())
            return false;
        SetPlayerIdle(false);
        return true;
    });
}

void WorkEndSignal::ToggleTestPlayback()
{
    if (!platform_.sound)
        return;
    SoundPlayer& player = *platform_.sound;
    if (playerIdle_) {
        if (Guarded([&] { return player.Rewind() && player.Play(); }))
            SetPlayerIdle(false);
    } else if (Guarded([&] { return player.Stop(); })) {
        SetPlayerIdle(true);
    }
}

void WorkEndSignal::SetPlayerIdle(bool idle)
{
    playerIdle_ = idle;
    page_.ShowSoundPlaying(!playerIdle_);
}

} // namespace kelvator
