#include "app/real_platform.h"
#include "settings/settings_location.h"

#include <QApplication>
#include <QAudioOutput>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QMessageBox>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QUrl>

#include <memory>

namespace kelvator {

namespace {

class QtSoundPlayer final : public SoundPlayer {
public:
    bool Open(const QString& path) override
    {
        const QFileInfo info(path);
        if (path.isEmpty() || !info.isFile() || !info.isReadable())
            return false;
        Ensure();
        player_->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
        return player_->error() == QMediaPlayer::NoError;
    }
    bool Close() override
    {
        if (!player_)
            return false;
        player_->stop();
        player_->setSource(QUrl());
        return true;
    }
    bool Play() override
    {
        if (!player_ || player_->source().isEmpty())
            return false;
        player_->play();
        return player_->error() == QMediaPlayer::NoError;
    }
    // QMediaPlayer::stop() also rewinds; the program's Stop keeps the position.
    bool Stop() override
    {
        if (!player_ || player_->source().isEmpty())
            return false;
        player_->pause();
        return true;
    }
    bool Rewind() override
    {
        if (!player_ || player_->source().isEmpty())
            return false;
        player_->setPosition(0);
        return true;
    }

private:
    // The media back end starts only when a sound is first needed.
    void Ensure()
    {
        if (player_)
            return;
        player_ = std::make_unique<QMediaPlayer>();
        output_ = std::make_unique<QAudioOutput>();
        player_->setAudioOutput(output_.get());
    }

    std::unique_ptr<QAudioOutput> output_;
    std::unique_ptr<QMediaPlayer> player_;
};

class QtTrayIcon final : public TrayIcon {
public:
    bool IsAvailable() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
    bool Add() override
    {
        if (!icon_) {
            icon_ = std::make_unique<QSystemTrayIcon>(QIcon(QStringLiteral(":/kelvator/kelvator.png")));
            icon_->setToolTip(QStringLiteral("Kelvator"));
            QObject::connect(icon_.get(), &QSystemTrayIcon::activated, [this](auto reason) {
                if (!onRelease)
                    return;
                if (reason == QSystemTrayIcon::Trigger)
                    onRelease(Button::Left);
                else if (reason == QSystemTrayIcon::Context)
                    onRelease(Button::Right);
            });
        }
        icon_->show();
        return true;
    }
    bool Delete() override
    {
        if (icon_)
            icon_->hide();
        return true;
    }

private:
    std::unique_ptr<QSystemTrayIcon> icon_;
};

void Beep()
{
    QApplication::beep();
    // The system beep is silent on most Linux desktops; a short tone of our own is heard.
    static QSoundEffect* tone = [] {
        auto* effect = new QSoundEffect(qApp);
        effect->setSource(QUrl(QStringLiteral("qrc:/kelvator/beep.wav")));
        return effect;
    }();
    tone->play();
}

} // namespace

QString DefaultSettingsPath()
{
    return ChooseSettingsLocation(RealSettingsPlaces()).path;
}

Platform MakeRealPlatform()
{
    Platform p;
    p.now = [] { return QDateTime::currentDateTime(); };
    p.settingsPath = DefaultSettingsPath();
    p.sound = std::make_shared<QtSoundPlayer>();
    p.beep = &Beep;
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
    return p;
}

} // namespace kelvator
