#include "brindelor/form/modifiers.h"

namespace brindelor::form {

std::optional<float> modifierRate(std::string_view caption)
{
    for (const Modifier& m : kModifiers) {
        if (m.caption == caption)
            return m.rate;
    }
    return std::nullopt;
}

} // namespace brindelor::form
