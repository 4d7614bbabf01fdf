#include "window_fixture.h"
#include "worktime_fixture.h"

#include "settings/inifile.h"
#include "settings/settings_model.h"
#include "widgets/tpaintbox.h"
#include "widgets/tshape.h"
#include "worktime/workcalendar_model.h"
#include "yearcal/yearcal.h"
#include "yearcal/yeargrid_page.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace kelvator;
using kelvator::testing::MainTabs;
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

YearGridPage& GridPage(TForm_Main& f)
{
    return *f.findChild<YearGridPage*>(QStringLiteral("TabSheet_EvesNaptar"));
}

template <typename T> T* Child(QObject& parent, const char* name)
{
    auto* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qFatal("no %s", name);
    return child;
}

QLabel* Label(QObject& parent, const char* name)
{
    return Child<QLabel>(parent, name);
}

// The pointer over the grid, as the grid's box reports it.
void Hover(QObject& parent, QPoint at)
{
    Child<TPaintBox>(parent, "Image_EvesNaptar")->onMouseMove(at);
}

void ClickGrid(QObject& parent)
{
    Child<TPaintBox>(parent, "Image_EvesNaptar")->onClick();
}

DayColours ColoursOf(const YearGridPage& page)
{
    Settings s;
    page.CollectSettings(s);
    return s.dayColours;
}

void SetColour(YearGridPage& page, int month, int day, quint32 colour)
{
    Settings s;
    page.CollectSettings(s);
    s.dayColours[size_t(month - 1)][size_t(day - 1)] = colour;
    page.ShowSettings(s);
}

QTimer* BlinkTimer(QObject& parent)
{
    return Child<QTimer>(parent, "Timer_AktualisNapVillogtatas");
}

void ShowTab(TForm_Main& f, const char* name)
{
    MainTabs(f)->setCurrentWidget(Child<QWidget>(*MainTabs(f), name));
}

