#include "worktime/workcalendar_page.h"

#include "calendar/calendar_texts.h"
#include "settings/settings_model.h"
#include "widgets/field_checks.h"
#include "widgets/widget_factory.h"
#include "worktime/schedule.h"
#include "worktime/workcalendar_model.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include <utility>

namespace kelvator {

namespace {

QLineEdit* Field(QWidget* parent, const QByteArray& name, int left, int top, int maxLength, int width)
{
    auto* e = Place<QLineEdit>(parent, name.constData(), left, top, width, 19);
    e->setMaxLength(maxLength);
    return e;
}

const std::array<const char16_t*, 5> kWeekdays{u"Hétfő", u"Kedd", u"Szerda", u"Csütörtök", u"Péntek"};

// A row's fields, in the order the settings page's hours come: start hour, start minute, end hour,
// end minute.
constexpr size_t kStartHour = 0;
constexpr size_t kEndHour = 2;
bool IsHourField(size_t field)
{
    return field == kStartHour || field == kEndHour;
}

QString BadDateMessage(const QString& what, const QString& text)
{
    const QString hint = CalendarDateProblem(text) == DateProblem::Year
                             ? QStringLiteral("Csak %1 és %2 közötti év adható meg.")
                                   .arg(kFirstCalendarYear)
                                   .arg(kLastCalendarYear)
                             : QStringLiteral("Írja év.hó.nap. alakban, például: 2026.12.24.");
    return what + QStringLiteral(" hibás: „") + text + QStringLiteral("”.\n") + hint;
}

// The decrees the page's pairs put in force, in the order the file gives them.
DecreeBook BookOf(const QStringList& pairs)
{
    DecreeBook book;
    for (const QString& e : pairs) {
        if (const auto pair = ParseDecreePair(e))
            book.Add(*pair);
    }
    return book;
}

const QString kHourMessage = QStringLiteral("A beírt óra érték hibás.\r\n0–23 a jó érték.");
const QString kMinuteMessage = QStringLiteral("A beírt perc érték hibás.\r\n0–59 a jó érték.");

} // namespace

WorkCalendarPage::WorkCalendarPage(WorkCalendarModel& model, Queries queries, QWidget* parent)
    : QWidget(parent)
    , model_(model)
    , queries_(std::move(queries))
{
    setObjectName(QStringLiteral("TabSheet_Munkarend"));
    fieldChecks_ = new FieldChecks(
        [this](const QString& text) {
            if (queries_.showError)
                queries_.showError(text);
        },
        this);
    holidaysBox_ =
        Place<QCheckBox>(this, "CheckBox_Unnepnapok", 8, 6, 502, 19,
                         QStringLiteral("Munkaszüneti napok és áthelyezett munkanapok figyelembevétele"));

    daysGroup_ = Place<QGroupBox>(this, "GroupBox_MunkarendNapok", 8, 30, 300, 324,
                                  QStringLiteral("A naptártól eltérő napok"));
    QGroupBox* days = daysGroup_;
    Caption(days, QStringLiteral("Év:"), 8, 22);
    yearSpin_ = Place<QSpinBox>(days, "SpinEdit_MunkarendEv", 32, 18, 64, 22);
    yearSpin_->setRange(kFirstCalendarYear, kLastCalendarYear);
    connect(yearSpin_, &QSpinBox::valueChanged, this, &WorkCalendarPage::RefreshList);
    dayList_ = Place<QListWidget>(days, "ListBox_MunkarendNapok", 8, 44, 284, 150);
    connect(dayList_, &QListWidget::itemClicked, this, &WorkCalendarPage::ListClicked);

    Caption(days, QStringLiteral("Saját nap:"), 8, 204);
    dateEdit_ = Field(days, "Edit_MunkarendDatum", 64, 202, 11, 76);
    dateEdit_->setPlaceholderText(QStringLiteral("2026.12.24."));
    restDayButton_ =
        Place<QPushButton>(days, "Button_MunkarendSzabadnap", 146, 200, 70, 23, QStringLiteral("Szabadnap"));
    workDayButton_ =
        Place<QPushButton>(days, "Button_MunkarendMunkanap", 222, 200, 70, 23, QStringLiteral("Munkanap"));
    removeButton_ = Place<QPushButton>(days, "Button_MunkarendTorles", 8, 226, 284, 23,
                                       QStringLiteral("A kijelölt saját nap vagy áthelyezés törlése"));

    Caption(days, QStringLiteral("Új áthelyezés (rendelet szerint):"), 8, 256);
    Caption(days, QStringLiteral("Munkanap (szombat):"), 8, 276);
    pairWorkEdit_ = Field(days, "Edit_AthelyezesMunkanap", 112, 274, 11, 76);
    pairWorkEdit_->setPlaceholderText(QStringLiteral("2026.12.12."));
    Caption(days, QStringLiteral("Pihenőnap:"), 8, 300);
    pairRestEdit_ = Field(days, "Edit_AthelyezesPihenonap", 112, 298, 11, 76);
    pairRestEdit_->setPlaceholderText(QStringLiteral("2026.12.24."));
    addPairButton_ =
        Place<QPushButton>(days, "Button_AthelyezesHozzaadas", 196, 286, 96, 23, QStringLiteral("Hozzáadás"));
    connect(restDayButton_, &QPushButton::clicked, this, [this] { SetOwnDay(DayKind::UserRest); });
    connect(workDayButton_, &QPushButton::clicked, this, [this] { SetOwnDay(DayKind::UserWork); });
    connect(removeButton_, &QPushButton::clicked, this, &WorkCalendarPage::RemoveDay);
    connect(addPairButton_, &QPushButton::clicked, this, &WorkCalendarPage::AddPair);

    hoursGroup_ = Place<QGroupBox>(this, "GroupBox_NapiMunkaido", 314, 30, 196, 180,
                                   QStringLiteral("Munkaidő naponként"));
    QGroupBox* hours = hoursGroup_;
    perDayBox_ = Place<QCheckBox>(hours, "CheckBox_NapiMunkaido", 8, 18, 180, 19,
                                  QStringLiteral("Napi eltérő munkaidő"));
    connect(perDayBox_, &QCheckBox::clicked, this, &WorkCalendarPage::PerDayClicked);
    Caption(hours, QStringLiteral("kezdete"), 68, 42);
    Caption(hours, QStringLiteral("vége"), 144, 42);
    for (size_t i = 0; i < 5; ++i) {
        const int top = 58 + static_cast<int>(i) * 24;
        const QByteArray n = QByteArray::number(static_cast<int>(i) + 1);
        std::array<QLineEdit*, 4>& row = rowEdits_[i];
        Caption(hours, QString::fromUtf16(kWeekdays[i]), 8, top + 2);
        row[0] = Field(hours, "Edit_NapiMIKOra" + n, 64, top, 2, 22);
        Caption(hours, QStringLiteral(":"), 88, top + 2);
        row[1] = Field(hours, "Edit_NapiMIKPerc" + n, 94, top, 2, 22);
        Caption(hours, QStringLiteral("–"), 121, top + 2);
        row[2] = Field(hours, "Edit_NapiMIVOra" + n, 134, top, 2, 22);
        Caption(hours, QStringLiteral(":"), 158, top + 2);
        row[3] = Field(hours, "Edit_NapiMIVPerc" + n, 164, top, 2, 22);
        // Checked as the settings page's hours are, when the user leaves them.
        for (size_t k = 0; k < row.size(); ++k)
            fieldChecks_->Add(row[k], IsHourField(k) ? FieldKind::Hour : FieldKind::Minute);
    }

    // The tray's options under the hours. The page's messages go beside OK, where a line is long
    // enough for any of them.
    trayGroup_ = Place<QGroupBox>(this, "GroupBox_Talca", 314, 214, 196, 140, QStringLiteral("Tálcaikon"));
    QGroupBox* tray = trayGroup_;
    trayTipBox_ = Place<QCheckBox>(tray, "CheckBox_SugoMutatjaANapot", 8, 18, 180, 19,
                                   QStringLiteral("A súgó a nap adatait mutatja"));
    trayIconBox_ = Place<QCheckBox>(tray, "CheckBox_IkonMutatjaANapot", 8, 40, 180, 19,
                                    QStringLiteral("Ikon: a munkanap haladása"));
    trayMenuBox_ = Place<QCheckBox>(tray, "CheckBox_BovitettTalcaMenu", 8, 62, 180, 19,
                                    QStringLiteral("Menü: megnyitás, stopper"));
    reminderBox_ = Place<QCheckBox>(tray, "CheckBox_FigyelmeztetesVegeElott", 8, 84, 180, 19,
                                    QStringLiteral("Figyelmeztetés a vége előtt"));
    reminderEdit_ = Field(tray, "Edit_FigyelmeztetesVegeElottPerc", 28, 107, 3, 30);
    Caption(tray, QStringLiteral("perccel"), 64, 109);
    fieldChecks_->Add(reminderEdit_, FieldKind::ReminderMinutes);
    connect(reminderBox_, &QCheckBox::clicked, this, &WorkCalendarPage::ReminderClicked);
    ShowTraySettings(TraySettings{});

    messageLabel_ = Place<QLabel>(this, "Label_MunkarendUzenet", 8, 360, 340, 28);
    messageLabel_->setWordWrap(true);
    messageLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Said at the opening in the same place; whatever the page says next takes its place.
    hoursErrorLabel_ = Place<QLabel>(this, "Label_NapiMunkaidoHiba", 8, 360, 340, 28);
    hoursErrorLabel_->setWordWrap(true);
    hoursErrorLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    hoursErrorLabel_->setText(
        QStringLiteral("A mentett napi munkaidő hibás volt; a Beállítások munkaideje érvényes."));
    hoursErrorLabel_->hide();

    okButton_ = Place<QPushButton>(this, "Button_MunkarendOK", 354, 360, 75, 25, QStringLiteral("OK"));
    cancelButton_ =
        Place<QPushButton>(this, "Button_MunkarendMegsem", 435, 360, 75, 25, QStringLiteral("Mégsem"));
    connect(okButton_, &QPushButton::clicked, this, &WorkCalendarPage::Accept);
    connect(cancelButton_, &QPushButton::clicked, this, &WorkCalendarPage::Cancel);

    QList<QWidget*> order{holidaysBox_,   yearSpin_,      dayList_,      dateEdit_,
                          restDayButton_, workDayButton_, removeButton_, pairWorkEdit_,
                          pairRestEdit_,  addPairButton_, perDayBox_};
    for (const auto& row : rowEdits_)
        order << row[0] << row[1] << row[2] << row[3];
    order << trayTipBox_ << trayIconBox_ << trayMenuBox_ << reminderBox_ << reminderEdit_ << okButton_
          << cancelButton_;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void WorkCalendarPage::Open(int year, const Settings& settings)
{
    holidaysBox_->setChecked(model_.Enabled());
    pending_ = model_.Entries();
    {
        const QSignalBlocker quiet(yearSpin_);
        yearSpin_->setValue(year);
    }
    settingsHours_ = {settings.workStartHour, settings.workStartMinute, settings.workEndHour,
                      settings.workEndMinute};
    perDayBox_->setChecked(model_.WeekdayHoursOn());
    if (model_.Hours()) {
        FillRows(*model_.Hours());
    } else {
        // Until the user sets them, every weekday has the settings page's hours.
        for (const auto& row : rowEdits_) {
            for (size_t k = 0; k < row.size(); ++k)
                row[k]->setText(settingsHours_[k]);
        }
    }
    PerDayClicked();
    hoursErrorLabel_->setVisible(model_.WeekdayHoursOn() && !model_.Hours());
    messageLabel_->clear();
    dateEdit_->clear();
    pairWorkEdit_->clear();
    pairRestEdit_->clear();
    RefreshList();
}

void WorkCalendarPage::FocusDefaultButton()
{
    okButton_->setFocus();
}

void WorkCalendarPage::Cancel()
{
    Q_EMIT done();
}

void WorkCalendarPage::ShowTraySettings(const TraySettings& tray)
{
    trayTipBox_->setChecked(tray.tipShowsDay);
    trayIconBox_->setChecked(tray.iconShowsDay);
    trayMenuBox_->setChecked(tray.fullMenu);
    reminderBox_->setChecked(tray.remindBeforeEnd);
    reminderEdit_->setText(QString::number(tray.reminderMinutes));
    fieldChecks_->Remember(reminderEdit_);
    ReminderClicked();
}

TraySettings WorkCalendarPage::CollectTraySettings() const
{
    TraySettings tray;
    tray.tipShowsDay = trayTipBox_->isChecked();
    tray.iconShowsDay = trayIconBox_->isChecked();
    tray.fullMenu = trayMenuBox_->isChecked();
    tray.remindBeforeEnd = reminderBox_->isChecked();
    int minutes = 0;
    if (TryParseWholeNumber(fieldChecks_->CheckedText(reminderEdit_), minutes) &&
        ReminderMinutesValid(minutes))
        tray.reminderMinutes = minutes;
    return tray;
}

void WorkCalendarPage::ReminderClicked()
{
    reminderEdit_->setEnabled(reminderBox_->isChecked());
}

void WorkCalendarPage::Accept()
{
    const bool perDay = perDayBox_->isChecked();
    if (perDay && !CheckRows())
        return;
    // A minute count that is refused is said, and nothing is applied.
    if (reminderEdit_->isEnabled() && !fieldChecks_->Check(reminderEdit_))
        return;
    // Every weekday with the settings page's hours: what the rows hold until the user sets them.
    auto settingsRows = [this] {
        std::array<int, 4> value{};
        for (size_t k = 0; k < value.size(); ++k)
            TryParseWholeNumber(settingsHours_[k], value[k]);
        WeekdayHours rows;
        rows.fill(DaySpan{value[0] * 3600 + value[1] * 60, value[2] * 3600 + value[3] * 60});
        return rows;
    };
    // Rows left unticked are kept when they are whole, for the next time the box is ticked. Rows
    // the user never set are the settings page's hours: nothing to keep, and a stored value the
    // program could not read stays as the user wrote it.
    std::optional<WeekdayHours> kept;
    if (const auto rows = RowsValue()) {
        const bool untouched = !model_.Hours() && *rows == settingsRows();
        if (!untouched || (perDay && model_.WeekdayHoursText().isEmpty()))
            kept = rows;
    }
    model_.Apply(holidaysBox_->isChecked(), pending_, perDay, kept);
    Q_EMIT trayApplied(CollectTraySettings());
    if (queries_.save && !queries_.save())
        return;
    Q_EMIT applied();
    Q_EMIT done();
}

void WorkCalendarPage::FillRows(const WeekdayHours& rows)
{
    for (size_t i = 0; i < 5; ++i) {
        rowEdits_[i][0]->setText(TwoDigits(rows[i].start / 3600));
        rowEdits_[i][1]->setText(TwoDigits(rows[i].start / 60 % 60));
        rowEdits_[i][2]->setText(TwoDigits(rows[i].end / 3600));
        rowEdits_[i][3]->setText(TwoDigits(rows[i].end / 60 % 60));
    }
}

std::optional<WeekdayHours> WorkCalendarPage::RowsValue() const
{
    WeekdayHours rows;
    for (size_t i = 0; i < 5; ++i) {
        int h1 = 0, m1 = 0, h2 = 0, m2 = 0;
        if (!TryParseWholeNumber(rowEdits_[i][0]->text(), h1) ||
            !TryParseWholeNumber(rowEdits_[i][1]->text(), m1) ||
            !TryParseWholeNumber(rowEdits_[i][2]->text(), h2) ||
            !TryParseWholeNumber(rowEdits_[i][3]->text(), m2))
            return std::nullopt;
        if (h1 < 0 || h1 > 23 || h2 < 0 || h2 > 23 || m1 < 0 || m1 > 59 || m2 < 0 || m2 > 59)
            return std::nullopt;
        rows[i] = DaySpan{h1 * 3600 + m1 * 60, h2 * 3600 + m2 * 60};
        if (rows[i].end <= rows[i].start)
            return std::nullopt;
    }
    return rows;
}

bool WorkCalendarPage::CheckRows()
{
    auto showError = [this](const QString& text) {
        if (queries_.showError)
            queries_.showError(text);
    };
    // The settings page's own checks, row by row.
    for (const auto& fields : rowEdits_) {
        std::array<int, 4> value{};
        for (size_t k = 0; k < 4; ++k) {
            if (!TryParseWholeNumber(fields[k]->text(), value[k])) {
                showError(QStringLiteral("'%1' is not a valid integer value").arg(fields[k]->text()));
                fields[k]->setFocus();
                return false;
            }
        }
        const bool hoursOk = value[0] >= 0 && value[0] <= 23 && value[2] >= 0 && value[2] <= 23;
        const bool minutesOk = value[1] >= 0 && value[1] <= 59 && value[3] >= 0 && value[3] <= 59;
        if (!hoursOk || !minutesOk) {
            showError(!hoursOk ? kHourMessage : kMinuteMessage);
            fields[0]->setFocus();
            return false;
        }
        if (value[0] * 3600 + value[1] * 60 >= value[2] * 3600 + value[3] * 60) {
            showError(QStringLiteral("A kelvator vége legyen nagyobb,\r\nmint a kelvator kezdete."));
            fields[kEndHour]->setFocus();
            return false;
        }
    }
    return true;
}

void WorkCalendarPage::PerDayClicked()
{
    const bool on = perDayBox_->isChecked();
    for (const auto& row : rowEdits_) {
        for (size_t k = 0; k < row.size(); ++k) {
            row[k]->setEnabled(on);
            if (on && row[k]->text().isEmpty())
                row[k]->setText(settingsHours_[k]);
        }
    }
}

void WorkCalendarPage::RefreshList()
{
    const WorkCalendar preview(true, pending_);
    dayList_->clear();
    for (const auto& [date, info] : preview.SpecialDays(yearSpin_->value())) {
        auto* item = new QListWidgetItem(DateText(date) + QStringLiteral("  ") + WeekdayName(date) +
                                             QStringLiteral("  –  ") + info.name,
                                         dayList_);
        item->setData(Qt::UserRole, date);
    }
}

void WorkCalendarPage::ListClicked()
{
    if (QListWidgetItem* item = dayList_->currentItem())
        dateEdit_->setText(CalendarDateText(item->data(Qt::UserRole).toDate()));
}

// Refused input in red, what was done in the page's own colour. The dark red that reads well on a
// light page all but vanishes on a dark one: there a light red.
void WorkCalendarPage::Say(bool refused, const QString& text)
{
    QPalette colours = palette();
    if (refused) {
        const bool darkPage = colours.color(QPalette::Window).lightness() < 128;
        colours.setColor(QPalette::WindowText, darkPage ? QColor(255, 120, 120) : QColor(192, 0, 0));
    }
    messageLabel_->setPalette(colours);
    messageLabel_->setText(text);
    hoursErrorLabel_->hide();
}

void WorkCalendarPage::SetOwnDay(DayKind kind)
{
    const QDate date = ParseCalendarDate(dateEdit_->text());
    if (!date.isValid()) {
        Say(true, BadDateMessage(QStringLiteral("A dátum"), dateEdit_->text()));
        return;
    }
    pending_ = WithUserDay(pending_, date, kind);
    Say(false,
        CalendarDateText(date) + (kind == DayKind::UserRest ? QStringLiteral(" saját szabadnap lett.")
                                                            : QStringLiteral(" saját munkanap lett.")));
    yearSpin_->setValue(date.year());
    RefreshList();
}

void WorkCalendarPage::RemoveDay()
{
    QDate date = ParseCalendarDate(dateEdit_->text());
    if (!date.isValid() && dayList_->currentItem())
        date = dayList_->currentItem()->data(Qt::UserRole).toDate();
    if (!date.isValid()) {
        Say(true, QStringLiteral("Válasszon egy napot a listából, vagy írja be a dátumát."));
        return;
    }
    const CalendarEntries withoutDay = WithUserDay(pending_, date, DayKind::Plain);
    CalendarEntries result = withoutDay;
    if (withoutDay == pending_) {
        // Not a day of the user's own: perhaps a pair the user added.
        result.pairs.removeIf([&date](const QString& e) {
            const auto pair = ParseDecreePair(e);
            return pair && (pair->working == date || pair->rest == date);
        });
    }
    if (result == pending_) {
        Say(true, CalendarDateText(date) +
                      QStringLiteral(" a törvény vagy a beépített rendelet napja, nem törölhető; a Szabadnap "
                                     "vagy a Munkanap gombbal felülírható."));
        return;
    }
    pending_ = result;
    Say(false, CalendarDateText(date) + QStringLiteral(" újra a naptár szerint számít."));
    RefreshList();
}

void WorkCalendarPage::AddPair()
{
    const QString workText = pairWorkEdit_->text();
    const QString restText = pairRestEdit_->text();
    const QDate working = ParseCalendarDate(workText);
    const QDate rest = ParseCalendarDate(restText);
    const DecreePair pair{working, rest};
    DecreeBook book = BookOf(pending_.pairs);
    const bool known = working.isValid() && rest.isValid() && book.Contains(pair);
    QString problem;
    if (!working.isValid())
        problem = BadDateMessage(QStringLiteral("Az áthelyezett munkanap"), workText);
    else if (!rest.isValid())
        problem = BadDateMessage(QStringLiteral("A pihenőnap"), restText);
    else
        problem = book.Add(pair);
    if (!problem.isEmpty()) {
        Say(true, problem);
        return;
    }
    if (known) {
        Say(false, QStringLiteral("Ez az áthelyezés már szerepel a listában."));
        yearSpin_->setValue(working.year());
        return;
    }
    pending_.pairs << DecreePairText(pair);
    Say(false, QStringLiteral("Áthelyezés: ") + CalendarDateText(working) + QStringLiteral(" munkanap, ") +
                   CalendarDateText(rest) + QStringLiteral(" pihenőnap."));
    yearSpin_->setValue(working.year());
    RefreshList();
}

} // namespace kelvator
