#include "clocks/analog_clock.h"

#include "clocks/canvas.h"

#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <numbers>

namespace kelvator {

namespace {
constexpr quint32 kGreen = 0x0000FF00;
constexpr quint32 kLightBlue = 0x00FFC40F;
constexpr quint32 kBlack = 0x00000000;
constexpr quint32 kGrey = 0x00A2A2A2;
constexpr quint32 kRed = 0x000000FF;
constexpr quint32 kBrown = 0x002D688C;
constexpr quint32 kYellow = 0x0000FFFF;
constexpr quint32 kWhite = 0x00FFFFFF;
constexpr int kMaxSpan = 43080; // 359 degrees: a sector never closes into a full circle
constexpr int kMinSpan = 120;   // 1 degree

double Rad(double degrees)
{
    return degrees / 180.0 * std::numbers::pi;
}

int R(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

// The end of a hand of length r at angle a (degrees clockwise from 12) from (cx, cy).
QPoint HandEnd(int cx, int cy, double r, double a)
{
    return QPoint(R(cx + r * std::sin(Rad(a))), R(cy - r * std::cos(Rad(a))));
}

// Two-pixel hands are three one-pixel lines, offset right and down.
void ThickLine(Canvas& c, quint32 colour, QPoint a, QPoint b)
{
    DrawAntialiasedLine(c, colour, a.x(), a.y(), b.x(), b.y());
    DrawAntialiasedLine(c, colour, a.x() + 1, a.y(), b.x() + 1, b.y());
    DrawAntialiasedLine(c, colour, a.x(), a.y() + 1, b.x(), b.y() + 1);
}

// A sector of the circle in the box, clockwise from the time `from` to the time `to`.
void ClockSector(Canvas& c, int x1, int y1, int x2, int y2, double radius, int from, int to)
{
    const QPoint a = ClockPoint(from, radius);
    const QPoint b = ClockPoint(to, radius);
    c.Pie(x1, y1, x2, y2, b.x(), b.y(), a.x(), a.y());
}
} // namespace

QPoint ClockPoint(int seconds, double radius)
{
    const double theta = Rad(seconds / 120.0);
    return QPoint(R(140 + radius * std::sin(theta)), R(142 - radius * std::cos(theta)));
}

void DrawHands(Canvas& c, double alpha, double beta, double gamma, bool showHour, bool showMinute)
{
    // Shadows, ANDed into the face.
    if (showHour) {
        SetCanvasTools(c, kGrey, PenMode::Mask, PenStyle::Solid, 7, kWhite, BrushStyle::Clear);
        ThickLine(c, kGrey, QPoint(142, 144), HandEnd(142, 144, 65, alpha));
    }
    if (showMinute) {
        SetCanvasTools(c, kGrey, PenMode::Mask, PenStyle::Solid, 5, kWhite, BrushStyle::Clear);
        ThickLine(c, kGrey, QPoint(143, 145), HandEnd(143, 145, 96, beta));
    }
    SetCanvasTools(c, kGrey, PenMode::Mask, PenStyle::Solid, 1, kWhite, BrushStyle::Clear);
    const QPoint shadowTip = HandEnd(144, 146, 81, gamma);
    const QPoint shadowTail = HandEnd(144, 146, -15, gamma);
    DrawAntialiasedLine(c, kGrey, 144, 146, shadowTip.x(), shadowTip.y());
    DrawAntialiasedLine(c, kGrey, 144, 146, shadowTail.x(), shadowTail.y());
    SetCanvasTools(c, kGrey, PenMode::Mask, PenStyle::Solid, 5, kWhite, BrushStyle::Clear);
    const QPoint shadowWeight = HandEnd(144, 146, -25, gamma);
    // The weights and caps take a handful of places: their pixels are remembered.
    c.LineAgain(shadowTail.x(), shadowTail.y(), shadowWeight.x(), shadowWeight.y());
    c.EllipseAgain(141, 143, 147, 149);

    // Hands.
    if (showHour) {
        SetCanvasTools(c, kBlack, PenMode::Copy, PenStyle::Solid, 7, kWhite, BrushStyle::Clear);
        ThickLine(c, kBlack, QPoint(140, 142), HandEnd(140, 142, 65, alpha));
    }
    if (showMinute) {
        SetCanvasTools(c, kBlack, PenMode::Copy, PenStyle::Solid, 5, kWhite, BrushStyle::Clear);
        ThickLine(c, kBlack, QPoint(140, 142), HandEnd(140, 142, 96, beta));
    }
    SetCanvasTools(c, kRed, PenMode::Copy, PenStyle::Solid, 1, kWhite, BrushStyle::Clear);
    const QPoint tip = HandEnd(140, 142, 81, gamma);
    const QPoint tail = HandEnd(140, 142, -15, gamma);
    DrawAntialiasedLine(c, kRed, 140, 142, tip.x(), tip.y());
    DrawAntialiasedLine(c, kRed, 140, 142, tail.x(), tail.y());
    SetCanvasTools(c, kRed, PenMode::Copy, PenStyle::Solid, 5, kWhite, BrushStyle::Clear);
    const QPoint weight = HandEnd(140, 142, -25, gamma);
    c.LineAgain(tail.x(), tail.y(), weight.x(), weight.y());
    SetCanvasTools(c, kBrown, PenMode::Copy, PenStyle::Solid, 3, kYellow, BrushStyle::Solid);
    c.EllipseAgain(137, 139, 143, 145);
}

namespace {
void CopyArtwork(QImage& surface, const QImage& artwork)
{
    if (surface.size() != QSize(280, 280) || surface.format() != QImage::Format_RGB32)
        surface = QImage(280, 280, QImage::Format_RGB32);
    QPainter p(&surface);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, artwork);
}

QFont TenPointArial()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    return font;
}
} // namespace

