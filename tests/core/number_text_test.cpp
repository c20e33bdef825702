// Display rounding and the general text.

#include "brindelor/tariff/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <string>

namespace brindelor {
namespace {

// count / 10000 in extended, as the computation forms its results.
Extended fromCount(std::int64_t count)
{
    return Extended::fromInt64(count) / Extended::fromInt64(10000);
}

struct RoundCase {
    std::int64_t count;
    const char* shown;
};

TEST(DisplayRound, HalvesAndNearHalves)
{
    const RoundCase cases[] = {
        {224450, "22,44"},  // exact half, down to even
        {250750, "25,08"},  // exact half, up to even
        {10650, "1,07"},    // lands just above the half
        {50950, "5,09"},    // lands just below the half
        {-124325, "-12,43"},
        {1243225, "124,32"},
        {0, "0"},
        {50, "0"},          // these three scale onto the half: to even
        {150, "0,02"},
        {-250, "-0,02"},
        {111111111111114500, "11111111111111,5"}, // below the half, then 15 digits
    };
    for (const auto& c : cases)
        EXPECT_EQ(generalText(displayRound(fromCount(c.count)), ","), c.shown) << c.count;
}

TEST(GeneralText, FixedAndScientificForms)
{
    struct Case {
        Extended x;
        const char* text;
    };
    const Case cases[] = {
        {Extended(), "0"},
        {-Extended(), "0"},
        {Extended::fromInt64(123), "123"},
        {Extended::fromFloat(11.5f), "11,5"},
        {Extended::fromFloat(0.3f), "0,300000011920929"}, // the float's own digits, 15 of them
        {Extended::fromInt64(-7), "-7"},
        {Extended::fromDecimal(false, "1", -4), "0,0001"},             // smallest fixed
        {Extended::fromDecimal(false, "9", -5), "9E-5"},               // below it
        {Extended::fromDecimal(false, "123456789012345", 0), "123456789012345"}, // 15 integer digits
        {Extended::fromDecimal(false, "1234567890123456", 0), "1,23456789012346E15"},
        {Extended::fromDecimal(false, "999999999999999951", -3), "1E15"}, // rounds up a digit
        {Extended::fromDecimal(true, "25", -7), "-2,5E-6"},
        {Extended::fromDecimal(false, "1", 4000), "1E4000"},
        {Extended::fromDecimal(false, "1", -4000), "1E-4000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(generalText(c.x, ","), c.text);
}

TEST(GeneralText, SeparatorIsAParameterNotTheProcessLocale)
{
    // A hostile C locale must change nothing.
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    if (std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr)
        GTEST_SKIP() << "no fr_FR.UTF-8 locale on this machine";
    EXPECT_EQ(generalText(Extended::fromFloat(11.5f), "."), "11.5");
    EXPECT_EQ(generalText(Extended::fromFloat(11.5f), "\xD9\xAB"), "11\xD9\xAB" "5");
    std::setlocale(LC_ALL, saved.c_str());
}

} // namespace
} // namespace brindelor
