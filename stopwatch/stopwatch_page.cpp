#include "stopwatch/stopwatch_page.h"

#include "clocks/analog_clock.h"
#include "settings/settings_model.h"
#include "stopwatch/stopwatch_state.h"
#include "widgets/tpaintbox.h"
#include "widgets/widget_factory.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <utility>

namespace kelvator {

StopwatchPage::StopwatchPage(Queries queries, QWidget* parent)
    : QWidget(parent)
    , queries_(std::move(queries))
{
    setObjectName(QStringLiteral("TabSheet_Stopper"));
    nameEdit_ = Place<QLineEdit>(this, "Edit_Stopper", 12, 8, 280, 22);
    nameEdit_->setText(QStringLiteral("Stopper óra"));
    nameEdit_->setToolTip(QStringLiteral("Ide beírhatja, a stopper órával mért esemény nevét."));
    nameEdit_->setAlignment(Qt::AlignHCenter);

    dialBox_ = Place<TPaintBox>(this, "PaintBox_StopperOra", 12, 37, 280, 280);
    dialBox_->setAttribute(Qt::WA_OpaquePaintEvent); // its picture covers it whole
    dialBox_->onPaint = [this](QPainter& p) {
        if (face_.isNull() || faceWaiting_)
            DrawFace();
        p.drawImage(0, 0, face_);
    };

    elapsedLabel_ = Place<QLabel>(this, "Label_StopperIdo", 300, 37, 204, 36, QStringLiteral("00:00:00"));
    elapsedLabel_->setFont(ArialPx(27));
    elapsedLabel_->setAlignment(Qt::AlignCenter);
    startButton_ =
        Place<QPushButton>(this, "Button_StopperStart", 300, 80, 204, 27, QStringLiteral("Start (00:00:00)"));
    lapButton_ = Place<QPushButton>(this, "Button_StopperReszido", 300, 112, 204, 27,
                                    QStringLiteral("Részidő kiírása"));
    stopButton_ = Place<QPushButton>(this, "Button_StopperStop", 300, 144, 204, 27, QStringLiteral("Stop"));
    for (QPushButton* b : {startButton_, lapButton_, stopButton_})
        b->setEnabled(false); // the first refresh enables the right ones
    connect(startButton_, &QPushButton::clicked, this, &StopwatchPage::Start);
    connect(lapButton_, &QPushButton::clicked, this, &StopwatchPage::Lap);
    connect(stopButton_, &QPushButton::clicked, this, &StopwatchPage::Stop);
    lapList_ = Place<QListWidget>(this, "ListBox_Stopper", 300, 180, 204, 137);
}

void StopwatchPage::ShowSettings(const Settings& s)
{
    nameEdit_->setText(s.stopwatchName);
    start_ = s.stopwatchStart;
    stop_ = s.stopwatchStop;
    state_ = s.stopwatchState;
    laps_ = s.stopwatchLap;
    lapList_->clear();
    lapList_->addItems(s.laps);
}

void StopwatchPage::CollectSettings(Settings& s) const
{
    s.stopwatchName = nameEdit_->text();
    s.stopwatchStart = start_;
    s.stopwatchStop = stop_;
    s.stopwatchState = state_;
    s.stopwatchLap = laps_;
    s.laps.clear();
    for (int i = 0; i < lapList_->count(); ++i)
        s.laps.append(lapList_->item(i)->text());
}

void StopwatchPage::SetDialArtwork(const QImage& artwork)
{
    artwork_ = artwork;
}

void StopwatchPage::Start()
{
    const QDateTime now = queries_.now();
    start_ = ToDateTime(now);
    state_ = kStopwatchRunning;
    laps_ = 0;
    lapList_->clear();
    lapList_->addItem(QStringLiteral("Start: ") + TimeStamp(now.time(), queries_.twelveHourClock()));
    Refresh(queries_.now());
    lapButton_->setFocus();
}

void StopwatchPage::StartOrStop()
{
    Refresh(queries_.now()); // a stopwatch past its longest run has stopped by now
    if (state_ == kStopwatchRunning)
        Stop();
    else if (startButton_->isEnabled())
        Start();
}

bool StopwatchPage::Running() const
{
    return state_ == kStopwatchRunning;
}

void StopwatchPage::Lap()
{
    ++laps_;
    lapList_->addItem(LapLine(laps_, ElapsedOf(elapsed_)));
    Refresh(queries_.now());
}

void StopwatchPage::Stop()
{
    const QDateTime now = queries_.now();
    stop_ = ToDateTime(now);
    state_ = kStopwatchStopped;
    lapList_->addItem(QStringLiteral("Stop: ") + TimeStamp(now.time(), queries_.twelveHourClock()));
    Refresh(queries_.now());
}

void StopwatchPage::Refresh(const QDateTime& now)
{
    switch (state_) {
    case kStopwatchIdle:
        elapsed_ = 0;
        startButton_->setEnabled(true);
        lapButton_->setEnabled(false);
        stopButton_->setEnabled(false);
        break;
    case kStopwatchRunning: {
        elapsed_ = ToDateTime(now) - start_;
        startButton_->setEnabled(false);
        const bool lapWas = lapButton_->isEnabled();
        lapButton_->setEnabled(laps_ < kMaxLaps);
        stopButton_->setEnabled(true);
        if (lapWas != lapButton_->isEnabled())
            stopButton_->setFocus();
        if (elapsed_ > kAutoStopDays) {
            stop_ = start_ + kAutoStopDays;
            state_ = kStopwatchStopped;
            lapList_->addItem(QStringLiteral("Stop: ") +
                              TimeStamp(TimeOf(stop_), queries_.twelveHourClock()));
        }
        break;
    }
    case kStopwatchStopped: {
        elapsed_ = stop_ - start_;
        startButton_->setEnabled(true);
        lapButton_->setEnabled(false);
        const bool stopWas = stopButton_->isEnabled();
        stopButton_->setEnabled(false);
        if (stopWas)
            startButton_->setFocus();
        break;
    }
    default:
        break; // a state the file should not hold: leave everything as it is
    }
    DrawFace();
    const QString text = ElapsedText(ElapsedOf(elapsed_));
    if (elapsedLabel_->text() != text)
        elapsedLabel_->setText(text);
}

void StopwatchPage::FocusLastEnabledButton()
{
    for (QPushButton* b : {stopButton_, lapButton_, startButton_}) {
        if (b->isEnabled())
            b->setFocus();
    }
}

std::optional<int> StopwatchPage::TickPhaseMs() const
{
    if (state_ != kStopwatchRunning)
        return std::nullopt;
    return TimeOf(start_).msec();
}

void StopwatchPage::DrawFace()
{
    if (artwork_.isNull())
        return;
    // As the clock face: a window in the tray draws its dial when it paints again.
    faceWaiting_ = queries_.outOfSight();
    if (faceWaiting_)
        return;
    const Elapsed e = ElapsedOf(elapsed_);
    const QTime shown(e.h % 24, e.m, e.s);
    if (lastFace_ == shown && !face_.isNull())
        return; // the dial moves once a second; the ticks between draw nothing new
    lastFace_ = shown;
    DrawStopwatchFace(face_, artwork_, e.h, e.m, e.s);
    dialBox_->update();
}

} // namespace kelvator
