#include "window_fixture.h"
#include "worktime_fixture.h"

#include "settings/inifile.h"
#include "widgets/tpaintbox.h"
#include "widgets/tshape.h"
#include "yearcal/yearcal.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace kelvator;
using kelvator::testing::Window;

namespace {
quint32 At(const QImage& img, int x, int y)
{
    const QRgb c = img.pixel(x, y);
    return static_cast<quint32>(qRed(c)) | (static_cast<quint32>(qGreen(c)) << 8) |
           (static_cast<quint32>(qBlue(c)) << 16);
}

// The middle of the cell of (month, day), right of a weekend dot.
QPoint CellPoint(int month, int day)
{
    return QPoint((day - 1) * 12 + 10, (month - 1) * 18 + 14);
}
} // namespace

using kelvator::testing::WorkTimeControl;

class TstYearcal : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }

    void geometry()
    {
        const YearGrid g = GridFor(385, 221);
        QCOMPARE(g.cellWidth, 12);
        QCOMPARE(g.cellHeight, 18);
    }

    void mouseToCell_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QPoint>("cell"); // (day column, month row)
        QTest::addRow("first cell") << QPoint(3, 3) << QPoint(1, 1);
        QTest::addRow("y 18 stays in row 1") << QPoint(3, 18) << QPoint(1, 1);
        QTest::addRow("y 36 goes to row 3") << QPoint(3, 36) << QPoint(1, 3);
        QTest::addRow("x 12 stays in column 1") << QPoint(12, 3) << QPoint(1, 1);
        QTest::addRow("x 24 goes to column 3") << QPoint(24, 3) << QPoint(3, 1);
        QTest::addRow("last cell") << QPoint(370, 210) << QPoint(31, 12);
        QTest::addRow("right of the grid") << QPoint(384, 100) << QPoint(33, 6);
    }
    void mouseToCell()
    {
        QFETCH(QPoint, at);
        QFETCH(QPoint, cell);
        QCOMPARE(CellAt(GridFor(385, 221), at.x(), at.y()), cell);
    }

    void hoverText()
    {
        QCOMPARE(HoverDateText(QDate(2026, 3, 15)),
                 QStringLiteral("2026.03.15.   Vasárnap   11. hét   74. nap"));
    }

    void missingDaysAreNotDrawn()
    {
        QImage img(385, 221, QImage::Format_RGB32);
        DayColours colours;
        for (auto& m : colours)
            m.fill(0x00FF0000); // every day blue, so a drawn cell shows
        DrawYearGrid(img, GridFor(385, 221), 2025, colours, false, QDate(2025, 5, 7));
        const quint32 blue = 0x00FF0000;
        QCOMPARE(At(img, CellPoint(2, 28).x(), CellPoint(2, 28).y()), blue);
        for (const QPoint& md : {QPoint(2, 29), QPoint(2, 30), QPoint(2, 31), QPoint(4, 31), QPoint(6, 31),
                                 QPoint(9, 31), QPoint(11, 31)}) {
            const QPoint p = CellPoint(md.x(), md.y());
            QVERIFY(At(img, p.x(), p.y()) != blue);
        }
        DrawYearGrid(img, GridFor(385, 221), 2024, colours, false, QDate(2024, 5, 7));
        QCOMPARE(At(img, CellPoint(2, 29).x(), CellPoint(2, 29).y()), blue); // leap year
    }

    void weekendsGetARedDotAndTodayAFrame()
    {
        QImage img(385, 221, QImage::Format_RGB32);
        DayColours colours;
        for (auto& m : colours)
            m.fill(kButtonFace);
        // 4 May 2024 is a Saturday.
        DrawYearGrid(img, GridFor(385, 221), 2024, colours, false, QDate(2024, 5, 7));
        QCOMPARE(At(img, 6 + 3 * 12, 9 + 4 * 18), quint32(0x000000FF));
        QVERIFY(At(img, 6 + 6 * 12, 9 + 4 * 18) != 0x000000FF);
        const QImage without = img;
        DrawYearGrid(img, GridFor(385, 221), 2024, colours, true, QDate(2024, 5, 7));
        QVERIFY(img != without);
        QCOMPARE(At(img, 6 + 6 * 12 + 1 - 7, 9 + 4 * 18), quint32(0)); // the frame's left side
    }

    void hoverAndColouring()
    {
        Window w(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
        TForm_Main& f = *w.form;
        f.PageControl_Main->setCurrentWidget(f.TabSheet_EvesNaptar);
        QVERIFY(!f.SpeedButton_Modositas->isChecked());
        const QPoint march15 = CellPoint(3, 15);
        QTest::mouseMove(f.Image_EvesNaptar, march15);
        f.Image_EvesNaptarMouseMove(march15);
        QCOMPARE(f.Label_EvesNaptarKijeloltNap->text(),
                 QStringLiteral("2026.03.15.   Vasárnap   11. hét   74. nap"));
        QCOMPARE(f.Label_EvesNaptarIdoKulonbseg->text(), QStringLiteral("5 nap múlva lesz."));
        QVERIFY(f.Label_Honap[2]->font().bold());
        QVERIFY(f.Label_NapTizes[14]->font().bold() && f.Label_NapEgyes[14]->font().bold());
        QVERIFY(!f.Label_Honap[3]->font().bold());

        f.Image_EvesNaptarClick(); // "Színezés" is up: nothing changes
        QCOMPARE(f.dayColours[2][14], kButtonFace);
        f.SpeedButton_Modositas->click();
        QTest::mousePress(f.Shape_EvesNaptarSzin[7], Qt::RightButton);
        QCOMPARE(f.Shape_EvesNaptarAktualisSzin->brushColor(), quint32(0x000080FF));
        QTest::mousePress(f.Shape_EvesNaptarSzin[7], Qt::LeftButton);
        QCOMPARE(f.Shape_EvesNaptarAktualisSzin->brushColor(), quint32(0x00FF0000));
        f.Image_EvesNaptarClick();
        QCOMPARE(f.dayColours[2][14], quint32(0x00FF0000));
        f.Image_EvesNaptarClick();
        QCOMPARE(f.dayColours[2][14], kButtonFace);
        f.Image_EvesNaptarClick();

        // 31 April is no day: hovering it selects nothing and empties the texts.
        f.Image_EvesNaptarMouseMove(CellPoint(4, 31));
        QVERIFY(f.Label_EvesNaptarKijeloltNap->text().isEmpty());
        QVERIFY(f.selectedDay.isNull());
        f.Image_EvesNaptarMouseMove(QPoint(3, 219)); // below row 12
        QVERIFY(f.selectedDay.isNull());

        // Opening the page again releases "Színezés"; the colour is in the file after a save.
        f.PageControl_Main->setCurrentWidget(WorkTimeControl<QWidget>(f, "TabSheet_Kelvator"));
        f.PageControl_Main->setCurrentWidget(f.TabSheet_EvesNaptar);
        QVERIFY(!f.SpeedButton_Modositas->isChecked());
        QVERIFY(f.SaveSettings());
        const IniFile ini = IniFile::Load(w.SettingsPath());
        QCOMPARE(ini.Value(QStringLiteral("EvesNaptar"), QStringLiteral("sNapokSzinei03"))->at(14),
                 QChar(u'7'));
        QCOMPARE(*ini.Value(QStringLiteral("EvesNaptar"), QStringLiteral("Shape_EvesNaptarAktualisSzin")),
                 QStringLiteral("16711680"));
    }

    void hoverTextIsRebuiltOnlyInAnotherCell()
    {
        Window w(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
        TForm_Main& f = *w.form;
        f.Image_EvesNaptarMouseMove(CellPoint(1, 1));
        f.Label_EvesNaptarKijeloltNap->setText(QStringLiteral("marker"));
        f.Image_EvesNaptarMouseMove(CellPoint(1, 1) + QPoint(1, 1));
        QCOMPARE(f.Label_EvesNaptarKijeloltNap->text(), QStringLiteral("marker"));
        f.Image_EvesNaptarMouseMove(CellPoint(1, 2));
        QVERIFY(f.Label_EvesNaptarKijeloltNap->text().startsWith(QStringLiteral("2026.01.02.")));
    }

    void hoverLineIsInThePagesTextSize()
    {
        Window w(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
        TForm_Main& f = *w.form;
        f.Image_EvesNaptarMouseMove(CellPoint(3, 15));
        const QFontInfo hover(f.Label_EvesNaptarKijeloltNap->font());
        const QFontInfo page(f.Label_EvesNaptarDatum->font());
        QCOMPARE(hover.pixelSize(), page.pixelSize());
        // The whole line fits its label.
        QVERIFY(QFontMetrics(f.Label_EvesNaptarKijeloltNap->font())
                    .horizontalAdvance(f.Label_EvesNaptarKijeloltNap->text()) <=
                f.Label_EvesNaptarKijeloltNap->width());
    }

    void blinkGoesOnOnAnyPage()
    {
        Window w(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
        TForm_Main& f = *w.form;
        f.Timer_AktualisNapVillogtatasTimer();
        const QImage first = f.yearImage;
        f.Timer_AktualisNapVillogtatasTimer();
        QVERIFY(f.yearImage != first);
        QCOMPARE(f.Label_EvesNaptarEv->text(), QStringLiteral("2026."));
    }

    // The blink reuses what it drew before; after every change it must still show exactly what
    // a full drawing of that moment shows.
    void blinkShowsWhatAFullDrawingShows_data()
    {
        QTest::addColumn<int>("change");
        QTest::addRow("nothing") << 0;
        QTest::addRow("next day") << 1;
        QTest::addRow("colour set behind its back") << 2;
        QTest::addRow("new year") << 3;
    }
    void blinkShowsWhatAFullDrawingShows()
    {
        QFETCH(int, change);
        Window w(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)));
        TForm_Main& f = *w.form;
        f.dayColours[11][30] = 0x000000FF;
        f.DrawYearCalendar();
        for (int step = 0; step < 5; ++step) {
            if (step == 2) {
                if (change == 1 || change == 3)
                    w.fake.now = change == 1 ? QDateTime(QDate(2026, 12, 30), QTime(12, 0))
                                             : QDateTime(QDate(2027, 1, 1), QTime(0, 0, 1));
                if (change == 2)
                    f.dayColours[11][29] = 0x00FF0000;
            }
            f.Timer_AktualisNapVillogtatasTimer();
            const QDate today = w.fake.now.date();
            QImage want(f.yearImage.size(), QImage::Format_RGB32);
            want.fill(f.palette().color(QPalette::Button));
            DrawYearGrid(want, GridFor(385, 221), today.year(), f.dayColours, f.yearBlinkFlag, today);
            QVERIFY2(f.yearImage == want, qPrintable(QStringLiteral("step %1").arg(step)));
        }
    }

    // Unseen, the grid's blink costs no timer; seen again, it is in the state and phase the
    // running timer would have brought it to.
    void blinkRunsOnlyWhileTheGridIsSeen_data()
    {
        QTest::addColumn<int>("awayMs");
        QTest::addColumn<bool>("flipped");
        QTest::addColumn<int>("remainingMs");
        QTest::addRow("within the half second") << 200 << false << 300;
        QTest::addRow("one change missed") << 700 << true << 300;
        QTest::addRow("two changes missed") << 1100 << false << 400;
        QTest::addRow("an hour away") << 3'600'250 << false << 250;
    }
    void blinkRunsOnlyWhileTheGridIsSeen()
    {
        QFETCH(int, awayMs);
        QFETCH(bool, flipped);
        QFETCH(int, remainingMs);
        Window w(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
        TForm_Main& f = *w.form;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.findChild<QTimer*>(QStringLiteral("Timer1"))->start();
        f.StartYearBlink();
        QVERIFY(!f.Timer_AktualisNapVillogtatas->isActive()); // the work-time page is in front
        f.PageControl_Main->setCurrentWidget(f.TabSheet_EvesNaptar);
        QVERIFY(f.Timer_AktualisNapVillogtatas->isActive());
        f.PageControl_Main->setCurrentWidget(WorkTimeControl<QWidget>(f, "TabSheet_Kelvator"));
        QVERIFY(!f.Timer_AktualisNapVillogtatas->isActive());

        // Back after a while: the missed changes are made, the next one comes on time.
        const bool before = f.yearBlinkFlag;
        f.yearBlinkToggledAt_ -= awayMs;
        f.PageControl_Main->setCurrentWidget(f.TabSheet_EvesNaptar);
        QCOMPARE(f.yearBlinkFlag, before != flipped);
        const int remaining = f.Timer_AktualisNapVillogtatas->remainingTime();
        QVERIFY2(remaining <= remainingMs && remaining > remainingMs - 50,
                 qPrintable(QString::number(remaining)));
        QImage want(f.yearImage.size(), QImage::Format_RGB32);
        want.fill(f.palette().color(QPalette::Button));
        DrawYearGrid(want, GridFor(385, 221), 2026, f.dayColours, f.yearBlinkFlag, QDate(2026, 3, 10));
        QVERIFY(f.yearImage == want);

        // Other pages over the main one, a minimised window and a hidden one stop it too.
        f.Menu_BeallitasokClick();
        QVERIFY(!f.Timer_AktualisNapVillogtatas->isActive());
        f.findChild<QPushButton*>(QStringLiteral("Button_NevjegyOK"))->click();
        QVERIFY(f.Timer_AktualisNapVillogtatas->isActive());
        f.hide();
        QVERIFY(!f.Timer_AktualisNapVillogtatas->isActive());
        f.show();
        QVERIFY(f.Timer_AktualisNapVillogtatas->isActive());
    }

    void todayLabelOnlyWhileShown()
    {
        Window w(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
        TForm_Main& f = *w.form;
        w.TickAt(QTime(9, 0, 1));
        QVERIFY(f.Label_EvesNaptarDatum->text().isEmpty());
        f.PageControl_Main->setCurrentWidget(f.TabSheet_EvesNaptar);
        QCOMPARE(f.Label_EvesNaptarDatum->text(), QStringLiteral("Ma: 2026.03.10. Kedd"));
    }
};

QTEST_MAIN(TstYearcal)
#include "tst_yearcal.moc"
