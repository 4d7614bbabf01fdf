// The work-time page: today's date and time, the week, the year and the work bars.
#include "app/form_main.h"

#include "calendar/calendar_texts.h"
#include "calendar/numbermask.h"
#include "clocks/big_clock_page.h"
#include "widgets/mbargraph.h"
#include "widgets/tmonthcalendar.h"
#include "widgets/tpaintbox.h"
#include "widgets/tshape.h"
#include "widgets/widget_factory.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

using namespace kelvator;

namespace {
constexpr int kPaydayLabelWidth = 118;
// The right edge of the work bars, which the payday row lines up with.
constexpr int kPaydayRowRight = 503;
} // namespace

void TForm_Main::BuildWorkTimePage()
{
    QWidget* page = TabSheet_Kelvator;
    GroupBox1 = Place<QGroupBox>(page, "GroupBox1", 4, 0, 202, 190, QStringLiteral("Ma:"));
    Label_Datum = TextLabel(GroupBox1, "Label_Datum", 4, 16, 194, 24, QStringLiteral("Label_Datum"),
                            ArialPx(19), Qt::AlignHCenter);

    Panel1 = Place<QFrame>(GroupBox1, "Panel1", 8, 48, 110, 48);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAutoFillBackground(true);
    QPalette panelPalette = Panel1->palette();
    panelPalette.setColor(QPalette::Window, ToQColor(0x0073D1D7));
    panelPalette.setColor(QPalette::WindowText, Qt::black); // on khaki whatever the desktop's colours
    Panel1->setPalette(panelPalette);
    Label_DelutanSzoveg = TextLabel(Panel1, "Label_DelutanSzoveg", 6, 2, 70, 13, QStringLiteral("DÉLUTÁN"),
                                    ArialPx(11), Qt::AlignLeft);
    Label_DelutanSzoveg->hide();
    Label_Ido =
        TextLabel(Panel1, "Label_Ido", 2, 14, 76, 32, QStringLiteral("00:00"), ArialPx(27), Qt::AlignRight);
    Label_Masodperc = TextLabel(Panel1, "Label_Masodperc", 80, 20, 26, 22, QStringLiteral("00"), ArialPx(16),
                                Qt::AlignLeft);

    PaintBox_KisMutatosOra = Place<TPaintBox>(GroupBox1, "PaintBox_KisMutatosOra", 123, 48, 70, 70);
    PaintBox_KisMutatosOra->setAttribute(Qt::WA_OpaquePaintEvent); // its picture covers it whole

    Label_EvHeteA = TextLabel(GroupBox1, "Label_EvHeteA", 4, 100, 44, 32, QStringLiteral("99"),
                              ArialPx(27, true), Qt::AlignRight);
    Label_EvHete = TextLabel(GroupBox1, "Label_EvHete", 50, 110, 100, 18, QStringLiteral("Label_EvHete"),
                             ArialPx(13, true), Qt::AlignLeft);
    MBarGraph_ATeljesEv = ProgressBar(GroupBox1, "MBarGraph_ATeljesEv", 8, 142, 185, kYellowBar);
    Label_EvNapja = TextLabel(GroupBox1, "Label_EvNapja", 4, 163, 194, 18, QStringLiteral("Label_EvNapja"),
                              ArialPx(11), Qt::AlignHCenter);

    MonthCalendar1 = Place<TMonthCalendar>(page, "MonthCalendar1", 212, 4, 294, 158);
    connect(MonthCalendar1, &QCalendarWidget::clicked, this, &TForm_Main::Timer1Timer);
    MonthCalendar1->setDaysOff(DaysOffTest(), int(calendarModel_.Revision()));
    Button_Ma = Place<QPushButton>(page, "Button_Ma", 212, 166, 40, 22, QStringLiteral("Ma"));
    connect(Button_Ma, &QPushButton::clicked, this, &TForm_Main::Button_MaClick);
    Label_MikorVolt = TextLabel(page, "Label_MikorVolt", 256, 168, 250, 18, QStringLiteral("Label_MikorVolt"),
                                ArialPx(11), Qt::AlignHCenter);

    Label1 = Place<QLabel>(page, "Label1", 8, 199, 104, 14, QStringLiteral("Munkanap:"));
    MBarGraph_Munakanap = ProgressBar(page, "MBarGraph_Munakanap", 118, 197, 385, kOrange);
    Label2 = Place<QLabel>(page, "Label2", 8, 221, 104, 14, QStringLiteral("Munkahét:"));
    MBarGraph_Munakahet = ProgressBar(page, "MBarGraph_Munakahet", 118, 219, 385, kOrange);
    Label16 = Place<QLabel>(page, "Label16", 8, 237, 104, 13, QStringLiteral("E hónapban"));
    Label_Munkahonap =
        Place<QLabel>(page, "Label_Munkahonap", 8, 249, 104, 13, QStringLiteral("Munkahónap:"));
    MBarGraph_Munkahonap = ProgressBar(page, "MBarGraph_Munkahonap", 118, 241, 385, kOrange);

    Label_FizetesNNapMulva = Place<QLabel>(page, "Label_FizetesNNapMulva", 8, 266, kPaydayLabelWidth, 14,
                                           QStringLiteral("Label_FizetesNNapMulva"));
    Shape_Fizetesnap = Place<TShape>(page, "Shape_Fizetesnap", 406, 264, 10, 17);
    Shape_Fizetesnap->setKind(TShape::Kind::RoundRect);
    Shape_Fizetesnap->setBrushColor(0x0000FF00);
    connect(Shape_Fizetesnap, &TShape::mouseDown, this, &TForm_Main::Shape_FizetesnapMouseDown);

    GroupBox4 = Place<QGroupBox>(page, "GroupBox4", 4, 286, 502, 46);
    auto* pay = Place<QToolButton>(GroupBox4, "SpeedButton_FizetesKijelzes", 8, 14, 104, 24);
    pay->setText(QStringLiteral("Fizetés kiírása"));
    pay->setCheckable(true);
    SpeedButton_FizetesKijelzes = pay;
    connect(pay, &QToolButton::clicked, this, &TForm_Main::SpeedButton_FizetesKijelzesClick);
    Label_KeresettPenz = TextLabel(GroupBox4, "Label_KeresettPenz", 118, 18, 180, 16,
                                   QStringLiteral("Label_KeresettPenz"), ArialPx(13, true), Qt::AlignRight);
    Label_KeresettPenz->hide();
    Label_Oraber = TextLabel(GroupBox4, "Label_Oraber", 306, 18, 186, 16, QStringLiteral("Label_Oraber"),
                             ArialPx(13, true), Qt::AlignRight);
    Label_Oraber->hide();
}

