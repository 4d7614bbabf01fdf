// The events page: six slots, each with its name, date and distance from now.
#include "app/form_main.h"

#include "app/widget_factory.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using namespace kelvator;

void TForm_Main::BuildEventsPage()
{
    QWidget* page = TabSheet_Esemenyek;
    static constexpr std::array<int, 6> kBoxTops{8, 60, 113, 166, 219, 272};
    static constexpr std::array<int, 6> kCheckTops{14, 66, 119, 172, 225, 278};
    for (size_t i = 0; i < 6; ++i) {
        const QByteArray n = QByteArray::number(static_cast<int>(i) + 1);
        GroupBox_Esemeny[i] = Place<QGroupBox>(page, QByteArray("GroupBox_Esemeny" + n).constData(), 0,
                                               kBoxTops[i], 385, 53, QString::fromLatin1(n + '.'));
        Label_EsemenyMegnevezes[i] =
            Place<QLabel>(GroupBox_Esemeny[i], QByteArray("Label_EsemenyMegnevezes" + n).constData(), 16, 11,
                          329, 18, QStringLiteral("A program első elindítása"));
        Label_EsemenyMegnevezes[i]->setFont(ArialPx(15, true));
        Label_EsemenyMikorLesz[i] =
            Place<QLabel>(GroupBox_Esemeny[i], QByteArray("Label_EsemenyMikorLesz" + n).constData(), 16, 30,
                          329, 18, QStringLiteral("Ekkor lesz / volt."));
        Label_EsemenyMikorLesz[i]->setFont(ArialPx(15, true));
        Button_EsemenyBeallitas[i] =
            Place<QPushButton>(GroupBox_Esemeny[i], QByteArray("Button_EsemenyBeallitas" + n).constData(),
                               360, 16, 17, 17, QStringLiteral("..."));
        Button_EsemenyBeallitas[i]->setToolTip(
            QStringLiteral("Ide kattintva megadhatja az esemény megnevezését és időpontját"));
        CheckBox_EsemenyLathato[i] = Place<QCheckBox>(
            page, QByteArray("CheckBox_EsemenyLathato" + n).constData(), 386, kCheckTops[i], 17, 17);
        CheckBox_EsemenyLathato[i]->setToolTip(
            QStringLiteral("Az esemény akkor látható, ha itt be van jelölve."));
        CheckBox_EsemenyLathato[i]->setChecked(true);

        CheckBox_AzOraEsPercIsSzamit[i] =
            Place<QCheckBox>(page, QByteArray("CheckBox_AzOraEsPercIsSzamit" + n).constData(), 0, 0, 0, 0);
        CheckBox_AzOraEsPercIsSzamit[i]->setChecked(true);
        CheckBox_EsemenyNapbanKiirva[i] =
            Place<QCheckBox>(page, QByteArray("CheckBox_EsemenyNapbanKiirva" + n).constData(), 0, 0, 0, 0);
        for (QCheckBox* storage : {CheckBox_AzOraEsPercIsSzamit[i], CheckBox_EsemenyNapbanKiirva[i]}) {
            storage->setEnabled(false);
            storage->hide();
        }
    }
    static constexpr std::array<int, 5> kSwapTops{55, 108, 161, 214, 266};
    for (size_t i = 0; i < 5; ++i) {
        const QByteArray n = QByteArray::number(static_cast<int>(i) + 1);
        Button_EsemenyCsere[i] =
            Place<QPushButton>(page, QByteArray("Button_EsemenyCsere" + n).constData(), i == 0 ? 404 : 403,
                               kSwapTops[i], i == 0 ? 20 : 21, i == 4 ? 18 : 17, QStringLiteral("II"));
        Button_EsemenyCsere[i]->setToolTip(QStringLiteral("A két esemény sorrend felcserélése"));
    }
}
