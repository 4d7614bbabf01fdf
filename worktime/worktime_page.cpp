#include "worktime/worktime_page.h"

#include "calendar/calendar_texts.h"
#include "clocks/analog_clock.h"
#include "clocks/clock_face.h"
#include "settings/settings_model.h"
#include "widgets/mbargraph.h"
#include "widgets/tmonthcalendar.h"
#include "widgets/tpaintbox.h"
#include "widgets/tshape.h"
#include "widgets/widget_factory.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <utility>

namespace kelvator {

namespace {
constexpr int kPaydayLabelWidth = 118;
// The right edge of the work bars, which the payday row lines up with.
constexpr int kPaydayRowRight = 503;

QString ToolTipText(QString hint)
{
    return hint.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
} // namespace

WorkTimePage::WorkTimePage(ClockFace& face, std::function<QDateTime()> now, QWidget* parent)
    : QWidget(parent)
    , face_(face)
    , now_(std::move(now))
{
    setObjectName(QStringLiteral("TabSheet_Kelvator"));
    todayBox_ = Place<QGroupBox>(this, "GroupBox1", 4, 0, 202, 190, QStringLiteral("Ma:"));
    dateLabel_ = TextLabel(todayBox_, "Label_Datum", 4, 16, 194, 24, QStringLiteral("Label_Datum"),
                           ArialPx(19), Qt::AlignHCenter);

    timePanel_ = KhakiPanel(todayBox_, "Panel1", 8, 48, 110, 48);
    afternoonLabel_ = TextLabel(timePanel_, "Label_DelutanSzoveg", 6, 2, 70, 13, QStringLiteral("DÉLUTÁN"),
                                ArialPx(11), Qt::AlignLeft);
    afternoonLabel_->hide();
    timeLabel_ = TextLabel(timePanel_, "Label_Ido", 2, 14, 76, 32, QStringLiteral("00:00"), ArialPx(27),
                           Qt::AlignRight);
    secondLabel_ = TextLabel(timePanel_, "Label_Masodperc", 80, 20, 26, 22, QStringLiteral("00"), ArialPx(16),
                             Qt::AlignLeft);

    smallClock_ = Place<TPaintBox>(todayBox_, "PaintBox_KisMutatosOra", 123, 48, 70, 70);
    smallClock_->setAttribute(Qt::WA_OpaquePaintEvent); // its picture covers it whole
    smallClock_->onPaint = [this](QPainter& p) { PaintSmallFace(p); };
    connect(&face_, &ClockFace::changed, this, &WorkTimePage::ShowSmallFaceChange);

    weekNumberLabel_ = TextLabel(todayBox_, "Label_EvHeteA", 4, 100, 44, 32, QStringLiteral("99"),
                                 ArialPx(27, true), Qt::AlignRight);
    weeksInYearLabel_ = TextLabel(todayBox_, "Label_EvHete", 50, 110, 100, 18, QStringLiteral("Label_EvHete"),
                                  ArialPx(13, true), Qt::AlignLeft);
    yearBar_ = ProgressBar(todayBox_, "MBarGraph_ATeljesEv", 8, 142, 185, kYellowBar);
    newYearsEveLabel_ = TextLabel(todayBox_, "Label_EvNapja", 4, 163, 194, 18,
                                  QStringLiteral("Label_EvNapja"), ArialPx(11), Qt::AlignHCenter);

    monthCalendar_ = Place<TMonthCalendar>(this, "MonthCalendar1", 212, 4, 294, 158);
    connect(monthCalendar_, &QCalendarWidget::clicked, this, &WorkTimePage::refreshRequested);
    todayButton_ = Place<QPushButton>(this, "Button_Ma", 212, 166, 40, 22, QStringLiteral("Ma"));
    connect(todayButton_, &QPushButton::clicked, this, [this] {
        monthCalendar_->setSelectedDate(now_().date());
        Q_EMIT refreshRequested();
    });
    distanceLabel_ = TextLabel(this, "Label_MikorVolt", 256, 168, 250, 18, QStringLiteral("Label_MikorVolt"),
                               ArialPx(11), Qt::AlignHCenter);

    dayCaption_ = Place<QLabel>(this, "Label1", 8, 199, 104, 14, QStringLiteral("Munkanap:"));
    dayBar_ = ProgressBar(this, "MBarGraph_Munakanap", 118, 197, 385, kOrange);
    weekCaption_ = Place<QLabel>(this, "Label2", 8, 221, 104, 14, QStringLiteral("Munkahét:"));
    weekBar_ = ProgressBar(this, "MBarGraph_Munakahet", 118, 219, 385, kOrange);
    monthCaption_ = Place<QLabel>(this, "Label16", 8, 237, 104, 13, QStringLiteral("E hónapban"));
    monthDaysLabel_ = Place<QLabel>(this, "Label_Munkahonap", 8, 249, 104, 13, QStringLiteral("Munkahónap:"));
    monthBar_ = ProgressBar(this, "MBarGraph_Munkahonap", 118, 241, 385, kOrange);

    paydayLabel_ = Place<QLabel>(this, "Label_FizetesNNapMulva", 8, 266, kPaydayLabelWidth, 14,
                                 QStringLiteral("Label_FizetesNNapMulva"));
    paydayMarker_ = Place<TShape>(this, "Shape_Fizetesnap", 406, 264, 10, 17);
    paydayMarker_->setKind(TShape::Kind::RoundRect);
    paydayMarker_->setBrushColor(0x0000FF00);
    connect(paydayMarker_, &TShape::mouseDown, this, &WorkTimePage::ChooseDayFromToday);

    payBox_ = Place<QGroupBox>(this, "GroupBox4", 4, 286, 502, 46);
    auto* pay = Place<QToolButton>(payBox_, "SpeedButton_FizetesKijelzes", 8, 14, 104, 24);
    pay->setText(QStringLiteral("Fizetés kiírása"));
    pay->setCheckable(true);
    payToggle_ = pay;
    connect(pay, &QToolButton::clicked, this, &WorkTimePage::refreshRequested);
    earnedLabel_ = TextLabel(payBox_, "Label_KeresettPenz", 118, 18, 180, 16,
                             QStringLiteral("Label_KeresettPenz"), ArialPx(13, true), Qt::AlignRight);
    earnedLabel_->hide();
    hourlyWageLabel_ = TextLabel(payBox_, "Label_Oraber", 306, 18, 186, 16, QStringLiteral("Label_Oraber"),
                                 ArialPx(13, true), Qt::AlignRight);
    hourlyWageLabel_->hide();

    BuildDaySquares();
}

void WorkTimePage::BuildDaySquares()
{
    // Last, so that they lie over the payday label when it is widened.
    for (int k = 1; k <= 31; ++k) {
        auto* square = new TShape(this);
        square->setObjectName(QStringLiteral("Shape_Nap%1").arg(k));
        square->setTag(k);
        square->setGeometry(118 + 9 * k, 264, 10, 17);
        square->setPenColor(0x00000000);
        square->setKind(TShape::Kind::Rectangle);
        square->hide();
        connect(square, &TShape::mouseDown, this, &WorkTimePage::ChooseDayFromToday);
        daySquares_[static_cast<size_t>(k - 1)] = square;
    }
}

void WorkTimePage::ShowSettings(const Settings& settings)
{
    payToggle_->setChecked(settings.payShown);
}

void WorkTimePage::CollectSettings(Settings& settings) const
{
    settings.payShown = payToggle_->isChecked();
}

void WorkTimePage::SelectDay(const QDate& day)
{
    monthCalendar_->setSelectedDate(day);
}

void WorkTimePage::ShowDaysOff(std::function<bool(const QDate&)> daysOff, int revision)
{
    monthCalendar_->setDaysOff(std::move(daysOff), revision);
}

void WorkTimePage::ChooseDayFromToday(const TShape* shape, Qt::MouseButton button)
{
    // A square's or the payday marker's tag is its distance from today in days.
    if (button != Qt::LeftButton)
        return;
    monthCalendar_->setSelectedDate(now_().date().addDays(shape->tag()));
}

void WorkTimePage::ShowDate(const QDate& today)
{
    SetText(dateLabel_, DateLabelText(today));
}

void WorkTimePage::ShowTime(const TimeTexts& time)
{
    SetText(timeLabel_, time.hourMinute);
    SetShown(afternoonLabel_, time.afternoon);
    SetText(secondLabel_, time.second);
}

void WorkTimePage::ShowYear(const QDate& today, const NewYearsEve& newYearsEve, double yearProgress)
{
    // New Year's Eve text, the year bar and the ISO week, in that order.
    SetText(newYearsEveLabel_, newYearsEve.LabelText());
    yearBar_->setMBGValue(yearProgress);
    SetText(weekNumberLabel_, QString::number(IsoWeekNumber(today)));
    SetText(weeksInYearLabel_, WeeksInYearText(today.year()));
}

void WorkTimePage::ShowDistance(TDateTime now)
{
    distanceLabel_->setText(DateDifferenceText(false, true, ToDateTime(monthCalendar_->selectedDate()), now));
}

void WorkTimePage::ShowWorkBars(double dayBar, double weekBar)
{
    dayBar_->setMBGValue(dayBar);
    weekBar_->setMBGValue(weekBar);
}

void WorkTimePage::ShowPayday(const QDate& today, const PaydayChoice& choice, const WorkingDayTest& working,
                              unsigned revision)
{
    const QDate payday = choice.payday;
    // The strip depends on nothing but the two dates and why the payday moved: once drawn it
    // stands until one changes.
    if (today == stripToday_ && payday == stripPayday_ && choice.offHoliday == stripOffHoliday_ &&
        revision == stripRevision_)
        return;
    stripRevision_ = revision;
    stripToday_ = today;
    stripPayday_ = payday;
    stripOffHoliday_ = choice.offHoliday;
    const PaydayStrip strip = BuildPaydayStrip(today, choice, working);
    const QString markerTip = ToolTipText(strip.markerHint);
    if (paydayMarker_->toolTip() != markerTip)
        paydayMarker_->setToolTip(markerTip);
    try {
        for (size_t k = 0; k < daySquares_.size(); ++k) {
            TShape* square = daySquares_[k];
            const DaySquare& want = strip.squares[k];
            if (want.visible) {
                square->setBrushColor(want.fill);
                const QString tip = ToolTipText(want.hint);
                if (square->toolTip() != tip)
                    square->setToolTip(tip);
                square->setTag(want.tag);
            }
            if (square->isVisibleTo(this) != want.visible)
                square->setVisible(want.visible);
        }
    } catch (...) {
        // The strip is decoration: a failure here leaves the rest of the tick alone.
    }
    paydayLabel_->setText(strip.label);
    FitPaydayLabel(!strip.markerVisible);
    if (strip.markerTag)
        paydayMarker_->setTag(*strip.markerTag);
    if (paydayMarker_->isVisibleTo(this) != strip.markerVisible)
        paydayMarker_->setVisible(strip.markerVisible);
}

void WorkTimePage::FitPaydayLabel(bool alone)
{
    // Alone, it takes the whole row so that it is read in full.
    const int width = alone ? kPaydayRowRight - paydayLabel_->x() : kPaydayLabelWidth;
    if (paydayLabel_->width() != width)
        paydayLabel_->resize(width, paydayLabel_->height());
}

void WorkTimePage::ShowWorkEnd(quint32 dayBarColour)
{
    if (dayBar_->MBGPlusColorAt1() != dayBarColour)
        dayBar_->setMBGPlusColorAt1(dayBarColour);
}

void WorkTimePage::ShowMonthProgress(double progress)
{
    monthBar_->setMBGValue(progress);
}

void WorkTimePage::ShowMonthPay(const MonthPay& pay, int workingDays)
{
    earnedLabel_->setText(pay.earned);
    const bool shown = payToggle_->isChecked();
    earnedLabel_->setVisible(shown);
    hourlyWageLabel_->setVisible(shown);
    if (pay.hourlyWage)
        hourlyWageLabel_->setText(*pay.hourlyWage);
    monthDaysLabel_->setText(QString::number(workingDays) + QStringLiteral(" munkanap:"));
}

void WorkTimePage::ShowSmallFaceChange(const QRect& changed, qint64 previousKey)
{
    const QImage& face = face_.Image();
    // The small clock follows the change if it was up to date with the face before it.
    if (smallFaceKey_ == previousKey) {
        smallFaceDirty_ |= changed;
        smallFaceKey_ = face.cacheKey();
    }
    // Only the pixels the changed blocks shrink to go to the screen.
    const int small = smallClock_->width();
    const int faceSize = face.width();
    smallClock_->update(QRect(QPoint(changed.left() * small / faceSize, changed.top() * small / faceSize),
                              QPoint((changed.right() * small + faceSize - 1) / faceSize,
                                     (changed.bottom() * small + faceSize - 1) / faceSize)));
}

void WorkTimePage::PaintSmallFace(QPainter& p)
{
    face_.UpdateIfStale();
    const QImage& face = face_.Image();
    // Shrunk from what the big face last received, at the screen's own pixel density; a
    // face that moved only its second hand changes a few of the small clock's pixels.
    const QRect box = smallClock_->rect();
    const qreal ratio = p.device()->devicePixelRatio();
    const int pixels = qMax(1, qRound(box.width() * ratio));
    const bool current = smallFace_.width() == pixels && smallFaceKey_ == face.cacheKey();
    if (!current || !UpdateSmallClockFace(smallFace_, face, smallFaceDirty_))
        smallFace_ = SmallClockFace(face, box.width(), ratio);
    smallFaceKey_ = face.cacheKey();
    smallFaceDirty_ = QRect();
    p.drawImage(QRectF(box), smallFace_);
}

} // namespace kelvator
