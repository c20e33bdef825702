// Extended against this machine's x87 long double, bit for bit, on random
// operands biased towards the hard cases. BRINDELOR_ORACLE_CASES sets the
// cases per operation (default 1,000,000), BRINDELOR_ORACLE_SEED the seed.

#include "decimal_oracle.h"
#include "extended_bits.h"
#include "x87.h"
#include "brindelor/tariff/errors.h"
#include "brindelor/tariff/extended.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cfenv>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace brindelor {
namespace {

constexpr int kBias = Extended::kBias;
constexpr std::uint64_t kTop = 0x8000000000000000u;
constexpr std::uint64_t kOnes = 0xFFFFFFFFFFFFFFFFu;

bool longDoubleIsX87()
{
    return std::numeric_limits<long double>::digits == 64 && std::numeric_limits<long double>::max_exponent == 16384;
}

using test::hex;

long double toLD(Extended x) { return x87::toLong(x); }
Extended fromLD(long double v) { return x87::fromLong(v); }

std::uint64_t envNumber(const char* name, std::uint64_t fallback)
{
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0')
        return fallback;
    return std::strtoull(text, nullptr, 0);
}

std::uint64_t caseCount()
{
    return envNumber("BRINDELOR_ORACLE_CASES", 1000000);
}

std::uint64_t baseSeed()
{
    static const std::uint64_t seed = [] {
        const std::uint64_t s = envNumber("BRINDELOR_ORACLE_SEED", std::random_device{}() * 0x100000001ull);
        std::printf("[ oracle   ] BRINDELOR_ORACLE_SEED=%" PRIu64 " BRINDELOR_ORACLE_CASES=%" PRIu64 "\n", s,
                    caseCount());
        return s;
    }();
    return seed;
}

// What an operation gave: a value, or which error.
enum class Kind { Value, Overflow, Invalid, ZeroDivide };

struct Outcome {
    Kind kind = Kind::Value;
    Extended value;
};

template <class F>
Outcome ours(F&& f)
{
    try {
        return {Kind::Value, f()};
    } catch (const FloatOverflowError&) {
        return {Kind::Overflow, {}};
    } catch (const FloatInvalidError&) {
        return {Kind::Invalid, {}};
    } catch (const FloatZeroDivideError&) {
        return {Kind::ZeroDivide, {}};
    }
}

// x87 with the exceptions masked answers inf where we throw.
Outcome oracle(long double r)
{
    if (std::isnan(r))
        return {Kind::Invalid, {}};
    if (std::isinf(r))
        return {Kind::Overflow, {}};
    return {Kind::Value, fromLD(r)};
}

bool same(const Outcome& a, const Outcome& b)
{
    if (a.kind != b.kind)
        return false;
    if (a.kind != Kind::Value)
        return true;
    return test::sameBits(a.value, b.value);
}

std::string describe(const Outcome& o)
{
    switch (o.kind) {
    case Kind::Value: return hex(o.value);
    case Kind::Overflow: return "FloatOverflowError";
    case Kind::Invalid: return "FloatInvalidError";
    case Kind::ZeroDivide: return "FloatZeroDivideError";
    }
    return "?";
}

// Counts mismatches, keeps the first few for the report.
class Mismatches {
public:
    void add(const std::string& what)
    {
        if (++count_ <= 8)
            first_ += "\n  " + what;
    }
    void check(const Outcome& got, const Outcome& want, const std::string& operands, const char* oracleName = "x87")
    {
        if (!same(got, want))
            add(operands + " -> got " + describe(got) + ", " + oracleName + " " + describe(want));
    }
    std::uint64_t count() const { return count_; }
    const std::string& first() const { return first_; }

private:
    std::uint64_t count_ = 0;
    std::string first_;
};

#define EXPECT_NO_MISMATCH(m) EXPECT_EQ((m).count(), 0u) << "first mismatches:" << (m).first()

// Random operands, biased towards boundaries.
class Gen {
public:
    explicit Gen(std::uint64_t seed) : rng_(seed) {}

    std::uint64_t u64() { return rng_(); }
    std::uint64_t below(std::uint64_t n) { return n == 0 ? 0 : rng_() % n; }
    int range(int lo, int hi) { return lo + static_cast<int>(below(static_cast<std::uint64_t>(hi - lo) + 1)); }
    bool percent(int p) { return below(100) < static_cast<std::uint64_t>(p); }
    bool coin() { return (rng_() & 1u) != 0; }

    // A significand with the top bit set, in a few shapes that make ties,
    // carries and exact results likely.
    std::uint64_t sig()
    {
        switch (below(8)) {
        case 0: return kTop | (u64() & u64() & u64());    // sparse
        case 1: return kTop | ~(u64() & u64() & u64());   // dense
        case 2: return kOnes - below(4);                  // all ones
        case 3: return kTop + below(4);                   // power of two
        case 4: {
            const int t = range(0, 63); // short significand
            return ((kTop | u64()) >> t) << t;
        }
        default: return kTop | u64();
        }
    }

