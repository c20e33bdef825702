#pragma once
// Extended: the 80-bit extended floating format (sign, 15-bit biased
// exponent, 64-bit significand with an explicit integer bit), done in
// integers so that every compiler and CPU gives the same digits.
//
// Every operation rounds its exact result once to the 64-bit significand,
// to nearest, halfway cases to the even neighbour. Results too small for a
// normal number are denormalised and then rounded (gradual underflow, no
// error); results whose rounded magnitude exceeds the largest finite value
// raise FloatOverflowError. There are no infinities and no NaNs: nothing
// here ever produces one.

#include <compare>
#include <cstdint>
#include <string_view>

namespace brindelor {

class Extended {
public:
    static constexpr int kBias = 16383;
    static constexpr std::uint16_t kMaxBiasedExp = 0x7FFE; // 0x7FFF is never used

    constexpr Extended() noexcept = default; // +0

    // Raw parts, exactly as the x87 stores them: value = sig * 2^(exp - kBias - 63)
    // for exp >= 1 (sig's top bit set), and sig * 2^(1 - kBias - 63) for exp == 0.
    // Not checked, so that tests can build the odd encodings too (see
    // isCanonical); everything else here returns canonical values when
    // given canonical operands.
    static constexpr Extended fromParts(bool sign, std::uint16_t biasedExp, std::uint64_t sig) noexcept
    {
        Extended z;
        z.sign_ = sign;
        z.exp_ = biasedExp;
        z.sig_ = sig;
        return z;
    }

    static Extended fromInt64(std::int64_t v) noexcept; // exact
    static Extended fromFloat(float v);                  // exact; NaN or infinity: FloatInvalidError

    // digits * 10^exp10, correctly rounded. digits holds only '0'..'9' and may
    // be of any length (thousands of digits are fine) or empty (zero).
    // Example: ("1005", -3) is the extended value nearest 1.005, just below it.
    // FloatOverflowError when the rounded magnitude is beyond the range.
    static Extended fromDecimal(bool negative, std::string_view digits, std::int64_t exp10);

    // The extended value nearest 10^k, k >= 0 (exact up to 10^27).
    static Extended powerOfTen(int k);

    // One rounding to single precision (subnormals included);
    // FloatOverflowError beyond the float range.
    float toFloat() const;

    // Nearest integer, halfway cases to even (2.5 -> 2, -3.5 -> -4);
    // FloatInvalidError when it lies outside the signed 64-bit range.
    std::int64_t roundToInt64() const;

    // Nearest integral value, halfway cases to even, kept in extended.
    Extended roundToIntegral() const noexcept;

    // The 18-significant-digit decimal of the value, obtained the way the
    // x87 programs did it: |x| is scaled by a power of ten in extended
    // (multiplied by powerOfTen(k) for k >= 0, divided by powerOfTen(-k)
    // otherwise; for the smallest numbers the scaling is done in two
    // multiplications) and the product rounded to an integer, ties to even.
    // digits lies in [10^17, 10^18), or is 0 for a zero;
    // |x| ~= digits * 10^exp10.
    struct Decimal18 {
        bool negative = false;
        std::uint64_t digits = 0;
        int exp10 = 0;
    };
    Decimal18 toDecimal18() const;

    constexpr bool sign() const noexcept { return sign_; }
    constexpr std::uint16_t biasedExponent() const noexcept { return exp_; }
    constexpr std::uint64_t significand() const noexcept { return sig_; }
    constexpr bool isZero() const noexcept { return sig_ == 0; }

    // The encodings this type uses: exponent 0 with the top significand bit
    // clear (a zero of either sign, or a subnormal), or exponent 1..kMaxBiasedExp
    // with the top bit set. So a zero always has exponent 0, and exponent
    // 0x7FFF (the x87's infinities and NaNs) never occurs. The x87's
    // unnormals and pseudo-denormals are not canonical.
    constexpr bool isCanonical() const noexcept
    {
        const bool topBit = (sig_ & 0x8000000000000000u) != 0;
        return exp_ == 0 ? !topBit : exp_ <= kMaxBiasedExp && topBit;
    }

    constexpr Extended operator-() const noexcept { return fromParts(!sign_, exp_, sig_); }
    constexpr Extended abs() const noexcept { return fromParts(false, exp_, sig_); }

    friend Extended operator+(Extended a, Extended b);
    friend Extended operator-(Extended a, Extended b);
    friend Extended operator*(Extended a, Extended b);
    // FloatZeroDivideError for x / 0 with x nonzero, FloatInvalidError for 0 / 0.
    friend Extended operator/(Extended a, Extended b);

    // +0 and -0 compare equal.
    friend bool operator==(Extended a, Extended b) noexcept;
    friend std::weak_ordering operator<=>(Extended a, Extended b) noexcept;

private:
    bool sign_ = false;
    std::uint16_t exp_ = 0;
    std::uint64_t sig_ = 0;
};

} // namespace brindelor
