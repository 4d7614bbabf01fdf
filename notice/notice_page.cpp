#include "notice/notice_page.h"

#include "calendar/numbermask.h"
#include "widgets/widget_factory.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QTime>

namespace kelvator {

namespace {
constexpr int kLargePoints = 72;
constexpr int kSmallPoints = 48;
} // namespace

NoticePage::NoticePage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheet_Figyelmeztetes"));
    title_ = Place<QLabel>(this, "Label14", 8, 40, 502, 30, QStringLiteral("Figyelem!"));
    title_->setAlignment(Qt::AlignCenter);
    title_->setFont(ArialPx(21));

    timeText_ = Place<QLabel>(this, "Label_FigyelemSzoveg", 58, 110, 401, 105);
    timeText_->setAlignment(Qt::AlignCenter);
    QFont big(QStringLiteral("Arial"));
    big.setPointSize(kLargePoints);
    timeText_->setFont(big);

    okButton_ =
        Place<QPushButton>(this, "Button_FigyelemAllapotNyugtazasa", 222, 270, 75, 25, QStringLiteral("OK"));
    connect(okButton_, &QPushButton::clicked, this, &NoticePage::acknowledged);
}

void NoticePage::ShowTime(const QTime& time)
{
    timeText_->setText(FormatMask(time.hour(), u"0") + u':' + FormatMask(time.minute(), u"00"));
}

void NoticePage::Pulse()
{
    // The size is never reset: a later notice goes on from where the last one stopped.
    QFont font = timeText_->font();
    font.setPointSize(font.pointSize() >= kLargePoints ? kSmallPoints : kLargePoints);
    timeText_->setFont(font);
    timeText_->repaint();
}

} // namespace kelvator