void DrawStopwatchFace(QImage& surface, const QImage& artwork, int h, int m, int s)
{
    CopyArtwork(surface, artwork);
    Canvas c(surface);
    c.setFont(TenPointArial());
    SetCanvasTools(c, kBlack, PenMode::Copy, PenStyle::Solid, 7, kWhite, BrushStyle::Clear);
    c.TextOut(120, 87, QStringLiteral("Stopper"));
    const int t = h * 3600 + m * 60 + s;
    DrawHands(c, h * 30 + m * 0.5, m * 6 + s * 0.1, s * 6, t > 3300, t > 55);
}

namespace {
int SecondOfDay(const QTime& t)
{
    return t.hour() * 3600 + t.minute() * 60 + t.second();
}

// Whether the work day's sectors are drawn, and the end of the elapsed part.
struct Overlay {
    bool shown = false;
    int elapsedEnd = 0;
};

Overlay OverlayOf(const ClockFaceInput& in)
{
    const int now = SecondOfDay(in.time);
    const WorkSchedule& s = in.schedule;
    // A work day that crosses midnight has no sensible sector: it is left out.
    Overlay o;
    o.shown = (in.overlayChoice == 0 || in.overlayChoice == 1) &&
              in.workingDay.value_or(in.dayOfWeek >= 1 && in.dayOfWeek <= 5) && !in.blinkFlag &&
              ((s.workStart <= now && now < s.workEnd) || in.overlayChoice == 0) && s.workEnd > s.workStart;
    o.elapsedEnd = std::min(now, s.workEnd);
    if (o.elapsedEnd - s.workStart > kMaxSpan)
        o.elapsedEnd = s.workStart + kMaxSpan;
    return o;
}

// Everything under the hands: the work day's sectors and the afternoon's text.
void DrawDial(Canvas& c, const ClockFaceInput& in)
{
    const WorkSchedule& s = in.schedule;
    const Overlay o = OverlayOf(in);
    if (o.shown) {
        const int elapsedEnd = o.elapsedEnd;
        for (size_t k = 0; k < 3; ++k) {
            if (!in.showBreak[k] || s.breakEnd[k] == s.breakStart[k])
                continue; // a break of no length would fill the whole circle
            if (elapsedEnd - s.workStart > kMinSpan) {
                SetCanvasTools(c, kBlack, PenMode::Copy, PenStyle::Clear, 1, kGreen, BrushStyle::Solid);
                ClockSector(c, 70, 72, 210, 212, 70, s.breakStart[k], s.breakEnd[k]);
            }
            SetCanvasTools(c, kBlack, PenMode::Copy, PenStyle::Dot, 1, kWhite, BrushStyle::Clear);
            ClockSector(c, 70, 72, 210, 212, 70, s.breakStart[k], s.breakEnd[k]);
        }
        if (elapsedEnd - s.workStart > kMinSpan) {
            SetCanvasTools(c, kBlack, PenMode::Copy, PenStyle::Clear, 1, kLightBlue, BrushStyle::Solid);
            ClockSector(c, 80, 82, 200, 202, 60, s.workStart, elapsedEnd);
        }
        int shownEnd = s.workEnd;
        if (shownEnd - s.workStart < kMinSpan)
            shownEnd = s.workStart + kMinSpan;
        if (shownEnd - s.workStart > kMaxSpan)
            shownEnd = s.workStart + kMaxSpan;
        SetCanvasTools(c, kBlack, PenMode::Copy, PenStyle::Dot, 1, kWhite, BrushStyle::Clear);
        ClockSector(c, 80, 82, 200, 202, 60, s.workStart, shownEnd);
        const double length = s.workEnd - s.workStart;
        for (double third : {length / 3, 2 * length / 3}) {
            const double t = s.workStart + third;
            const QPoint p(R(140 + 60 * std::sin(Rad(t / 120.0))), R(142 - 60 * std::cos(Rad(t / 120.0))));
            c.Line(140, 142, p.x(), p.y());
        }
    }

    if (in.time.hour() >= 12) {
        c.setFont(TenPointArial());
        SetCanvasTools(c, kBlack, PenMode::Copy, PenStyle::Solid, 7, kWhite, BrushStyle::Clear);
        c.TextOut(105, 102, QStringLiteral("Délután van."));
    }
}

struct HandAngles {
    double hour = 0;
    double minute = 0;
    double second = 0;
};

HandAngles AnglesOf(const QTime& t)
{
    return {t.hour() * 30 + t.minute() * 0.5, t.minute() * 6 + t.second() * 0.1, t.second() * 6.0};
}
} // namespace

