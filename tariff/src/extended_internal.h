#pragma once
// Integer helpers shared by the extended arithmetic and its decimal
// conversions. Private to brindelor_extended.

#include "brindelor/tariff/extended.h"

#include <bit>
#include <cassert>
#include <cstdint>

// BRINDELOR_NO_INT128 forces the portable paths (how MSVC builds), so they
// can be run through the same tests on gcc.
#if defined(__SIZEOF_INT128__) && !defined(BRINDELOR_NO_INT128)
#define BRINDELOR_HAVE_INT128 1
#else
#define BRINDELOR_HAVE_INT128 0
#endif

namespace brindelor::detail {

inline constexpr std::uint64_t kTopBit = 0x8000000000000000u;

#if BRINDELOR_HAVE_INT128
__extension__ typedef unsigned __int128 UInt128; // __extension__: no -Wpedantic noise
#endif

// A finite value as sign, exponent and significand with the integer bit at
// the top (sig == 0 for zero); value = sig * 2^(exp - kBias - 63). exp can
// drop to 0 or below for subnormals, which are normalised here like the rest.
struct Unpacked {
    bool sign;
    std::int32_t exp;
    std::uint64_t sig;
};

// sign * m * 2^exp2, exactly: m shifted so that its top bit is set (a zero
// for m == 0, keeping the sign). The caller keeps the result in the normal
// range, so it is canonical.
constexpr Extended packInteger(bool sign, std::uint64_t m, int exp2 = 0) noexcept
{
    if (m == 0)
        return Extended::fromParts(sign, 0, 0);
    const int shift = std::countl_zero(m);
    const int exp = Extended::kBias + 63 - shift + exp2;
    assert(exp >= 1 && exp <= Extended::kMaxBiasedExp);
    return Extended::fromParts(sign, static_cast<std::uint16_t>(exp), m << shift);
}

inline Unpacked unpack(Extended a) noexcept
{
    std::int32_t exp = a.biasedExponent();
    std::uint64_t sig = a.significand();
    if (exp == 0)
        exp = 1; // subnormals share the smallest normal's scale
    if (sig != 0 && (sig & kTopBit) == 0) {
        const int shift = std::countl_zero(sig);
        sig <<= shift;
        exp -= shift;
    }
    return {a.sign(), exp, sig};
}

struct U128 {
    std::uint64_t hi;
    std::uint64_t lo;
};

inline U128 mul64To128(std::uint64_t a, std::uint64_t b) noexcept
{
#if BRINDELOR_HAVE_INT128
    const UInt128 p = static_cast<UInt128>(a) * b;
    return {static_cast<std::uint64_t>(p >> 64), static_cast<std::uint64_t>(p)};
#else
    const std::uint64_t aLo = a & 0xFFFFFFFFu, aHi = a >> 32;
    const std::uint64_t bLo = b & 0xFFFFFFFFu, bHi = b >> 32;
    const std::uint64_t ll = aLo * bLo, lh = aLo * bHi, hl = aHi * bLo, hh = aHi * bHi;
    const std::uint64_t mid = (ll >> 32) + (lh & 0xFFFFFFFFu) + (hl & 0xFFFFFFFFu);
    return {hh + (lh >> 32) + (hl >> 32) + (mid >> 32), (mid << 32) | (ll & 0xFFFFFFFFu)};
#endif
}

// (hi:lo) / d with hi < d, so the quotient fits 64 bits.
inline std::uint64_t div128By64(std::uint64_t hi, std::uint64_t lo, std::uint64_t d,
                                std::uint64_t& rem) noexcept
{
#if BRINDELOR_HAVE_INT128
    const UInt128 n = (static_cast<UInt128>(hi) << 64) | lo;
    const auto q = static_cast<std::uint64_t>(n / d);
    rem = lo - q * d; // the true remainder is below d, so mod 2^64 is enough
    return q;
#else
    // Two 64/32 steps on a normalised divisor (Knuth's algorithm D, base 2^32).
    constexpr std::uint64_t b = 0x100000000u;
    const int s = std::countl_zero(d);
    d <<= s;
    const std::uint64_t dHi = d >> 32, dLo = d & 0xFFFFFFFFu;
    const std::uint64_t n32 = s == 0 ? hi : (hi << s) | (lo >> (64 - s));
    const std::uint64_t n10 = lo << s;
    const std::uint64_t n1 = n10 >> 32, n0 = n10 & 0xFFFFFFFFu;

    std::uint64_t q1 = n32 / dHi;
    std::uint64_t rhat = n32 - q1 * dHi;
    while (q1 >= b || q1 * dLo > b * rhat + n1) {
        --q1;
        rhat += dHi;
        if (rhat >= b)
            break;
    }
    const std::uint64_t n21 = n32 * b + n1 - q1 * d; // wraps to the exact value
    std::uint64_t q0 = n21 / dHi;
    rhat = n21 - q0 * dHi;
    while (q0 >= b || q0 * dLo > b * rhat + n0) {
        --q0;
        rhat += dHi;
        if (rhat >= b)
            break;
    }
    rem = (n21 * b + n0 - q0 * d) >> s;
    return q1 * b + q0;
#endif
}

// Shifts the 128 bits sig:extra right by dist, or-ing whatever falls off the
// bottom into the lowest bit, so that "exactly half" and "zero" stay told
// apart. All 128 bits are kept (not just a sticky) because a subtraction may
// then renormalise one bit to the left.
inline void shiftRightJam64Extra(std::uint64_t& sig, std::uint64_t& extra, std::uint64_t dist) noexcept
{
    const auto jam = [](std::uint64_t lost) -> std::uint64_t { return lost != 0 ? 1u : 0u; };
    if (dist == 0)
        return;
    if (dist < 64) {
        const auto d = static_cast<int>(dist);
        extra = (sig << (64 - d)) | (extra >> d) | jam(extra << (64 - d));
        sig >>= d;
    } else if (dist == 64) {
        extra = sig | jam(extra);
        sig = 0;
    } else if (dist < 128) {
        const auto d = static_cast<int>(dist - 64);
        extra = (sig >> d) | jam((sig << (64 - d)) | extra);
        sig = 0;
    } else {
        extra = jam(sig | extra);
        sig = 0;
    }
}

// Round to nearest, ties to even, on the bits below the significand.
inline bool roundsUp(std::uint64_t sig, std::uint64_t extra) noexcept
{
    return extra > kTopBit || (extra == kTopBit && (sig & 1u) != 0);
}

// |a| rounded to the nearest integer, ties to even, for |a| < 2^64.
inline std::uint64_t nearestInteger(const Unpacked& a) noexcept
{
    const std::int32_t e = a.exp - Extended::kBias; // |a| = sig * 2^(e - 63)
    assert(a.sig == 0 || e <= 63);
    if (a.sig == 0 || e < -1)
        return 0; // below one half
    std::uint64_t n = a.sig;
    std::uint64_t extra = 0;
    shiftRightJam64Extra(n, extra, static_cast<std::uint64_t>(63 - e));
    if (roundsUp(n, extra))
        ++n; // no wrap: a round-up only happens below 2^63
    return n;
}

// The one rounding every operation ends with. value = (sig + extra / 2^64) *
// 2^(exp - kBias - 63), sig with its top bit set. exp <= 0 denormalises first.
// Throws FloatOverflowError when the rounded value is beyond the largest finite.
Extended roundPack(bool sign, std::int32_t exp, std::uint64_t sig, std::uint64_t extra);

} // namespace brindelor::detail
