// The "Munkarend" page: the real work calendar, the user's own days, decree pairs and the
// work hours per weekday; their settings section and the yearly calendar's right-click menu.
#include "app/form_main.h"

#include "calendar/calendar_texts.h"
#include "settings/inifile.h"
#include "widgets/tpaintbox.h"
#include "widgets/widget_factory.h"
#include "yearcal/yearcal.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>

using namespace kelvator;

namespace {

QLineEdit* Field(QWidget* parent, const QByteArray& name, int left, int top, int maxLength, int width)
{
    auto* e = Place<QLineEdit>(parent, name.constData(), left, top, width, 19);
    e->setMaxLength(maxLength);
    return e;
}

// Refused input in red, what was done in the page's own colour. The dark red that reads well on a
// light page all but vanishes on a dark one: there a light red.
void SayOnPage(QLabel* label, bool refused, const QString& text)
{
    QPalette palette = label->parentWidget()->palette();
    if (refused) {
        const bool darkPage = palette.color(QPalette::Window).lightness() < 128;
        palette.setColor(QPalette::WindowText, darkPage ? QColor(255, 120, 120) : QColor(192, 0, 0));
    }
    label->setPalette(palette);
    label->setText(text);
}

const std::array<const char16_t*, 5> kWeekdays{u"Hétfő", u"Kedd", u"Szerda", u"Csütörtök", u"Péntek"};

// Every weekday with the settings page's hours: what the rows hold until the user sets them.
WeekdayHours SettingsPageRows(const TForm_Main& f)
{
    int h1 = 0, m1 = 0, h2 = 0, m2 = 0;
    TryParseWholeNumber(f.CheckedFieldText(f.Edit_MIKOra), h1);
    TryParseWholeNumber(f.CheckedFieldText(f.Edit_MIKPerc), m1);
    TryParseWholeNumber(f.CheckedFieldText(f.Edit_MIVOra), h2);
    TryParseWholeNumber(f.CheckedFieldText(f.Edit_MIVPerc), m2);
    WeekdayHours rows;
    rows.fill(DaySpan{h1 * 3600 + m1 * 60, h2 * 3600 + m2 * 60});
    return rows;
}

} // namespace

