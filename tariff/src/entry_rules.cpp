#include "brindelor/tariff/entry_rules.h"

#include "pow10.h"

#include <cstdint>

namespace brindelor {

namespace {

using detail::kPow10;

// What the entry's rules see of a text, one token at a time.
enum class Token { Digit, Sign, Separator, Skipped, Other };

// Length of the UTF-8 sequence starting at s[i] and its code point; a stray
// or truncated byte counts as one byte of no known character.
std::size_t decodeUtf8(std::string_view s, std::size_t i, char32_t& cp)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t len = 1;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1Fu;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0Fu;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07u;
    } else {
        cp = 0xFFFD;
        return 1;
    }
    if (i + len > s.size()) {
        cp = 0xFFFD;
        return 1;
    }
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            cp = 0xFFFD;
            return 1;
        }
        cp = (cp << 6) | (b & 0x3Fu);
    }
    return len;
}

bool isUnicodeSpace(char32_t cp)
{
    return cp == U' ' || cp == U'\t' || cp == 0x00A0 || cp == 0x1680 || (cp >= 0x2000 && cp <= 0x200A)
        || cp == 0x202F || cp == 0x205F || cp == 0x3000;
}

// The first byte is compared on its own: most characters stop there.
bool startsWith(std::string_view s, std::size_t i, std::string_view what)
{
    return !what.empty() && s[i] == what[0] && s.compare(i, what.size(), what) == 0;
}

// Reads one token at s[i]; returns its length. Group separators come first,
// so that a locale grouping with "." or "," keeps them as groups.
std::size_t nextToken(std::string_view s, std::size_t i, const Separators& seps, Token& token, char& ch)
{
    const char c = s[i];
    ch = c;
    // Only a character that can start a separator needs the string compares.
    const bool maybeSeparator = (!seps.group.empty() && c == seps.group[0])
        || (!seps.decimal.empty() && c == seps.decimal[0]);
    if (maybeSeparator) {
        if (startsWith(s, i, seps.group)) {
            token = Token::Skipped;
            return seps.group.size();
        }
        if (startsWith(s, i, seps.decimal)) {
            token = Token::Separator;
            return seps.decimal.size();
        }
    }
    if (c >= '0' && c <= '9') {
        token = Token::Digit;
        return 1;
    }
    if (c == '+' || c == '-') {
        token = Token::Sign;
        return 1;
    }
    if (c == '.' || c == ',') {
        token = Token::Separator;
        return 1;
    }
    if (static_cast<unsigned char>(c) < 0x80) {
        token = (c == ' ' || c == '\t') ? Token::Skipped : Token::Other;
        return 1;
    }
    char32_t cp = 0;
    const std::size_t len = decodeUtf8(s, i, cp);
    token = isUnicodeSpace(cp) ? Token::Skipped : Token::Other;
    return len;
}

// What the read rule keeps of a text: sign, digits and separators, in order.
struct Kept {
    bool anyDigit = false;
    bool valid = true; // [sign] digits [sep digits], at least one digit
    bool negative = false;
    std::string digits; // integer and fraction digits, concatenated
    std::int64_t fracDigits = 0;
};

Kept keep(std::string_view text, const Separators& seps)
{
    Kept k;
    bool seenSign = false, seenSep = false;
    k.digits.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        Token token;
        char ch = 0;
        i += nextToken(text, i, seps, token, ch);
        switch (token) {
        case Token::Digit:
            k.anyDigit = true;
            k.digits += ch;
            if (seenSep)
                ++k.fracDigits;
            break;
        case Token::Sign:
            // A sign is only valid as the very first thing kept.
            if (seenSign || !k.digits.empty() || seenSep)
                k.valid = false;
            seenSign = true;
            k.negative = ch == '-';
            break;
        case Token::Separator:
            if (seenSep)
                k.valid = false;
            seenSep = true;
            break;
        case Token::Skipped:
        case Token::Other:
            break;
        }
    }
    if (!k.anyDigit)
        k.valid = false;
    return k;
}

void appendGrouped(std::string& out, std::string_view intDigits, std::string_view group)
{
    const std::size_t n = intDigits.size();
    for (std::size_t k = 0; k < n; ++k) {
        if (k != 0 && (n - k) % 3 == 0)
            out += group;
        out += intDigits[k];
    }
}

} // namespace

