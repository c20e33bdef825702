// Extended: boundary tables. Expected encodings were worked out with exact
// rational arithmetic (independently of this code); each row says why it is
// a boundary.

#include "extended_bits.h"
#include "brindelor/tariff/errors.h"
#include "brindelor/tariff/extended.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace brindelor {
namespace {

constexpr Extended X(bool sign, std::uint16_t exp, std::uint64_t sig)
{
    return Extended::fromParts(sign, exp, sig);
}

constexpr int kBias = Extended::kBias;
constexpr std::uint64_t kTop = 0x8000000000000000u;
constexpr std::uint64_t kOnes = 0xFFFFFFFFFFFFFFFFu;

// Power of two, normal range.
constexpr Extended pow2(int n)
{
    return X(false, static_cast<std::uint16_t>(kBias + n), kTop);
}

constexpr Extended kOne = pow2(0);
constexpr Extended kLargest = X(false, 0x7FFE, kOnes);
constexpr Extended kSmallestSub = X(false, 0, 1);
constexpr Extended kLargestSub = X(false, 0, 0x7FFFFFFFFFFFFFFFu);
constexpr Extended kSmallestNormal = X(false, 1, kTop);

::testing::AssertionResult sameBits(Extended got, Extended want)
{
    if (test::sameBits(got, want))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << test::hex(got) << ", want " << test::hex(want);
}

struct ArithRow {
    const char* why;
    Extended a;
    char op;
    Extended b;
    std::optional<Extended> want; // nullopt: FloatOverflowError
};

Extended apply(Extended a, char op, Extended b)
{
    switch (op) {
    case '+': return a + b;
    case '-': return a - b;
    case '*': return a * b;
    default: return a / b;
    }
}

constexpr std::nullopt_t kOverflow = std::nullopt;

const ArithRow kArithRows[] = {
    // addition and subtraction: ties, carries, sticky bits across exponent gaps
    {"(2^64-1) + 1 carries into the next binade exactly", X(false, 0x403E, kOnes), '+', kOne, pow2(64)},
    {"2^64 + 1 is a tie: stays on even 2^64", pow2(64), '+', kOne, pow2(64)},
    {"2^64 + 3 is a tie: up to even 2^64+4", pow2(64), '+', X(false, 0x4000, 0xC000000000000000), X(false, 0x403F, 0x8000000000000002)},
    {"2^64 + (1 + 2^-60), just over the tie: up", pow2(64), '+', X(false, 0x3FFF, 0x8000000000000008), X(false, 0x403F, 0x8000000000000001)},
    {"(2^64-1) + 2 = 2^64+1 after the carry: tie, even", X(false, 0x403E, kOnes), '+', pow2(1), pow2(64)},
    {"1 - 2^-65 is a tie: stays on even 1", kOne, '-', pow2(-65), kOne},
    {"1 - 2^-65(1+2^-63), gap 65, just over the tie: down", kOne, '-', X(false, 0x3FBE, 0x8000000000000001), X(false, 0x3FFE, kOnes)},
    {"1 - 3*2^-66, gap 65, the rounding bit only appears after renormalising", kOne, '-', X(false, 0x3FBE, 0xC000000000000000), X(false, 0x3FFE, kOnes)},
    {"1 - 2^-200: far below the rounding bit", kOne, '-', pow2(-200), kOne},
    {"2^100 + 2^-100: sticky only", pow2(100), '+', pow2(-100), pow2(100)},
    {"-2^100 + 2^35(1+2^-63): a tie but for the sticky bit 65 places down", X(true, 0x4063, kTop), '+', X(false, 0x4022, 0x8000000000000001), X(true, 0x4062, kOnes)},
    {"x + (-x) is +0", X(false, 0x3FFF, 0xC000000000000000), '+', X(true, 0x3FFF, 0xC000000000000000), X(false, 0, 0)},
    {"(-x) + x is +0", X(true, 0x3FFF, 0xC000000000000000), '+', X(false, 0x3FFF, 0xC000000000000000), X(false, 0, 0)},
    {"x - x is +0", kLargest, '-', kLargest, X(false, 0, 0)},
    {"(-0) + (-0) is -0", X(true, 0, 0), '+', X(true, 0, 0), X(true, 0, 0)},
    {"(-0) + (+0) is +0", X(true, 0, 0), '+', X(false, 0, 0), X(false, 0, 0)},
    {"(-0) - (+0) is -0", X(true, 0, 0), '-', X(false, 0, 0), X(true, 0, 0)},
    {"(+0) - (+0) is +0", X(false, 0, 0), '-', X(false, 0, 0), X(false, 0, 0)},
    {"0 - x is -x", X(false, 0, 0), '-', pow2(3), X(true, 0x4002, kTop)},
    {"smallest normal - smallest subnormal: largest subnormal", kSmallestNormal, '-', kSmallestSub, kLargestSub},
    {"subnormal + subnormal, exact", kSmallestSub, '+', kSmallestSub, X(false, 0, 2)},
    {"largest subnormal + smallest subnormal: smallest normal", kLargestSub, '+', kSmallestSub, kSmallestNormal},
    {"largest finite + a quarter ulp: stays", kLargest, '+', pow2(16318), kLargest},
    {"largest finite + half an ulp: the tie goes to even, which overflows", kLargest, '+', pow2(16319), kOverflow},
    {"largest finite + one ulp overflows", kLargest, '+', pow2(16320), kOverflow},
    {"-largest - largest overflows", X(true, 0x7FFE, kOnes), '-', kLargest, kOverflow},

    // multiplication
    {"(2^32+1)^2 = 2^64+2^33+1: tie, even", X(false, 0x401F, 0x8000000080000000), '*', X(false, 0x401F, 0x8000000080000000), X(false, 0x403F, 0x8000000100000000)},
    {"(2^32+1)(2^32+3) = 2^64+2^34+3: tie, up to even", X(false, 0x401F, 0x8000000080000000), '*', X(false, 0x401F, 0x8000000180000000), X(false, 0x403F, 0x8000000200000002)},
    {"(1+2^-32)^2 = 1+2^-31+2^-64: tie, even", X(false, 0x3FFF, 0x8000000080000000), '*', X(false, 0x3FFF, 0x8000000080000000), X(false, 0x3FFF, 0x8000000100000000)},
    {"(1+2^-32)(1+2^-32+2^-63): just over the tie, up", X(false, 0x3FFF, 0x8000000080000000), '*', X(false, 0x3FFF, 0x8000000080000001), X(false, 0x3FFF, 0x8000000100000002)},
    {"(1/3) * 3 rounds back to 1", X(false, 0x3FFD, 0xAAAAAAAAAAAAAAAB), '*', X(false, 0x4000, 0xC000000000000000), kOne},
    {"-2 * 3: the sign is the xor", X(true, 0x4000, kTop), '*', X(false, 0x4000, 0xC000000000000000), X(true, 0x4001, 0xC000000000000000)},
    {"-0 * 5 is -0", X(true, 0, 0), '*', pow2(2), X(true, 0, 0)},
    {"-0 * -5 is +0", X(true, 0, 0), '*', X(true, 0x4001, 0xA000000000000000), X(false, 0, 0)},
    {"largest subnormal * (1+2^-63) rounds up into the smallest normal", kLargestSub, '*', X(false, 0x3FFF, 0x8000000000000001), kSmallestNormal},
    {"smallest normal * 0.5 is subnormal, exact", kSmallestNormal, '*', pow2(-1), X(false, 0, 0x4000000000000000)},
    {"smallest subnormal * 0.5: tie to even 0", kSmallestSub, '*', pow2(-1), X(false, 0, 0)},
    {"-smallest subnormal * 0.5: tie to -0", X(true, 0, 1), '*', pow2(-1), X(true, 0, 0)},
    {"smallest subnormal * 0.75: up", kSmallestSub, '*', X(false, 0x3FFE, 0xC000000000000000), kSmallestSub},
    {"3 smallest subnormals * 0.5: tie to even 2", X(false, 0, 3), '*', pow2(-1), X(false, 0, 2)},
    {"subnormal 0x5555... * 3: exact, into the normal range", X(false, 0, 0x5555555555555555), '*', X(false, 0x4000, 0xC000000000000000), X(false, 1, kOnes)},
    {"smallest normal squared underflows to 0", kSmallestNormal, '*', kSmallestNormal, X(false, 0, 0)},
    {"largest finite * 1", kLargest, '*', kOne, kLargest},
    {"largest finite * (1+2^-63) overflows", kLargest, '*', X(false, 0x3FFF, 0x8000000000000001), kOverflow},
    {"2^8192 * 2^8191: the top binade", pow2(8192), '*', pow2(8191), X(false, 0x7FFE, kTop)},
    {"2^8192 * 2^8192 overflows", pow2(8192), '*', pow2(8192), kOverflow},

    // division
    {"1 / 3 rounds up", kOne, '/', X(false, 0x4000, 0xC000000000000000), X(false, 0x3FFD, 0xAAAAAAAAAAAAAAAB)},
    {"2 / 3", pow2(1), '/', X(false, 0x4000, 0xC000000000000000), X(false, 0x3FFE, 0xAAAAAAAAAAAAAAAB)},
    {"-6 / 3", X(true, 0x4001, 0xC000000000000000), '/', X(false, 0x4000, 0xC000000000000000), X(true, 0x4000, kTop)},
    {"0 / -5 is -0", X(false, 0, 0), '/', X(true, 0x4001, 0xA000000000000000), X(true, 0, 0)},
    {"(2^64-1) / (2^63+1)", X(false, 0x403E, kOnes), '/', X(false, 0x403E, 0x8000000000000001), X(false, 0x3FFF, 0xFFFFFFFFFFFFFFFD)},
    {"smallest subnormal / 2: tie to even 0", kSmallestSub, '/', pow2(1), X(false, 0, 0)},
    {"15 smallest subnormals / 10: tie to even 2", X(false, 0, 15), '/', X(false, 0x4002, 0xA000000000000000), X(false, 0, 2)},
    {"smallest normal / 3 rounds as a subnormal", kSmallestNormal, '/', X(false, 0x4000, 0xC000000000000000), X(false, 0, 0x2AAAAAAAAAAAAAAB)},
    {"1 / largest finite is subnormal", kOne, '/', kLargest, X(false, 0, 0x2000000000000000)},
    {"smallest subnormal / largest finite underflows to 0", kSmallestSub, '/', kLargest, X(false, 0, 0)},
    {"largest finite / 0.5 overflows", kLargest, '/', pow2(-1), kOverflow},
};

TEST(ExtendedArithmetic, BoundaryTable)
{
    for (const ArithRow& row : kArithRows) {
        SCOPED_TRACE(row.why);
        if (row.want) {
            const Extended got = apply(row.a, row.op, row.b);
            EXPECT_TRUE(sameBits(got, *row.want));
            EXPECT_TRUE(got.isCanonical());
        } else {
            EXPECT_THROW(apply(row.a, row.op, row.b), FloatOverflowError);
        }
    }
}

TEST(ExtendedEncoding, CanonicalTable)
{
    struct Row {
        const char* why;
        Extended x;
        bool canonical;
    };
    const Row rows[] = {
        {"+0", X(false, 0, 0), true},
        {"-0", X(true, 0, 0), true},
        {"smallest subnormal", kSmallestSub, true},
        {"largest subnormal", kLargestSub, true},
        {"smallest normal", kSmallestNormal, true},
        {"-1", X(true, 0x3FFF, kTop), true},
        {"largest finite", kLargest, true},
        {"pseudo-denormal: exponent 0 with the top bit set", X(false, 0, kTop), false},
        {"unnormal: top bit clear above exponent 0", X(false, 0x3FFF, 0x4000000000000000u), false},
        {"a zero significand needs exponent 0", X(true, 0x3FFF, 0), false},
        {"infinity", X(false, 0x7FFF, kTop), false},
        {"NaN", X(true, 0x7FFF, 0xC000000000000000u), false},
        {"exponent 0x7FFF, top bit clear", X(false, 0x7FFF, 1), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(row.x.isCanonical(), row.canonical);
    }
}

TEST(ExtendedArithmetic, DivisionByZero)
{
    EXPECT_THROW(kOne / X(false, 0, 0), FloatZeroDivideError);
    EXPECT_THROW(X(true, 0, 1) / X(true, 0, 0), FloatZeroDivideError);
    EXPECT_THROW(X(false, 0, 0) / X(false, 0, 0), FloatInvalidError);
    EXPECT_THROW(X(true, 0, 0) / X(false, 0, 0), FloatInvalidError);
}

TEST(ExtendedCompare, OrderTable)
{
    struct Row {
        const char* why;
        Extended a, b;
        std::weak_ordering want;
    };
    const Row rows[] = {
        {"+0 and -0 are equal", X(false, 0, 0), X(true, 0, 0), std::weak_ordering::equivalent},
        {"-0 is below the smallest subnormal", X(true, 0, 0), kSmallestSub, std::weak_ordering::less},
        {"a negative subnormal is below +0", X(true, 0, 1), X(false, 0, 0), std::weak_ordering::less},
        {"largest subnormal below the smallest normal", kLargestSub, kSmallestNormal, std::weak_ordering::less},
        {"the negatives reverse it", X(true, 0, 0x7FFFFFFFFFFFFFFFu), X(true, 1, kTop), std::weak_ordering::greater},
        {"same exponent, last bit decides", X(false, 0x3FFF, kTop), X(false, 0x3FFF, kTop + 1), std::weak_ordering::less},
        {"negative last bit", X(true, 0x3FFF, kTop), X(true, 0x3FFF, kTop + 1), std::weak_ordering::greater},
        {"equal values", X(false, 0x4000, 0xC000000000000000), X(false, 0x4000, 0xC000000000000000), std::weak_ordering::equivalent},
        {"opposite signs", X(true, 0x7FFE, kOnes), kSmallestSub, std::weak_ordering::less},
        {"exponent before significand", X(false, 0x4000, kTop), X(false, 0x3FFF, kOnes), std::weak_ordering::greater},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(row.a <=> row.b, row.want);
        EXPECT_EQ(row.b <=> row.a, 0 <=> row.want);
        EXPECT_EQ(row.a == row.b, row.want == 0);
    }
}

TEST(ExtendedConvert, FromInt64IsExact)
{
    EXPECT_TRUE(sameBits(Extended::fromInt64(0), X(false, 0, 0)));
    EXPECT_TRUE(sameBits(Extended::fromInt64(5), X(false, 0x4001, 0xA000000000000000)));
    EXPECT_TRUE(sameBits(Extended::fromInt64(-1), X(true, 0x3FFF, kTop)));
    EXPECT_TRUE(sameBits(Extended::fromInt64(INT64_MAX), X(false, 0x403D, 0xFFFFFFFFFFFFFFFEu)));
    EXPECT_TRUE(sameBits(Extended::fromInt64(INT64_MIN), X(true, 0x403E, kTop)));
}

TEST(ExtendedConvert, FromFloatIsExact)
{
    using L = std::numeric_limits<float>;
    EXPECT_TRUE(sameBits(Extended::fromFloat(1.0f), kOne));
    EXPECT_TRUE(sameBits(Extended::fromFloat(-0.0f), X(true, 0, 0)));
    EXPECT_TRUE(sameBits(Extended::fromFloat(L::denorm_min()), pow2(-149)));
    EXPECT_TRUE(sameBits(Extended::fromFloat(std::bit_cast<float>(0x007FFFFFu)),
                         X(false, kBias - 127, 0x7FFFFFull << 41)));
    EXPECT_TRUE(sameBits(Extended::fromFloat(L::min()), pow2(-126)));
    EXPECT_TRUE(sameBits(Extended::fromFloat(-L::max()), X(true, kBias + 127, 0xFFFFFF0000000000u)));
    EXPECT_THROW(Extended::fromFloat(L::infinity()), FloatInvalidError);
    EXPECT_THROW(Extended::fromFloat(-L::infinity()), FloatInvalidError);
    EXPECT_THROW(Extended::fromFloat(L::quiet_NaN()), FloatInvalidError);
}

TEST(ExtendedConvert, ToFloatRoundsOnce)
{
    struct Row {
        const char* why;
        Extended x;
        std::optional<std::uint32_t> want; // float bits; nullopt: overflow
    };
    const Row rows[] = {
        {"1", kOne, 0x3F800000u},
        {"1 + 2^-24: tie, stays on even 1", X(false, 0x3FFF, kTop | (1ull << 39)), 0x3F800000u},
        {"1 + 3*2^-24: tie, up to even", X(false, 0x3FFF, kTop | (3ull << 39)), 0x3F800002u},
        {"1 + 2^-24 + 2^-63: just over the tie", X(false, 0x3FFF, kTop | (1ull << 39) | 1u), 0x3F800001u},
        {"1/3", X(false, 0x3FFD, 0xAAAAAAAAAAAAAAABu), 0x3EAAAAABu},
        {"-0 keeps its sign", X(true, 0, 0), 0x80000000u},
        {"2^-149, the smallest float subnormal", pow2(-149), 0x00000001u},
        {"2^-150: tie to even 0", pow2(-150), 0x00000000u},
        {"-2^-150: tie to -0", X(true, kBias - 150, kTop), 0x80000000u},
        {"2^-150(1+2^-63): just over, the smallest subnormal", X(false, kBias - 150, kTop + 1), 0x00000001u},
        {"3*2^-150: tie to even 2*2^-149", X(false, kBias - 149, 0xC000000000000000u), 0x00000002u},
        {"(2^24-1)*2^-150: tie rounds up into FLT_MIN", X(false, kBias - 127, 0xFFFFFF0000000000u), 0x00800000u},
        {"just below FLT_MIN rounds to it", X(false, kBias - 127, kOnes), 0x00800000u},
        {"2^-200 underflows to 0", pow2(-200), 0x00000000u},
        {"an extended subnormal is 0", kLargestSub, 0x00000000u},
        {"FLT_MAX", X(false, kBias + 127, 0xFFFFFF0000000000u), 0x7F7FFFFFu},
        {"FLT_MAX + just under half an ulp: FLT_MAX", X(false, kBias + 127, 0xFFFFFF7FFFFFFFFFu), 0x7F7FFFFFu},
        {"FLT_MAX + half an ulp: tie to even overflows", X(false, kBias + 127, 0xFFFFFF8000000000u), std::nullopt},
        {"-2^128 overflows", X(true, kBias + 128, kTop), std::nullopt},
        {"largest extended overflows", kLargest, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        if (row.want) {
            EXPECT_EQ(std::bit_cast<std::uint32_t>(row.x.toFloat()), *row.want);
        } else {
            EXPECT_THROW((void)row.x.toFloat(), FloatOverflowError);
        }
    }
}

TEST(ExtendedRound, ToInt64TiesToEvenAndRange)
{
    struct Row {
        const char* why;
        Extended x;
        std::optional<std::int64_t> want; // nullopt: FloatInvalidError
    };
    const Row rows[] = {
        {"2.5 -> 2", X(false, 0x4000, 0xA000000000000000u), 2},
        {"3.5 -> 4", X(false, 0x4000, 0xE000000000000000u), 4},
        {"-2.5 -> -2", X(true, 0x4000, 0xA000000000000000u), -2},
        {"-3.5 -> -4", X(true, 0x4000, 0xE000000000000000u), -4},
        {"0.5 -> 0", pow2(-1), 0},
        {"-0.5 -> 0", X(true, 0x3FFE, kTop), 0},
        {"0.5 + 2^-64 -> 1", X(false, 0x3FFE, kTop + 1), 1},
        {"just below 0.5 -> 0", X(false, 0x3FFD, kOnes), 0},
        {"-0 -> 0", X(true, 0, 0), 0},
        {"a subnormal -> 0", kLargestSub, 0},
        {"2^63 - 1 fits", X(false, 0x403D, 0xFFFFFFFFFFFFFFFEu), INT64_MAX},
        {"2^63 - 1.5: tie, even 2^63 - 2", X(false, 0x403D, 0xFFFFFFFFFFFFFFFDu), INT64_MAX - 1},
        {"2^63 - 0.5: tie rounds to 2^63, outside", X(false, 0x403D, kOnes), std::nullopt},
        {"-(2^63 - 0.5): tie rounds to -2^63, fits", X(true, 0x403D, kOnes), INT64_MIN},
        {"-2^63 fits", X(true, 0x403E, kTop), INT64_MIN},
        {"2^63 is outside", pow2(63), std::nullopt},
        {"-(2^63 + 1) is outside", X(true, 0x403E, kTop + 1), std::nullopt},
        {"-2^64 is outside", X(true, 0x403F, kTop), std::nullopt},
        {"largest finite is outside", kLargest, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        if (row.want) {
            EXPECT_EQ(row.x.roundToInt64(), *row.want);
        } else {
            EXPECT_THROW((void)row.x.roundToInt64(), FloatInvalidError);
        }
    }
}

TEST(ExtendedRound, ToIntegralTiesToEvenKeepsSign)
{
    struct Row {
        const char* why;
        Extended x, want;
    };
    const Row rows[] = {
        {"2.5 -> 2", X(false, 0x4000, 0xA000000000000000u), pow2(1)},
        {"-3.5 -> -4", X(true, 0x4000, 0xE000000000000000u), X(true, 0x4001, kTop)},
        {"0.5 -> +0", pow2(-1), X(false, 0, 0)},
        {"-0.5 -> -0", X(true, 0x3FFE, kTop), X(true, 0, 0)},
        {"-0.3 -> -0", X(true, 0x3FFD, 0x9999999999999999u), X(true, 0, 0)},
        {"0.75 -> 1", X(false, 0x3FFE, 0xC000000000000000u), kOne},
        {"a negative subnormal -> -0", X(true, 0, 5), X(true, 0, 0)},
        {"2^63 - 0.5: tie up to 2^63", X(false, 0x403D, kOnes), pow2(63)},
        {"2^64 + 2 is integral already", X(false, 0x403F, kTop + 1), X(false, 0x403F, kTop + 1)},
        {"largest finite is integral", kLargest, kLargest},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_TRUE(sameBits(row.x.roundToIntegral(), row.want));
    }
}

std::string repeat(char c, std::size_t n)
{
    return std::string(n, c);
}

// 1 + 2^-64, exactly: the halfway point between 1 and the next value up.
const std::string kOneMidpoint = "10000000000000000000542101086242752217003726400434970855712890625"; // * 10^-64

TEST(ExtendedDecimal, FromDecimalTable)
{
    struct Row {
        const char* why;
        bool negative;
        std::string digits;
        std::int64_t exp10;
        std::optional<Extended> want; // nullopt: FloatOverflowError
    };
    const Row rows[] = {
        {"1.005 is just below 1.005", false, "1005", -3, X(false, 0x3FFF, 0x80A3D70A3D70A3D7u)},
        {"leading and trailing zeros change nothing", false, "0001005000", -6, X(false, 0x3FFF, 0x80A3D70A3D70A3D7u)},
        {"0.1", false, "1", -1, X(false, 0x3FFB, 0xCCCCCCCCCCCCCCCDu)},
        {"-0.1", true, "1", -1, X(true, 0x3FFB, 0xCCCCCCCCCCCCCCCDu)},
        {"1e-27, the last exact divisor", false, "1", -27, X(false, 0x3FA5, 0x9E74D1B791E07E48u)},
        {"21 digits, e-40: the big-integer path", false, "123456789012345678901", -40, X(false, 0x3FBC, 0xE9340A3957FFCC21u)},
        // N = (Q+1) * 5^q - small: the long division's first quotient guess
        // is one too big and must be corrected by adding the divisor back
        {"long division adding back, 5^29", false, "773830592395501210446376996220523261204", -29, X(false, 0x401F, 0xE69E96C1FA3DD62Eu)},
        {"long division adding back, 5^43", false, "1092144807230569215138947400714768455374", -43, X(false, 0x3FF1, 0xE50A13EF3FA48AA5u)},
        {"long division adding back, 5^58", false, "721417407114230027065183847803930431679", -58, X(false, 0x3FBF, 0xAA5701AA92C1DE6Fu)},
        {"2^64+1: tie, even", false, "18446744073709551617", 0, pow2(64)},
        {"2^64+3: tie, up to even", false, "18446744073709551619", 0, X(false, 0x403F, 0x8000000000000002u)},
        {"1e4932", false, "1", 4932, X(false, 0x7FFE, 0xD72CB2A95C7EF6CDu)},
        {"1.1897314953572317650e4932 rounds to the largest finite", false, "11897314953572317650", 4913, kLargest},
        {"1e4933 overflows", false, "1", 4933, std::nullopt},
        {"-2e4932 overflows", true, "2", 4932, std::nullopt},
        {"5000 digits, 1e4933 overflows", false, "1" + repeat('0', 4999), -66, std::nullopt},
        {"1e-4950: three smallest subnormals", false, "1", -4950, X(false, 0, 3)},
        {"2e-4951 rounds up to the smallest subnormal", false, "2", -4951, kSmallestSub},
        {"1e-4951, below half the smallest subnormal: 0", false, "1", -4951, X(false, 0, 0)},
        {"-1e-5000 is -0", true, "1", -5000, X(true, 0, 0)},
        {"empty digits are zero", false, "", 0, X(false, 0, 0)},
        {"negative zeros keep the sign", true, "000", 7, X(true, 0, 0)},
        {"zero with a huge exponent is still zero", false, "0", INT64_MAX, X(false, 0, 0)},
        {"a huge exponent overflows", false, "1", INT64_MAX, std::nullopt},
        {"a huge negative exponent is zero", false, "1", INT64_MIN, X(false, 0, 0)},
        {"1 with 5000 zeros, e-5000, is 1", false, "1" + repeat('0', 5000), -5000, kOne},
        {"5000 nines, e-5000, round up to 1", false, repeat('9', 5000), -5000, kOne},
        {"exact midpoint above 1: tie, stays on even 1", false, kOneMidpoint, -64, kOne},
        {"midpoint + 10^-1000000: the digit a million places down decides", false,
         kOneMidpoint + repeat('0', 1000000 - 65) + "1", -1000000, X(false, 0x3FFF, kTop + 1)},
        {"midpoint - 10^-1000000: down", false,
         kOneMidpoint.substr(0, 64) + "4" + repeat('9', 1000000 - 64), -1000000, kOne},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        if (row.want) {
            EXPECT_TRUE(sameBits(Extended::fromDecimal(row.negative, row.digits, row.exp10), *row.want));
        } else {
            EXPECT_THROW((void)Extended::fromDecimal(row.negative, row.digits, row.exp10), FloatOverflowError);
        }
    }
}

TEST(ExtendedDecimal, MegabyteOfDigits)
{
    // What a pasted megabyte reads as (its speed is the benchmark's business).
    std::string digits(1000000, '7');
    const Extended small = Extended::fromDecimal(false, digits, -1000000 - 4920); // deep in the small numbers, where most digits count
    const Extended unit = Extended::fromDecimal(false, digits, -1000000);
    EXPECT_TRUE(sameBits(unit, Extended::fromDecimal(false, repeat('7', 30), -30)));
    EXPECT_GT(small, X(false, 0, 0));
}

TEST(ExtendedDecimal, PowerOfTen)
{
    // 10^27 = 5^27 * 2^27 is the last exact one; 10^28 is rounded.
    EXPECT_TRUE(sameBits(Extended::powerOfTen(0), kOne));
    EXPECT_TRUE(sameBits(Extended::powerOfTen(1), X(false, 0x4002, 0xA000000000000000u)));
    EXPECT_TRUE(sameBits(Extended::powerOfTen(27), Extended::fromParts(false, kBias + 89, 7450580596923828125ull << 1)));
    EXPECT_TRUE(sameBits(Extended::powerOfTen(28), X(false, 0x405C, 0x813F3978F8940984u)));
    EXPECT_TRUE(sameBits(Extended::powerOfTen(4932), X(false, 0x7FFE, 0xD72CB2A95C7EF6CDu)));
    EXPECT_THROW((void)Extended::powerOfTen(4933), FloatOverflowError);
    EXPECT_TRUE(sameBits(Extended::powerOfTen(-1), X(false, 0x3FFB, 0xCCCCCCCCCCCCCCCDu))); // reads as 10^-1
    // The cached table and the general reading agree everywhere.
    for (int k = 0; k <= 4932; ++k) {
        SCOPED_TRACE(k);
        ASSERT_TRUE(sameBits(Extended::powerOfTen(k), Extended::fromDecimal(false, "1", k)));
    }
}

TEST(ExtendedDecimal, ToDecimal18Table)
{
    struct Row {
        const char* why;
        Extended x;
        bool negative;
        std::uint64_t digits;
        int exp10;
    };
    const auto dec = [](const char* d, std::int64_t e) { return Extended::fromDecimal(false, d, e); };
    const Row rows[] = {
        {"1", kOne, false, 100000000000000000u, -17},
        {"-1", X(true, 0x3FFF, kTop), true, 100000000000000000u, -17},
        {"0.01", dec("1", -2), false, 100000000000000000u, -19},
        {"111.5", dec("1115", -1), false, 111500000000000000u, -15},
        {"11111111111111.45, made as 111111111111114500 / 10000",
         Extended::fromInt64(111111111111114500) / Extended::fromInt64(10000), false, 111111111111114500u, -4},
        {"2.5", dec("25", -1), false, 250000000000000000u, -17},
        {"10: the first guess lands on 10^18 exactly", dec("1", 1), false, 100000000000000000u, -16},
        {"10^18 - 0.25 rounds onto 10^18: one digit fewer, exponent up", dec("99999999999999999975", -2),
         false, 100000000000000000u, 1},
        {"10^18 - 0.5: tie, even is 10^18", dec("9999999999999999995", -1), false, 100000000000000000u, 1},
        {"10^18 - 0.75 stays below", dec("99999999999999999925", -2), false, 999999999999999999u, 0},
        {"10^17 - 0.5 scales by ten exactly", dec("999999999999999995", -1), false, 999999999999999995u, -1},
        {"largest finite", kLargest, false, 118973149535723177u, 4915},
        {"smallest subnormal: scaled in two steps", kSmallestSub, false, 364519953188247460u, -4968},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const Extended::Decimal18 d = row.x.toDecimal18();
        EXPECT_EQ(d.negative, row.negative);
        EXPECT_EQ(d.digits, row.digits);
        EXPECT_EQ(d.exp10, row.exp10);
    }
    const Extended::Decimal18 z = Extended().toDecimal18();
    EXPECT_EQ(z.digits, 0u);
    EXPECT_EQ(z.exp10, 0);
}

TEST(ExtendedErrors, FrenchTexts)
{
    EXPECT_STREQ(FloatOverflowError().what(), "Débordement en virgule flottante");
    EXPECT_STREQ(FloatInvalidError().what(), "Opération en virgule flottante incorrecte");
    EXPECT_STREQ(FloatZeroDivideError().what(), "Division par zéro");
    // the UI catches the base
    EXPECT_THROW(throw FloatOverflowError(), TariffError);
}

} // namespace
} // namespace brindelor
