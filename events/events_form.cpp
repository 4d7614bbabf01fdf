// The events page (six slots with their distance from now) and the event editor page.
#include "app/form_main.h"

#include "calendar/calendar_texts.h"
#include "calendar/numbermask.h"
#include "widgets/tmonthcalendar.h"
#include "widgets/widget_factory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

using namespace kelvator;

namespace {
QByteArray Numbered(const char* name, size_t i)
{
    return QByteArray(name) + QByteArray::number(static_cast<int>(i) + 1);
}

// "2024.05.07." and, when the time of day counts, "   20:00".
QString EventCaption(TDateTime moment, bool timeCounts)
{
    const QTime time = TimeOf(moment);
    QString text = DateText(DateOf(moment));
    if (timeCounts)
        text +=
            QStringLiteral("   ") + FormatMask(time.hour(), u"00") + u':' + FormatMask(time.minute(), u"00");
    return text;
}
} // namespace

void TForm_Main::BuildEventsPage()
{
    QWidget* page = TabSheet_Esemenyek;
    static constexpr std::array<int, 6> kBoxTops{8, 60, 113, 166, 219, 272};
    static constexpr std::array<int, 6> kCheckTops{14, 66, 119, 172, 225, 278};
    for (size_t i = 0; i < 6; ++i) {
        GroupBox_Esemeny[i] = Place<QGroupBox>(page, Numbered("GroupBox_Esemeny", i).constData(), 0,
                                               kBoxTops[i], 385, 53, QString::number(i + 1) + u'.');
        Label_EsemenyMegnevezes[i] =
            Place<QLabel>(GroupBox_Esemeny[i], Numbered("Label_EsemenyMegnevezes", i).constData(), 16, 11,
                          329, 18, QStringLiteral("A program első elindítása"));
        Label_EsemenyMegnevezes[i]->setTextFormat(Qt::PlainText); // a name is never markup
        Label_EsemenyMegnevezes[i]->setFont(ArialPx(15, true));
        Label_EsemenyMikorLesz[i] =
            Place<QLabel>(GroupBox_Esemeny[i], Numbered("Label_EsemenyMikorLesz", i).constData(), 16, 30, 329,
                          18, QStringLiteral("Ekkor lesz / volt."));
        Label_EsemenyMikorLesz[i]->setFont(ArialPx(15, true));
        Button_EsemenyBeallitas[i] =
            Place<QPushButton>(GroupBox_Esemeny[i], Numbered("Button_EsemenyBeallitas", i).constData(), 360,
                               16, 17, 17, QStringLiteral("..."));
        Button_EsemenyBeallitas[i]->setToolTip(
            QStringLiteral("Ide kattintva megadhatja az esemény megnevezését és időpontját"));
        connect(Button_EsemenyBeallitas[i], &QPushButton::clicked, this,
                [this, i] { Button_EsemenyBeallitasClick(static_cast<int>(i) + 1); });

        CheckBox_EsemenyLathato[i] = Place<QCheckBox>(
            page, Numbered("CheckBox_EsemenyLathato", i).constData(), 386, kCheckTops[i], 17, 17);
        CheckBox_EsemenyLathato[i]->setToolTip(
            QStringLiteral("Az esemény akkor látható, ha itt be van jelölve."));
        CheckBox_EsemenyLathato[i]->setChecked(true);
        connect(CheckBox_EsemenyLathato[i], &QCheckBox::clicked, this,
                &TForm_Main::CheckBox_EsemenyLathatoClick);

        CheckBox_AzOraEsPercIsSzamit[i] =
            Place<QCheckBox>(page, Numbered("CheckBox_AzOraEsPercIsSzamit", i).constData(), 0, 0, 0, 0);
        CheckBox_AzOraEsPercIsSzamit[i]->setChecked(true);
        CheckBox_EsemenyNapbanKiirvaN[i] =
            Place<QCheckBox>(page, Numbered("CheckBox_EsemenyNapbanKiirva", i).constData(), 0, 0, 0, 0);
        for (QCheckBox* storage : {CheckBox_AzOraEsPercIsSzamit[i], CheckBox_EsemenyNapbanKiirvaN[i]}) {
            storage->setEnabled(false);
            storage->hide();
        }
    }
    static constexpr std::array<int, 5> kSwapTops{55, 108, 161, 214, 266};
    for (size_t i = 0; i < 5; ++i) {
        Button_EsemenyCsere[i] =
            Place<QPushButton>(page, Numbered("Button_EsemenyCsere", i).constData(), i == 0 ? 404 : 403,
                               kSwapTops[i], i == 0 ? 20 : 21, i == 4 ? 18 : 17, QStringLiteral("II"));
        Button_EsemenyCsere[i]->setToolTip(QStringLiteral("A két esemény sorrend felcserélése"));
        connect(Button_EsemenyCsere[i], &QPushButton::clicked, this,
                [this, i] { Button_EsemenyCsereClick(static_cast<int>(i) + 1); });
    }
}