    // A canonical encoding near sig * 2^(exp - bias - 63): normalised, the
    // exponent capped at the top, truncated to a subnormal at the bottom.
    // (x87 refuses unnormal encodings, which we never make either.)
    static Extended make(bool sign, int exp, std::uint64_t sig)
    {
        if (sig == 0)
            return Extended::fromParts(sign, 0, 0);
        const int lz = std::countl_zero(sig);
        sig <<= lz;
        exp -= lz;
        if (exp >= 1)
            return Extended::fromParts(sign, static_cast<std::uint16_t>(std::min(exp, 0x7FFE)), sig);
        const int shift = 1 - exp;
        return Extended::fromParts(sign, 0, shift >= 64 ? 0 : sig >> shift);
    }

    // m * 2^e exactly (m != 0), if in range.
    static Extended scaled(bool sign, std::uint64_t m, int e)
    {
        return make(sign, e + kBias + 63, m);
    }

    int exponent()
    {
        switch (below(10)) {
        case 0: return range(-70, 0);              // subnormal
        case 1: return range(1, 80);               // smallest normals
        case 2: return range(0x7FFE - 80, 0x7FFE); // largest
        case 3:
        case 4: return range(1, 0x7FFE);
        default: return kBias + range(-70, 70);
        }
    }

    Extended any()
    {
        if (percent(5))
            return Extended::fromParts(coin(), 0, 0);
        return make(coin(), exponent(), sig());
    }

private:
    std::mt19937_64 rng_;
};

class Oracle : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!longDoubleIsX87())
            GTEST_SKIP() << "long double is not the x87 80-bit format here";
        std::fesetround(FE_TONEAREST);
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        gen_ = std::make_unique<Gen>(baseSeed() ^ std::hash<std::string>{}(name));
        cases_ = caseCount();
    }

    Gen& g() { return *gen_; }
    std::uint64_t cases_ = 0;

private:
    std::unique_ptr<Gen> gen_;
};

struct Operands {
    Extended a, b;
};

// ----- + and - -----

Operands addOperands(Gen& g)
{
    const Extended a = g.any();
    const int ea = std::max<int>(a.biasedExponent(), 1);
    const bool sign = g.coin();
    switch (g.below(7)) {
    case 0: return {a, g.any()};
    case 1: return {a, Gen::make(sign, ea - g.range(-3, 3), g.sig())};
    case 2: return {a, Gen::make(sign, ea - g.range(0, 140), g.sig())}; // gaps, sticky bits
    case 3: return {a, Gen::make(sign, ea - g.range(60, 70), g.sig())}; // around the 64/65 gap
    case 4: {
        // a tie: the bits shifted out are exactly one half
        const int d = g.range(1, 63);
        const std::uint64_t sigB = ((g.sig() >> d) << d) | (std::uint64_t{1} << (d - 1));
        return {a, Gen::make(sign, ea - d, sigB)};
    }
    case 5: {
        // near cancellation
        const std::uint64_t mask = (std::uint64_t{1} << g.range(0, 63)) - 1;
        return {a, Gen::make(!a.sign(), ea - g.range(0, 1), a.significand() ^ (g.u64() & mask))};
    }
    default: {
        // both at one end of the range
        const bool top = g.coin();
        return {Gen::make(g.coin(), top ? g.range(0x7FFE - 2, 0x7FFE) : g.range(-64, 3), g.sig()),
                Gen::make(sign, top ? g.range(0x7FFE - 66, 0x7FFE) : g.range(-64, 3), g.sig())};
    }
    }
}

TEST_F(Oracle, AddAndSubtract)
{
    Mismatches m;
    for (std::uint64_t i = 0; i < cases_; ++i) {
        const Operands o = addOperands(g());
        const long double la = toLD(o.a), lb = toLD(o.b);
        m.check(ours([&] { return o.a + o.b; }), oracle(la + lb), hex(o.a) + " + " + hex(o.b));
        m.check(ours([&] { return o.a - o.b; }), oracle(la - lb), hex(o.a) + " - " + hex(o.b));
    }
    EXPECT_NO_MISMATCH(m);
}

// ----- * and / -----

// The first four kinds of operands * and / share (pick 0 to 3): any two,
// two near 1, and a partner whose exponent aims the result at the
// subnormals or at the top; aimed(a, target) makes that partner.
template <class Aimed>
Operands sharedOperands(Gen& g, std::uint64_t pick, Aimed aimed)
{
    switch (pick) {
    case 0: return {g.any(), g.any()};
    case 1: return {Gen::make(g.coin(), kBias + g.range(-70, 70), g.sig()), Gen::make(g.coin(), kBias + g.range(-70, 70), g.sig())};
    default: {
        const Extended a = Gen::make(g.coin(), g.range(1, 0x7FFE), g.sig());
        return {a, aimed(a, pick == 2 ? g.range(-70, 2) : g.range(0x7FFE - 2, 0x7FFE + 2))};
    }
    }
}

