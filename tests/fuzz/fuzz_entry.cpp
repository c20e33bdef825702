// The entry's rules on any bytes: no crash, and the formatted text is a fixed
// point of read-then-format.
#include "brindelor/tariff/entry_rules.h"
#include "brindelor/tariff/errors.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace brindelor;

namespace {

const Separators kSeps[] = {
    {",", "\xE2\x80\xAF"}, {".", ","}, {",", "."}, {",", "\xC2\xA0"}, {"\xD9\xAB", "\xD9\xAC"}, {",", " "},
};

void check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const Separators& seps = kSeps[data[0] % std::size(kSeps)];
    const std::size_t pos = data[1];
    const std::size_t len = data[2] % 4;
    const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);

    try {
        const std::string formatted = entryFormat(entryRead(text, seps), seps);
        check(entryPasteKept(formatted, seps));
        const Extended again = entryRead(formatted, seps);
        check(entryFormat(again, seps) == formatted);
        check(!entryDisplayText(again, seps).empty());
    } catch (const FloatOverflowError&) {
        // A text beyond the extended range: the computation reports it.
    }

    entryPasteKept(text, seps);

    // Type the last byte (or a separator) into the rest at some position.
    const std::string_view current = text.substr(0, text.size() - 1);
    const std::string_view typed = text.substr(text.size() - 1);
    const TypingResult r = entryType(current, pos % (current.size() + 1), len, typed, seps);
    if (r.accepted) {
        // What typing lets in is always something the paste rule keeps, and
        // reads without overflow (it has at most a few digits more).
        check(entryPasteKept(r.text, seps));
        check(r.cursor <= r.text.size());
    }
    return 0;
}
