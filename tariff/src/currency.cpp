#include "brindelor/tariff/currency.h"

#include "brindelor/tariff/errors.h"

#include <cstdint>
#include <limits>

namespace brindelor {

namespace {

constexpr std::uint64_t kCountMaxMagnitude = 9223372036854775808ull; // |INT64_MIN|

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view::size_type skipDigits(std::string_view s, std::string_view::size_type i)
{
    while (i < s.size() && isDigit(s[i]))
        ++i;
    return i;
}

} // namespace

std::string fixedPointText(Currency c, std::string_view decimalSeparator)
{
    const bool negative = c.count < 0;
    // Unsigned magnitude, so that INT64_MIN has one too.
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(c.count)
                                             : static_cast<std::uint64_t>(c.count);
    std::string text;
    if (negative)
        text += '-';
    text += std::to_string(magnitude / 10000);
    unsigned frac = static_cast<unsigned>(magnitude % 10000);
    if (frac != 0) {
        char digits[4];
        for (int i = 3; i >= 0; --i) {
            digits[i] = static_cast<char>('0' + frac % 10);
            frac /= 10;
        }
        int len = 4;
        while (digits[len - 1] == '0')
            --len;
        text += decimalSeparator;
        text.append(digits, static_cast<std::size_t>(len));
    }
    return text;
}

Currency parseFixedPoint(std::string_view text, std::string_view decimalSeparator)
{
    const auto fail = [&]() -> Currency { throw ConversionError(text); };
    std::string_view::size_type i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const auto intBegin = i;
    i = skipDigits(text, i);
    const std::string_view intDigits = text.substr(intBegin, i - intBegin);
    if (intDigits.empty())
        return fail();
    std::string_view fracDigits;
    if (!decimalSeparator.empty() && text.substr(i, decimalSeparator.size()) == decimalSeparator) {
        i += decimalSeparator.size();
        const auto fracBegin = i;
        i = skipDigits(text, i);
        fracDigits = text.substr(fracBegin, i - fracBegin);
        if (fracDigits.empty())
            return fail();
    }
    // The exponent saturates: anything beyond a few dozen only decides
    // between zero and out of range.
    std::int64_t exp10 = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            expNegative = text[i] == '-';
            ++i;
        }
        const auto expBegin = i;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            if (exp10 < 1000000)
                exp10 = exp10 * 10 + (text[i] - '0');
        }
        if (i == expBegin)
            return fail();
        if (expNegative)
            exp10 = -exp10;
    }
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i != text.size())
        return fail();

    // count = digits * 10^scale, rounded half to even, done on the exact
    // decimal digits so that no binary rounding creeps in.
    std::string digits;
    digits.reserve(intDigits.size() + fracDigits.size());
    digits.append(intDigits);
    digits.append(fracDigits);
    const auto firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos)
        return Currency{0};
    const std::string_view significant = std::string_view(digits).substr(firstNonZero);
    const std::int64_t scale = exp10 + 4 - static_cast<std::int64_t>(fracDigits.size());

    // Number of significant digits that land in the integer count.
    const std::int64_t kept = static_cast<std::int64_t>(significant.size()) + scale;
    if (kept > 19)
        return fail();

    std::uint64_t count = 0;
    bool roundUp = false;
    if (kept > 0) {
        const auto nKept = static_cast<std::size_t>(kept);
        for (std::size_t k = 0; k < nKept; ++k) {
            const unsigned digit = k < significant.size() ? static_cast<unsigned>(significant[k] - '0') : 0u;
            // 19 digits can exceed 2^64 - 1 only from 18446744073709551616 up.
            if (count > (std::numeric_limits<std::uint64_t>::max() - digit) / 10)
                return fail();
            count = count * 10 + digit;
        }
        if (nKept < significant.size()) {
            const char first = significant[nKept];
            const bool restNonZero =
                significant.find_first_not_of('0', nKept + 1) != std::string_view::npos;
            roundUp = first > '5' || (first == '5' && (restNonZero || (count & 1u) != 0));
        }
    } else if (kept == 0) {
        // Below one count: only the leading digit and what follows decide.
        const char first = significant[0];
        const bool restNonZero = significant.find_first_not_of('0', 1) != std::string_view::npos;
        roundUp = first > '5' || (first == '5' && restNonZero);
    }
    if (roundUp) {
        if (count == std::numeric_limits<std::uint64_t>::max())
            return fail();
        ++count;
    }
    if (count > kCountMaxMagnitude || (!negative && count == kCountMaxMagnitude))
        return fail();
    const std::int64_t signedCount = negative ? static_cast<std::int64_t>(0 - count)
                                              : static_cast<std::int64_t>(count);
    return Currency{signedCount};
}

} // namespace brindelor