void TForm_Main::BuildEventEditorPage()
{
    QWidget* page = TabSheet_EsemenyBeallitasa;
    Label_EsemenyMegadasCaption = Place<QLabel>(page, "Label_EsemenyMegadasCaption", 8, 16, 433, 24,
                                                QStringLiteral("Esemény nevének és időpontjának megadása"));
    Label_EsemenyMegadasCaption->setAlignment(Qt::AlignCenter);
    Label_EsemenyMegadasCaption->setFont(ArialPx(16));
    LabeledEdit_EsemenyMegnevezese =
        Place<QLineEdit>(page, "LabeledEdit_EsemenyMegnevezese", 208, 40, 177, 21);
    LabeledEdit_EsemenyMegnevezese->setMaxLength(30);
    auto* nameLabel = new QLabel(QStringLiteral("Az esemény megnevezése:"), page);
    nameLabel->adjustSize();
    nameLabel->move(208 - 8 - nameLabel->width(), 43);
    nameLabel->setBuddy(LabeledEdit_EsemenyMegnevezese);

    GroupBox12 = Place<QGroupBox>(page, "GroupBox12", 8, 64, 433, 185, QStringLiteral("Esemény dátuma:"));
    MonthCalendar_Esemeny = Place<TMonthCalendar>(GroupBox12, "MonthCalendar_Esemeny", 13, 24, 204, 153);
    connect(MonthCalendar_Esemeny, &QCalendarWidget::clicked, this, &TForm_Main::RefreshEventEditor);
    GroupBox19 = Place<QGroupBox>(GroupBox12, "GroupBox19", 242, 22, 165, 107);
    Button_EsemenyMa =
        Place<QPushButton>(GroupBox19, "Button_EsemenyMa", 64, 12, 35, 38, QStringLiteral("Ma"));
    connect(Button_EsemenyMa, &QPushButton::clicked, this, &TForm_Main::Button_EsemenyMaClick);
    const struct {
        QPushButton** button;
        const char* name;
        int left, top, width;
        const char16_t* caption;
        int days, months;
    } steps[] = {
        {&Button_M1Nap, "Button_M1Nap", 9, 12, 49, u"-1 nap", -1, 0},
        {&Button_P1Nap, "Button_P1Nap", 105, 12, 49, u"+1 nap", 1, 0},
        {&Button_M1Het, "Button_M1Het", 9, 34, 49, u"-1 hét", -7, 0},
        {&Button_P1Het, "Button_P1Het", 105, 34, 49, u"+1 hét", 7, 0},
        {&Button_M1Honap, "Button_M1Honap", 9, 56, 55, u"-1 hónap", 0, -1},
        {&Button_P1Honap, "Button_P1Honap", 99, 56, 55, u"+1 hónap", 0, 1},
        {&Button_M1Ev, "Button_M1Ev", 9, 78, 61, u"-1 év", 0, -12},
        {&Button_P1Ev, "Button_P1Ev", 93, 78, 61, u"+1 év", 0, 12},
    };
    for (const auto& step : steps) {
        *step.button = Place<QPushButton>(GroupBox19, step.name, step.left, step.top, step.width, 19,
                                          QString::fromUtf16(step.caption));
        const int days = step.days;
        const int months = step.months;
        connect(*step.button, &QPushButton::clicked, this,
                [this, days, months] { ShiftEventDate(days, months); });
    }
    Label_EsemenyMikorVolt = Place<QLabel>(GroupBox12, "Label_EsemenyMikorVolt", 224, 152, 201, 17);
    Label_EsemenyMikorVolt->setAlignment(Qt::AlignCenter);

    GroupBox13 = Place<QGroupBox>(page, "GroupBox13", 8, 256, 369, 105, QStringLiteral("Esemény időpontja:"));
    CheckBox_EsemenyOraPercSzamit = Place<QCheckBox>(GroupBox13, "CheckBox_EsemenyOraPercSzamit", 8, 16, 150,
                                                     19, QStringLiteral("Az Óra és Perc is számít"));
    ComboBox_EsemenyOra = Place<QComboBox>(GroupBox13, "ComboBox_EsemenyOra", 16, 48, 57, 21);
    for (int h = 0; h < 24; ++h)
        ComboBox_EsemenyOra->addItem(FormatMask(h, u"00"));
    ComboBox_EsemenyPerc = Place<QComboBox>(GroupBox13, "ComboBox_EsemenyPerc", 80, 48, 57, 21);
    for (int m = 0; m < 60; ++m)
        ComboBox_EsemenyPerc->addItem(FormatMask(m, u"00"));
    Label_EsemenyOra = Place<QLabel>(GroupBox13, "Label_EsemenyOra", 18, 71, 50, 14, QStringLiteral("Óra"));
    Label_EsemenyPerc =
        Place<QLabel>(GroupBox13, "Label_EsemenyPerc", 82, 71, 50, 14, QStringLiteral("Perc"));
    Button_EsemenyMost = Place<QPushButton>(GroupBox13, "Button_EsemenyMost", 152, 45, 137, 25,
                                            QStringLiteral("Időpont = jelenlegi idő"));
    Label_EsemenyMikorVolt2 = Place<QLabel>(GroupBox13, "Label_EsemenyMikorVolt2", 168, 16, 193, 17);
    Label_EsemenyMikorVolt2->setAlignment(Qt::AlignCenter);
    CheckBox_EsemenyNapbanKiirva =
        Place<QCheckBox>(GroupBox13, "CheckBox_EsemenyNapbanKiirva", 136, 80, 225, 19,
                         QStringLiteral("Időponttól függetlenül napokban íródjon ki"));
    for (QCheckBox* box : {CheckBox_EsemenyOraPercSzamit, CheckBox_EsemenyNapbanKiirva})
        connect(box, &QCheckBox::clicked, this, &TForm_Main::RefreshEventEditor);
    for (QComboBox* list : {ComboBox_EsemenyOra, ComboBox_EsemenyPerc})
        connect(list, &QComboBox::activated, this, &TForm_Main::RefreshEventEditor);
    connect(Button_EsemenyMost, &QPushButton::clicked, this, &TForm_Main::Button_EsemenyMostClick);

    Button_EsemenyMegadasOK =
        Place<QPushButton>(page, "Button_EsemenyMegadasOK", 384, 259, 57, 25, QStringLiteral("OK."));
    Button_EsemenyMegadasMegsem =
        Place<QPushButton>(page, "Button_EsemenyMegadasMegsem", 384, 299, 57, 25, QStringLiteral("Mégsem"));
    connect(Button_EsemenyMegadasOK, &QPushButton::clicked, this, &TForm_Main::Button_EsemenyMegadasOKClick);
    connect(Button_EsemenyMegadasMegsem, &QPushButton::clicked, this,
            &TForm_Main::Button_EsemenyMegadasMegsemClick);
}

