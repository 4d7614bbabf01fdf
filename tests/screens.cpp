// Renders every outer page and inner tab at a fixed moment to PNG files, once in the desktop's
// palette and once more in a dark one (into <folder>/dark):
//   kelvator_screens <folder>
// or writes the settings file a fresh window saves first, the reference of tst_settings:
//   kelvator_screens --first-save <file>
#include "app/form_main.h"
#include "fake_platform.h"
#include "widgets/tmonthcalendar.h"
#include "widgets/tpaintbox.h"
#include "widgets/tshape.h"
#include "window_fixture.h"
#include "worktime_fixture.h"
#include "yearcal/yeargrid_page.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPalette>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

using kelvator::testing::MainPage;
using kelvator::testing::MainTabs;
using kelvator::testing::OuterPages;
using kelvator::testing::WorkTimeControl;

const QDateTime kMoment(QDate(2016, 8, 1), QTime(11, 30, 15));

// A dark desktop: light text on dark windows, buttons and fields.
QPalette DarkPalette()
{
    QPalette p;
    const QColor window(0x35, 0x35, 0x35);
    const QColor base(0x24, 0x24, 0x24);
    const QColor text(0xEE, 0xEE, 0xEE);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
    p.setColor(QPalette::Midlight, QColor(0x45, 0x45, 0x45));
    p.setColor(QPalette::Mid, QColor(0x28, 0x28, 0x28));
    p.setColor(QPalette::Dark, QColor(0x1A, 0x1A, 0x1A));
    p.setColor(QPalette::Shadow, Qt::black);
    return p;
}

