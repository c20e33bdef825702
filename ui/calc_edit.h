#pragma once
// The base-tariff entry: a numeric line editor with a drop-down calculator,
// on the core's entry rules.
//
// With the focus it is a plain left-aligned edit; without it, it draws its
// value right-aligned in the formatted form ("0" for zero). Its text is
// rewritten to the formatted value when it gains or loses the focus, when
// its value is set and when a calculator result is accepted, never while
// the user types. Every typed character goes through entryType(), every
// paste, drop or redo through entryPasteKept(); a refusal beeps.

#include "line_editor.h"

#include <QString>

#include <cstddef>
#include <optional>
#include <string_view>

class QToolButton;

// Declared only: moc cannot parse the C++20 headers extended.h pulls in.
namespace brindelor {
class Extended;
}

namespace brindelor::ui {

class CalculatorPopup;

class CalcEdit : public LineEditor {
    Q_OBJECT
public:
    explicit CalcEdit(QWidget* parent = nullptr);
    ~CalcEdit() override;

    // The read operation: parses the current text anew each call (empty or
    // not a number: 0). FloatOverflowError for a text beyond the extended
    // range.
    Extended value() const;

    // Rewrites the text to the formatted value; 0 empties it.
    void setValue(Extended value);

    // What the entry shows without the focus: the formatted value, "0"
    // for 0 (a text beyond the extended range as it is).
    QString unfocusedText() const;

    void openCalculator();
    void closeCalculator();
    bool isCalculatorOpen() const;
    // Null until the calculator is first opened.
    CalculatorPopup* calculatorPopup() const noexcept { return popup_; }
    QToolButton* dropDownButton() const noexcept { return button_; }

    // Called by the calculator when the user accepts its result.
    void acceptCalculatorResult(Extended value);

protected:
    void typeText(const QString& typed) override;
    bool keeps(const QString& resulting) const override;
    void refused() override;

    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void reformat();
    bool typeCharacter(const QString& character);
    void placeButton();

    QToolButton* button_ = nullptr;
    CalculatorPopup* popup_ = nullptr;
    mutable std::optional<QString> display_; // cache, cleared on every change
};

// UTF-16 positions in a QString and UTF-8 byte offsets in its encoding.
std::size_t utf8Offset(const QString& text, qsizetype position);
qsizetype utf16Position(std::string_view utf8, std::size_t offset);

} // namespace brindelor::ui