// ---- The list ----------------------------------------------------------------------------

void TForm_Main::RefreshEventList()
{
    const TDateTime now = ToDateTime(platform_.now());
    for (size_t i = 0; i < 6; ++i) {
        if (!CheckBox_EsemenyLathato[i]->isChecked())
            continue;
        const bool timeCounts = CheckBox_AzOraEsPercIsSzamit[i]->isChecked();
        const QString distance = DateDifferenceText(timeCounts, true, dtEsemeny[i], now);
        if (Label_EsemenyMikorLesz[i]->text() != distance)
            Label_EsemenyMikorLesz[i]->setText(distance);
        const QString caption = EventCaption(dtEsemeny[i], timeCounts);
        if (GroupBox_Esemeny[i]->title() != caption)
            GroupBox_Esemeny[i]->setTitle(caption);
    }
    for (size_t i = 0; i < 6; ++i) {
        const bool visible = CheckBox_EsemenyLathato[i]->isChecked();
        if (GroupBox_Esemeny[i]->isVisibleTo(TabSheet_Esemenyek) != visible)
            GroupBox_Esemeny[i]->setVisible(visible);
    }
    for (size_t i = 0; i < 5; ++i) {
        bool laterVisible = false;
        for (size_t k = i + 1; k < 6; ++k)
            laterVisible = laterVisible || CheckBox_EsemenyLathato[k]->isChecked();
        const bool shown = CheckBox_EsemenyLathato[i]->isChecked() && laterVisible;
        if (Button_EsemenyCsere[i]->isVisibleTo(TabSheet_Esemenyek) != shown)
            Button_EsemenyCsere[i]->setVisible(shown);
    }
    for (int n = 1; n <= 5; ++n) {
        if (Button_EsemenyCsere[static_cast<size_t>(n - 1)]->isVisibleTo(TabSheet_Esemenyek))
            StretchSwapButton(n);
    }
}

