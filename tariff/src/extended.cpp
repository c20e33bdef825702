// The extended arithmetic, in integers. Every operation unpacks, handles its
// zeros, computes the exact result (or enough of it plus a sticky bit) and
// hands it to roundPack, the only place that rounds.

#include "brindelor/tariff/extended.h"

#include "brindelor/tariff/errors.h"
#include "extended_internal.h"

#include <bit>
#include <cassert>
#include <cstdint>
#include <utility>

namespace brindelor {

using detail::kTopBit;
using detail::Unpacked;

Extended detail::roundPack(bool sign, std::int32_t exp, std::uint64_t sig, std::uint64_t extra)
{
    if (exp <= 0) {
        // Gradual underflow: denormalise, then round once. A round-up can
        // carry into the integer bit, which is then the smallest normal.
        shiftRightJam64Extra(sig, extra, static_cast<std::uint64_t>(1 - static_cast<std::int64_t>(exp)));
        if (roundsUp(sig, extra))
            ++sig;
        const Extended z = Extended::fromParts(sign, static_cast<std::uint16_t>((sig & kTopBit) != 0 ? 1 : 0), sig);
        assert(z.isCanonical());
        return z;
    }
    assert((sig & kTopBit) != 0);
    if (roundsUp(sig, extra)) {
        ++sig;
        if (sig == 0) {
            sig = kTopBit;
            ++exp;
        }
    }
    if (exp > Extended::kMaxBiasedExp)
        throw FloatOverflowError();
    const Extended z = Extended::fromParts(sign, static_cast<std::uint16_t>(exp), sig);
    assert(z.isCanonical());
    return z;
}

namespace {

Extended zero(bool sign) noexcept
{
    return Extended::fromParts(sign, 0, 0);
}

// |a| + |b|, both nonzero.
Extended addMags(bool signZ, Unpacked a, Unpacked b)
{
    if (a.exp < b.exp)
        std::swap(a, b);
    std::uint64_t sigB = b.sig;
    std::uint64_t extra = 0;
    detail::shiftRightJam64Extra(sigB, extra, static_cast<std::uint64_t>(a.exp - b.exp));
    std::uint64_t sigZ = a.sig + sigB;
    std::int32_t expZ = a.exp;
    if (sigZ < a.sig) { // carry out of the top: one more bit to the right
        extra = (sigZ << 63) | (extra >> 1) | (extra & 1u);
        sigZ = (sigZ >> 1) | kTopBit;
        ++expZ;
    }
    return detail::roundPack(signZ, expZ, sigZ, extra);
}

// |a| - |b| with a's sign, both nonzero.
Extended subMags(bool signZ, Unpacked a, Unpacked b)
{
    if (a.exp < b.exp || (a.exp == b.exp && a.sig < b.sig)) {
        std::swap(a, b);
        signZ = !signZ;
    }
    if (a.exp == b.exp && a.sig == b.sig)
        return zero(false); // x + (-x) is +0 when rounding to nearest
    std::uint64_t sigB = b.sig;
    std::uint64_t extraB = 0;
    detail::shiftRightJam64Extra(sigB, extraB, static_cast<std::uint64_t>(a.exp - b.exp));
    // (a.sig:0) - (sigB:extraB), 128 bits
    std::uint64_t extraZ = 0 - extraB;
    std::uint64_t sigZ = a.sig - sigB - (extraB != 0 ? 1u : 0u);
    std::int32_t expZ = a.exp;
    if (sigZ == 0) {
        sigZ = extraZ;
        extraZ = 0;
        expZ -= 64;
    }
    const int shift = std::countl_zero(sigZ);
    if (shift != 0) {
        sigZ = (sigZ << shift) | (extraZ >> (64 - shift));
        extraZ <<= shift;
        expZ -= shift;
    }
    return detail::roundPack(signZ, expZ, sigZ, extraZ);
}

Extended add(Extended a, Extended b, bool negateB)
{
    Unpacked ua = detail::unpack(a);
    Unpacked ub = detail::unpack(b);
    ub.sign = ub.sign != negateB;
    if (ua.sig == 0 || ub.sig == 0) {
        if (ua.sig == 0 && ub.sig == 0)
            return zero(ua.sign && ub.sign); // -0 only for (-0) + (-0)
        if (ua.sig == 0)
            return negateB ? -b : b;
        return a;
    }
    if (ua.sign == ub.sign)
        return addMags(ua.sign, ua, ub);
    return subMags(ua.sign, ua, ub);
}

} // namespace

Extended Extended::fromInt64(std::int64_t v) noexcept
{
    const bool sign = v < 0;
    return detail::packInteger(sign, sign ? 0u - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v));
}

Extended Extended::fromFloat(float v)
{
    const auto bits = std::bit_cast<std::uint32_t>(v);
    const bool sign = (bits >> 31) != 0;
    const std::uint32_t expF = (bits >> 23) & 0xFFu;
    const std::uint64_t frac = bits & 0x7FFFFFu;
    if (expF == 0xFFu)
        throw FloatInvalidError();
    if (expF == 0) // zero or subnormal: frac * 2^-149
        return detail::packInteger(sign, frac, -149);
    return detail::packInteger(sign, frac | 0x800000u, static_cast<int>(expF) - 150);
}

