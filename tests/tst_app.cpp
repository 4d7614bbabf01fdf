#include "window_fixture.h"
#include "worktime_fixture.h"

#include "widgets/mbargraph.h"
#include "widgets/tmonthcalendar.h"
#include "widgets/tshape.h"
#include "yearcal/yeargrid_page.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTextCharFormat>

using kelvator::testing::Action;
using kelvator::testing::Control;
using kelvator::testing::DaySquares;
using kelvator::testing::MainPage;
using kelvator::testing::MainTabs;
using kelvator::testing::OuterPages;
using kelvator::testing::SignalOf;
using kelvator::testing::TrayOf;
using kelvator::testing::Window;
using kelvator::testing::WorkTimeControl;

class TstApp : public QObject {
    Q_OBJECT

private:
    static QWidget* Page(Window& w) { return OuterPages(*w.form)->currentWidget(); }
    static QString PageName(Window& w) { return Page(w)->objectName(); }
    template <typename T> static T* Child(Window& w, const char* name)
    {
        return w.form->findChild<T*>(QString::fromLatin1(name));
    }
    static QLabel* NoticeText(Window& w) { return Child<QLabel>(w, "Label_FigyelemSzoveg"); }
    static void AcknowledgeNotice(Window& w)
    {
        Child<QPushButton>(w, "Button_FigyelemAllapotNyugtazasa")->click();
    }
    static bool MenuEnabled(Window& w)
    {
        return Action(*w.form, "Menu_Bezaras")->isEnabled() &&
               Action(*w.form, "Menu_Beallitasok")->isEnabled() &&
               Action(*w.form, "Menu_Nevjegy")->isEnabled();
    }
    static bool MenuDisabled(Window& w)
    {
        return !Action(*w.form, "Menu_Bezaras")->isEnabled() &&
               !Action(*w.form, "Menu_Beallitasok")->isEnabled() &&
               !Action(*w.form, "Menu_Nevjegy")->isEnabled();
    }

private Q_SLOTS:
    void startUpTickSetsOnlyTheCaption()
    {
        Window w(QDateTime(QDate(2024, 5, 7), QTime(14, 0, 0)));
        QCOMPARE(w.form->windowTitle(), QStringLiteral("Kelvator   V2016.08.01."));
        QCOMPARE(w.form->LastTickSecond(), 0);
        QCOMPARE(w.fake.beeps, 0);
        w.TickAt(QTime(10, 0, 5));
        QCOMPARE(w.form->LastTickSecond(), 36005);
    }

    void structure()
    {
        Window w;
        QCOMPARE(Page(w), MainPage(*w.form));
        QCOMPARE(MainTabs(*w.form)->currentWidget(), WorkTimeControl<QWidget>(*w.form, "TabSheet_Kelvator"));
        const QStringList captions{QStringLiteral("Kelvator"),       QStringLiteral("Események"),
                                   QStringLiteral("Nagy óra"),       QStringLiteral("Dátumok"),
                                   QStringLiteral("Stopper óra"),    QStringLiteral("Éves naptár"),
                                   QStringLiteral("Napi riasztások")};
        QCOMPARE(MainTabs(*w.form)->count(), captions.size());
        for (int i = 0; i < captions.size(); ++i)
            QCOMPARE(MainTabs(*w.form)->tabText(i), captions[i]);
        const QList<QAction*> menu = Control<QMenuBar>(*w.form, "MainMenu1")->actions();
        QCOMPARE(menu.size(), 3);
        QCOMPARE(menu[0]->text(), QStringLiteral("Kilépés"));
        QCOMPARE(menu[1]->text(), QStringLiteral("Beállítások"));
        QCOMPARE(menu[2]->text(), QStringLiteral("Névjegy"));
        QCOMPARE(w.form->centralWidget()->size(), QSize(518, 391));

        // Day squares share their edge columns and wait hidden for the payday strip.
        QCOMPARE(DaySquares(*w.form)[0]->geometry(), QRect(127, 264, 10, 17));
        QCOMPARE(DaySquares(*w.form)[30]->geometry(), QRect(397, 264, 10, 17));
        for (int k = 1; k <= 31; ++k) {
            QCOMPARE(DaySquares(*w.form)[k - 1]->tag(), k);
            QVERIFY(DaySquares(*w.form)[k - 1]->isHidden());
        }
    }

