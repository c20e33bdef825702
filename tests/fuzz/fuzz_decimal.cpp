// Decimal to Extended against strtold where it is glibc's, else against the
// exact oracle (MinGW's strtold misrounds long texts).
#include "decimal_oracle.h" // tests/support
#include "extended_bits.h"
#include "x87.h"

#include "brindelor/tariff/errors.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace brindelor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!x87::kAvailable || size < 3)
        return 0;
    const bool negative = data[0] & 1;
    // An exponent from -5200 to 5200, then digits from the remaining bytes.
    const int exp10 = static_cast<int>((data[1] | (data[2] << 8)) % 10401) - 5200;
    std::string digits;
    for (std::size_t i = 3; i < size; ++i)
        digits += static_cast<char>('0' + data[i] % 10);

#ifdef __GLIBC__
    const std::string text = (negative ? "-" : "") + (digits.empty() ? "0" : digits) + "e" + std::to_string(exp10);
    errno = 0;
    const long double ld = std::strtold(text.c_str(), nullptr);
    const bool overflow = std::isinf(ld);
    const Extended want = overflow ? Extended() : x87::fromLong(ld);
#else
    const test::X87Fields f = test::decimalToX87(negative, digits, exp10);
    const bool overflow = f.overflow;
    const Extended want = Extended::fromParts(f.negative, f.biasedExponent, f.significand);
#endif
    try {
        const Extended got = Extended::fromDecimal(negative, digits, exp10);
        if (overflow || !test::sameBits(got, want))
            std::abort();
    } catch (const FloatOverflowError&) {
        if (!overflow)
            std::abort();
    }
    return 0;
}
