// The big clock page (digital and analog) and the small analog clock of the work-time page.
#include "app/form_main.h"

#include "clocks/analog_clock.h"
#include "clocks/canvas.h"
#include "widgets/tpaintbox.h"
#include "widgets/tshape.h"
#include "widgets/widget_factory.h"

#include <QCheckBox>
#include <QLabel>
#include <QTabWidget>

using namespace kelvator;

void TForm_Main::BuildBigClockPage()
{
    QWidget* digital = TabSheet_DigitalisOra;
    Label_NagyDigitalisOraDatum = TextLabel(digital, "Label_NagyDigitalisOraDatum", 16, 2, 385, 34, QString(),
                                            ArialPx(29), Qt::AlignHCenter);
    Panel2 = Place<QFrame>(digital, "Panel2", 16, 36, 385, 185);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel2->setAutoFillBackground(true);
    QPalette panelPalette = Panel2->palette();
    panelPalette.setColor(QPalette::Window, ToQColor(0x0073D1D7));
    panelPalette.setColor(QPalette::WindowText, Qt::black); // on khaki whatever the desktop's colours
    Panel2->setPalette(panelPalette);
    Label_NagyDigitalisOraDelutanSzoveg =
        TextLabel(Panel2, "Label_NagyDigitalisOraDelutanSzoveg", 8, 6, 120, 24, QStringLiteral("DÉLUTÁN"),
                  ArialPx(19, true), Qt::AlignLeft);
    Label_NagyDigitalisOraDelutanSzoveg->hide();
    Label_NagyDigitalisOraIdo = TextLabel(Panel2, "Label_NagyDigitalisOraIdo", 2, 36, 272, 112,
                                          QStringLiteral("00:00"), ArialPx(96), Qt::AlignRight);
    Label_NagyDigitalisOraMasodperc = TextLabel(Panel2, "Label_NagyDigitalisOraMasodperc", 278, 62, 100, 76,
                                                QStringLiteral("00"), ArialPx(64), Qt::AlignLeft);
    Label_ANagyDigitalisOraEvHete = TextLabel(digital, "Label_ANagyDigitalisOraEvHete", 16, 222, 76, 44,
                                              QStringLiteral("99"), ArialPx(37, true), Qt::AlignRight);
    Label_NagyDigitalisOraEvHete = TextLabel(digital, "Label_NagyDigitalisOraEvHete", 94, 234, 160, 26,
                                             QString(), ArialPx(19), Qt::AlignLeft);
    MBarGraph_NagyDigitalisOraATeljesEv =
        ProgressBar(digital, "MBarGraph_NagyDigitalisOraATeljesEv", 10, 264, 398, kYellowBar);
    // Close under the bar, so that the descenders stay above the page's lower frame.
    Label_NagyDigitalisOraEvNapja = TextLabel(digital, "Label_NagyDigitalisOraEvNapja", 10, 280, 300, 14,
                                              QString(), ArialPx(11), Qt::AlignLeft);

    QWidget* analog = TabSheet_AnalogOra;
    Image_MutatosOraAlap =
        QImage(QStringLiteral(":/kelvator/dial.bmp")).convertToFormat(QImage::Format_RGB32);
    PaintBox_MutatosOra = Place<TPaintBox>(analog, "PaintBox_MutatosOra", 8, 12, 280, 280);
    PaintBox_MutatosOra->setAttribute(Qt::WA_OpaquePaintEvent); // its picture covers it whole
    PaintBox_MutatosOra->onPaint = [this](QPainter& p) {
        if (Image_MutatosOraRajzolni.isNull() || clockFaceWaiting_)
            DrawAnalogClock();
        p.drawImage(0, 0, Image_MutatosOraRajzolni);
    };
    PaintBox_KisMutatosOra->onPaint = [this](QPainter& p) { PaintBox_KisMutatosOraPaint(p); };
    Label_NagyMutatosOraEv =
        TextLabel(analog, "Label_NagyMutatosOraEv", 290, 8, 124, 20, QString(), ArialPx(16), Qt::AlignRight);
    Label_NagyMutatosOraHonapNap = TextLabel(analog, "Label_NagyMutatosOraHonapNap", 290, 30, 124, 20,
                                             QString(), ArialPx(16, true), Qt::AlignHCenter);
    Label_NagyMutatosOraHetNapja = TextLabel(analog, "Label_NagyMutatosOraHetNapja", 290, 52, 124, 20,
                                             QString(), ArialPx(16), Qt::AlignRight);
    Label_ANagyMutatosOraEvHete = TextLabel(analog, "Label_ANagyMutatosOraEvHete", 288, 100, 50, 44,
                                            QStringLiteral("99"), ArialPx(37, true), Qt::AlignRight);
    Label_NagyMutatosOraEvHete = TextLabel(analog, "Label_NagyMutatosOraEvHete", 340, 114, 76, 22, QString(),
                                           ArialPx(16), Qt::AlignLeft);
    MBarGraph_NagyMutatosOraATeljesEv =
        ProgressBar(analog, "MBarGraph_NagyMutatosOraATeljesEv", 290, 250, 126, kYellowBar);
    Label_NagyMutatosOraEvNapja = TextLabel(analog, "Label_NagyMutatosOraEvNapja", 290, 270, 126, 16,
                                            QString(), ArialPx(11), Qt::AlignRight);
}

