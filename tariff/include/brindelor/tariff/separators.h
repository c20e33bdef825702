#pragma once
#include <string>

namespace brindelor {

// The locale's number settings: the only two this program uses. Both are
// UTF-8 strings (French groups with U+202F, a three-byte sequence).
struct Separators {
    std::string decimal = ".";
    std::string group = ",";
};

} // namespace brindelor
