// The stopwatch page: start, laps and stop, kept across restarts.
#include "app/form_main.h"

#include "app/widget_factory.h"

#include <QLineEdit>
#include <QListWidget>

using namespace kelvator;

void TForm_Main::BuildStopwatchPage()
{
    QWidget* page = TabSheet_Stopper;
    Edit_Stopper = Place<QLineEdit>(page, "Edit_Stopper", 12, 8, 280, 21);
    Edit_Stopper->setText(QStringLiteral("Stopper óra"));
    Edit_Stopper->setToolTip(QStringLiteral("Ide beírhatja, a stopper órával mért esemény nevét."));
    ListBox_Stopper = Place<QListWidget>(page, "ListBox_Stopper", 300, 140, 200, 180);
}
