// The computation, row by row: base, modifiers, then the five texts in
// output order, or the fields written before the failing step and its message.

#include "brindelor/tariff/compute.h"
#include "brindelor/tariff/entry_rules.h"
#include "brindelor/tariff/errors.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <ostream>
#include <optional>
#include <string>
#include <vector>

namespace brindelor {
namespace {

const Separators kFrench{",", "\xE2\x80\xAF"};

constexpr float kEffacer = 0.0f, kO = 0.3f, k9 = 1.9f, kI = 4.6f, kX = 8.0f, kK = 11.5f;

// Records every write, so the order and the partial writes can be checked.
class Recorder final : public TariffIO {
public:
    explicit Recorder(std::string base) : base_(std::move(base)) {}
    Extended readBase() override
    {
        ++reads;
        return entryRead(base_, kFrench);
    }
    void writeField(ResultField field, std::string_view text) override
    {
        order.push_back(field);
        fields[static_cast<std::size_t>(field)] = std::string(text);
    }
    int reads = 0;
    std::vector<ResultField> order;
    std::array<std::optional<std::string>, kResultFieldCount> fields;

private:
    std::string base_;
};

struct Case {
    const char* name;
    const char* base; // the entry's text, as displayed
    float modif1, modif2;
    std::array<const char*, kResultFieldCount> expected; // nullptr: not written
    const char* error;                                   // nullptr: success
};

const Case kCases[] = {
    {"road of a typical event", "100", kK, kEffacer, {"11,5%", "111,5", "124,32", "123", "1,32"}, nullptr},
    {"2013 exact half goes up to even", "25", kO, kEffacer, {"0,3%", "25,08", "25,15", "25,15", "0"}, nullptr},
    {"2013 exact half goes down to even", "20,13", kEffacer, kK, {"11,5%", "22,44", "25,03", "24,76", "0,27"}, nullptr},
    {"just above the half", "1", k9, kI, {"6,5%", "1,07", "1,13", "1,13", "0"}, nullptr},
    {"just below the half", "5", kEffacer, k9, {"1,9%", "5,09", "5,19", "5,19", "0"}, nullptr},
    {"rate sum rounded to single", "25", kO, k9, {"2,2%", "25,55", "26,11", "26,1", "0,01"}, nullptr},
    {"I and K", "41,81", kI, kK, {"16,1%", "48,54", "56,36", "55,27", "1,09"}, nullptr},
    {"same modifier twice", "69,12", kK, kK, {"23%", "85,02", "104,57", "100,92", "3,65"}, nullptr},
    {"difference of displayed values", "0,01", kK, kK, {"23%", "0,01", "0,02", "0,01", "0,01"}, nullptr},
    {"negative compounded tie to even", "-10", kK, kEffacer, {"11,5%", "-11,15", "-12,43", "-12,3", "-0,13"}, nullptr},
    {"empty entry", "", kO, k9, {"2,2%", "0", "0", "0", "0"}, nullptr},
    {"15 digits rounded half away", "11 111 111 111 111,45", kEffacer, kEffacer,
     {"0%", "11111111111111,5", "11111111111111,5", "11111111111111,5", "0"}, nullptr},
    {"zero rates still write all", "12,5", kEffacer, kEffacer, {"0%", "12,5", "12,5", "12,5", "0"}, nullptr},
    {"X alone", "3,33", kX, kEffacer, {"8%", "3,6", "3,88", "3,86", "0,02"}, nullptr},
    {"shown 2014 tariff unreadable up to ,58 (the base still a count)", "922 337 203 685 477,58", kEffacer, kEffacer,
     {"0%", "922337203685478", "922337203685478", "922337203685478", nullptr},
     "'922337203685478' n'est pas une valeur en virgule flottante correcte"},

    // The base itself beyond the count range.
    {"base beyond the count range", "922 337 203 685 477,59", kEffacer, kEffacer, {}, "Opération en virgule flottante incorrecte"},
    {"negative base beyond the count range", "-922 337 203 685 477,59", kK, kEffacer, {}, "Opération en virgule flottante incorrecte"},
    // Base plus increase beyond it.
    {"2013 tariff beyond the count range", "900 000 000 000 000", kK, kEffacer, {}, "Opération en virgule flottante incorrecte"},
    // The compounded value beyond it; the first two fields written.
    {"compounded 2014 tariff beyond the count range, one K", "800 000 000 000 000", kK, kEffacer, {"11,5%", "892000000000000", nullptr, nullptr, nullptr},
     "Opération en virgule flottante incorrecte"},
    {"compounded 2014 tariff beyond the count range, two K", "700 000 000 000 000", kK, kK, {"23%", "861000000000000", nullptr, nullptr, nullptr},
     "Opération en virgule flottante incorrecte"},
    // A 2014 tariff shown rounded to 15 digits beyond the range.
    {"shown 2014 tariff unreadable from ,50", "922 337 203 685 477,5", kEffacer, kEffacer,
     {"0%", "922337203685478", "922337203685478", "922337203685478", nullptr},
     "'922337203685478' n'est pas une valeur en virgule flottante correcte"},
    {"shown 2014 tariff readable below ,495", "922 337 203 685 477,49", kEffacer, kEffacer,
     {"0%", "922337203685477", "922337203685477", "922337203685477", "0"}, nullptr},
};

// gtest shows a case by its name, not by its bytes.
void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

class ComputeTable : public testing::TestWithParam<Case> {};

TEST_P(ComputeTable, WritesFieldsInOrderUpToTheFailingStep)
{
    const Case& c = GetParam();
    Recorder io(c.base);
    std::optional<std::string> error;
    try {
        computeTariffs(io, c.modif1, c.modif2, kFrench);
    } catch (const TariffError& e) {
        error = e.what();
    }

    ASSERT_EQ(error.has_value(), c.error != nullptr) << (error ? *error : std::string("no error"));
    if (c.error) {
        EXPECT_EQ(*error, c.error);
    }
    std::size_t written = 0;
    for (std::size_t f = 0; f < kResultFieldCount; ++f) {
        if (c.expected[f] == nullptr) {
            EXPECT_FALSE(io.fields[f].has_value()) << "field " << f << " written: " << *io.fields[f];
        } else {
            ++written;
            ASSERT_TRUE(io.fields[f].has_value()) << "field " << f << " not written";
            EXPECT_EQ(*io.fields[f], c.expected[f]) << "field " << f;
        }
    }
    // Written as produced, in output order.
    ASSERT_EQ(io.order.size(), written);
    for (std::size_t k = 0; k < io.order.size(); ++k)
        EXPECT_EQ(static_cast<std::size_t>(io.order[k]), k);
}

std::string caseName(const testing::TestParamInfo<Case>& info)
{
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, ComputeTable, testing::ValuesIn(kCases), caseName);

TEST(Compute, ReadsTheBaseTwice)
{
    Recorder io("100");
    computeTariffs(io, kK, kEffacer, kFrench);
    EXPECT_EQ(io.reads, 2);
}

TEST(Compute, BaseBeyondTheExtendedRangeOverflowsBeforeAnyField)
{
    // Only a pasted text of thousands of digits gets here.
    Recorder io("1" + std::string(4931, '0'));
    EXPECT_THROW(computeTariffs(io, kK, kEffacer, kFrench), FloatOverflowError);
    EXPECT_TRUE(io.order.empty());
}

TEST(Compute, UsesTheGivenDecimalSeparator)
{
    class Io final : public TariffIO {
    public:
        Extended readBase() override { return entryRead("20.13", {".", ","}); }
        void writeField(ResultField f, std::string_view t) override { out[static_cast<std::size_t>(f)] = t; }
        std::array<std::string, kResultFieldCount> out;
    } io;
    computeTariffs(io, kEffacer, kK, {".", ","});
    EXPECT_EQ(io.out, (std::array<std::string, kResultFieldCount>{"11.5%", "22.44", "25.03", "24.76", "0.27"}));
}

} // namespace
} // namespace brindelor
