// The tray's options on the Munkarend page, the page on its own: OK hands them over before the
// file is written, Mégsem drops them, and a minute count out of range is refused.
#include "settings/settings_model.h"
#include "tray/tray_settings.h"
#include "worktime/workcalendar_model.h"
#include "worktime/workcalendar_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace kelvator;

namespace {

template <typename T = QAbstractButton> T* Named(const QWidget& parent, const char* name)
{
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

struct LonePage {
    WorkCalendarModel model;
    QStringList errors;
    int saves = 0;
    // What had been handed over when the file was written.
    QList<TraySettings> handed;
    QList<TraySettings> handedAtSave;
    WorkCalendarPage page{model,
                          {[this](const QString& text) { errors << text; },
                           [this] {
                               ++saves;
                               handedAtSave = handed;
                               return true;
                           }}};
    LonePage()
    {
        QObject::connect(&page, &WorkCalendarPage::trayApplied,
                         [this](const TraySettings& tray) { handed << tray; });
        page.Open(2026, Settings{});
    }
    QLineEdit* Minutes() const { return Named<QLineEdit>(page, "Edit_FigyelmeztetesVegeElottPerc"); }
};

TraySettings Everything()
{
    TraySettings tray;
    tray.tipShowsDay = true;
    tray.iconShowsDay = true;
    tray.fullMenu = true;
    tray.remindBeforeEnd = true;
    tray.reminderMinutes = 25;
    return tray;
}

} // namespace

class TstTrayPage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The window's font, which the page takes from it.
    void initTestCase()
    {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(11);
        QApplication::setFont(font);
    }

    // The group keeps to the right column, between the hours and the page's buttons, and holds
    // every option by its stored name.
    void theGroupHasItsPlace()
    {
        LonePage lone;
        const QWidget& p = lone.page;
        const auto* group = Named<QGroupBox>(p, "GroupBox_Talca");
        QCOMPARE(group->title(), QStringLiteral("Tálcaikon"));
        for (const char* name : {"CheckBox_SugoMutatjaANapot", "CheckBox_IkonMutatjaANapot",
                                 "CheckBox_BovitettTalcaMenu", "CheckBox_FigyelmeztetesVegeElott"}) {
            const auto* box = Named<QCheckBox>(p, name);
            QCOMPARE(box->parentWidget(), group);
            // The caption is read whole.
            QVERIFY2(box->sizeHint().width() <= box->width(), name);
            QVERIFY2(box->geometry().right() < group->width(), name);
        }
        QCOMPARE(lone.Minutes()->maxLength(), 3);
        QCOMPARE(lone.Minutes()->text(), QStringLiteral("10"));
        QVERIFY(!lone.Minutes()->isEnabled());
        const QRect hours = Named<QGroupBox>(p, "GroupBox_NapiMunkaido")->geometry();
        const QRect days = Named<QGroupBox>(p, "GroupBox_MunkarendNapok")->geometry();
        QVERIFY(hours.bottom() < group->geometry().top());
        QVERIFY(!days.intersects(group->geometry()));
        QVERIFY(group->geometry().bottom() < Named(p, "Button_MunkarendOK")->geometry().top());
        QCOMPARE(days, QRect(8, 30, 300, 324));
        // The hours' last row stays inside its group.
        QVERIFY(Named<QLineEdit>(p, "Edit_NapiMIVPerc5")->geometry().bottom() < hours.height());
    }

    // OK hands over what the page shows, before the file is written.
    void okAppliesBeforeTheSave()
    {
        LonePage lone;
        QSignalSpy applied(&lone.page, &WorkCalendarPage::applied);
        lone.page.ShowTraySettings(TraySettings{});
        const QWidget& p = lone.page;
        for (const char* name : {"CheckBox_SugoMutatjaANapot", "CheckBox_IkonMutatjaANapot",
                                 "CheckBox_BovitettTalcaMenu", "CheckBox_FigyelmeztetesVegeElott"})
            Named(p, name)->click();
        QVERIFY(lone.Minutes()->isEnabled());
        lone.Minutes()->setText(QStringLiteral("25"));
        Named(p, "Button_MunkarendOK")->click();
        QCOMPARE(lone.handed, QList<TraySettings>{Everything()});
        QCOMPARE(lone.handedAtSave, lone.handed);
        QCOMPARE(lone.saves, 1);
        QCOMPARE(applied.count(), 1);
        QVERIFY(lone.errors.isEmpty());
        QCOMPARE(lone.page.CollectTraySettings(), Everything());
    }

