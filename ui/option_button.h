#pragma once
// A modifier option. Qt's radio buttons neither wrap, nor check the option
// the arrows move to, nor stop Tab at the checked one, nor take a click past
// their caption; the form's option decides, this forwards. Exclusivity stays
// Qt's own, per group box.

#include "brindelor/form/peers.h"

#include <QRadioButton>

namespace brindelor::form {
class RadioButton;
}

namespace brindelor::ui {

class OptionButton final : public QRadioButton, public form::CheckPeer {
    Q_OBJECT
public:
    OptionButton(form::RadioButton& option, QWidget* parent);

    form::RadioButton& option() const noexcept { return option_; }

    bool focused() const override { return hasFocus(); }
    void takeFocus(form::FocusCause cause) override;
    bool checked() const override { return isChecked(); }
    void setCheck(bool on) override { setChecked(on); }

protected:
    // The whole box is the button, as on the platform it was drawn for.
    bool hitButton(const QPoint& pos) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    // Only a Tab stop takes the focus from the keyboard.
    void updateFocusPolicies();

    form::RadioButton& option_;
};

} // namespace brindelor::ui
