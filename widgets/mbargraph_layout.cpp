#include "widgets/mbargraph_layout.h"

#include "calendar/numbermask.h"

#include <array>
#include <cmath>

namespace kelvator {

int ColourByte(quint32 colour, QChar letter)
{
    switch (letter.toLower().unicode()) {
    case u'r':
        return static_cast<int>(colour & 0xFF);
    case u'g':
        return static_cast<int>((colour >> 8) & 0xFF);
    case u'b':
        return static_cast<int>((colour >> 16) & 0xFF);
    default:
        return 0;
    }
}

quint32 InvertColour(quint32 colour)
{
    const auto r = static_cast<quint32>(255 - ColourByte(colour, u'R'));
    const auto g = static_cast<quint32>(255 - ColourByte(colour, u'G'));
    const auto b = static_cast<quint32>(255 - ColourByte(colour, u'B'));
    return r | (g << 8) | (b << 16);
}

quint32 BlendColour(quint32 at0, quint32 at1, double fraction)
{
    const double t = fraction < 0 ? 0 : (fraction > 1 ? 1 : fraction);
    quint32 result = 0;
    int shift = 0;
    for (char16_t letter : {u'R', u'G', u'B'}) {
        const int c0 = ColourByte(at0, letter);
        const int c1 = ColourByte(at1, letter);
        const int byte = (c0 + RoundHalfEven((c1 - c0) * t)) & 0xFF;
        result |= static_cast<quint32>(byte) << shift;
        shift += 8;
    }
    return result;
}

double ShownValue(double value)
{
    if (std::isnan(value) || value < -1)
        return -1;
    return value > 1 ? 1 : value;
}

namespace {

void ShowOnly(MBGLayout& layout, bool minus, bool plus)
{
    layout.minus.visible = minus;
    layout.plus.visible = plus;
}

void Signed(const MBGProperties& p, int w, int h, bool changed, MBGLayout& l)
{
    l.zero.visible = true;
    const double s = l.shown;
    if (p.orientation == orientationHorizontal) {
        const int left = 1;
        const int middle = RoundHalfEven((w - 1) / 2.0);
        const int plusStart = middle + 3;
        const int right = w - 1;
        if (changed) {
            if (s < 0) {
                const int barLeft = middle + RoundHalfEven((middle - left) * s);
                l.minus.box = {barLeft, 1, middle - barLeft, h - 2};
                l.minus.fill = BlendColour(p.minusColorAt0, p.minusColorAt1, -s);
                ShowOnly(l, true, false);
            } else if (s > 0) {
                l.plus.box = {plusStart, 1, RoundHalfEven((right - plusStart) * s), h - 2};
                l.plus.fill = BlendColour(p.plusColorAt0, p.plusColorAt1, s);
                ShowOnly(l, false, true);
            }
            l.drawn = s;
        }
        if (s == 0)
            ShowOnly(l, false, false);
        l.zero.box = {middle + 1, 1, plusStart - middle - 2, h - 2};
    } else {
        const int top = 1;
        const int middle = RoundHalfEven((h - 1) / 2.0);
        const int plusStart = middle + 3;
        const int bottom = h - 1;
        if (changed) {
            if (s < 0) {
                l.minus.box = {1, plusStart, w - 2, RoundHalfEven((plusStart - bottom) * s)};
                l.minus.fill = BlendColour(p.minusColorAt0, p.minusColorAt1, -s);
                ShowOnly(l, true, false);
            } else if (s > 0) {
                l.plus.box = {1, top + RoundHalfEven((1 - s) * (middle - top)), w - 2,
                              RoundHalfEven((middle - top) * s)};
                l.plus.fill = BlendColour(p.plusColorAt0, p.plusColorAt1, s);
                ShowOnly(l, false, true);
            }
            l.drawn = s;
        }
        if (s == 0)
            ShowOnly(l, false, false);
        l.zero.box = {1, middle + 1, w - 2, plusStart - middle - 2};
    }
}

void PlaceText(const MBGProperties& p, int left, int right, MBGLayout& l, const MBGMeasure& measure)
{
    static const std::array<QStringView, 5> kMasks{u"0", u"0.0", u"0.00", u"0.000", u"0.0000"};
    l.label.text = FormatMask(p.value * 100, kMasks[static_cast<size_t>(p.decimals)]) + u'%';
    int tw = 0;
    int th = 0;
    measure(l.label.text, tw, th);
    const MBGBox& bar = l.plus.box;
    const int inside = bar.left + bar.width - tw - 5;
    const int outside = bar.left + bar.width + 5;
    switch (p.textPosition) {
    case tpInside:
        l.label.left = inside;
        break;
    case tpOutside:
        l.label.left = outside;
        break;
    case tpAuto:
        // Two thresholds, so a bar near the text's width does not make it jump to and fro.
        if (bar.width < tw + 10)
            l.textOutside = true;
        if (bar.width > tw + 20)
            l.textOutside = false;
        l.label.left = l.textOutside ? outside : inside;
        break;
    case tpFix:
        l.label.left = p.textLeft;
        break;
    case tpCentre:
        l.label.left = RoundHalfEven((right - left) / 2.0) + bar.left - RoundHalfEven(tw / 2.0);
        break;
    }
    l.label.top = p.textPosition == tpFix ? p.textTop : RoundHalfEven((bar.height - th) / 2.0) + bar.top;
    l.label.colour = p.inverseText ? InvertColour(l.plus.fill) : 0x00000000;
}

void Unsigned(const MBGProperties& p, int w, int h, bool changed, MBGLayout& l, const MBGMeasure& measure)
{
    l.zero.visible = false;
    const double s = l.shown;
    if (p.orientation == orientationHorizontal) {
        const int left = 1;
        const int right = w - 1;
        if (changed) {
            if (s <= 0) {
                ShowOnly(l, false, false);
            } else {
                l.plus.box = {left, 1, RoundHalfEven((right - left) * s), h - 2};
                l.plus.fill = BlendColour(p.plusColorAt0, p.plusColorAt1, s);
                ShowOnly(l, false, true);
            }
            l.drawn = s;
        }
        if (p.showText)
            PlaceText(p, left, right, l, measure);
    } else {
        const int top = 1;
        const int bottom = h - 1;
        if (changed) {
            if (s <= 0) {
                ShowOnly(l, false, false);
            } else {
                l.plus.box = {1, top + RoundHalfEven((1 - s) * (bottom - top)), w - 2,
                              RoundHalfEven((bottom - top) * s)};
                l.plus.fill = BlendColour(p.plusColorAt0, p.plusColorAt1, s);
                ShowOnly(l, false, true);
            }
            l.drawn = s;
        }
    }
}

} // namespace

void UpdateBarLayout(const MBGProperties& props, int w, int h, bool force, MBGLayout& layout,
                     const MBGMeasure& measure)
{
    const bool changed = force || layout.shown != layout.drawn;
    if (props.mode == modeSigned)
        Signed(props, w, h, changed, layout);
    else
        Unsigned(props, w, h, changed, layout, measure);
}

} // namespace kelvator
