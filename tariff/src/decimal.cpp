// Decimal <-> extended: correctly rounded reading of any digit string, the
// powers of ten, and the 18-digit decimal the display is built from.

#include "brindelor/tariff/extended.h"

#include "brindelor/tariff/errors.h"
#include "extended_internal.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace brindelor {

namespace {

constexpr std::int32_t kMaxDecimalMagnitude = 4933;  // 10^4933 > largest finite
constexpr std::int32_t kZeroDecimalMagnitude = -4951; // 10^-4951 < half the smallest subnormal
constexpr std::int32_t kLowestMidpointExp = -16446;   // half the smallest subnormal is 2^-16446
constexpr int kExactPowers = 27;                      // 5^27 < 2^64
constexpr int kMaxPower = 4932;                       // 10^4933 overflows
constexpr std::int64_t kProbeDigits = 40;             // long texts: try this many digits first

constexpr std::uint32_t kFivePow13 = 1220703125u; // largest power of 5 in a limb

constexpr std::uint64_t fivePow(int k) noexcept
{
    std::uint64_t v = 1;
    for (int i = 0; i < k; ++i)
        v *= 5;
    return v;
}

// 10^k = 5^k * 2^k, exactly, for k <= 27.
constexpr Extended exactPowerOfTen(int k) noexcept
{
    return detail::packInteger(false, fivePow(k), k);
}

constexpr auto kExactTable = [] {
    std::array<Extended, kExactPowers + 1> t{};
    for (int k = 0; k <= kExactPowers; ++k)
        t[static_cast<std::size_t>(k)] = exactPowerOfTen(k);
    return t;
}();

// A nonnegative integer of any size: 32-bit limbs, least significant first,
// no zero limb on top (zero has none).
class BigNat {
public:
    bool isZero() const noexcept { return limbs_.empty(); }

    void reserve(std::size_t n) { limbs_.reserve(n); }

