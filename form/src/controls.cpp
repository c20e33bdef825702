#include "brindelor/form/controls.h"

#include "brindelor/form/application.h"
#include "brindelor/form/calc_edit.h"
#include "brindelor/form/platform.h"
#include "brindelor/form/text.h"

#include <algorithm>

namespace brindelor::form {

// ---- Control -----------------------------------------------------------

Control::Control(Form* owner, Kind kind, std::string name, Control* parent)
    : owner_(owner)
    , kind_(kind)
    , name_(std::move(name))
    , parent_(parent)
{
    if (parent_)
        parent_->children_.push_back(this);
}

Control::~Control() = default;

Application& Control::application() const { return owner_->application(); }

FontStyle Control::effectiveFont() const
{
    for (const Control* c = this; c; c = c->parent_) {
        if (c->font)
            return *c->font;
    }
    return {};
}

bool Control::Focused() const { return peer_ && peer_->focused(); }

void Control::SetFocus(FocusCause cause)
{
    if (peer_)
        peer_->takeFocus(cause);
}

Label::Label(Form& owner, std::string name, Control* parent)
    : Control(&owner, Kind::Label, std::move(name), parent)
{
}

ControlPeer* Label::createPeer(Platform& platform) { return platform.createLabel(*this); }

GroupBox::GroupBox(Form& owner, std::string name, Control* parent)
    : Control(&owner, Kind::GroupBox, std::move(name), parent)
{
}

ControlPeer* GroupBox::createPeer(Platform& platform) { return platform.createGroupBox(*this); }

// ---- Button ------------------------------------------------------------

Button::Button(Form& owner, std::string name, Control* parent)
    : Control(&owner, Kind::Button, std::move(name), parent)
{
}

ControlPeer* Button::createPeer(Platform& platform) { return platform.createButton(*this); }

void Button::Click()
{
    if (OnClick)
        OnClick(this);
}

void Button::clicked()
{
    application().run([this] { Click(); });
}

// ---- Edit --------------------------------------------------------------

Edit::Edit(Form& owner, std::string name, Control* parent)
    : Control(&owner, Kind::Edit, std::move(name), parent)
{
}

ControlPeer* Edit::createPeer(Platform& platform) { return platform.createEdit(*this); }

EditPeer* Edit::edit() const { return static_cast<EditPeer*>(peer_); }

std::string Edit::Text() const { return edit() ? toUtf8(edit()->editText()) : std::string(); }

void Edit::setText(std::string_view utf8)
{
    if (edit())
        edit()->setEditText(toUtf16(utf8));
}

// ---- RadioButton -------------------------------------------------------

RadioButton::RadioButton(Form& owner, std::string name, Control* parent)
    : Control(&owner, Kind::RadioButton, std::move(name), parent)
{
}

ControlPeer* RadioButton::createPeer(Platform& platform) { return platform.createRadioButton(*this); }

CheckPeer* RadioButton::check() const { return static_cast<CheckPeer*>(peer_); }

bool RadioButton::Checked() const { return check() ? check()->checked() : initiallyChecked; }

void RadioButton::setChecked(bool checked)
{
    if (check() && check()->checked() != checked)
        check()->setCheck(checked);
}

std::vector<RadioButton*> RadioButton::group() const
{
    std::vector<RadioButton*> options;
    if (!parent())
        return options;
    for (Control* c : parent()->children()) {
        if (c->kind() == Kind::RadioButton)
            options.push_back(static_cast<RadioButton*>(c));
    }
    std::stable_sort(options.begin(), options.end(),
                     [](const RadioButton* a, const RadioButton* b) { return a->tabOrder < b->tabOrder; });
    return options;
}

bool RadioButton::isTabStop() const
{
    const std::vector<RadioButton*> options = group();
    const auto checked = std::find_if(options.begin(), options.end(),
                                      [](const RadioButton* o) { return o->Checked(); });
    if (checked != options.end())
        return *checked == this;
    return !options.empty() && options.front() == this;
}

void RadioButton::changed(bool checked)
{
    if (checked && OnClick)
        application().run([this] { OnClick(this); });
}

bool RadioButton::arrowKey(const Key& key)
{
    int step = 0;
    switch (key.code) {
    case Key::Code::Down:
    case Key::Code::Right: step = +1; break;
    case Key::Code::Up:
    case Key::Code::Left: step = -1; break;
    default: return false;
    }
    // Alt+Down belongs to the entry's calculator; on an option it does nothing.
    if (key.alt)
        return true;
    application().run([&] {
        const std::vector<RadioButton*> options = group();
        const auto it = std::find(options.begin(), options.end(), this);
        if (it == options.end())
            return;
        const auto count = static_cast<std::ptrdiff_t>(options.size());
        const std::ptrdiff_t index = ((it - options.begin()) + step + count) % count;
        RadioButton* target = options[static_cast<std::size_t>(index)];
        target->SetFocus(FocusCause::Keyboard);
        if (!target->Checked())
            target->setChecked(true);
    });
    return true;
}

// ---- LinkLabel ---------------------------------------------------------

LinkLabel::LinkLabel(Form& owner, std::string name, Control* parent)
    : Control(&owner, Kind::LinkLabel, std::move(name), parent)
{
}

ControlPeer* LinkLabel::createPeer(Platform& platform) { return platform.createLinkLabel(*this); }

void LinkLabel::Click()
{
    try {
        application().platform().openUrl(url);
    } catch (...) {
        // A link that fails to open stays quiet.
    }
}

void LinkLabel::clicked() { Click(); }

// ---- Form --------------------------------------------------------------

Form::Form(Application& application, std::string name)
    : Control(this, Kind::Form, std::move(name), nullptr)
    , application_(application)
{
    application_.forms_.push_back(this);
}

Form::~Form()
{
    destroyWindow();
    auto& forms = application_.forms_;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
}

ControlPeer* Form::createPeer(Platform&) { return nullptr; }

void Form::createWindow()
{
    Platform& platform = application_.platform();
    window_.reset(platform.createForm(*this));
    for (Control* c : controls_)
        c->peer_ = c->createPeer(platform);
    // The layout's states, before any handler is attached.
    for (Control* c : controls_) {
        if (c->kind() == Kind::RadioButton) {
            auto* option = static_cast<RadioButton*>(c);
            if (option->initiallyChecked)
                option->setChecked(true);
        }
    }
}

void Form::Show()
{
    if (!window_)
        return;
    const std::vector<Control*> sequence = tabSequence();
    window_->show(sequence.empty() ? nullptr : sequence.front()->peer());
}

void Form::destroyWindow() noexcept
{
    for (Control* c : controls_)
        c->peer_ = nullptr;
    window_.reset();
}

std::vector<Control*> Form::tabSequence() const
{
    std::vector<Control*> sequence;
    const auto walk = [&sequence](const Control& parent, const auto& self) -> void {
        std::vector<Control*> children;
        for (Control* c : parent.children()) {
            if (c->tabOrder >= 0 && c->visible)
                children.push_back(c);
        }
        std::stable_sort(children.begin(), children.end(),
                         [](const Control* a, const Control* b) { return a->tabOrder < b->tabOrder; });
        for (Control* c : children) {
            if (c->children().empty())
                sequence.push_back(c);
            else
                self(*c, self);
        }
    };
    walk(*this, walk);
    return sequence;
}

bool Form::previewKey(char16_t key)
{
    if (!KeyPreview || !OnKeyPress)
        return false;
    char16_t k = key;
    application_.run([&] { OnKeyPress(this, k); });
    return k == 0;
}

void Form::numberSettingsChanged()
{
    for (Control* c : controls_) {
        if (c->kind() == Kind::CalcEdit)
            static_cast<CalcEdit*>(c)->numberSettingsChanged();
    }
}

} // namespace brindelor::form
