#pragma once
// The Qt front end's window: a QWidget that implements the form's window
// peer, with the key preview that hands character keys to the form first.

#include "brindelor/form/peers.h"

#include <QWidget>

namespace brindelor::form {
class Control;
class Form;
}

namespace brindelor::ui {

class FormWindow : public QWidget, public form::FormPeer {
    Q_OBJECT
public:
    // A fixed client area with a close box only; unlike Qt::Tool it keeps
    // the taskbar button. Sizes are device-independent pixels.
    explicit FormWindow(form::Form& form);
    ~FormWindow() override;

    form::Form& form() const noexcept { return form_; }

    void show(form::ControlPeer* first) override;

    // The native widget behind a component.
    static QWidget* widgetOf(const form::Control& control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isForForm(const QObject* watched) const;

    form::Form& form_;
};

} // namespace brindelor::ui
