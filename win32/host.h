#pragma once
// The Win32 front end's platform: native windows behind the form's
// components, the message loop with the key preview and the dialog
// manager's navigation, the fonts and colours, the services.

#include "brindelor/form/controls.h"
#include "brindelor/form/platform.h"

#include "brindelor/tariff/separators.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace brindelor::win32 {

class Native;
class FormWindow;

// The colours everything is drawn with: the system's until a style sets its
// own (TrySetStyle).
struct Look {
    COLORREF window = GetSysColor(COLOR_BTNFACE);
    COLORREF windowText = GetSysColor(COLOR_WINDOWTEXT);
    COLORREF base = GetSysColor(COLOR_WINDOW);
    COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    COLORREF button = GetSysColor(COLOR_BTNFACE);
    COLORREF buttonText = GetSysColor(COLOR_BTNTEXT);
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF mid = GetSysColor(COLOR_BTNSHADOW);
    COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    COLORREF highlightedText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    COLORREF disabledText = GetSysColor(COLOR_GRAYTEXT);
    bool styled = false; // a style paints the controls
};

inline COLORREF colorOf(form::Rgb c) { return RGB(c.red, c.green, c.blue); }

class Host final : public form::Platform {
public:
    explicit Host(HINSTANCE instance);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    static Host& instance(); // the one host, while it exists
    static bool exists() noexcept;

    HINSTANCE module() const noexcept { return instance_; }

    // ---- form::Platform ----
    form::FormPeer* createForm(form::Form& form) override;
    form::ControlPeer* createLabel(form::Label& label) override;
    form::ControlPeer* createLinkLabel(form::LinkLabel& label) override;
    form::ControlPeer* createGroupBox(form::GroupBox& box) override;
    form::ControlPeer* createButton(form::Button& button) override;
    form::CheckPeer* createRadioButton(form::RadioButton& button) override;
    form::EditPeer* createEdit(form::Edit& edit) override;
    form::EntryPeer* createCalcEdit(form::CalcEdit& edit) override;
    form::PanelPeer* createCalculator(form::CalcEdit& edit) override;
    void beep() override;
    void showErrorBox(const std::string& caption, const std::string& text) override;
    void openUrl(const std::string& url) override;

    // ---- Scaling: the layout is stored for 96 dpi and a text height of 13 ----
    int scaled(int value) const { return textHeight_ == 13 ? value : MulDiv(value, textHeight_, 13); }
    RECT scaled(form::Rect r) const;
    int dpi() const noexcept { return dpi_; }
    // Device pixels per layout pixel.
    double scale() const noexcept { return textHeight_ / static_cast<double>(form::kTextHeight); }
    // Tahoma with these styles, owned by the host: at the window font's
    // height, or (own) at the height of a control's own font.
    HFONT font(form::FontStyle style, bool own = false);
    // The font a control is drawn with: its own, or the one it inherits.
    HFONT fontOf(const form::Control& control);

    // ---- Colours ----
    Look look;
    HBRUSH brush(COLORREF color);
    // The background a control stands on: its container's own colour, or
    // the window's.
    COLORREF backgroundOf(const form::Control& control) const;
    // WM_CTLCOLOR* from a child: its text and background colours.
    LRESULT controlColor(UINT message, HDC dc, HWND child);

    // ---- The natives ----
    Native* find(HWND hwnd) const;
    Native* find(const form::Control* control) const;
    HWND hwndOf(const form::Control* control) const;
    void adopt(std::unique_ptr<Native> native);
    void forget(HWND hwnd);
    // Routes a WM_COMMAND / WM_CTLCOLOR* / WM_NOTIFY a container received
    // from one of its children. Returns true when handled.
    bool childMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // ---- Focus: why it moves ----
    void moveFocus(HWND to, form::FocusCause cause);
    form::FocusCause gainCause() const;
    form::FocusCause lossCause(HWND gaining) const;
    // Set while the window gives the focus back on its activation.
    bool activating = false;

    // ---- The loop ----
    // Runs until the main window is gone; returns the quit code.
    int run(FormWindow& main);

    // The locale's separators, from the Windows user locale.
    static Separators localeSeparators();

    FormWindow* window() const noexcept { return window_; }

private:
    friend class FormWindow;
    void registerClasses();
    bool isOurs(HWND hwnd) const;

    HINSTANCE instance_;
    int dpi_ = 96;
    int textHeight_ = 13;
    int windowFontHeight_ = form::kFontHeight;
    int ownFontHeight_ = form::kFontHeight;
    std::map<unsigned, HFONT> fonts_;
    std::map<COLORREF, HBRUSH> brushes_;
    std::unordered_map<HWND, std::unique_ptr<Native>> natives_;
    std::unordered_map<const form::Control*, Native*> byControl_;
    FormWindow* window_ = nullptr;
    form::FocusCause lastInput_ = form::FocusCause::Program;
    bool programFocus_ = false;
    form::FocusCause programCause_ = form::FocusCause::Program;
};

} // namespace brindelor::win32
