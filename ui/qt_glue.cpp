#include "qt_glue.h"

#include "fonts.h"

#include <QKeyEvent>
#include <QWidget>

namespace brindelor::ui {

form::Key keyOf(const QKeyEvent* event)
{
    using Code = form::Key::Code;
    form::Key key;
    switch (event->key()) {
    case Qt::Key_Escape: key.code = Code::Escape; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: key.code = Code::Enter; break;
    case Qt::Key_Tab: key.code = Code::Tab; break;
    case Qt::Key_Backtab: key.code = Code::Backtab; break;
    case Qt::Key_Up: key.code = Code::Up; break;
    case Qt::Key_Down: key.code = Code::Down; break;
    case Qt::Key_Left: key.code = Code::Left; break;
    case Qt::Key_Right: key.code = Code::Right; break;
    case Qt::Key_F4: key.code = Code::F4; break;
    case Qt::Key_Backspace: key.code = Code::Backspace; break;
    case Qt::Key_Delete: key.code = Code::Delete; break;
    default: break;
    }
    const QString text = event->text();
    key.text.assign(view(text));
    // The keypad is no modifier here: its Enter and digits are the same keys.
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    key.shift = modifiers & Qt::ShiftModifier;
    key.ctrl = modifiers & Qt::ControlModifier;
    key.alt = modifiers & Qt::AltModifier;
    key.meta = modifiers & Qt::MetaModifier;
    return key;
}

form::FocusCause causeOf(Qt::FocusReason reason)
{
    switch (reason) {
    case Qt::MouseFocusReason: return form::FocusCause::Mouse;
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason: return form::FocusCause::Keyboard;
    case Qt::PopupFocusReason:
    case Qt::ActiveWindowFocusReason: return form::FocusCause::Transient;
    default: return form::FocusCause::Program;
    }
}

Qt::FocusReason reasonOf(form::FocusCause cause)
{
    switch (cause) {
    case form::FocusCause::Mouse: return Qt::MouseFocusReason;
    case form::FocusCause::Keyboard: return Qt::TabFocusReason;
    case form::FocusCause::Transient: return Qt::PopupFocusReason;
    case form::FocusCause::Program: break;
    }
    return Qt::OtherFocusReason;
}

QFont fontOf(form::FontStyle style)
{
    QFont font = widgets::windowFont();
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikeOut);
    return font;
}

void applyLayout(QWidget* widget, const form::Control& control)
{
    widget->setObjectName(fromUtf8(control.Name()));
    // A declared font replaces the one the control would inherit.
    if (control.font)
        widget->setFont(fontOf(*control.font));
    if (!control.accessibleName.empty())
        widget->setAccessibleName(fromUtf8(control.accessibleName));
    if (control.kind() != form::Control::Kind::Form) {
        widget->setGeometry(toQRect(control.bounds));
        if (!control.visible)
            widget->setVisible(false);
    }
}

} // namespace brindelor::ui