    // *this = *this * m + add
    void mulAdd(std::uint32_t m, std::uint32_t add)
    {
        std::uint64_t carry = add;
        for (std::uint32_t& x : limbs_) {
            const std::uint64_t t = static_cast<std::uint64_t>(x) * m + carry;
            x = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        if (carry != 0)
            limbs_.push_back(static_cast<std::uint32_t>(carry));
    }

    // Floor division by a one-limb divisor; returns the remainder.
    std::uint32_t div(std::uint32_t d) noexcept
    {
        std::uint64_t rem = 0;
        for (std::size_t i = limbs_.size(); i-- > 0;) {
            const std::uint64_t cur = (rem << 32) | limbs_[i];
            const std::uint64_t q = cur / d;
            rem = cur - q * d;
            limbs_[i] = static_cast<std::uint32_t>(q);
        }
        trim();
        return static_cast<std::uint32_t>(rem);
    }

    void shiftLeft(std::uint64_t bits)
    {
        if (isZero() || bits == 0)
            return;
        const std::size_t limbShift = static_cast<std::size_t>(bits / 32);
        const auto bitShift = static_cast<int>(bits % 32);
        if (bitShift != 0) {
            std::uint32_t carry = 0;
            for (std::uint32_t& x : limbs_) {
                const std::uint32_t next = x >> (32 - bitShift);
                x = (x << bitShift) | carry;
                carry = next;
            }
            if (carry != 0)
                limbs_.push_back(carry);
        }
        limbs_.insert(limbs_.begin(), limbShift, 0u);
    }

    std::int64_t bitLength() const noexcept
    {
        if (isZero())
            return 0;
        return static_cast<std::int64_t>(limbs_.size()) * 32 - std::countl_zero(limbs_.back());
    }

    // The 64 bits starting at bit pos (bits below 0 read as zero).
    std::uint64_t bitsAt(std::int64_t pos) const noexcept
    {
        std::uint64_t r = 0;
        for (int i = 0; i < 64; i += 32) {
            r |= static_cast<std::uint64_t>(limb32At(pos + i)) << i;
        }
        return r;
    }

    // Is any bit below pos set?
    bool anyBelow(std::int64_t pos) const noexcept
    {
        if (pos <= 0)
            return false;
        const auto full = static_cast<std::size_t>(pos / 32);
        for (std::size_t i = 0; i < full && i < limbs_.size(); ++i) {
            if (limbs_[i] != 0)
                return true;
        }
        const auto part = static_cast<int>(pos % 32);
        return part != 0 && full < limbs_.size() && (limbs_[full] & ((1u << part) - 1u)) != 0;
    }

    // a * b, schoolbook: the operands here are a few hundred limbs at most.
    static BigNat mul(const BigNat& a, const BigNat& b)
    {
        BigNat r;
        if (a.isZero() || b.isZero())
            return r;
        r.limbs_.assign(a.limbs_.size() + b.limbs_.size(), 0u);
        for (std::size_t i = 0; i < a.limbs_.size(); ++i) {
            std::uint64_t carry = 0;
            const std::uint64_t ai = a.limbs_[i];
            for (std::size_t j = 0; j < b.limbs_.size(); ++j) {
                const std::uint64_t t = ai * b.limbs_[j] + r.limbs_[i + j] + carry;
                r.limbs_[i + j] = static_cast<std::uint32_t>(t);
                carry = t >> 32;
            }
            r.limbs_[i + b.limbs_.size()] = static_cast<std::uint32_t>(carry);
        }
        r.trim();
        return r;
    }

    // *this = floor(*this / d); returns whether the remainder is nonzero.
    // Knuth's algorithm D (base 2^32); cheap here because the quotients we
    // ask for are short even when the divisor is long.
    bool divBy(const BigNat& d)
    {
        if (d.limbs_.size() == 1)
            return div(d.limbs_[0]) != 0;
        const std::size_t n = d.limbs_.size();
        if (limbs_.size() < n) {
            const bool rest = !isZero();
            limbs_.clear();
            return rest;
        }
        const std::size_t m = limbs_.size() - n;
        const int s = std::countl_zero(d.limbs_.back());
        std::vector<std::uint32_t> vn(n);
        std::vector<std::uint32_t> un(limbs_.size() + 1);
        for (std::size_t i = n; i-- > 0;) {
            const std::uint32_t lower = (i > 0 && s != 0) ? d.limbs_[i - 1] >> (32 - s) : 0u;
            vn[i] = (d.limbs_[i] << s) | lower;
        }
        un[limbs_.size()] = s != 0 ? limbs_.back() >> (32 - s) : 0u;
        for (std::size_t i = limbs_.size(); i-- > 0;) {
            const std::uint32_t lower = (i > 0 && s != 0) ? limbs_[i - 1] >> (32 - s) : 0u;
            un[i] = (limbs_[i] << s) | lower;
        }
        constexpr std::uint64_t b = 0x100000000u;
        std::vector<std::uint32_t> q(m + 1);
        for (std::size_t j = m + 1; j-- > 0;) {
            const std::uint64_t num = (static_cast<std::uint64_t>(un[j + n]) << 32) | un[j + n - 1];
            std::uint64_t qhat = num / vn[n - 1];
            std::uint64_t rhat = num - qhat * vn[n - 1];
            while (qhat >= b || qhat * vn[n - 2] > ((rhat << 32) | un[j + n - 2])) {
                --qhat;
                rhat += vn[n - 1];
                if (rhat >= b)
                    break;
            }
            // un[j..j+n] -= qhat * vn
            std::uint64_t mulCarry = 0;
            std::uint64_t borrow = 0;
            for (std::size_t i = 0; i < n; ++i) {
                const std::uint64_t p = qhat * vn[i] + mulCarry;
                mulCarry = p >> 32;
                const std::uint64_t sub = (p & 0xFFFFFFFFu) + borrow;
                borrow = un[i + j] < sub ? 1u : 0u;
                un[i + j] = static_cast<std::uint32_t>(un[i + j] - sub);
            }
            const std::uint64_t sub = mulCarry + borrow;
            const bool negative = un[j + n] < sub;
            un[j + n] = static_cast<std::uint32_t>(un[j + n] - sub);
            if (negative) { // qhat was one too big: add vn back
                --qhat;
                std::uint64_t carry = 0;
                for (std::size_t i = 0; i < n; ++i) {
                    const std::uint64_t t = static_cast<std::uint64_t>(un[i + j]) + vn[i] + carry;
                    un[i + j] = static_cast<std::uint32_t>(t);
                    carry = t >> 32;
                }
                un[j + n] = static_cast<std::uint32_t>(un[j + n] + carry);
            }
            q[j] = static_cast<std::uint32_t>(qhat);
        }
        bool rest = false;
        for (std::size_t i = 0; i < n && !rest; ++i)
            rest = un[i] != 0;
        limbs_ = std::move(q);
        trim();
        return rest;
    }

private:
    std::uint32_t limbAt(std::int64_t i) const noexcept
    {
        return i >= 0 && i < static_cast<std::int64_t>(limbs_.size()) ? limbs_[static_cast<std::size_t>(i)] : 0u;
    }

    // 32 bits starting at bit pos.
    std::uint32_t limb32At(std::int64_t pos) const noexcept
    {
        const std::int64_t i = pos >= 0 ? pos / 32 : -((-pos + 31) / 32);
        const auto off = static_cast<int>(pos - i * 32);
        if (off == 0)
            return limbAt(i);
        return (limbAt(i) >> off) | (limbAt(i + 1) << (32 - off));
    }

    void trim() noexcept
    {
        while (!limbs_.empty() && limbs_.back() == 0)
            limbs_.pop_back();
    }

    std::vector<std::uint32_t> limbs_;
};

// v * 2^binExp rounded once; sticky says the true value is a bit above v.
Extended roundBig(bool negative, const BigNat& v, std::int64_t binExp, bool sticky)
{
    const std::int64_t len = v.bitLength();
    const std::uint64_t sig = v.bitsAt(len - 64);
    std::uint64_t extra = v.bitsAt(len - 128);
    if (sticky || v.anyBelow(len - 128))
        extra |= 1u;
    // sig * 2^(len - 64 + binExp) = sig * 2^(exp - kBias - 63)
    std::int64_t exp = len + binExp + Extended::kBias - 1;
    // Far outside the range either way: clamping keeps the outcome.
    exp = std::clamp<std::int64_t>(exp, -100000, 100000);
    return detail::roundPack(negative, static_cast<std::int32_t>(exp), sig, extra);
}

BigNat parseDigits(std::string_view digits)
{
    BigNat v;
    v.reserve(digits.size() / 9 + 2);
    std::size_t i = 0;
    std::size_t chunk = digits.size() % 9;
    if (chunk == 0)
        chunk = 9;
    while (i < digits.size()) {
        std::uint32_t value = 0;
        std::uint32_t scale = 1;
        for (std::size_t j = 0; j < chunk; ++j) {
            value = value * 10 + static_cast<std::uint32_t>(digits[i + j] - '0');
            scale *= 10;
        }
        v.mulAdd(scale, value);
        i += chunk;
        chunk = 9;
    }
    return v;
}

// 5^q exactly, from a table of 5^(512 j) times a short factor.
BigNat fivePower(std::int64_t q)
{
    constexpr std::int64_t kStep = 512;
    static std::mutex mutex;
    static std::deque<BigNat> table; // deque: growing keeps references valid
    const auto j = static_cast<std::size_t>(q / kStep);
    std::int64_t r = q % kStep;
    BigNat small;
    small.mulAdd(1, 1);
    for (; r >= 13; r -= 13)
        small.mulAdd(kFivePow13, 0);
    small.mulAdd(static_cast<std::uint32_t>(fivePow(static_cast<int>(r))), 0);
    if (j == 0)
        return small; // no table needed, nor its lock
    const BigNat* big = nullptr;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (table.empty()) {
            BigNat one;
            one.mulAdd(1, 1);
            table.push_back(std::move(one));
        }
        if (table.size() <= j) {
            BigNat step;
            step.mulAdd(1, 1);
            for (std::int64_t e = kStep; e > 0; e -= 13)
                step.mulAdd(static_cast<std::uint32_t>(fivePow(static_cast<int>(std::min<std::int64_t>(e, 13)))), 0);
            while (table.size() <= j)
                table.push_back(BigNat::mul(table.back(), step));
        }
        big = &table[j];
    }
    return q % kStep == 0 ? *big : BigNat::mul(*big, small);
}

// digits (no leading zero, at least one digit) * 10^exp10, exactly rounded;
// sticky: the true value is a little above that.
Extended fromDecimalBig(bool negative, std::string_view digits, std::int64_t exp10, bool sticky)
{
    BigNat v = parseDigits(digits);
    if (exp10 >= 0) // d * 10^e = d * 5^e * 2^e: the 2^e only moves the exponent
        return roundBig(negative, BigNat::mul(v, fivePower(exp10)), exp10, sticky);
    // d / 10^q = (d * 2^s / 5^q) * 2^(-s-q). s makes the quotient at least
    // 2^129, so its top 128 bits are all quotient; the remainder is sticky.
    const std::int64_t q = -exp10;
    const BigNat five = fivePower(q);
    const std::int64_t shift = std::max<std::int64_t>(0, 130 + five.bitLength() - v.bitLength());
    v.shiftLeft(static_cast<std::uint64_t>(shift));
    const bool rest = v.divBy(five);
    return roundBig(negative, v, -shift - q, sticky || rest);
}

bool sameBits(Extended a, Extended b) noexcept
{
    return a.sign() == b.sign() && a.biasedExponent() == b.biasedExponent() && a.significand() == b.significand();
}

// Lower bound of log2(x) for x >= 10^t.
std::int64_t log2LowerBound(std::int64_t t) noexcept
{
    const std::int64_t num = t * (t >= 0 ? 33219 : 33220); // 3.3219 < log2(10) < 3.3220
    const std::int64_t floorDiv = num >= 0 ? num / 10000 : -((-num + 9999) / 10000);
    return floorDiv - 1;
}

struct PowerCache {
    std::vector<Extended> values;