void TForm_Main::BuildWorkPatternPage()
{
    QWidget* page = TabSheet_Munkarend;
    // Opened from the settings page, beside its other buttons.
    Button_Munkarend = Place<QPushButton>(TabSheet_Beallitasok, "Button_Munkarend", 312, 240, 198, 23,
                                          QStringLiteral("Munkarend…"));
    connect(Button_Munkarend, &QPushButton::clicked, this, &TForm_Main::Button_MunkarendClick);
    // The page's own stops keep their order; this one comes last, before OK comes round again.
    setTabOrder(Edit_SzunetHossz[2], Button_Munkarend);

    CheckBox_Unnepnapok =
        Place<QCheckBox>(page, "CheckBox_Unnepnapok", 8, 6, 502, 19,
                         QStringLiteral("Munkaszüneti napok és áthelyezett munkanapok figyelembevétele"));

    GroupBox_MunkarendNapok = Place<QGroupBox>(page, "GroupBox_MunkarendNapok", 8, 30, 300, 324,
                                               QStringLiteral("A naptártól eltérő napok"));
    QGroupBox* days = GroupBox_MunkarendNapok;
    Caption(days, QStringLiteral("Év:"), 8, 22);
    SpinEdit_MunkarendEv = Place<QSpinBox>(days, "SpinEdit_MunkarendEv", 32, 18, 64, 22);
    SpinEdit_MunkarendEv->setRange(kFirstCalendarYear, kLastCalendarYear);
    connect(SpinEdit_MunkarendEv, &QSpinBox::valueChanged, this, &TForm_Main::SpinEdit_MunkarendEvChange);
    ListBox_MunkarendNapok = Place<QListWidget>(days, "ListBox_MunkarendNapok", 8, 44, 284, 150);
    connect(ListBox_MunkarendNapok, &QListWidget::itemClicked, this,
            &TForm_Main::ListBox_MunkarendNapokClick);

    Caption(days, QStringLiteral("Saját nap:"), 8, 204);
    Edit_MunkarendDatum = Field(days, "Edit_MunkarendDatum", 64, 202, 11, 76);
    Edit_MunkarendDatum->setPlaceholderText(QStringLiteral("2026.12.24."));
    Button_MunkarendSzabadnap =
        Place<QPushButton>(days, "Button_MunkarendSzabadnap", 146, 200, 70, 23, QStringLiteral("Szabadnap"));
    Button_MunkarendMunkanap =
        Place<QPushButton>(days, "Button_MunkarendMunkanap", 222, 200, 70, 23, QStringLiteral("Munkanap"));
    Button_MunkarendTorles =
        Place<QPushButton>(days, "Button_MunkarendTorles", 8, 226, 284, 23,
                           QStringLiteral("A kijelölt saját nap vagy áthelyezés törlése"));

    Caption(days, QStringLiteral("Új áthelyezés (rendelet szerint):"), 8, 256);
    Caption(days, QStringLiteral("Munkanap (szombat):"), 8, 276);
    Edit_AthelyezesMunkanap = Field(days, "Edit_AthelyezesMunkanap", 112, 274, 11, 76);
    Edit_AthelyezesMunkanap->setPlaceholderText(QStringLiteral("2026.12.12."));
    Caption(days, QStringLiteral("Pihenőnap:"), 8, 300);
    Edit_AthelyezesPihenonap = Field(days, "Edit_AthelyezesPihenonap", 112, 298, 11, 76);
    Edit_AthelyezesPihenonap->setPlaceholderText(QStringLiteral("2026.12.24."));
    Button_AthelyezesHozzaadas =
        Place<QPushButton>(days, "Button_AthelyezesHozzaadas", 196, 286, 96, 23, QStringLiteral("Hozzáadás"));
    connect(Button_MunkarendSzabadnap, &QPushButton::clicked, this,
            &TForm_Main::Button_MunkarendSzabadnapClick);
    connect(Button_MunkarendMunkanap, &QPushButton::clicked, this,
            &TForm_Main::Button_MunkarendMunkanapClick);
    connect(Button_MunkarendTorles, &QPushButton::clicked, this, &TForm_Main::Button_MunkarendTorlesClick);
    connect(Button_AthelyezesHozzaadas, &QPushButton::clicked, this,
            &TForm_Main::Button_AthelyezesHozzaadasClick);

    GroupBox_NapiMunkaido = Place<QGroupBox>(page, "GroupBox_NapiMunkaido", 314, 30, 196, 206,
                                             QStringLiteral("Munkaidő naponként"));
    QGroupBox* hours = GroupBox_NapiMunkaido;
    CheckBox_NapiMunkaido = Place<QCheckBox>(hours, "CheckBox_NapiMunkaido", 8, 18, 180, 19,
                                             QStringLiteral("Napi eltérő munkaidő"));
    connect(CheckBox_NapiMunkaido, &QCheckBox::clicked, this, &TForm_Main::CheckBox_NapiMunkaidoClick);
    Caption(hours, QStringLiteral("kezdete"), 68, 42);
    Caption(hours, QStringLiteral("vége"), 144, 42);
    for (size_t i = 0; i < 5; ++i) {
        const int top = 58 + static_cast<int>(i) * 24;
        const QByteArray n = QByteArray::number(static_cast<int>(i) + 1);
        Caption(hours, QString::fromUtf16(kWeekdays[i]), 8, top + 2);
        Edit_NapiMIKOra[i] = Field(hours, "Edit_NapiMIKOra" + n, 64, top, 2, 22);
        Caption(hours, QStringLiteral(":"), 88, top + 2);
        Edit_NapiMIKPerc[i] = Field(hours, "Edit_NapiMIKPerc" + n, 94, top, 2, 22);
        Caption(hours, QStringLiteral("–"), 121, top + 2);
        Edit_NapiMIVOra[i] = Field(hours, "Edit_NapiMIVOra" + n, 134, top, 2, 22);
        Caption(hours, QStringLiteral(":"), 158, top + 2);
        Edit_NapiMIVPerc[i] = Field(hours, "Edit_NapiMIVPerc" + n, 164, top, 2, 22);
        for (QLineEdit* e : {Edit_NapiMIKOra[i], Edit_NapiMIVOra[i]})
            MarkTimeField(e, true);
        for (QLineEdit* e : {Edit_NapiMIKPerc[i], Edit_NapiMIVPerc[i]})
            MarkTimeField(e, false);
    }
    Label_NapiMunkaidoHiba = Place<QLabel>(hours, "Label_NapiMunkaidoHiba", 8, 176, 180, 26);
    Label_NapiMunkaidoHiba->setWordWrap(true);
    Label_NapiMunkaidoHiba->setText(
        QStringLiteral("A mentett napi munkaidő hibás volt; a Beállítások munkaideje érvényes."));
    Label_NapiMunkaidoHiba->hide();

    Label_MunkarendUzenet = Place<QLabel>(page, "Label_MunkarendUzenet", 314, 242, 196, 108);
    Label_MunkarendUzenet->setWordWrap(true);
    Label_MunkarendUzenet->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Button_MunkarendOK =
        Place<QPushButton>(page, "Button_MunkarendOK", 354, 360, 75, 25, QStringLiteral("OK"));
    Button_MunkarendMegsem =
        Place<QPushButton>(page, "Button_MunkarendMegsem", 435, 360, 75, 25, QStringLiteral("Mégsem"));
    connect(Button_MunkarendOK, &QPushButton::clicked, this, &TForm_Main::Button_MunkarendOKClick);
    connect(Button_MunkarendMegsem, &QPushButton::clicked, this, &TForm_Main::Button_MunkarendMegsemClick);

    QList<QWidget*> order{CheckBox_Unnepnapok,        SpinEdit_MunkarendEv,      ListBox_MunkarendNapok,
                          Edit_MunkarendDatum,        Button_MunkarendSzabadnap, Button_MunkarendMunkanap,
                          Button_MunkarendTorles,     Edit_AthelyezesMunkanap,   Edit_AthelyezesPihenonap,
                          Button_AthelyezesHozzaadas, CheckBox_NapiMunkaido};
    for (size_t i = 0; i < 5; ++i)
        order << Edit_NapiMIKOra[i] << Edit_NapiMIKPerc[i] << Edit_NapiMIVOra[i] << Edit_NapiMIVPerc[i];
    order << Button_MunkarendOK << Button_MunkarendMegsem;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// ---- The page --------------------------------------------------------------------------------

void TForm_Main::FillWeekdayRows(const WeekdayHours& rows)
{
    for (size_t i = 0; i < 5; ++i) {
        Edit_NapiMIKOra[i]->setText(TwoDigits(rows[i].start / 3600));
        Edit_NapiMIKPerc[i]->setText(TwoDigits(rows[i].start / 60 % 60));
        Edit_NapiMIVOra[i]->setText(TwoDigits(rows[i].end / 3600));
        Edit_NapiMIVPerc[i]->setText(TwoDigits(rows[i].end / 60 % 60));
    }
}

std::optional<WeekdayHours> TForm_Main::WeekdayRowsValue() const
{
    WeekdayHours rows;
    for (size_t i = 0; i < 5; ++i) {
        int h1 = 0, m1 = 0, h2 = 0, m2 = 0;
        if (!TryParseWholeNumber(Edit_NapiMIKOra[i]->text(), h1) ||
            !TryParseWholeNumber(Edit_NapiMIKPerc[i]->text(), m1) ||
            !TryParseWholeNumber(Edit_NapiMIVOra[i]->text(), h2) ||
            !TryParseWholeNumber(Edit_NapiMIVPerc[i]->text(), m2))
            return std::nullopt;
        if (h1 < 0 || h1 > 23 || h2 < 0 || h2 > 23 || m1 < 0 || m1 > 59 || m2 < 0 || m2 > 59)
            return std::nullopt;
        rows[i] = DaySpan{h1 * 3600 + m1 * 60, h2 * 3600 + m2 * 60};
        if (rows[i].end <= rows[i].start)
            return std::nullopt;
    }
    return rows;
}

bool TForm_Main::CheckWeekdayRows()
{
    // The settings page's own checks, row by row.
    for (size_t i = 0; i < 5; ++i) {
        int value[4] = {};
        const std::array<QLineEdit*, 4> fields{Edit_NapiMIKOra[i], Edit_NapiMIKPerc[i], Edit_NapiMIVOra[i],
                                               Edit_NapiMIVPerc[i]};
        for (size_t k = 0; k < 4; ++k) {
            if (!TryParseWholeNumber(fields[k]->text(), value[k])) {
                ShowError(QStringLiteral("'%1' is not a valid integer value").arg(fields[k]->text()));
                fields[k]->setFocus();
                return false;
            }
        }
        const bool hoursOk = value[0] >= 0 && value[0] <= 23 && value[2] >= 0 && value[2] <= 23;
        const bool minutesOk = value[1] >= 0 && value[1] <= 59 && value[3] >= 0 && value[3] <= 59;
        if (!hoursOk || !minutesOk) {
            ShowError(!hoursOk ? QStringLiteral("A beírt óra érték hibás.\r\n0–23 a jó érték.")
                               : QStringLiteral("A beírt perc érték hibás.\r\n0–59 a jó érték."));
            fields[0]->setFocus();
            return false;
        }
        if (value[0] * 3600 + value[1] * 60 >= value[2] * 3600 + value[3] * 60) {
            ShowError(QStringLiteral("A kelvator vége legyen nagyobb,\r\nmint a kelvator kezdete."));
            Edit_NapiMIVOra[i]->setFocus();
            return false;
        }
    }
    return true;
}

void TForm_Main::Button_MunkarendClick()
{
    CheckBox_Unnepnapok->setChecked(calendarModel_.Enabled());
    pendingEntries = calendarModel_.Entries();
    {
        const QSignalBlocker quiet(SpinEdit_MunkarendEv);
        SpinEdit_MunkarendEv->setValue(platform_.now().date().year());
    }
    CheckBox_NapiMunkaido->setChecked(calendarModel_.WeekdayHoursOn());
    if (calendarModel_.Hours()) {
        FillWeekdayRows(*calendarModel_.Hours());
    } else {
        // Until the user sets them, every weekday has the settings page's hours.
        for (size_t i = 0; i < 5; ++i) {
            Edit_NapiMIKOra[i]->setText(CheckedFieldText(Edit_MIKOra));
            Edit_NapiMIKPerc[i]->setText(CheckedFieldText(Edit_MIKPerc));
            Edit_NapiMIVOra[i]->setText(CheckedFieldText(Edit_MIVOra));
            Edit_NapiMIVPerc[i]->setText(CheckedFieldText(Edit_MIVPerc));
        }
    }
    CheckBox_NapiMunkaidoClick();
    Label_NapiMunkaidoHiba->setVisible(calendarModel_.WeekdayHoursOn() && !calendarModel_.Hours());
    Label_MunkarendUzenet->clear();
    Edit_MunkarendDatum->clear();
    Edit_AthelyezesMunkanap->clear();
    Edit_AthelyezesPihenonap->clear();
    RefreshWorkPatternList();
    ShowOuterPage(TabSheet_Munkarend);
    Button_MunkarendOK->setFocus();
}

void TForm_Main::Button_MunkarendOKClick()
{
    const bool perDay = CheckBox_NapiMunkaido->isChecked();
    if (perDay && !CheckWeekdayRows())
        return;
    // Rows left unticked are kept when they are whole, for the next time the box is ticked. Rows
    // the user never set are the settings page's hours: nothing to keep, and a stored value the
    // program could not read stays as the user wrote it.
    std::optional<WeekdayHours> kept;
    if (const auto rows = WeekdayRowsValue()) {
        const bool untouched = !calendarModel_.Hours() && *rows == SettingsPageRows(*this);
        if (!untouched || (perDay && calendarModel_.WeekdayHoursText().isEmpty()))
            kept = rows;
    }
    calendarModel_.Apply(CheckBox_Unnepnapok->isChecked(), pendingEntries, perDay, kept);
    if (!SaveSettings())
        return;
    ShowOuterPage(TabSheet_Beallitasok);
    Button_Munkarend->setFocus();
}

void TForm_Main::Button_MunkarendMegsemClick()
{
    ShowOuterPage(TabSheet_Beallitasok);
    Button_Munkarend->setFocus();
}

void TForm_Main::SpinEdit_MunkarendEvChange()
{
    RefreshWorkPatternList();
}

void TForm_Main::RefreshWorkPatternList()
{
    const WorkCalendar preview(true, pendingEntries);
    ListBox_MunkarendNapok->clear();
    for (const auto& [date, info] : preview.SpecialDays(SpinEdit_MunkarendEv->value())) {
        auto* item = new QListWidgetItem(DateText(date) + QStringLiteral("  ") + WeekdayName(date) +
                                             QStringLiteral("  –  ") + info.name,
                                         ListBox_MunkarendNapok);
        item->setData(Qt::UserRole, date);
    }
}

void TForm_Main::ListBox_MunkarendNapokClick()
{
    if (QListWidgetItem* item = ListBox_MunkarendNapok->currentItem())
        Edit_MunkarendDatum->setText(CalendarDateText(item->data(Qt::UserRole).toDate()));
}

namespace {
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
} // namespace

void TForm_Main::Button_MunkarendSzabadnapClick()
{
    const QDate date = ParseCalendarDate(Edit_MunkarendDatum->text());
    if (!date.isValid()) {
        SayOnPage(Label_MunkarendUzenet, true,
                  BadDateMessage(QStringLiteral("A dátum"), Edit_MunkarendDatum->text()));
        return;
    }
    pendingEntries = WithUserDay(pendingEntries, date, DayKind::UserRest);
    SayOnPage(Label_MunkarendUzenet, false,
              CalendarDateText(date) + QStringLiteral(" saját szabadnap lett."));
    SpinEdit_MunkarendEv->setValue(date.year());
    RefreshWorkPatternList();
}

void TForm_Main::Button_MunkarendMunkanapClick()
{
    const QDate date = ParseCalendarDate(Edit_MunkarendDatum->text());
    if (!date.isValid()) {
        SayOnPage(Label_MunkarendUzenet, true,
                  BadDateMessage(QStringLiteral("A dátum"), Edit_MunkarendDatum->text()));
        return;
    }
    pendingEntries = WithUserDay(pendingEntries, date, DayKind::UserWork);
    SayOnPage(Label_MunkarendUzenet, false, CalendarDateText(date) + QStringLiteral(" saját munkanap lett."));
    SpinEdit_MunkarendEv->setValue(date.year());
    RefreshWorkPatternList();
}

void TForm_Main::Button_MunkarendTorlesClick()
{
    QDate date = ParseCalendarDate(Edit_MunkarendDatum->text());
    if (!date.isValid() && ListBox_MunkarendNapok->currentItem())
        date = ListBox_MunkarendNapok->currentItem()->data(Qt::UserRole).toDate();
    if (!date.isValid()) {
        SayOnPage(Label_MunkarendUzenet, true,
                  QStringLiteral("Válasszon egy napot a listából, vagy írja be a dátumát."));
        return;
    }
    const CalendarEntries withoutDay = WithUserDay(pendingEntries, date, DayKind::Plain);
    CalendarEntries result = withoutDay;
    if (withoutDay == pendingEntries) {
        // Not a day of the user's own: perhaps a pair the user added.
        result.pairs.removeIf([&date](const QString& e) {
            const auto pair = ParseDecreePair(e);
            return pair && (pair->working == date || pair->rest == date);
        });
    }
    if (result == pendingEntries) {
        SayOnPage(Label_MunkarendUzenet, true,
                  CalendarDateText(date) +
                      QStringLiteral(" a törvény vagy a beépített rendelet napja, nem törölhető; a Szabadnap "
                                     "vagy a Munkanap gombbal felülírható."));
        return;
    }
    pendingEntries = result;
    SayOnPage(Label_MunkarendUzenet, false,
              CalendarDateText(date) + QStringLiteral(" újra a naptár szerint számít."));
    RefreshWorkPatternList();
}

void TForm_Main::Button_AthelyezesHozzaadasClick()
{
    const QString workText = Edit_AthelyezesMunkanap->text();
    const QString restText = Edit_AthelyezesPihenonap->text();
    const QDate working = ParseCalendarDate(workText);
    const QDate rest = ParseCalendarDate(restText);
    const DecreePair pair{working, rest};
    DecreeBook book = BookOf(pendingEntries.pairs);
    const bool known = working.isValid() && rest.isValid() && book.Contains(pair);
    QString problem;
    if (!working.isValid())
        problem = BadDateMessage(QStringLiteral("Az áthelyezett munkanap"), workText);
    else if (!rest.isValid())
        problem = BadDateMessage(QStringLiteral("A pihenőnap"), restText);
    else
        problem = book.Add(pair);
    if (!problem.isEmpty()) {
        SayOnPage(Label_MunkarendUzenet, true, problem);
        return;
    }
    if (known) {
        SayOnPage(Label_MunkarendUzenet, false, QStringLiteral("Ez az áthelyezés már szerepel a listában."));
        SpinEdit_MunkarendEv->setValue(working.year());
        return;
    }
    pendingEntries.pairs << DecreePairText(pair);
    SayOnPage(Label_MunkarendUzenet, false,
              QStringLiteral("Áthelyezés: ") + CalendarDateText(working) + QStringLiteral(" munkanap, ") +
                  CalendarDateText(rest) + QStringLiteral(" pihenőnap."));
    SpinEdit_MunkarendEv->setValue(working.year());
    RefreshWorkPatternList();
}

void TForm_Main::CheckBox_NapiMunkaidoClick()
{
    const bool on = CheckBox_NapiMunkaido->isChecked();
    for (size_t i = 0; i < 5; ++i) {
        for (QLineEdit* e :
             {Edit_NapiMIKOra[i], Edit_NapiMIKPerc[i], Edit_NapiMIVOra[i], Edit_NapiMIVPerc[i]}) {
            e->setEnabled(on);
            if (on && e->text().isEmpty())
                e->setText(CheckedFieldText(e == Edit_NapiMIKOra[i]    ? Edit_MIKOra
                                            : e == Edit_NapiMIKPerc[i] ? Edit_MIKPerc
                                            : e == Edit_NapiMIVOra[i]  ? Edit_MIVOra
                                                                       : Edit_MIVPerc));
        }
    }
}

// ---- Settings ----------------------------------------------------------------------------------
