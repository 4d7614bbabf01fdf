#pragma once

#include <QString>
#include <QStringView>

namespace kelvator {

// Writes a number through a display mask: "0" always writes a digit, "#" only where the
// number has one, "." is the locale's decimal point, anything else is copied where it
// stands. Rounds to the mask's decimals with halves away from zero, deciding on the
// number's shortest decimal form (2.675 rounds to 2.68 with "0.00").
QString FormatMask(double value, QStringView mask);

// Pixel positions round halves to the even neighbour; keep that apart from FormatMask.
int RoundHalfEven(double value);

} // namespace kelvator