bool ShootAll(const QDir& out)
{
    QDir().mkpath(out.path());
    QTemporaryDir settings;
    kelvator::testing::FakePlatform fake;
    fake.now = kMoment;
    TForm_Main form(fake.Make(settings.filePath(QStringLiteral("kelvator.ini"))));
    form.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    form.findChild<QTimer*>(QStringLiteral("Timer_AktualisNapVillogtatas"))->stop();
    // Show the amounts too, as a user who asked for them sees the page.
    form.findChild<QLineEdit*>(QStringLiteral("Edit_HaviFizetes"))->setText(QStringLiteral("300000"));
    WorkTimeControl<QAbstractButton>(form, "SpeedButton_FizetesKijelzes")->setChecked(true);
    form.show();

    bool ok = true;
    auto shoot = [&](const QString& name) {
        form.Timer1Timer();
        form.Timer1Timer(); // the analog faces draw with the previous tick's work day
        QApplication::processEvents();
        const bool saved = form.grab().save(out.filePath(name + QStringLiteral(".png")));
        std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(out.filePath(name)));
        ok = ok && saved;
    };
    auto* const bigClockKinds = form.findChild<QTabWidget*>(QStringLiteral("PageControl_NagyOraTipus"));
    for (int i = 0; i < MainTabs(form)->count(); ++i) {
        MainTabs(form)->setCurrentIndex(i);
        if (MainTabs(form)->currentWidget()->objectName() == QStringLiteral("TabSheet_NagyOra")) {
            for (int j = 0; j < bigClockKinds->count(); ++j) {
                bigClockKinds->setCurrentIndex(j);
                shoot(bigClockKinds->currentWidget()->objectName());
            }
        } else {
            shoot(MainTabs(form)->currentWidget()->objectName());
        }
    }
    MainTabs(form)->setCurrentIndex(0);
    auto* aboutPage = OuterPages(form)->findChild<QWidget*>(QStringLiteral("TabSheet_Nevjegy"));
    auto* exitPage = OuterPages(form)->findChild<QWidget*>(QStringLiteral("TabSheet_Kilepes"));
    auto* eventEditorPage =
        OuterPages(form)->findChild<QWidget*>(QStringLiteral("TabSheet_EsemenyBeallitasa"));
    auto* settingsPage = OuterPages(form)->findChild<QWidget*>(QStringLiteral("TabSheet_Beallitasok"));
    for (QWidget* page : {settingsPage, aboutPage, exitPage, eventEditorPage}) {
        form.ShowOuterPage(page);
        shoot(page->objectName());
    }
    // The work calendar and the hours per weekday, switched on as a user would.
    auto calendarButton = [&form](const char* name) {
        return form.findChild<QAbstractButton*>(QString::fromLatin1(name));
    };
    auto calendarField = [&form](const char* name) {
        return form.findChild<QLineEdit*>(QString::fromLatin1(name));
    };
    form.Menu_BeallitasokClick();
    form.Button_MunkarendClick();
    calendarButton("CheckBox_Unnepnapok")->setChecked(true);
    calendarField("Edit_MunkarendDatum")->setText(QStringLiteral("2016.08.05."));
    calendarButton("Button_MunkarendSzabadnap")->click();
    shoot(QStringLiteral("TabSheet_Munkarend"));
    calendarButton("CheckBox_NapiMunkaido")->setChecked(false);
    calendarButton("CheckBox_NapiMunkaido")->click(); // ticked as the user ticks it
    calendarField("Edit_NapiMIVOra5")->setText(QStringLiteral("13"));
    calendarField("Edit_NapiMIVPerc5")->setText(QStringLiteral("30"));
    calendarField("Edit_NapiMIKOra1")->setText(QStringLiteral("08"));
    calendarField("Edit_NapiMIVOra1")->setText(QStringLiteral("17"));
    calendarField("Edit_AthelyezesMunkanap")->setText(QStringLiteral("2016.12.09."));
    calendarField("Edit_AthelyezesPihenonap")->setText(QStringLiteral("2016.12.23."));
    calendarButton("Button_AthelyezesHozzaadas")->click(); // refused: not a Saturday
    shoot(QStringLiteral("TabSheet_Munkarend_napi"));
    calendarButton("Button_MunkarendOK")->click();
    form.findChild<QPushButton*>(QStringLiteral("Button_BeallitasokOK"))->click();
    form.ShowOuterPage(MainPage(form));
    fake.now = QDateTime(QDate(2026, 12, 9), QTime(11, 30, 15));
    auto* yearGrid = form.findChild<kelvator::YearGridPage*>(QStringLiteral("TabSheet_EvesNaptar"));
    MainTabs(form)->setCurrentWidget(yearGrid);
    yearGrid->Redraw();
    yearGrid->findChild<TPaintBox*>(QStringLiteral("Image_EvesNaptar"))
        ->onMouseMove(QPoint(19 * 12 + 6, 7 * 18 + 9)); // 20 August
    shoot(QStringLiteral("Munkarend_EvesNaptar_2026"));
    MainTabs(form)->setCurrentWidget(WorkTimeControl<QWidget>(form, "TabSheet_Kelvator"));
    WorkTimeControl<QPushButton>(form, "Button_Ma")->click();
    shoot(QStringLiteral("Munkarend_Kelvator_2026-12-09"));
    form.findChild<TRadioGroup*>(QStringLiteral("RadioGroup_HangjelzesKelvatorVegen"))->setItemIndex(1);
    fake.now = QDateTime(QDate(2026, 12, 11), QTime(13, 29, 59));
    form.Timer1Timer();
    fake.now = QDateTime(QDate(2026, 12, 11), QTime(13, 30, 0));
    WorkTimeControl<QPushButton>(form, "Button_Ma")->click();
    shoot(QStringLiteral("Munkarend_Kelvator_pentek_13-30"));
    fake.now = QDateTime(QDate(2026, 12, 11), QTime(13, 45, 0));
    shoot(QStringLiteral("Munkarend_Kelvator_pentek_13-45"));
    std::printf("beeps %d\n", fake.beeps);
    // Paydays moved back for Christmas and for a weekend, and the month calendars of December
    // with the days not worked in red.
    form.findChild<QListWidget*>(QStringLiteral("ListBox_FizetesnapDatuma"))->setCurrentRow(25);
    fake.now = QDateTime(QDate(2026, 12, 24), QTime(10, 0));
    WorkTimeControl<QPushButton>(form, "Button_Ma")->click();
    shoot(QStringLiteral("Munkarend_Kelvator_2026-12-24"));
    form.findChild<QListWidget*>(QStringLiteral("ListBox_FizetesnapDatuma"))->setCurrentRow(4);
    fake.now = QDateTime(QDate(2026, 12, 5), QTime(10, 0));
    WorkTimeControl<QPushButton>(form, "Button_Ma")->click();
    shoot(QStringLiteral("Munkarend_Kelvator_2026-12-05"));
    MainTabs(form)->setCurrentWidget(form.findChild<QWidget*>(QStringLiteral("TabSheet_Datumok")));
    form.findChild<TMonthCalendar*>(QStringLiteral("MonthCalendar_Datumok1"))
        ->setSelectedDate(QDate(2026, 12, 12));
    form.findChild<TMonthCalendar*>(QStringLiteral("MonthCalendar_Datumok2"))
        ->setSelectedDate(QDate(2026, 12, 24));
    shoot(QStringLiteral("Munkarend_Datumok_2026-12"));
    MainTabs(form)->setCurrentWidget(WorkTimeControl<QWidget>(form, "TabSheet_Kelvator"));

    form.findChild<QCheckBox*>(QStringLiteral("CheckBox_BeallitasOrankentiHangjelzes"))->setChecked(true);
    form.ShowOuterPage(MainPage(form));
    fake.now = QDateTime(QDate(2016, 8, 1), QTime(14, 0, 0));
    shoot(QStringLiteral("TabSheet_Figyelmeztetes"));
    return ok;
}

bool WriteFirstSave(const QString& path)
{
    QTemporaryDir dir;
    const QString written = dir.filePath(QStringLiteral("kelvator.ini"));
    {
        kelvator::testing::FakePlatform fake;
        fake.now = QDateTime(QDate(2024, 5, 7), QTime(20, 0));
        TForm_Main form(fake.Make(written));
        form.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        form.findChild<QTimer*>(QStringLiteral("Timer_AktualisNapVillogtatas"))->stop();
        if (!form.SaveSettings())
            return false;
    }
    QFile::remove(path);
    return QFile::copy(written, path);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    if (args.size() == 3 && args[1] == QStringLiteral("--first-save")) {
        const bool ok = WriteFirstSave(args[2]);
        std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(args[2]));
        return ok ? 0 : 1;
    }
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: kelvator_screens <folder> | --first-save <file>\n");
        return 2;
    }
    const QDir out(args[1]);
    bool ok = ShootAll(out);
    QApplication::setPalette(DarkPalette());
    ok = ShootAll(QDir(out.filePath(QStringLiteral("dark")))) && ok;
    return ok ? 0 : 1;
}
