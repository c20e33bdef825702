#pragma once
// The native controls speak UTF-16 (QString, WCHAR); the core speaks UTF-8.
// These conversions and position mappings are the only bridge between them.

#include <cstddef>
#include <string>
#include <string_view>

namespace brindelor::form {

// A lone surrogate becomes one "?", as Qt encodes it.
std::string toUtf8(std::u16string_view text);
// An invalid or truncated sequence becomes U+FFFD, one per bad byte.
std::u16string toUtf16(std::string_view text);

// The byte offset in toUtf8(text) of the UTF-16 position (clamped to the
// text's end).
std::size_t utf8Offset(std::u16string_view text, std::size_t position);
// The UTF-16 position of a byte offset into valid UTF-8 (clamped).
std::size_t utf16Position(std::string_view utf8, std::size_t offset);

} // namespace brindelor::form
