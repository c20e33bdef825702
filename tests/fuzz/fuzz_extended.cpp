// Extended's operations against the x87.
#include "extended_bits.h" // tests/support
#include "x87.h"

#include "brindelor/tariff/errors.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

using namespace brindelor;

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

// Any 10 bytes as an Extended with a consistent integer bit, no inf or NaN.
Extended operand(const std::uint8_t* p)
{
    std::uint64_t sig;
    std::uint16_t se;
    std::memcpy(&sig, p, 8);
    std::memcpy(&se, p + 8, 2);
    std::uint16_t exp = se & 0x7FFFu;
    if (exp == 0x7FFF)
        exp = 0x7FFE;
    if (exp == 0)
        sig &= ~(1ull << 63);
    else
        sig |= 1ull << 63;
    return Extended::fromParts((se & 0x8000u) != 0, exp, sig);
}

// The oracle's answer: a finite result compares by bits; inf and NaN stand
// for the errors our type raises instead.
template <class Op>
void compare(Op op, long double want)
{
    try {
        const Extended got = op();
        check(std::isfinite(want));
        check(test::sameBits(got, x87::fromLong(want)));
    } catch (const FloatOverflowError&) {
        check(std::isinf(want));
    } catch (const FloatZeroDivideError&) {
        check(std::isinf(want));
    } catch (const FloatInvalidError&) {
        check(std::isnan(want));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!x87::kAvailable || size < 21)
        return 0;
    const Extended a = operand(data + 1);
    const Extended b = operand(data + 11);
    const long double la = x87::toLong(a), lb = x87::toLong(b);
    switch (data[0] % 8) {
    case 0:
        compare([&] { return a + b; }, la + lb);
        break;
    case 1:
        compare([&] { return a - b; }, la - lb);
        break;
    case 2:
        compare([&] { return a * b; }, la * lb);
        break;
    case 3:
        compare([&] { return a / b; }, la / lb);
        break;
    case 4:
        check((a < b) == (la < lb) && (a == b) == (la == lb));
        break;
    case 5:
        compare([&] { return a.roundToIntegral(); }, std::nearbyint(la));
        break;
    case 6: {
        const long double r = std::nearbyint(la);
        const bool fits = r >= -9223372036854775808.0L && r < 9223372036854775808.0L;
        try {
            const std::int64_t got = a.roundToInt64();
            check(fits && got == static_cast<std::int64_t>(r));
        } catch (const FloatInvalidError&) {
            check(!fits);
        }
        break;
    }
    case 7: {
        const float want = static_cast<float>(la);
        try {
            const float got = a.toFloat();
            check(std::isfinite(want) && std::memcmp(&got, &want, sizeof got) == 0);
        } catch (const FloatOverflowError&) {
            check(std::isinf(want));
        }
        break;
    }
    }
    return 0;
}
