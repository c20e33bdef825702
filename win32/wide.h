#pragma once
// Windows speaks UTF-16 in wchar_t; the form in char16_t, the core in UTF-8.

#include "brindelor/form/text.h"

#include <string>
#include <string_view>

namespace brindelor::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wchar_t is UTF-16");

inline std::u16string_view u16(std::wstring_view text)
{
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

inline std::wstring wide(std::u16string_view text)
{
    return {reinterpret_cast<const wchar_t*>(text.data()), text.size()};
}

inline std::wstring wide(std::string_view utf8) { return wide(form::toUtf16(utf8)); }

inline std::string utf8(std::wstring_view text) { return form::toUtf8(u16(text)); }

} // namespace brindelor::win32
