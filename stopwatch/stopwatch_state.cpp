#include "stopwatch/stopwatch_state.h"

#include "calendar/numbermask.h"

#include <cmath>

namespace kelvator {

Elapsed ElapsedOf(double days)
{
    Elapsed e;
    if (!std::isfinite(days) || days <= 0)
        return e;
    const qint64 ms = std::llround((days - std::floor(days)) * 86'400'000.0) % 86'400'000;
    const qint64 seconds = ms / 1000;
    e.h = static_cast<int>(seconds / 3600);
    e.m = static_cast<int>(seconds / 60 % 60);
    e.s = static_cast<int>(seconds % 60);
    return e;
}

QString TimeStamp(const QTime& time, bool twelveHour)
{
    int hour = time.hour();
    QString prefix;
    if (twelveHour && hour >= 12) {
        prefix = QStringLiteral("Du. ");
        if (hour > 12)
            hour -= 12;
    }
    return prefix + FormatMask(hour, u"0") + u':' + FormatMask(time.minute(), u"00") + u':' +
           FormatMask(time.second(), u"00");
}

QString ElapsedText(const Elapsed& e)
{
    if (e.h > 0)
        return FormatMask(e.h, u"0") + u':' + FormatMask(e.m, u"00") + u':' + FormatMask(e.s, u"00");
    if (e.m > 0)
        return FormatMask(e.m, u"0") + u':' + FormatMask(e.s, u"00");
    return FormatMask(e.s, u"0");
}

QString LapLine(int lap, const Elapsed& e)
{
    return u'R' + FormatMask(lap, u"0") + QStringLiteral(": ") + FormatMask(e.h, u"0") + u':' +
           FormatMask(e.m, u"00") + u':' + FormatMask(e.s, u"00");
}

} // namespace kelvator
