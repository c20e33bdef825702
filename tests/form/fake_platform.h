#pragma once
// A platform of plain objects for the form: edits that hold their text, options
// that keep their group exclusive, one keyboard focus, and a user who clicks,
// types, pastes and presses keys the way the native controls pass them on.
// Beeps, error boxes and opened addresses are recorded.

#include "brindelor/form/application.h"
#include "brindelor/form/calc_edit.h"
#include "brindelor/form/controls.h"
#include "brindelor/form/platform.h"
#include "brindelor/form/text.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace brindelor::test {

class FakePlatform;

class FakeBase {
public:
    FakeBase(FakePlatform& platform, form::Control& control)
        : platform_(platform)
        , control_(control)
    {
    }
    virtual ~FakeBase() = default;
    form::Control& control() const { return control_; }

protected:
    FakePlatform& platform_;
    form::Control& control_;
};

template <typename Peer>
class Fake : public FakeBase, public Peer {
public:
    using FakeBase::FakeBase;
    bool focused() const override;
    void takeFocus(form::FocusCause cause) override;
};

using FakeControl = Fake<form::ControlPeer>;

class FakeEdit final : public Fake<form::EditPeer> {
public:
    using Fake::Fake;
    std::u16string text;
    std::u16string editText() const override { return text; }
    void setEditText(std::u16string_view t) override { text = t; }
};

class FakeRadio final : public Fake<form::CheckPeer> {
public:
    using Fake::Fake;
    bool on = false;
    bool checked() const override { return on; }
    void setCheck(bool checked) override;
    // What the native control does to its own check.
    void change(bool checked)
    {
        on = checked;
        static_cast<form::RadioButton&>(control_).changed(checked);
    }
};

class FakeEntry final : public Fake<form::EntryPeer> {
public:
    using Fake::Fake;
    std::u16string text;
    std::size_t caret = 0;
    std::size_t anchor = 0;
    int redraws = 0;

    std::u16string editText() const override { return text; }
    void setEditText(std::u16string_view t) override
    {
        text = t;
        caret = anchor = text.size();
        entry().textChanged();
    }
    Selection selection() const override
    {
        return {std::min(caret, anchor), caret > anchor ? caret - anchor : anchor - caret};
    }
    void replaceTyped(std::size_t position, std::size_t length, std::u16string_view inserted,
                      std::size_t newCaret) override
    {
        text.replace(position, length, inserted);
        caret = anchor = newCaret;
        entry().textChanged();
    }
    void selectAllText() override
    {
        anchor = 0;
        caret = text.size();
    }
    void displayChanged() override { ++redraws; }
    form::CalcEdit& entry() const { return static_cast<form::CalcEdit&>(control_); }
};

class FakePanel final : public form::PanelPeer {
public:
    bool open = false;
    int refreshes = 0;
    bool isOpen() const override { return open; }
    void popUp() override
    {
        open = true;
        ++refreshes;
    }
    void close() override { open = false; }
    void refresh() override { ++refreshes; }
};

class FakeWindow final : public form::FormPeer {
public:
    bool shown = false;
    void show(form::ControlPeer* first) override
    {
        shown = true;
        if (first)
            first->takeFocus(form::FocusCause::Program);
    }
};

struct Box {
    std::string caption;
    std::string text;
};

class FakePlatform final : public form::Platform {
public:
    form::FormPeer* createForm(form::Form&) override { return new FakeWindow; }
    form::ControlPeer* createLabel(form::Label& c) override { return keep<FakeControl>(c); }
    form::ControlPeer* createLinkLabel(form::LinkLabel& c) override { return keep<FakeControl>(c); }
    form::ControlPeer* createGroupBox(form::GroupBox& c) override { return keep<FakeControl>(c); }
    form::ControlPeer* createButton(form::Button& c) override { return keep<FakeControl>(c); }
    form::CheckPeer* createRadioButton(form::RadioButton& c) override { return keep<FakeRadio>(c); }
    form::EditPeer* createEdit(form::Edit& c) override { return keep<FakeEdit>(c); }
    form::EntryPeer* createCalcEdit(form::CalcEdit& c) override { return keep<FakeEntry>(c); }
    form::PanelPeer* createCalculator(form::CalcEdit&) override
    {
        panels_.push_back(std::make_unique<FakePanel>());
        return panels_.back().get();
    }

    void beep() override { ++beeps; }
    void showErrorBox(const std::string& caption, const std::string& text) override
    {
        boxes.push_back({caption, text});
    }
    void openUrl(const std::string& url) override
    {
        opened.push_back(url);
        if (failOpening)
            throw std::runtime_error("no browser");
    }

    // The one keyboard focus; the entry hears of its comings and goings.
    FakeBase* focus = nullptr;
    void moveFocus(FakeBase* to, form::FocusCause cause)
    {
        if (to == focus)
            return;
        FakeBase* from = focus;
        focus = to;
        if (from && from->control().kind() == form::Control::Kind::CalcEdit)
            static_cast<form::CalcEdit&>(from->control()).focusLeft(cause);
        if (to && to->control().kind() == form::Control::Kind::CalcEdit)
            static_cast<form::CalcEdit&>(to->control()).focusEntered(cause);
    }

    int beeps = 0;
    std::vector<Box> boxes;
    std::vector<std::string> opened;
    bool failOpening = false;

private:
    template <typename P, typename C>
    P* keep(C& control)
    {
        auto peer = std::make_unique<P>(*this, control);
        P* raw = peer.get();
        peers_.push_back(std::move(peer));
        return raw;
    }

    std::vector<std::unique_ptr<FakeBase>> peers_;
    std::vector<std::unique_ptr<FakePanel>> panels_;
};

template <typename Peer>
bool Fake<Peer>::focused() const
{
    return platform_.focus == this;
}

template <typename Peer>
void Fake<Peer>::takeFocus(form::FocusCause cause)
{
    platform_.moveFocus(this, cause);
}

inline void FakeRadio::setCheck(bool checked)
{
    // Checking one option unchecks the others of its group box.
    if (checked) {
        for (form::RadioButton* other : static_cast<form::RadioButton&>(control_).group()) {
            auto* peer = dynamic_cast<FakeRadio*>(other->peer());
            if (peer && peer != this && peer->on)
                peer->change(false);
        }
    }
    change(checked);
}

} // namespace brindelor::test
