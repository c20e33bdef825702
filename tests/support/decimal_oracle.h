#pragma once
// Decimal text to the x87 80-bit format, correctly rounded (to nearest, ties
// to even, subnormals included), in exact integer arithmetic: an oracle for
// Extended::fromDecimal where the C library's strtold cannot be trusted.
// Written for plainness, not speed; it shares nothing with the core.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brindelor::test {

// A nonnegative integer, 32 bits a limb, least significant first, no
// leading zero limbs.
class Natural {
public:
    Natural() = default;
    explicit Natural(std::uint32_t v)
    {
        if (v != 0)
            limbs_.push_back(v);
    }

    bool isZero() const { return limbs_.empty(); }

    std::size_t bitLength() const
    {
        if (limbs_.empty())
            return 0;
        std::size_t n = 32 * (limbs_.size() - 1);
        for (std::uint32_t top = limbs_.back(); top != 0; top >>= 1)
            ++n;
        return n;
    }

    bool bit(std::size_t i) const
    {
        return i / 32 < limbs_.size() && ((limbs_[i / 32] >> (i % 32)) & 1u) != 0;
    }

    // this = this * m + add
    void mulAdd(std::uint32_t m, std::uint32_t add)
    {
        std::uint64_t carry = add;
        for (std::uint32_t& l : limbs_) {
            const std::uint64_t t = std::uint64_t{l} * m + carry;
            l = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        if (carry != 0)
            limbs_.push_back(static_cast<std::uint32_t>(carry));
        trim();
    }

    // Schoolbook.
    Natural times(const Natural& b) const
    {
        Natural r;
        if (isZero() || b.isZero())
            return r;
        r.limbs_.assign(limbs_.size() + b.limbs_.size(), 0);
        for (std::size_t i = 0; i < limbs_.size(); ++i) {
            std::uint64_t carry = 0;
            for (std::size_t j = 0; j < b.limbs_.size(); ++j) {
                const std::uint64_t t = std::uint64_t{limbs_[i]} * b.limbs_[j] + r.limbs_[i + j] + carry;
                r.limbs_[i + j] = static_cast<std::uint32_t>(t);
                carry = t >> 32;
            }
            r.limbs_[i + b.limbs_.size()] = static_cast<std::uint32_t>(carry);
        }
        r.trim();
        return r;
    }

    void shiftLeft(std::size_t bits)
    {
        if (isZero())
            return;
        limbs_.insert(limbs_.begin(), bits / 32, 0u);
        const unsigned s = bits % 32;
        if (s == 0)
            return;
        std::uint32_t carry = 0;
        for (std::uint32_t& l : limbs_) {
            const std::uint32_t next = l >> (32 - s);
            l = (l << s) | carry;
            carry = next;
        }
        if (carry != 0)
            limbs_.push_back(carry);
    }

    void shiftRightOne()
    {
        for (std::size_t i = 0; i < limbs_.size(); ++i) {
            const std::uint32_t high = i + 1 < limbs_.size() ? limbs_[i + 1] << 31 : 0u;
            limbs_[i] = (limbs_[i] >> 1) | high;
        }
        trim();
    }

    // this -= b, for b <= this.
    void subtract(const Natural& b)
    {
        std::uint64_t borrow = 0;
        for (std::size_t i = 0; i < limbs_.size(); ++i) {
            const std::uint64_t sub = (i < b.limbs_.size() ? b.limbs_[i] : 0u) + borrow;
            borrow = limbs_[i] < sub ? 1 : 0;
            limbs_[i] = static_cast<std::uint32_t>((std::uint64_t{1} << 32) * borrow + limbs_[i] - sub);
        }
        trim();
    }

    friend int compare(const Natural& a, const Natural& b)
    {
        if (a.limbs_.size() != b.limbs_.size())
            return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
        for (std::size_t i = a.limbs_.size(); i-- > 0;) {
            if (a.limbs_[i] != b.limbs_[i])
                return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
        }
        return 0;
    }

private:
    void trim()
    {
        while (!limbs_.empty() && limbs_.back() == 0)
            limbs_.pop_back();
    }

    std::vector<std::uint32_t> limbs_;
};

// 5^n, from a table of 5^(256 i) grown on demand (one thread only).
inline Natural powerOfFive(std::size_t n)
{
    static std::vector<Natural> table{Natural(1)};
    while (table.size() <= n / 256) {
        Natural next = table.back();
        for (int i = 0; i < 256; i += 8)
            next.mulAdd(390625u, 0); // 5^8
        table.push_back(next);
    }
    Natural r = table[n / 256];
    std::size_t k = n % 256;
    for (; k >= 13; k -= 13)
        r.mulAdd(1220703125u, 0); // 5^13
    for (; k > 0; --k)
        r.mulAdd(5u, 0);
    return r;
}

// An x87 extended value as its fields, or the overflow that rounding to
// nearest turns into infinity.
struct X87Fields {
    bool overflow = false;
    bool negative = false;
    std::uint16_t biasedExponent = 0;
    std::uint64_t significand = 0;
};

// The value of (negative ? -1 : 1) * digits * 10^exp10 rounded to the x87
// format; digits are '0'..'9', any number of them, leading zeros allowed,
// none meaning zero. |exp10| < 2^62.
inline X87Fields decimalToX87(bool negative, std::string_view digits, std::int64_t exp10)
{
    X87Fields r;
    r.negative = negative;
    const std::size_t first = std::min(digits.find_first_not_of('0'), digits.size());
    std::string_view sig = digits.substr(first);
    if (sig.empty())
        return r;
    // The value lies in [10^lead, 10^(lead + 1)).
    const std::int64_t lead = static_cast<std::int64_t>(sig.size()) - 1 + exp10;
    if (lead >= 4933) { // above the largest finite, about 1.19e4932
        r.overflow = true;
        return r;
    }
    if (lead <= -4952) // below half the smallest subnormal, 2^-16446 ~ 1.8e-4951
        return r;

    // Rounding changes only at a midpoint between neighbours, m * 2^j with m
    // odd, m < 2^65, j >= -16446: at most 11,515 significant digits. Digits
    // past kKeep can only tell whether the value sits on the kept prefix or
    // inside the next step above it, where no midpoint lies: one sticky digit
    // says the same.
    constexpr std::size_t kKeep = 11600;
    std::string kept(sig.substr(0, std::min(sig.size(), kKeep)));
    std::int64_t e = exp10 + static_cast<std::int64_t>(sig.size() - kept.size());
    if (sig.find_first_not_of('0', kept.size()) != std::string_view::npos) {
        kept += '1';
        --e;
    }

    Natural a;
    for (std::size_t i = 0; i < kept.size(); i += 9) {
        const std::size_t len = std::min<std::size_t>(9, kept.size() - i);
        std::uint32_t chunk = 0, scale = 1;
        for (std::size_t j = i; j < i + len; ++j) {
            chunk = chunk * 10 + static_cast<std::uint32_t>(kept[j] - '0');
            scale *= 10;
        }
        a.mulAdd(scale, chunk);
    }

    // The value is q * 2^t, plus a nonzero part below 2^t if inexact, with
    // q of 66 bits at least.
    Natural q;
    std::int64_t t = 0;
    bool inexact = false;
    if (e >= 0) {
        // a * 5^e * 2^e, an integer
        q = a.times(powerOfFive(static_cast<std::size_t>(e)));
        t = e;
        if (q.bitLength() < 66) {
            const std::size_t s = 66 - q.bitLength();
            q.shiftLeft(s);
            t -= static_cast<std::int64_t>(s);
        }
    } else {
        // a / 5^-e * 2^e: scale a or b so that a / b lies in (2^65, 2^67),
        // then divide bit by bit.
        Natural b = powerOfFive(static_cast<std::size_t>(-e));
        const std::int64_t s = static_cast<std::int64_t>(b.bitLength()) + 66 - static_cast<std::int64_t>(a.bitLength());
        if (s >= 0)
            a.shiftLeft(static_cast<std::size_t>(s));
        else
            b.shiftLeft(static_cast<std::size_t>(-s));
        t = e - s;
        Natural step = b;
        step.shiftLeft(66);
        for (int j = 66; j >= 0; --j) {
            q.shiftLeft(1);
            if (compare(a, step) >= 0) {
                a.subtract(step);
                q.mulAdd(1, 1);
            }
            step.shiftRightOne();
        }
        inexact = !a.isZero();
    }

    // value in [2^top, 2^(top + 1)); its last place is 2^unit, 64 bits below
    // the top or at the subnormals' fixed scale.
    const std::int64_t top = t + static_cast<std::int64_t>(q.bitLength()) - 1;
    std::int64_t unit = std::max<std::int64_t>(top - 63, -16445);
    const auto drop = static_cast<std::size_t>(unit - t); // >= 2
    std::uint64_t m = 0;
    for (std::size_t i = 0; i < 64; ++i)
        m |= std::uint64_t{q.bit(drop + i)} << i;
    const bool half = q.bit(drop - 1);
    bool rest = inexact;
    for (std::size_t i = 0; i + 1 < drop && !rest; ++i)
        rest = q.bit(i);
    if (half && (rest || (m & 1u) != 0)) {
        if (m == ~std::uint64_t{0}) {
            m = std::uint64_t{1} << 63;
            ++unit;
        } else {
            ++m;
        }
    }

    // Normal: m * 2^unit with the top bit set, biased exponent unit + 16446.
    // Subnormal (and zero): biased exponent 0, unit -16445.
    const std::int64_t biased = (m >> 63) != 0 ? unit + 16446 : 0;
    if (biased > 0x7FFE) {
        r.overflow = true;
        return r;
    }
    r.biasedExponent = static_cast<std::uint16_t>(biased);
    r.significand = m;
    return r;
}

} // namespace brindelor::test
