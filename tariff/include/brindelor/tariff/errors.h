#pragma once
// The failures the core can raise. Each what() is the exact French text the
// user sees in the error box (the box adds the final full stop, not us).

#include <stdexcept>
#include <string>
#include <string_view>

namespace brindelor {

// Base of every error the core raises; catch this at a UI handler's edge.
class TariffError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Exponent overflow of an extended result.
class FloatOverflowError : public TariffError {
public:
    FloatOverflowError() : TariffError("Débordement en virgule flottante") {}
};

// Invalid operation: a rounding to a count outside the signed 64-bit range,
// 0/0, and the like.
class FloatInvalidError : public TariffError {
public:
    FloatInvalidError() : TariffError("Opération en virgule flottante incorrecte") {}
};

// Division of a nonzero value by zero.
class FloatZeroDivideError : public TariffError {
public:
    FloatZeroDivideError() : TariffError("Division par zéro") {}
};

// A text the fixed-point parse refuses; carries the whole text.
class ConversionError : public TariffError {
public:
    explicit ConversionError(std::string_view text) : TariffError(message(text)) {}

private:
    // Appended into one reserved string: g++ -O3 sees a false overlap
    // (-Wrestrict) in the chain of operator+.
    static std::string message(std::string_view text)
    {
        constexpr std::string_view tail = "' n'est pas une valeur en virgule flottante correcte";
        std::string m;
        m.reserve(1 + text.size() + tail.size());
        m += '\'';
        m += text;
        m += tail;
        return m;
    }
};

} // namespace brindelor
