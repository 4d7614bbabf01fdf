#include "widgets/tshape.h"

#include "clocks/canvas.h"

#include <QButtonGroup>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QRadioButton>
#include <QVBoxLayout>

QColor ToQColor(quint32 colour)
{
    if (colour == 0xFF00000Fu)
        return kelvator::ButtonFaceColour();
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

TShape::TShape(QWidget* parent)
    : QWidget(parent)
{
}

void TShape::setBrushColor(quint32 colour)
{
    if (brush_ == colour)
        return;
    brush_ = colour;
    update();
}

void TShape::setPenColor(quint32 colour)
{
    if (pen_ == colour)
        return;
    pen_ = colour;
    update();
}

void TShape::setKind(Kind kind)
{
    kind_ = kind;
    update();
}

void TShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(ToQColor(pen_), 1));
    p.setBrush(ToQColor(brush_));
    // The outline lies inside the control, as a 1-px pen on its edge.
    const QRect r(0, 0, width() - 1, height() - 1);
    if (kind_ == Kind::Ellipse) {
        p.drawEllipse(r);
    } else if (kind_ == Kind::RoundRect) {
        const qreal radius = qMin(width(), height()) / 4.0;
        p.setRenderHint(QPainter::Antialiasing);
        p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, 0.5, 0.5), radius, radius);
    } else {
        p.drawRect(r);
    }
}

void TShape::mousePressEvent(QMouseEvent* event)
{
    Q_EMIT mouseDown(this, event->button());
    QWidget::mousePressEvent(event);
}

TRadioGroup::TRadioGroup(const QString& title, const QStringList& items, QWidget* parent)
    : QGroupBox(title, parent)
    , group_(new QButtonGroup(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(0);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        group_->addButton(b, i);
        layout->addWidget(b);
        buttons_.push_back(b);
    }
    connect(group_, &QButtonGroup::idClicked, this, &TRadioGroup::clicked);
    connect(group_, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            UpdateTabStop();
    });
    UpdateTabStop();
}

void TRadioGroup::UpdateTabStop()
{
    const int stop = qMax(0, itemIndex());
    for (int i = 0; i < count(); ++i)
        buttons_[static_cast<size_t>(i)]->setFocusPolicy(i == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

int TRadioGroup::itemIndex() const
{
    return group_->checkedId();
}

void TRadioGroup::setItemIndex(int index)
{
    if (index >= 0 && index < count()) {
        buttons_[static_cast<size_t>(index)]->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its last button; lift exclusivity for a moment.
    group_->setExclusive(false);
    for (auto* b : buttons_)
        b->setChecked(false);
    group_->setExclusive(true);
    UpdateTabStop();
}
