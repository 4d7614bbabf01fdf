#include "settings/value_forms.h"

#include <QRegularExpression>

namespace kelvator {

std::optional<int> ParseIntValue(const QString& text)
{
    const QString t = text.trimmed();
    bool ok = false;
    int value = 0;
    if (t.size() > 2 && (t.startsWith(QStringLiteral("0x")) || t.startsWith(QStringLiteral("0X")))) {
        const uint u = t.mid(2).toUInt(&ok, 16);
        value = static_cast<int>(u);
    } else {
        value = t.toInt(&ok, 10);
    }
    return ok ? std::optional<int>(value) : std::nullopt;
}

int ReadIntValue(const std::optional<QString>& text, int defaultValue)
{
    return text ? ParseIntValue(*text).value_or(defaultValue) : defaultValue;
}

bool ReadBoolValue(const std::optional<QString>& text, bool defaultValue)
{
    return ReadIntValue(text, defaultValue ? 1 : 0) != 0;
}

QString BoolText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

QString DateTimeText(TDateTime moment)
{
    // The stored value is wall time: a local QDateTime would move an hour in a DST gap.
    const QDate date = DateOf(moment);
    if (!date.isValid())
        return {};
    const QTime t = TimeOf(moment);
    QString text = date.toString(QStringLiteral("yyyy.MM.dd."));
    if (t.hour() != 0 || t.minute() != 0 || t.second() != 0)
        text += u' ' + t.toString(QStringLiteral("HH:mm:ss"));
    return text;
}

std::optional<TDateTime> ParseDateTimeText(const QString& text)
{
    static const QRegularExpression form(QStringLiteral(
        R"(^\s*(\d{1,4})\s*([.-])\s*(\d{1,2})\s*\2\s*(\d{1,2})\.?(?:(?:\s+|T)(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?\s*$)"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    if (!date.isValid() || date.year() < kMinYear || date.year() > kMaxYear)
        return std::nullopt;
    QTime time(0, 0);
    if (m.hasCaptured(5)) {
        time =
            QTime(m.captured(5).toInt(), m.captured(6).toInt(), m.hasCaptured(7) ? m.captured(7).toInt() : 0);
        if (!time.isValid())
            return std::nullopt;
    }
    return ToDateTime(date, time);
}

TDateTime ReadDateTimeValue(const std::optional<QString>& text, TDateTime defaultValue)
{
    if (!text)
        return defaultValue;
    return ParseDateTimeText(*text).value_or(defaultValue);
}

int PaletteCodeOfColour(quint32 colour)
{
    for (int code = 9; code >= 0; --code) {
        if (kPaletteColours[static_cast<size_t>(code)] == colour)
            return code;
    }
    return -1;
}

quint32 ColourOfPaletteCode(int code)
{
    return code >= 0 && code <= 9 ? kPaletteColours[static_cast<size_t>(code)] : kButtonFace;
}

QString MonthColoursText(const MonthColours& days)
{
    QString text;
    text.reserve(31);
    for (quint32 colour : days) {
        const int code = PaletteCodeOfColour(colour);
        text.append(code >= 0 ? QChar(u'0' + code) : QChar(u'-'));
    }
    return text;
}

MonthColours ParseMonthColours(const QString& text)
{
    MonthColours days;
    for (size_t d = 0; d < days.size(); ++d) {
        const qsizetype i = static_cast<qsizetype>(d);
        const QChar c = i < text.size() ? text[i] : QChar(u'-');
        days[d] = ColourOfPaletteCode(c >= u'0' && c <= u'9' ? c.unicode() - u'0' : -1);
    }
    return days;
}

} // namespace kelvator
