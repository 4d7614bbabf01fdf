#include "window_fixture.h"

#include "clocks/analog_clock.h"
#include "clocks/big_clock_page.h"
#include "clocks/canvas.h"
#include "clocks/clock_face.h"
#include "widgets/mbargraph.h"

#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include <cmath>
#include <numbers>

using namespace kelvator;
using kelvator::testing::MainTabs;
using kelvator::testing::Window;

namespace {
constexpr quint32 kWhite = 0x00FFFFFF;
constexpr quint32 kLightBlue = 0x00FFC40F;
constexpr quint32 kGreen = 0x0000FF00;

QImage White(int w = 64, int h = 64)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

quint32 At(const QImage& img, int x, int y)
{
    const QRgb c = img.pixel(x, y);
    return static_cast<quint32>(qRed(c)) | (static_cast<quint32>(qGreen(c)) << 8) |
           (static_cast<quint32>(qBlue(c)) << 16);
}

// A control of the window found by its object name, as screen readers find it.
template <typename T = QWidget> T* Find(const QWidget& window, const char* name)
{
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qFatal("no %s", name);
    return child;
}
QLabel* Label(const QWidget& window, const char* name)
{
    return Find<QLabel>(window, name);
}
// Shows the big clock with its inner tab `kind` ("TabSheet_DigitalisOra", "TabSheet_AnalogOra").
void ShowBigClock(TForm_Main& f, const char* kind)
{
    MainTabs(f)->setCurrentWidget(Find(f, "TabSheet_NagyOra"));
    Find<QTabWidget>(f, "PageControl_NagyOraTipus")->setCurrentWidget(Find(f, kind));
}

QImage Artwork()
{
    return QImage(QStringLiteral(":/kelvator/dial.bmp")).convertToFormat(QImage::Format_RGB32);
}

// The point at radius r for the time of day t (seconds), as the face places it.
QPoint FacePoint(int t, double r)
{
    const double a = t / 120.0 * std::numbers::pi / 180.0;
    return QPoint(static_cast<int>(std::lround(140 + r * std::sin(a))),
                  static_cast<int>(std::lround(142 - r * std::cos(a))));
}

ClockFaceInput WorkDay(QTime time, int choice = 0, int dayOfWeek = 3)
{
    ClockFaceInput in;
    in.time = time;
    in.dayOfWeek = dayOfWeek;
    in.overlayChoice = choice;
    in.schedule.workStart = 7 * 3600;
    in.schedule.workEnd = 16 * 3600;
    in.schedule.breakStart = {9 * 3600 + 1800, 13 * 3600 + 1800, 11 * 3600};
    in.schedule.breakEnd = {10 * 3600, 14 * 3600, 12 * 3600};
    in.showBreak = {true, true, false};
    return in;
}
} // namespace

Q_DECLARE_METATYPE(ClockFaceInput)

