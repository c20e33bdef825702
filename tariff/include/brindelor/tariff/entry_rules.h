#pragma once
// The number rules of the base-tariff entry, free of any GUI. Texts are
// UTF-8; positions are byte offsets into them.

#include "brindelor/tariff/extended.h"
#include "brindelor/tariff/separators.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace brindelor {

// Read rule: spaces (any Unicode space) and group separators are removed,
// "." and "," and the locale's decimal separator all count as the decimal
// separator, every other character but digits and "+"/"-" is dropped. An
// empty text, a lone sign, and a text that is still not
// [sign] digits [sep digits] read as 0. Any number of digits, correctly
// rounded. Beyond the extended range: FloatOverflowError.
Extended entryRead(std::string_view text, const Separators& seps);

// The formatted text: the 18-significant-digit decimal of the value rounded
// half away from zero to at most two decimals, trailing zeros and a bare
// separator dropped, integer digits grouped by three; "" for 0 and for
// anything that rounds to 0. Pasted
// "1,005" (just below 1.005 in extended) formats as "1,01".
std::string entryFormat(Extended value, const Separators& seps);

// What the entry shows without the focus: the formatted text, "0" for 0.
std::string entryDisplayText(Extended value, const Separators& seps);

// A typed character (one UTF-8 encoded code point) replacing the selection
// [selStart, selStart + selLength) of text. "." and "," enter the decimal
// separator. Accepted when the result, group separators and spaces already
// in the text aside, is still [sign] digits [sep at most two digits]; a
// typed space is refused.
struct TypingResult {
    bool accepted = false;
    std::string text;      // the new text when accepted
    std::size_t cursor = 0; // byte offset of the caret after the character
};
TypingResult entryType(std::string_view text, std::size_t selStart, std::size_t selLength,
                       std::string_view typed, const Separators& seps);

// A paste is kept unless what the read rule keeps of the resulting text has
// digits and is still not a number (two separators, a sign among digits).
bool entryPasteKept(std::string_view textAfterPaste, const Separators& seps);

} // namespace brindelor