Operands mulOperands(Gen& g)
{
    // product exponent ~ ea + eb - bias
    const auto aimed = [&g](Extended a, int target) {
        return Gen::make(g.coin(), target - std::max<int>(a.biasedExponent(), 1) + kBias, g.sig());
    };
    switch (const std::uint64_t pick = g.below(6)) {
    case 0:
    case 1:
    case 2:
    case 3: return sharedOperands(g, pick, aimed);
    default: {
        // odd parts times 2^t and 2^u with t + u = 62 or 63: the product's
        // dropped half is exactly one half (a tie) or nothing
        const int t = g.range(1, 61);
        const int u = 62 - t + static_cast<int>(g.below(2));
        const std::uint64_t sigA = (((g.u64() >> t) | (std::uint64_t{1} << (63 - t)) | 1u)) << t;
        const std::uint64_t sigB = (((g.u64() >> u) | (std::uint64_t{1} << (63 - u)) | 1u)) << u;
        const Extended a = Gen::make(g.coin(), g.percent(80) ? kBias + g.range(-40, 40) : g.range(1, 0x7FFE), sigA);
        const int eb = g.percent(70) ? kBias + g.range(-40, 40) : g.range(-80, 2) - a.biasedExponent() + kBias;
        return {a, Gen::make(g.coin(), eb, sigB)};
    }
    }
}

TEST_F(Oracle, Multiply)
{
    Mismatches m;
    for (std::uint64_t i = 0; i < cases_; ++i) {
        const Operands o = mulOperands(g());
        m.check(ours([&] { return o.a * o.b; }), oracle(toLD(o.a) * toLD(o.b)), hex(o.a) + " * " + hex(o.b));
    }
    EXPECT_NO_MISMATCH(m);
}

Operands divOperands(Gen& g)
{
    // quotient exponent ~ ea - eb + bias
    const auto aimed = [&g](Extended a, int target) {
        return Gen::make(g.coin(), std::max<int>(a.biasedExponent(), 1) - target + kBias, g.sig());
    };
    switch (const std::uint64_t pick = g.below(8)) {
    case 0:
    case 1:
    case 2:
    case 3: return sharedOperands(g, pick, aimed);
    case 4: {
        // exact quotient c = a / b, landing near or on a subnormal tie
        const std::uint64_t bOdd = (g.u64() >> 33) | 1u;
        const std::uint64_t c = (g.u64() >> 33) | 1u;
        const int eb = g.range(40, 300);
        const int ea = eb - 16446 + g.range(-3, 3) - static_cast<int>(g.below(2)) * g.range(0, 70);
        return {Gen::scaled(g.coin(), bOdd * c, ea), Gen::scaled(g.coin(), bOdd, eb)};
    }
    case 5: {
        // exact quotient in the normal range
        const std::uint64_t b = ((g.u64() >> 32) | 1u) << g.range(0, 31);
        const std::uint64_t c = (g.u64() >> 32) | 1u;
        return {Gen::scaled(g.coin(), b * c, g.range(-200, 200)), Gen::scaled(g.coin(), b, g.range(-200, 200))};
    }
    case 6: {
        // by zero, now and then 0 / 0
        const Extended a = g.percent(20) ? Extended::fromParts(g.coin(), 0, 0) : g.any();
        return {a, Extended::fromParts(g.coin(), 0, 0)};
    }
    default: return {g.any(), Gen::make(g.coin(), kBias + g.range(-3, 3), g.sig())};
    }
}

TEST_F(Oracle, Divide)
{
    Mismatches m;
    for (std::uint64_t i = 0; i < cases_; ++i) {
        const Operands o = divOperands(g());
        Outcome want = oracle(toLD(o.a) / toLD(o.b));
        if (o.b.isZero() && !o.a.isZero())
            want.kind = Kind::ZeroDivide; // x87 says inf
        m.check(ours([&] { return o.a / o.b; }), want, hex(o.a) + " / " + hex(o.b));
    }
    EXPECT_NO_MISMATCH(m);
}

// ----- comparisons -----

TEST_F(Oracle, Compare)
{
    Mismatches m;
    for (std::uint64_t i = 0; i < cases_; ++i) {
        const Extended a = g().any();
        Extended b;
        switch (g().below(4)) {
        case 0: b = g().any(); break;
        case 1: b = a; break;
        case 2: b = Extended::fromParts(g().coin(), a.biasedExponent(), a.significand() + g().below(3) - 1); break;
        default: b = Extended::fromParts(g().coin(), a.biasedExponent(), g().sig()); break;
        }
        if (!b.isCanonical())
            b = a;
        const long double la = toLD(a), lb = toLD(b);
        const std::weak_ordering want = la < lb ? std::weak_ordering::less
                                      : la > lb ? std::weak_ordering::greater
                                                : std::weak_ordering::equivalent;
        const std::weak_ordering got = a <=> b;
        const bool ldEqual = !(la < lb) && !(la > lb);
        if (got != want || (a == b) != ldEqual || (a < b) != (la < lb) || (a >= b) != (la >= lb))
            m.add(hex(a) + " <=> " + hex(b));
    }
    EXPECT_NO_MISMATCH(m);
}

