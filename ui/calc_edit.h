#pragma once
// The base-tariff entry's native control: our line editor with the
// drop-down button. The form's entry decides every rule (typing, pasting,
// rewriting, the calculator); this forwards the events and draws the
// unfocused value right-aligned.

#include "line_editor.h"

#include "brindelor/form/peers.h"

#include <QString>

class QToolButton;

// Declared only: moc cannot parse the C++20 headers the form pulls in.
namespace brindelor::form {
class CalcEdit;
}

namespace brindelor::ui {

class CalcEdit final : public widgets::LineEditor, public form::EntryPeer {
    Q_OBJECT
public:
    CalcEdit(form::CalcEdit& entry, QWidget* parent);
    ~CalcEdit() override;

    form::CalcEdit& entry() const noexcept { return entry_; }
    QToolButton* dropDownButton() const noexcept { return button_; }

    // Shorthands for the form's entry.
    QString unfocusedText() const;
    bool isCalculatorOpen() const;
    void openCalculator();

    // The peer.
    bool focused() const override { return hasFocus(); }
    void takeFocus(form::FocusCause cause) override;
    std::u16string editText() const override;
    void setEditText(std::u16string_view text) override;
    Selection selection() const override;
    void replaceTyped(std::size_t position, std::size_t length, std::u16string_view inserted,
                      std::size_t caret) override;
    void selectAllText() override { selectAll(); }
    void displayChanged() override { update(); }

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
    void placeButton();

    form::CalcEdit& entry_;
    QToolButton* button_ = nullptr;
};

} // namespace brindelor::ui