    PowerCache() : values(static_cast<std::size_t>(kMaxPower) + 1)
    {
        // 10^k = 5^k * 2^k, one exact 5^k grown step by step.
        BigNat five;
        five.mulAdd(1, 1);
        for (int k = 0; k <= kMaxPower; ++k) {
            if (k > 0)
                five.mulAdd(5, 0);
            values[static_cast<std::size_t>(k)] = roundBig(false, five, k, false);
        }
    }
};

const PowerCache& powerCache()
{
    static const PowerCache cache;
    return cache;
}

} // namespace

Extended Extended::fromDecimal(bool negative, std::string_view digits, std::int64_t exp10)
{
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string_view::npos)
        return fromParts(negative, 0, 0);
    const std::size_t last = digits.find_last_not_of('0');
    // Trailing zeros only move the exponent. Keep exp10 far from the int64
    // edges: beyond +-2^61 the outcome is decided by the magnitude alone.
    const std::int64_t kFar = std::int64_t{1} << 61;
    exp10 = std::clamp(exp10, -kFar, kFar) + static_cast<std::int64_t>(digits.size() - 1 - last);
    digits = digits.substr(first, last - first + 1);

    const auto n = static_cast<std::int64_t>(digits.size());
    if (n <= 19 && exp10 >= -kExactPowers && exp10 <= kExactPowers) {
        // Both operands exact, so the one operation rounds correctly.
        std::uint64_t d = 0;
        for (char c : digits)
            d = d * 10 + static_cast<std::uint64_t>(c - '0');
        const Extended a = detail::packInteger(false, d);
        const Extended z = exp10 >= 0 ? a * kExactTable[static_cast<std::size_t>(exp10)]
                                      : a / kExactTable[static_cast<std::size_t>(-exp10)];
        return negative ? -z : z;
    }

    // value in [10^(mag-1), 10^mag)
    const std::int64_t mag = n + exp10;
    if (mag > kMaxDecimalMagnitude)
        throw FloatOverflowError();
    if (mag <= kZeroDecimalMagnitude)
        return fromParts(negative, 0, 0);

    if (n > kProbeDigits) {
        // The value lies strictly between the first digits P and P + one unit
        // in their last place (what follows is nonzero: no trailing zeros).
        // Rounding is monotone, so when both ends round alike that is the
        // answer; only texts right at a rounding boundary go further.
        const std::string_view head = digits.substr(0, kProbeDigits);
        const std::int64_t headExp = exp10 + n - kProbeDigits;
        const Extended low = fromDecimalBig(negative, head, headExp, true);
        std::string up(head);
        std::size_t i = up.size();
        while (i > 0 && up[i - 1] == '9')
            up[--i] = '0';
        if (i == 0)
            up.insert(up.begin(), '1');
        else
            ++up[i - 1];
        try {
            if (sameBits(low, fromDecimalBig(negative, up, headExp, false)))
                return low;
        } catch (const FloatOverflowError&) {
            // the upper end overflows and the lower does not: decide exactly
        }
    }

    // Every rounding boundary (a midpoint k * 2^e, k odd) near the value has
    // e >= eMid, so all its decimal digits sit at or above 10^(mag - keep):
    // digits below that can only matter as "something nonzero follows".
    const std::int64_t eMid = std::max<std::int64_t>(log2LowerBound(mag - 1) - 65, kLowestMidpointExp);
    const std::int64_t keep = (eMid >= 0 ? mag : mag - eMid) + 3;
    bool sticky = false;
    if (n > keep) {
        digits = digits.substr(0, static_cast<std::size_t>(keep));
        exp10 += n - keep;
        sticky = true; // the dropped part ends in a nonzero digit
    }
    return fromDecimalBig(negative, digits, exp10, sticky);
}