float Extended::toFloat() const
{
    const Unpacked a = detail::unpack(*this);
    const std::uint32_t signBit = a.sign ? 0x80000000u : 0u;
    if (a.sig == 0)
        return std::bit_cast<float>(signBit);
    std::int32_t e = a.exp - kBias; // value = sig * 2^(e - 63)
    // Keep 24 bits, fewer below the float normal range.
    std::uint64_t m = a.sig;
    std::uint64_t extra = 0;
    const std::int32_t denorm = e < -126 ? -126 - e : 0;
    detail::shiftRightJam64Extra(m, extra, static_cast<std::uint64_t>(40 + denorm));
    if (detail::roundsUp(m, extra))
        ++m;
    if (denorm != 0) // m <= 2^23; 2^23 reads back as the smallest normal
        return std::bit_cast<float>(signBit | static_cast<std::uint32_t>(m));
    if (m == 0x1000000u) {
        m = 0x800000u;
        ++e;
    }
    if (e > 127)
        throw FloatOverflowError();
    return std::bit_cast<float>(signBit | (static_cast<std::uint32_t>(e + 127) << 23)
                                | (static_cast<std::uint32_t>(m) & 0x7FFFFFu));
}

std::int64_t Extended::roundToInt64() const
{
    const Unpacked a = detail::unpack(*this);
    if (a.sig != 0 && a.exp - kBias > 63)
        throw FloatInvalidError(); // at least 2^64
    const std::uint64_t n = detail::nearestInteger(a);
    if (n > static_cast<std::uint64_t>(INT64_MAX)) { // of 2^63 and up, only -2^63 fits
        if (a.sign && n == kTopBit)
            return INT64_MIN;
        throw FloatInvalidError();
    }
    const auto v = static_cast<std::int64_t>(n);
    return a.sign ? -v : v;
}

Extended Extended::roundToIntegral() const noexcept
{
    const Unpacked a = detail::unpack(*this);
    if (a.sig == 0 || a.exp - kBias >= 63)
        return *this; // already integral
    return detail::packInteger(a.sign, detail::nearestInteger(a));
}

Extended operator+(Extended a, Extended b)
{
    return add(a, b, false);
}

Extended operator-(Extended a, Extended b)
{
    return add(a, b, true);
}

Extended operator*(Extended a, Extended b)
{
    const Unpacked ua = detail::unpack(a);
    const Unpacked ub = detail::unpack(b);
    const bool signZ = ua.sign != ub.sign;
    if (ua.sig == 0 || ub.sig == 0)
        return zero(signZ);
    std::int32_t expZ = ua.exp + ub.exp - Extended::kBias + 1;
    detail::U128 p = detail::mul64To128(ua.sig, ub.sig);
    if ((p.hi & kTopBit) == 0) { // product below 2^127
        p.hi = (p.hi << 1) | (p.lo >> 63);
        p.lo <<= 1;
        --expZ;
    }
    return detail::roundPack(signZ, expZ, p.hi, p.lo);
}

Extended operator/(Extended a, Extended b)
{
    const Unpacked ua = detail::unpack(a);
    const Unpacked ub = detail::unpack(b);
    const bool signZ = ua.sign != ub.sign;
    if (ub.sig == 0) {
        if (ua.sig == 0)
            throw FloatInvalidError();
        throw FloatZeroDivideError();
    }
    if (ua.sig == 0)
        return zero(signZ);
    // 64 quotient bits with the top one set; the remainder then tells below,
    // at or above half, which is all roundPack needs (even when denormalising).
    std::int32_t expZ = ua.exp - ub.exp + Extended::kBias;
    std::uint64_t rem = 0;
    std::uint64_t q = 0;
    if (ua.sig < ub.sig) {
        q = detail::div128By64(ua.sig, 0, ub.sig, rem);
        --expZ;
    } else {
        q = detail::div128By64(ua.sig >> 1, ua.sig << 63, ub.sig, rem);
    }
    std::uint64_t extra = 0;
    if (rem != 0) {
        const std::uint64_t rest = ub.sig - rem;
        extra = rem > rest ? 0xC000000000000000u : rem == rest ? kTopBit : 0x4000000000000000u;
    }
    return detail::roundPack(signZ, expZ, q, extra);
}

std::weak_ordering operator<=>(Extended a, Extended b) noexcept
{
    const Unpacked ua = detail::unpack(a);
    const Unpacked ub = detail::unpack(b);
    if (ua.sig == 0 && ub.sig == 0)
        return std::weak_ordering::equivalent;
    if (ua.sig == 0)
        return ub.sign ? std::weak_ordering::greater : std::weak_ordering::less;
    if (ub.sig == 0 || ua.sign != ub.sign)
        return ua.sign ? std::weak_ordering::less : std::weak_ordering::greater;
    std::weak_ordering mag = ua.exp != ub.exp ? ua.exp <=> ub.exp : ua.sig <=> ub.sig;
    return ua.sign ? 0 <=> mag : mag;
}

bool operator==(Extended a, Extended b) noexcept
{
    return (a <=> b) == 0;
}

} // namespace brindelor
