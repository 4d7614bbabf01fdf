#pragma once

#include "widgets/colours.h"
#include "widgets/mbargraph.h"
#include "widgets/tshape.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QString>
#include <QWidget>

namespace kelvator {

// Creates a control with its control name at a fixed place, as the window is laid out.
template <typename T, typename... Args>
T* Place(QWidget* parent, const char* name, int left, int top, int width, int height, Args&&... args)
{
    auto* w = new T(std::forward<Args>(args)..., parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(left, top, width, height);
    return w;
}

// Labels are rewritten five times a second; an unchanged text costs nothing.
inline void SetText(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

inline void SetShown(QWidget* w, bool shown)
{
    if (w->isVisibleTo(w->parentWidget()) != shown)
        w->setVisible(shown);
}

// Arial with the given character height in pixels.
inline QFont ArialPx(int pixels, bool bold = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// A label in the given font and alignment, vertically centred.
inline QLabel* TextLabel(QWidget* parent, const char* name, int left, int top, int width, int height,
                         const QString& text, const QFont& font, Qt::Alignment align)
{
    auto* l = Place<QLabel>(parent, name, left, top, width, height, text);
    l->setFont(font);
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
}

// A caption at its place, as wide and high as its text.
inline QLabel* Caption(QWidget* parent, const QString& text, int left, int top)
{
    auto* l = new QLabel(text, parent);
    l->move(left, top);
    l->adjustSize();
    return l;
}

constexpr quint32 kYellowBar = 0x0000FFFF;

// Every bar of the program: unsigned, horizontal, 17 high, whole percents placed automatically.
inline TMBarGraph* ProgressBar(QWidget* parent, const char* name, int left, int top, int width,
                               quint32 plusColour)
{
    auto* bar = Place<TMBarGraph>(parent, name, left, top, width, 17);
    bar->setMBGPlusColorAt1(plusColour);
    return bar;
}

// The sunken khaki panel the big digital clock and the work-time page's time sit on; black text
// on it whatever the desktop's colours.
inline QFrame* KhakiPanel(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* panel = Place<QFrame>(parent, name, left, top, width, height);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, ToQColor(0x0073D1D7));
    palette.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(palette);
    return panel;
}

} // namespace kelvator
