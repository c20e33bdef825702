#pragma once
// The base-tariff entry: a numeric edit with a drop-down calculator.
//
// With the focus it is a plain left-aligned edit; without it the front end
// draws unfocusedText() right-aligned. Its text is rewritten to the
// formatted value when it gains or loses the focus, when its value is set
// and when a calculator result is accepted, never while the user types.
// Every typed character goes through type(), every paste, drop or redo
// through pasteKept(); a refusal beeps.

#include "brindelor/form/calculator_engine.h"
#include "brindelor/form/controls.h"

#include "brindelor/tariff/extended.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace brindelor::form {

// The calculator's keys, and how a panel shows them.
enum class CalculatorKey {
    Digit0, Digit1, Digit2, Digit3, Digit4, Digit5, Digit6, Digit7, Digit8, Digit9,
    Point, Add, Subtract, Multiply, Divide, Equals, Percent, Clear, Backspace
};

struct CalculatorKeyInfo {
    CalculatorKey key;
    std::string_view caption; // empty for Point: the locale's decimal separator
    std::string_view tip;
    std::string_view accessibleName;
    std::string_view id;      // a name for the native control
    int row;
    int column;
    int columnSpan;
};

// Every key, in the order a panel creates them; five rows of four columns.
extern const CalculatorKeyInfo kCalculatorKeys[19];

// Where the panel goes: below the entry with their right edges aligned, above
// it when there is no room below; kept inside the work area.
Rect calculatorPlacement(Rect entryOnScreen, int panelWidth, int panelHeight, Rect workArea);

// The text the entry holds once the user leaves it: its value formatted;
// none for a text beyond the extended range, which stays as it is.
std::optional<std::string> formattedOnLeaving(std::string_view text, const Separators& seps);

class CalcEdit : public Control {
public:
    CalcEdit(Form& owner, std::string name, Control* parent);

    // The read operation: the current text parsed anew (empty or not a
    // number: 0). FloatOverflowError for a text beyond the extended range.
    Extended Value() const;
    // Rewrites the text to the formatted value; 0 empties it.
    void setValue(Extended value);
    std::string Text() const;

    // What the entry shows without the focus: the formatted value, "0" for 0,
    // a text beyond the extended range as it is.
    const std::u16string& unfocusedText() const;

    // ---- Native events ----
    void focusEntered(FocusCause cause);
    void focusLeft(FocusCause cause);
    void textChanged();
    // Typed text, one character at a time through the typing rule; the
    // first refused one beeps and ends it.
    void type(std::u16string_view typed);
    // Whether a paste, drop or redo that would leave this text is kept.
    bool pasteKept(std::u16string_view resulting) const;
    void pasteRefused() const;
    // A key before the edit's own handling: Escape and Enter are swallowed,
    // Alt+Down opens the calculator. Returns whether it was handled.
    bool keyDown(const Key& key);
    void numberSettingsChanged();

    // ---- The calculator ----
    void dropDownClicked();
    void openCalculator();
    void closeCalculator();
    bool calculatorOpen() const;
    // A key while the panel is open. Passed on (after closing the panel):
    // Tab and Shift+Tab, for the focus to move on.
    enum class KeyResult { Handled, PassOn };
    KeyResult calculatorKey(const Key& key);
    // A key of the panel pressed (clicked or typed); Enter, "=" and "%"
    // accept the result into the entry.
    void calculatorPress(CalculatorKey key);
    std::string calculatorDisplay() const;
    std::string decimalCaption() const;
    const CalculatorEngine& calculator() const noexcept { return engine_; }
    PanelPeer* panel() const noexcept { return panel_; }

protected:
    ControlPeer* createPeer(Platform& platform) override;

private:
    EntryPeer* entry() const;
    const Separators& separators() const;
    bool typeCharacter(std::u16string_view character);
    void reformat();
    Extended valueOrZero() const;

    CalculatorEngine engine_;
    PanelPeer* panel_ = nullptr;
    mutable std::optional<std::u16string> display_; // cleared on every change
};

} // namespace brindelor::form
