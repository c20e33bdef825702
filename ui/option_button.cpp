#include "option_button.h"

#include "form_window.h"
#include "qt_glue.h"

#include "brindelor/form/controls.h"

#include <QKeyEvent>

namespace brindelor::ui {

OptionButton::OptionButton(form::RadioButton& option, QWidget* parent)
    : QRadioButton(fromUtf8(option.caption), parent)
    , option_(option)
{
    applyLayout(this, option);
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        updateFocusPolicies();
        option_.changed(on);
    });
    // The others are not made yet; each sets its own policy the same way.
    setFocusPolicy(option.isTabStop() ? Qt::StrongFocus : Qt::ClickFocus);
}

void OptionButton::takeFocus(form::FocusCause cause) { setFocus(reasonOf(cause)); }

bool OptionButton::hitButton(const QPoint& pos) const { return rect().contains(pos); }

void OptionButton::keyPressEvent(QKeyEvent* event)
{
    if (option_.arrowKey(keyOf(event))) {
        event->accept();
        return;
    }
    QRadioButton::keyPressEvent(event);
}

void OptionButton::focusInEvent(QFocusEvent* event)
{
    // Qt gives the Tab stop to whichever option has the focus; put it back.
    QRadioButton::focusInEvent(event);
    updateFocusPolicies();
}

void OptionButton::updateFocusPolicies()
{
    for (const form::RadioButton* other : option_.group()) {
        if (QWidget* widget = FormWindow::widgetOf(*other))
            widget->setFocusPolicy(other->isTabStop() ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

} // namespace brindelor::ui
