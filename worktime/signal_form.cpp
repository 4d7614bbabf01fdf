// Payday, earnings and the work-end signal of the work-time page, and the sound settings.
#include "app/form_main.h"

#include "settings/settings_page.h"
#include "widgets/mbargraph.h"
#include "widgets/tmonthcalendar.h"
#include "widgets/tshape.h"
#include "worktime/payday.h"
#include "worktime/workend.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace kelvator;

namespace {
QString ToolTipText(QString hint)
{
    return hint.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Every call to the player is guarded: a failure ends that action and nothing else.
template <typename Action> bool Guarded(Action action)
{
    try {
        return action();
    } catch (...) {
        return false;
    }
}
} // namespace

// ---- Payday and earnings -------------------------------------------------------------------

void TForm_Main::TickPayday(const TickMoment& m)
{
    const PaydayChoice& choice = work_.payday;
    const QDate payday = choice.payday;
    // The strip depends on nothing but the two dates and why the payday moved: once drawn it
    // stands until one changes.
    if (m.today == paydayStripToday_ && payday == paydayStripPayday_ &&
        choice.offHoliday == paydayStripOffHoliday_ && calendarModel_.Revision() == paydayStripVersion_)
        return;
    paydayStripVersion_ = calendarModel_.Revision();
    paydayStripToday_ = m.today;
    paydayStripPayday_ = payday;
    paydayStripOffHoliday_ = choice.offHoliday;
    const PaydayStrip strip = BuildPaydayStrip(m.today, choice, work_.pattern.isWorkingDay);
    const QString markerTip = ToolTipText(strip.markerHint);
    if (Shape_Fizetesnap->toolTip() != markerTip)
        Shape_Fizetesnap->setToolTip(markerTip);
    try {
        for (size_t k = 0; k < DaySquares.size(); ++k) {
            TShape* square = DaySquares[k];
            const DaySquare& want = strip.squares[k];
            if (want.visible) {
                square->setBrushColor(want.fill);
                const QString tip = ToolTipText(want.hint);
                if (square->toolTip() != tip)
                    square->setToolTip(tip);
                square->setTag(want.tag);
            }
            if (square->isVisibleTo(TabSheet_Kelvator) != want.visible)
                square->setVisible(want.visible);
        }
    } catch (...) {
        // The strip is decoration: a failure here leaves the rest of the tick alone.
    }
    Label_FizetesNNapMulva->setText(strip.label);
    FitPaydayLabel(!strip.markerVisible);
    if (strip.markerTag)
        Shape_Fizetesnap->setTag(*strip.markerTag);
    if (Shape_Fizetesnap->isVisibleTo(TabSheet_Kelvator) != strip.markerVisible)
        Shape_Fizetesnap->setVisible(strip.markerVisible);
}

void TForm_Main::TickEarnings()
{
    const double salary = ParseWholeNumber(settingsModel_.Get().monthlySalary);
    Label_KeresettPenz->setText(EarnedText(salary, work_.monthProgress));
    const bool shown = SpeedButton_FizetesKijelzes->isChecked();
    Label_KeresettPenz->setVisible(shown);
    Label_Oraber->setVisible(shown);
    const MonthWork& monthWork = work_.monthWork;
    if (monthWork.workingDays == 0)
        return; // nothing due this month: no wage to work out
    if (!WeekdayHoursInUse())
        Label_Oraber->setText(HourlyWageText(salary, monthWork.workingDays, schedule.Length()));
    else if (monthWork.dueSeconds > 0)
        Label_Oraber->setText(HourlyWageText(salary, monthWork));
}

void TForm_Main::SpeedButton_FizetesKijelzesClick()
{
    Timer1Timer();
}

void TForm_Main::Shape_FizetesnapMouseDown(TShape* shape, Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    MonthCalendar1->setSelectedDate(platform_.now().date().addDays(shape->tag()));
}

// ---- Work-end signal ---------------------------------------------------------------------

void TForm_Main::TickWorkEnd(const TickMoment& m)
{
    const WorkEndStep step = StepWorkEnd(m.secondOfDay, schedule.workEnd, previousTickSecond,
                                         MBarGraph_Munakanap->MBGPlusColorAt1(), workEndBlinkFlag,
                                         static_cast<WorkEndSound>(settingsModel_.Get().workEndSound),
                                         soundFileOpenFlag, playerIdleFlag);
    if (MBarGraph_Munakanap->MBGPlusColorAt1() != step.barColour)
        MBarGraph_Munakanap->setMBGPlusColorAt1(step.barColour);
    workEndBlinkFlag = step.blinkFlag;
    const int sinceEnd = m.secondOfDay - schedule.workEnd;
    if (sinceEnd >= 0 && sinceEnd <= kWorkEndWindow)
        NotifyWorkEnd(m, schedule.workEnd);
    if (step.beep) {
        Guarded([this] {
            if (platform_.beep)
                platform_.beep();
            return true;
        });
    }
    if (step.startSound && platform_.sound) {
        if (Guarded([this] { return platform_.sound->Rewind() && platform_.sound->Play(); })) {
            playerIdleFlag = false;
            settingsPage_->ShowSoundPlaying(!playerIdleFlag);
        }
    }
    if (step.rearm) {
        playerIdleFlag = true;
        settingsPage_->ShowSoundPlaying(!playerIdleFlag);
    }
}

void TForm_Main::ChooseWorkEndSoundFile()
{
    if (!platform_.openFile)
        return;
    const QString path = settingsModel_.Get().workEndSoundFile;
    const QFileInfo current(path);
    OpenFileRequest request;
    request.title = QStringLiteral("Kelvator végét jelző hang fájl kiválasztása");
    request.defaultSuffix = QStringLiteral("mp3");
    request.filters = {QStringLiteral("hang fájl (*.mp3)"), QStringLiteral("hang fájl (*.wav)")};
    request.fileName = path.isEmpty() ? QString() : current.fileName();
    request.folder = path.isEmpty() ? QString() : current.absolutePath();
    const QString chosen = platform_.openFile(this, request);
    if (chosen.isEmpty())
        return;
    settingsPage_->SetWorkEndSoundFile(chosen);
    if (!platform_.sound)
        return;
    SoundPlayer& player = *platform_.sound;
    // One guarded run: a failing step leaves what was done before it.
    Guarded([&] {
        if (!playerIdleFlag && !player.Stop())
            return false;
        if (soundFileOpenFlag && !player.Close())
            return false;
        if (!player.Open(chosen))
            return false;
        soundFileOpenFlag = true;
        if (!player.Rewind() || !player.Play())
            return false;
        playerIdleFlag = false;
        settingsPage_->ShowSoundPlaying(!playerIdleFlag);
        return true;
    });
}

void TForm_Main::PlayOrStopWorkEndSound()
{
    if (!platform_.sound)
        return;
    SoundPlayer& player = *platform_.sound;
    if (playerIdleFlag) {
        if (Guarded([&] { return player.Rewind() && player.Play(); })) {
            playerIdleFlag = false;
            settingsPage_->ShowSoundPlaying(!playerIdleFlag);
        }
    } else if (Guarded([&] { return player.Stop(); })) {
        playerIdleFlag = true;
        settingsPage_->ShowSoundPlaying(!playerIdleFlag);
    }
}

void TForm_Main::WorkEndSoundPicked(int index)
{
    if (index == 2 || playerIdleFlag || !soundFileOpenFlag)
        return;
    if (platform_.sound)
        Guarded([this] { return platform_.sound->Stop(); });
    playerIdleFlag = true;
    settingsPage_->ShowSoundPlaying(!playerIdleFlag);
}
