// The stopwatch page: start, laps and stop, kept across restarts, and its dial.
#include "app/form_main.h"

#include "clocks/analog_clock.h"
#include "stopwatch/stopwatch_state.h"
#include "widgets/tpaintbox.h"
#include "widgets/widget_factory.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace kelvator;

void TForm_Main::BuildStopwatchPage()
{
    QWidget* page = TabSheet_Stopper;
    Edit_Stopper = Place<QLineEdit>(page, "Edit_Stopper", 12, 8, 280, 22);
    Edit_Stopper->setText(QStringLiteral("Stopper óra"));
    Edit_Stopper->setToolTip(QStringLiteral("Ide beírhatja, a stopper órával mért esemény nevét."));
    Edit_Stopper->setAlignment(Qt::AlignHCenter);

    PaintBox_StopperOra = Place<TPaintBox>(page, "PaintBox_StopperOra", 12, 37, 280, 280);
    PaintBox_StopperOra->setAttribute(Qt::WA_OpaquePaintEvent); // its picture covers it whole
    PaintBox_StopperOra->onPaint = [this](QPainter& p) {
        if (Image_StopperOraRajzolni.isNull() || stopwatchFaceWaiting_)
            PaintBox_StopperOraPaint();
        p.drawImage(0, 0, Image_StopperOraRajzolni);
    };

    Label_StopperIdo = Place<QLabel>(page, "Label_StopperIdo", 300, 37, 204, 36, QStringLiteral("00:00:00"));
    Label_StopperIdo->setFont(ArialPx(27));
    Label_StopperIdo->setAlignment(Qt::AlignCenter);
    Button_StopperStart =
        Place<QPushButton>(page, "Button_StopperStart", 300, 80, 204, 27, QStringLiteral("Start (00:00:00)"));
    Button_StopperReszido = Place<QPushButton>(page, "Button_StopperReszido", 300, 112, 204, 27,
                                               QStringLiteral("Részidő kiírása"));
    Button_StopperStop =
        Place<QPushButton>(page, "Button_StopperStop", 300, 144, 204, 27, QStringLiteral("Stop"));
    for (QPushButton* b : {Button_StopperStart, Button_StopperReszido, Button_StopperStop})
        b->setEnabled(false); // the first refresh enables the right ones
    connect(Button_StopperStart, &QPushButton::clicked, this, &TForm_Main::Button_StopperStartClick);
    connect(Button_StopperReszido, &QPushButton::clicked, this, &TForm_Main::Button_StopperReszidoClick);
    connect(Button_StopperStop, &QPushButton::clicked, this, &TForm_Main::Button_StopperStopClick);
    ListBox_Stopper = Place<QListWidget>(page, "ListBox_Stopper", 300, 180, 204, 137);
}

void TForm_Main::Button_StopperStartClick()
{
    const QDateTime now = platform_.now();
    dtStopperStart = ToDateTime(now);
    iStopperAllapot = kStopwatchRunning;
    iStopperReszido = 0;
    ListBox_Stopper->clear();
    ListBox_Stopper->addItem(QStringLiteral("Start: ") +
                             TimeStamp(now.time(), CheckBox_12OrasKijelzes->isChecked()));
    RefreshStopwatch();
    Button_StopperReszido->setFocus();
}

void TForm_Main::Button_StopperReszidoClick()
{
    ++iStopperReszido;
    ListBox_Stopper->addItem(LapLine(iStopperReszido, ElapsedOf(stopwatchElapsed)));
    RefreshStopwatch();
}

void TForm_Main::Button_StopperStopClick()
{
    const QDateTime now = platform_.now();
    dtStopperStop = ToDateTime(now);
    iStopperAllapot = kStopwatchStopped;
    ListBox_Stopper->addItem(QStringLiteral("Stop: ") +
                             TimeStamp(now.time(), CheckBox_12OrasKijelzes->isChecked()));
    RefreshStopwatch();
}

void TForm_Main::RefreshStopwatch()
{
    const TDateTime now = ToDateTime(platform_.now());
    switch (iStopperAllapot) {
    case kStopwatchIdle:
        stopwatchElapsed = 0;
        Button_StopperStart->setEnabled(true);
        Button_StopperReszido->setEnabled(false);
        Button_StopperStop->setEnabled(false);
        break;
    case kStopwatchRunning: {
        stopwatchElapsed = now - dtStopperStart;
        Button_StopperStart->setEnabled(false);
        const bool lapWas = Button_StopperReszido->isEnabled();
        Button_StopperReszido->setEnabled(iStopperReszido < kMaxLaps);
        Button_StopperStop->setEnabled(true);
        if (lapWas != Button_StopperReszido->isEnabled())
            Button_StopperStop->setFocus();
        if (stopwatchElapsed > kAutoStopDays) {
            dtStopperStop = dtStopperStart + kAutoStopDays;
            iStopperAllapot = kStopwatchStopped;
            ListBox_Stopper->addItem(QStringLiteral("Stop: ") +
                                     TimeStamp(TimeOf(dtStopperStop), CheckBox_12OrasKijelzes->isChecked()));
        }
        break;
    }
    case kStopwatchStopped: {
        stopwatchElapsed = dtStopperStop - dtStopperStart;
        Button_StopperStart->setEnabled(true);
        Button_StopperReszido->setEnabled(false);
        const bool stopWas = Button_StopperStop->isEnabled();
        Button_StopperStop->setEnabled(false);
        if (stopWas)
            Button_StopperStart->setFocus();
        break;
    }
    default:
        break; // a state the file should not hold: leave everything as it is
    }
    PaintBox_StopperOraPaint();
    const QString text = ElapsedText(ElapsedOf(stopwatchElapsed));
    if (Label_StopperIdo->text() != text)
        Label_StopperIdo->setText(text);
}

void TForm_Main::PaintBox_StopperOraPaint()
{
    if (Image_MutatosOraAlap.isNull())
        return;
    // As the clock face: a window in the tray draws its dial when it paints again.
    stopwatchFaceWaiting_ = WindowOutOfSight();
    if (stopwatchFaceWaiting_)
        return;
    const Elapsed e = ElapsedOf(stopwatchElapsed);
    const QTime shown(e.h % 24, e.m, e.s);
    if (lastStopwatchFace_ == shown && !Image_StopperOraRajzolni.isNull())
        return; // the dial moves once a second; the ticks between draw nothing new
    lastStopwatchFace_ = shown;
    DrawStopwatchFace(Image_StopperOraRajzolni, Image_MutatosOraAlap, e.h, e.m, e.s);
    PaintBox_StopperOra->update();
}
