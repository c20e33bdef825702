#pragma once
// The texts the result fields show.

#include "brindelor/tariff/extended.h"

#include <string>
#include <string_view>

namespace brindelor {

// Display rounding to two decimals, done exactly as the extended programs
// did it: y = x * 100 (rounded to extended), r = y rounded to an integral
// value (ties to even), result r * 0.01 with 0.01 the extended value nearest
// one hundredth. A 2013 tariff of 22,445 shows 22,44, one of 25,075 shows
// 25,08; 1,065 (just above the half once divided) shows 1,07 and 5,095
// (just below) shows 5,09.
Extended displayRound(Extended x);

// The general text of a value: its 18-digit decimal (Extended::toDecimal18)
// rounded to 15 significant digits, halves away from zero, trailing zeros
// dropped. Fixed notation for zero and for magnitudes from 0,0001 with at
// most 15 integer digits; otherwise d,dddE-n style scientific notation
// (no "+" in the exponent, no leading zeros). No grouping; zero is "0".
// 11111111111111,45 (whose extended value lies below the half) shows
// 11111111111111,5.
std::string generalText(Extended x, std::string_view decimalSeparator);

} // namespace brindelor
