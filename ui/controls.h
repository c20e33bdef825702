#pragma once
// The native controls of the Qt front end: Qt widgets that implement the
// form's peer interfaces and forward their events to their components.

#include "link_label.h"

#include "brindelor/form/controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brindelor::ui {

// Focus queries and moves, the same for every widget.
template <typename Widget, typename Peer>
class Native : public Widget, public Peer {
public:
    using Widget::Widget;
    bool focused() const override { return Widget::hasFocus(); }
    void takeFocus(form::FocusCause cause) override;
};

class Label final : public Native<QLabel, form::ControlPeer> {
public:
    Label(const form::Label& label, QWidget* parent);
};

class GroupBox final : public Native<QGroupBox, form::ControlPeer> {
public:
    GroupBox(const form::GroupBox& box, QWidget* parent);
};

class Button final : public Native<QPushButton, form::ControlPeer> {
public:
    Button(form::Button& button, QWidget* parent);
};

class Edit final : public Native<QLineEdit, form::EditPeer> {
public:
    Edit(const form::Edit& edit, QWidget* parent);
    std::u16string editText() const override;
    void setEditText(std::u16string_view text) override;
};

class LinkLabel final : public Native<widgets::LinkLabel, form::ControlPeer> {
public:
    LinkLabel(form::LinkLabel& label, QWidget* parent);
};

} // namespace brindelor::ui
