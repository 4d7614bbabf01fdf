#include "exit/exit_page.h"

#include "widgets/widget_factory.h"

#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kelvator {

ExitPage::ExitPage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheet_Kilepes"));
    title_ = Place<QLabel>(this, "Label_KilepesCim", 8, 24, 502, 30, QStringLiteral("Kilépés a programból"));
    title_->setAlignment(Qt::AlignCenter);
    title_->setFont(ArialPx(21));

    text_ = Place<QPlainTextEdit>(this, "Memo_Kilepes", 48, 80, 422, 150);
    text_->setReadOnly(true);
    text_->setFrameShape(QFrame::NoFrame);
    text_->setFocusPolicy(Qt::NoFocus);
    QPalette pal = text_->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Button));
    text_->setPalette(pal);
    text_->setPlainText(
        QStringLiteral("Ha kilép, a Kelvator program nem a tálcára kerül, hanem bezáródik \n"
                       "és a tálcáról is eltűnik az ikonja. Ekkor, ha később újra használni akarja, \n"
                       "újból el kell indítania a programot.\n"
                       "Célszerűbb inkább csak a tálcára letenni, így ha szükséges, később\n"
                       "egyetlen egérkattintással újra visszateheti a képernyőre.\n"
                       "\n"
                       "Mi legyen?"));

    trayButton_ =
        Place<QPushButton>(this, "Button_Talcara", 48, 260, 134, 25, QStringLiteral("Programot a tálcára"));
    exitButton_ = Place<QPushButton>(this, "Button_Kilepes", 192, 260, 134, 25, QStringLiteral("Kilépés"));
    backButton_ =
        Place<QPushButton>(this, "Button_Vissza", 336, 260, 134, 25, QStringLiteral("Vissza a programba"));
    setTabOrder(trayButton_, exitButton_);
    setTabOrder(exitButton_, backButton_);
    connect(trayButton_, &QPushButton::clicked, this, &ExitPage::sendToTray);
    connect(exitButton_, &QPushButton::clicked, this, &ExitPage::exitProgram);
    connect(backButton_, &QPushButton::clicked, this, &ExitPage::back);
}

void ExitPage::FocusDefaultButton()
{
    trayButton_->setFocus();
}

void ExitPage::Cancel()
{
    // Through the button, as a press of it would be: a disabled button does nothing.
    backButton_->click();
}

} // namespace kelvator
