#include "calendar/wall_clock.h"

#include <ctime>

namespace kelvator {

WallClock::WallClock()
    : WallClock(SystemUtcOffset)
{
}

WallClock::WallClock(OffsetOf offsetOf)
    : offsetOf_(std::move(offsetOf))
{
}

QDateTime WallClock::Now()
{
    return At(QDateTime::currentMSecsSinceEpoch());
}

QDateTime WallClock::At(qint64 utcMs)
{
    const qint64 second = utcMs >= 0 ? utcMs / 1000 : -((-utcMs + 999) / 1000);
    if (!known_ || second != second_) {
        offset_ = offsetOf_(second);
        second_ = second;
        known_ = true;
    }
    // A fixed offset carries the wall time without another look-up of the rules.
    return QDateTime::fromMSecsSinceEpoch(utcMs, Qt::OffsetFromUTC, offset_);
}

int SystemUtcOffset(qint64 utcSecond)
{
    // tzset() notices a time zone changed while the program runs; localtime_r alone would not.
    tzset();
    const auto t = static_cast<std::time_t>(utcSecond);
    std::tm local{};
    if (!localtime_r(&t, &local))
        return 0;
    return static_cast<int>(local.tm_gmtoff);
}

} // namespace kelvator