// ----- roundToInt64, roundToIntegral -----

// Values around the integers: ties, the int64 edges, and tiny fractions.
Extended nearInteger(Gen& g)
{
    if (g.percent(20))
        return g.any();
    const int e = g.range(-3, 66); // value in [2^e, 2^(e+1))
    std::uint64_t sig = g.sig();
    if (g.percent(40) && e >= 0 && e <= 62) {
        // n + 1/2 exactly
        const int fracBits = 63 - e;
        sig = ((sig >> fracBits) << fracBits) | (std::uint64_t{1} << (fracBits - 1));
    }
    return Gen::make(g.coin(), kBias + e, sig);
}

TEST_F(Oracle, RoundToInt64)
{
    Mismatches m;
    for (std::uint64_t i = 0; i < cases_; ++i) {
        const Extended x = nearInteger(g());
        const long double lx = toLD(x);
        const long double r = std::nearbyint(lx);
        Outcome want;
        std::int64_t wantValue = 0;
        if (r >= 0x1p63L || r < -0x1p63L) {
            want.kind = Kind::Invalid;
        } else {
            wantValue = static_cast<std::int64_t>(std::llrint(lx));
        }
        std::int64_t gotValue = 0;
        const Outcome got = ours([&] {
            gotValue = x.roundToInt64();
            return Extended();
        });
        if (got.kind != want.kind || gotValue != wantValue)
            m.add(hex(x) + " -> got " + (got.kind == Kind::Value ? std::to_string(gotValue) : describe(got))
                  + ", x87 " + (want.kind == Kind::Value ? std::to_string(wantValue) : describe(want)));
    }
    EXPECT_NO_MISMATCH(m);
}

TEST_F(Oracle, RoundToIntegral)
{
    Mismatches m;
    for (std::uint64_t i = 0; i < cases_; ++i) {
        const Extended x = nearInteger(g());
        m.check(ours([&] { return x.roundToIntegral(); }), oracle(std::nearbyint(toLD(x))), hex(x));
    }
    EXPECT_NO_MISMATCH(m);
}

// ----- float and int64 conversions -----

TEST_F(Oracle, ToFloat)
{
    Mismatches m;
    for (std::uint64_t i = 0; i < cases_; ++i) {
        Extended x;
        std::uint64_t sig = g().sig();
        int e = 0; // value in [2^e, 2^(e+1))
        switch (g().below(5)) {
        case 0: e = g().range(-160, 130); break;
        case 1: e = g().range(-152, -124); break; // float subnormals
        case 2: e = g().range(125, 128); break;   // FLT_MAX
        case 3: {
            // ties at the float's last bit, normal or subnormal
            e = g().percent(70) ? g().range(-126, 127) : g().range(-150, -127);
            const int kept = 24 - std::max(0, -126 - e);
            const int dropped = 64 - std::max(kept, 0);
            if (dropped < 64)
                sig = ((sig >> dropped) << dropped) | (std::uint64_t{1} << (dropped - 1)) | (g().percent(30) ? 1u : 0u);
            break;
        }
        default: e = std::numeric_limits<int>::min(); break;
        }
        x = e == std::numeric_limits<int>::min() ? g().any() : Gen::make(g().coin(), kBias + e, sig);
        const float f = static_cast<float>(toLD(x));
        Outcome want;
        if (std::isinf(f))
            want.kind = Kind::Overflow;
        const auto bitsWant = std::bit_cast<std::uint32_t>(f);
        std::uint32_t bitsGot = 0;
        const Outcome got = ours([&] {
            bitsGot = std::bit_cast<std::uint32_t>(x.toFloat());
            return Extended();
        });
        if (got.kind != want.kind || (got.kind == Kind::Value && bitsGot != bitsWant)) {
            char buf[64];
            std::snprintf(buf, sizeof buf, " -> got %08X, x87 %08X", bitsGot, bitsWant);
            m.add(hex(x) + buf + " (" + describe(got) + " / " + describe(want) + ")");
        }
    }
    EXPECT_NO_MISMATCH(m);
}

TEST_F(Oracle, FromFloat)
{
    Mismatches m;
    for (std::uint64_t i = 0; i < cases_; ++i) {
        std::uint32_t bits = static_cast<std::uint32_t>(g().u64());
        if (g().percent(20))
            bits &= 0x807FFFFFu; // subnormals and zeros
        else if (g().percent(5))
            bits |= 0x7F800000u; // infinities and NaNs
        const float f = std::bit_cast<float>(bits);
        Outcome want = oracle(static_cast<long double>(f));
        if (std::isinf(f))
            want.kind = Kind::Invalid; // we refuse both
        char buf[16];
        std::snprintf(buf, sizeof buf, "%08X", bits);
        m.check(ours([&] { return Extended::fromFloat(f); }), want, buf);
    }
    EXPECT_NO_MISMATCH(m);
}

