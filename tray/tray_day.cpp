#include "tray/tray_day.h"

#include "calendar/numbermask.h"
#include "settings/settings_model.h"
#include "worktime/payday.h"
#include "worktime/workcalendar_model.h"
#include "worktime/workend.h"

#include <QColor>
#include <QPainter>
#include <QPixmap>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <set>

namespace kelvator {

namespace {

// "16:00", as the work end's notification writes it.
QString ClockText(int secondOfDay)
{
    const int hour = secondOfDay / 3600;
    const int minute = secondOfDay / 60 % 60;
    return FormatMask(hour, u"00") + u':' + FormatMask(minute, u"00");
}

int MinuteStart(const TickMoment& m)
{
    return m.secondOfDay - m.secondOfDay % 60;
}

// Seconds of the day's span worked by the start of the tick's minute, and the span's length.
struct DayDone {
    int worked = 0;
    int length = 0;
};
DayDone DayDoneAt(const WorkSchedule& s, int second)
{
    DayDone d;
    d.length = std::max(0, s.Length());
    d.worked = std::clamp(second - s.workStart, 0, d.length);
    return d;
}

QColor ColourOf(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int(bgr >> 8 & 0xFF), int(bgr >> 16 & 0xFF));
}

// The disc's rim and the part of the day still to come.
constexpr quint32 kRim = 0x00404040;
constexpr quint32 kTrack = 0x00FFFFFF;

} // namespace

// ---- The tooltip ------------------------------------------------------------------------------

QString TrayWorkDayLine(const TickMoment& m, const WorkSnapshot& work)
{
    if (!m.workday)
        return QStringLiteral("Ma nincs munkanap");
    const int end = work.schedule.workEnd;
    const int minute = MinuteStart(m);
    if (minute >= end)
        return QStringLiteral("Munkanap vége: ") + ClockText(end);
    const DayDone done = DayDoneAt(work.schedule, minute);
    // Whole percents only: 99.9% is not yet the end.
    const int percent = done.length > 0 ? int(qint64(done.worked) * 100 / done.length) : 0;
    const int left = (end - minute + 59) / 60;
    const int leftHours = left / 60;
    return QStringLiteral("Munkanap: ") + FormatMask(percent, u"0") + QStringLiteral("% — vége ") +
           ClockText(end) + QStringLiteral(" (még ") + FormatMask(leftHours, u"0") + u':' +
           FormatMask(left % 60, u"00") + u')';
}

QString TrayTipText(const TickMoment& m, const WorkSnapshot& work, const Settings& settings,
                    const WorkCalendarModel& calendar)
{
    QStringList lines{QStringLiteral("Kelvator"), TrayWorkDayLine(m, work)};
    // The page's text, without the colon that leads to its squares.
    QString payday = PaydayLabelText(m.today, work.payday);
    if (payday.endsWith(u':'))
        payday.chop(1);
    lines << payday;
    int salary = 0;
    if (settings.payShown && TryParseWholeNumber(settings.monthlySalary, salary)) {
        // The month as it stood at the start of the minute, so the sum moves once a minute.
        const QDateTime minute = m.now.addMSecs(-(m.time.msecsSinceStartOfDay() % 60000));
        const WorkSnapshot atMinute =
            ComputeWorkSnapshot(MomentOf(minute, calendar.Calendar()), settings, calendar);
        QString earned = MonthPayOf(atMinute, salary, calendar.WeekdayHoursInUse()).earned.simplified();
        if (earned.endsWith(u'.'))
            earned.chop(1);
        lines << earned;
    }
    return lines.join(u'\n');
}

// ---- The live icon ----------------------------------------------------------------------------

TrayIconState TrayProgressState(double progress)
{
    return {TrayIconKind::Progress, int(std::lround(std::clamp(progress, 0.0, 1.0) * 1000))};
}

