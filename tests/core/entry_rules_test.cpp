// The base-tariff entry's number rules: read, format, typing, paste.

#include "brindelor/tariff/entry_rules.h"
#include "brindelor/tariff/errors.h"
#include "brindelor/tariff/number_text.h"

#include <gtest/gtest.h>

#include <string>

namespace brindelor {
namespace {

const std::string kNnbsp = "\xE2\x80\xAF"; // French group separator
const Separators kFrench{",", kNnbsp};
const Separators kEnglish{".", ","};
const Separators kGerman{",", "."};

// The value read, shown with enough digits to tell neighbours apart.
std::string readAs(std::string_view text, const Separators& seps)
{
    const Extended v = entryRead(text, seps);
    const auto d = v.toDecimal18();
    if (d.digits == 0)
        return "0";
    // appended, not chained with operator+: g++ -O3 sees a false overlap (-Wrestrict)
    std::string s = d.negative ? "-" : "";
    s += std::to_string(d.digits);
    s += 'e';
    s += std::to_string(d.exp10);
    return s;
}

TEST(EntryRead, CleansThenParses)
{
    const struct {
        const char* text;
        const Separators* seps;
        const char* value;
    } cases[] = {
        {"", &kFrench, "0"},
        {"-", &kFrench, "0"},
        {"+", &kFrench, "0"},
        {"100", &kFrench, "100000000000000000e-15"},
        {"1234,5", &kFrench, "123450000000000000e-14"},
        {"1.5", &kFrench, "150000000000000000e-17"},      // "." is a separator too
        {"1 234,5", &kFrench, "123450000000000000e-14"},   // plain space
        {"abc12x,5", &kFrench, "125000000000000000e-16"},  // other characters dropped
        {"-0,5", &kFrench, "-500000000000000000e-18"},
        {"1,2,3", &kFrench, "0"},                          // still not a number
        {"1-2", &kFrench, "0"},
        {"1,234.5", &kEnglish, "123450000000000000e-14"},  // "," groups in English
        {"1.234,5", &kGerman, "123450000000000000e-14"},   // "." groups in German
        {"12E3", &kFrench, "123000000000000000e-15"},      // no exponent: E is dropped
        {"\xff\xfe" "7", &kFrench, "700000000000000000e-17"}, // stray bytes dropped
    };
    for (const auto& c : cases)
        EXPECT_EQ(readAs(c.text, *c.seps), c.value) << c.text;
    EXPECT_EQ(readAs("1" + kNnbsp + "234,5", kFrench), "123450000000000000e-14");
}

TEST(EntryRead, LongTextsAreCorrectlyRounded)
{
    EXPECT_EQ(entryRead("1,005", kFrench), Extended::fromDecimal(false, "1005", -3));
    const std::string longText = "0," + std::string(3000, '3');
    EXPECT_EQ(entryRead(longText, kFrench), Extended::fromDecimal(false, std::string(3000, '3'), -3000));
    EXPECT_THROW(entryRead("1" + std::string(5000, '0'), kFrench), FloatOverflowError);
    EXPECT_TRUE(entryRead("0," + std::string(6000, '0') + "1", kFrench).isZero());
}

TEST(EntryFormat, GroupsAndRoundsHalfAwayFromZero)
{
    const struct {
        const char* text; // read, then formatted
        const char* formatted;
    } cases[] = {
        {"0", ""},
        {"-0", ""},
        {"100", "100"},
        {"1234,5", "1 234,5"},
        {"1234567,891", "1 234 567,89"},
        {"1,005", "1,01"},   // its 18-digit decimal is 1,00500000000000000
        {"12,345", "12,35"},
        {"-12,345", "-12,35"},
        {"0,004", ""},       // not zero, but nothing shows at two decimals
        {"0,005", "0,01"},
        {"999,999", "1 000"},
        {"922337203685477,58", "922 337 203 685 477,58"},
        {"123456789012345678901234", "123 456 789 012 345 679 000 000"}, // 18 digits, then zeros
    };
    const Separators spaced{",", " "};
    for (const auto& c : cases)
        EXPECT_EQ(entryFormat(entryRead(c.text, spaced), spaced), c.formatted) << c.text;
    EXPECT_EQ(entryFormat(entryRead("1234,5", kFrench), kFrench), "1" + kNnbsp + "234,5");
    EXPECT_EQ(entryFormat(entryRead("1234.5", kEnglish), kEnglish), "1,234.5");
    EXPECT_EQ(entryDisplayText(Extended(), kFrench), "0");
}

TEST(EntryFormat, FormatThenReadIsStable)
{
    for (const char* text : {"1234,5", "0,01", "-77,7", "1,005", "922337203685477,58", "5e9999", "0,0049"}) {
        const std::string once = entryFormat(entryRead(text, kFrench), kFrench);
        EXPECT_EQ(entryFormat(entryRead(once, kFrench), kFrench), once) << text;
    }
}

TEST(EntryType, AcceptsOnlyNumbersWithTwoDecimals)
{
    struct Case {
        const char* text;
        std::size_t selStart, selLength;
        const char* typed;
        const char* result; // nullptr: refused
    };
    const Case cases[] = {
        {"", 0, 0, "1", "1"},
        {"", 0, 0, "-", "-"},
        {"", 0, 0, ",", ","},
        {"12", 2, 0, ".", "12,"},        // "." enters the locale's separator
        {"12,3", 4, 0, "4", "12,34"},
        {"12,34", 5, 0, "5", nullptr},  // a third decimal
        {"12,34", 0, 0, "5", "512,34"}, // digits before the separator are fine
        {"12,34", 3, 2, "9", "12,9"},    // replacing the selection
        {"12,3", 2, 0, ",", nullptr},    // a second separator
        {"12", 1, 0, "-", nullptr},      // sign among the digits
        {"-1", 0, 0, "-", nullptr},
        {"12", 2, 0, "a", nullptr},
        {"12", 2, 0, " ", nullptr},
        {"12", 2, 0, "e", nullptr},
        {"12", 2, 0, "\t", nullptr},
        {"99", 0, 2, "7", "7"},
    };
    for (const auto& c : cases) {
        const TypingResult r = entryType(c.text, c.selStart, c.selLength, c.typed, kFrench);
        if (c.result == nullptr) {
            EXPECT_FALSE(r.accepted) << c.text << " + " << c.typed;
        } else {
            EXPECT_TRUE(r.accepted) << c.text << " + " << c.typed;
            EXPECT_EQ(r.text, c.result);
            EXPECT_EQ(r.cursor, c.selStart + std::string(r.text).size() - std::string(c.text).size() + c.selLength);
        }
    }
}

TEST(EntryType, GroupedTextStaysEditable)
{
    // Gaining the focus puts the grouped text in the edit.
    const std::string grouped = "1" + kNnbsp + "234,5";
    const TypingResult r = entryType(grouped, grouped.size(), 0, "6", kFrench);
    ASSERT_TRUE(r.accepted);
    EXPECT_EQ(r.text, grouped + "6");
    EXPECT_FALSE(entryType(r.text, r.text.size(), 0, "7", kFrench).accepted);
    // Plain spaces, as a pasted "1 000" leaves them, do not block typing;
    // typing a space still does nothing.
    EXPECT_EQ(entryType("1 000", 5, 0, "5", kFrench).text, "1 0005");
    EXPECT_EQ(entryType("1 000", 0, 0, "-", kFrench).text, "-1 000");
    EXPECT_FALSE(entryType("1 000", 5, 0, " ", kFrench).accepted);
    EXPECT_FALSE(entryType("1 000,12", 8, 0, "3", kFrench).accepted);
    // In English "," types the "." separator, never a group.
    EXPECT_EQ(entryType("3", 1, 0, ",", kEnglish).text, "3.");
}

TEST(EntryPaste, UndoneOnlyWhenKeptCharactersAreNotANumber)
{
    const struct {
        const char* text;
        bool kept;
    } cases[] = {
        {"1 234,56", true},
        {"12,345", true},        // kept: decimals are the format's business
        {"abc", true},           // no digit at all: stays, reads as 0
        {"-", true},
        {"Total : 42 €", true},
        {"1,2,3", false},        // two separators
        {"1.2,3", false},
        {"12-3", false},         // a sign among the digits
        {"+-5", false},
        {"5-", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(entryPasteKept(c.text, kFrench), c.kept) << c.text;
}

} // namespace
} // namespace brindelor
