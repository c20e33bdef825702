#pragma once
// The x87 long double of this machine as an oracle for Extended, shared by
// the differential tests and the fuzz targets: the same 80-bit layout, so a
// value moves across by its bytes.
#include "brindelor/tariff/extended.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace brindelor::x87 {

inline constexpr bool kAvailable = std::numeric_limits<long double>::digits == 64;

inline long double toLong(Extended x)
{
    unsigned char bytes[sizeof(long double)] = {};
    const std::uint64_t sig = x.significand();
    const std::uint16_t se = static_cast<std::uint16_t>(x.biasedExponent() | (x.sign() ? 0x8000u : 0u));
    std::memcpy(bytes, &sig, 8);
    std::memcpy(bytes + 8, &se, 2);
    long double v;
    std::memcpy(&v, bytes, sizeof v);
    return v;
}

// Only for finite values with the integer bit consistent with the exponent.
inline Extended fromLong(long double v)
{
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &v, sizeof v);
    std::uint64_t sig;
    std::uint16_t se;
    std::memcpy(&sig, bytes, 8);
    std::memcpy(&se, bytes + 8, 2);
    return Extended::fromParts((se & 0x8000u) != 0, static_cast<std::uint16_t>(se & 0x7FFFu), sig);
}

} // namespace brindelor::x87
