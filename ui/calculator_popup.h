#pragma once
// The entry's drop-down calculator: a popup panel below the entry (above
// it when there is no room), with no focus of its own. While it is open it
// takes the keys typed into the entry; Enter, "=" and "%" put its result in
// the entry, Escape, a click elsewhere or the focus moving away close it
// without.

#include <QFrame>

#include <memory>

class QLabel;
class QToolButton;

// Declared only: moc cannot parse the C++20 headers extended.h pulls in.
namespace brindelor {
class Extended;
}

namespace brindelor::ui {

class CalcEdit;
class CalculatorEngine;

class CalculatorPopup : public QFrame {
    Q_OBJECT
public:
    enum class Key {
        Digit0, Digit1, Digit2, Digit3, Digit4, Digit5, Digit6, Digit7, Digit8, Digit9,
        Point, Add, Subtract, Multiply, Divide, Equals, Percent, Clear, Backspace
    };

    explicit CalculatorPopup(CalcEdit* edit);
    ~CalculatorPopup() override;

    // Shows the panel starting from value, placed against the entry.
    void popUp(Extended value);

    QString displayText() const;
    const CalculatorEngine& engine() const noexcept { return *engine_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* addKey(Key key, const QString& caption, const QString& tip,
                        const QString& name, const QString& objectName);
    void press(Key key);
    bool handleKey(QKeyEvent* event);
    void refresh();
    void placeAgainstEdit();

    CalcEdit* edit_;
    std::unique_ptr<CalculatorEngine> engine_;
    QLabel* display_ = nullptr;
    QToolButton* pointKey_ = nullptr;
};

} // namespace brindelor::ui
