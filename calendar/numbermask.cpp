#include "calendar/numbermask.h"

#include <QLocale>

#include <array>
#include <cmath>
#include <cstdio>

namespace kelvator {

namespace {

bool IsPlace(QChar c)
{
    return c == u'0' || c == u'#';
}

// |value| * 10^decimals rounded half away from zero, as decimal digits without a sign.
// The value is first taken to 15 significant digits, its exact decimal form for every
// number typed or computed here, so binary noise cannot turn a half into less.
QString ScaledDigits(double magnitude, int decimals)
{
    // Whole numbers need no decimal detour: most texts are dates, times and counts.
    if (decimals == 0 && magnitude < 1e15 && magnitude == std::floor(magnitude))
        return QString::number(static_cast<qint64>(magnitude));
    std::array<char, 40> buf{};
    std::snprintf(buf.data(), buf.size(), "%.14e", magnitude);
    std::array<char, 15> dg{};
    int n = 0;
    const char* p = buf.data();
    for (; *p != 'e' && *p != '\0'; ++p) {
        if (*p >= '0' && *p <= '9' && n < 15)
            dg[n++] = *p;
    }
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    const int keep = exponent + decimals + 1; // digits with weight >= 10^-decimals

    QString out;
    if (keep <= 0) {
        out = keep == 0 && dg[0] >= '5' ? QStringLiteral("1") : QStringLiteral("0");
    } else {
        out.reserve(keep + 1);
        for (int i = 0; i < keep; ++i)
            out.append(QLatin1Char(i < n ? dg[i] : '0'));
        if (keep < n && dg[keep] >= '5') {
            int i = keep - 1;
            for (; i >= 0; --i) {
                if (out[i] == u'9') {
                    out[i] = u'0';
                } else {
                    out[i] = QChar(out[i].unicode() + 1);
                    break;
                }
            }
            if (i < 0)
                out.prepend(u'1');
        }
    }
    while (out.size() < decimals + 1)
        out.prepend(u'0');
    return out;
}

} // namespace

QString FormatMask(double value, QStringView mask)
{
    // "0", "00", "0000" with a whole, non-negative number: the texts of dates and times.
    if (value >= 0 && value < 1e15 && value == std::floor(value) && !mask.isEmpty() &&
        mask.count(u'0') == mask.size()) {
        QString digits = QString::number(static_cast<qint64>(value));
        if (digits.size() < mask.size())
            digits.prepend(QString(mask.size() - digits.size(), u'0'));
        return digits;
    }
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");

    const qsizetype dot = mask.indexOf(u'.');
    const QStringView intMask = dot < 0 ? mask : mask.left(dot);
    const QStringView fracMask = dot < 0 ? QStringView() : mask.mid(dot + 1);
    int decimals = 0;
    for (QChar c : fracMask)
        decimals += IsPlace(c) ? 1 : 0;

    const QString digits = ScaledDigits(std::fabs(value), decimals);
    const QStringView intDigitsAll = QStringView(digits).left(digits.size() - decimals);
    const QStringView fracDigits = QStringView(digits).right(decimals);

    qsizetype firstNonZero = 0;
    while (firstNonZero < intDigitsAll.size() && intDigitsAll[firstNonZero] == u'0')
        ++firstNonZero;
    const QStringView intDigits = intDigitsAll.mid(firstNonZero);
    const bool isZero = digits.count(u'0') == digits.size();

    // Integer part, filled from the right; digits beyond the places go before the first one.
    qsizetype firstPlace = -1;
    for (qsizetype i = 0; i < intMask.size(); ++i) {
        if (IsPlace(intMask[i])) {
            firstPlace = i;
            break;
        }
    }
    QString reversed;
    reversed.reserve(mask.size() + digits.size() + 2);
    qsizetype left = intDigits.size();
    if (firstPlace < 0) {
        while (left > 0)
            reversed.append(intDigits[--left]);
    }
    for (qsizetype i = intMask.size() - 1; i >= 0; --i) {
        const QChar c = intMask[i];
        if (!IsPlace(c)) {
            reversed.append(c);
            continue;
        }
        if (left > 0)
            reversed.append(intDigits[--left]);
        else if (c == u'0')
            reversed.append(u'0');
        if (i == firstPlace) {
            while (left > 0)
                reversed.append(intDigits[--left]);
        }
    }
    QString out;
    out.reserve(reversed.size() + fracMask.size() + 2);
    if (value < 0 && !isZero)
        out.append(u'-');
    for (qsizetype i = reversed.size() - 1; i >= 0; --i)
        out.append(reversed[i]);

    // Fraction: "#" places drop trailing zeros, the point goes only before a written digit.
    if (decimals > 0) {
        qsizetype lastNeeded = -1; // last fraction digit index that must be written
        int place = 0;
        for (QChar c : fracMask) {
            if (!IsPlace(c))
                continue;
            if (c == u'0' || fracDigits[place] != u'0')
                lastNeeded = place;
            ++place;
        }
        QString frac;
        place = 0;
        for (QChar c : fracMask) {
            if (!IsPlace(c)) {
                frac.append(c);
                continue;
            }
            if (place <= lastNeeded)
                frac.append(fracDigits[place]);
            ++place;
        }
        if (lastNeeded >= 0) {
            out.append(QLocale().decimalPoint());
            out.append(frac);
        }
    }
    return out;
}

int RoundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

} // namespace kelvator
