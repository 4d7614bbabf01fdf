#include "app/form_main.h"

#include "app/tick_source.h"
#include "app/tray_control.h"
#include "app/work_end_signal.h"
#include "stopwatch/stopwatch_page.h"

#include "calendar/calendar_texts.h"
#include "calendar/numbermask.h"
#include "clocks/big_clock_page.h"
#include "events/event_editor_page.h"
#include "events/events_page.h"
#include "notice/notice_page.h"
#include "settings/settings_page.h"
#include "widgets/tshape.h"
#include "worktime/workend.h"
#include "worktime/worktime_page.h"
#include "yearcal/yeargrid_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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
    if (startUpFlag_)
        return;
    yearGridPage_->UpdateBlink();
    try {
        TickSteps();
        lastTickFailure_.clear();
    } catch (const std::exception& e) {
        // Shown once while the same failure recurs; the ticks go on behind the box.
        const QString message = QString::fromUtf8(e.what());
        if (message != lastTickFailure_) {
            lastTickFailure_ = message;
            if (platform_.errorBox)
                platform_.errorBox(this, message);
        }
    }
}

void TForm_Main::MakeTickSource()
{
    auto tick = [this] {
        // The analog faces are drawn before the schedule and the work-end blink of their tick
        // are worked out, so a tick that changes either is followed by one that shows it.
        const WorkSchedule scheduleBefore = work_.schedule;
        const bool blinkBefore = workEndSignal_->Blinking();
        Timer1Timer();
        return work_.schedule != scheduleBefore || workEndSignal_->Blinking() != blinkBefore;
    };
    auto needs = [this] {
        TickNeeds needs;
        // The event editor's texts turn at fractions of a second: there every step runs.
        needs.everyStep = startUpFlag_ || PageControl1->currentWidget() == eventEditorPage_;
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

void TForm_Main::TickSteps()
{
    const TickMoment m = MomentOf(platform_.now(), calendarModel_.Calendar());
    const QTime& time = m.time;

    // Hourly notice: armed in seconds 0-2 of every full hour, held until acknowledged.
    if (settingsModel_.Get().hourlyNotice && time.minute() == 0 && time.second() <= 2) {
        hourlyNoticeFlag_ = true;
        noticeAcknowledgedFlag_ = false;
        tray_->NotifyWhileHidden(TrayControl::Event::HourlyNotice,
                                 QDateTime(m.today, QTime(m.time.hour(), 0)),
                                 FormatMask(m.time.hour(), u"0") + u':' + FormatMask(0, u"00"));
    }
    if (hourlyNoticeFlag_ && !noticeAcknowledgedFlag_) {
        noticePage_->ShowTime(time);
        if (PageControl1->currentWidget() != noticePage_)
            ShowOuterPage(noticePage_);
        if (time.second() != lastPulseSecond_) {
            lastPulseSecond_ = time.second();
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
    if (outer != TabSheet_Main && outer != eventEditorPage_) {
        // The tray's reminder and icon follow the day behind the other pages too.
        if (tray_->FollowsDay()) {
            work_ = ComputeWorkSnapshot(m, settingsModel_.Get(), calendarModel_);
            tray_->ShowDay(m, work_, settingsModel_.Get(), calendarModel_);
        }
        return;
    }

    ShowTick(m);
    tray_->ShowDay(m, work_, settingsModel_.Get(), calendarModel_);
    tray_->ShowStopwatchRunning(stopwatchPage_->Running());
    if (outer == eventEditorPage_)
        eventEditorPage_->Refresh(platform_.now());
    eventsPage_->Refresh(platform_.now());
    if (PageControl_Main->currentWidget() == stopwatchPage_)
        stopwatchPage_->Refresh(platform_.now());
    previousTickSecond_ = m.secondOfDay;
}

// ---- The pages' share of a tick, in tick order ------------------------------------------------

void TForm_Main::ShowTick(const TickMoment& m)
{
    const Settings& settings = settingsModel_.Get();
    QWidget* const shown = PageControl_Main->currentWidget();
    workTimePage_->ShowDate(m.today);
    if (shown == yearGridPage_)
        yearGridPage_->Refresh(m.today);
    const TimeTexts timeTexts = MakeTimeTexts(m.time, settings.twelveHourClock);
    workTimePage_->ShowTime(timeTexts);

    const NewYearsEve newYearsEve = NewYearsEveText(m.value);
    const double yearProgress = YearProgress(m.today);
    workTimePage_->ShowYear(m.today, newYearsEve, yearProgress);
    if (shown == bigClockPage_) {
        bigClockPage_->ShowTexts({m.today, DateLabelText(m.today), m.weekdayName, timeTexts, newYearsEve,
                                  yearProgress, QString::number(IsoWeekNumber(m.today)),
                                  WeeksInYearText(m.today.year())});
    }

    // Drawn before this tick's schedule: the faces show the previous tick's work day. A new face
    // asks both boxes to paint it; the small one shrinks it when it paints.
    if ((shown == bigClockPage_ && bigClockPage_->AnalogShown()) || shown == workTimePage_)
        clockFace_.Update();

    // A change of the work calendar draws the month calendars' days again.
    workTimePage_->ShowDaysOff(DaysOffTest(calendarModel_), int(calendarModel_.Revision()));
    ShowDateCalcWorkCalendar();
    workTimePage_->ShowDistance(m.value);

    work_ = ComputeWorkSnapshot(m, settings, calendarModel_);
    workTimePage_->ShowWorkBars(work_.dayBar, work_.weekBar);
    workTimePage_->ShowPayday(m.today, work_.payday, work_.pattern.isWorkingDay, calendarModel_.Revision());
    if (m.workday)
        workTimePage_->ShowWorkEnd(workEndSignal_->Step(m, work_.schedule.workEnd, previousTickSecond_));

    workTimePage_->ShowMonthProgress(work_.monthProgress);
    const double salary = ParseWholeNumber(settings.monthlySalary);
    workTimePage_->ShowMonthPay(MonthPayOf(work_, salary, calendarModel_.WeekdayHoursInUse()),
                                work_.monthWork.workingDays);
}
