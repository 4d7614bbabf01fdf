#pragma once

#include "calendar/tdatetime.h"

#include <QString>

#include <array>
#include <optional>

namespace kelvator {

// Decimal, or hexadecimal after "0x"/"0X"; nullopt for anything else.
std::optional<int> ParseIntValue(const QString& text);
// The same, with the default for anything else.
int ReadIntValue(const std::optional<QString>& text, int defaultValue);
// Any non-zero number is true.
bool ReadBoolValue(const std::optional<QString>& text, bool defaultValue);
QString BoolText(bool value);

// "yyyy.MM.dd." at midnight, "yyyy.MM.dd. HH:mm:ss" otherwise; fractions of a second are
// dropped. The form does not depend on the machine's locale.
QString DateTimeText(TDateTime moment);
// Reads that form, the Hungarian regional "yyyy. MM. dd. H:mm:ss" and ISO "yyyy-MM-dd HH:mm:ss".
std::optional<TDateTime> ParseDateTimeText(const QString& text);
TDateTime ReadDateTimeValue(const std::optional<QString>& text, TDateTime defaultValue);

// The yearly calendar's ten swatches; "-" stands for no colour of the day's own.
constexpr quint32 kButtonFace = 0xFF00000F;
constexpr std::array<quint32, 10> kPaletteColours{0x000000FF, 0x00000000, 0x0000FF00, 0x00008000, 0x00808080,
                                                  0x000080FF, 0x00FFFF00, 0x00FF0000, 0x00C080FF, 0x00004080};
int PaletteCodeOfColour(quint32 colour);
quint32 ColourOfPaletteCode(int code);

using MonthColours = std::array<quint32, 31>;
QString MonthColoursText(const MonthColours& days);
// A short string or a foreign character leaves those days uncoloured.
MonthColours ParseMonthColours(const QString& text);

} // namespace kelvator
