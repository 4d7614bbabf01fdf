#pragma once

#include "app/form_main.h"
#include "app/tray_control.h"
#include "app/work_end_signal.h"
#include "fake_platform.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace kelvator::testing {

// A control of a window or page by its object name; a name that is not there ends the test run.
template <typename T> T* Control(const QObject& parent, const char* name)
{
    T* control = parent.findChild<T*>(QString::fromLatin1(name));
    if (!control)
        qFatal("no control named %s", name);
    return control;
}
inline QLineEdit* Field(const QObject& parent, const char* name)
{
    return Control<QLineEdit>(parent, name);
}
// The window's page controls, main page and menu items.
inline QStackedWidget* OuterPages(const QObject& form)
{
    return Control<QStackedWidget>(form, "PageControl1");
}
inline QWidget* MainPage(const QObject& form)
{
    return Control<QWidget>(form, "TabSheet_Main");
}
inline QTabWidget* MainTabs(const QObject& form)
{
    return Control<QTabWidget>(form, "PageControl_Main");
}
inline QAction* Action(const QObject& form, const char* name)
{
    return Control<QAction>(form, name);
}

// The window's work-end signal: its blink and the player it shares with the settings page.
inline WorkEndSignal& SignalOf(const QObject& form)
{
    return *Control<WorkEndSignal>(form, "WorkEndSignal");
}

// The window's place in the tray.
inline TrayControl& TrayOf(const QObject& form)
{
    return *Control<TrayControl>(form, "TrayControl");
}

// A whole window on a fake platform, at a moment the test sets.
struct Window {
    QTemporaryDir dir;
    FakePlatform fake;
    std::unique_ptr<TForm_Main> form;

    // `settingsFile`, when given, is the settings file the window starts with.
    explicit Window(const QDateTime& now = QDateTime(QDate(2024, 5, 7), QTime(20, 0)),
                    const QByteArray& settingsFile = QByteArray())
    {
        QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
        fake.now = now;
        if (!settingsFile.isNull()) {
            QFile file(SettingsPath());
            if (!file.open(QIODevice::WriteOnly) || file.write(settingsFile) != settingsFile.size())
                qFatal("cannot write the test's settings file");
        }
        form = std::make_unique<TForm_Main>(fake.Make(SettingsPath()));
        form->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        form->findChild<QTimer*>(QStringLiteral("Timer_AktualisNapVillogtatas"))->stop();
    }
    QString SettingsPath() const { return dir.filePath(QStringLiteral("kelvator.ini")); }
    // Sets the clock and runs one tick.
    void TickAt(const QDateTime& now)
    {
        fake.now = now;
        form->Timer1Timer();
    }
    void TickAt(const QTime& time) { TickAt(QDateTime(fake.now.date(), time)); }
};

} // namespace kelvator::testing
