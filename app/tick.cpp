#include "app/form_main.h"

#include "app/tick_source.h"
#include "stopwatch/stopwatch_page.h"

#include "calendar/calendar_texts.h"
#include "calendar/numbermask.h"
#include "events/event_editor_page.h"
#include "events/events_page.h"
#include "notice/notice_page.h"
#include "yearcal/yeargrid_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>

#include <utility>

using namespace kelvator;

namespace {
const QString& Caption()
{
    static const QString caption = QStringLiteral("Kelvator   V") + FormatMask(2016, u"0") + u'.' +
                                   FormatMask(8, u"00") + u'.' + FormatMask(1, u"00") + u'.';
    return caption;
}
} // namespace

void TForm_Main::Timer1Timer()
{
    setWindowTitle(Caption());
    if (startUpFlag)
        return;
    yearGridPage_->UpdateBlink();
    try {
        TickSteps();
        lastTickFailure_.clear();
    } catch (const std::exception& e) {
        ReportTickFailure(QString::fromUtf8(e.what()));
    }
}

void TForm_Main::MakeTickSource()
{
    auto tick = [this] {
        // The analog faces are drawn before the schedule and the work-end blink of their tick
        // are worked out, so a tick that changes either is followed by one that shows it.
        const WorkSchedule scheduleBefore = schedule;
        const bool blinkBefore = workEndBlinkFlag;
        Timer1Timer();
        return schedule != scheduleBefore || workEndBlinkFlag != blinkBefore;
    };
    auto needs = [this] {
        TickNeeds needs;
        // The event editor's texts turn at fractions of a second: there every step runs.
        needs.everyStep = startUpFlag || PageControl1->currentWidget() == eventEditorPage_;
        if (needs.everyStep)
            return needs;
        needs.phasesMs = eventsPage_->TurnPhasesMs();
        if (PageControl_Main->currentWidget() == stopwatchPage_) {
            if (const std::optional<int> phase = stopwatchPage_->TickPhaseMs())
                needs.phasesMs.push_back(*phase);
        }
        return needs;
    };
    tickSource_ = new TickSource(
        tick, needs, [this] { return platform_.now(); }, this);
}

void TForm_Main::ReportTickFailure(const QString& message)
{
    // Shown once while the same failure recurs; the ticks go on behind the box.
    if (message == lastTickFailure_)
        return;
    lastTickFailure_ = message;
    if (platform_.errorBox)
        platform_.errorBox(this, message);
}

void TForm_Main::TickSteps()
{
    const TickMoment m = MomentOf(platform_.now(), calendarModel_.Calendar());
    const QTime& time = m.time;

    // Hourly notice: armed in seconds 0-2 of every full hour, held until acknowledged.
    if (CheckBox_BeallitasOrankentiHangjelzes->isChecked() && time.minute() == 0 && time.second() <= 2) {
        hourlyNoticeFlag = true;
        noticeAcknowledgedFlag = false;
        NotifyHourlyNotice(m);
    }
    if (hourlyNoticeFlag && !noticeAcknowledgedFlag) {
        noticePage_->ShowTime(time);
        if (PageControl1->currentWidget() != noticePage_)
            ShowOuterPage(noticePage_);
        if (time.second() != lastPulseSecond) {
            lastPulseSecond = time.second();
            noticePage_->Pulse();
            try {
                if (platform_.beep)
                    platform_.beep();
            } catch (...) {
                // A beep that fails is not worth a word.
            }
        }
    }

    // Only the main page and the event editor are kept up to date.
    QWidget* outer = PageControl1->currentWidget();
    if (outer != TabSheet_Main && outer != eventEditorPage_)
        return;

    TickDateTexts(m);
    if (PageControl_Main->currentWidget() == yearGridPage_)
        yearGridPage_->Refresh(m.today);
    TickTimeTexts(m);
    TickYear(m);
    TickAnalogClocks(m);
    TickCalendarDistance(m);
    TickSchedule(m);
    TickWorkBars(m);
    TickPayday(m);
    if (m.workday)
        TickWorkEnd(m);
    TickMonth(m);
    if (outer == eventEditorPage_)
        eventEditorPage_->Refresh(platform_.now());
    eventsPage_->Refresh(platform_.now());
    if (PageControl_Main->currentWidget() == stopwatchPage_)
        stopwatchPage_->Refresh(platform_.now());
    previousTickSecond = m.secondOfDay;
}

void TForm_Main::AcknowledgeHourlyNotice()
{
    hourlyNoticeFlag = false;
    noticeAcknowledgedFlag = true;
    ShowOuterPage(TabSheet_Main);
    SetMainMenuEnabled(true);
}