void TForm_Main::DrawAnalogClock()
{
    // Nobody sees the face of a window in the tray: it is drawn when the window paints again.
    clockFaceWaiting_ = WindowOutOfSight();
    if (clockFaceWaiting_)
        return;
    ClockFaceInput in;
    const QDateTime now = platform_.now();
    const QTime time = now.time();
    in.time = QTime(time.hour(), time.minute(), time.second()); // the face shows whole seconds
    in.dayOfWeek = now.date().dayOfWeek();
    in.overlayChoice = RadioGroup_MutatosOraKelvatorMegjelenites->itemIndex();
    in.blinkFlag = workEndBlinkFlag;
    in.schedule = schedule;
    if (calendarModel_.Enabled())
        in.workingDay = calendarModel_.Calendar().IsWorkingDay(now.date());
    for (size_t k = 0; k < 3; ++k)
        in.showBreak[k] = CheckBox_Szunet[k]->isChecked();
    // Five ticks a second, one new face a second: an unchanged face is neither drawn nor shown again.
    if (lastClockFace_ && *lastClockFace_ == in && !Image_MutatosOraRajzolni.isNull())
        return;
    lastClockFace_ = in;
    const qint64 before = Image_MutatosOraRajzolni.cacheKey();
    const QRect changed = clockFacePainter_.Draw(Image_MutatosOraRajzolni, Image_MutatosOraAlap, in);
    if (changed.isEmpty())
        return;
    // The small clock follows the change if it was up to date with the face before it.
    if (smallFaceKey_ == before) {
        smallFaceDirty_ |= changed;
        smallFaceKey_ = Image_MutatosOraRajzolni.cacheKey();
    }
    // Only what changed goes to the screen: on the small clock, the pixels its blocks shrink to.
    const QRect big = PaintBox_MutatosOra->rect();
    const int small = PaintBox_KisMutatosOra->width();
    const int faceSize = Image_MutatosOraRajzolni.width();
    PaintBox_MutatosOra->update(changed & big);
    PaintBox_KisMutatosOra->update(
        QRect(QPoint(changed.left() * small / faceSize, changed.top() * small / faceSize),
              QPoint((changed.right() * small + faceSize - 1) / faceSize,
                     (changed.bottom() * small + faceSize - 1) / faceSize)));
}

void TForm_Main::PaintBox_KisMutatosOraPaint(QPainter& p)
{
    if (Image_MutatosOraRajzolni.isNull() || clockFaceWaiting_)
        DrawAnalogClock();
    // Shrunk from what the big face last received, at the screen's own pixel density; a
    // face that moved only its second hand changes a few of the small clock's pixels.
    const QRect box = PaintBox_KisMutatosOra->rect();
    const qreal ratio = p.device()->devicePixelRatio();
    const int pixels = qMax(1, qRound(box.width() * ratio));
    const bool current = smallFace_.width() == pixels && smallFaceKey_ == Image_MutatosOraRajzolni.cacheKey();
    if (!current || !UpdateSmallClockFace(smallFace_, Image_MutatosOraRajzolni, smallFaceDirty_))
        smallFace_ = SmallClockFace(Image_MutatosOraRajzolni, box.width(), ratio);
    smallFaceKey_ = Image_MutatosOraRajzolni.cacheKey();
    smallFaceDirty_ = QRect();
    p.drawImage(QRectF(box), smallFace_);
}

void TForm_Main::TickAnalogClocks(const TickMoment&)
{
    // Drawn before this tick's schedule: the faces show the previous tick's work day.
    const bool workTime = WorkTimePageShown();
    // A new face asks both boxes to paint it; the small one shrinks it when it paints.
    if (BigAnalogClockShown() || workTime)
        DrawAnalogClock();
}

bool TForm_Main::WindowOutOfSight() const
{
    return (inTrayFlag && !isVisible()) || isMinimized();
}
