#pragma once
// A key as the form sees it, whatever the toolkit reported.

#include <string>

namespace brindelor::form {

struct Key {
    enum class Code { Other, Escape, Enter, Tab, Backtab, Up, Down, Left, Right, F4, Backspace, Delete };
    Code code = Code::Other;
    std::u16string text; // what the key types, if anything
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool meta = false;

    bool plain() const noexcept { return !ctrl && !alt && !meta; }
};

// Why a control gains or loses the keyboard focus.
enum class FocusCause {
    Keyboard,  // Tab, Shift+Tab, arrows, a shortcut
    Mouse,     // a click
    Program,   // the program moved it (Escape's reset, start-up)
    Transient, // a popup or another window came and went: not a real move
};

} // namespace brindelor::form