    // Mégsem hands nothing over; the page shows the settings again at the next opening.
    void cancelDiscards()
    {
        LonePage lone;
        QSignalSpy done(&lone.page, &WorkCalendarPage::done);
        lone.page.ShowTraySettings(Everything());
        const QWidget& p = lone.page;
        Named(p, "CheckBox_IkonMutatjaANapot")->click();
        Named(p, "CheckBox_FigyelmeztetesVegeElott")->click();
        QVERIFY(!lone.Minutes()->isEnabled());
        Named(p, "Button_MunkarendMegsem")->click();
        QCOMPARE(done.count(), 1);
        QVERIFY(lone.handed.isEmpty());
        QCOMPARE(lone.saves, 0);
        lone.page.ShowTraySettings(Everything());
        QCOMPARE(lone.page.CollectTraySettings(), Everything());
        QVERIFY(lone.Minutes()->isEnabled());
    }

    void badMinutesAreRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("taken"); // 0: refused
        QTest::addRow("0") << QStringLiteral("0") << 0;
        QTest::addRow("121") << QStringLiteral("121") << 0;
        QTest::addRow("abc") << QStringLiteral("abc") << 0;
        QTest::addRow("empty") << QString() << 0;
        QTest::addRow("-5") << QStringLiteral("-5") << 0;
        QTest::addRow("1") << QStringLiteral("1") << 1;
        QTest::addRow("120") << QStringLiteral("120") << 120;
        QTest::addRow("blank 5") << QStringLiteral(" 5") << 5;
    }
    void badMinutesAreRefused()
    {
        QFETCH(QString, typed);
        QFETCH(int, taken);
        LonePage lone;
        QSignalSpy done(&lone.page, &WorkCalendarPage::done);
        TraySettings reminder;
        reminder.remindBeforeEnd = true;
        reminder.reminderMinutes = 30;
        lone.page.ShowTraySettings(reminder);
        lone.Minutes()->setText(typed);
        Named(lone.page, "Button_MunkarendOK")->click();
        if (taken == 0) {
            QCOMPARE(lone.errors,
                     QStringList{QStringLiteral("A beírt perc érték hibás.\r\n1–120 a jó érték.")});
            QVERIFY(lone.handed.isEmpty());
            QCOMPARE(lone.saves, 0);
            QCOMPARE(done.count(), 0);
            // What counts meanwhile is the value last taken.
            QCOMPARE(lone.page.CollectTraySettings().reminderMinutes, 30);
        } else {
            QVERIFY(lone.errors.isEmpty());
            QCOMPARE(lone.handed.size(), 1);
            QCOMPARE(lone.handed.front().reminderMinutes, taken);
            QCOMPARE(done.count(), 1);
        }
    }

    // With the reminder off its minutes are not asked for: OK goes through.
    void minutesOfAReminderSwitchedOffAreNotChecked()
    {
        LonePage lone;
        lone.page.ShowTraySettings(TraySettings{});
        lone.Minutes()->setText(QStringLiteral("abc"));
        Named(lone.page, "Button_MunkarendOK")->click();
        QVERIFY(lone.errors.isEmpty());
        QCOMPARE(lone.handed, QList<TraySettings>{TraySettings{}});
    }

    // Leaving the field with a value out of range says so at once, as the hours do.
    void leavingTheFieldChecksIt()
    {
        LonePage lone;
        TraySettings reminder;
        reminder.remindBeforeEnd = true;
        lone.page.ShowTraySettings(reminder);
        lone.page.show();
        lone.page.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&lone.page));
        lone.Minutes()->setFocus();
        lone.Minutes()->selectAll();
        QTest::keyClicks(lone.Minutes(), QStringLiteral("200"));
        Named(lone.page, "CheckBox_SugoMutatjaANapot")->setFocus(Qt::TabFocusReason);
        QCOMPARE(lone.errors, QStringList{QStringLiteral("A beírt perc érték hibás.\r\n1–120 a jó érték.")});
        QVERIFY(lone.Minutes()->text().isEmpty());
        QCOMPARE(lone.page.CollectTraySettings().reminderMinutes, 10);
    }
};

QTEST_MAIN(TstTrayPage)
#include "tst_tray_page.moc"