TrayIconState TrayIconStateOf(const TickMoment& m, const WorkSnapshot& work)
{
    if (!m.workday)
        return {};
    const WorkSchedule& s = work.schedule;
    // The day bar's blink: lime at the end's own second, then every other second.
    const int sinceEnd = m.secondOfDay - s.workEnd;
    if (sinceEnd >= 0 && sinceEnd <= kWorkEndWindow)
        return {sinceEnd % 2 == 0 ? TrayIconKind::BlinkLime : TrayIconKind::BlinkOrange, 0};
    const int minute = MinuteStart(m);
    if (minute < s.workStart || m.secondOfDay >= s.workEnd)
        return {};
    const DayDone done = DayDoneAt(s, minute);
    return {TrayIconKind::Progress, done.length > 0 ? int(qint64(done.worked) * 1000 / done.length) : 0};
}

QImage DrawTrayIcon(const TrayIconState& state, int size, qreal devicePixelRatio, const QImage& programIcon)
{
    const int n = std::max(1, int(std::lround(size * devicePixelRatio)));
    QImage image(n, n, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (state.kind == TrayIconKind::Plain) {
        if (!programIcon.isNull()) {
            QPainter p(&image);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.drawImage(QRect(0, 0, n, n), programIcon);
        }
        image.setDevicePixelRatio(devicePixelRatio);
        return image;
    }
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A rim of whole pixels that grows with the icon, its outer edge on the image's: the disc's
    // centre falls on a pixel corner, so the 12 and 6 o'clock edges of the sector are sharp. Drawn
    // in device pixels, 16 px at 2x is the same image as 32 px at 1x.
    const int rim = std::max(1, int(std::lround(n / 16.0)));
    const QRectF disc(rim / 2.0, rim / 2.0, n - rim, n - rim);
    p.setPen(Qt::NoPen);
    quint32 fill = kDayBarOrange;
    if (state.kind == TrayIconKind::BlinkLime)
        fill = kDayBarLime;
    const int span = state.kind == TrayIconKind::Progress ? std::clamp(state.permille, 0, 1000) : 1000;
    p.setBrush(ColourOf(kTrack));
    p.drawEllipse(disc);
    if (span >= 1000) {
        p.setBrush(ColourOf(fill));
        p.drawEllipse(disc);
    } else if (span > 0) {
        // Clockwise from 12 o'clock: Qt's angles run counter-clockwise from 3 o'clock, in 1/16°.
        p.setBrush(ColourOf(fill));
        p.drawPie(disc, 90 * 16, -int(std::lround(span * 360 * 16 / 1000.0)));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ColourOf(kRim), rim));
    p.drawEllipse(disc);
    p.end();
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

QIcon MakeTrayIcon(const TrayIconState& state, const QImage& programIcon)
{
    if (state.kind == TrayIconKind::Plain)
        return QIcon(QPixmap::fromImage(programIcon));
    QIcon icon;
    std::set<int> drawn;
    for (const int size : {16, 22, 24, 32, 48}) {
        for (const int ratio : {1, 2}) {
            // Each pixel size once, drawn for itself: a panel picks the one it shows.
            if (drawn.insert(size * ratio).second)
                icon.addPixmap(QPixmap::fromImage(DrawTrayIcon(state, size * ratio, 1, programIcon)));
        }
    }
    return icon;
}

QImage ProgramIconImage()
{
    return QImage(QStringLiteral(":/kelvator/kelvator.png"));
}

// ---- The reminder before the end --------------------------------------------------------------

QString TrayReminderText(int minutes, int workEnd)
{
    return FormatMask(minutes, u"0") + QStringLiteral(" perc múlva vége a munkaidőnek (") +
           ClockText(workEnd) + u')';
}

std::optional<QString> StepTrayReminder(TrayReminderState& state, const TickMoment& m,
                                        const WorkSnapshot& work, bool on, int minutes)
{
    if (state.day != m.today) {
        state.day = m.today;
        state.lastSecond.reset();
        state.given = false;
    }
    const std::optional<int> before = state.lastSecond;
    state.lastSecond = m.secondOfDay;
    if (!on || !m.workday || state.given || !before || minutes <= 0)
        return std::nullopt;
    const int end = work.schedule.workEnd;
    const int at = end - minutes * 60;
    // Reached by this tick, after one that had not; a tick past the end (a machine woken from
    // sleep) is too late to remind of anything.
    if (*before >= at || m.secondOfDay < at || m.secondOfDay >= end)
        return std::nullopt;
    state.given = true;
    return TrayReminderText(minutes, end);
}

} // namespace kelvator