    void pageGate_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("passes");
        QTest::addRow("main") << "TabSheet_Main" << true;
        QTest::addRow("event editor") << "TabSheet_EsemenyBeallitasa" << true;
        QTest::addRow("settings") << "TabSheet_Beallitasok" << false;
        QTest::addRow("about") << "TabSheet_Nevjegy" << false;
        QTest::addRow("exit") << "TabSheet_Kilepes" << false;
        QTest::addRow("warning") << "TabSheet_Figyelmeztetes" << false;
    }
    void pageGate()
    {
        QFETCH(QString, page);
        QFETCH(bool, passes);
        Window w;
        w.form->ShowOuterPage(OuterPages(*w.form)->findChild<QWidget*>(page));
        w.TickAt(QTime(9, 30, 0));
        QCOMPARE(w.form->LastTickSecond(), passes ? 34200 : 0);
        QCOMPARE(w.form->windowTitle(), QStringLiteral("Kelvator   V2016.08.01."));
    }

    void hourlyNoticePulsesUntilAcknowledged()
    {
        Window w(QDateTime(QDate(2024, 5, 7), QTime(13, 59, 59)));
        Control<QCheckBox>(*w.form, "CheckBox_BeallitasOrankentiHangjelzes")->setChecked(true);
        Control<QCheckBox>(*w.form, "CheckBox_12OrasKijelzes")->setChecked(true); // the notice stays 24-hour
        w.TickAt(QTime(13, 59, 59));
        QCOMPARE(Page(w), MainPage(*w.form));

        w.TickAt(QTime(14, 0, 0));
        QCOMPARE(PageName(w), QStringLiteral("TabSheet_Figyelmeztetes"));
        QCOMPARE(NoticeText(w)->text(), QStringLiteral("14:00"));
        QCOMPARE(w.form->LastTickSecond(), 50399); // frozen behind the page gate
        // The last pulse second starts at 0, so the run's first pulse comes at second 1.
        QCOMPARE(w.fake.beeps, 0);
        QCOMPARE(NoticeText(w)->font().pointSize(), 72);

        w.TickAt(QTime(14, 0, 1));
        QCOMPARE(w.fake.beeps, 1);
        QCOMPARE(NoticeText(w)->font().pointSize(), 48);
        w.TickAt(QTime(14, 0, 1)); // same second: no second pulse
        QCOMPARE(w.fake.beeps, 1);

        // An OK inside the arming seconds is undone by the next tick.
        QTest::mouseClick(Child<QPushButton>(w, "Button_FigyelemAllapotNyugtazasa"), Qt::LeftButton);
        QCOMPARE(Page(w), MainPage(*w.form));
        w.TickAt(QTime(14, 0, 2));
        QCOMPARE(PageName(w), QStringLiteral("TabSheet_Figyelmeztetes"));
        QCOMPARE(w.fake.beeps, 2);
        QCOMPARE(NoticeText(w)->font().pointSize(), 72);

        // The text follows the clock while nobody answers.
        w.TickAt(QTime(14, 1, 0));
        QCOMPARE(NoticeText(w)->text(), QStringLiteral("14:01"));

        AcknowledgeNotice(w);
        w.TickAt(QTime(14, 1, 1));
        QCOMPARE(Page(w), MainPage(*w.form));
        QCOMPARE(w.form->LastTickSecond(), 50461);
        const int beeps = w.fake.beeps;
        w.TickAt(QTime(14, 1, 2));
        QCOMPARE(w.fake.beeps, beeps);
    }

    void untickingTheChimeDoesNotEndADueNotice()
    {
        Window w;
        Control<QCheckBox>(*w.form, "CheckBox_BeallitasOrankentiHangjelzes")->setChecked(true);
        w.TickAt(QTime(9, 0, 1));
        QCOMPARE(PageName(w), QStringLiteral("TabSheet_Figyelmeztetes"));
        QCOMPARE(NoticeText(w)->text(), QStringLiteral("9:00"));
        Control<QCheckBox>(*w.form, "CheckBox_BeallitasOrankentiHangjelzes")->setChecked(false);
        w.TickAt(QTime(9, 0, 30));
        QCOMPARE(PageName(w), QStringLiteral("TabSheet_Figyelmeztetes"));
        AcknowledgeNotice(w);
        w.TickAt(QTime(10, 0, 0)); // unticked: no new notice
        QCOMPARE(Page(w), MainPage(*w.form));
    }

    void noticeOverSettingsPageReturnsToMainWithMenus()
    {
        Window w;
        Control<QCheckBox>(*w.form, "CheckBox_BeallitasOrankentiHangjelzes")->setChecked(true);
        Action(*w.form, "Menu_Beallitasok")->trigger();
        QCOMPARE(Page(w), Control<QWidget>(*w.form, "TabSheet_Beallitasok"));
        QVERIFY(MenuDisabled(w));
        w.TickAt(QTime(16, 0, 0));
        QCOMPARE(PageName(w), QStringLiteral("TabSheet_Figyelmeztetes"));
        AcknowledgeNotice(w);
        QCOMPARE(Page(w), MainPage(*w.form));
        QVERIFY(MenuEnabled(w));
    }

    void menusOpenPagesAndDisableTheMenu_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("focus");
        QTest::addRow("Beállítások") << "Menu_Beallitasok"
                                     << "TabSheet_Beallitasok"
                                     << "Button_BeallitasokOK";
        QTest::addRow("Névjegy") << "Menu_Nevjegy"
                                 << "TabSheet_Nevjegy"
                                 << "Button_NevjegyOK";
        QTest::addRow("Kilépés") << "Menu_Bezaras"
                                 << "TabSheet_Kilepes"
                                 << "Button_Talcara";
    }
    void menusOpenPagesAndDisableTheMenu()
    {
        QFETCH(QString, item);
        QFETCH(QString, page);
        QFETCH(QString, focus);
        Window w;
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        w.form->findChild<QAction*>(item)->trigger();
        QCOMPARE(Page(w)->objectName(), page);
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        QVERIFY(MenuDisabled(w));
    }

    void escapeKey_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("trayBox");
        QTest::addColumn<QString>("pageAfter");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("inTray");
        QTest::addRow("main closes") << "TabSheet_Main" << false << "TabSheet_Main" << true << false;
        QTest::addRow("main to tray") << "TabSheet_Main" << true << "TabSheet_Main" << false << true;
        QTest::addRow("about returns") << "TabSheet_Nevjegy" << true << "TabSheet_Main" << false << false;
        QTest::addRow("settings stays")
            << "TabSheet_Beallitasok" << false << "TabSheet_Beallitasok" << false << false;
        QTest::addRow("exit is Vissza") << "TabSheet_Kilepes" << false << "TabSheet_Main" << false << false;
        QTest::addRow("warning stays")
            << "TabSheet_Figyelmeztetes" << false << "TabSheet_Figyelmeztetes" << false << false;
    }
    void escapeKey()
    {
        QFETCH(QString, page);
        QFETCH(bool, trayBox);
        QFETCH(QString, pageAfter);
        QFETCH(bool, closed);
        QFETCH(bool, inTray);
        Window w;
        QSignalSpy closedSpy(w.form.get(), &TForm_Main::closed);
        Control<QCheckBox>(*w.form, "CheckBox_IconAzOraMelle")->setChecked(trayBox);
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        if (page == QStringLiteral("TabSheet_Nevjegy"))
            Action(*w.form, "Menu_Nevjegy")->trigger();
        else if (page == QStringLiteral("TabSheet_Beallitasok"))
            w.form->Menu_BeallitasokClick();
        else if (page == QStringLiteral("TabSheet_Kilepes"))
            w.form->Menu_BezarasClick();
        else
            w.form->ShowOuterPage(OuterPages(*w.form)->findChild<QWidget*>(page));

        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : w.form.get();
        QTest::keyClick(target, Qt::Key_Escape);
        QCOMPARE(Page(w)->objectName(), pageAfter);
        QCOMPARE(closedSpy.count(), closed ? 1 : 0);
        QCOMPARE(TrayOf(*w.form).InTray(), inTray);
        QCOMPARE(w.fake.tray->shown, inTray);
        if (pageAfter == QStringLiteral("TabSheet_Main"))
            QVERIFY(MenuEnabled(w));
    }

    void closeRequests_data()
    {
        QTest::addColumn<bool>("exitPage");
        QTest::addColumn<bool>("trayBox");
        QTest::addColumn<bool>("closes");
        QTest::addRow("exit page refuses") << true << false << false;
        QTest::addRow("box ticked goes to tray") << false << true << false;
        QTest::addRow("box clear ends") << false << false << true;
    }
    void closeRequests()
    {
        QFETCH(bool, exitPage);
        QFETCH(bool, trayBox);
        QFETCH(bool, closes);
        Window w;
        QSignalSpy closedSpy(w.form.get(), &TForm_Main::closed);
        Control<QCheckBox>(*w.form, "CheckBox_IconAzOraMelle")->setChecked(trayBox);
        Control<QPushButton>(*w.form, "Button_BeallitasokMIVHangStop")->click(); // a sound is playing
        QVERIFY(!SignalOf(*w.form).PlayerIdle());
        w.fake.sound->calls.clear();
        if (exitPage)
            w.form->Menu_BezarasClick();
        w.form->close();
        QCOMPARE(closedSpy.count(), closes ? 1 : 0);
        // The sound stops even when the request is refused.
        QVERIFY(SignalOf(*w.form).PlayerIdle());
        QCOMPARE(w.fake.sound->calls, QStringList{QStringLiteral("Stop")});
    }

    void exitPageKilepesEndsEvenWithTrayBox()
    {
        Window w;
        QSignalSpy closedSpy(w.form.get(), &TForm_Main::closed);
        Control<QCheckBox>(*w.form, "CheckBox_IconAzOraMelle")->setChecked(true);
        w.form->Menu_BezarasClick();
        Child<QPushButton>(w, "Button_Kilepes")->click();
        QCOMPARE(closedSpy.count(), 1);
        QVERIFY(!w.fake.tray->shown);
    }

    void trayClicks()
    {
        Window w;
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        w.form->Menu_BezarasClick();
        Child<QPushButton>(w, "Button_Talcara")->click();
        QVERIFY(w.form->isHidden());
        QVERIFY(w.fake.tray->shown);
        QCOMPARE(Page(w), MainPage(*w.form));
        QVERIFY(MenuEnabled(w));

        w.fake.tray->onRelease(kelvator::TrayIcon::Button::Right);
        QVERIFY(Control<QMenu>(*w.form, "PopupMenu1")->isVisible());
        Control<QMenu>(*w.form, "PopupMenu1")->hide();
        w.fake.tray->onRelease(kelvator::TrayIcon::Button::Left);
        QVERIFY(w.form->isVisible());
        QVERIFY(!w.fake.tray->shown);
        QVERIFY(!TrayOf(*w.form).InTray());
    }

    void withoutNotificationAreaTheWindowIsMinimisedNotHidden()
    {
        Window w;
        w.fake.tray->available = false;
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        TrayOf(*w.form).SendToTray();
        QVERIFY(!w.form->isHidden());
        QCOMPARE(w.fake.tray->adds, 0);
    }

    // Texts and lines on the program's own fixed faces read the same under a dark desktop.
    void fixedFacesUnderADarkPalette()
    {
        const QPalette desktop = QApplication::palette();
        QPalette dark = desktop;
        for (auto role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::Button})
            dark.setColor(role, QColor(0x30, 0x30, 0x30));
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            dark.setColor(role, QColor(0xF0, 0xF0, 0xF0));
        QApplication::setPalette(dark);
        {
            Window w(QDateTime(QDate(2024, 5, 7), QTime(15, 0)));
            TForm_Main& f = *w.form;
            w.TickAt(QTime(15, 0, 1));
            auto bigClock = [&f](const char* name) {
                return f.findChild<QLabel*>(QString::fromLatin1(name));
            };
            for (QLabel* onKhaki :
                 {WorkTimeControl<QLabel>(f, "Label_Ido"), WorkTimeControl<QLabel>(f, "Label_Masodperc"),
                  WorkTimeControl<QLabel>(f, "Label_DelutanSzoveg"), bigClock("Label_NagyDigitalisOraIdo"),
                  bigClock("Label_NagyDigitalisOraMasodperc"),
                  bigClock("Label_NagyDigitalisOraDelutanSzoveg")}) {
                QVERIFY(onKhaki);
                QCOMPARE(onKhaki->palette().color(QPalette::WindowText), QColor(Qt::black));
            }
            const QTextCharFormat heading =
                WorkTimeControl<TMonthCalendar>(f, "MonthCalendar1")->headerTextFormat();
            QCOMPARE(heading.foreground().color(), QColor(Qt::black));
            QVERIFY(heading.background().color().lightness() > 200);
            // An uncoloured day of the year grid stays light under its black frame and lines.
            auto* yearGrid = f.findChild<kelvator::YearGridPage*>(QStringLiteral("TabSheet_EvesNaptar"));
            yearGrid->Blink();
            if (!yearGrid->BlinkOn())
                yearGrid->Blink(); // blinks on: today's frame
            const QImage& grid = yearGrid->Picture();
            QVERIFY(QColor(grid.pixel(6, 15)).lightness() > 200);  // 1 January, below its dot
            QCOMPARE(QColor(grid.pixel(0, 5)), QColor(Qt::black)); // the grid's left line
            // The bars' black percentages sit on a light face.
            QVERIFY(WorkTimeControl<TMBarGraph>(f, "MBarGraph_Munakahet")
                        ->palette()
                        .color(QPalette::Window)
                        .lightness() > 200);
        }
        QApplication::setPalette(desktop);
    }
};

QTEST_MAIN(TstApp)
#include "tst_app.moc"
