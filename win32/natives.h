#pragma once
// The native windows behind the form's components. Each implements its
// component's peer and forwards the messages that matter to it; the form
// decides every rule.

#include "host.h"

#include "brindelor/form/calc_edit.h"
#include "brindelor/form/controls.h"

#include <windows.h>

#include <memory>
#include <string>

namespace brindelor::win32 {

// Window classes of our own.
inline constexpr wchar_t kFormClass[] = L"BrindelorForm";
inline constexpr wchar_t kGroupClass[] = L"BrindelorGroup";
inline constexpr wchar_t kLinkClass[] = L"BrindelorLink";
inline constexpr wchar_t kDropDownClass[] = L"BrindelorDropDown";
inline constexpr wchar_t kCalculatorClass[] = L"BrindelorCalculator";

// Whatever answers the messages of a window of one of our own classes.
class WindowTarget {
public:
    virtual LRESULT windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~WindowTarget() = default;
};

// A native window and its component. Standard controls are subclassed so
// that message() sees their messages first.
class Native : public WindowTarget {
public:
    Native(Host& host, form::Control& control);
    virtual ~Native() = default;
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;

    Host& host() const noexcept { return host_; }
    form::Control& control() const noexcept { return control_; }
    HWND hwnd() const noexcept { return hwnd_; }

    // A message for this window; return true when handled (result set).
    virtual bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // A WM_COMMAND notification about this window (BN_CLICKED...).
    virtual void command(WORD /*code*/) {}
    // A WM_NOTIFY from this window (NM_CUSTOMDRAW...); true when handled.
    virtual bool notify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    // For our own classes: message(), else the default.
    LRESULT windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // For windows that draw themselves whole: WM_ERASEBKGND does nothing,
    // WM_PAINT calls paint(). Returns true when the message was one of those.
    bool paintMessage(UINT message, LRESULT& result);
    virtual void paint(HDC) {}

    // Creates the window inside its container, in creation order, and
    // subclasses it when it is a standard control.
    void create(const wchar_t* windowClass, const std::wstring& text, DWORD style, DWORD exStyle = 0);
    HWND parentHwnd() const;
    void setFont();

    Host& host_;
    form::Control& control_;
    HWND hwnd_ = nullptr;
};

// Focus queries and moves, the same for every window.
template <typename Peer>
class NativePeer : public Native, public Peer {
public:
    using Native::Native;
    bool focused() const override { return hwnd_ && GetFocus() == hwnd_; }
    void takeFocus(form::FocusCause cause) override { host_.moveFocus(hwnd_, cause); }
};

class FormWindow final : public form::FormPeer, public WindowTarget {
public:
    FormWindow(Host& host, form::Form& form);
    ~FormWindow() override;

    HWND hwnd() const noexcept { return hwnd_; }
    form::Form& form() const noexcept { return form_; }
    void show(form::ControlPeer* first) override;

    LRESULT windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Host& host_;
    form::Form& form_;
    HWND hwnd_ = nullptr;
    HWND lastFocus_ = nullptr; // given back when the window is activated again
};

class Label final : public NativePeer<form::ControlPeer> {
public:
    Label(Host& host, form::Label& label);
};

// A group box as a container: its options are its children, so that the
// dialog manager keeps each group's arrows and Tab stop to itself.
class GroupBox final : public NativePeer<form::ControlPeer> {
public:
    GroupBox(Host& host, form::GroupBox& box);
    bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void paint(HDC dc) override;
};

class Button final : public NativePeer<form::ControlPeer> {
public:
    Button(Host& host, form::Button& button);
    void command(WORD code) override;
};

class RadioButton final : public NativePeer<form::CheckPeer> {
public:
    RadioButton(Host& host, form::RadioButton& option);
    bool checked() const override;
    void setCheck(bool on) override;
    void command(WORD code) override;
    bool notify(const NMHDR& header, LRESULT& result) override;
    bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // After any change in its group: tell the components what changed.
    void syncGroup();

private:
    form::RadioButton& option() const { return static_cast<form::RadioButton&>(control_); }
    bool known_ = false; // the state the component last heard of
    bool hot_ = false;   // the mouse over it
};

class Edit final : public NativePeer<form::EditPeer> {
public:
    Edit(Host& host, form::Edit& edit);
    std::u16string editText() const override;
    void setEditText(std::u16string_view text) override;
    bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

class LinkLabel final : public NativePeer<form::ControlPeer> {
public:
    LinkLabel(Host& host, form::LinkLabel& label);
    bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool isHot() const noexcept { return hot_; }

private:
    form::LinkLabel& link() const { return static_cast<form::LinkLabel&>(control_); }
    void fitToCaption();
    void updateHot(bool inside);
    void paint(HDC dc) override;

    bool hot_ = false;
    bool inside_ = false;
    bool pressed_ = false;
    bool dragFromElsewhere_ = false;
};

class CalculatorPanel;

// The base-tariff entry: a native edit with the drop-down button inside its
// border, at the right.
class Entry final : public NativePeer<form::EntryPeer> {
public:
    Entry(Host& host, form::CalcEdit& entry);
    ~Entry() override;

    std::u16string editText() const override;
    void setEditText(std::u16string_view text) override;
    Selection selection() const override;
    void replaceTyped(std::size_t position, std::size_t length, std::u16string_view inserted,
                      std::size_t caret) override;
    void selectAllText() override;
    void displayChanged() override;

    bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void command(WORD code) override;
    HWND dropDown() const noexcept { return dropDown_; }
    form::CalcEdit& entry() const { return static_cast<form::CalcEdit&>(control_); }
    // The drop-down calculator, made on first use.
    CalculatorPanel& calculator();
    // The calculator opened or closed: the button's look and tip follow.
    void calculatorShown(bool open);

private:
    // The drop-down button: clicked, it never takes the focus; it looks
    // pressed while the calculator is open.
    class DropDown final : public WindowTarget {
    public:
        explicit DropDown(Entry& entry) : entry_(entry) {}
        LRESULT windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        Entry& entry_;
    };

    void paste();
    void paintUnfocused(HDC dc);
    void placeDropDown();
    void setDropDownTip(bool on);
    void excludeDropDown(HDC dc) const;
    int dropDownWidth() const;
    HBRUSH background(HDC dc) const;

    DropDown dropDownTarget_{*this};
    HWND dropDown_ = nullptr;
    HWND tip_ = nullptr; // the drop-down button's
    std::unique_ptr<CalculatorPanel> calculator_;
    char16_t pendingHigh_ = 0; // the first half of a surrogate pair typed
};

// The window procedure of our own classes: the Native behind the window.
LRESULT CALLBACK nativeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                              DWORD_PTR data);

} // namespace brindelor::win32
