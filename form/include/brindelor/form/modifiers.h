#pragma once
// The tariff modifiers both groups offer, top to bottom after "effacer".
// The rates are single-precision constants: "O" is 0x3e99999a, just above 0.3.

#include <array>
#include <optional>
#include <string_view>

namespace brindelor::form {

struct Modifier {
    std::string_view caption;
    float rate; // a percentage: 11.5 is 11,5 %
};

// In the arrow keys' order: "O", "9", "I", "X", "K", then "effacer".
inline constexpr std::array<Modifier, 6> kModifiers{{
    {"O", 0.3f},
    {"9", 1.9f},
    {"I", 4.6f},
    {"X", 8.0f},
    {"K", 11.5f},
    {"effacer", 0.0f},
}};

enum class ModifierIndex { O, Nine, I, X, K, Effacer };

constexpr const Modifier& modifier(ModifierIndex index)
{
    return kModifiers[static_cast<std::size_t>(index)];
}

// The rate of an option by its caption, exact case; none for an unknown one.
std::optional<float> modifierRate(std::string_view caption);

} // namespace brindelor::form
