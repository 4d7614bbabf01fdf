#include "clocks/clock_face.h"

namespace kelvator {

ClockFace::ClockFace(QObject* parent)
    : QObject(parent)
    , artwork_(QImage(QStringLiteral(":/kelvator/dial.bmp")).convertToFormat(QImage::Format_RGB32))
{
}

void ClockFace::SetSource(Source source)
{
    source_ = std::move(source);
}

void ClockFace::Update()
{
    // Nobody sees the face of a window in the tray: it is drawn when the window paints again.
    const std::optional<ClockFaceInput> in = source_ ? source_() : std::nullopt;
    waiting_ = !in;
    if (waiting_)
        return;
    // Five ticks a second, one new face a second: an unchanged face is neither drawn nor shown again.
    if (last_ && *last_ == *in && !image_.isNull())
        return;
    last_ = in;
    const qint64 before = image_.cacheKey();
    const QRect area = painter_.Draw(image_, artwork_, *in);
    if (!area.isEmpty())
        Q_EMIT changed(area, before);
}

void ClockFace::UpdateIfStale()
{
    if (image_.isNull() || waiting_)
        Update();
}

} // namespace kelvator