TEST_F(Oracle, FromInt64)
{
    Mismatches m;
    for (std::uint64_t i = 0; i < cases_; ++i) {
        const int bits = g().range(0, 64);
        std::uint64_t u = bits == 0 ? 0 : g().u64() >> (64 - bits);
        if (g().percent(2))
            u = g().coin() ? 0x8000000000000000u : 0x7FFFFFFFFFFFFFFFu;
        const auto v = g().coin() ? static_cast<std::int64_t>(u) : static_cast<std::int64_t>(0 - u);
        m.check(ours([&] { return Extended::fromInt64(v); }), oracle(static_cast<long double>(v)), std::to_string(v));
    }
    EXPECT_NO_MISMATCH(m);
}

// ----- decimal -----

// A nonnegative integer in base 10^9, for writing out exact expansions.
class Decimal {
public:
    explicit Decimal(std::uint64_t v)
    {
        while (v != 0) {
            limbs_.push_back(static_cast<std::uint32_t>(v % 1000000000u));
            v /= 1000000000u;
        }
    }
    void mulAdd(std::uint32_t m, std::uint32_t add)
    {
        std::uint64_t carry = add;
        for (std::uint32_t& l : limbs_) {
            const std::uint64_t t = static_cast<std::uint64_t>(l) * m + carry;
            l = static_cast<std::uint32_t>(t % 1000000000u);
            carry = t / 1000000000u;
        }
        while (carry != 0) {
            limbs_.push_back(static_cast<std::uint32_t>(carry % 1000000000u));
            carry /= 1000000000u;
        }
    }
    void mulPow(std::uint32_t base, int n, std::uint32_t chunkBase, int chunk)
    {
        for (; n >= chunk; n -= chunk)
            mulAdd(chunkBase, 0);
        for (; n > 0; --n)
            mulAdd(base, 0);
    }
    std::string str() const
    {
        if (limbs_.empty())
            return "0";
        std::string s = std::to_string(limbs_.back());
        char buf[16];
        for (std::size_t i = limbs_.size() - 1; i-- > 0;) {
            std::snprintf(buf, sizeof buf, "%09u", limbs_[i]);
            s += buf;
        }
        return s;
    }

private:
    std::vector<std::uint32_t> limbs_;
};

struct DecimalText {
    bool negative = false;
    std::string digits;
    std::int64_t exp10 = 0;
};

// The exact decimal of the point halfway between x (nonzero, finite) and
// the next value up in magnitude: (2 sig + 1) * 2^(q - 1).
DecimalText midpointAbove(Extended x)
{
    const int q = std::max<int>(x.biasedExponent(), 1) - kBias - 63;
    Decimal d(x.significand());
    d.mulAdd(2, 1);
    DecimalText t;
    t.negative = x.sign();
    if (q - 1 >= 0) {
        d.mulPow(2, q - 1, 1u << 29, 29);
    } else {
        d.mulPow(5, 1 - q, 1220703125u, 13);
        t.exp10 = q - 1;
    }
    t.digits = d.str();
    return t;
}

std::string randomDigits(Gen& g, std::size_t n)
{
    std::string s(n, '0');
    for (char& c : s)
        c = static_cast<char>('0' + g.below(10));
    return s;
}

// The same value minus one unit in the last place, written with more digits
// so it sits just below: ...d -> ...(d-1)999.
std::string justBelow(Gen& g, std::string s)
{
    std::size_t i = s.size();
    while (i-- > 0) {
        if (s[i] != '0') {
            --s[i];
            break;
        }
        s[i] = '9';
    }
    return s + std::string(static_cast<std::size_t>(g.range(1, 30)), '9');
}

