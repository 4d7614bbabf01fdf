#include "datecalc/datecalc_page.h"

#include "calendar/calendar_texts.h"
#include "calendar/numbermask.h"
#include "calendar/tdatetime.h"
#include "datecalc/datecalc.h"
#include "settings/settings_model.h"
#include "widgets/tmonthcalendar.h"
#include "widgets/widget_factory.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace kelvator {

namespace {
constexpr int kLargestStep = 99;

QByteArray Named(const char* name, int side)
{
    return QByteArray(name) + QByteArray::number(side + 1);
}

QLabel* Centred(QWidget* parent, const char* name, int left, int top, int width, int height, int pixels)
{
    auto* l = Place<QLabel>(parent, name, left, top, width, height);
    l->setAlignment(Qt::AlignCenter);
    l->setFont(ArialPx(pixels));
    return l;
}
} // namespace

DateCalcPage::DateCalcPage(Clock now, QWidget* parent)
    : QWidget(parent)
    , now_(std::move(now))
{
    setObjectName(QStringLiteral("TabSheet_Datumok"));
    for (int side = 0; side < 2; ++side)
        BuildSide(side);

    rightArrow_ = Place<QLabel>(this, "Image_DatumokJobbraNyil", 216, 159, 44, 17);
    rightArrow_->setPixmap(QPixmap(QStringLiteral(":/kelvator/arrow_right.png")));
    rightArrow_->hide();
    leftArrow_ = Place<QLabel>(this, "Image_DatumokBalraNyil", 216, 159, 44, 17);
    leftArrow_->setPixmap(QPixmap(QStringLiteral(":/kelvator/arrow_left.png")));
    leftArrow_->hide();
    equalSign_ = Centred(this, "Label_DatumokEgyenlo", 216, 152, 41, 29, 32);
    equalSign_->setText(QStringLiteral("="));
    equalSign_->hide();
    difference_ = Centred(this, "Label_DatumokKulonbseg", 48, 178, 385, 17, 13);

    copyRight_ = Place<QPushButton>(this, "Button_Datumok1To2", 224, 72, 25, 17, QStringLiteral("--->"));
    copyRight_->setToolTip(QStringLiteral("Bal oldali dátum átmásolása a jobb oldalra"));
    connect(copyRight_, &QPushButton::clicked, this, [this] { Copy(0, 1); });
    copyLeft_ = Place<QPushButton>(this, "Button_Datumok2To1", 224, 104, 25, 17, QStringLiteral("<---"));
    copyLeft_->setToolTip(QStringLiteral("Jobb oldali dátum átmásolása a bal oldalra"));
    connect(copyLeft_, &QPushButton::clicked, this, [this] { Copy(1, 0); });
    // Arrow keys and Page Up/Down pick dates too, not only clicks.
    for (const Side& s : sides_)
        connect(s.calendar, &QCalendarWidget::selectionChanged, this, &DateCalcPage::Refresh);
}

void DateCalcPage::BuildSide(int side)
{
    Side& s = sides_[static_cast<size_t>(side)];
    s.calendar = Place<TMonthCalendar>(this, Named("MonthCalendar_Datumok", side).constData(),
                                       side ? 243 : 26, 1, 204, 153);
    connect(s.calendar, &QCalendarWidget::clicked, this, &DateCalcPage::Refresh);
    s.distance =
        Centred(this, Named("Label_DatumokMikorVolt", side).constData(), side ? 240 : 24, 156, 209, 17, 11);

    s.box =
        Place<QGroupBox>(this, side ? "GroupBox6" : "GroupBox7", side ? 243 : 26, 194, side ? 204 : 205, 127);
    s.today = Place<QPushButton>(s.box, Named("Button_DatumokMa", side).constData(), 64, 12, 35, 38,
                                 QStringLiteral("Ma"));
    connect(s.today, &QPushButton::clicked, this, [this, side] { SetToday(side); });
    const struct {
        const char* back;
        const char* forward;
        int top, forwardLeft, width;
    } rows[] = {{"Button_DatumokMNap", "Button_DatumokPNap", 12, 105, 49},
                {"Button_DatumokMHet", "Button_DatumokPHet", 34, 105, 49},
                {"Button_DatumokMHonap", "Button_DatumokPHonap", 56, 93, 61},
                {"Button_DatumokMEv", "Button_DatumokPEv", 78, 93, 61},
                // The working-day buttons are wider than the others and sit a little lower.
                {"Button_DatumokMMunkaNap", "Button_DatumokPMunkaNap", 102, 118, 80}};
    for (int kind = 0; kind < 5; ++kind) {
        const auto& row = rows[kind];
        const auto k = static_cast<size_t>(kind);
        s.back[k] = Place<QPushButton>(s.box, Named(row.back, side).constData(), 9, row.top, row.width, 19);
        s.forward[k] = Place<QPushButton>(s.box, Named(row.forward, side).constData(), row.forwardLeft,
                                          row.top, row.width, 19);
        connect(s.back[k], &QPushButton::clicked, this, [this, side, kind] { Step(side, kind, -1); });
        connect(s.forward[k], &QPushButton::clicked, this, [this, side, kind] { Step(side, kind, 1); });
    }
    s.steps = Place<QComboBox>(s.box, Named("ComboBox_DatumokLepeskoz", side).constData(), 160, 12, 41, 21);
    s.steps->setToolTip(QStringLiteral("Lépésköz megadása"));
    // The list is there before stored settings pick from it.
    for (int n = 1; n <= kLargestStep; ++n)
        s.steps->addItem(FormatMask(n, u"0"));
    connect(s.steps, &QComboBox::activated, this, &DateCalcPage::Refresh);
    s.stepOne = Place<QPushButton>(s.box, Named("Button_DatumokLepeskozEgy", side).constData(), 160, 44, 41,
                                   29, QStringLiteral("L = 1"));
    s.stepOne->setToolTip(QStringLiteral("Lépésköz = 1"));
    connect(s.stepOne, &QPushButton::clicked, this, [this, side] { SetStepOne(side); });
}

