#pragma once

#include <QChar>
#include <QString>

#include <functional>

// The bar graph's rules, kept apart from the widget so they can be checked without a window.

enum TMBGOrientation { orientationHorizontal = 0, orientationVertical = 1 };
enum TMBGMode { modeSigned = 0, modeUnsigned = 1 };
enum TMBGTextPosition { tpInside = 0, tpOutside = 1, tpAuto = 2, tpFix = 3, tpCentre = 4 };

namespace kelvator {

// Colours are 0x00BBGGRR.
int ColourByte(quint32 colour, QChar letter);
quint32 InvertColour(quint32 colour);
quint32 BlendColour(quint32 at0, quint32 at1, double fraction);

struct MBGProperties {
    TMBGOrientation orientation = orientationHorizontal;
    double value = 0.5;
    quint32 minusColorAt0 = 0x00FFFFFF;
    quint32 minusColorAt1 = 0x00FF0000;
    quint32 plusColorAt0 = 0x00FFFFFF;
    quint32 plusColorAt1 = 0x000000FF;
    TMBGMode mode = modeUnsigned;
    bool showText = true;
    bool inverseText = false;
    TMBGTextPosition textPosition = tpAuto;
    int textLeft = 0;
    int textTop = 0;
    int decimals = 0;
};

struct MBGBox {
    int left = 0;
    int top = 0;
    int width = 65; // the size a new child has until it is first placed
    int height = 65;
    bool operator==(const MBGBox&) const = default;
};

struct MBGChild {
    MBGBox box;
    bool visible = false;
    quint32 fill = 0x00FFFFFF;
    bool operator==(const MBGChild&) const = default;
};

struct MBGLabel {
    int left = 0;
    int top = 0;
    QString text = QStringLiteral("0%");
    quint32 colour = 0x00000000;
    bool operator==(const MBGLabel&) const = default;
};

// Everything the control shows, and the little it remembers between layouts.
struct MBGLayout {
    double shown = 0.5;
    double drawn = 0.0;
    bool textOutside = true;
    MBGChild minus{{}, false, 0x00FF0000};
    MBGChild plus{{}, false, 0x000000FF};
    MBGChild zero{{}, true, 0x00FFFFFF};
    MBGLabel label;
};

// The value the bars show: limited to -1 ... 1, a value that is not a number as -1.
double ShownValue(double value);

// Text width and height in the label's font.
using MBGMeasure = std::function<void(const QString& text, int& width, int& height)>;

// Lays the children out for a control of width w and height h. Without force, bars move
// only when the shown value differs from the one drawn last.
void UpdateBarLayout(const MBGProperties& props, int w, int h, bool force, MBGLayout& layout,
                     const MBGMeasure& measure);

} // namespace kelvator
