// The yearly calendar page: the year as a grid of days the user colours.
#include "app/form_main.h"

#include "app/widget_factory.h"
#include "widgets/tshape.h"

using namespace kelvator;

void TForm_Main::BuildYearCalendarPage()
{
    Shape_EvesNaptarAktualisSzin =
        Place<TShape>(TabSheet_EvesNaptar, "Shape_EvesNaptarAktualisSzin", 323, 261, 30, 16);
    Shape_EvesNaptarAktualisSzin->setBrushColor(0x000080FF);
    for (MonthColours& month : dayColours)
        month.fill(kButtonFace);
}
