// Currency's fixed-point text and parse.

#include "brindelor/tariff/currency.h"
#include "brindelor/tariff/errors.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace brindelor {
namespace {

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

TEST(FixedPointText, AllDigitsExactNeverRounded)
{
    const struct {
        std::int64_t count;
        const char* text;
    } cases[] = {
        {0, "0"},
        {13200, "1,32"},
        {123400, "12,34"},
        {-1, "-0,0001"},
        {10000, "1"},
        {-1300, "-0,13"},
        {kMax, "922337203685477,5807"},
        {kMin, "-922337203685477,5808"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fixedPointText(Currency{c.count}, ","), c.text);
    EXPECT_EQ(fixedPointText(Currency{13200}, "."), "1.32");
}

TEST(ParseFixedPoint, AcceptedTexts)
{
    const struct {
        const char* text;
        std::int64_t count;
    } cases[] = {
        {"0", 0},
        {"124,32", 1243200},
        {"  -12,3  ", -123000},
        {"+5", 50000},
        {"1e3", 10000000},
        {"1,5E-2", 150},
        {"25e+0", 250000},
        {"0,00005", 0},   // half a count: to even, 0
        {"0,00015", 2},   // one and a half: to even, 2
        {"0,00025", 2},
        {"0,000051", 1},
        {"-0,00005", 0},
        {"922337203685477,5807", kMax},
        {"-922337203685477,5808", kMin},
        {"922337203685477,58074", kMax}, // rounds down into range
        {"0000000000000000000000000001", 10000},
        {"1e-99999999999999999999", 0},
        {"0e99999999999", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseFixedPoint(c.text, ",").count, c.count) << c.text;
}

TEST(ParseFixedPoint, RefusedTextsNameTheWholeText)
{
    const std::string nnbsp = "\xE2\x80\xAF"; // French grouping: the parse knows no grouping
    const std::string refused[] = {
        "", " ", "-", "1,", ",5", "1.5", "1 234", "1,2,3", "e5", "1e", "1e+", "--1", "1-",
        "922337203685478", "922337203685477,5808", "-922337203685477,58086", "1e15", "12a",
        "1" + nnbsp + "000",
    };
    for (const std::string& text : refused) {
        try {
            parseFixedPoint(text, ",");
            ADD_FAILURE() << "accepted: '" << text << "'";
        } catch (const ConversionError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + text + "' n'est pas une valeur en virgule flottante correcte");
        }
    }
}

TEST(ParseFixedPoint, RoundTripsTheFixedPointText)
{
    for (std::int64_t count : {kMin, kMin + 1, std::int64_t{-1}, std::int64_t{0}, std::int64_t{1},
                               std::int64_t{123456789}, kMax - 1, kMax}) {
        for (const char* sep : {",", ".", "\xE2\x80\xAF"}) {
            EXPECT_EQ(parseFixedPoint(fixedPointText(Currency{count}, sep), sep).count, count);
        }
    }
}

} // namespace
} // namespace brindelor
