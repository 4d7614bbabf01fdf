#include "events_fixture.h"
#include "window_fixture.h"

#include "events/event_editor_page.h"
#include "widgets/tmonthcalendar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

#include <vector>

using namespace kelvator;
using kelvator::testing::Action;
using kelvator::testing::ChangeEvent;
using kelvator::testing::EventOf;
using kelvator::testing::EventsOf;
using kelvator::testing::MainPage;
using kelvator::testing::OuterPages;
using kelvator::testing::Window;

Q_DECLARE_METATYPE(QList<int>)
Q_DECLARE_METATYPE(std::vector<int>)

namespace {
const QDateTime kNow(QDate(2024, 5, 7), QTime(20, 0));

template <typename T> T* Child(const QObject& parent, const QString& name)
{
    T* child = parent.findChild<T*>(name);
    if (!child)
        qFatal("no %s", qPrintable(name));
    return child;
}

// A control of slot 1-6 of the list, by its name.
template <typename T> T* Slot(const QObject& parent, const char* name, int slot)
{
    return Child<T>(parent, QString::fromLatin1(name) + QString::number(slot));
}

EventEditorPage& Editor(const TForm_Main& f)
{
    return *Child<EventEditorPage>(f, QStringLiteral("TabSheet_EsemenyBeallitasa"));
}

void ShowOnly(TForm_Main& f, const QList<int>& visible)
{
    for (int n = 1; n <= 6; ++n)
        ChangeEvent(f, n, [&](EventSettings& e) { e.visible = visible.contains(n); });
    EventsOf(f).Refresh(kNow);
}
} // namespace

