// The settings file: every key the program keeps.
#include "app/form_main.h"
#include "app/tray_control.h"

#include "calendar/numbermask.h"
#include "clocks/big_clock_page.h"
#include "datecalc/datecalc_page.h"
#include "events/events_page.h"
#include "settings/inifile.h"
#include "settings/settings_model.h"
#include "settings/settings_page.h"
#include "stopwatch/stopwatch_page.h"
#include "widgets/field_checks.h"
#include "widgets/mbargraph.h"
#include "widgets/tmonthcalendar.h"
#include "widgets/tshape.h"
#include "worktime/worktime_page.h"
#include "yearcal/yeargrid_page.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>

#include <functional>
#include <vector>

using namespace kelvator;

// ---- The file -----------------------------------------------------------------------------

Settings TForm_Main::CollectSettings() const
{
    Settings s;
    yearGridPage_->CollectSettings(s);
    settingsPage_->CollectSettings(s);
    workTimePage_->CollectSettings(s);
    s.mainTab = PageControl_Main->currentIndex();
    bigClockPage_->CollectSettings(s);
    eventsPage_->CollectSettings(s);
    dateCalcPage_->CollectSettings(s);
    stopwatchPage_->CollectSettings(s);
    return s;
}

// In the file's order, as the controls have always been filled.
void TForm_Main::ShowSettings(const Settings& s)
{
    yearGridPage_->ShowSettings(s);
    // The page's keys, [Beallitasok] and its breaks at the end, touch nothing but the page.
    settingsPage_->ShowSettings(s);
    workTimePage_->ShowSettings(s);
    {
        const QSignalBlocker quiet(PageControl_Main);
        PageControl_Main->setCurrentIndex(s.mainTab);
    }
    bigClockPage_->ShowSettings(s);
    eventsPage_->ShowSettings(s);
    dateCalcPage_->ShowSettings(s);
    stopwatchPage_->ShowSettings(s);
}

namespace {
QString RefusalReason(FileStatus status)
{
    switch (status) {
    case FileStatus::NotRegular:
        return QStringLiteral("nem közönséges fájl");
    case FileStatus::TooLarge:
        return QStringLiteral("túl nagy");
    case FileStatus::Unreadable:
    case FileStatus::Missing:
    case FileStatus::Ok:
        break;
    }
    return QStringLiteral("nem olvasható");
}

} // namespace

void TForm_Main::LoadSettings()
{
    const QString& path = platform_.settingsPath;
    const FileContents file = ReadSettingsFile(path);
    settingsFileRefusedFlag_ = file.status != FileStatus::Ok && file.status != FileStatus::Missing;
    const IniFile ini = file.status == FileStatus::Ok ? IniFile::FromBytes(file.bytes) : IniFile();
    if (settingsFileRefusedFlag_) {
        ShowError(QStringLiteral("A beállítások fájlja %1, ezért a program az alapbeállításokkal indul, "
                                 "és ezt a fájlt nem írja felül:\r\n%2")
                      .arg(RefusalReason(file.status), path));
    } else if (ini.HasContent() && !HoldsSettings(ini)) {
        // Everything starts from its default: keep a copy of the file as it was before a save adds to it,
        // as private as the file itself.
        const QString backup = path + QStringLiteral(".bak");
        QString text =
            QStringLiteral("A beállítások fájlja sérült, ezért a program az alapbeállításokkal indul:\r\n") +
            path;
        if (WriteFileAtomically(backup, file.bytes, path))
            text += QStringLiteral("\r\nAz eredeti fájl másolata: ") + backup;
        ShowError(text);
    }
    Settings settings = CollectSettings();
    ReadSettings(ini, ToDateTime(platform_.now()), settings);
    ShowSettings(settings);
    settingsModel_.Set(CollectSettings());
    loadNotice_ = calendarModel_.Read(ini);
    const QString trayNotice = traySettingsModel_.Read(ini);
    if (!trayNotice.isEmpty())
        loadNotice_ += (loadNotice_.isEmpty() ? QString() : QStringLiteral("\r\n\r\n")) + trayNotice;
    settingsPage_->FixLoadedFields();
    tray_->StartInTray(settingsModel_.Get().startAsIcon);
    settingsLoadedFlag_ = true;
}

bool TForm_Main::SaveSettings()
{
    const FileContents file = ReadSettingsFile(platform_.settingsPath);
    if (file.status != FileStatus::Ok && file.status != FileStatus::Missing) {
        // A file that could not be read is never written over; the user heard so at the start.
        if (settingsFileRefusedFlag_)
            return true;
        ShowError(QStringLiteral("Unable to write to %1").arg(platform_.settingsPath));
        return false;
    }
    IniFile ini = file.status == FileStatus::Ok ? IniFile::FromBytes(file.bytes) : IniFile();
    const Settings settings = CollectSettings();
    WriteSettings(settings, ini);
    settingsModel_.Set(settings);
    ini.SetValue(QStringLiteral("Idobelyeg"), QStringLiteral("IniFileUtolsoMentes"),
                 DateTimeText(ToDateTime(platform_.now())));
    calendarModel_.Write(ini);
    traySettingsModel_.Write(ini);
    if (ini.Save(platform_.settingsPath))
        return true;
    ShowError(QStringLiteral("Unable to write to %1").arg(platform_.settingsPath));
    return false;
}

void TForm_Main::ShowError(const QString& text)
{
    if (platform_.errorBox)
        platform_.errorBox(this, text);
}
