#include "controls.h"

#include "qt_glue.h"

#include <QUrl>

namespace brindelor::ui {

template <typename Widget, typename Peer>
void Native<Widget, Peer>::takeFocus(form::FocusCause cause)
{
    Widget::setFocus(reasonOf(cause));
}

namespace {

// Declared colours go into the widget's own palette: the style paints with
// it, and the application palette of a later style leaves these roles alone.
void setColor(QWidget* widget, QPalette::ColorRole role, const std::optional<form::Rgb>& color)
{
    if (!color)
        return;
    QPalette palette = widget->palette();
    palette.setColor(role, toQColor(*color));
    widget->setPalette(palette);
}

} // namespace

Label::Label(const form::Label& label, QWidget* parent)
    : Native(fromUtf8(label.caption), parent)
{
    applyLayout(this, label);
    setColor(this, QPalette::WindowText, label.textColor);
}

GroupBox::GroupBox(const form::GroupBox& box, QWidget* parent)
    : Native(fromUtf8(box.caption), parent)
{
    applyLayout(this, box);
    setColor(this, QPalette::WindowText, box.textColor);
    if (box.color) {
        setColor(this, QPalette::Window, box.color);
        setAutoFillBackground(true);
    }
}

Button::Button(form::Button& button, QWidget* parent)
    : Native(fromUtf8(button.caption), parent)
{
    applyLayout(this, button);
    connect(this, &QPushButton::clicked, this, [&button] { button.clicked(); });
}

Edit::Edit(const form::Edit& edit, QWidget* parent)
    : Native(parent)
{
    applyLayout(this, edit);
    setColor(this, QPalette::Text, edit.textColor);
    setColor(this, QPalette::Base, edit.color);
    switch (edit.alignment) {
    case form::Alignment::Left: setAlignment(Qt::AlignLeft | Qt::AlignVCenter); break;
    case form::Alignment::Center: setAlignment(Qt::AlignCenter); break;
    case form::Alignment::Right: setAlignment(Qt::AlignRight | Qt::AlignVCenter); break;
    }
}

std::u16string Edit::editText() const { return std::u16string(view(QLineEdit::text())); }

void Edit::setEditText(std::u16string_view text) { QLineEdit::setText(toQString(text)); }

LinkLabel::LinkLabel(form::LinkLabel& label, QWidget* parent)
    : Native(fromUtf8(label.caption), QUrl(fromUtf8(label.url)), parent)
{
    setShadow(label.shadow);
    applyLayout(this, label);
    if (label.textColor)
        setLinkColor(toQColor(*label.textColor));
    connect(this, &widgets::LinkLabel::activated, this, [&label] { label.clicked(); });
}

} // namespace brindelor::ui
