#pragma once
// The Windows user locale's number settings.

#include "brindelor/tariff/separators.h"

namespace brindelor::win32 {

// LOCALE_SDECIMAL and LOCALE_STHOUSAND of the user locale, UTF-8; "." and
// "," where the system gives nothing.
Separators userLocaleSeparators();

} // namespace brindelor::win32
