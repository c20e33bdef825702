#pragma once
// The options of a modifier group. Qt's radio buttons neither wrap, nor
// check the option the arrows move to, nor stop Tab at the checked one;
// these do. Exclusivity stays Qt's own, per group box.

#include <QRadioButton>

#include <vector>

namespace brindelor::ui {

class ModifierGroup;

class ModifierRadioButton : public QRadioButton {
    Q_OBJECT
public:
    ModifierRadioButton(const QString& caption, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    friend class ModifierGroup;
    ModifierGroup* group_ = nullptr;
};

// The options of one group box in arrow order. Owned by the group box.
class ModifierGroup : public QObject {
    Q_OBJECT
public:
    // order: the options as the arrows visit them, Down/Right going forward.
    static ModifierGroup* attach(QWidget* groupBox, std::vector<ModifierRadioButton*> order);

    // Down/Right: +1, Up/Left: -1, wrapping at both ends. The option moved
    // to takes the focus and, if unchecked, gets checked.
    void move(ModifierRadioButton* from, int step);

    // Only the checked option is a Tab stop; the others take the focus on
    // a click only.
    void updateFocusPolicies();

private:
    ModifierGroup(QWidget* groupBox, std::vector<ModifierRadioButton*> order);

    std::vector<ModifierRadioButton*> order_;
};

} // namespace brindelor::ui
