// The date calculator page: two calendars, their steps and the difference between them.
#include "app/form_main.h"

#include "app/widget_factory.h"
#include "widgets/tmonthcalendar.h"

#include <QComboBox>

using namespace kelvator;

void TForm_Main::BuildDateCalcPage()
{
    QWidget* page = TabSheet_Datumok;
    MonthCalendar_Datumok1 = Place<TMonthCalendar>(page, "MonthCalendar_Datumok1", 26, 1, 204, 153);
    MonthCalendar_Datumok2 = Place<TMonthCalendar>(page, "MonthCalendar_Datumok2", 243, 1, 204, 153);
    ComboBox_DatumokLepeskoz1 = Place<QComboBox>(page, "ComboBox_DatumokLepeskoz1", 186, 206, 41, 21);
    ComboBox_DatumokLepeskoz2 = Place<QComboBox>(page, "ComboBox_DatumokLepeskoz2", 403, 206, 41, 21);
    for (QComboBox* steps : {ComboBox_DatumokLepeskoz1, ComboBox_DatumokLepeskoz2})
        steps->setToolTip(QStringLiteral("Lépésköz megadása"));
}