class TstClocks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        Q_INIT_RESOURCE(kelvator);
        QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    }

    void horizontalLineIsExact()
    {
        QImage img = White();
        Canvas c(img);
        DrawAntialiasedLine(c, 0x00123456, 10, 10, 20, 10);
        for (int x = 11; x <= 19; ++x) {
            QCOMPARE(At(img, x, 10), quint32(0x00123456));
            QCOMPARE(At(img, x, 11), kWhite);
        }
        QVERIFY(At(img, 10, 10) != kWhite && At(img, 10, 10) != 0x00123456); // half-covered ends
    }

    void diagonalDrivesAlongX()
    {
        QImage img = White();
        Canvas c(img);
        DrawAntialiasedLine(c, 0, 0, 0, 10, 10);
        for (int i = 1; i <= 9; ++i) {
            QCOMPARE(At(img, i, i), quint32(0));
            QCOMPARE(At(img, i, i + 1), kWhite);
            QCOMPARE(At(img, i + 1, i), kWhite);
        }
    }

    void reversedEndsDrawTheSame_data()
    {
        QTest::addColumn<QLineF>("line");
        QTest::addRow("shallow") << QLineF(3, 4, 50, 20);
        QTest::addRow("steep") << QLineF(30, 2, 22, 60);
        QTest::addRow("vertical") << QLineF(7, 5, 7, 40);
    }
    void reversedEndsDrawTheSame()
    {
        QFETCH(QLineF, line);
        QImage a = White();
        QImage b = White();
        Canvas ca(a);
        Canvas cb(b);
        DrawAntialiasedLine(ca, 0x000000FF, line.x1(), line.y1(), line.x2(), line.y2());
        DrawAntialiasedLine(cb, 0x000000FF, line.x2(), line.y2(), line.x1(), line.y1());
        QCOMPARE(a, b);
        QVERIFY(a != White());
    }

    void quarterWeightOverWhite()
    {
        QImage img = White();
        Canvas c(img);
        DrawAntialiasedLine(c, 0, 10, 10.25, 20, 10.25);
        QCOMPARE(At(img, 15, 11), quint32(0x00BFBFBF)); // Round(255 × 0.75) = 191
        QCOMPARE(At(img, 15, 10), quint32(0x00404040)); // Round(255 × 0.25) = 64
    }

    void halfWeightRoundsToEven()
    {
        QImage img = White();
        Canvas c(img);
        DrawAntialiasedLine(c, 0, 10, 10.5, 20, 10.5);
        QCOMPARE(At(img, 15, 10), quint32(0x00808080)); // 127.5 goes to 128
        QCOMPARE(At(img, 15, 11), quint32(0x00808080));
        QCOMPARE(At(img, 15, 12), quint32(0x00FFFFFF)); // no weight: left as it was
    }

    void drawingTwiceDarkens()
    {
        QImage once = White();
        Canvas c1(once);
        DrawAntialiasedLine(c1, 0, 0, 0, 30, 7);
        QImage twice = once;
        Canvas c2(twice);
        DrawAntialiasedLine(c2, 0, 0, 0, 30, 7);
        int darker = 0;
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 32; ++x) {
                QVERIFY(qRed(twice.pixel(x, y)) <= qRed(once.pixel(x, y)));
                darker += qRed(twice.pixel(x, y)) < qRed(once.pixel(x, y)) ? 1 : 0;
            }
        }
        QVERIFY(darker > 10);
    }

    void coincidingEndsDrawNothing()
    {
        QImage img = White();
        Canvas c(img);
        DrawAntialiasedLine(c, 0, 5, 5, 5, 5);
        QCOMPARE(img, White());
    }

    void linesOffTheSurfaceAreSafe()
    {
        QImage img = White(10, 10);
        Canvas c(img);
        DrawAntialiasedLine(c, 0, 0, 5, 40, 30); // runs far past the picture's edge
        QVERIFY(At(img, 1, 5) != kWhite);
    }

    void maskPenAnds()
    {
        QImage img(4, 4, QImage::Format_RGB32);
        img.fill(QColor(0xF0, 0x0F, 0xFF));
        Canvas c(img);
        SetCanvasTools(c, 0x00A2A2A2, PenMode::Mask, PenStyle::Solid, 1, kWhite, BrushStyle::Clear);
        c.Line(0, 1, 3, 1);
        QCOMPARE(At(img, 1, 1), quint32(0x00A202A0)); // (F0 & A2, 0F & A2, FF & A2)
        QCOMPARE(At(img, 1, 2), quint32(0x00FF0FF0));
    }

    void rectangleLeavesOutItsRightAndBottomEdge()
    {
        QImage img = White(20, 20);
        Canvas c(img);
        SetCanvasTools(c, 0, PenMode::Copy, PenStyle::Solid, 1, 0x000000FF, BrushStyle::Solid);
        c.Rectangle(2, 2, 8, 8);
        QCOMPARE(At(img, 2, 2), quint32(0));
        QCOMPARE(At(img, 7, 7), quint32(0));
        QCOMPARE(At(img, 5, 5), quint32(0x000000FF));
        QCOMPARE(At(img, 8, 5), kWhite);
        QCOMPARE(At(img, 5, 8), kWhite);
    }

    void stretchCopyKeepsTheAndOfWhatFallsOnAPixel_data()
    {
        QTest::addColumn<QSize>("from");
        QTest::addColumn<QSize>("to");
        QTest::addColumn<QPoint>("dark");   // the one dark source pixel
        QTest::addColumn<QPoint>("target"); // where it must show
        QTest::addRow("quarter, first pixel") << QSize(8, 8) << QSize(2, 2) << QPoint(0, 0) << QPoint(0, 0);
        QTest::addRow("quarter, last pixel of a block")
            << QSize(8, 8) << QSize(2, 2) << QPoint(3, 7) << QPoint(0, 1);
        QTest::addRow("half") << QSize(8, 8) << QSize(4, 4) << QPoint(5, 2) << QPoint(2, 1);
        QTest::addRow("two thirds") << QSize(9, 9) << QSize(6, 6) << QPoint(8, 4) << QPoint(5, 2);
        QTest::addRow("enlarged twice") << QSize(4, 4) << QSize(8, 8) << QPoint(1, 2) << QPoint(3, 5);
    }
    void stretchCopyKeepsTheAndOfWhatFallsOnAPixel()
    {
        QFETCH(QSize, from);
        QFETCH(QSize, to);
        QFETCH(QPoint, dark);
        QFETCH(QPoint, target);
        QImage big(from, QImage::Format_RGB32);
        big.fill(qRgb(255, 255, 255));
        big.setPixel(dark, qRgb(0x12, 0x34, 0x56));
        QImage small(to, QImage::Format_RGB32);
        small.fill(qRgb(1, 2, 3));
        StretchCopy(big, big.rect(), small, small.rect());
        int darkPixels = 0;
        for (int y = 0; y < to.height(); ++y) {
            for (int x = 0; x < to.width(); ++x) {
                QVERIFY2(small.pixel(x, y) != qRgb(1, 2, 3), "every target pixel is written");
                darkPixels += small.pixel(x, y) == qRgb(0x12, 0x34, 0x56) ? 1 : 0;
            }
        }
        QCOMPARE(small.pixel(target), qRgb(0x12, 0x34, 0x56));
        // Shrinking keeps one dark pixel; enlarging repeats it.
        QCOMPARE(darkPixels,
                 to.width() > from.width() ? (to.width() / from.width()) * (to.height() / from.height()) : 1);
    }

    void stretchCopyAndsTheChannels()
    {
        QImage big(2, 2, QImage::Format_RGB32);
        big.setPixel(0, 0, qRgb(0xF0, 0xFF, 0x0F));
        big.setPixel(1, 0, qRgb(0xFF, 0x3C, 0xFF));
        big.setPixel(0, 1, qRgb(0x7F, 0xFF, 0xFF));
        big.setPixel(1, 1, qRgb(0xFF, 0xFF, 0xFE));
        QImage small(1, 1, QImage::Format_RGB32);
        StretchCopy(big, big.rect(), small, small.rect());
        QCOMPARE(small.pixel(0, 0), qRgb(0x70, 0x3C, 0x0E));
    }

    void smallClockKeepsTheHandsWhole_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<int>("pixels");
        QTest::addRow("1x") << qreal(1) << 70;
        QTest::addRow("1.5x") << qreal(1.5) << 105;
        QTest::addRow("2x") << qreal(2) << 140;
    }
    void smallClockKeepsTheHandsWhole()
    {
        QFETCH(qreal, ratio);
        QFETCH(int, pixels);
        // 14:20: the hour hand points a little past two o'clock, where a quarter copy lost it.
        QImage face;
        DrawClockFace(face, Artwork(), WorkDay(QTime(14, 20, 0), 2));
        const QImage small = SmallClockFace(face, 70, ratio);
        QCOMPARE(small.size(), QSize(pixels, pixels));
        QCOMPARE(small.devicePixelRatio(), qreal(pixels) / 70);
        // Walk the hour hand from the centre outwards: the pixel that each of its darkest
        // points falls on is at least as dark.
        const double alpha = (14 * 30 + 20 * 0.5) * std::numbers::pi / 180;
        for (int r = 8; r <= 60; r += 2) {
            const int cx = static_cast<int>(std::lround(140 + r * std::sin(alpha)));
            const int cy = static_cast<int>(std::lround(142 - r * std::cos(alpha)));
            QPoint darkest(cx, cy);
            for (int y = cy - 2; y <= cy + 2; ++y)
                for (int x = cx - 2; x <= cx + 2; ++x)
                    if (qGray(face.pixel(x, y)) < qGray(face.pixel(darkest)))
                        darkest = QPoint(x, y);
            QVERIFY(qGray(face.pixel(darkest)) < 60);
            const QRgb shown = small.pixel(darkest.x() * pixels / 280, darkest.y() * pixels / 280);
            QVERIFY2(qGray(shown) <= qGray(face.pixel(darkest)),
                     qPrintable(QStringLiteral("radius %1").arg(r)));
        }
    }

    void handsAtThreeOClock()
    {
        QImage surface;
        DrawClockFace(surface, Artwork(), WorkDay(QTime(3, 0, 0), 2));
        QCOMPARE(At(surface, 205, 142), quint32(0));          // hour hand end
        QCOMPARE(At(surface, 207, 144), quint32(0x00A2A2A2)); // its shadow's end
        QVERIFY(At(surface, 209, 142) != 0);
        QCOMPARE(FacePoint(3 * 3600, 65), QPoint(205, 142));
    }

    void workSector_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("dayOfWeek");
        QTest::addColumn<bool>("blink");
        QTest::addColumn<bool>("filled");  // light blue at 8:30, radius 30
        QTest::addColumn<bool>("outline"); // the dotted work-day outline anywhere
        QTest::addRow("during work") << QTime(11, 30) << 1 << 3 << false << true << true;
        QTest::addRow("weekend") << QTime(11, 30) << 1 << 6 << false << false << false;
        QTest::addRow("never") << QTime(11, 30) << 2 << 3 << false << false << false;
        QTest::addRow("blinking") << QTime(16, 0, 10) << 0 << 3 << true << false << false;
        QTest::addRow("before work, work time only") << QTime(6, 0) << 1 << 3 << false << false << false;
        QTest::addRow("before work, all day") << QTime(6, 0) << 0 << 3 << false << false << true;
        QTest::addRow("first two minutes") << QTime(7, 1, 59) << 1 << 3 << false << false << true;
        QTest::addRow("at work end, work time only") << QTime(16, 0) << 1 << 3 << false << false << false;
        QTest::addRow("after work, all day") << QTime(17, 0) << 0 << 3 << false << true << true;
    }
    void workSector()
    {
        QFETCH(QTime, time);
        QFETCH(int, choice);
        QFETCH(int, dayOfWeek);
        QFETCH(bool, blink);
        QFETCH(bool, filled);
        QFETCH(bool, outline);
        ClockFaceInput in = WorkDay(time, choice, dayOfWeek);
        in.blinkFlag = blink;
        QImage surface;
        DrawClockFace(surface, Artwork(), in);
        const QPoint inside = FacePoint(8 * 3600 + 1800, 30);
        QCOMPARE(At(surface, inside.x(), inside.y()) == kLightBlue, filled);
        int blacks = 0; // the dotted arc near radius 60 from 7:00 to 16:00, clear of the hands here
        for (int t = 14 * 3600 + 1200; t < 15 * 3600 + 1200; t += 30) {
            for (double r = 58; r <= 62; r += 0.5) {
                const QPoint p = FacePoint(t, r);
                blacks += At(surface, p.x(), p.y()) == 0 ? 1 : 0;
            }
        }
        QCOMPARE(blacks > 0, outline);
    }

    void breaksAreGreenOnceTheDayHasBegun()
    {
        QImage surface;
        DrawClockFace(surface, Artwork(), WorkDay(QTime(17, 0), 0));
        const QPoint brk = FacePoint(9 * 3600 + 2700, 66); // break 1, outside the work sector
        QCOMPARE(At(surface, brk.x(), brk.y()), kGreen);
        const QPoint unshown = FacePoint(11 * 3600 + 1800, 66); // break 3 is not shown
        QVERIFY(At(surface, unshown.x(), unshown.y()) != kGreen);

        DrawClockFace(surface, Artwork(), WorkDay(QTime(7, 1), 0)); // not yet: only outlines
        QVERIFY(At(surface, brk.x(), brk.y()) != kGreen);
    }

    void shortAndLongWorkDays()
    {
        ClockFaceInput in = WorkDay(QTime(23, 30), 0);
        in.schedule.workStart = 0;
        in.schedule.workEnd = 23 * 3600;
        in.showBreak = {false, false, false};
        QImage surface;
        DrawClockFace(surface, Artwork(), in);
        const QPoint late = FacePoint(43080 - 3600, 30);
        QCOMPARE(At(surface, late.x(), late.y()), kLightBlue);

        in.schedule.workStart = 7 * 3600;
        in.schedule.workEnd = 7 * 3600 + 60; // shorter than two minutes: a one-degree outline
        DrawClockFace(surface, Artwork(), in);
        const QPoint inside = FacePoint(8 * 3600, 30);
        QVERIFY(At(surface, inside.x(), inside.y()) != kLightBlue);

        in.schedule.workStart = 20 * 3600;
        in.schedule.workEnd = 4 * 3600; // across midnight: no overlay at all
        in.time = QTime(22, 0);
        DrawClockFace(surface, Artwork(), in);
        const QPoint evening = FacePoint(21 * 3600, 30);
        QVERIFY(At(surface, evening.x(), evening.y()) != kLightBlue);
    }

    void afternoonText()
    {
        auto darkInTextBox = [](const QImage& img) {
            int dark = 0;
            for (int y = 102; y < 116; ++y)
                for (int x = 105; x < 128; ++x)
                    dark += qRed(img.pixel(x, y)) < 100 ? 1 : 0;
            return dark;
        };
        QImage surface;
        DrawClockFace(surface, Artwork(), WorkDay(QTime(11, 59, 59), 2));
        QCOMPARE(darkInTextBox(surface), 0);
        DrawClockFace(surface, Artwork(), WorkDay(QTime(12, 0, 0), 2));
        QVERIFY(darkInTextBox(surface) > 10);
        DrawClockFace(surface, Artwork(), WorkDay(QTime(23, 59, 59), 2));
        QVERIFY(darkInTextBox(surface) > 10);
    }

    void bigClockTexts()
    {
        Window w(QDateTime(QDate(2016, 8, 1), QTime(15, 7, 9)));
        TForm_Main& f = *w.form;
        ShowBigClock(f, "TabSheet_DigitalisOra");
        QWidget* panel = Find(f, "Panel2");
        QCOMPARE(Label(f, "Label_NagyDigitalisOraDatum")->text(), QStringLiteral("2016.08.01. Hétfő"));
        QCOMPARE(Label(f, "Label_NagyDigitalisOraIdo")->text(), QStringLiteral("3:07"));
        QCOMPARE(Label(f, "Label_NagyDigitalisOraMasodperc")->text(), QStringLiteral("09"));
        QVERIFY(Label(f, "Label_NagyDigitalisOraDelutanSzoveg")->isVisibleTo(panel));
        QCOMPARE(Label(f, "Label_ANagyDigitalisOraEvHete")->text(), QStringLiteral("31"));
        QCOMPARE(Label(f, "Label_NagyDigitalisOraEvHete")->text(), QStringLiteral(" / 52 hét"));
        QCOMPARE(Label(f, "Label_NagyDigitalisOraEvNapja")->text(),
                 QStringLiteral("Szilveszterig: 4 hónap, 30 nap."));
        w.TickAt(QDateTime(QDate(2016, 8, 2), QTime(0, 7)));
        QCOMPARE(Label(f, "Label_NagyDigitalisOraIdo")->text(), QStringLiteral("0:07"));
        QVERIFY(!Label(f, "Label_NagyDigitalisOraDelutanSzoveg")->isVisibleTo(panel));
        QCOMPARE(Label(f, "Label_NagyMutatosOraHetNapja")->text(),
                 QStringLiteral("Hétfő")); // a hidden form is left alone

        ShowBigClock(f, "TabSheet_AnalogOra"); // filled at once
        QCOMPARE(Label(f, "Label_NagyMutatosOraEv")->text(), QStringLiteral("2016."));
        QCOMPARE(Label(f, "Label_NagyMutatosOraHonapNap")->text(), QStringLiteral("Augusztus 2."));
        QCOMPARE(Label(f, "Label_NagyMutatosOraHetNapja")->text(), QStringLiteral("Kedd"));
        QCOMPARE(Label(f, "Label_NagyMutatosOraEvNapja")->text(), QStringLiteral("Még: 4 hónap, 29 nap."));
        QCOMPARE(Label(f, "Label_ANagyMutatosOraEvHete")->text(), QStringLiteral("31"));
    }

    void bottomLinesFitTheirPages_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addRow("digital") << "Label_NagyDigitalisOraEvNapja";
        QTest::addRow("analog") << "Label_NagyMutatosOraEvNapja";
    }
    void bottomLinesFitTheirPages()
    {
        QFETCH(QString, label);
        Window w(QDateTime(QDate(2016, 8, 1), QTime(11, 30)));
        TForm_Main& f = *w.form;
        f.show();
        for (const char* form : {"TabSheet_DigitalisOra", "TabSheet_AnalogOra"}) {
            ShowBigClock(f, form);
            w.TickAt(QTime(11, 30, 1));
        }
        auto* line = f.findChild<QLabel*>(label);
        QVERIFY(line->text().contains(QStringLiteral("hónap")));
        // The whole text, descenders included, lies inside the label and the label inside the page.
        const QFontMetrics metrics(line->font());
        QVERIFY2(line->height() >= metrics.height(),
                 qPrintable(QStringLiteral("%1 < %2").arg(line->height()).arg(metrics.height())));
        QVERIFY2(line->geometry().bottom() < line->parentWidget()->height(),
                 qPrintable(QStringLiteral("%1 >= %2")
                                .arg(line->geometry().bottom())
                                .arg(line->parentWidget()->height())));
    }

    void newYearsEveOnBothForms()
    {
        Window w(QDateTime(QDate(2023, 12, 31), QTime(10, 0)));
        TForm_Main& f = *w.form;
        ShowBigClock(f, "TabSheet_AnalogOra");
        QCOMPARE(Label(f, "Label_NagyMutatosOraEvNapja")->text(), QStringLiteral("Szilveszter"));
        QCOMPARE(Find<TMBarGraph>(f, "MBarGraph_NagyMutatosOraATeljesEv")->MBGValue(), 1.0);
        ShowBigClock(f, "TabSheet_DigitalisOra");
        QCOMPARE(Label(f, "Label_NagyDigitalisOraEvNapja")->text(), QStringLiteral("Szilveszter"));
        QCOMPARE(Find<TMBarGraph>(f, "MBarGraph_NagyDigitalisOraATeljesEv")->MBGValue(), 1.0);
    }

    // Faces drawn one after another by the painter are the faces drawn whole, pixel for pixel,
    // and every pixel outside the box it reports is the one the previous face had there.
    void painterDrawsWhatAWholeDrawingDraws_data()
    {
        QTest::addColumn<QList<ClockFaceInput>>("faces");
        auto run = [](ClockFaceInput in, int seconds, int step = 1) {
            QList<ClockFaceInput> list;
            for (int k = 0; k < seconds; ++k) {
                list << in;
                in.time = in.time.addSecs(step);
            }
            return list;
        };
        QTest::addRow("seconds over an hour's turn, work sectors growing")
            << run(WorkDay(QTime(9, 58, 50), 1), 90);
        QTest::addRow("noon brings the afternoon's text") << run(WorkDay(QTime(11, 59, 57), 1), 6);
        QTest::addRow("work end: the sectors go") << run(WorkDay(QTime(15, 59, 55), 1), 8);
        QTest::addRow("a whole day in steps of 13 s") << run(WorkDay(QTime(0, 0, 3), 0), 43200 / 13, 13);
        QList<ClockFaceInput> blink = run(WorkDay(QTime(16, 0, 0), 0), 12);
        for (qsizetype k = 0; k < blink.size(); ++k)
            blink[k].blinkFlag = k % 2 == 0;
        QTest::addRow("the work-end blink takes the sectors off and back") << blink;
        QList<ClockFaceInput> jumps;
        for (const QTime t :
             {QTime(8, 15, 0), QTime(8, 15, 0), QTime(20, 40, 31), QTime(3, 3, 3), QTime(3, 3, 4)})
            jumps << WorkDay(t, 1);
        jumps[3].showBreak = {false, false, true};
        QTest::addRow("jumps, a repeated face and another break") << jumps;
    }
    void painterDrawsWhatAWholeDrawingDraws()
    {
        QFETCH(QList<ClockFaceInput>, faces);
        const QImage artwork = Artwork();
        ClockFacePainter painter;
        QImage paced;
        QImage whole;
        for (const ClockFaceInput& in : faces) {
            const QImage before = paced;
            const QRect changed = painter.Draw(paced, artwork, in);
            DrawClockFace(whole, artwork, in);
            const QString at = in.time.toString();
            QVERIFY2(paced == whole, qPrintable(at));
            if (before.isNull())
                continue;
            for (int y = 0; y < paced.height(); ++y) {
                const auto* now = reinterpret_cast<const QRgb*>(paced.constScanLine(y));
                const auto* was = reinterpret_cast<const QRgb*>(before.constScanLine(y));
                for (int x = 0; x < paced.width(); ++x) {
                    if (now[x] != was[x] && !changed.contains(x, y))
                        QFAIL(qPrintable(
                            QStringLiteral("%1: (%2, %3) changed outside the box").arg(at).arg(x).arg(y)));
                }
            }
        }
    }

    void painterStartsAgainOnASurfaceDrawnBehindItsBack()
    {
        const QImage artwork = Artwork();
        ClockFacePainter painter;
        QImage face;
        painter.Draw(face, artwork, WorkDay(QTime(10, 0, 0)));
        face.fill(Qt::black);
        QCOMPARE(painter.Draw(face, artwork, WorkDay(QTime(10, 0, 1))), face.rect());
        QImage whole;
        DrawClockFace(whole, artwork, WorkDay(QTime(10, 0, 1)));
        QVERIFY(face == whole);
        // Another artwork is another dial.
        QImage other = artwork;
        other.fill(Qt::white);
        DrawClockFace(whole, other, WorkDay(QTime(10, 0, 2)));
        painter.Draw(face, other, WorkDay(QTime(10, 0, 2)));
        QVERIFY(face == whole);
    }

    void smallClockFollowsAChangedBox_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QRect>("changed");
        QTest::addRow("a box inside, 1x") << 70 << QRect(101, 37, 45, 60);
        QTest::addRow("a box across the edge") << 70 << QRect(250, 250, 80, 80);
        QTest::addRow("a single pixel, 2x") << 140 << QRect(139, 141, 1, 1);
        QTest::addRow("the whole face") << 70 << QRect(0, 0, 280, 280);
    }
    void smallClockFollowsAChangedBox()
    {
        QFETCH(int, size);
        QFETCH(QRect, changed);
        QImage face;
        DrawClockFace(face, Artwork(), WorkDay(QTime(10, 10, 10)));
        QImage small = SmallClockFace(face, size, 1.0);
        // The hands move inside the box only.
        QImage next;
        DrawClockFace(next, Artwork(), WorkDay(QTime(4, 40, 40)));
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x)
                if (changed.contains(x, y))
                    face.setPixel(x, y, next.pixel(x, y));
        QVERIFY(UpdateSmallClockFace(small, face, changed));
        QVERIFY(small == SmallClockFace(face, size, 1.0));
        QImage odd = SmallClockFace(face, 88, 1.0);
        QVERIFY(!UpdateSmallClockFace(odd, face, changed)); // 280 / 88 is no whole number
    }

    // A shape drawn again from the pixels it covered is the shape drawn afresh.
    void shapesDrawnAgainAreTheShapesDrawn_data()
    {
        QTest::addColumn<bool>("ellipse");
        QTest::addColumn<QRect>("coords"); // the four numbers handed to the shape
        QTest::addColumn<int>("mode");     // PenMode
        QTest::addColumn<int>("penStyle");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("brushStyle");
        QTest::addColumn<QRect>("clip");
        const int copy = int(PenMode::Copy), mask = int(PenMode::Mask);
        const int solid = int(PenStyle::Solid), dot = int(PenStyle::Dot), noPen = int(PenStyle::Clear);
        const int fill = int(BrushStyle::Solid), noFill = int(BrushStyle::Clear);
        QTest::addRow("centre cap") << true << QRect(137, 139, 143, 145) << copy << solid << 3 << fill
                                    << QRect();
        QTest::addRow("cap's shadow, ANDed")
            << true << QRect(141, 143, 147, 149) << mask << solid << 5 << noFill << QRect();
        QTest::addRow("filled, no pen")
            << true << QRect(20, 30, 60, 50) << copy << noPen << 1 << fill << QRect();
        QTest::addRow("dotted outline")
            << true << QRect(20, 30, 90, 80) << copy << dot << 1 << noFill << QRect();
        QTest::addRow("weight, leftwards and up")
            << false << QRect(130, 150, 118, 130) << copy << solid << 5 << noFill << QRect();
        QTest::addRow("weight's shadow, ANDed")
            << false << QRect(155, 160, 170, 171) << mask << solid << 5 << noFill << QRect();
        QTest::addRow("one-pixel line")
            << false << QRect(3, 7, 250, 90) << copy << solid << 1 << noFill << QRect();
        QTest::addRow("clipped") << true << QRect(137, 139, 143, 145) << copy << solid << 3 << fill
                                 << QRect(139, 138, 3, 9);
        QTest::addRow("over the edge")
            << false << QRect(-10, 5, 20, 300) << copy << solid << 5 << noFill << QRect();
        // Every place the second hand's weight and its shadow are drawn in.
        for (int second = 0; second < 60; ++second) {
            const QPoint tail = ClockPoint(second * 720, -15), weight = ClockPoint(second * 720, -25);
            const QPoint off(4, 4);
            QTest::addRow("weight at %d s", second)
                << false << QRect(tail.x(), tail.y(), weight.x(), weight.y()) << copy << solid << 5 << noFill
                << QRect();
            QTest::addRow("weight's shadow at %d s", second)
                << false << QRect((tail + off).x(), (tail + off).y(), (weight + off).x(), (weight + off).y())
                << mask << solid << 5 << noFill << QRect();
        }
    }
    void shapesDrawnAgainAreTheShapesDrawn()
    {
        QFETCH(bool, ellipse);
        QFETCH(QRect, coords);
        QFETCH(int, mode);
        QFETCH(int, penStyle);
        QFETCH(int, width);
        QFETCH(int, brushStyle);
        QFETCH(QRect, clip);
        // Numbers, not a box: QRect keeps them as given.
        const int a = coords.x(), b = coords.y(), c = coords.width(), d = coords.height();
        auto draw = [&](bool again, quint32 pen, quint32 brush) {
            QImage img = Artwork();
            Canvas canvas(img);
            canvas.setClip(clip);
            SetCanvasTools(canvas, pen, static_cast<PenMode>(mode), static_cast<PenStyle>(penStyle), width,
                           brush, static_cast<BrushStyle>(brushStyle));
            if (ellipse)
                again ? canvas.EllipseAgain(a, b, c, d) : canvas.Ellipse(a, b, c, d);
            else
                again ? canvas.LineAgain(a, b, c, d) : canvas.Line(a, b, c, d);
            return img;
        };
        for (auto [pen, brush] : {std::pair{0x002D688Cu, 0x0000FFFFu}, std::pair{0x00A2A2A2u, 0x00FFFFFFu}}) {
            const QImage fresh = draw(false, pen, brush);
            QVERIFY(draw(true, pen, brush) == fresh); // found
            QVERIFY(draw(true, pen, brush) == fresh); // remembered
        }
    }

    // The page alone: the texts go to the inner tab shown, and a stored tab is shown quietly.
    void bigClockPageFillsOnlyTheShownKind()
    {
        ClockFace face;
        BigClockPage page(face);
        QSignalSpy kindChanged(&page, &BigClockPage::kindChanged);
        Settings stored;
        stored.bigClockTab = 0;
        page.ShowSettings(stored);
        QCOMPARE(kindChanged.count(), 0); // loading the settings is no choice of the user's
        QVERIFY(!page.AnalogShown());
        Settings collected;
        collected.bigClockTab = 1;
        page.CollectSettings(collected);
        QCOMPARE(collected.bigClockTab, 0);

        BigClockTexts t;
        t.today = QDate(2023, 12, 31);
        t.date = QStringLiteral("2023.12.31. Vasárnap");
        t.weekday = QStringLiteral("Vasárnap");
        t.time = {true, QStringLiteral("1:05"), QStringLiteral("09")};
        t.newYearsEve = NewYearsEveText(ToDateTime(QDateTime(t.today, QTime(13, 5, 9))));
        t.yearProgress = 0.99;
        t.weekNumber = QStringLiteral("52");
        t.weeksInYear = QStringLiteral(" / 52 hét");
        const double analogBarBefore =
            Find<TMBarGraph>(page, "MBarGraph_NagyMutatosOraATeljesEv")->MBGValue();
        page.ShowTexts(t);
        QCOMPARE(Label(page, "Label_NagyDigitalisOraDatum")->text(), t.date);
        QCOMPARE(Label(page, "Label_NagyDigitalisOraIdo")->text(), QStringLiteral("1:05"));
        QVERIFY(Label(page, "Label_NagyDigitalisOraDelutanSzoveg")->isVisibleTo(Find(page, "Panel2")));
        QCOMPARE(Label(page, "Label_NagyDigitalisOraEvNapja")->text(), QStringLiteral("Szilveszter"));
        QCOMPARE(Find<TMBarGraph>(page, "MBarGraph_NagyDigitalisOraATeljesEv")->MBGValue(), 0.99);
        QCOMPARE(Label(page, "Label_NagyMutatosOraHetNapja")->text(), QString()); // hidden: left alone
        QCOMPARE(Find<TMBarGraph>(page, "MBarGraph_NagyMutatosOraATeljesEv")->MBGValue(), analogBarBefore);

        Find<QTabWidget>(page, "PageControl_NagyOraTipus")->setCurrentIndex(1);
        QCOMPARE(kindChanged.count(), 1);
        QVERIFY(page.AnalogShown());
        page.ShowTexts(t);
        QCOMPARE(Label(page, "Label_NagyMutatosOraEv")->text(), QStringLiteral("2023."));
        QCOMPARE(Label(page, "Label_NagyMutatosOraHonapNap")->text(), QStringLiteral("December 31."));
        QCOMPARE(Label(page, "Label_NagyMutatosOraHetNapja")->text(), QStringLiteral("Vasárnap"));
        QCOMPARE(Label(page, "Label_NagyMutatosOraEvNapja")->text(), QStringLiteral("Szilveszter"));
        QCOMPARE(Label(page, "Label_ANagyMutatosOraEvHete")->text(), QStringLiteral("52"));
    }

    // The shared face: drawn once per change, and not at all while its source says nobody sees it.
    void clockFaceDrawsOnlyChangesAndWaitsOutOfSight()
    {
        ClockFace face;
        std::optional<ClockFaceInput> shown = WorkDay(QTime(10, 0, 0));
        int asked = 0;
        face.SetSource([&] {
            ++asked;
            return shown;
        });
        QSignalSpy changed(&face, &ClockFace::changed);
        face.Update();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toRect(), QRect(0, 0, 280, 280)); // the first face is new all over
        const QImage first = face.Image();
        face.Update(); // the same second again
        QCOMPARE(changed.count(), 1);
        face.UpdateIfStale(); // a paint of an up-to-date face asks for nothing
        QCOMPARE(asked, 2);

        shown.reset(); // out of sight
        face.Update();
        QCOMPARE(changed.count(), 1);
        QVERIFY(face.Image() == first);
        shown = WorkDay(QTime(10, 0, 1));
        face.UpdateIfStale(); // the first paint back on screen draws the moment it is shown at
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.at(1).at(1).toLongLong(), first.cacheKey());
        QImage whole;
        DrawClockFace(whole, face.Artwork(), *shown);
        QVERIFY(face.Image() == whole);
    }

    void smallClockCopiesTheBigFace()
    {
        Window w(QDateTime(QDate(2024, 5, 8), QTime(11, 30)));
        TForm_Main& f = *w.form;
        w.TickAt(QTime(11, 30));
        w.TickAt(QTime(11, 30, 1)); // the face uses the previous tick's work day
        const QPoint inside = FacePoint(8 * 3600 + 1800, 30);
        QCOMPARE(At(f.clockFace().Image(), inside.x(), inside.y()), kLightBlue);
    }
};

QTEST_MAIN(TstClocks)
#include "tst_clocks.moc"
