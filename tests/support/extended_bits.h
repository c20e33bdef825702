#pragma once
// Extended values compared and shown by their encoding, for the tests and
// the fuzz targets: bit for bit, so that the sign of a zero counts.
#include "brindelor/tariff/extended.h"

#include <cinttypes>
#include <cstdio>
#include <string>

namespace brindelor::test {

inline bool sameBits(Extended a, Extended b) noexcept
{
    return a.sign() == b.sign() && a.biasedExponent() == b.biasedExponent() && a.significand() == b.significand();
}

// Sign, biased exponent and significand: "-0x3FFF:8000000000000000" is -1.
inline std::string hex(Extended x)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%c0x%04X:%016" PRIX64, x.sign() ? '-' : '+',
                  static_cast<unsigned>(x.biasedExponent()), x.significand());
    return buf;
}

} // namespace brindelor::test
