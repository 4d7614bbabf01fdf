#pragma once

#include <QDateTime>

#include <functional>

namespace kelvator {

// Local wall time read from the system clock. Converting to local time re-reads the time-zone
// rules each time (on glibc a file system look-up), and a tick reads the time many times a
// second; the UTC offset is therefore looked up once per UTC second and the milliseconds of
// that second are added to it. Offsets change only on whole seconds, so the result is exact.
class WallClock {
public:
    // Seconds east of UTC in force at the given second since the epoch.
    using OffsetOf = std::function<int(qint64 utcSecond)>;

    WallClock();
    explicit WallClock(OffsetOf offsetOf);

    QDateTime Now();
    // The wall time of a moment given as milliseconds since the epoch (UTC).
    QDateTime At(qint64 utcMs);

private:
    OffsetOf offsetOf_;
    qint64 second_ = 0;
    int offset_ = 0;
    bool known_ = false;
};

// The system's rules: the offset in force in the time zone the process runs in.
int SystemUtcOffset(qint64 utcSecond);

} // namespace kelvator
