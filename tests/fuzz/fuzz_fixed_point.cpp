// The fixed-point parse: no crash, accepts exactly its grammar, and
// round-trips the fixed-point text.
#include "brindelor/tariff/currency.h"
#include "brindelor/tariff/errors.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

using namespace brindelor;

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

// The grammar, written a second time as a plain state machine.
bool matchesGrammar(std::string_view s, std::string_view sep)
{
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t b = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            ++i;
        return i > b;
    };
    while (i < s.size() && s[i] == ' ')
        ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    if (!digits())
        return false;
    if (s.substr(i, sep.size()) == sep) {
        i += sep.size();
        if (!digits())
            return false;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (!digits())
            return false;
    }
    while (i < s.size() && s[i] == ' ')
        ++i;
    return i == s.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::string_view sep = (data[0] & 1) ? "," : ".";
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    bool accepted = false;
    try {
        const Currency c = parseFixedPoint(text, sep);
        accepted = true;
        check(parseFixedPoint(fixedPointText(c, sep), sep) == c);
    } catch (const ConversionError&) {
    }
    // Every accepted text matches; a refused one either doesn't or is out of range.
    if (accepted)
        check(matchesGrammar(text, sep));

    if (size >= 9) {
        std::int64_t count;
        std::memcpy(&count, data + 1, 8);
        check(parseFixedPoint(fixedPointText(Currency{count}, sep), sep).count == count);
    }
    return 0;
}