Extended Extended::powerOfTen(int k)
{
    if (k >= 0 && k <= kExactPowers)
        return kExactTable[static_cast<std::size_t>(k)];
    if (k > kMaxPower)
        throw FloatOverflowError();
    if (k < 0)
        return fromDecimal(false, "1", k);
    return powerCache().values[static_cast<std::size_t>(k)];
}

Extended::Decimal18 Extended::toDecimal18() const
{
    Decimal18 r;
    r.negative = sign_;
    if (isZero())
        return r;
    constexpr std::uint64_t kLow = 100000000000000000u; // 10^17
    constexpr std::uint64_t kHigh = 10 * kLow;
    constexpr int kSplit = 4900; // 10^k beyond this, scale in two steps

    const Extended x = abs();
    // floor(log10|x|) within one: binary exponent times log10(2) (78913 / 2^18).
    const std::int32_t e2 = detail::unpack(x).exp - kBias;
    int k = 17 - static_cast<int>((e2 * 78913) >> 18);
    for (;;) {
        Extended y;
        if (k < 0)
            y = x / powerOfTen(-k);
        else if (k > kSplit)
            y = (x * powerOfTen(kSplit)) * powerOfTen(k - kSplit);
        else
            y = x * powerOfTen(k);
        const std::uint64_t d = detail::nearestInteger(detail::unpack(y));
        if (d == kHigh) {
            r.digits = kLow;
            r.exp10 = -k + 1;
            return r;
        }
        if (d > kHigh)
            --k;
        else if (d < kLow)
            ++k;
        else {
            r.digits = d;
            r.exp10 = -k;
            return r;
        }
    }
}

} // namespace brindelor