DecimalText decimalCase(Gen& g)
{
    DecimalText t;
    t.negative = g.percent(30);
    const auto mag = [&t](std::int64_t m) { return m - static_cast<std::int64_t>(t.digits.size()); };
    const std::uint64_t r = g.below(1000);
    if (r < 400) {
        // the fast path: up to 19 digits, exact power of ten
        t.digits = randomDigits(g, static_cast<std::size_t>(g.range(1, 19)));
        t.exp10 = g.range(-27, 27);
    } else if (r < 500) {
        t.digits = randomDigits(g, static_cast<std::size_t>(g.range(1, 19)));
        t.exp10 = g.range(-400, 400);
    } else if (r < 520) {
        t.digits = randomDigits(g, static_cast<std::size_t>(g.range(1, 19)));
        t.exp10 = g.range(-4970, 4945);
    } else if (r < 700) {
        t.digits = randomDigits(g, static_cast<std::size_t>(g.range(20, 40)));
        t.exp10 = mag(g.range(-40, 40));
    } else if (r < 780) {
        // runs of 9s and 0s
        const int runs = g.range(1, 6);
        for (int i = 0; i < runs; ++i) {
            const char c = g.percent(40) ? '9' : g.percent(60) ? '0' : static_cast<char>('0' + g.below(10));
            t.digits += std::string(static_cast<std::size_t>(g.range(1, 30)), c);
        }
        t.exp10 = mag(g.range(-40, 40));
    } else if (r < 800) {
        // long texts, 40 to 5,000 digits
        const auto n = static_cast<std::size_t>(std::exp2(g.range(5300, 12300) / 1000.0));
        t.digits = randomDigits(g, n);
        if (g.percent(30))
            t.digits.replace(1, n / 2, n / 2, g.coin() ? '9' : '0');
        t.exp10 = mag(g.percent(70) ? g.range(-40, 40) : g.range(-4955, 4934));
    } else if (r < 950) {
        // exact midpoints between two neighbours, and just above or below them
        Extended x;
        const int pick = static_cast<int>(g.below(100));
        const int exp = pick < 85   ? kBias + g.range(-100, 100)
                        : pick < 97 ? kBias + g.range(-1200, 1200)
                                    : g.range(-62, 0x7FFD); // -62: at least one bit survives
        do {
            x = Gen::make(false, exp, g.sig());
        } while (x.isZero());
        DecimalText mid = midpointAbove(x);
        t.digits = mid.digits;
        t.exp10 = mid.exp10;
        switch (g.below(3)) {
        case 0: break;
        case 1: {
            const std::size_t pad = static_cast<std::size_t>(g.range(0, 40));
            t.digits += std::string(pad, '0') + static_cast<char>('1' + g.below(9));
            t.exp10 -= static_cast<std::int64_t>(pad) + 1;
            break;
        }
        default: {
            const std::size_t before = t.digits.size();
            t.digits = justBelow(g, t.digits);
            t.exp10 -= static_cast<std::int64_t>(t.digits.size() - before);
            break;
        }
        }
    } else {
        // the ends of the range and powers of ten
        switch (g.below(4)) {
        case 0:
            t.digits = randomDigits(g, static_cast<std::size_t>(g.range(1, 25)));
            t.exp10 = mag(g.range(4930, 4934));
            break;
        case 1:
            t.digits = randomDigits(g, static_cast<std::size_t>(g.range(1, 25)));
            t.exp10 = mag(g.range(-4955, -4925));
            break;
        case 2:
            t.digits = std::string(static_cast<std::size_t>(g.range(1, 60)), '9');
            t.exp10 = g.range(-4960, 4935);
            break;
        default:
            t.digits = "1" + std::string(static_cast<std::size_t>(g.range(0, 60)), '0') + "1";
            t.exp10 = mag(g.range(-4955, 4934));
            break;
        }
    }
    if (g.percent(3))
        t.digits = std::string(static_cast<std::size_t>(g.range(1, 5)), '0') + t.digits;
    return t;
}

// glibc's strtold rounds correctly (ExactDecimalAgreesWithGlibcStrtold
// checks it); MinGW's does not for long texts, nor near the subnormals.
#ifdef __GLIBC__
constexpr bool kStrtoldIsExact = true;
#else
constexpr bool kStrtoldIsExact = false;
#endif

Outcome strtoldOracle(const DecimalText& t)
{
    const std::string text = (t.negative ? "-" : "") + (t.digits.empty() ? std::string("0") : t.digits) + "e"
        + std::to_string(t.exp10);
    return oracle(std::strtold(text.c_str(), nullptr));
}

// The same in exact integer arithmetic, written for the test.
Outcome exactOracle(const DecimalText& t)
{
    const test::X87Fields f = test::decimalToX87(t.negative, t.digits, t.exp10);
    if (f.overflow)
        return {Kind::Overflow, {}};
    return {Kind::Value, Extended::fromParts(f.negative, f.biasedExponent, f.significand)};
}

// The core's reading of t against the exact oracle, and against strtold
// where that is exact too.
void checkDecimal(Mismatches& m, const DecimalText& t, const std::string& what)
{
    const Outcome got = ours([&] { return Extended::fromDecimal(t.negative, t.digits, t.exp10); });
    m.check(got, exactOracle(t), what, "exact");
    if (kStrtoldIsExact)
        m.check(got, strtoldOracle(t), what, "strtold");
}

std::string show(const DecimalText& t)
{
    std::string d = t.digits.size() <= 120 ? t.digits
                                           : t.digits.substr(0, 60) + "...(" + std::to_string(t.digits.size())
                                                 + " digits)..." + t.digits.substr(t.digits.size() - 40);
    return std::string(t.negative ? "-" : "") + d + "e" + std::to_string(t.exp10);
}

TEST_F(Oracle, FromDecimal)
{
    Mismatches m;
    for (std::uint64_t i = 0; i < cases_; ++i) {
        const DecimalText t = decimalCase(g());
        checkDecimal(m, t, show(t));
    }
    EXPECT_NO_MISMATCH(m);
}