void TForm_Main::StretchSwapButton(int n)
{
    QPushButton* button = Button_EsemenyCsere[static_cast<size_t>(n - 1)];
    for (size_t k = static_cast<size_t>(n); k < 6; ++k) {
        if (!CheckBox_EsemenyLathato[k]->isChecked())
            continue;
        // From the bottom of its own box down into the next visible one, over hidden ones.
        const int height = GroupBox_Esemeny[k]->y() - button->y() + 17;
        if (button->height() != height)
            button->resize(button->width(), height);
        return;
    }
}

void TForm_Main::SwapEvents(int a, int b)
{
    const auto ia = static_cast<size_t>(a - 1);
    const auto ib = static_cast<size_t>(b - 1);
    const QString name = Label_EsemenyMegnevezes[ia]->text();
    Label_EsemenyMegnevezes[ia]->setText(Label_EsemenyMegnevezes[ib]->text());
    Label_EsemenyMegnevezes[ib]->setText(name);
    const bool timeCounts = CheckBox_AzOraEsPercIsSzamit[ia]->isChecked();
    CheckBox_AzOraEsPercIsSzamit[ia]->setChecked(CheckBox_AzOraEsPercIsSzamit[ib]->isChecked());
    CheckBox_AzOraEsPercIsSzamit[ib]->setChecked(timeCounts);
    std::swap(dtEsemeny[ia], dtEsemeny[ib]);
    RefreshEventList();
}

void TForm_Main::Button_EsemenyCsereClick(int n)
{
    for (int k = n + 1; k <= 6; ++k) {
        if (CheckBox_EsemenyLathato[static_cast<size_t>(k - 1)]->isChecked()) {
            SwapEvents(n, k);
            break;
        }
    }
    SaveSettings();
}

void TForm_Main::CheckBox_EsemenyLathatoClick()
{
    RefreshEventList();
    if (settingsLoadedFlag)
        SaveSettings();
}

// ---- The editor --------------------------------------------------------------------------

