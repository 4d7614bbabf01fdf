#include "widgets/mbargraph.h"

#include "widgets/tshape.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>

using namespace kelvator;

namespace {
TShape* MakeChild(QWidget* parent, quint32 fill, bool visible)
{
    auto* s = new TShape(parent);
    s->setTag(1);
    s->setPenColor(0x00000000);
    s->setBrushColor(fill);
    s->setGeometry(0, 0, 65, 65);
    s->setVisible(visible);
    return s;
}
} // namespace

TMBarGraph::TMBarGraph(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("MBarGraph"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette pal = palette();
    // The bar's texts are black: its face stays light under a dark desktop too.
    pal.setColor(QPalette::Window, ToQColor(0xFF00000F));
    setPalette(pal);
    setMinimumSize(30, 5);

    minusBar_ = MakeChild(this, props_.minusColorAt1, false);
    plusBar_ = MakeChild(this, props_.plusColorAt1, false);
    zeroMark_ = MakeChild(this, 0x00FFFFFF, true);
    label_ = new QLabel(QStringLiteral("0%"), this);
    label_->setAttribute(Qt::WA_TranslucentBackground);
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label_->move(0, 0);
    label_->adjustSize();
    resize(105, 17);
}

void TMBarGraph::setMBGOrientation(TMBGOrientation value)
{
    if (value == orientationHorizontal)
        setMinimumSize(30, 6);
    else
        setMinimumSize(6, 30);
    props_.orientation = value;
    UpdateBar(true);
}

void TMBarGraph::setMBGValue(double value)
{
    // Five ticks a second mostly bring the value already shown: the children stay as they are.
    if (value == props_.value && layout_.shown == layout_.drawn)
        return;
    props_.value = value;
    layout_.shown = ShownValue(value);
    UpdateBar(false);
}

#define KELVATOR_FORCED_SETTER(Name, Type, field)                                                            \
    void TMBarGraph::set##Name(Type value)                                                                   \
    {                                                                                                        \
        props_.field = value;                                                                                \
        UpdateBar(true);                                                                                     \
    }

KELVATOR_FORCED_SETTER(MBGMinusColorAt0, quint32, minusColorAt0)
KELVATOR_FORCED_SETTER(MBGMinusColorAt1, quint32, minusColorAt1)
KELVATOR_FORCED_SETTER(MBGPlusColorAt0, quint32, plusColorAt0)
KELVATOR_FORCED_SETTER(MBGPlusColorAt1, quint32, plusColorAt1)
KELVATOR_FORCED_SETTER(MBGMode, TMBGMode, mode)
KELVATOR_FORCED_SETTER(MBGInverseText, bool, inverseText)
KELVATOR_FORCED_SETTER(MBGTextPosition, TMBGTextPosition, textPosition)
KELVATOR_FORCED_SETTER(MBGTextLeft, int, textLeft)
KELVATOR_FORCED_SETTER(MBGTextTop, int, textTop)
#undef KELVATOR_FORCED_SETTER

void TMBarGraph::setMBGShowText(bool value)
{
    props_.showText = value;
    label_->setVisible(value);
    UpdateBar(true);
}

void TMBarGraph::setMBGDecimals(int value)
{
    props_.decimals = value < 0 ? 0 : (value > 4 ? 4 : value);
    UpdateBar(true);
}

void TMBarGraph::UpdateBar(bool force)
{
    const bool changed = force || layout_.shown != layout_.drawn;
    const int textHeight = QFontMetrics(font()).height();
    UpdateBarLayout(props_, width(), height(), force, layout_,
                    [this, textHeight](const QString& text, int& w, int& h) {
                        w = TextWidth(text);
                        h = textHeight;
                    });
    if (changed)
        ++barLayouts_;
    Apply();
}

void TMBarGraph::Apply()
{
    auto place = [](TShape* shape, const MBGChild& c) {
        const QRect r(c.box.left, c.box.top, c.box.width, c.box.height);
        if (shape->geometry() != r)
            shape->setGeometry(r);
        shape->setBrushColor(c.fill);
        if (shape->isVisibleTo(shape->parentWidget()) != c.visible)
            shape->setVisible(c.visible);
    };
    place(minusBar_, layout_.minus);
    place(plusBar_, layout_.plus);
    place(zeroMark_, layout_.zero);
    // The label follows the layout only where the layout sets it (unsigned, horizontal).
    if (props_.mode == modeUnsigned && props_.orientation == orientationHorizontal && props_.showText) {
        if (label_->font() != font())
            label_->setFont(font());
        if (label_->text() != layout_.label.text)
            label_->setText(layout_.label.text);
        const QRect r(layout_.label.left, layout_.label.top, TextWidth(layout_.label.text) + 1,
                      QFontMetrics(font()).height());
        if (label_->geometry() != r)
            label_->setGeometry(r);
        const QColor colour = ToQColor(layout_.label.colour);
        if (label_->palette().color(QPalette::WindowText) != colour) {
            QPalette pal = label_->palette();
            pal.setColor(QPalette::WindowText, colour);
            label_->setPalette(pal);
        }
    }
}

void TMBarGraph::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    UpdateBar(true);
}

void TMBarGraph::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        measured_ = {};
        UpdateBar(true);
    }
}

int TMBarGraph::TextWidth(const QString& text)
{
    for (const MeasuredText& m : measured_) {
        if (!m.text.isNull() && m.text == text)
            return m.width;
    }
    MeasuredText& slot = measured_[nextMeasured_];
    nextMeasured_ = (nextMeasured_ + 1) % measured_.size();
    slot.text = text;
    slot.width = QFontMetrics(font()).horizontalAdvance(text);
    return slot.width;
}
