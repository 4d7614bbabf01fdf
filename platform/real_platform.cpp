#include "platform/real_platform.h"
#include "calendar/wall_clock.h"
#include "settings/settings_location.h"

#include "platform/desktop_notifier.h"
#include "platform/gst_sound.h"
#include "platform/pulse_tone.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTemporaryFile>

#include <memory>
#include <mutex>

namespace kelvator {

namespace {

// Whether two icons show the same pixels at every size they hold. A live icon is drawn anew each
// time, so equal pictures rarely share a cache key.
bool SamePicture(const QIcon& a, const QIcon& b)
{
    if (a.cacheKey() == b.cacheKey())
        return true;
    if (a.isNull() || b.isNull())
        return false;
    const QList<QSize> sizes = a.availableSizes();
    if (sizes.isEmpty() || sizes != b.availableSizes())
        return false;
    for (const QSize& size : sizes) {
        if (a.pixmap(size).toImage() != b.pixmap(size).toImage())
            return false;
    }
    return true;
}

class QtTrayIcon final : public TrayIcon {
public:
    bool IsAvailable() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
    bool Add() override
    {
        if (!icon_) {
            icon_ = std::make_unique<QSystemTrayIcon>(Shown(iconWanted_));
            icon_->setToolTip(ShownToolTip());
            QObject::connect(icon_.get(), &QSystemTrayIcon::activated, [this](auto reason) {
                if (!onRelease)
                    return;
                if (reason == QSystemTrayIcon::Trigger)
                    onRelease(Button::Left);
                else if (reason == QSystemTrayIcon::Context && !icon_->contextMenu())
                    onRelease(Button::Right); // with a menu of its own the icon shows that
            });
        }
        // Panels that draw the menu themselves never report a right click: the icon carries it.
        if (menu && icon_->contextMenu() != menu)
            icon_->setContextMenu(menu);
        icon_->show();
        return true;
    }
    bool Delete() override
    {
        if (icon_)
            icon_->hide();
        return true;
    }
    // Each change makes a StatusNotifierItem panel fetch every property again, pixmaps
    // included, so only real changes go out.
    void SetToolTip(const QString& text) override
    {
        if (text == toolTip_)
            return;
        toolTip_ = text;
        if (icon_)
            icon_->setToolTip(ShownToolTip());
    }
    void SetIcon(const QIcon& icon) override
    {
        if (SamePicture(icon, iconWanted_))
            return;
        iconWanted_ = icon;
        if (icon_)
            icon_->setIcon(Shown(iconWanted_));
    }

private:
    QString ShownToolTip() const { return toolTip_.isEmpty() ? QStringLiteral("Kelvator") : toolTip_; }
    static QIcon Shown(const QIcon& icon)
    {
        return icon.isNull() ? QIcon(QStringLiteral(":/kelvator/kelvator.png")) : icon;
    }

    std::unique_ptr<QSystemTrayIcon> icon_;
    QString toolTip_;
    QIcon iconWanted_;
};

// KELVATOR_CLOCK_SHIFT_MS, a whole number of milliseconds, moves the program's clock that far from
// the system's; it still runs at the real pace. This is how the real program is brought to a
// work end or a full hour to hear and see what it does there, for example
//   KELVATOR_CLOCK_SHIFT_MS=$(( ($(date -d 15:59:50 +%s) - $(date +%s)) * 1000 )) kelvator
// Only the program's own idea of the time moves; unset or not a number, there is no shift.
qint64 ClockShiftMs()
{
    bool ok = false;
    const qint64 shift = qEnvironmentVariable("KELVATOR_CLOCK_SHIFT_MS").toLongLong(&ok);
    return ok ? shift : 0;
}

} // namespace

// The bundled tone goes straight to the desktop's sound server, which starts it at once and plays
// it whole; where there is none, through GStreamer, which plays files, not resources: the tone
// gets a file for the run.
std::function<void()> MakeBeep()
{
    const QString resource = QStringLiteral(":/kelvator/beep.wav");
    std::shared_ptr<QTemporaryFile> file(QTemporaryFile::createNativeFile(resource));
    struct Fallback {
        std::once_flag made;
        std::function<void()> tone;
    };
    auto fallback = std::make_shared<Fallback>();
    // GStreamer is loaded only when it is needed.
    auto viaGStreamer = [file, fallback] {
        std::call_once(fallback->made, [&] {
            if (file)
                fallback->tone = MakeGstTone(file->fileName());
        });
        if (fallback->tone)
            fallback->tone();
    };
    QFile wav(resource);
    std::function<void()> tone =
        MakePulseTone(wav.open(QIODevice::ReadOnly) ? wav.readAll() : QByteArray(), viaGStreamer);
    if (!tone)
        tone = viaGStreamer;
    return [tone] {
        QApplication::beep();
        // The system beep is silent on most Linux desktops; a short tone of our own is heard.
        tone();
    };
}

QString DefaultSettingsPath()
{
    return ChooseSettingsLocation(RealSettingsPlaces()).path;
}

Platform MakeRealPlatform()
{
    Platform p;
    p.now = [clock = std::make_shared<WallClock>(), shift = ClockShiftMs()] {
        return clock->At(QDateTime::currentMSecsSinceEpoch() + shift);
    };
    p.settingsPath = DefaultSettingsPath();
    p.sound = MakeGstSoundPlayer();
    p.beep = MakeBeep();
    p.errorBox = [](QWidget* parent, const QString& text) {
        QString shown = text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QMessageBox::critical(parent, QStringLiteral("Error"), shown);
    };
    p.openFile = [](QWidget* parent, const OpenFileRequest& r) {
        QFileDialog dialog(parent, r.title, r.folder);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters(r.filters);
        dialog.setDefaultSuffix(r.defaultSuffix);
        if (!r.fileName.isEmpty())
            dialog.selectFile(r.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
    p.tray = std::make_shared<QtTrayIcon>();
    p.notifier = std::make_shared<DesktopNotifier>();
    return p;
}

} // namespace kelvator
