// The settings page's work-end sound: the file, the test playback and the choice.
#include "app/form_main.h"

#include "settings/settings_page.h"
#include "widgets/tshape.h"
#include "worktime/workend.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace kelvator;

namespace {
// Every call to the player is guarded: a failure ends that action and nothing else.
template <typename Action> bool Guarded(Action action)
{
    try {
        return action();
    } catch (...) {
        return false;
    }
}
} // namespace

void TForm_Main::WireWorkEndSound()
{
    connect(settingsPage_, &SettingsPage::soundFileRequested, this, [this] {
        if (!platform_.openFile)
            return;
        const QString path = settingsModel_.Get().workEndSoundFile;
        const QFileInfo current(path);
        OpenFileRequest request;
        request.title = QStringLiteral("Kelvator végét jelző hang fájl kiválasztása");
        request.defaultSuffix = QStringLiteral("mp3");
        request.filters = {QStringLiteral("hang fájl (*.mp3)"), QStringLiteral("hang fájl (*.wav)")};
        request.fileName = path.isEmpty() ? QString() : current.fileName();
        request.folder = path.isEmpty() ? QString() : current.absolutePath();
        const QString chosen = platform_.openFile(this, request);
        if (chosen.isEmpty())
            return;
        settingsPage_->SetWorkEndSoundFile(chosen);
        if (!platform_.sound)
            return;
        SoundPlayer& player = *platform_.sound;
        // One guarded run: a failing step leaves what was done before it.
        Guarded([&] {
            if (!playerIdleFlag && !player.Stop())
                return false;
            if (soundFileOpenFlag && !player.Close())
                return false;
            if (!player.Open(chosen))
                return false;
            soundFileOpenFlag = true;
            if (!player.Rewind() || !player.Play())
                return false;
            playerIdleFlag = false;
            settingsPage_->ShowSoundPlaying(!playerIdleFlag);
            return true;
        });
    });
    connect(settingsPage_, &SettingsPage::soundButtonClicked, this, [this] {
        if (!platform_.sound)
            return;
        SoundPlayer& player = *platform_.sound;
        if (playerIdleFlag) {
            if (Guarded([&] { return player.Rewind() && player.Play(); })) {
                playerIdleFlag = false;
                settingsPage_->ShowSoundPlaying(!playerIdleFlag);
            }
        } else if (Guarded([&] { return player.Stop(); })) {
            playerIdleFlag = true;
            settingsPage_->ShowSoundPlaying(!playerIdleFlag);
        }
    });
    connect(settingsPage_, &SettingsPage::workEndSoundPicked, this, [this](int index) {
        if (index == 2 || playerIdleFlag || !soundFileOpenFlag)
            return;
        if (platform_.sound)
            Guarded([this] { return platform_.sound->Stop(); });
        playerIdleFlag = true;
        settingsPage_->ShowSoundPlaying(!playerIdleFlag);
    });
}
