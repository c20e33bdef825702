#pragma once
// The form's components, free of any GUI toolkit. Each holds what the layout
// says of it (caption, place, font, colours, tab order) and its handlers; a
// front end supplies the native control behind it, its peer, and forwards
// the native events to it. Every rule lives here, once, for all front ends.

#include "brindelor/form/keys.h"
#include "brindelor/form/peers.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindelor::form {

class Application;
class Control;
class Form;
class Platform;

// Pixels at 96 dpi, relative to the parent's client area.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(Rect, Rect) = default;
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// Every font is the window's face and size with these styles.
inline constexpr std::string_view kFontName = "Tahoma";
inline constexpr int kFontHeight = -11; // 8 pt at 96 dpi, text height 13
inline constexpr int kTextHeight = 13;

struct FontStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    friend constexpr bool operator==(FontStyle, FontStyle) = default;
};

enum class Alignment { Left, Center, Right };

using Handler = std::function<void(Control* Sender)>;

// ---- Components ------------------------------------------------------------

class Control {
public:
    enum class Kind { Form, Label, LinkLabel, GroupBox, Button, RadioButton, Edit, CalcEdit };

    Control(Form* owner, Kind kind, std::string name, Control* parent);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    Kind kind() const noexcept { return kind_; }
    const std::string& Name() const noexcept { return name_; }
    Form& owner() const noexcept { return *owner_; }
    Control* parent() const noexcept { return parent_; }
    // Children in creation order.
    const std::vector<Control*>& children() const noexcept { return children_; }

    // The layout, fixed once the window exists.
    std::string caption;            // UTF-8
    Rect bounds;                    // the client area for the window
    int tabOrder = -1;              // among the parent's children; -1: takes no focus
    std::optional<FontStyle> font;  // none: the parent's font
    std::optional<Rgb> textColor;   // none: the system's window-text colour
    std::optional<Rgb> color;       // the background; none: the parent's
    bool visible = true;
    Alignment alignment = Alignment::Left;
    std::string accessibleName;     // what a screen reader announces, if not the caption

    // The font the control is drawn with: its own, else its parent's.
    FontStyle effectiveFont() const;

    bool Focused() const;
    void SetFocus(FocusCause cause = FocusCause::Program);

    ControlPeer* peer() const noexcept { return peer_; }

protected:
    friend class Form;
    virtual ControlPeer* createPeer(Platform& platform) = 0;
    Application& application() const;

    ControlPeer* peer_ = nullptr;

private:
    Form* owner_;
    Kind kind_;
    std::string name_;
    Control* parent_;
    std::vector<Control*> children_;
};

class Label : public Control {
public:
    Label(Form& owner, std::string name, Control* parent);

protected:
    ControlPeer* createPeer(Platform& platform) override;
};

class GroupBox : public Control {
public:
    GroupBox(Form& owner, std::string name, Control* parent);

protected:
    ControlPeer* createPeer(Platform& platform) override;
};

class Button : public Control {
public:
    Button(Form& owner, std::string name, Control* parent);

    Handler OnClick;
    // Runs OnClick, visible or not; what it throws goes to the caller.
    void Click();
    // The native button was clicked.
    void clicked();

protected:
    ControlPeer* createPeer(Platform& platform) override;
};

class Edit : public Control {
public:
    Edit(Form& owner, std::string name, Control* parent);

    std::string Text() const;
    void setText(std::string_view utf8);

protected:
    ControlPeer* createPeer(Platform& platform) override;
    EditPeer* edit() const;
};

class RadioButton : public Control {
public:
    RadioButton(Form& owner, std::string name, Control* parent);

    bool initiallyChecked = false; // the layout's state, set before any handler
    Handler OnClick;               // runs when the option goes from unchecked to checked

    bool Checked() const;
    void setChecked(bool checked);

    // The options of the same parent, in tab order.
    std::vector<RadioButton*> group() const;
    // Tab stops only at the checked option of a group (the first while none is).
    bool isTabStop() const;

    // The native control's check changed (by the user, the program, or its
    // group's exclusivity).
    void changed(bool checked);
    // An arrow key on the focused option: Down/Right go to the next option,
    // Up/Left to the previous one, wrapping at both ends; the option moved to
    // takes the focus and gets checked. With Alt nothing happens. Returns
    // whether the key was one of those.
    bool arrowKey(const Key& key);

protected:
    ControlPeer* createPeer(Platform& platform) override;
    CheckPeer* check() const;
};

class LinkLabel : public Control {
public:
    LinkLabel(Form& owner, std::string name, Control* parent);

    std::string url;
    bool shadow = false; // a copy of the caption 2 px right and down, drawn first
    static constexpr int kShadowOffset = 2;

    // Asks the shell to open the address; a failure is ignored, silently.
    void Click();
    // The native label was clicked (a left press and release inside it).
    void clicked();

protected:
    ControlPeer* createPeer(Platform& platform) override;
};

// The window: a control that owns all the others.
class Form : public Control {
public:
    Form(Application& application, std::string name);
    ~Form() override;

    Application& application() const noexcept { return application_; }

    // Key preview: the window's key handler sees each character key before
    // the focused control does; setting the key to 0 swallows it.
    bool KeyPreview = false;
    std::function<void(Control* Sender, char16_t& Key)> OnKeyPress;
    // A character key is about to reach the focused control (or the open
    // calculator). Returns true when the handler swallowed it.
    bool previewKey(char16_t key);

    // Every control, in creation order.
    const std::vector<Control*>& controls() const noexcept { return controls_; }
    // The controls that take the focus, in tab order (containers walked
    // depth first, skipping hidden ones).
    std::vector<Control*> tabSequence() const;

    FormPeer* peer() const noexcept { return window_.get(); }

protected:
    // A component of this form, created in layout order.
    template <typename C>
    C* add(std::string name, Control* parent = nullptr)
    {
        auto control = std::make_unique<C>(*this, std::move(name), parent ? parent : this);
        C* raw = control.get();
        owned_.push_back(std::move(control));
        controls_.push_back(raw);
        return raw;
    }

    // The native window and its controls, in creation order.
    void createWindow();
    // Shows the window with the focus in the first control of the tab order.
    void Show();
    // The native window goes, with its controls; call it first in the
    // destructor of a derived form, whose handlers must not outlive it.
    void destroyWindow() noexcept;

    ControlPeer* createPeer(Platform& platform) override;

private:
    friend class Application;
    void numberSettingsChanged();

    Application& application_;
    std::vector<std::unique_ptr<Control>> owned_;
    std::vector<Control*> controls_;
    std::unique_ptr<FormPeer> window_;
};

} // namespace brindelor::form
