#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

// Drawing on an off-screen picture the way the clock faces were designed: a rectangle or an
// ellipse excludes its right and bottom edge, a pie runs counter-clockwise between two rays,
// the mask pen ANDs its colour into the picture, a dotted pen is 3 on and 3 off.

namespace kelvator {

enum class PenMode { Copy, Mask };
enum class PenStyle { Solid, Dot, Clear };
enum class BrushStyle { Solid, Clear };

class Canvas {
public:
    explicit Canvas(QImage& image);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    QImage& image() { return image_; }

    void setPen(quint32 colour, PenMode mode, PenStyle style, int width);
    void setBrush(quint32 colour, BrushStyle style);
    void setFont(const QFont& font) { font_ = font; }
    // Drawing leaves the pixels outside the rectangle alone; a null rectangle clips nothing.
    void setClip(const QRect& clip) { clip_ = clip; }
    bool Contains(int x, int y) const
    {
        return image_.valid(x, y) && (clip_.isNull() || clip_.contains(x, y));
    }
    QRect DrawableArea() const { return clip_.isNull() ? image_.rect() : clip_ & image_.rect(); }

    void Rectangle(int x1, int y1, int x2, int y2);
    void Ellipse(int x1, int y1, int x2, int y2);
    // The sector of the ellipse in the box, counter-clockwise from the ray through (x3, y3)
    // to the ray through (x4, y4).
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Line(int x0, int y0, int x1, int y1);
    // The same, from the pixels they covered the last time they were drawn with this geometry
    // and these pen and brush styles: for shapes a clock draws again every second.
    void EllipseAgain(int x1, int y1, int x2, int y2);
    void LineAgain(int x0, int y0, int x1, int y1);
    // Top-left corner at (x, y), background left as it is.
    void TextOut(int x, int y, const QString& text);

    quint32 Pixel(int x, int y) const; // 0x00BBGGRR
    void SetPixel(int x, int y, quint32 colour);

private:
    // Each primitive opens and closes its own painter, so pixels can be read between them.
    template <typename Draw> void Paint(Draw draw);
    // Replays the pixels a shape covers, found once by drawing it alone on a blank picture.
    template <typename Draw> void Again(int shape, int x1, int y1, int x2, int y2, Draw draw);

    QImage& image_;
    quint32 penColour_ = 0;
    PenMode penMode_ = PenMode::Copy;
    PenStyle penStyle_ = PenStyle::Solid;
    int penWidth_ = 1;
    quint32 brushColour_ = 0x00FFFFFF;
    BrushStyle brushStyle_ = BrushStyle::Solid;
    QFont font_;
    QRect clip_;
    QPoint origin_; // the picture's top-left corner on the surface it stands for
};

// The system's button face (0xFF00000F) where the program draws on it with black: the
// desktop's own while it is light, the classic light grey under a dark desktop palette, so
// black lines and texts on it never vanish.
QColor ButtonFaceColour();

// Pen colour, mode, style and width, then brush colour and style, in one call.
void SetCanvasTools(Canvas& canvas, quint32 penColour, PenMode mode, PenStyle style, int width,
                    quint32 brushColour, BrushStyle brushStyle);

// Xiaolin Wu's one-pixel line blended into the pixels already there; the pen plays no part.
// A line whose ends coincide draws nothing.
void DrawAntialiasedLine(Canvas& canvas, quint32 colour, double x0, double y0, double x1, double y1);

// Copies a rectangle into another of any size the way the desktop's plain stretching copy does:
// each target pixel keeps the bitwise AND of the source pixels that fall on it, so dark strokes
// on a light picture stay whole when it shrinks. Enlarging repeats the nearest source pixel.
void StretchCopy(const QImage& source, const QRect& from, QImage& target, const QRect& to);

} // namespace kelvator