void DrawClockFace(QImage& surface, const QImage& artwork, const ClockFaceInput& in)
{
    CopyArtwork(surface, artwork);
    Canvas c(surface);
    DrawDial(c, in);
    const HandAngles a = AnglesOf(in.time);
    DrawHands(c, a.hour, a.minute, a.second);
}

// ---- Drawing only what moved ----------------------------------------------------------------

namespace {
// Room around the points of a hand for what is drawn about them: the second line of a
// two-pixel hand, the partly covered pixels of a smoothed line, a 5-pixel pen's round cap.
constexpr int kHandMargin = 6;

QRect Around(std::initializer_list<QPoint> points)
{
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (const QPoint& p : points) {
        left = std::min(left, p.x());
        top = std::min(top, p.y());
        right = std::max(right, p.x());
        bottom = std::max(bottom, p.y());
    }
    return QRect(QPoint(left, top), QPoint(right, bottom))
        .adjusted(-kHandMargin, -kHandMargin, kHandMargin, kHandMargin);
}
} // namespace

ClockFacePainter::DialKey ClockFacePainter::DialKeyOf(const ClockFaceInput& in)
{
    DialKey key;
    key.afternoon = in.time.hour() >= 12;
    const Overlay o = OverlayOf(in);
    key.overlay = o.shown;
    if (o.shown) {
        // The sectors are drawn between rounded points: a second that does not move the elapsed
        // sector's point, nor its being drawn at all, leaves the dial as it was.
        key.schedule = in.schedule;
        key.showBreak = in.showBreak;
        key.elapsedDrawn = o.elapsedEnd - in.schedule.workStart > kMinSpan;
        key.elapsedPoint = ClockPoint(o.elapsedEnd, 60);
    }
    return key;
}

