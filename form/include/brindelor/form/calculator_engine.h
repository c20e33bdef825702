#pragma once
// The drop-down calculator's arithmetic: a four-function calculator working
// in extended precision, free of any GUI.

#include "brindelor/tariff/extended.h"
#include "brindelor/tariff/separators.h"

#include <string>

namespace brindelor::form {

class CalculatorEngine {
public:
    enum class Op { None, Add, Subtract, Multiply, Divide };

    // The longest number one can type, in digits: what an extended value
    // still carries.
    static constexpr std::size_t kMaxDigits = 18;

    // Shows start as a result, no operation pending, no error.
    void reset(Extended start = Extended());

    // Each returns false when the key is refused (too many digits) or has
    // no effect because of an error; the calling panel decides on a beep.
    bool digit(int d);
    bool decimalPoint();
    bool backspace();
    void clear(); // C: back to 0, error cleared
    bool setOperator(Op op);

    // "=": applies the pending operation. False on an error (division by
    // zero, overflow), which the display then shows until clear().
    bool equals();

    // "%": with + or -, a + a*b/100 or a - a*b/100; with *, a*b/100; with
    // /, a/b*100; alone, b/100. False on an error.
    bool percent();

    bool hasError() const noexcept { return error_; }
    Extended value() const noexcept { return value_; }

    // What the display shows: the number being typed as typed, a result in
    // the core's general text, "Erreur" after an error.
    std::string displayText(const Separators& seps) const;

private:
    void startTyping();
    void parseTyped();
    bool apply(Extended a, Op op, Extended b, Extended& z);

    Extended value_;
    Extended accumulator_;
    Op pending_ = Op::None;
    bool typing_ = false;
    std::string intDigits_;   // typed integer digits, no leading zeros but "0"
    std::string fracDigits_;  // typed decimals
    bool hasPoint_ = false;
    bool error_ = false;
};

} // namespace brindelor::form
