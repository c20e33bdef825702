#include "brindelor/tariff/number_text.h"

#include "pow10.h"

#include <algorithm>
#include <cstdint>

namespace brindelor {

namespace {

using detail::kPow10;

constexpr int kGeneralDigits = 15;

const Extended& oneHundredth()
{
    static const Extended z = Extended::fromDecimal(false, "1", -2);
    return z;
}

} // namespace

Extended displayRound(Extended x)
{
    static const Extended hundred = Extended::fromInt64(100);
    const Extended y = x * hundred;
    return y.roundToIntegral() * oneHundredth();
}

std::string generalText(Extended x, std::string_view decimalSeparator)
{
    const Extended::Decimal18 d = x.toDecimal18();
    if (d.digits == 0)
        return "0";

    // 18 digits to 15, halves away from zero.
    std::uint64_t q = d.digits / kPow10[18 - kGeneralDigits];
    const std::uint64_t rest = d.digits % kPow10[18 - kGeneralDigits];
    int exp10 = d.exp10 + (18 - kGeneralDigits);
    if (rest >= kPow10[18 - kGeneralDigits] / 2) {
        ++q;
        if (q == kPow10[kGeneralDigits]) {
            q = kPow10[kGeneralDigits - 1];
            ++exp10;
        }
    }
    // Trailing zeros, by halving steps: most results have a dozen.
    for (int step : {8, 4, 2, 1}) {
        while (q % kPow10[step] == 0) {
            q /= kPow10[step];
            exp10 += step;
        }
    }

    // value = q * 10^exp10, q of n digits; lead is the power of its first digit.
    // Built in a local buffer: this runs four times per computation.
    char digits[20];
    int n = 0;
    for (std::uint64_t v = q; v != 0; v /= 10)
        digits[n++] = static_cast<char>('0' + v % 10);
    std::reverse(digits, digits + n);
    const int lead = exp10 + n - 1;

    std::string text;
    if (d.negative)
        text += '-';
    const auto un = static_cast<std::size_t>(n);
    if (lead >= -4 && lead < kGeneralDigits) {
        if (lead >= 0) {
            const auto intDigits = static_cast<std::size_t>(lead + 1);
            if (intDigits >= un) {
                text.append(digits, un);
                text.append(intDigits - un, '0');
            } else {
                text.append(digits, intDigits);
                text += decimalSeparator;
                text.append(digits + intDigits, un - intDigits);
            }
        } else {
            text += '0';
            text += decimalSeparator;
            text.append(static_cast<std::size_t>(-lead - 1), '0');
            text.append(digits, un);
        }
    } else {
        text += digits[0];
        if (n > 1) {
            text += decimalSeparator;
            text.append(digits + 1, un - 1);
        }
        text += 'E';
        if (lead < 0)
            text += '-';
        text += std::to_string(lead < 0 ? -lead : lead);
    }
    return text;
}

} // namespace brindelor