void TForm_Main::Button_EsemenyBeallitasClick(int n)
{
    const auto i = static_cast<size_t>(n - 1);
    ShowOuterPage(TabSheet_EsemenyBeallitasa);
    Button_EsemenyMegadasOK->setFocus();
    SetMainMenuEnabled(false);
    Label_EsemenyMegadasCaption->setText(QString::number(n) +
                                         QStringLiteral(". esemény nevének és időpontjának megadása"));
    LabeledEdit_EsemenyMegnevezese->setText(Label_EsemenyMegnevezes[i]->text());
    CheckBox_EsemenyOraPercSzamit->setChecked(CheckBox_AzOraEsPercIsSzamit[i]->isChecked());
    CheckBox_EsemenyNapbanKiirva->setChecked(CheckBox_EsemenyNapbanKiirvaN[i]->isChecked());
    editedEvent = n;
    const QTime moment = TimeOf(dtEsemeny[i]);
    MonthCalendar_Esemeny->setSelectedDate(DateOf(NoonOf(dtEsemeny[i])));
    ComboBox_EsemenyOra->setCurrentIndex(moment.hour());
    ComboBox_EsemenyPerc->setCurrentIndex(moment.minute());
    RefreshEventEditor();
    SaveSettings();
}

TDateTime TForm_Main::EditedEventMoment() const
{
    const int hour = qMax(0, ComboBox_EsemenyOra->currentIndex());
    const int minute = qMax(0, ComboBox_EsemenyPerc->currentIndex());
    return ToDateTime(MonthCalendar_Esemeny->selectedDate(), QTime(hour, minute));
}

void TForm_Main::RefreshEventEditor()
{
    const bool timeCounts = CheckBox_EsemenyOraPercSzamit->isChecked();
    for (QWidget* w :
         std::initializer_list<QWidget*>{ComboBox_EsemenyOra, ComboBox_EsemenyPerc, Label_EsemenyOra,
                                         Label_EsemenyPerc, Button_EsemenyMost})
        w->setEnabled(timeCounts);
    Label_EsemenyMikorVolt->setVisible(!timeCounts);
    Label_EsemenyMikorVolt2->setVisible(timeCounts);
    const TDateTime moment = EditedEventMoment();
    const TDateTime now = ToDateTime(platform_.now());
    const bool inDays = CheckBox_EsemenyNapbanKiirva->isChecked();
    Label_EsemenyMikorVolt->setText(RelativeTimeText(false, inDays, moment, now));
    Label_EsemenyMikorVolt2->setText(RelativeTimeText(true, inDays, moment, now));
}

void TForm_Main::ShiftEventDate(int days, int months)
{
    const QDate date = MonthCalendar_Esemeny->selectedDate();
    // The calendar accepts years 1-9999 only; a step past them leaves the date alone.
    if (StepStaysInRange(date, months, days))
        MonthCalendar_Esemeny->setSelectedDate(ShiftMonths(date, months).addDays(days));
    RefreshEventEditor();
}

void TForm_Main::Button_EsemenyMaClick()
{
    MonthCalendar_Esemeny->setSelectedDate(platform_.now().date());
    RefreshEventEditor();
}

void TForm_Main::Button_EsemenyMostClick()
{
    const QTime now = platform_.now().time();
    ComboBox_EsemenyOra->setCurrentIndex(now.hour());
    ComboBox_EsemenyPerc->setCurrentIndex(now.minute());
    RefreshEventEditor();
}

void TForm_Main::Button_EsemenyMegadasOKClick()
{
    const auto i = static_cast<size_t>(editedEvent - 1);
    Label_EsemenyMegnevezes[i]->setText(LabeledEdit_EsemenyMegnevezese->text());
    CheckBox_AzOraEsPercIsSzamit[i]->setChecked(CheckBox_EsemenyOraPercSzamit->isChecked());
    CheckBox_EsemenyNapbanKiirvaN[i]->setChecked(CheckBox_EsemenyNapbanKiirva->isChecked());
    dtEsemeny[i] = EditedEventMoment();
    Button_EsemenyMegadasMegsemClick();
}

void TForm_Main::Button_EsemenyMegadasMegsemClick()
{
    ShowOuterPage(TabSheet_Main);
    SetMainMenuEnabled(true);
    RefreshEventList();
}
