#include "brindelor/form/text.h"

#include <algorithm>

namespace brindelor::form {

namespace {

bool isHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

std::string toUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (isHigh(text[i]) && i + 1 < text.size() && isLow(text[i + 1])) {
            const char32_t cp = 0x10000 + ((c - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
            ++i;
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (isHigh(text[i]) || isLow(text[i])) {
            out += '?';
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string toUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        char32_t cp = b0;
        if (b0 >= 0x80) {
            if ((b0 & 0xE0) == 0xC0) {
                length = 2;
                cp = b0 & 0x1Fu;
            } else if ((b0 & 0xF0) == 0xE0) {
                length = 3;
                cp = b0 & 0x0Fu;
            } else if ((b0 & 0xF8) == 0xF0) {
                length = 4;
                cp = b0 & 0x07u;
            } else {
                length = 0;
            }
            for (std::size_t k = 1; length != 0 && k < length; ++k) {
                const unsigned b = i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0u;
                if ((b & 0xC0) != 0x80)
                    length = 0;
                else
                    cp = (cp << 6) | (b & 0x3Fu);
            }
            // Overlong forms, surrogates and values past U+10FFFF are no characters.
            static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
            if (length != 0 && (cp < kLeast[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
                length = 0;
            if (length == 0) {
                out += u'\uFFFD';
                ++i;
                continue;
            }
        }
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += length;
    }
    return out;
}

std::size_t utf8Offset(std::u16string_view text, std::size_t position)
{
    // As toUtf8() encodes: a surrogate pair in four bytes, two per half; a
    // lone surrogate as one "?".
    std::size_t bytes = 0;
    const std::size_t end = std::min(position, text.size());
    for (std::size_t i = 0; i < end; ++i) {
        const char16_t c = text[i];
        if (c < 0x80)
            bytes += 1;
        else if (c < 0x800)
            bytes += 2;
        else if (isHigh(c))
            bytes += i + 1 < text.size() && isLow(text[i + 1]) ? 2u : 1u;
        else if (isLow(c))
            bytes += i > 0 && isHigh(text[i - 1]) ? 2u : 1u;
        else
            bytes += 3;
    }
    return bytes;
}

std::size_t utf16Position(std::string_view utf8, std::size_t offset)
{
    std::size_t units = 0;
    const std::size_t end = std::min(offset, utf8.size());
    for (std::size_t i = 0; i < end; ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if ((byte & 0xC0) == 0x80)
            continue; // continuation byte
        units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

} // namespace brindelor::form
