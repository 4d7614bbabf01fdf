#pragma once

#include "platform/platform.h"

#include <QDateTime>
#include <QIcon>
#include <QStringList>

#include <memory>

namespace kelvator::testing {

class FakeSound : public SoundPlayer {
public:
    QStringList calls;
    bool fail = false;
    bool Open(const QString& path) override { return Record(QStringLiteral("Open ") + path); }
    bool Close() override { return Record(QStringLiteral("Close")); }
    bool Play() override { return Record(QStringLiteral("Play")); }
    bool Stop() override { return Record(QStringLiteral("Stop")); }
    bool Rewind() override { return Record(QStringLiteral("Rewind")); }

private:
    bool Record(const QString& call)
    {
        calls << call;
        return !fail;
    }
};

class FakeTray : public TrayIcon {
public:
    bool available = true;
    bool shown = false;
    int adds = 0;
    int deletes = 0;
    // The last tooltip and icon the window gave, and how many times it gave each.
    QString toolTip;
    QIcon icon;
    int toolTipSets = 0;
    int iconSets = 0;
    bool IsAvailable() const override { return available; }
    bool Add() override
    {
        ++adds;
        shown = true;
        return true;
    }
    bool Delete() override
    {
        ++deletes;
        shown = false;
        return true;
    }
    void SetToolTip(const QString& text) override
    {
        ++toolTipSets;
        toolTip = text;
    }
    void SetIcon(const QIcon& i) override
    {
        ++iconSets;
        icon = i;
    }
};

class FakeNotifier : public Notifier {
public:
    QStringList shown; // "title|body"
    void Notify(const QString& title, const QString& body) override { shown << title + u'|' + body; }
};

// Everything a window test needs to drive the program: a settable clock and recorders.
struct FakePlatform {
    QDateTime now{QDate(2024, 5, 7), QTime(20, 0)};
    int beeps = 0;
    QStringList errors;
    QString chosenFile;
    std::shared_ptr<FakeSound> sound = std::make_shared<FakeSound>();
    std::shared_ptr<FakeTray> tray = std::make_shared<FakeTray>();
    std::shared_ptr<FakeNotifier> notifier = std::make_shared<FakeNotifier>();

    Platform Make(const QString& settingsPath)
    {
        Platform p;
        p.now = [this] { return now; };
        p.settingsPath = settingsPath;
        p.sound = sound;
        p.beep = [this] { ++beeps; };
        p.errorBox = [this](QWidget*, const QString& text) { errors << text; };
        p.openFile = [this](QWidget*, const OpenFileRequest&) { return chosenFile; };
        p.tray = tray;
        p.notifier = notifier;
        return p;
    }
};

} // namespace kelvator::testing
