#include "user_locale.h"

#include "brindelor/form/text.h"

#include <windows.h>

namespace brindelor::win32 {

namespace {

std::string localeInfo(LCTYPE type, const char* fallback)
{
    wchar_t buffer[16] = {};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 16);
    if (length <= 1)
        return fallback;
    return form::toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buffer),
                                            static_cast<std::size_t>(length - 1)));
}

} // namespace

Separators userLocaleSeparators()
{
    return {localeInfo(LOCALE_SDECIMAL, "."), localeInfo(LOCALE_STHOUSAND, ",")};
}

} // namespace brindelor::win32
