#include "events/event_editor_page.h"

#include "calendar/calendar_texts.h"
#include "calendar/numbermask.h"
#include "calendar/tdatetime.h"
#include "widgets/tmonthcalendar.h"
#include "widgets/widget_factory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <initializer_list>
#include <utility>

namespace kelvator {

EventEditorPage::EventEditorPage(std::function<QDateTime()> clock, QWidget* parent)
    : QWidget(parent)
    , clock_(std::move(clock))
{
    setObjectName(QStringLiteral("TabSheet_EsemenyBeallitasa"));
    caption_ = Place<QLabel>(this, "Label_EsemenyMegadasCaption", 8, 16, 433, 24,
                             QStringLiteral("Esemény nevének és időpontjának megadása"));
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setFont(ArialPx(16));
    nameEdit_ = Place<QLineEdit>(this, "LabeledEdit_EsemenyMegnevezese", 208, 40, 177, 21);
    nameEdit_->setMaxLength(30);
    auto* nameLabel = new QLabel(QStringLiteral("Az esemény megnevezése:"), this);
    nameLabel->adjustSize();
    nameLabel->move(208 - 8 - nameLabel->width(), 43);
    nameLabel->setBuddy(nameEdit_);

    dateBox_ = Place<QGroupBox>(this, "GroupBox12", 8, 64, 433, 185, QStringLiteral("Esemény dátuma:"));
    calendar_ = Place<TMonthCalendar>(dateBox_, "MonthCalendar_Esemeny", 13, 24, 204, 153);
    connect(calendar_, &QCalendarWidget::clicked, this, &EventEditorPage::RefreshNow);
    dateButtonsBox_ = Place<QGroupBox>(dateBox_, "GroupBox19", 242, 22, 165, 107);
    todayButton_ =
        Place<QPushButton>(dateButtonsBox_, "Button_EsemenyMa", 64, 12, 35, 38, QStringLiteral("Ma"));
    connect(todayButton_, &QPushButton::clicked, this, [this] {
        calendar_->setSelectedDate(clock_().date());
        RefreshNow();
    });
    const struct {
        const char* name;
        int left, top, width;
        const char16_t* caption;
        int days, months;
    } steps[] = {
        {"Button_M1Nap", 9, 12, 49, u"-1 nap", -1, 0},     {"Button_P1Nap", 105, 12, 49, u"+1 nap", 1, 0},
        {"Button_M1Het", 9, 34, 49, u"-1 hét", -7, 0},     {"Button_P1Het", 105, 34, 49, u"+1 hét", 7, 0},
        {"Button_M1Honap", 9, 56, 55, u"-1 hónap", 0, -1}, {"Button_P1Honap", 99, 56, 55, u"+1 hónap", 0, 1},
        {"Button_M1Ev", 9, 78, 61, u"-1 év", 0, -12},      {"Button_P1Ev", 93, 78, 61, u"+1 év", 0, 12},
    };
    for (const auto& step : steps) {
        auto* button = Place<QPushButton>(dateButtonsBox_, step.name, step.left, step.top, step.width, 19,
                                          QString::fromUtf16(step.caption));
        const int days = step.days;
        const int months = step.months;
        connect(button, &QPushButton::clicked, this, [this, days, months] { ShiftDate(days, months); });
    }
    datePreview_ = Place<QLabel>(dateBox_, "Label_EsemenyMikorVolt", 224, 152, 201, 17);
    datePreview_->setAlignment(Qt::AlignCenter);

    timeBox_ = Place<QGroupBox>(this, "GroupBox13", 8, 256, 369, 105, QStringLiteral("Esemény időpontja:"));
    timeCountsBox_ = Place<QCheckBox>(timeBox_, "CheckBox_EsemenyOraPercSzamit", 8, 16, 150, 19,
                                      QStringLiteral("Az Óra és Perc is számít"));
    hourList_ = Place<QComboBox>(timeBox_, "ComboBox_EsemenyOra", 16, 48, 57, 21);
    for (int h = 0; h < 24; ++h)
        hourList_->addItem(FormatMask(h, u"00"));
    minuteList_ = Place<QComboBox>(timeBox_, "ComboBox_EsemenyPerc", 80, 48, 57, 21);
    for (int m = 0; m < 60; ++m)
        minuteList_->addItem(FormatMask(m, u"00"));
    hourLabel_ = Place<QLabel>(timeBox_, "Label_EsemenyOra", 18, 71, 50, 14, QStringLiteral("Óra"));
    minuteLabel_ = Place<QLabel>(timeBox_, "Label_EsemenyPerc", 82, 71, 50, 14, QStringLiteral("Perc"));
    nowButton_ = Place<QPushButton>(timeBox_, "Button_EsemenyMost", 152, 45, 137, 25,
                                    QStringLiteral("Időpont = jelenlegi idő"));
    timePreview_ = Place<QLabel>(timeBox_, "Label_EsemenyMikorVolt2", 168, 16, 193, 17);
    timePreview_->setAlignment(Qt::AlignCenter);
    inDaysBox_ = Place<QCheckBox>(timeBox_, "CheckBox_EsemenyNapbanKiirva", 136, 80, 225, 19,
                                  QStringLiteral("Időponttól függetlenül napokban íródjon ki"));
    for (QCheckBox* box : {timeCountsBox_, inDaysBox_})
        connect(box, &QCheckBox::clicked, this, &EventEditorPage::RefreshNow);
    for (QComboBox* list : {hourList_, minuteList_})
        connect(list, &QComboBox::activated, this, &EventEditorPage::RefreshNow);
    connect(nowButton_, &QPushButton::clicked, this, [this] {
        const QTime now = clock_().time();
        hourList_->setCurrentIndex(now.hour());
        minuteList_->setCurrentIndex(now.minute());
        RefreshNow();
    });

    okButton_ = Place<QPushButton>(this, "Button_EsemenyMegadasOK", 384, 259, 57, 25, QStringLiteral("OK."));
    cancelButton_ =
        Place<QPushButton>(this, "Button_EsemenyMegadasMegsem", 384, 299, 57, 25, QStringLiteral("Mégsem"));
    connect(okButton_, &QPushButton::clicked, this, &EventEditorPage::Accept);
    connect(cancelButton_, &QPushButton::clicked, this, &EventEditorPage::cancelled);
}

void EventEditorPage::Open(int slot, const EventSettings& event)
{
    okButton_->setFocus();
    slot_ = slot;
    event_ = event;
    caption_->setText(QString::number(slot) + QStringLiteral(". esemény nevének és időpontjának megadása"));
    nameEdit_->setText(event.name);
    timeCountsBox_->setChecked(event.timeOfDayCounts);
    inDaysBox_->setChecked(event.shownInDays);
    const QTime time = TimeOf(event.moment);
    calendar_->setSelectedDate(DateOf(NoonOf(event.moment)));
    hourList_->setCurrentIndex(time.hour());
    minuteList_->setCurrentIndex(time.minute());
    RefreshNow();
}

TDateTime EventEditorPage::EditedMoment() const
{
    const int hour = qMax(0, hourList_->currentIndex());
    const int minute = qMax(0, minuteList_->currentIndex());
    return ToDateTime(calendar_->selectedDate(), QTime(hour, minute));
}

void EventEditorPage::Refresh(const QDateTime& now)
{
    const bool timeCounts = timeCountsBox_->isChecked();
    for (QWidget* w :
         std::initializer_list<QWidget*>{hourList_, minuteList_, hourLabel_, minuteLabel_, nowButton_})
        w->setEnabled(timeCounts);
    datePreview_->setVisible(!timeCounts);
    timePreview_->setVisible(timeCounts);
    const TDateTime moment = EditedMoment();
    const TDateTime nowValue = ToDateTime(now);
    const bool inDays = inDaysBox_->isChecked();
    datePreview_->setText(RelativeTimeText(false, inDays, moment, nowValue));
    timePreview_->setText(RelativeTimeText(true, inDays, moment, nowValue));
}

void EventEditorPage::RefreshNow()
{
    Refresh(clock_());
}

void EventEditorPage::ShiftDate(int days, int months)
{
    const QDate date = calendar_->selectedDate();
    // The calendar accepts years 1-9999 only; a step past them leaves the date alone.
    if (StepStaysInRange(date, months, days))
        calendar_->setSelectedDate(ShiftMonths(date, months).addDays(days));
    RefreshNow();
}

// The hour and minute are kept even when the time of day does not count.
void EventEditorPage::Accept()
{
    EventSettings event = event_;
    event.name = nameEdit_->text();
    event.timeOfDayCounts = timeCountsBox_->isChecked();
    event.shownInDays = inDaysBox_->isChecked();
    event.moment = EditedMoment();
    Q_EMIT accepted(slot_, event);
}

void EventEditorPage::Cancel()
{
    cancelButton_->click();
}

} // namespace kelvator