DecimalText halfSmallestSubnormal()
{
    Decimal d(1);
    d.mulPow(5, 16446, 1220703125u, 13);
    DecimalText t;
    t.digits = d.str();
    t.exp10 = -16446;
    return t;
}

struct NamedText {
    std::string why;
    DecimalText text;
};

// The extreme rounding boundaries, spelt out in full (up to 11,515 digits),
// exactly and nudged up or down, once a million digits down; both signs.
std::vector<NamedText> rangeEndTexts(Gen& g)
{
    struct Boundary {
        const char* why;
        DecimalText mid;
    };
    const Boundary boundaries[] = {
        {"half the smallest subnormal", halfSmallestSubnormal()},
        {"between the two smallest subnormals", midpointAbove(Extended::fromParts(false, 0, 1))},
        {"between largest subnormal and smallest normal", midpointAbove(Extended::fromParts(false, 0, 0x7FFFFFFFFFFFFFFFu))},
        {"just past the smallest normal", midpointAbove(Extended::fromParts(false, 1, kTop))},
        {"half an ulp above the largest finite", midpointAbove(Extended::fromParts(false, 0x7FFE, kOnes))},
        {"just below the largest finite", midpointAbove(Extended::fromParts(false, 0x7FFE, kOnes - 1))},
    };
    std::vector<NamedText> texts;
    for (const Boundary& b : boundaries) {
        DecimalText above = b.mid;
        above.digits += "0000001";
        above.exp10 -= 7;
        DecimalText farAbove = b.mid; // a megabyte of text, decided by its last digit
        const std::size_t pad = 1000000 - farAbove.digits.size();
        farAbove.digits += std::string(pad, '0') + "1";
        farAbove.exp10 -= static_cast<std::int64_t>(pad) + 1;
        DecimalText below = b.mid;
        below.digits = justBelow(g, below.digits);
        below.exp10 -= static_cast<std::int64_t>(below.digits.size() - b.mid.digits.size());
        for (const DecimalText& t : {b.mid, above, farAbove, below}) {
            for (bool negative : {false, true}) {
                DecimalText s = t;
                s.negative = negative;
                texts.push_back({std::string(b.why) + ": " + show(s), s});
            }
        }
    }
    return texts;
}

TEST_F(Oracle, FromDecimalAtTheRangeEnds)
{
    Mismatches m;
    for (const NamedText& t : rangeEndTexts(g()))
        checkDecimal(m, t.text, t.why);
    EXPECT_NO_MISMATCH(m);
    // the tie at half the smallest subnormal goes to even, i.e. zero
    const DecimalText halfSmallest = halfSmallestSubnormal();
    EXPECT_TRUE(Extended::fromDecimal(false, halfSmallest.digits, halfSmallest.exp10).isZero());
}

// The exact oracle against glibc's strtold, on the texts the tests above
// draw from, and on the powers of ten ToDecimal18 scales by.
TEST_F(Oracle, ExactDecimalAgreesWithGlibcStrtold)
{
    if (!kStrtoldIsExact)
        GTEST_SKIP() << "strtold here is not glibc's";
    Mismatches m;
    const auto check = [&m](const DecimalText& t, const std::string& what) {
        const Outcome exact = exactOracle(t);
        const Outcome libc = strtoldOracle(t);
        if (!same(exact, libc))
            m.add(what + " -> exact " + describe(exact) + ", strtold " + describe(libc));
    };
    for (std::uint64_t i = 0; i < cases_; ++i) {
        const DecimalText t = decimalCase(g());
        check(t, show(t));
    }
    for (const NamedText& t : rangeEndTexts(g()))
        check(t.text, t.why);
    for (std::int64_t k = -4960; k <= 4940; ++k) {
        const DecimalText t{false, "1", k};
        check(t, show(t));
    }
    EXPECT_NO_MISMATCH(m);
}