class TstEvents : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }

    void swapButtons_data()
    {
        QTest::addColumn<QList<int>>("visible");
        QTest::addColumn<QList<int>>("heights"); // of buttons 1-5, 0 for hidden
        QTest::addRow("all") << QList<int>{1, 2, 3, 4, 5, 6} << QList<int>{22, 22, 22, 22, 23};
        QTest::addRow("1 and 4") << QList<int>{1, 4} << QList<int>{128, 0, 0, 0, 0};
        QTest::addRow("1 and 6") << QList<int>{1, 6} << QList<int>{234, 0, 0, 0, 0};
        QTest::addRow("5 and 6") << QList<int>{5, 6} << QList<int>{0, 0, 0, 0, 23};
        QTest::addRow("2, 3 and 6") << QList<int>{2, 3, 6} << QList<int>{0, 22, 128, 0, 0};
        QTest::addRow("only 6") << QList<int>{6} << QList<int>{0, 0, 0, 0, 0};
        QTest::addRow("none") << QList<int>{} << QList<int>{0, 0, 0, 0, 0};
    }
    void swapButtons()
    {
        QFETCH(QList<int>, visible);
        QFETCH(QList<int>, heights);
        Window w(kNow);
        TForm_Main& f = *w.form;
        ShowOnly(f, visible);
        for (size_t i = 0; i < 6; ++i) {
            QCOMPARE(Slot<QGroupBox>(f, "GroupBox_Esemeny", int(i) + 1)->isVisibleTo(&EventsOf(f)),
                     visible.contains(int(i) + 1));
            QVERIFY(Slot<QCheckBox>(f, "CheckBox_EsemenyLathato", int(i) + 1)->isVisibleTo(&EventsOf(f)));
        }
        for (size_t i = 0; i < 5; ++i) {
            const int want = heights[qsizetype(i)];
            QCOMPARE(Slot<QPushButton>(f, "Button_EsemenyCsere", int(i) + 1)->isVisibleTo(&EventsOf(f)),
                     want > 0);
            if (want > 0)
                QCOMPARE(Slot<QPushButton>(f, "Button_EsemenyCsere", int(i) + 1)->height(), want);
        }
    }

    void swapKeepsShowInDaysInPlace()
    {
        Window w(kNow);
        TForm_Main& f = *w.form;
        ChangeEvent(f, 1, [&](EventSettings& e) { e.name = QStringLiteral("Első"); });
        ChangeEvent(f, 4, [&](EventSettings& e) { e.name = QStringLiteral("Negyedik"); });
        ChangeEvent(f, 1, [&](EventSettings& e) { e.moment = ToDateTime(QDate(2024, 1, 1)); });
        ChangeEvent(f, 4, [&](EventSettings& e) { e.moment = ToDateTime(QDate(2025, 1, 1), QTime(8, 0)); });
        ChangeEvent(f, 1, [&](EventSettings& e) { e.timeOfDayCounts = false; });
        ChangeEvent(f, 4, [&](EventSettings& e) { e.shownInDays = true; });
        ShowOnly(f, {1, 4});
        QTest::mouseClick(Slot<QPushButton>(f, "Button_EsemenyCsere", 1), Qt::LeftButton);
        QCOMPARE(Slot<QLabel>(f, "Label_EsemenyMegnevezes", 1)->text(), QStringLiteral("Negyedik"));
        QCOMPARE(Slot<QLabel>(f, "Label_EsemenyMegnevezes", 4)->text(), QStringLiteral("Első"));
        QCOMPARE(EventOf(f, 1).moment, ToDateTime(QDate(2025, 1, 1), QTime(8, 0)));
        QVERIFY(EventOf(f, 1).timeOfDayCounts);
        QVERIFY(!EventOf(f, 4).timeOfDayCounts);
        QVERIFY(EventOf(f, 4).shownInDays);
        QVERIFY(!EventOf(f, 1).shownInDays);
        QCOMPARE(Slot<QGroupBox>(f, "GroupBox_Esemeny", 1)->title(), QStringLiteral("2025.01.01.   08:00"));
        QCOMPARE(Slot<QGroupBox>(f, "GroupBox_Esemeny", 4)->title(), QStringLiteral("2024.01.01."));
        QVERIFY(QFile::exists(w.SettingsPath())); // a swap is saved at once
    }

    void distances_data()
    {
        QTest::addColumn<bool>("timeCounts");
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("distance");
        QTest::addColumn<QString>("caption");
        QTest::addRow("tomorrow") << false << QDateTime(QDate(2024, 5, 8), QTime(1, 0)) << "- 1 nap"
                                  << "2024.05.08.";
        QTest::addRow("yesterday") << false << QDateTime(QDate(2024, 5, 6), QTime(23, 0)) << "+ 1 nap"
                                   << "2024.05.06.";
        QTest::addRow("today") << false << QDateTime(QDate(2024, 5, 7), QTime(6, 0)) << "0 nap"
                               << "2024.05.07.";
        QTest::addRow("2 days 12 hours ahead")
            << true << QDateTime(QDate(2024, 5, 10), QTime(8, 0)) << "- 2 nap   12:00"
            << "2024.05.10.   08:00";
        QTest::addRow("minutes ago") << true << QDateTime(QDate(2024, 5, 7), QTime(19, 55)) << "+ 0:05"
                                     << "2024.05.07.   19:55";
        QTest::addRow("a year and more")
            << false << QDateTime(QDate(2023, 1, 15), QTime(0, 0)) << "+ 1 év, 3 hónap, 23 nap"
            << "2023.01.15.";
    }
    void distances()
    {
        QFETCH(bool, timeCounts);
        QFETCH(QDateTime, moment);
        QFETCH(QString, distance);
        QFETCH(QString, caption);
        Window w(kNow);
        TForm_Main& f = *w.form;
        ChangeEvent(f, 3, [&](EventSettings& e) { e.timeOfDayCounts = timeCounts; });
        ChangeEvent(f, 3, [&](EventSettings& e) { e.moment = ToDateTime(moment); });
        w.TickAt(kNow);
        QCOMPARE(Slot<QLabel>(f, "Label_EsemenyMikorLesz", 3)->text(), distance);
        QCOMPARE(Slot<QGroupBox>(f, "GroupBox_Esemeny", 3)->title(), caption);
    }

    void hiddenSlotIsCurrentWhenShownAgain()
    {
        Window w(kNow);
        TForm_Main& f = *w.form;
        w.TickAt(kNow);
        QTest::mouseClick(Slot<QCheckBox>(f, "CheckBox_EsemenyLathato", 2), Qt::LeftButton);
        QVERIFY(!Slot<QGroupBox>(f, "GroupBox_Esemeny", 2)->isVisibleTo(&EventsOf(f)));
        QVERIFY(QFile::exists(w.SettingsPath())); // a user's change is saved
        ChangeEvent(f, 2, [&](EventSettings& e) { e.moment = ToDateTime(QDate(2024, 5, 9), QTime(20, 0)); });
        w.TickAt(kNow.addSecs(1));
        QCOMPARE(Slot<QLabel>(f, "Label_EsemenyMikorLesz", 2)->text(),
                 QStringLiteral("+ 0:00")); // untouched while hidden
        QTest::mouseClick(Slot<QCheckBox>(f, "CheckBox_EsemenyLathato", 2), Qt::LeftButton);
        QCOMPARE(Slot<QLabel>(f, "Label_EsemenyMikorLesz", 2)->text(), QStringLiteral("- 1 nap   23:59"));
    }

    void editorOpensWithTheSlot()
    {
        Window w(kNow);
        TForm_Main& f = *w.form;
        ChangeEvent(f, 3, [&](EventSettings& e) { e.name = QStringLiteral("Szülinap"); });
        ChangeEvent(f, 3,
                    [&](EventSettings& e) { e.moment = ToDateTime(QDate(2024, 9, 3), QTime(18, 45, 30)); });
        ChangeEvent(f, 3, [&](EventSettings& e) { e.timeOfDayCounts = false; });
        ChangeEvent(f, 3, [&](EventSettings& e) { e.shownInDays = true; });
        Slot<QPushButton>(f, "Button_EsemenyBeallitas", 3)->click();
        QCOMPARE(OuterPages(f)->currentWidget(), &Editor(f));
        QVERIFY(!Action(f, "Menu_Beallitasok")->isEnabled());
        QCOMPARE(Child<QLabel>(f, QStringLiteral("Label_EsemenyMegadasCaption"))->text(),
                 QStringLiteral("3. esemény nevének és időpontjának megadása"));
        QCOMPARE(Child<QLineEdit>(f, QStringLiteral("LabeledEdit_EsemenyMegnevezese"))->text(),
                 QStringLiteral("Szülinap"));
        QVERIFY(!Child<QCheckBox>(f, QStringLiteral("CheckBox_EsemenyOraPercSzamit"))->isChecked());
        QVERIFY(Child<QCheckBox>(f, QStringLiteral("CheckBox_EsemenyNapbanKiirva"))->isChecked());
        QCOMPARE(Child<TMonthCalendar>(f, QStringLiteral("MonthCalendar_Esemeny"))->selectedDate(),
                 QDate(2024, 9, 3));
        QCOMPARE(Child<QComboBox>(f, QStringLiteral("ComboBox_EsemenyOra"))->currentText(),
                 QStringLiteral("18"));
        QCOMPARE(Child<QComboBox>(f, QStringLiteral("ComboBox_EsemenyPerc"))->currentText(),
                 QStringLiteral("45"));
        QVERIFY(!Child<QComboBox>(f, QStringLiteral("ComboBox_EsemenyOra"))->isEnabled());
        QVERIFY(!Child<QPushButton>(f, QStringLiteral("Button_EsemenyMost"))->isEnabled());
        QVERIFY(Child<QLabel>(f, QStringLiteral("Label_EsemenyMikorVolt"))
                    ->isVisibleTo(Child<QGroupBox>(f, QStringLiteral("GroupBox12"))));
        QVERIFY(!Child<QLabel>(f, QStringLiteral("Label_EsemenyMikorVolt2"))
                     ->isVisibleTo(Child<QGroupBox>(f, QStringLiteral("GroupBox13"))));
        QCOMPARE(Child<QLabel>(f, QStringLiteral("Label_EsemenyMikorVolt"))->text(),
                 QStringLiteral("119 nap múlva lesz."));
        QVERIFY(QFile::exists(w.SettingsPath())); // opening saves
        QCOMPARE(Child<QLineEdit>(f, QStringLiteral("LabeledEdit_EsemenyMegnevezese"))->maxLength(), 30);
    }

    void previews()
    {
        Window w(kNow);
        TForm_Main& f = *w.form;
        ChangeEvent(f, 1, [&](EventSettings& e) { e.moment = ToDateTime(kNow); });
        Slot<QPushButton>(f, "Button_EsemenyBeallitas", 1)->click();
        Child<QCheckBox>(f, QStringLiteral("CheckBox_EsemenyOraPercSzamit"))->setChecked(false);
        Editor(f).Refresh(w.fake.now);
        QCOMPARE(Child<QLabel>(f, QStringLiteral("Label_EsemenyMikorVolt"))->text(),
                 QStringLiteral("Ez a mai nap."));

        Child<QCheckBox>(f, QStringLiteral("CheckBox_EsemenyOraPercSzamit"))->click();
        QVERIFY(Child<QComboBox>(f, QStringLiteral("ComboBox_EsemenyOra"))->isEnabled());
        QVERIFY(Child<QLabel>(f, QStringLiteral("Label_EsemenyMikorVolt2"))
                    ->isVisibleTo(Child<QGroupBox>(f, QStringLiteral("GroupBox13"))));
        w.TickAt(QDateTime(kNow.date(), QTime(20, 0, 0, 900)));
        QCOMPARE(Child<QLabel>(f, QStringLiteral("Label_EsemenyMikorVolt2"))->text(),
                 QStringLiteral("Most van."));
        w.TickAt(QDateTime(kNow.date(), QTime(20, 0, 5)));
        QCOMPARE(Child<QLabel>(f, QStringLiteral("Label_EsemenyMikorVolt2"))->text(),
                 QStringLiteral("Azóta eltelt: 5 másodperc."));

        Child<TMonthCalendar>(f, QStringLiteral("MonthCalendar_Esemeny"))->setSelectedDate(QDate(2025, 5, 7));
        Child<QCheckBox>(f, QStringLiteral("CheckBox_EsemenyNapbanKiirva"))->click();
        QCOMPARE(Child<QLabel>(f, QStringLiteral("Label_EsemenyMikorVolt2"))->text(),
                 QStringLiteral("365,0 nap múlva lesz."));
        QCOMPARE(Child<QLabel>(f, QStringLiteral("Label_EsemenyMikorVolt"))->text(),
                 QStringLiteral("365 nap múlva lesz."));
        Child<TMonthCalendar>(f, QStringLiteral("MonthCalendar_Esemeny"))->setSelectedDate(QDate(2028, 5, 7));
        Editor(f).Refresh(w.fake.now);
        QCOMPARE(Child<QLabel>(f, QStringLiteral("Label_EsemenyMikorVolt"))->text(),
                 QStringLiteral("1461 nap múlva lesz."));
    }

    void dateButtons_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QDate>("to");
        QTest::addRow("+1 hónap from 31 January")
            << QDate(2023, 1, 31) << "Button_P1Honap" << QDate(2023, 2, 28);
        QTest::addRow("+1 hónap, leap year") << QDate(2024, 1, 31) << "Button_P1Honap" << QDate(2024, 2, 29);
        QTest::addRow("-1 hónap from 31 March")
            << QDate(2024, 3, 31) << "Button_M1Honap" << QDate(2024, 2, 29);
        QTest::addRow("-1 év from 29 February") << QDate(2024, 2, 29) << "Button_M1Ev" << QDate(2023, 2, 28);
        QTest::addRow("+1 év") << QDate(2024, 5, 7) << "Button_P1Ev" << QDate(2025, 5, 7);
        QTest::addRow("-1 nap") << QDate(2024, 3, 1) << "Button_M1Nap" << QDate(2024, 2, 29);
        QTest::addRow("+1 nap") << QDate(2024, 12, 31) << "Button_P1Nap" << QDate(2025, 1, 1);
        QTest::addRow("-1 hét") << QDate(2024, 5, 7) << "Button_M1Het" << QDate(2024, 4, 30);
        QTest::addRow("+1 hét") << QDate(2024, 5, 7) << "Button_P1Het" << QDate(2024, 5, 14);
        QTest::addRow("Ma") << QDate(2020, 1, 1) << "Button_EsemenyMa" << QDate(2024, 5, 7);
        QTest::addRow("past the last year") << QDate(9999, 6, 1) << "Button_P1Ev" << QDate(9999, 6, 1);
    }
    void dateButtons()
    {
        QFETCH(QDate, from);
        QFETCH(QString, button);
        QFETCH(QDate, to);
        Window w(kNow);
        TForm_Main& f = *w.form;
        Slot<QPushButton>(f, "Button_EsemenyBeallitas", 1)->click();
        Child<TMonthCalendar>(f, QStringLiteral("MonthCalendar_Esemeny"))->setSelectedDate(from);
        Editor(f).findChild<QPushButton*>(button)->click();
        QCOMPARE(Child<TMonthCalendar>(f, QStringLiteral("MonthCalendar_Esemeny"))->selectedDate(), to);
    }

    void nowButtonKeepsTheDate()
    {
        Window w(kNow);
        TForm_Main& f = *w.form;
        Slot<QPushButton>(f, "Button_EsemenyBeallitas", 1)->click();
        Child<QCheckBox>(f, QStringLiteral("CheckBox_EsemenyOraPercSzamit"))->setChecked(true);
        Child<TMonthCalendar>(f, QStringLiteral("MonthCalendar_Esemeny"))->setSelectedDate(QDate(2030, 1, 2));
        w.fake.now = QDateTime(kNow.date(), QTime(21, 37, 12));
        Child<QPushButton>(f, QStringLiteral("Button_EsemenyMost"))->click();
        QCOMPARE(Child<TMonthCalendar>(f, QStringLiteral("MonthCalendar_Esemeny"))->selectedDate(),
                 QDate(2030, 1, 2));
        QCOMPARE(Child<QComboBox>(f, QStringLiteral("ComboBox_EsemenyOra"))->currentIndex(), 21);
        QCOMPARE(Child<QComboBox>(f, QStringLiteral("ComboBox_EsemenyPerc"))->currentIndex(), 37);
        Child<QPushButton>(f, QStringLiteral("Button_EsemenyMegadasOK"))->click();
        QCOMPARE(ToQDateTime(EventOf(f, 1).moment), QDateTime(QDate(2030, 1, 2), QTime(21, 37)));
    }

    void okStoresAndCancelLeavesTheSlot()
    {
        Window w(kNow);
        TForm_Main& f = *w.form;
        const TDateTime before = EventOf(f, 5).moment;
        Slot<QPushButton>(f, "Button_EsemenyBeallitas", 5)->click();
        Child<QLineEdit>(f, QStringLiteral("LabeledEdit_EsemenyMegnevezese"))->setText(QStringLiteral("Más"));
        Child<QCheckBox>(f, QStringLiteral("CheckBox_EsemenyOraPercSzamit"))->setChecked(false);
        Child<QCheckBox>(f, QStringLiteral("CheckBox_EsemenyNapbanKiirva"))->setChecked(true);
        Child<TMonthCalendar>(f, QStringLiteral("MonthCalendar_Esemeny"))->setSelectedDate(QDate(2031, 3, 3));
        Child<QPushButton>(f, QStringLiteral("Button_EsemenyMegadasMegsem"))->click();
        QCOMPARE(OuterPages(f)->currentWidget(), MainPage(f));
        QVERIFY(Action(f, "Menu_Nevjegy")->isEnabled());
        QCOMPARE(Slot<QLabel>(f, "Label_EsemenyMegnevezes", 5)->text(),
                 QStringLiteral("A program első elindítása"));
        QCOMPARE(EventOf(f, 5).moment, before);
        QVERIFY(EventOf(f, 5).timeOfDayCounts);
        QVERIFY(!EventOf(f, 5).shownInDays);

        Slot<QPushButton>(f, "Button_EsemenyBeallitas", 5)->click();
        Child<QLineEdit>(f, QStringLiteral("LabeledEdit_EsemenyMegnevezese"))->clear();
        Child<QPushButton>(f, QStringLiteral("Button_EsemenyMegadasOK"))->click();
        QCOMPARE(Slot<QLabel>(f, "Label_EsemenyMegnevezes", 5)->text(), QString());
    }

    void escapeCancelsTheEditor()
    {
        Window w(kNow);
        TForm_Main& f = *w.form;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        Slot<QPushButton>(f, "Button_EsemenyBeallitas", 2)->click();
        QTest::keyClicks(Child<QLineEdit>(f, QStringLiteral("LabeledEdit_EsemenyMegnevezese")),
                         QStringLiteral("x"));
        QTest::keyClick(Child<QLineEdit>(f, QStringLiteral("LabeledEdit_EsemenyMegnevezese")),
                        Qt::Key_Escape);
        QCOMPARE(OuterPages(f)->currentWidget(), MainPage(f));
        QCOMPARE(Slot<QLabel>(f, "Label_EsemenyMegnevezes", 2)->text(),
                 QStringLiteral("A program első elindítása"));
    }

    void namesAreNeverMarkup()
    {
        Window w(kNow);
        TForm_Main& f = *w.form;
        Slot<QPushButton>(f, "Button_EsemenyBeallitas", 1)->click();
        Child<QLineEdit>(f, QStringLiteral("LabeledEdit_EsemenyMegnevezese"))
            ->setText(QStringLiteral("<b>Szép</b> & jó"));
        Child<QPushButton>(f, QStringLiteral("Button_EsemenyMegadasOK"))->click();
        QCOMPARE(Slot<QLabel>(f, "Label_EsemenyMegnevezes", 1)->textFormat(), Qt::PlainText);
        QCOMPARE(Slot<QLabel>(f, "Label_EsemenyMegnevezes", 1)->text(), QStringLiteral("<b>Szép</b> & jó"));
    }
    // The page alone: what it is shown is what it gives back, the in-days flag (which no control
    // shows) included, and the visibility box the user sees is the flag that is kept.
    void pageKeepsTheSettingsItIsShown()
    {
        EventsPage page([] { return kNow; });
        Settings shown;
        shown.events[0].name = QStringLiteral("Karácsony");
        shown.events[0].moment = ToDateTime(QDate(2024, 12, 24), QTime(18, 30));
        shown.events[1].shownInDays = true;
        shown.events[2].timeOfDayCounts = false;
        shown.events[3].visible = false;
        page.ShowSettings(shown);
        QCOMPARE(Slot<QLabel>(page, "Label_EsemenyMegnevezes", 1)->text(), QStringLiteral("Karácsony"));
        QVERIFY(!Slot<QCheckBox>(page, "CheckBox_EsemenyLathato", 4)->isChecked());
        Settings collected;
        page.CollectSettings(collected);
        QCOMPARE(collected.events, shown.events);

        Slot<QCheckBox>(page, "CheckBox_EsemenyLathato", 2)->setChecked(false);
        page.CollectSettings(collected);
        QVERIFY(!collected.events[1].visible);
        page.Refresh(kNow);
        QVERIFY(!Slot<QGroupBox>(page, "GroupBox_Esemeny", 2)->isVisibleTo(&page));
        QCOMPARE(Slot<QGroupBox>(page, "GroupBox_Esemeny", 1)->title(),
                 QStringLiteral("2024.12.24.   18:30"));
    }

    void turnPhases_data()
    {
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("timeCounts");
        QTest::addColumn<std::vector<int>>("phases");
        QTest::addRow("shown, with its time of day") << true << true << std::vector<int>{300};
        QTest::addRow("hidden") << false << true << std::vector<int>{};
        QTest::addRow("shown, by the day only") << true << false << std::vector<int>{};
    }
    void turnPhases()
    {
        QFETCH(bool, visible);
        QFETCH(bool, timeCounts);
        QFETCH(std::vector<int>, phases);
        EventsPage page([] { return kNow; });
        Settings settings;
        for (EventSettings& event : settings.events)
            event.visible = false;
        settings.events[4] = {timeCounts, ToDateTime(QDateTime(kNow.date(), QTime(9, 1, 2, 300))),
                              QStringLiteral("x"), visible, false};
        page.ShowSettings(settings);
        QCOMPARE(page.TurnPhasesMs(), phases);
    }

    // The editor alone: OK hands back the slot with the edited fields and the rest unchanged.
    void editorHandsBackTheEditedSlot()
    {
        EventEditorPage editor([] { return kNow; });
        EventSettings event;
        event.visible = false;
        event.moment = ToDateTime(QDate(2024, 9, 3), QTime(18, 45, 30));
        editor.Open(2, event);
        int acceptedSlot = 0;
        EventSettings accepted;
        int cancels = 0;
        connect(&editor, &EventEditorPage::accepted, this, [&](int slot, const EventSettings& e) {
            acceptedSlot = slot;
            accepted = e;
        });
        connect(&editor, &EventEditorPage::cancelled, this, [&] { ++cancels; });
        Child<QLineEdit>(editor, QStringLiteral("LabeledEdit_EsemenyMegnevezese"))
            ->setText(QStringLiteral("Új"));
        Child<QCheckBox>(editor, QStringLiteral("CheckBox_EsemenyNapbanKiirva"))->setChecked(true);
        Child<QPushButton>(editor, QStringLiteral("Button_EsemenyMegadasOK"))->click();
        QCOMPARE(acceptedSlot, 2);
        QCOMPARE(cancels, 0);
        QCOMPARE(accepted.name, QStringLiteral("Új"));
        QVERIFY(accepted.shownInDays);
        QVERIFY(!accepted.visible);
        QCOMPARE(ToQDateTime(accepted.moment), QDateTime(QDate(2024, 9, 3), QTime(18, 45)));

        acceptedSlot = 0;
        editor.Cancel();
        QCOMPARE(cancels, 1);
        QCOMPARE(acceptedSlot, 0);
    }
};

QTEST_MAIN(TstEvents)
#include "tst_events.moc"
