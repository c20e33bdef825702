#pragma once
// What the form asks of the native controls behind its components. Kept
// apart from the components so that a toolkit's headers can take them in
// without the core's C++20 headers (Qt's moc cannot parse those).

#include "brindelor/form/keys.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace brindelor::form {

class ControlPeer {
public:
    virtual bool focused() const = 0;
    virtual void takeFocus(FocusCause cause) = 0;

protected:
    ~ControlPeer() = default;
};

class EditPeer : public ControlPeer {
public:
    virtual std::u16string editText() const = 0;
    // As a program sets it: no undo step, the caret at the end.
    virtual void setEditText(std::u16string_view text) = 0;

protected:
    ~EditPeer() = default;
};

class CheckPeer : public ControlPeer {
public:
    virtual bool checked() const = 0;
    // Checking one option unchecks the others of its group box; each change
    // comes back through RadioButton::changed().
    virtual void setCheck(bool checked) = 0;

protected:
    ~CheckPeer() = default;
};

class FormPeer {
public:
    virtual ~FormPeer() = default;
    // Centred on the primary screen, shown, activated, the focus in first.
    virtual void show(ControlPeer* first) = 0;
};

class EntryPeer : public EditPeer {
public:
    struct Selection {
        std::size_t start = 0;  // the caret when nothing is selected
        std::size_t length = 0;
    };
    // UTF-16 positions.
    virtual Selection selection() const = 0;
    // A typing edit: replaces length units at position, then puts the caret
    // at caret. One step of the edit's undo, as any typing.
    virtual void replaceTyped(std::size_t position, std::size_t length, std::u16string_view inserted,
                              std::size_t caret) = 0;
    virtual void selectAllText() = 0;
    // What unfocusedText() gives has changed: redraw it.
    virtual void displayChanged() = 0;

protected:
    ~EntryPeer() = default;
};

// The drop-down calculator's panel, below the entry (above it without room).
class PanelPeer {
public:
    virtual bool isOpen() const = 0;
    // Shown against the entry, its display and keys refreshed.
    virtual void popUp() = 0;
    virtual void close() = 0;
    // The display or the decimal key's caption changed.
    virtual void refresh() = 0;

protected:
    ~PanelPeer() = default;
};

} // namespace brindelor::form
