#include "clocks/canvas.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <tuple>
#include <utility>
#include <vector>

namespace kelvator {

QColor ButtonFaceColour()
{
    const QColor desktop = QGuiApplication::palette().color(QPalette::Button);
    return desktop.lightness() >= 128 ? desktop : QColor(0xF0, 0xF0, 0xF0);
}

namespace {
QColor ToColor(quint32 c)
{
    if (c == 0xFF00000F) // the system's button face
        return ButtonFaceColour();
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

double Frac(double v)
{
    return v - std::trunc(v);
}

double RoundEven(double v)
{
    return std::nearbyint(v);
}

// RoundEven for a colour channel's blend, without a call into the maths library: adding and
// taking away 2^52 rounds to the nearest whole number, halves to even, as nearbyint does.
double RoundChannel(double v)
{
    constexpr double kWhole = 4503599627370496.0; // 2^52
    if (v >= 0 && v < kWhole)
        return (v + kWhole) - kWhole;
    return std::nearbyint(v);
}

// The box with its right and bottom edge left out, as the primitives expect.
QRectF Box(int x1, int y1, int x2, int y2)
{
    return QRectF(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
}
} // namespace

Canvas::Canvas(QImage& image)
    : image_(image)
    , font_(QStringLiteral("Arial"))
{
}

void Canvas::setPen(quint32 colour, PenMode mode, PenStyle style, int width)
{
    penColour_ = colour;
    penMode_ = mode;
    penStyle_ = style;
    penWidth_ = width;
}

void Canvas::setBrush(quint32 colour, BrushStyle style)
{
    brushColour_ = colour;
    brushStyle_ = style;
}

template <typename Draw> void Canvas::Paint(Draw draw)
{
    QPainter p(&image_);
    // The mask mode ignores coverage, so nothing here is smoothed.
    p.setRenderHint(QPainter::Antialiasing, false);
    if (!clip_.isNull())
        p.setClipRect(clip_);
    if (!origin_.isNull())
        p.translate(-origin_);
    if (penMode_ == PenMode::Mask)
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    if (penStyle_ == PenStyle::Clear) {
        p.setPen(Qt::NoPen);
    } else {
        QPen pen(ToColor(penColour_));
        pen.setWidth(penWidth_ <= 1 ? 0 : penWidth_);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        if (penStyle_ == PenStyle::Dot)
            pen.setDashPattern({3, 3});
        p.setPen(pen);
    }
    p.setBrush(brushStyle_ == BrushStyle::Solid ? QBrush(ToColor(brushColour_)) : QBrush(Qt::NoBrush));
    draw(p);
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2)
{
    Paint([&](QPainter& p) { p.drawRect(Box(x1, y1, x2, y2)); });
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2)
{
    Paint([&](QPainter& p) { p.drawEllipse(Box(x1, y1, x2, y2)); });
}

void Canvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    const QRectF box = Box(x1, y1, x2, y2);
    const double cx = (x1 + x2) / 2.0;
    const double cy = (y1 + y2) / 2.0;
    const double w = x2 - x1;
    const double h = y2 - y1;
    // Angles of the rays on the ellipse, counter-clockwise from three o'clock, in degrees.
    auto angle = [&](int x, int y) {
        return std::atan2((cy - y) / h, (x - cx) / w) * 180.0 / std::numbers::pi;
    };
    const double start = angle(x3, y3);
    double sweep = angle(x4, y4) - start;
    while (sweep <= 0)
        sweep += 360;
    QPainterPath path(box.center());
    path.arcTo(box, start, sweep);
    path.closeSubpath();
    Paint([&](QPainter& p) { p.drawPath(path); });
}

void Canvas::Line(int x0, int y0, int x1, int y1)
{
    Paint([&](QPainter& p) { p.drawLine(x0, y0, x1, y1); });
}

namespace {
// What a shape covers: the pixels its brush fills and those its pen strokes, each found alone.
struct Footprint {
    std::vector<QPoint> brush;
    std::vector<QPoint> pen;
};

struct FootprintKey {
    int shape = 0;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int penWidth = 0;
    PenStyle penStyle = PenStyle::Solid;
    BrushStyle brushStyle = BrushStyle::Solid;
    int width = 0, height = 0;
    bool operator<(const FootprintKey& o) const
    {
        return std::tie(shape, x1, y1, x2, y2, penWidth, penStyle, brushStyle, width, height) <
               std::tie(o.shape, o.x1, o.y1, o.x2, o.y2, o.penWidth, o.penStyle, o.brushStyle, o.width,
                        o.height);
    }
};

std::map<FootprintKey, Footprint>& Footprints()
{
    static std::map<FootprintKey, Footprint> known;
    return known;
}

constexpr quint32 kMark = 0x00FFFFFF;
} // namespace

template <typename Draw> void Canvas::Again(int shape, int x1, int y1, int x2, int y2, Draw draw)
{
    const bool raw = image_.format() == QImage::Format_RGB32 || image_.format() == QImage::Format_ARGB32;
    if (!raw) {
        draw(*this);
        return;
    }
    const FootprintKey key{shape,          x1, y1, x2, y2, penWidth_, penStyle_, brushStyle_, image_.width(),
                           image_.height()};
    const QRect within = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized();
    auto& known = Footprints();
    auto found = known.find(key);
    if (found == known.end()) {
        if (known.size() >= 1024)
            known.clear(); // shapes drawn once and never again must not pile up
        Footprint f;
        // The brush and the pen each alone, white on black, in the copy mode: which pixels
        // they cover does not depend on their colours or on the mode.
        const QRect scan =
            within.adjusted(-penWidth_ - 2, -penWidth_ - 2, penWidth_ + 2, penWidth_ + 2) & image_.rect();
        // Only the scanned box is drawn on, moved to the blank's corner by whole pixels, which
        // leaves what is covered as it is: a full-sized blank cost a fill and a heap block of
        // the whole picture for every new position of the second hand.
        for (int part = 0; part < 2 && !scan.isEmpty(); ++part) {
            const bool pen = part == 1;
            if ((pen && penStyle_ == PenStyle::Clear) || (!pen && brushStyle_ == BrushStyle::Clear))
                continue;
            QImage blank(scan.size(), QImage::Format_RGB32);
            blank.fill(Qt::black);
            Canvas c(blank);
            c.origin_ = scan.topLeft();
            c.setPen(kMark, PenMode::Copy, pen ? penStyle_ : PenStyle::Clear, penWidth_);
            c.setBrush(kMark, pen ? BrushStyle::Clear : brushStyle_);
            draw(c);
            for (int y = 0; y < scan.height(); ++y) {
                const auto* row = reinterpret_cast<const QRgb*>(blank.constScanLine(y));
                for (int x = 0; x < scan.width(); ++x) {
                    if ((row[x] & 0x00FFFFFF) != 0)
                        (pen ? f.pen : f.brush).emplace_back(scan.left() + x, scan.top() + y);
                }
            }
        }
        found = known.emplace(key, std::move(f)).first;
    }
    // As the painter does: the brush first, then the pen; copied, or ANDed in the mask mode.
    const bool mask = penMode_ == PenMode::Mask;
    const QRect area = DrawableArea();
    uchar* const bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    auto apply = [&](const std::vector<QPoint>& points, quint32 colour) {
        const QRgb c = ToColor(colour).rgb() | 0xFF000000u;
        for (const QPoint& p : points) {
            if (!area.contains(p))
                continue;
            auto* pixel = reinterpret_cast<QRgb*>(bits + p.y() * stride) + p.x();
            *pixel = mask ? (*pixel & c) : c;
        }
    };
    apply(found->second.brush, brushColour_);
    apply(found->second.pen, penColour_);
}

void Canvas::EllipseAgain(int x1, int y1, int x2, int y2)
{
    Again(1, x1, y1, x2, y2, [=](Canvas& c) { c.Ellipse(x1, y1, x2, y2); });
}

void Canvas::LineAgain(int x0, int y0, int x1, int y1)
{
    Again(2, x0, y0, x1, y1, [=](Canvas& c) { c.Line(x0, y0, x1, y1); });
}

void Canvas::TextOut(int x, int y, const QString& text)
{
    Paint([&](QPainter& p) {
        p.setFont(font_);
        p.setPen(ToColor(0));
        p.drawText(QRect(x, y, image_.width(), image_.height()), Qt::AlignLeft | Qt::AlignTop, text);
    });
}

quint32 Canvas::Pixel(int x, int y) const
{
    const QRgb c = image_.pixel(x, y);
    return static_cast<quint32>(qRed(c)) | (static_cast<quint32>(qGreen(c)) << 8) |
           (static_cast<quint32>(qBlue(c)) << 16);
}

void Canvas::SetPixel(int x, int y, quint32 colour)
{
    if (!Contains(x, y))
        return;
    image_.setPixel(x, y,
                    qRgb(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                         static_cast<int>((colour >> 16) & 0xFF)));
}

void SetCanvasTools(Canvas& canvas, quint32 penColour, PenMode mode, PenStyle style, int width,
                    quint32 brushColour, BrushStyle brushStyle)
{
    canvas.setPen(penColour, mode, style, width);
    canvas.setBrush(brushColour, brushStyle);
}

void DrawAntialiasedLine(Canvas& canvas, quint32 colour, double x0, double y0, double x1, double y1)
{
    double dx = x1 - x0;
    double dy = y1 - y0;
    if (dx == 0 && dy == 0)
        return; // no direction to draw in
    const bool steep = std::fabs(dx) < std::fabs(dy);
    if (steep) {
        std::swap(x0, y0);
        std::swap(x1, y1);
        std::swap(dx, dy);
    }
    if (x1 < x0) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const double gradient = dy / dx;
    const int lineR = static_cast<int>(colour & 0xFF);
    const int lineG = static_cast<int>((colour >> 8) & 0xFF);
    const int lineB = static_cast<int>((colour >> 16) & 0xFF);

    // 32-bit pixels are read and written in place: the faces blend some two thousand a second.
    QImage& image = canvas.image();
    const bool raw = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
    uchar* const bits = raw ? image.bits() : nullptr;
    const bool opaque = image.format() == QImage::Format_RGB32;
    const qsizetype stride = image.bytesPerLine();
    const QRect area = canvas.DrawableArea();
    const double left = area.left();
    const double right = area.right();
    const double top = area.top();
    const double bottom = area.bottom();
    // Every pixel handed in has whole coordinates (rounded ends, floored rows, integer steps).
    auto blend = [&](double x, double y, double w) {
        const double fx = steep ? y : x;
        const double fy = steep ? x : y;
        if (!(fx >= left && fx <= right && fy >= top && fy <= bottom))
            return;
        if (w == 0 && opaque)
            return; // blends to the colour already there
        const int px = static_cast<int>(fx);
        const int py = static_cast<int>(fy);
        const double keep = 1 - w;
        auto mix = [keep, w](int o, int l) {
            return static_cast<int>(RoundChannel(o * keep + l * w)) & 0xFF;
        };
        if (bits) {
            auto* pixel = reinterpret_cast<QRgb*>(bits + py * stride) + px;
            const QRgb old = *pixel;
            *pixel = qRgb(mix(qRed(old), lineR), mix(qGreen(old), lineG), mix(qBlue(old), lineB));
            return;
        }
        const quint32 old = canvas.Pixel(px, py);
        const auto b = static_cast<quint32>(mix(static_cast<int>((old >> 16) & 0xFF), lineB));
        const auto g = static_cast<quint32>(mix(static_cast<int>((old >> 8) & 0xFF), lineG));
        const auto r = static_cast<quint32>(mix(static_cast<int>(old & 0xFF), lineR));
        canvas.SetPixel(px, py, r | (g << 8) | (b << 16));
    };

    double xend = RoundEven(x0);
    double yend = y0 + gradient * (xend - x0);
    double xgap = 1 - Frac(x0 + 0.5);
    const double xpxl1 = xend;
    const double ypxl1 = std::floor(yend);
    blend(xpxl1, ypxl1, (1 - Frac(yend)) * xgap);
    blend(xpxl1, ypxl1 + 1, Frac(yend) * xgap);
    double intery = yend + gradient;

    xend = RoundEven(x1);
    yend = y1 + gradient * (xend - x1);
    xgap = Frac(x1 + 0.5);
    const double xpxl2 = xend;
    const double ypxl2 = std::floor(yend);
    blend(xpxl2, ypxl2, (1 - Frac(yend)) * xgap);
    blend(xpxl2, ypxl2 + 1, Frac(yend) * xgap);

    // Pixels outside what may be drawn, along the line or across it, are passed over; the
    // running position still takes every step, so the pixels drawn are the same.
    const long long from = steep ? area.top() : area.left();
    const long long to = steep ? area.bottom() : area.right();
    const double across = steep ? area.left() : area.top();
    const double acrossEnd = steep ? area.right() : area.bottom();
    const auto last = static_cast<long long>(xpxl2) - 1;
    for (auto x = static_cast<long long>(xpxl1) + 1; x <= last; ++x) {
        const double row = std::floor(intery); // the two pixels drawn are this row and the next
        if (x >= from && x <= to && row + 1 >= across && row <= acrossEnd) {
            blend(static_cast<double>(x), std::floor(intery), 1 - Frac(intery));
            blend(static_cast<double>(x), std::floor(intery) + 1, Frac(intery));
        }
        intery += gradient;
    }
}

void StretchCopy(const QImage& source, const QRect& from, QImage& target, const QRect& to)
{
    if (from.width() <= 0 || from.height() <= 0 || to.width() <= 0 || to.height() <= 0)
        return;
    // The source pixels s of one target pixel t are those with floor(s * to / from) == t;
    // when enlarging none may fall on it, and the nearest one stands in.
    auto spans = [](int first, int from, int to) {
        std::vector<std::pair<int, int>> result(static_cast<size_t>(to));
        for (int t = 0; t < to; ++t) {
            const auto begin = static_cast<int>((static_cast<qint64>(t) * from + to - 1) / to);
            const auto end = static_cast<int>((static_cast<qint64>(t + 1) * from + to - 1) / to);
            const auto nearest = static_cast<int>(static_cast<qint64>(t) * from / to);
            result[static_cast<size_t>(t)] = end > begin ? std::pair{first + begin, first + end}
                                                         : std::pair{first + nearest, first + nearest + 1};
        }
        return result;
    };
    const auto columns = spans(from.left(), from.width(), to.width());
    const auto rows = spans(from.top(), from.height(), to.height());
    // 32-bit pixels are read and written in place: this runs for the small clock every second.
    const bool rawSource =
        source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32;
    const bool rawTarget =
        target.format() == QImage::Format_RGB32 || target.format() == QImage::Format_ARGB32;
    const QRgb opaque = target.format() == QImage::Format_RGB32 ? 0xFF000000u : 0u;
    const int sourceWidth = source.width();
    const int targetWidth = target.width();
    std::vector<QRgb> band(static_cast<size_t>(qMax(sourceWidth, 0)));
    const auto bandBegin = static_cast<size_t>(std::clamp(columns.front().first, 0, source.width()));
    const auto bandEnd = static_cast<size_t>(std::clamp(columns.back().second, 0, source.width()));
    for (int y = 0; y < to.height(); ++y) {
        const int ty = to.top() + y;
        if (ty < 0 || ty >= target.height())
            continue;
        const int rowBegin = qMax(rows[static_cast<size_t>(y)].first, 0);
        const int rowEnd = qMin(rows[static_cast<size_t>(y)].second, source.height());
        if (rowBegin >= rowEnd)
            continue;
        // The rows of this target row, ANDed down to one, in the columns the target reads.
        std::fill(band.begin() + static_cast<std::ptrdiff_t>(bandBegin),
                  band.begin() + static_cast<std::ptrdiff_t>(bandEnd), 0xFFFFFFFFu);
        for (int sy = rowBegin; sy < rowEnd; ++sy) {
            if (rawSource) {
                const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(sy));
                for (size_t sx = bandBegin; sx < bandEnd; ++sx)
                    band[sx] &= in[sx];
            } else {
                for (auto sx = static_cast<int>(bandBegin); sx < static_cast<int>(bandEnd); ++sx)
                    band[static_cast<size_t>(sx)] &= source.pixel(sx, sy);
            }
        }
        auto* out = rawTarget ? reinterpret_cast<QRgb*>(target.scanLine(ty)) : nullptr;
        for (int x = 0; x < to.width(); ++x) {
            const int tx = to.left() + x;
            if (tx < 0 || tx >= targetWidth)
                continue;
            const int columnBegin = qMax(columns[static_cast<size_t>(x)].first, 0);
            const int columnEnd = qMin(columns[static_cast<size_t>(x)].second, sourceWidth);
            if (columnBegin >= columnEnd)
                continue;
            QRgb kept = 0xFFFFFFFF;
            for (int sx = columnBegin; sx < columnEnd; ++sx)
                kept &= band[static_cast<size_t>(sx)];
            if (out)
                out[tx] = kept | opaque;
            else
                target.setPixel(tx, ty, kept);
        }
    }
}

} // namespace kelvator
