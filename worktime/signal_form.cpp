// The settings page's work-end sound: the file, the test playback and the choice.
#include "app/form_main.h"

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

void TForm_Main::UpdateSoundButton()
{
    QFont font = Button_BeallitasokMIVHangStop->font();
    font.setBold(!playerIdleFlag);
    const QString caption =
        playerIdleFlag ? QStringLiteral("Hang lejátszás") : QStringLiteral("Hang lejátszás STOP");
    if (Button_BeallitasokMIVHangStop->text() != caption)
        Button_BeallitasokMIVHangStop->setText(caption);
    if (Button_BeallitasokMIVHangStop->font() != font)
        Button_BeallitasokMIVHangStop->setFont(font);
}

void TForm_Main::Button_BeallitasokMIVFileClick()
{
    if (!platform_.openFile)
        return;
    const QFileInfo current(sFileUtvonalKelvatorVegeHang);
    OpenFileRequest request;
    request.title = QStringLiteral("Kelvator végét jelző hang fájl kiválasztása");
    request.defaultSuffix = QStringLiteral("mp3");
    request.filters = {QStringLiteral("hang fájl (*.mp3)"), QStringLiteral("hang fájl (*.wav)")};
    request.fileName = sFileUtvonalKelvatorVegeHang.isEmpty() ? QString() : current.fileName();
    request.folder = sFileUtvonalKelvatorVegeHang.isEmpty() ? QString() : current.absolutePath();
    const QString chosen = platform_.openFile(this, request);
    if (chosen.isEmpty())
        return;
    sFileUtvonalKelvatorVegeHang = chosen;
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
        UpdateSoundButton();
        return true;
    });
}

void TForm_Main::Button_BeallitasokMIVHangStopClick()
{
    if (!platform_.sound)
        return;
    SoundPlayer& player = *platform_.sound;
    if (playerIdleFlag) {
        if (Guarded([&] { return player.Rewind() && player.Play(); })) {
            playerIdleFlag = false;
            UpdateSoundButton();
        }
    } else if (Guarded([&] { return player.Stop(); })) {
        playerIdleFlag = true;
        UpdateSoundButton();
    }
}

void TForm_Main::RadioGroup_HangjelzesKelvatorVegenClick()
{
    if (RadioGroup_HangjelzesKelvatorVegen->itemIndex() == 2 || playerIdleFlag || !soundFileOpenFlag)
        return;
    if (platform_.sound)
        Guarded([this] { return platform_.sound->Stop(); });
    playerIdleFlag = true;
    UpdateSoundButton();
}
