#include "brindelor/form/calculator_engine.h"

#include "brindelor/tariff/errors.h"
#include "brindelor/tariff/number_text.h"

namespace brindelor::form {

namespace {
const Extended kHundred = Extended::fromInt64(100);
}

void CalculatorEngine::reset(Extended start)
{
    value_ = start;
    accumulator_ = Extended();
    pending_ = Op::None;
    typing_ = false;
    intDigits_.clear();
    fracDigits_.clear();
    hasPoint_ = false;
    error_ = false;
}

void CalculatorEngine::clear() { reset(); }

void CalculatorEngine::startTyping()
{
    if (typing_)
        return;
    typing_ = true;
    // assign(1, '0') rather than = "0": g++ 12 at -O3 warns falsely (-Wrestrict) on the latter.
    intDigits_.assign(1, '0');
    fracDigits_.clear();
    hasPoint_ = false;
    value_ = Extended();
}

void CalculatorEngine::parseTyped()
{
    // At most kMaxDigits digits: never beyond the extended range.
    value_ = Extended::fromDecimal(false, intDigits_ + fracDigits_,
                                   -static_cast<std::int64_t>(fracDigits_.size()));
}

bool CalculatorEngine::digit(int d)
{
    if (error_ || d < 0 || d > 9)
        return false;
    startTyping();
    const bool onlyZero = intDigits_ == "0" && !hasPoint_;
    const std::size_t count = (intDigits_ == "0" ? 0 : intDigits_.size()) + fracDigits_.size();
    if (!onlyZero && count >= kMaxDigits)
        return false;
    const char c = static_cast<char>('0' + d);
    if (hasPoint_)
        fracDigits_ += c;
    else if (onlyZero)
        intDigits_ = std::string(1, c);
    else
        intDigits_ += c;
    parseTyped();
    return true;
}

bool CalculatorEngine::decimalPoint()
{
    if (error_)
        return false;
    startTyping();
    if (hasPoint_)
        return false;
    hasPoint_ = true;
    return true;
}

bool CalculatorEngine::backspace()
{
    if (error_ || !typing_)
        return false;
    if (!fracDigits_.empty())
        fracDigits_.pop_back();
    else if (hasPoint_)
        hasPoint_ = false;
    else if (intDigits_.size() > 1)
        intDigits_.pop_back();
    else if (intDigits_ != "0")
        intDigits_.assign(1, '0');
    else
        return false;
    parseTyped();
    return true;
}

bool CalculatorEngine::apply(Extended a, Op op, Extended b, Extended& z)
{
    try {
        switch (op) {
        case Op::Add: z = a + b; break;
        case Op::Subtract: z = a - b; break;
        case Op::Multiply: z = a * b; break;
        case Op::Divide: z = a / b; break;
        case Op::None: z = b; break;
        }
        return true;
    } catch (const TariffError&) {
        error_ = true;
        return false;
    }
}

bool CalculatorEngine::setOperator(Op op)
{
    if (error_)
        return false;
    if (pending_ != Op::None && typing_) {
        Extended z;
        if (!apply(accumulator_, pending_, value_, z))
            return false;
        value_ = z;
    }
    // A second operator in a row only replaces the first.
    if (pending_ == Op::None || typing_)
        accumulator_ = value_;
    pending_ = op;
    typing_ = false;
    return true;
}

bool CalculatorEngine::equals()
{
    if (error_)
        return false;
    if (pending_ != Op::None) {
        Extended z;
        if (!apply(accumulator_, pending_, value_, z))
            return false;
        value_ = z;
    }
    pending_ = Op::None;
    typing_ = false;
    return true;
}

bool CalculatorEngine::percent()
{
    if (error_)
        return false;
    Extended z;
    try {
        switch (pending_) {
        case Op::None: z = value_ / kHundred; break;
        case Op::Add: z = accumulator_ + accumulator_ * value_ / kHundred; break;
        case Op::Subtract: z = accumulator_ - accumulator_ * value_ / kHundred; break;
        case Op::Multiply: z = accumulator_ * value_ / kHundred; break;
        case Op::Divide: z = accumulator_ / value_ * kHundred; break;
        }
    } catch (const TariffError&) {
        error_ = true;
        return false;
    }
    value_ = z;
    pending_ = Op::None;
    typing_ = false;
    return true;
}

std::string CalculatorEngine::displayText(const Separators& seps) const
{
    if (error_)
        return "Erreur";
    if (!typing_)
        return generalText(value_, seps.decimal);
    std::string text = intDigits_;
    if (hasPoint_)
        text += seps.decimal + fracDigits_;
    return text;
}

} // namespace brindelor::form
