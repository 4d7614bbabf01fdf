#include "alarms/alarms_page.h"

#include "widgets/widget_factory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

#include <array>

namespace kelvator {

AlarmsPage::AlarmsPage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheet_Riasztasok"));
    QWidget* page = this;
    static constexpr std::array<const char16_t*, 7> kDays{u"H", u"K", u"Sze", u"Cs", u"P", u"Szo", u"V"};
    for (size_t d = 0; d < kDays.size(); ++d) {
        auto* head =
            Place<QLabel>(page, QByteArray("Label_RiasztasNap" + QByteArray::number(int(d) + 1)).constData(),
                          82 + 26 * static_cast<int>(d), 4, 24, 14, QString::fromUtf16(kDays[d]));
        head->setAlignment(Qt::AlignCenter);
    }
    Place<QLabel>(page, "Label_RiasztasBe", 266, 4, 40, 14, QStringLiteral("Be"))
        ->setAlignment(Qt::AlignCenter);
    for (int row = 1; row <= 12; ++row) {
        const QByteArray n = QByteArray::number(row);
        const int top = 20 + (row - 1) * 25;
        Place<QPushButton>(page, QByteArray("Button_Riasztas" + n).constData(), 6, top, 70, 22,
                           QString::number(row) + QStringLiteral(". riasztás"));
        for (int d = 1; d <= 7; ++d) {
            Place<QCheckBox>(page,
                             QByteArray("CheckBox_Riasztas" + n + "Nap" + QByteArray::number(d)).constData(),
                             88 + 26 * (d - 1), top + 3, 16, 16);
        }
        Place<QCheckBox>(page, QByteArray("CheckBox_RiasztasBe" + n).constData(), 278, top + 3, 16, 16);
        Place<QPushButton>(page, QByteArray("Button_RiasztasTovabb" + n).constData(), 304, top, 24, 22,
                           QStringLiteral("..."));
    }

    auto* detail =
        Place<QGroupBox>(page, "GroupBox_RiasztasReszletek", 338, 14, 168, 306, QStringLiteral("Riasztás:"));
    Place<QLabel>(detail, "Label_RiasztasIdopont", 10, 20, 150, 14, QStringLiteral("Időpont (óra : perc):"));
    auto* hour = Place<QSpinBox>(detail, "SpinEdit_RiasztasOra", 10, 38, 56, 22);
    hour->setRange(0, 23);
    Place<QLabel>(detail, "Label_RiasztasKettospont", 70, 40, 8, 18, QStringLiteral(":"));
    auto* minute = Place<QSpinBox>(detail, "SpinEdit_RiasztasPerc", 80, 38, 56, 22);
    minute->setRange(0, 59);
    Place<QLabel>(detail, "Label_RiasztasHang", 10, 70, 150, 14, QStringLiteral("Hang:"));
    auto* sound = Place<QComboBox>(detail, "ComboBox_RiasztasHang", 10, 86, 148, 22);
    sound->addItems({QStringLiteral("Nincs hangjelzés"), QStringLiteral("Alaplapi hangszóró"),
                     QStringLiteral("MP3 vagy WAV file")});
    Place<QLabel>(detail, "Label_RiasztasUzenet", 10, 116, 150, 14, QStringLiteral("Üzenet:"));
    Place<QPlainTextEdit>(detail, "Memo_RiasztasUzenet", 10, 132, 148, 130);
    Place<QPushButton>(detail, "Button_RiasztasOK", 54, 272, 60, 25, QStringLiteral("OK"));
}

} // namespace kelvator
