#include "about/about_page.h"

#include "widgets/widget_factory.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kelvator {

AboutPage::AboutPage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheet_Nevjegy"));
    aboutBox_ = Place<QGroupBox>(this, "GroupBox_Nevjegy", 8, 4, 502, 166, QStringLiteral("A programról:"));
    aboutText_ = Place<QPlainTextEdit>(aboutBox_, "Memo_Nevjegy", 8, 18, 486, 140);
    aboutText_->setReadOnly(true);
    aboutText_->setPlainText(QStringLiteral(
        "A Kelvator munkaidő-figyelő program annak, aki egy műszakban, hétfőtől péntekig dolgozik.\n"
        "\n"
        "Másodpercre pontosan mutatja a dátumot és az időt, és hogy mennyi telt el a munkanapból, "
        "a munkahétből, a munkahónapból és az évből. Kiírja, hány nap van még fizetésnapig, és kérésre "
        "azt is, mennyit keresett eddig a hónapban, és mennyi az órabére. A munkanap végét villogó "
        "sávval és hangjelzéssel vagy egy kiválasztott MP3 vagy WAV fájllal jelzi, és ha kéri, minden "
        "egész órakor figyelmeztet.\n"
        "\n"
        "Emellett hat elnevezett eseményig (vagy azóta) eltelt időt számol, két dátum különbségét "
        "kiszámítja (munkanapokban is), részidőket mérő stopperórája újraindítás után is folytatódik, "
        "nagy számkijelzős vagy mutatós órát mutat, és az évet napokra bontott, tetszés szerint "
        "színezhető naptárként rajzolja ki.\n"
        "\n"
        "Minden beállítását egyetlen INI fájlban tartja, és ha kéri, a tálcán, az óra mellett "
        "ikonként várakozik."));

    contactBox_ =
        Place<QGroupBox>(this, "GroupBox_Kapcsolat", 8, 174, 502, 180, QStringLiteral("Kapcsolat:"));
    picture_ = Place<QLabel>(contactBox_, "Image_Nevjegy", 8, 20, 192, 152);
    // The picture is decoded when it is first shown: most runs never show it.
    picture_->installEventFilter(this);
    auto* contact = Place<QLabel>(contactBox_, "Label_Kapcsolat", 212, 20, 282, 152);
    contact->setWordWrap(true);
    contact->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    contact->setTextInteractionFlags(Qt::TextSelectableByMouse);
    contact->setText(QStringLiteral(
        "Kelvator\nVerzió: 2016.08.01.\n\n"
        "Észrevételeit, hibabejelentéseit és ötleteit a program fejlesztői szívesen fogadják.\n\n"
        "A program ingyenes; beállításait a kelvator.ini fájlban tárolja."));

    okButton_ = Place<QPushButton>(this, "Button_NevjegyOK", 222, 360, 75, 25, QStringLiteral("OK"));
    connect(okButton_, &QPushButton::clicked, this, &AboutPage::done);
}

void AboutPage::FocusDefaultButton()
{
    okButton_->setFocus();
}

bool AboutPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == picture_ && event->type() == QEvent::Show && picture_->pixmap().isNull())
        picture_->setPixmap(QPixmap(QStringLiteral(":/kelvator/about.jpg")));
    return QWidget::eventFilter(watched, event);
}

} // namespace kelvator
