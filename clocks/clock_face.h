#pragma once

#include "clocks/analog_clock.h"

#include <QImage>
#include <QObject>
#include <QRect>

#include <functional>
#include <optional>

namespace kelvator {

// The analog face that the big clock and the work-time page's small clock both show: drawn
// once per change, from what its source says the moment and the work day are.
class ClockFace : public QObject {
    Q_OBJECT

public:
    // What the face shows now; nothing while nobody can see it, so that it waits until painted.
    using Source = std::function<std::optional<ClockFaceInput>()>;

    explicit ClockFace(QObject* parent = nullptr);

    void SetSource(Source source);
    // The dial artwork the face is drawn on.
    const QImage& Artwork() const { return artwork_; }
    // The face as last drawn (280 x 280), or a null image before the first one.
    const QImage& Image() const { return image_; }

    // Draws the face anew if it changed.
    void Update();
    // For a paint: a face never drawn, or skipped while out of sight, is drawn now.
    void UpdateIfStale();

Q_SIGNALS:
    // `area` of the face changed; `previousKey` is the image's cache key before the change.
    void changed(const QRect& area, qint64 previousKey);

private:
    Source source_;
    QImage artwork_;
    QImage image_;
    ClockFacePainter painter_;
    std::optional<ClockFaceInput> last_;
    bool waiting_ = false;
};

} // namespace kelvator