void DateCalcPage::Refresh()
{
    const TDateTime now = ToDateTime(now_());
    for (const Side& s : sides_) {
        const int n = s.steps->currentIndex() + 1; // no choice counts as step 0
        for (size_t kind = 0; kind < 5; ++kind) {
            s.back[kind]->setText(StepCaption(static_cast<DateStep>(kind), n, -1));
            s.forward[kind]->setText(StepCaption(static_cast<DateStep>(kind), n, 1));
        }
        s.distance->setText(DateDifferenceText(false, true, ToDateTime(s.calendar->selectedDate()), now));
    }
    const TDateTime left = NoonOf(ToDateTime(sides_[0].calendar->selectedDate()));
    const TDateTime right = NoonOf(ToDateTime(sides_[1].calendar->selectedDate()));
    rightArrow_->setVisible(left < right);
    leftArrow_->setVisible(left > right);
    equalSign_->setVisible(left == right);
    difference_->setText(DateDifferenceText(false, false, left, right) + u'.');
}

void DateCalcPage::ShowWorkCalendar(DayTest isWorkingDay, const DayTest& isDayOff, int revision)
{
    isWorkingDay_ = std::move(isWorkingDay);
    for (const Side& s : sides_)
        s.calendar->setDaysOff(isDayOff, revision);
}

void DateCalcPage::ShowSettings(const Settings& settings)
{
    sides_[0].calendar->setSelectedDate(settings.leftDate);
    sides_[1].calendar->setSelectedDate(settings.rightDate);
    sides_[0].steps->setCurrentIndex(settings.leftStep);
    sides_[1].steps->setCurrentIndex(settings.rightStep);
}

void DateCalcPage::CollectSettings(Settings& settings) const
{
    settings.leftDate = sides_[0].calendar->selectedDate();
    settings.rightDate = sides_[1].calendar->selectedDate();
    settings.leftStep = sides_[0].steps->currentIndex();
    settings.rightStep = sides_[1].steps->currentIndex();
}

void DateCalcPage::Step(int side, int kind, int direction)
{
    const Side& s = sides_[static_cast<size_t>(side)];
    const int n = s.steps->currentIndex() + 1;
    const QDate from = s.calendar->selectedDate();
    const auto step = static_cast<DateStep>(kind);
    // Without a work calendar the working days are Monday to Friday.
    s.calendar->setSelectedDate(isWorkingDay_ ? StepDate(from, step, n, direction, isWorkingDay_)
                                              : StepDate(from, step, n, direction));
    Refresh();
}

void DateCalcPage::SetToday(int side)
{
    sides_[static_cast<size_t>(side)].calendar->setSelectedDate(now_().date());
    Refresh();
}

void DateCalcPage::SetStepOne(int side)
{
    sides_[static_cast<size_t>(side)].steps->setCurrentIndex(0);
    Refresh();
}

void DateCalcPage::Copy(int from, int to)
{
    sides_[static_cast<size_t>(to)].calendar->setSelectedDate(
        sides_[static_cast<size_t>(from)].calendar->selectedDate());
    Refresh();
}

} // namespace kelvator