void TForm_Main::FitPaydayLabel(bool alone)
{
    // Why a payday has passed stands alone on the row, with no squares and no marker beside it:
    // it takes the whole row so that it is read in full.
    QLabel* label = Label_FizetesNNapMulva;
    const int width = alone ? kPaydayRowRight - label->x() : kPaydayLabelWidth;
    if (label->width() != width)
        label->resize(width, label->height());
}

void TForm_Main::Button_MaClick()
{
    MonthCalendar1->setSelectedDate(platform_.now().date());
    Timer1Timer();
}

namespace {
// Labels are rewritten five times a second; an unchanged text costs nothing.
void SetText(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}
void SetShown(QWidget* w, bool shown)
{
    if (w->isVisibleTo(w->parentWidget()) != shown)
        w->setVisible(shown);
}
} // namespace

void TForm_Main::TickDateTexts(const TickMoment& m)
{
    SetText(Label_Datum, DateLabelText(m.today));
}

void TForm_Main::TickTimeTexts(const TickMoment& m)
{
    const TimeTexts t = MakeTimeTexts(m.time, CheckBox_12OrasKijelzes->isChecked());
    afternoonFlag = t.afternoon;
    SetText(Label_Ido, t.hourMinute);
    SetShown(Label_DelutanSzoveg, afternoonFlag);
    SetText(Label_Masodperc, t.second);
}

