#include "brindelor/form/calc_edit.h"

#include "brindelor/form/application.h"
#include "brindelor/form/platform.h"
#include "brindelor/form/text.h"

#include "brindelor/tariff/entry_rules.h"
#include "brindelor/tariff/errors.h"

#include <algorithm>

namespace brindelor::form {

namespace {

bool isHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool isTransient(FocusCause cause) { return cause == FocusCause::Transient; }

} // namespace

const CalculatorKeyInfo kCalculatorKeys[19] = {
    {CalculatorKey::Clear, "C", "Effacer tout (C ou Suppr)", "Effacer", "keyClear", 0, 0, 1},
    {CalculatorKey::Backspace, "\u2190", "Effacer le dernier chiffre (Retour arri\u00e8re)",
     "Retour arri\u00e8re", "keyBackspace", 0, 1, 1},
    {CalculatorKey::Percent, "%", "Pourcentage, reporte le r\u00e9sultat (%)", "Pourcentage",
     "keyPercent", 0, 2, 1},
    {CalculatorKey::Divide, "\u00f7", "Diviser (/)", "Diviser", "keyDivide", 0, 3, 1},
    {CalculatorKey::Multiply, "\u00d7", "Multiplier (*)", "Multiplier", "keyMultiply", 1, 3, 1},
    {CalculatorKey::Subtract, "\u2212", "Soustraire (-)", "Soustraire", "keySubtract", 2, 3, 1},
    {CalculatorKey::Add, "+", "Additionner (+)", "Additionner", "keyAdd", 3, 3, 1},
    {CalculatorKey::Digit0, "0", "Chiffre 0", "Z\u00e9ro", "key0", 4, 0, 2},
    {CalculatorKey::Digit1, "1", "Chiffre 1", "Un", "key1", 3, 0, 1},
    {CalculatorKey::Digit2, "2", "Chiffre 2", "Deux", "key2", 3, 1, 1},
    {CalculatorKey::Digit3, "3", "Chiffre 3", "Trois", "key3", 3, 2, 1},
    {CalculatorKey::Digit4, "4", "Chiffre 4", "Quatre", "key4", 2, 0, 1},
    {CalculatorKey::Digit5, "5", "Chiffre 5", "Cinq", "key5", 2, 1, 1},
    {CalculatorKey::Digit6, "6", "Chiffre 6", "Six", "key6", 2, 2, 1},
    {CalculatorKey::Digit7, "7", "Chiffre 7", "Sept", "key7", 1, 0, 1},
    {CalculatorKey::Digit8, "8", "Chiffre 8", "Huit", "key8", 1, 1, 1},
    {CalculatorKey::Digit9, "9", "Chiffre 9", "Neuf", "key9", 1, 2, 1},
    {CalculatorKey::Point, "", "S\u00e9parateur d\u00e9cimal (. ou ,)", "S\u00e9parateur d\u00e9cimal",
     "keyPoint", 4, 2, 1},
    {CalculatorKey::Equals, "=", "\u00c9gal, reporte le r\u00e9sultat (Entr\u00e9e ou =)", "\u00c9gal",
     "keyEquals", 4, 3, 1},
};

Rect calculatorPlacement(Rect entry, int width, int height, Rect area)
{
    int x = entry.left + entry.width - width;
    int y = entry.top + entry.height;
    if (y + height > area.top + area.height)
        y = entry.top - height;
    x = std::clamp(x, area.left, std::max(area.left, area.left + area.width - width));
    y = std::clamp(y, area.top, std::max(area.top, area.top + area.height - height));
    return {x, y, width, height};
}

std::optional<std::string> formattedOnLeaving(std::string_view text, const Separators& seps)
{
    try {
        return entryFormat(entryRead(text, seps), seps);
    } catch (const FloatOverflowError&) {
        return std::nullopt;
    }
}

CalcEdit::CalcEdit(Form& owner, std::string name, Control* parent)
    : Control(&owner, Kind::CalcEdit, std::move(name), parent)
{
}

ControlPeer* CalcEdit::createPeer(Platform& platform) { return platform.createCalcEdit(*this); }

EntryPeer* CalcEdit::entry() const { return static_cast<EntryPeer*>(peer_); }

const Separators& CalcEdit::separators() const { return application().numberSettings(); }

std::string CalcEdit::Text() const { return entry() ? toUtf8(entry()->editText()) : std::string(); }

Extended CalcEdit::Value() const { return entryRead(Text(), separators()); }

void CalcEdit::setValue(Extended value)
{
    if (entry())
        entry()->setEditText(toUtf16(entryFormat(value, separators())));
}

// A text beyond the range: the calculator starts from 0. Not as
// "Extended v; try { v = Value(); } catch ...": g++ 12 at -O2 drops the
// zero store before the throwing call, and v is then garbage.
Extended CalcEdit::valueOrZero() const
{
    try {
        return Value();
    } catch (const TariffError&) {
        return Extended();
    }
}

const std::u16string& CalcEdit::unfocusedText() const
{
    if (!display_) {
        try {
            display_ = toUtf16(entryDisplayText(Value(), separators()));
        } catch (...) {
            // Beyond the extended range: the computation reports it; show the
            // text as it is meanwhile.
            display_ = entry() ? entry()->editText() : std::u16string();
        }
    }
    return *display_;
}

void CalcEdit::reformat()
{
    if (!entry())
        return;
    const std::u16string old = entry()->editText();
    const std::optional<std::string> formatted = formattedOnLeaving(toUtf8(old), separators());
    if (!formatted)
        return; // left as typed; the computation reports the overflow
    std::u16string fresh = toUtf16(*formatted);
    if (fresh != old)
        entry()->setEditText(fresh);
}

void CalcEdit::focusEntered(FocusCause cause)
{
    if (isTransient(cause))
        return;
    application().run([&] {
        reformat();
        if (cause != FocusCause::Mouse && entry())
            entry()->selectAllText();
    });
}

void CalcEdit::focusLeft(FocusCause cause)
{
    if (isTransient(cause))
        return;
    application().run([&] {
        closeCalculator();
        reformat();
    });
}

void CalcEdit::textChanged() { display_.reset(); }

void CalcEdit::numberSettingsChanged()
{
    display_.reset();
    if (entry())
        entry()->displayChanged();
    if (panel_ && panel_->isOpen())
        panel_->refresh();
}

void CalcEdit::type(std::u16string_view typed)
{
    application().run([&] {
        for (std::size_t i = 0; i < typed.size();) {
            const std::size_t length = isHigh(typed[i]) && i + 1 < typed.size() ? 2 : 1;
            if (!typeCharacter(typed.substr(i, length)))
                return;
            i += length;
        }
    });
}

bool CalcEdit::typeCharacter(std::u16string_view character)
{
    if (!entry())
        return false;
    const std::u16string old = entry()->editText();
    const EntryPeer::Selection sel = entry()->selection();
    const std::size_t byteStart = utf8Offset(old, sel.start);
    const std::size_t byteLength = utf8Offset(old, sel.start + sel.length) - byteStart;

    const std::string oldUtf8 = toUtf8(old);
    const TypingResult typed = entryType(oldUtf8, byteStart, byteLength, toUtf8(character), separators());
    if (!typed.accepted) {
        application().platform().beep();
        return false;
    }

    // Replace only the part that differs, as an ordinary edit, so that undo
    // and the caret behave as in any edit.
    const std::u16string fresh = toUtf16(typed.text);
    const std::size_t common = std::min(old.size(), fresh.size());
    std::size_t prefix = 0;
    while (prefix < common && old[prefix] == fresh[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < common - prefix && old[old.size() - 1 - suffix] == fresh[fresh.size() - 1 - suffix])
        ++suffix;
    if (prefix > 0 && isHigh(old[prefix - 1]))
        --prefix;
    if (suffix > 0 && isLow(old[old.size() - suffix]))
        --suffix;

    entry()->replaceTyped(prefix, old.size() - prefix - suffix,
                          std::u16string_view(fresh).substr(prefix, fresh.size() - prefix - suffix),
                          utf16Position(typed.text, typed.cursor));
    return true;
}

bool CalcEdit::pasteKept(std::u16string_view resulting) const
{
    return entryPasteKept(toUtf8(resulting), separators());
}

void CalcEdit::pasteRefused() const { application().platform().beep(); }

bool CalcEdit::keyDown(const Key& key)
{
    switch (key.code) {
    case Key::Code::Escape: // discarded, without a beep
    case Key::Code::Enter:
        return true;
    case Key::Code::Down:
        if (key.alt && !key.ctrl && !key.meta && !key.shift) {
            application().run([this] { openCalculator(); });
            return true;
        }
        return false;
    default:
        return false;
    }
}

// ---- The calculator ----------------------------------------------------

bool CalcEdit::calculatorOpen() const { return panel_ && panel_->isOpen(); }

void CalcEdit::openCalculator()
{
    if (!panel_)
        panel_ = application().platform().createCalculator(*this); // on first use only
    engine_.reset(valueOrZero());
    if (panel_)
        panel_->popUp();
}

void CalcEdit::closeCalculator()
{
    if (calculatorOpen())
        panel_->close();
}

void CalcEdit::dropDownClicked()
{
    application().run([this] {
        if (calculatorOpen()) {
            closeCalculator();
            return;
        }
        if (!Focused())
            SetFocus(FocusCause::Mouse);
        openCalculator();
    });
}

std::string CalcEdit::calculatorDisplay() const { return engine_.displayText(separators()); }

std::string CalcEdit::decimalCaption() const { return separators().decimal; }

void CalcEdit::calculatorPress(CalculatorKey key)
{
    application().run([&] {
        bool accept = false;
        switch (key) {
        case CalculatorKey::Point: engine_.decimalPoint(); break;
        case CalculatorKey::Add: engine_.setOperator(CalculatorEngine::Op::Add); break;
        case CalculatorKey::Subtract: engine_.setOperator(CalculatorEngine::Op::Subtract); break;
        case CalculatorKey::Multiply: engine_.setOperator(CalculatorEngine::Op::Multiply); break;
        case CalculatorKey::Divide: engine_.setOperator(CalculatorEngine::Op::Divide); break;
        case CalculatorKey::Equals: accept = engine_.equals(); break;
        case CalculatorKey::Percent: accept = engine_.percent(); break;
        case CalculatorKey::Clear: engine_.clear(); break;
        case CalculatorKey::Backspace: engine_.backspace(); break;
        default:
            engine_.digit(static_cast<int>(key) - static_cast<int>(CalculatorKey::Digit0));
            break;
        }
        if (panel_)
            panel_->refresh();
        if (accept) {
            closeCalculator();
            setValue(engine_.value()); // shown formatted; nothing is computed
        }
    });
}

CalcEdit::KeyResult CalcEdit::calculatorKey(const Key& key)
{
    switch (key.code) {
    case Key::Code::Escape:
    case Key::Code::F4:
        closeCalculator();
        return KeyResult::Handled;
    case Key::Code::Tab:
    case Key::Code::Backtab:
        // The focus moves on: close, and let the entry move it.
        closeCalculator();
        return KeyResult::PassOn;
    case Key::Code::Down:
    case Key::Code::Up:
        if (key.alt)
            closeCalculator();
        return KeyResult::Handled;
    case Key::Code::Enter:
        calculatorPress(CalculatorKey::Equals);
        return KeyResult::Handled;
    case Key::Code::Backspace:
        calculatorPress(CalculatorKey::Backspace);
        return KeyResult::Handled;
    case Key::Code::Delete:
        calculatorPress(CalculatorKey::Clear);
        return KeyResult::Handled;
    default:
        break;
    }
    // Every other key is swallowed while the panel is open.
    if (!key.plain() || key.text.size() != 1)
        return KeyResult::Handled;
    const char16_t c = key.text[0];
    const std::u16string decimal = toUtf16(separators().decimal);
    if (c >= u'0' && c <= u'9')
        calculatorPress(static_cast<CalculatorKey>(static_cast<int>(CalculatorKey::Digit0) + (c - u'0')));
    else if (c == u'.' || c == u',' || (decimal.size() == 1 && c == decimal[0]))
        calculatorPress(CalculatorKey::Point);
    else if (c == u'+')
        calculatorPress(CalculatorKey::Add);
    else if (c == u'-' || c == u'\u2212')
        calculatorPress(CalculatorKey::Subtract);
    else if (c == u'*' || c == u'x' || c == u'X' || c == u'\u00D7')
        calculatorPress(CalculatorKey::Multiply);
    else if (c == u'/' || c == u'\u00F7')
        calculatorPress(CalculatorKey::Divide);
    else if (c == u'=')
        calculatorPress(CalculatorKey::Equals);
    else if (c == u'%')
        calculatorPress(CalculatorKey::Percent);
    else if (c == u'c' || c == u'C')
        calculatorPress(CalculatorKey::Clear);
    return KeyResult::Handled;
}

} // namespace brindelor::form