ClockFacePainter::Hands ClockFacePainter::HandsOf(const QTime& time)
{
    const HandAngles a = AnglesOf(time);
    Hands h;
    h.points = {HandEnd(142, 144, 65, a.hour),    HandEnd(140, 142, 65, a.hour),
                HandEnd(143, 145, 96, a.minute),  HandEnd(140, 142, 96, a.minute),
                HandEnd(144, 146, 81, a.second),  HandEnd(144, 146, -15, a.second),
                HandEnd(144, 146, -25, a.second), HandEnd(140, 142, 81, a.second),
                HandEnd(140, 142, -15, a.second), HandEnd(140, 142, -25, a.second)};
    const auto& p = h.points;
    h.boxes = {Around({QPoint(140, 142), QPoint(143, 145), p[0], p[1]}),
               Around({QPoint(140, 142), QPoint(144, 146), p[2], p[3]}),
               // The centre caps go with the second hand, which crosses them every second.
               Around({QPoint(137, 139), QPoint(147, 149), p[4], p[5], p[6], p[7], p[8], p[9]})};
    return h;
}

QRect ClockFacePainter::Draw(QImage& surface, const QImage& artwork, const ClockFaceInput& in)
{
    const DialKey key = DialKeyOf(in);
    const Hands hands = HandsOf(in.time);
    const HandAngles a = AnglesOf(in.time);
    const bool same = dialKey_ && *dialKey_ == key && artwork.cacheKey() == artworkKey_ &&
                      surface.cacheKey() == surfaceKey_ && !surface.isNull();
    QRect changed;
    if (!same) {
        if (!dialKey_ || !(*dialKey_ == key) || artwork.cacheKey() != artworkKey_) {
            CopyArtwork(dial_, artwork);
            Canvas c(dial_);
            DrawDial(c, in);
            dialKey_ = key;
            artworkKey_ = artwork.cacheKey();
        }
        if (surface.size() == dial_.size() && surface.format() == dial_.format())
            std::memcpy(surface.bits(), dial_.constBits(), static_cast<size_t>(dial_.sizeInBytes()));
        else
            surface = dial_.copy();
        changed = surface.rect();
    } else {
        // The hands that moved are taken off with the dial under them, then all are drawn
        // again inside those boxes; a pixel outside them has seen the same drawing as before.
        for (size_t k = 0; k < 3; ++k) {
            const bool moved = k == 0   ? !std::equal(&hands.points[0], &hands.points[2], &hands_.points[0])
                               : k == 1 ? !std::equal(&hands.points[2], &hands.points[4], &hands_.points[2])
                                        : !std::equal(&hands.points[4], &hands.points[10], &hands_.points[4]);
            if (moved)
                changed |= hands.boxes[k] | hands_.boxes[k];
        }
        changed &= surface.rect();
        if (changed.isEmpty())
            return {};
        const auto from = static_cast<qsizetype>(changed.left()) * 4;
        const auto bytes = static_cast<size_t>(changed.width()) * 4;
        for (int y = changed.top(); y <= changed.bottom(); ++y)
            std::memcpy(surface.scanLine(y) + from, dial_.constScanLine(y) + from, bytes);
    }
    Canvas c(surface);
    if (same)
        c.setClip(changed);
    DrawHands(c, a.hour, a.minute, a.second);
    hands_ = hands;
    surfaceKey_ = surface.cacheKey();
    return changed;
}

QImage SmallClockFace(const QImage& face, int size, qreal devicePixelRatio)
{
    const int pixels = qMax(1, qRound(size * devicePixelRatio));
    QImage small(pixels, pixels, QImage::Format_RGB32);
    small.fill(Qt::white);
    StretchCopy(face, face.rect(), small, small.rect());
    small.setDevicePixelRatio(static_cast<qreal>(pixels) / size);
    return small;
}

bool UpdateSmallClockFace(QImage& small, const QImage& face, const QRect& changed)
{
    if (small.isNull() || small.width() != small.height() || face.width() != face.height() ||
        face.width() % small.width() != 0)
        return false;
    const int f = face.width() / small.width();
    const QRect part = changed & face.rect();
    if (part.isEmpty())
        return true;
    // The target pixels whose source blocks the change touches, and those blocks.
    const QRect to(QPoint(part.left() / f, part.top() / f), QPoint(part.right() / f, part.bottom() / f));
    const QRect from(to.topLeft() * f, to.size() * f);
    StretchCopy(face, from, small, to);
    return true;
}

} // namespace kelvator
