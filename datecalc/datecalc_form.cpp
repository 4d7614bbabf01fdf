// The date calculator page: two calendars, their steps and the difference between them.
#include "app/form_main.h"

#include "calendar/calendar_texts.h"
#include "datecalc/datecalc.h"
#include "widgets/tmonthcalendar.h"
#include "widgets/widget_factory.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using namespace kelvator;

namespace {
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

void TForm_Main::BuildDateCalcPage()
{
    QWidget* page = TabSheet_Datumok;
    for (int side = 0; side < 2; ++side) {
        DateSide& s = dateSides[static_cast<size_t>(side)];
        s.calendar = Place<TMonthCalendar>(page, Named("MonthCalendar_Datumok", side).constData(),
                                           side ? 243 : 26, 1, 204, 153);
        connect(s.calendar, &QCalendarWidget::clicked, this, &TForm_Main::RefreshDateCalculator);
        // With the work calendar ticked, the days not worked are red, as in the yearly calendar.
        s.calendar->setDaysOff(DaysOffTest(), int(calendarModel_.Revision()));
        s.distance = Centred(page, Named("Label_DatumokMikorVolt", side).constData(), side ? 240 : 24, 156,
                             209, 17, 11);

        auto* box = Place<QGroupBox>(page, side ? "GroupBox6" : "GroupBox7", side ? 243 : 26, 194,
                                     side ? 204 : 205, 127);
        (side ? GroupBox6 : GroupBox7) = box;
        s.today = Place<QPushButton>(box, Named("Button_DatumokMa", side).constData(), 64, 12, 35, 38,
                                     QStringLiteral("Ma"));
        connect(s.today, &QPushButton::clicked, this, [this, side] { Button_DatumokMaClick(side); });
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
            s.back[k] = Place<QPushButton>(box, Named(row.back, side).constData(), 9, row.top, row.width, 19);
            s.forward[k] = Place<QPushButton>(box, Named(row.forward, side).constData(), row.forwardLeft,
                                              row.top, row.width, 19);
            connect(s.back[k], &QPushButton::clicked, this,
                    [this, side, kind] { StepDateSide(side, kind, -1); });
            connect(s.forward[k], &QPushButton::clicked, this,
                    [this, side, kind] { StepDateSide(side, kind, 1); });
        }
        s.steps = Place<QComboBox>(box, Named("ComboBox_DatumokLepeskoz", side).constData(), 160, 12, 41, 21);
        s.steps->setToolTip(QStringLiteral("Lépésköz megadása"));
        connect(s.steps, &QComboBox::activated, this, &TForm_Main::RefreshDateCalculator);
        s.stepOne = Place<QPushButton>(box, Named("Button_DatumokLepeskozEgy", side).constData(), 160, 44, 41,
                                       29, QStringLiteral("L = 1"));
        s.stepOne->setToolTip(QStringLiteral("Lépésköz = 1"));
        connect(s.stepOne, &QPushButton::clicked, this,
                [this, side] { Button_DatumokLepeskozEgyClick(side); });
    }
    MonthCalendar_Datumok1 = dateSides[0].calendar;
    MonthCalendar_Datumok2 = dateSides[1].calendar;
    ComboBox_DatumokLepeskoz1 = dateSides[0].steps;
    ComboBox_DatumokLepeskoz2 = dateSides[1].steps;
    Label_DatumokMikorVolt1 = dateSides[0].distance;
    Label_DatumokMikorVolt2 = dateSides[1].distance;

    Image_DatumokJobbraNyil = Place<QLabel>(page, "Image_DatumokJobbraNyil", 216, 159, 44, 17);
    Image_DatumokJobbraNyil->setPixmap(QPixmap(QStringLiteral(":/kelvator/arrow_right.png")));
    Image_DatumokJobbraNyil->hide();
    Image_DatumokBalraNyil = Place<QLabel>(page, "Image_DatumokBalraNyil", 216, 159, 44, 17);
    Image_DatumokBalraNyil->setPixmap(QPixmap(QStringLiteral(":/kelvator/arrow_left.png")));
    Image_DatumokBalraNyil->hide();
    Label_DatumokEgyenlo = Centred(page, "Label_DatumokEgyenlo", 216, 152, 41, 29, 32);
    Label_DatumokEgyenlo->setText(QStringLiteral("="));
    Label_DatumokEgyenlo->hide();
    Label_DatumokKulonbseg = Centred(page, "Label_DatumokKulonbseg", 48, 178, 385, 17, 13);

