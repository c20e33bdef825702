#pragma once
// What a front end gives the form: native controls for its components, and
// the few services the program uses (a beep, the error box, the shell).

#include <string>

namespace brindelor::form {

class Button;
class CalcEdit;
class Control;
class Edit;
class Form;
class GroupBox;
class Label;
class LinkLabel;
class RadioButton;
class CheckPeer;
class ControlPeer;
class EditPeer;
class EntryPeer;
class FormPeer;
class PanelPeer;

class Platform {
public:
    // Native controls. Each is created inside its parent's (the window's for
    // top-level controls) and lives as long as the window; the form keeps the
    // returned peer and never deletes it, except the window's.
    virtual FormPeer* createForm(Form& form) = 0;
    virtual ControlPeer* createLabel(Label& label) = 0;
    virtual ControlPeer* createLinkLabel(LinkLabel& label) = 0;
    virtual ControlPeer* createGroupBox(GroupBox& box) = 0;
    virtual ControlPeer* createButton(Button& button) = 0;
    virtual CheckPeer* createRadioButton(RadioButton& button) = 0;
    virtual EditPeer* createEdit(Edit& edit) = 0;
    virtual EntryPeer* createCalcEdit(CalcEdit& edit) = 0;
    // The entry's drop-down calculator, built the first time it opens.
    virtual PanelPeer* createCalculator(CalcEdit& edit) = 0;

    virtual void beep() = 0;
    // A modal box owned by the active window: the error icon, one OK button.
    virtual void showErrorBox(const std::string& caption, const std::string& text) = 0;
    // The shell's "open" of an address, in a normal window. It may fail or
    // throw; the caller ignores both.
    virtual void openUrl(const std::string& url) = 0;

protected:
    ~Platform() = default;
};

} // namespace brindelor::form
