#pragma once
// Currency: fixed-point money, a signed 64-bit count of ten-thousandths.

#include "brindelor/tariff/extended.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace brindelor {

struct Currency {
    std::int64_t count = 0; // ten-thousandths: 1,5 is 15000

    // The count as an extended value, exactly.
    Extended toExtended() const noexcept { return Extended::fromInt64(count); }

    // Round an extended count to the nearest integer, ties to even; outside
    // the signed 64-bit range: FloatInvalidError.
    static Currency roundFrom(Extended countValue) { return Currency{countValue.roundToInt64()}; }

    friend constexpr bool operator==(Currency, Currency) = default;
};

// All the digits of c, exact: integer digits, then the decimal separator and
// up to four decimals without trailing zeros; "-" for a negative value, "0"
// for zero, no grouping. 12,3400 is "12,34"; -0,0001 is "-0,0001".
std::string fixedPointText(Currency c, std::string_view decimalSeparator);

// Parse: optional spaces, optional sign, digits, optionally the decimal
// separator followed by digits, optionally E or e with an optional sign and
// digits, optional spaces ("12,5", " -1e3 "; not "12," nor ",5"). No
// grouping, no other separator. The exact value is scaled to ten-thousandths and rounded to a
// count, ties to even ("0,00005" is 0, "0,00015" is 2). A text that does not
// match, or whose count is outside the signed 64-bit range, raises
// ConversionError with the whole text.
Currency parseFixedPoint(std::string_view text, std::string_view decimalSeparator);

} // namespace brindelor