// The page alone, at a moment, a steady clock and a sight the test sets.
struct StandalonePage {
    QDateTime now = QDateTime(QDate(2026, 3, 10), QTime(9, 0));
    qint64 steadyMs = 1'000'000;
    bool inSight = false;
    WorkCalendarModel calendar;
    YearGridPage page{{.now = [this] { return now; },
                       .steadyMs = [this] { return steadyMs; },
                       .inSight = [this] { return inSight; },
                       .clockRunning = [] { return true; }},
                      calendar};
    StandalonePage() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }
    // What a full drawing of the moment shows, with the blink as the page has it.
    QImage FullDrawing() const
    {
        QImage want(page.Picture().size(), QImage::Format_RGB32);
        want.fill(page.palette().color(QPalette::Button));
        DrawYearGrid(want, GridFor(385, 221), now.date().year(), ColoursOf(page), page.BlinkOn(), now.date(),
                     [this](const QDate& d) { return !calendar.Calendar().IsWorkingDay(d); });
        return want;
    }
};
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
        YearGridPage& page = GridPage(f);
        auto* colouring = Child<QAbstractButton>(page, "SpeedButton_Modositas");
        auto* paint = Child<TShape>(page, "Shape_EvesNaptarAktualisSzin");
        MainTabs(f)->setCurrentWidget(&page);
        QVERIFY(!colouring->isChecked());
        const QPoint march15 = CellPoint(3, 15);
        QTest::mouseMove(Child<TPaintBox>(page, "Image_EvesNaptar"), march15);
        Hover(page, march15);
        QCOMPARE(Label(page, "Label_EvesNaptarKijeloltNap")->text(),
                 QStringLiteral("2026.03.15.   Vasárnap   11. hét   74. nap"));
        QCOMPARE(Label(page, "Label_EvesNaptarIdoKulonbseg")->text(), QStringLiteral("5 nap múlva lesz."));
        QVERIFY(Label(page, "Label_Honap3")->font().bold());
        QVERIFY(Label(page, "Label_NapTizes15")->font().bold() &&
                Label(page, "Label_NapEgyes15")->font().bold());
        QVERIFY(!Label(page, "Label_Honap4")->font().bold());

        ClickGrid(page); // "Színezés" is up: nothing changes
        QCOMPARE(ColoursOf(page)[2][14], kButtonFace);
        colouring->click();
        auto* red = Child<TShape>(page, "Shape_EvesNaptarSzin9"); // palette code 7
        QTest::mousePress(red, Qt::RightButton);
        QCOMPARE(paint->brushColor(), quint32(0x000080FF));
        QTest::mousePress(red, Qt::LeftButton);
        QCOMPARE(paint->brushColor(), quint32(0x00FF0000));
        ClickGrid(page);
        QCOMPARE(ColoursOf(page)[2][14], quint32(0x00FF0000));
        ClickGrid(page);
        QCOMPARE(ColoursOf(page)[2][14], kButtonFace);
        ClickGrid(page);

        // 31 April is no day: hovering it selects nothing and empties the texts.
        Hover(page, CellPoint(4, 31));
        QVERIFY(Label(page, "Label_EvesNaptarKijeloltNap")->text().isEmpty());
        QVERIFY(page.SelectedDay().isNull());
        Hover(page, QPoint(3, 219)); // below row 12
        QVERIFY(page.SelectedDay().isNull());

        // Opening the page again releases "Színezés"; the colour is in the file after a save.
        ShowTab(f, "TabSheet_Kelvator");
        MainTabs(f)->setCurrentWidget(&page);
        QVERIFY(!colouring->isChecked());
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
        YearGridPage& page = GridPage(*w.form);
        QLabel* hover = Label(page, "Label_EvesNaptarKijeloltNap");
        Hover(page, CellPoint(1, 1));
        hover->setText(QStringLiteral("marker"));
        Hover(page, CellPoint(1, 1) + QPoint(1, 1));
        QCOMPARE(hover->text(), QStringLiteral("marker"));
        Hover(page, CellPoint(1, 2));
        QVERIFY(hover->text().startsWith(QStringLiteral("2026.01.02.")));
    }

    void hoverLineIsInThePagesTextSize()
    {
        Window w(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
        YearGridPage& page = GridPage(*w.form);
        QLabel* line = Label(page, "Label_EvesNaptarKijeloltNap");
        Hover(page, CellPoint(3, 15));
        const QFontInfo hover(line->font());
        const QFontInfo today(Label(page, "Label_EvesNaptarDatum")->font());
        QCOMPARE(hover.pixelSize(), today.pixelSize());
        // The whole line fits its label.
        QVERIFY(QFontMetrics(line->font()).horizontalAdvance(line->text()) <= line->width());
    }

    void blinkGoesOnOnAnyPage()
    {
        Window w(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
        YearGridPage& page = GridPage(*w.form);
        page.Blink();
        const QImage first = page.Picture();
        page.Blink();
        QVERIFY(page.Picture() != first);
        QCOMPARE(Label(page, "Label_EvesNaptarEv")->text(), QStringLiteral("2026."));
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
        YearGridPage& page = GridPage(f);
        SetColour(page, 12, 31, 0x000000FF);
        page.Redraw();
        for (int step = 0; step < 5; ++step) {
            if (step == 2) {
                if (change == 1 || change == 3)
                    w.fake.now = change == 1 ? QDateTime(QDate(2026, 12, 30), QTime(12, 0))
                                             : QDateTime(QDate(2027, 1, 1), QTime(0, 0, 1));
                if (change == 2)
                    SetColour(page, 12, 30, 0x00FF0000);
            }
            page.Blink();
            const QDate today = w.fake.now.date();
            QImage want(page.Picture().size(), QImage::Format_RGB32);
            want.fill(f.palette().color(QPalette::Button));
            DrawYearGrid(want, GridFor(385, 221), today.year(), ColoursOf(page), page.BlinkOn(), today);
            QVERIFY2(page.Picture() == want, qPrintable(QStringLiteral("step %1").arg(step)));
        }
    }

    // Unseen, the grid's blink costs no timer: the window says when the grid is in sight.
    void blinkRunsOnlyWhileTheGridIsSeen()
    {
        Window w(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
        TForm_Main& f = *w.form;
        YearGridPage& page = GridPage(f);
        QTimer* blink = BlinkTimer(f);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.findChild<QTimer*>(QStringLiteral("Timer1"))->start();
        page.StartBlink();
        QVERIFY(!blink->isActive()); // the work-time page is in front
        MainTabs(f)->setCurrentWidget(&page);
        QVERIFY(blink->isActive());
        ShowTab(f, "TabSheet_Kelvator");
        QVERIFY(!blink->isActive());

        // Back: the grid shows the blink's state at once.
        MainTabs(f)->setCurrentWidget(&page);
        QVERIFY(blink->isActive());
        QImage want(page.Picture().size(), QImage::Format_RGB32);
        want.fill(f.palette().color(QPalette::Button));
        DrawYearGrid(want, GridFor(385, 221), 2026, ColoursOf(page), page.BlinkOn(), QDate(2026, 3, 10));
        QVERIFY(page.Picture() == want);

        // Other pages over the main one, a minimised window and a hidden one stop it too.
        f.Menu_BeallitasokClick();
        QVERIFY(!blink->isActive());
        f.findChild<QPushButton*>(QStringLiteral("Button_NevjegyOK"))->click();
        QVERIFY(blink->isActive());
        f.hide();
        QVERIFY(!blink->isActive());
        f.show();
        QVERIFY(blink->isActive());
    }

    // Seen again, the blink is in the state and phase the running timer would have brought it to.
    void blinkResumesInPhase_data()
    {
        QTest::addColumn<int>("awayMs");
        QTest::addColumn<bool>("flipped");
        QTest::addColumn<int>("remainingMs");
        QTest::addRow("within the half second") << 200 << false << 300;
        QTest::addRow("one change missed") << 700 << true << 300;
        QTest::addRow("two changes missed") << 1100 << false << 400;
        QTest::addRow("an hour away") << 3'600'250 << false << 250;
    }
    void blinkResumesInPhase()
    {
        QFETCH(int, awayMs);
        QFETCH(bool, flipped);
        QFETCH(int, remainingMs);
        StandalonePage p;
        QTimer* blink = p.page.BlinkTimer();
        p.page.StartBlink();
        QVERIFY(!blink->isActive());
        p.inSight = true;
        p.page.UpdateBlink();
        QVERIFY(blink->isActive());
        QCOMPARE(blink->interval(), 500);
        p.inSight = false;
        p.page.UpdateBlink();
        QVERIFY(!blink->isActive());

        // Back after a while: the missed changes are made, the next one comes on time.
        const bool before = p.page.BlinkOn();
        p.steadyMs += awayMs;
        p.inSight = true;
        p.page.UpdateBlink();
        QCOMPARE(p.page.BlinkOn(), before != flipped);
        QVERIFY(blink->isActive());
        QCOMPARE(blink->interval(), remainingMs);
        QVERIFY(p.page.Picture() == p.FullDrawing());
        // The change after that is a whole half second from the next.
        p.page.Blink();
        QCOMPARE(blink->interval(), 500);
        QVERIFY(p.page.Picture() == p.FullDrawing());
    }

    // A changed work calendar moves the grid's dots without another drawing being asked for.
    void calendarChangeRedrawsTheGrid()
    {
        StandalonePage p;
        p.calendar.SetCalendar(true, {});
        p.page.Redraw();
        const QImage before = p.page.Picture();
        p.calendar.SetDay(QDate(2026, 3, 11), DayKind::UserRest); // a Wednesday
        QVERIFY(p.page.Picture() != before);
        QVERIFY(p.page.Picture() == p.FullDrawing());
        p.calendar.SetDay(QDate(2026, 3, 14), DayKind::UserWork); // a Saturday
        QVERIFY(p.page.Picture() == p.FullDrawing());
    }

    void todayLabelOnlyWhileShown()
    {
        Window w(QDateTime(QDate(2026, 3, 10), QTime(9, 0)));
        TForm_Main& f = *w.form;
        QLabel* today = Label(f, "Label_EvesNaptarDatum");
        w.TickAt(QTime(9, 0, 1));
        QVERIFY(today->text().isEmpty());
        MainTabs(f)->setCurrentWidget(&GridPage(f));
        QCOMPARE(today->text(), QStringLiteral("Ma: 2026.03.10. Kedd"));
    }
};

QTEST_MAIN(TstYearcal)
#include "tst_yearcal.moc"