    Button_Datumok1To2 =
        Place<QPushButton>(page, "Button_Datumok1To2", 224, 72, 25, 17, QStringLiteral("--->"));
    Button_Datumok1To2->setToolTip(QStringLiteral("Bal oldali dátum átmásolása a jobb oldalra"));
    connect(Button_Datumok1To2, &QPushButton::clicked, this, &TForm_Main::Button_Datumok1To2Click);
    Button_Datumok2To1 =
        Place<QPushButton>(page, "Button_Datumok2To1", 224, 104, 25, 17, QStringLiteral("<---"));
    Button_Datumok2To1->setToolTip(QStringLiteral("Jobb oldali dátum átmásolása a bal oldalra"));
    connect(Button_Datumok2To1, &QPushButton::clicked, this, &TForm_Main::Button_Datumok2To1Click);
    // Arrow keys and Page Up/Down pick dates too, not only clicks.
    for (const DateSide& s : dateSides)
        connect(s.calendar, &QCalendarWidget::selectionChanged, this, &TForm_Main::RefreshDateCalculator);
}

void TForm_Main::RefreshDateCalculator()
{
    const TDateTime now = ToDateTime(platform_.now());
    for (const DateSide& s : dateSides) {
        const int n = s.steps->currentIndex() + 1; // no choice counts as step 0
        for (size_t kind = 0; kind < 5; ++kind) {
            s.back[kind]->setText(StepCaption(static_cast<DateStep>(kind), n, -1));
            s.forward[kind]->setText(StepCaption(static_cast<DateStep>(kind), n, 1));
        }
        s.distance->setText(DateDifferenceText(false, true, ToDateTime(s.calendar->selectedDate()), now));
    }
    const TDateTime left = NoonOf(ToDateTime(MonthCalendar_Datumok1->selectedDate()));
    const TDateTime right = NoonOf(ToDateTime(MonthCalendar_Datumok2->selectedDate()));
    Image_DatumokJobbraNyil->setVisible(left < right);
    Image_DatumokBalraNyil->setVisible(left > right);
    Label_DatumokEgyenlo->setVisible(left == right);
    Label_DatumokKulonbseg->setText(DateDifferenceText(false, false, left, right) + u'.');
}

void TForm_Main::StepDateSide(int side, int kind, int direction)
{
    const DateSide& s = dateSides[static_cast<size_t>(side)];
    const int n = s.steps->currentIndex() + 1;
    s.calendar->setSelectedDate(
        StepDate(s.calendar->selectedDate(), static_cast<DateStep>(kind), n, direction,
                 [this](const QDate& d) { return calendarModel_.Calendar().IsWorkingDay(d); }));
    RefreshDateCalculator();
}

void TForm_Main::Button_DatumokMaClick(int side)
{
    dateSides[static_cast<size_t>(side)].calendar->setSelectedDate(platform_.now().date());
    RefreshDateCalculator();
}

void TForm_Main::Button_DatumokLepeskozEgyClick(int side)
{
    dateSides[static_cast<size_t>(side)].steps->setCurrentIndex(0);
    RefreshDateCalculator();
}

void TForm_Main::Button_Datumok1To2Click()
{
    MonthCalendar_Datumok2->setSelectedDate(MonthCalendar_Datumok1->selectedDate());
    RefreshDateCalculator();
}

void TForm_Main::Button_Datumok2To1Click()
{
    MonthCalendar_Datumok1->setSelectedDate(MonthCalendar_Datumok2->selectedDate());
    RefreshDateCalculator();
}