void TForm_Main::TickYear(const TickMoment& m)
{
    // New Year's Eve text, the year bar and the ISO week, in that order.
    newYearsEve = NewYearsEveText(m.value);
    SetText(Label_EvNapja, newYearsEve.LabelText());
    yearProgress = YearProgress(m.today);
    MBarGraph_ATeljesEv->setMBGValue(yearProgress);
    SetText(Label_EvHeteA, QString::number(IsoWeekNumber(m.today)));
    SetText(Label_EvHete, WeeksInYearText(m.today.year()));
    if (PageControl_Main->currentWidget() == bigClockPage_) {
        bigClockPage_->ShowTexts({m.today,
                                  Label_Datum->text(),
                                  m.weekdayName,
                                  {afternoonFlag, Label_Ido->text(), Label_Masodperc->text()},
                                  newYearsEve,
                                  yearProgress,
                                  Label_EvHeteA->text(),
                                  Label_EvHete->text()});
    }
}

bool TForm_Main::WorkTimePageShown() const
{
    return PageControl_Main->currentWidget() == TabSheet_Kelvator;
}

bool TForm_Main::BigAnalogClockShown() const
{
    return PageControl_Main->currentWidget() == bigClockPage_ && bigClockPage_->AnalogShown();
}

std::function<bool(const QDate&)> TForm_Main::DaysOffTest() const
{
    // Asked at every paint, so a calendar changed elsewhere is drawn right when shown again.
    return [this](const QDate& d) {
        return calendarModel_.Enabled() && !calendarModel_.Calendar().IsWorkingDay(d);
    };
}

void TForm_Main::TickCalendarDistance(const TickMoment& m)
{
    // A change of the work calendar draws the month calendars' days again.
    MonthCalendar1->setDaysOff(DaysOffTest(), int(calendarModel_.Revision()));
    ShowDateCalcWorkCalendar();
    Label_MikorVolt->setText(
        DateDifferenceText(false, true, ToDateTime(MonthCalendar1->selectedDate()), m.value));
}

Settings TForm_Main::TickSettings() const
{
    // The page's controls still hold what is being edited there; the tick counts with them.
    Settings s = settingsModel_.Get();
    s.workStartHour = CheckedFieldText(Edit_MIKOra);
    s.workStartMinute = CheckedFieldText(Edit_MIKPerc);
    s.workEndHour = CheckedFieldText(Edit_MIVOra);
    s.workEndMinute = CheckedFieldText(Edit_MIVPerc);
    for (size_t i = 0; i < 3; ++i) {
        s.breaks[i].hour = CheckedFieldText(Edit_SzunetOra[i]);
        s.breaks[i].minute = CheckedFieldText(Edit_SzunetPerc[i]);
        s.breaks[i].length = CheckedFieldText(Edit_SzunetHossz[i]);
    }
    s.paydayRow = ListBox_FizetesnapDatuma->currentRow();
    s.weekendPayday = RadioGroup_HetvegiFizetes->itemIndex();
    return s;
}

void TForm_Main::TickSchedule(const TickMoment& m)
{
    work_ = ComputeWorkSnapshot(m, TickSettings(), calendarModel_);
    schedule = work_.schedule;
}

void TForm_Main::TickWorkBars(const TickMoment&)
{
    MBarGraph_Munakanap->setMBGValue(work_.dayBar);
    MBarGraph_Munakahet->setMBGValue(work_.weekBar);
}

void TForm_Main::TickMonth(const TickMoment&)
{
    MBarGraph_Munkahonap->setMBGValue(work_.monthProgress);
    TickEarnings();
    Label_Munkahonap->setText(QString::number(work_.monthWork.workingDays) + QStringLiteral(" munkanap:"));
}
