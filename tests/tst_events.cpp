#include "window_fixture.h"

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

using namespace kelvator;
using kelvator::testing::Window;

Q_DECLARE_METATYPE(QList<int>)

namespace {
const QDateTime kNow(QDate(2024, 5, 7), QTime(20, 0));

void ShowOnly(TForm_Main& f, const QList<int>& visible)
{
    for (int n = 1; n <= 6; ++n)
        f.CheckBox_EsemenyLathato[static_cast<size_t>(n - 1)]->setChecked(visible.contains(n));
    f.RefreshEventList();
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
            QCOMPARE(f.GroupBox_Esemeny[i]->isVisibleTo(f.TabSheet_Esemenyek), visible.contains(int(i) + 1));
            QVERIFY(f.CheckBox_EsemenyLathato[i]->isVisibleTo(f.TabSheet_Esemenyek));
        }
        for (size_t i = 0; i < 5; ++i) {
            const int want = heights[qsizetype(i)];
            QCOMPARE(f.Button_EsemenyCsere[i]->isVisibleTo(f.TabSheet_Esemenyek), want > 0);
            if (want > 0)
                QCOMPARE(f.Button_EsemenyCsere[i]->height(), want);
        }
    }

    void swapKeepsShowInDaysInPlace()
    {
        Window w(kNow);
        TForm_Main& f = *w.form;
        f.Label_EsemenyMegnevezes[0]->setText(QStringLiteral("Első"));
        f.Label_EsemenyMegnevezes[3]->setText(QStringLiteral("Negyedik"));
        f.dtEsemeny[0] = ToDateTime(QDate(2024, 1, 1));
        f.dtEsemeny[3] = ToDateTime(QDate(2025, 1, 1), QTime(8, 0));
        f.CheckBox_AzOraEsPercIsSzamit[0]->setChecked(false);
        f.CheckBox_EsemenyNapbanKiirvaN[3]->setChecked(true);
        ShowOnly(f, {1, 4});
        QTest::mouseClick(f.Button_EsemenyCsere[0], Qt::LeftButton);
        QCOMPARE(f.Label_EsemenyMegnevezes[0]->text(), QStringLiteral("Negyedik"));
        QCOMPARE(f.Label_EsemenyMegnevezes[3]->text(), QStringLiteral("Első"));
        QCOMPARE(f.dtEsemeny[0], ToDateTime(QDate(2025, 1, 1), QTime(8, 0)));
        QVERIFY(f.CheckBox_AzOraEsPercIsSzamit[0]->isChecked());
        QVERIFY(!f.CheckBox_AzOraEsPercIsSzamit[3]->isChecked());
        QVERIFY(f.CheckBox_EsemenyNapbanKiirvaN[3]->isChecked());
        QVERIFY(!f.CheckBox_EsemenyNapbanKiirvaN[0]->isChecked());
        QCOMPARE(f.GroupBox_Esemeny[0]->title(), QStringLiteral("2025.01.01.   08:00"));
        QCOMPARE(f.GroupBox_Esemeny[3]->title(), QStringLiteral("2024.01.01."));
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
        f.CheckBox_AzOraEsPercIsSzamit[2]->setChecked(timeCounts);
        f.dtEsemeny[2] = ToDateTime(moment);
        w.TickAt(kNow);
        QCOMPARE(f.Label_EsemenyMikorLesz[2]->text(), distance);
        QCOMPARE(f.GroupBox_Esemeny[2]->title(), caption);
    }

    void hiddenSlotIsCurrentWhenShownAgain()
    {
        Window w(kNow);
        TForm_Main& f = *w.form;
        w.TickAt(kNow);
        QTest::mouseClick(f.CheckBox_EsemenyLathato[1], Qt::LeftButton);
        QVERIFY(!f.GroupBox_Esemeny[1]->isVisibleTo(f.TabSheet_Esemenyek));
        QVERIFY(QFile::exists(w.SettingsPath())); // a user's change is saved
        f.dtEsemeny[1] = ToDateTime(QDate(2024, 5, 9), QTime(20, 0));
        w.TickAt(kNow.addSecs(1));
        QCOMPARE(f.Label_EsemenyMikorLesz[1]->text(), QStringLiteral("+ 0:00")); // untouched while hidden
        QTest::mouseClick(f.CheckBox_EsemenyLathato[1], Qt::LeftButton);
        QCOMPARE(f.Label_EsemenyMikorLesz[1]->text(), QStringLiteral("- 1 nap   23:59"));
    }

    void editorOpensWithTheSlot()
    {
        Window w(kNow);
        TForm_Main& f = *w.form;
        f.Label_EsemenyMegnevezes[2]->setText(QStringLiteral("Szülinap"));
        f.dtEsemeny[2] = ToDateTime(QDate(2024, 9, 3), QTime(18, 45, 30));
        f.CheckBox_AzOraEsPercIsSzamit[2]->setChecked(false);
        f.CheckBox_EsemenyNapbanKiirvaN[2]->setChecked(true);
        f.Button_EsemenyBeallitas[2]->click();
        QCOMPARE(f.PageControl1->currentWidget(), f.TabSheet_EsemenyBeallitasa);
        QVERIFY(!f.Menu_Beallitasok->isEnabled());
        QCOMPARE(f.Label_EsemenyMegadasCaption->text(),
                 QStringLiteral("3. esemény nevének és időpontjának megadása"));
        QCOMPARE(f.LabeledEdit_EsemenyMegnevezese->text(), QStringLiteral("Szülinap"));
        QVERIFY(!f.CheckBox_EsemenyOraPercSzamit->isChecked());
        QVERIFY(f.CheckBox_EsemenyNapbanKiirva->isChecked());
        QCOMPARE(f.MonthCalendar_Esemeny->selectedDate(), QDate(2024, 9, 3));
        QCOMPARE(f.ComboBox_EsemenyOra->currentText(), QStringLiteral("18"));
        QCOMPARE(f.ComboBox_EsemenyPerc->currentText(), QStringLiteral("45"));
        QVERIFY(!f.ComboBox_EsemenyOra->isEnabled());
        QVERIFY(!f.Button_EsemenyMost->isEnabled());
        QVERIFY(f.Label_EsemenyMikorVolt->isVisibleTo(f.GroupBox12));
        QVERIFY(!f.Label_EsemenyMikorVolt2->isVisibleTo(f.GroupBox13));
        QCOMPARE(f.Label_EsemenyMikorVolt->text(), QStringLiteral("119 nap múlva lesz."));
        QVERIFY(QFile::exists(w.SettingsPath())); // opening saves
        QCOMPARE(f.LabeledEdit_EsemenyMegnevezese->maxLength(), 30);
    }

    void previews()
    {
        Window w(kNow);
        TForm_Main& f = *w.form;
        f.dtEsemeny[0] = ToDateTime(kNow);
        f.Button_EsemenyBeallitas[0]->click();
        f.CheckBox_EsemenyOraPercSzamit->setChecked(false);
        f.RefreshEventEditor();
        QCOMPARE(f.Label_EsemenyMikorVolt->text(), QStringLiteral("Ez a mai nap."));

        f.CheckBox_EsemenyOraPercSzamit->click();
        QVERIFY(f.ComboBox_EsemenyOra->isEnabled());
        QVERIFY(f.Label_EsemenyMikorVolt2->isVisibleTo(f.GroupBox13));
        w.TickAt(QDateTime(kNow.date(), QTime(20, 0, 0, 900)));
        QCOMPARE(f.Label_EsemenyMikorVolt2->text(), QStringLiteral("Most van."));
        w.TickAt(QDateTime(kNow.date(), QTime(20, 0, 5)));
        QCOMPARE(f.Label_EsemenyMikorVolt2->text(), QStringLiteral("Azóta eltelt: 5 másodperc."));

        f.MonthCalendar_Esemeny->setSelectedDate(QDate(2025, 5, 7));
        f.CheckBox_EsemenyNapbanKiirva->click();
        QCOMPARE(f.Label_EsemenyMikorVolt2->text(), QStringLiteral("365,0 nap múlva lesz."));
        QCOMPARE(f.Label_EsemenyMikorVolt->text(), QStringLiteral("365 nap múlva lesz."));
        f.MonthCalendar_Esemeny->setSelectedDate(QDate(2028, 5, 7));
        f.RefreshEventEditor();
        QCOMPARE(f.Label_EsemenyMikorVolt->text(), QStringLiteral("1461 nap múlva lesz."));
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
        f.Button_EsemenyBeallitas[0]->click();
        f.MonthCalendar_Esemeny->setSelectedDate(from);
        f.TabSheet_EsemenyBeallitasa->findChild<QPushButton*>(button)->click();
        QCOMPARE(f.MonthCalendar_Esemeny->selectedDate(), to);
    }

    void nowButtonKeepsTheDate()
    {
        Window w(kNow);
        TForm_Main& f = *w.form;
        f.Button_EsemenyBeallitas[0]->click();
        f.CheckBox_EsemenyOraPercSzamit->setChecked(true);
        f.MonthCalendar_Esemeny->setSelectedDate(QDate(2030, 1, 2));
        w.fake.now = QDateTime(kNow.date(), QTime(21, 37, 12));
        f.Button_EsemenyMost->click();
        QCOMPARE(f.MonthCalendar_Esemeny->selectedDate(), QDate(2030, 1, 2));
        QCOMPARE(f.ComboBox_EsemenyOra->currentIndex(), 21);
        QCOMPARE(f.ComboBox_EsemenyPerc->currentIndex(), 37);
        f.Button_EsemenyMegadasOK->click();
        QCOMPARE(ToQDateTime(f.dtEsemeny[0]), QDateTime(QDate(2030, 1, 2), QTime(21, 37)));
    }

    void okStoresAndCancelLeavesTheSlot()
    {
        Window w(kNow);
        TForm_Main& f = *w.form;
        const TDateTime before = f.dtEsemeny[4];
        f.Button_EsemenyBeallitas[4]->click();
        f.LabeledEdit_EsemenyMegnevezese->setText(QStringLiteral("Más"));
        f.CheckBox_EsemenyOraPercSzamit->setChecked(false);
        f.CheckBox_EsemenyNapbanKiirva->setChecked(true);
        f.MonthCalendar_Esemeny->setSelectedDate(QDate(2031, 3, 3));
        f.Button_EsemenyMegadasMegsem->click();
        QCOMPARE(f.PageControl1->currentWidget(), f.TabSheet_Main);
        QVERIFY(f.Menu_Nevjegy->isEnabled());
        QCOMPARE(f.Label_EsemenyMegnevezes[4]->text(), QStringLiteral("A program első elindítása"));
        QCOMPARE(f.dtEsemeny[4], before);
        QVERIFY(f.CheckBox_AzOraEsPercIsSzamit[4]->isChecked());
        QVERIFY(!f.CheckBox_EsemenyNapbanKiirvaN[4]->isChecked());

        f.Button_EsemenyBeallitas[4]->click();
        f.LabeledEdit_EsemenyMegnevezese->clear();
        f.Button_EsemenyMegadasOK->click();
        QCOMPARE(f.Label_EsemenyMegnevezes[4]->text(), QString());
    }

    void escapeCancelsTheEditor()
    {
        Window w(kNow);
        TForm_Main& f = *w.form;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.Button_EsemenyBeallitas[1]->click();
        QTest::keyClicks(f.LabeledEdit_EsemenyMegnevezese, QStringLiteral("x"));
        QTest::keyClick(f.LabeledEdit_EsemenyMegnevezese, Qt::Key_Escape);
        QCOMPARE(f.PageControl1->currentWidget(), f.TabSheet_Main);
        QCOMPARE(f.Label_EsemenyMegnevezes[1]->text(), QStringLiteral("A program első elindítása"));
    }

    void namesAreNeverMarkup()
    {
        Window w(kNow);
        TForm_Main& f = *w.form;
        f.Button_EsemenyBeallitas[0]->click();
        f.LabeledEdit_EsemenyMegnevezese->setText(QStringLiteral("<b>Szép</b> & jó"));
        f.Button_EsemenyMegadasOK->click();
        QCOMPARE(f.Label_EsemenyMegnevezes[0]->textFormat(), Qt::PlainText);
        QCOMPARE(f.Label_EsemenyMegnevezes[0]->text(), QStringLiteral("<b>Szép</b> & jó"));
    }
};

QTEST_MAIN(TstEvents)
#include "tst_events.moc"