Extended entryRead(std::string_view text, const Separators& seps)
{
    const Kept k = keep(text, seps);
    if (!k.valid)
        return Extended();
    return Extended::fromDecimal(k.negative, k.digits, -k.fracDigits);
}

std::string entryFormat(Extended value, const Separators& seps)
{
    if (value.isZero())
        return {};
    const Extended::Decimal18 d = value.toDecimal18();

    // Two decimals at most, halves away from zero: value = q * 10^e, e >= -2.
    std::uint64_t q = d.digits;
    int e = d.exp10;
    if (e < -2) {
        const int drop = -2 - e;
        if (drop > 18) {
            q = 0;
        } else {
            const std::uint64_t rest = q % kPow10[drop];
            q /= kPow10[drop];
            if (rest >= kPow10[drop] / 2)
                ++q;
        }
        e = -2;
    }
    // Nothing left at two decimals: shown like a zero, so that formatting
    // the text read back gives the same text.
    if (q == 0)
        return {};
    while (e < 0 && q % 10 == 0) {
        q /= 10;
        ++e;
    }

    const std::string digits = std::to_string(q);
    std::string intDigits, fracDigits;
    if (e >= 0) {
        intDigits = digits;
        intDigits.append(static_cast<std::size_t>(e), '0');
    } else {
        const auto fracLen = static_cast<std::size_t>(-e);
        if (digits.size() > fracLen) {
            intDigits = digits.substr(0, digits.size() - fracLen);
            fracDigits = digits.substr(digits.size() - fracLen);
        } else {
            intDigits = "0";
            fracDigits = std::string(fracLen - digits.size(), '0') + digits;
        }
    }

    std::string text;
    if (d.negative)
        text += '-';
    appendGrouped(text, intDigits, seps.group);
    if (!fracDigits.empty()) {
        text += seps.decimal;
        text += fracDigits;
    }
    return text;
}

std::string entryDisplayText(Extended value, const Separators& seps)
{
    std::string text = entryFormat(value, seps);
    if (text.empty())
        text.push_back('0'); // not = "0": g++ -O3 sees a false overlap (-Wrestrict)
    return text;
}

TypingResult entryType(std::string_view text, std::size_t selStart, std::size_t selLength,
                       std::string_view typed, const Separators& seps)
{
    TypingResult r;
    if (typed.empty() || static_cast<unsigned char>(typed[0]) < 0x20 || typed[0] == 0x7F
        || selStart > text.size())
        return r;
    if (selLength > text.size() - selStart)
        selLength = text.size() - selStart;
    const std::string_view inserted = (typed == "." || typed == ",") ? std::string_view(seps.decimal) : typed;

    std::string result;
    result.reserve(text.size() + inserted.size());
    result.append(text.substr(0, selStart));
    result.append(inserted);
    result.append(text.substr(selStart + selLength));

    // [sign] digits [separator, at most two digits]. Groups are ignored, and
    // so are spaces already there (a pasted "1 000"); a typed space is not.
    const std::size_t insertedEnd = selStart + inserted.size();
    bool seenSep = false, seenAny = false;
    int fracDigits = 0;
    for (std::size_t i = 0; i < result.size();) {
        Token token;
        char ch = 0;
        const std::size_t len = nextToken(result, i, seps, token, ch);
        const bool isGroup = startsWith(result, i, seps.group);
        const bool typedHere = i < insertedEnd && i + len > selStart;
        i += len;
        switch (token) {
        case Token::Digit:
            if (seenSep && ++fracDigits > 2)
                return r;
            break;
        case Token::Sign:
            if (seenAny)
                return r;
            break;
        case Token::Separator:
            if (seenSep)
                return r;
            seenSep = true;
            break;
        case Token::Skipped:
            if (!isGroup && typedHere)
                return r;
            continue;
        case Token::Other:
            return r;
        }
        seenAny = true;
    }
    r.accepted = true;
    r.cursor = selStart + inserted.size();
    r.text = std::move(result);
    return r;
}

bool entryPasteKept(std::string_view textAfterPaste, const Separators& seps)
{
    const Kept k = keep(textAfterPaste, seps);
    return !k.anyDigit || k.valid;
}

} // namespace brindelor
