#include "app/form_main.h"

#include "app/tick_pacing.h"
#include "stopwatch/stopwatch_state.h"

#include "calendar/calendar_texts.h"
#include "calendar/numbermask.h"
#include "notice/notice_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>

#include <array>

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
    UpdateYearBlink();
    try {
        TickSteps();
        lastTickFailure_.clear();
    } catch (const std::exception& e) {
        ReportTickFailure(QString::fromUtf8(e.what()));
    }
}

void TForm_Main::Timer1Expired()
{
    const int interval = TickAndPace() * kTickStepMs;
    // A timer someone stopped stays stopped; one already on this pace keeps its grid.
    if (Timer1->isActive() && Timer1->interval() != interval)
        Timer1->start(interval);
}

int TForm_Main::TickAndPace()
{
    // The analog faces are drawn before the schedule and the work-end blink of their tick are
    // worked out, so a tick that changes either is followed by one that shows it.
    const WorkSchedule scheduleBefore = schedule;
    const bool blinkBefore = workEndBlinkFlag;
    Timer1Timer();
    const bool nextTickReadsThisOne = schedule != scheduleBefore || workEndBlinkFlag != blinkBefore;
    int steps = 1;
    // The event editor's texts turn at fractions of a second: there every step runs.
    if (!tickInputSeen_ && !nextTickReadsThisOne && !startUpFlag &&
        PageControl1->currentWidget() != TabSheet_EsemenyBeallitasa) {
        std::array<int, 8> phases{};
        size_t n = 0;
        phases[n++] = 0; // the wall clock's own seconds
        for (size_t i = 0; i < 6; ++i) {
            if (CheckBox_EsemenyLathato[i]->isChecked() && CheckBox_AzOraEsPercIsSzamit[i]->isChecked())
                phases[n++] = TimeOf(dtEsemeny[i]).msec();
        }
        if (iStopperAllapot == kStopwatchRunning && PageControl_Main->currentWidget() == TabSheet_Stopper)
            phases[n++] = TimeOf(dtStopperStart).msec();
        steps = TickStepsToNextChange(platform_.now().time().msec(), std::span<const int>(phases.data(), n));
    }
    tickInputSeen_ = false;
    return steps;
}

void TForm_Main::NoteTickInput(QObject* watched, const QEvent* event)
{
    const QEvent::Type type = event->type();
    if (IsOwnBookkeeping(type))
        return;
    if (type == QEvent::Timer && (watched == Timer1 || watched == Timer_AktualisNapVillogtatas))
        return;
    tickInputSeen_ = true;
    // A sleep of several steps ends at the next step of the same grid.
    if (Timer1 && Timer1->isActive() && Timer1->interval() > kTickStepMs)
        Timer1->start(Timer1->remainingTime() % kTickStepMs);
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

TickMoment TForm_Main::ReadMoment() const
{
    TickMoment m;
    m.now = platform_.now();
    m.today = m.now.date();
    m.time = m.now.time();
    m.value = ToDateTime(m.today, QTime::fromMSecsSinceStartOfDay(m.time.msecsSinceStartOfDay()));
    m.secondOfDay = SecondOfDay(m.time);
    m.workday = workCalendar.IsWorkingDay(m.today);
    m.weekdayName = WeekdayName(m.today);
    return m;
}

void TForm_Main::TickSteps()
{
    const TickMoment m = ReadMoment();
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
    if (outer != TabSheet_Main && outer != TabSheet_EsemenyBeallitasa)
        return;

    TickDateTexts(m);
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
    if (outer == TabSheet_EsemenyBeallitasa)
        RefreshEventEditor();
    RefreshEventList();
    if (PageControl_Main->currentWidget() == TabSheet_Stopper)
        RefreshStopwatch();
    previousTickSecond = m.secondOfDay;
}

void TForm_Main::AcknowledgeHourlyNotice()
{
    hourlyNoticeFlag = false;
    noticeAcknowledgedFlag = true;
    ShowOuterPage(TabSheet_Main);
    SetMainMenuEnabled(true);
}