// A few values worked out by hand, for where no strtold can be trusted.
TEST_F(Oracle, ExactDecimalKnownValues)
{
    struct Case {
        const char* digits;
        std::int64_t exp10;
        bool negative;
        Outcome want;
    };
    const Extended below2p61 = Extended::fromParts(false, 0x403B, kOnes); // 2^61 - 1/8
    const Extended twoP61 = Extended::fromParts(false, 0x403C, kTop);
    const Case cases[] = {
        // 2^61 - 1/16 is the midpoint under 2^61: a hair below, on it (the
        // even neighbour is 2^61), a hair above
        {"230584300921369395193749999999999999999999999999999", -32, false, {Kind::Value, below2p61}},
        {"23058430092136939519375", -4, false, {Kind::Value, twoP61}},
        {"230584300921369395193750000000000000000000000000001", -32, false, {Kind::Value, twoP61}},
        {"", 0, true, {Kind::Value, Extended::fromParts(true, 0, 0)}},
        {"000", 99999, false, {Kind::Value, Extended::fromParts(false, 0, 0)}},
        {"1", 0, false, {Kind::Value, Extended::fromParts(false, 0x3FFF, kTop)}},
        {"5", -1, true, {Kind::Value, Extended::fromParts(true, 0x3FFE, kTop)}},
        {"18446744073709551615", 0, false, {Kind::Value, Extended::fromParts(false, 0x403E, kOnes)}},
        {"18446744073709551616", 0, false, {Kind::Value, Extended::fromParts(false, 0x403F, kTop)}},
        // the largest finite is 1.18973149535723176502...e4932, the midpoint
        // above it 2^16384 - 2^16319 = 1.18973149535723176505351...e4932
        {"118973149535723176505", 4912, false, {Kind::Value, Extended::fromParts(false, 0x7FFE, kOnes)}},
        {"118973149535723176506", 4912, true, {Kind::Overflow, {}}},
        {"1", 4933, false, {Kind::Overflow, {}}},
        // half the smallest subnormal is 2^-16446 = 1.82259976594123730126420...e-4951
        {"182259976594123730126", -4971, false, {Kind::Value, Extended::fromParts(false, 0, 0)}},
        {"182259976594123730127", -4971, true, {Kind::Value, Extended::fromParts(true, 0, 1)}},
        {"1", -4952, false, {Kind::Value, Extended::fromParts(false, 0, 0)}},
    };
    for (const Case& c : cases) {
        const DecimalText t{c.negative, c.digits, c.exp10};
        const Outcome got = exactOracle(t);
        EXPECT_TRUE(same(got, c.want)) << show(t) << " -> " << describe(got) << ", want " << describe(c.want);
    }
}

// toDecimal18, the same steps in long double.
struct PowersLD {
    std::vector<long double> p;
    PowersLD() : p(4933)
    {
        for (int k = 0; k < 4933; ++k) {
            const DecimalText t{false, "1", k};
            p[static_cast<std::size_t>(k)] =
                kStrtoldIsExact ? std::strtold(("1e" + std::to_string(k)).c_str(), nullptr) : toLD(exactOracle(t).value);
        }
    }
};

Extended::Decimal18 toDecimal18LD(long double x, const std::vector<long double>& p)
{
    Extended::Decimal18 r;
    r.negative = std::signbit(x);
    if (std::fpclassify(x) == FP_ZERO)
        return r;
    const long double ax = std::fabs(x);
    const int e2 = std::ilogb(ax);
    int k = 17 - ((e2 * 78913) >> 18);
    for (;;) {
        long double y;
        if (k < 0)
            y = ax / p[static_cast<std::size_t>(-k)];
        else if (k > 4900)
            y = (ax * p[4900]) * p[static_cast<std::size_t>(k - 4900)];
        else
            y = ax * p[static_cast<std::size_t>(k)];
        const auto d = static_cast<std::uint64_t>(std::nearbyint(y));
        if (d == 1000000000000000000u) {
            r.digits = 100000000000000000u;
            r.exp10 = -k + 1;
            return r;
        }
        if (d > 1000000000000000000u)
            --k;
        else if (d < 100000000000000000u)
            ++k;
        else {
            r.digits = d;
            r.exp10 = -k;
            return r;
        }
    }
}

TEST_F(Oracle, ToDecimal18)
{
    static const PowersLD powers;
    Mismatches m;
    for (std::uint64_t i = 0; i < cases_; ++i) {
        Extended x;
        switch (g().below(4)) {
        case 0: x = g().any(); break;
        case 1: x = Gen::make(g().coin(), g().range(-63, 0x7FFE), g().sig()); break;
        case 2: {
            // 18 or 19 digits over a power of ten: near the decimal ties
            const std::int64_t digits = static_cast<std::int64_t>(g().below(9000000000000000000u)) + 100000000000000000;
            x = Extended::fromInt64(g().coin() ? digits : -digits) / Extended::powerOfTen(g().range(0, 40));
            break;
        }
        default: {
            // next to a power of ten
            const Extended p = Extended::powerOfTen(g().range(0, 4932));
            const auto step = static_cast<std::uint64_t>(g().range(-3, 3));
            x = Extended::fromParts(false, p.biasedExponent(), p.significand() + step);
            if ((x.significand() & kTop) == 0)
                x = p;
            if (g().coin())
                x = x / Extended::powerOfTen(4932);
            break;
        }
        }
        const Extended::Decimal18 got = x.toDecimal18();
        const Extended::Decimal18 want = toDecimal18LD(toLD(x), powers.p);
        if (got.negative != want.negative || got.digits != want.digits || got.exp10 != want.exp10) {
            char buf[160];
            std::snprintf(buf, sizeof buf, " -> got %d %" PRIu64 "e%d, x87 %d %" PRIu64 "e%d", got.negative, got.digits,
                          got.exp10, want.negative, want.digits, want.exp10);
            m.add(hex(x) + buf);
        }
    }
    EXPECT_NO_MISMATCH(m);
}

} // namespace
} // namespace brindelor
