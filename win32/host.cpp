#include "host.h"

#include "user_locale.h"
#include "calculator.h"
#include "natives.h"
#include "wide.h"

#include "brindelor/form/application.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>

namespace brindelor::win32 {

namespace {

Host* current = nullptr;

} // namespace

Host::Host(HINSTANCE instance)
    : instance_(instance)
{
    current = this;
    registerClasses();

    // The layout is stored for 96 dpi and a text height of 13: elsewhere the
    // window font follows the resolution, and the layout and the controls'
    // own fonts its text height.
    HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
    if (dpi_ != 96) {
        windowFontHeight_ = MulDiv(form::kFontHeight, dpi_, 96);
        ownFontHeight_ = windowFontHeight_;
        HFONT probe = CreateFontW(windowFontHeight_, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
        HGDIOBJ old = SelectObject(screen, probe);
        TEXTMETRICW metrics{};
        GetTextMetricsW(screen, &metrics);
        SelectObject(screen, old);
        DeleteObject(probe);
        textHeight_ = metrics.tmHeight;
        if (textHeight_ != form::kTextHeight)
            ownFontHeight_ = MulDiv(form::kFontHeight, textHeight_, form::kTextHeight);
    }
    ReleaseDC(nullptr, screen);
}

Host::~Host()
{
    natives_.clear();
    for (auto& [key, font] : fonts_)
        DeleteObject(font);
    for (auto& [color, brush] : brushes_)
        DeleteObject(brush);
    if (current == this)
        current = nullptr;
}

Host& Host::instance() { return *current; }

bool Host::exists() noexcept { return current != nullptr; }

void Host::registerClasses()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = nativeProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);

    wc.lpszClassName = kFormClass;
    wc.hIcon = LoadIconW(instance_, L"IDI_ICON1");
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance_, L"IDI_ICON1", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    RegisterClassExW(&wc);
    wc.hIcon = nullptr;
    wc.hIconSm = nullptr;

    wc.lpszClassName = kGroupClass;
    RegisterClassExW(&wc);
    // A double click on a link is no second click.
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = kLinkClass;
    RegisterClassExW(&wc);
    wc.style = 0;
    wc.lpszClassName = kDropDownClass;
    RegisterClassExW(&wc);
    wc.style = CS_DROPSHADOW;
    wc.lpszClassName = kCalculatorClass;
    RegisterClassExW(&wc);
}

// ---- Creation ----------------------------------------------------------

form::FormPeer* Host::createForm(form::Form& form)
{
    auto* window = new FormWindow(*this, form);
    if (!window_)
        window_ = window;
    return window;
}

form::ControlPeer* Host::createLabel(form::Label& label)
{
    auto native = std::make_unique<Label>(*this, label);
    Label* raw = native.get();
    adopt(std::move(native));
    return raw;
}

form::ControlPeer* Host::createLinkLabel(form::LinkLabel& label)
{
    auto native = std::make_unique<LinkLabel>(*this, label);
    LinkLabel* raw = native.get();
    adopt(std::move(native));
    return raw;
}

form::ControlPeer* Host::createGroupBox(form::GroupBox& box)
{
    auto native = std::make_unique<GroupBox>(*this, box);
    GroupBox* raw = native.get();
    adopt(std::move(native));
    return raw;
}

form::ControlPeer* Host::createButton(form::Button& button)
{
    auto native = std::make_unique<Button>(*this, button);
    Button* raw = native.get();
    adopt(std::move(native));
    return raw;
}

form::CheckPeer* Host::createRadioButton(form::RadioButton& option)
{
    auto native = std::make_unique<RadioButton>(*this, option);
    RadioButton* raw = native.get();
    adopt(std::move(native));
    return raw;
}

form::EditPeer* Host::createEdit(form::Edit& edit)
{
    auto native = std::make_unique<Edit>(*this, edit);
    Edit* raw = native.get();
    adopt(std::move(native));
    return raw;
}

form::EntryPeer* Host::createCalcEdit(form::CalcEdit& edit)
{
    auto native = std::make_unique<Entry>(*this, edit);
    Entry* raw = native.get();
    adopt(std::move(native));
    return raw;
}

form::PanelPeer* Host::createCalculator(form::CalcEdit& edit)
{
    auto* entry = dynamic_cast<Entry*>(find(&edit));
    return entry ? &entry->calculator() : nullptr;
}

void Host::adopt(std::unique_ptr<Native> native)
{
    byControl_[&native->control()] = native.get();
    const HWND hwnd = native->hwnd();
    natives_[hwnd] = std::move(native);
}

void Host::forget(HWND hwnd)
{
    const auto it = natives_.find(hwnd);
    if (it == natives_.end())
        return;
    byControl_.erase(&it->second->control());
    natives_.erase(it);
}

Native* Host::find(HWND hwnd) const
{
    const auto it = natives_.find(hwnd);
    return it == natives_.end() ? nullptr : it->second.get();
}

Native* Host::find(const form::Control* control) const
{
    const auto it = byControl_.find(control);
    return it == byControl_.end() ? nullptr : it->second;
}

HWND Host::hwndOf(const form::Control* control) const
{
    if (!control)
        return nullptr;
    if (control->kind() == form::Control::Kind::Form) {
        auto* window = dynamic_cast<FormWindow*>(static_cast<const form::Form*>(control)->peer());
        return window ? window->hwnd() : nullptr;
    }
    const Native* native = find(control);
    return native ? native->hwnd() : nullptr;
}

bool Host::isOurs(HWND hwnd) const
{
    for (HWND h = hwnd; h; h = GetAncestor(h, GA_PARENT)) {
        if (window_ && h == window_->hwnd())
            return true;
        wchar_t name[32] = {};
        GetClassNameW(h, name, 32);
        if (wcscmp(name, kCalculatorClass) == 0)
            return true;
    }
    return false;
}

// ---- Scaling, fonts, colours -------------------------------------------

RECT Host::scaled(form::Rect r) const
{
    return {scaled(r.left), scaled(r.top), scaled(r.left + r.width), scaled(r.top + r.height)};
}

HFONT Host::font(form::FontStyle style, bool own)
{
    const unsigned key = (style.bold ? 1u : 0u) | (style.italic ? 2u : 0u) | (style.underline ? 4u : 0u)
        | (style.strikeOut ? 8u : 0u) | (own ? 16u : 0u);
    auto& font = fonts_[key];
    if (!font) {
        font = CreateFontW(own ? ownFontHeight_ : windowFontHeight_, 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL,
                           style.italic, style.underline, style.strikeOut, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
    }
    return font;
}

HFONT Host::fontOf(const form::Control& control)
{
    // The window's own font is the window font; any other is scaled with the layout.
    const form::Control* owner = &control;
    while (owner && !owner->font)
        owner = owner->parent();
    const bool own = owner && owner->kind() != form::Control::Kind::Form;
    return font(control.effectiveFont(), own);
}

HBRUSH Host::brush(COLORREF color)
{
    auto& brush = brushes_[color];
    if (!brush)
        brush = CreateSolidBrush(color);
    return brush;
}

COLORREF Host::backgroundOf(const form::Control& control) const
{
    for (const form::Control* c = control.parent(); c; c = c->parent()) {
        if (c->color)
            return colorOf(*c->color);
    }
    return look.window;
}

LRESULT Host::controlColor(UINT message, HDC dc, HWND child)
{
    const Native* native = find(child);
    // The entry's own children (none draw text) and foreign windows.
    if (!native)
        return reinterpret_cast<LRESULT>(brush(look.window));
    const form::Control& c = native->control();
    const bool edit = message == WM_CTLCOLOREDIT
        || c.kind() == form::Control::Kind::Edit || c.kind() == form::Control::Kind::CalcEdit;
    const COLORREF background = edit ? (c.color ? colorOf(*c.color) : look.base) : backgroundOf(c);
    const COLORREF text = c.textColor ? colorOf(*c.textColor) : (edit ? look.text : look.windowText);
    SetTextColor(dc, text);
    SetBkColor(dc, background);
    SetBkMode(dc, OPAQUE);
    return reinterpret_cast<LRESULT>(brush(background));
}

bool Host::childMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_COMMAND:
        if (lParam) {
            if (Native* native = find(reinterpret_cast<HWND>(lParam))) {
                native->command(HIWORD(wParam));
                result = 0;
                return true;
            }
        }
        return false;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        result = controlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        return true;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        Native* native = header ? find(header->hwndFrom) : nullptr;
        return native && native->notify(*header, result);
    }
    default:
        return false;
    }
}

// ---- Focus -------------------------------------------------------------

void Host::moveFocus(HWND to, form::FocusCause cause)
{
    const bool wasProgram = programFocus_;
    const form::FocusCause wasCause = programCause_;
    programFocus_ = true;
    programCause_ = cause;
    SetFocus(to);
    programFocus_ = wasProgram;
    programCause_ = wasCause;
}

form::FocusCause Host::gainCause() const
{
    if (programFocus_)
        return programCause_;
    if (activating)
        return form::FocusCause::Transient;
    return lastInput_;
}

form::FocusCause Host::lossCause(HWND gaining) const
{
    // Another window (a message box, another program) takes it for a while.
    if (!gaining || !isOurs(gaining))
        return form::FocusCause::Transient;
    return gainCause();
}

// ---- Services ----------------------------------------------------------

void Host::beep()
{
    // Tests count the beeps in a file instead of hearing them.
    if (const char* log = std::getenv("BRINDELOR_BEEP_LOG"); log && *log) {
        if (FILE* f = std::fopen(log, "ab")) {
            std::fputs("beep\n", f);
            std::fclose(f);
        }
        return;
    }
    MessageBeep(MB_OK);
}

void Host::showErrorBox(const std::string& caption, const std::string& text)
{
    MessageBoxW(GetActiveWindow(), wide(text).c_str(), wide(caption).c_str(), MB_OK | MB_ICONERROR);
}

void Host::openUrl(const std::string& url)
{
    // Tests record the address instead of starting a browser.
    if (const char* log = std::getenv("BRINDELOR_OPEN_LOG"); log && *log) {
        if (FILE* f = std::fopen(log, "ab")) {
            std::fprintf(f, "%s\n", url.c_str());
            std::fclose(f);
        }
        return;
    }
    // shell32 on the first click only: start-up does without it.
    using Execute = decltype(&ShellExecuteW);
    static const auto execute = [] {
        HMODULE shell = LoadLibraryW(L"shell32.dll");
        return shell ? reinterpret_cast<Execute>(reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteW"))) : nullptr;
    }();
    if (execute)
        execute(nullptr, L"open", wide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

Separators Host::localeSeparators() { return userLocaleSeparators(); }

// ---- The loop ----------------------------------------------------------

int Host::run(FormWindow& main)
{
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1)
            break;
        switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: lastInput_ = form::FocusCause::Keyboard; break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN: lastInput_ = form::FocusCause::Mouse; break;
        default: break;
        }
        if (IsWindow(main.hwnd()) && isOurs(msg.hwnd)) {
            // Key preview: the form sees each character before the control.
            // Characters go straight to the control: the dialog manager would
            // look for mnemonics (there are none) and beep.
            if (msg.message == WM_CHAR) {
                if (main.form().previewKey(static_cast<char16_t>(msg.wParam)))
                    continue;
                DispatchMessageW(&msg);
                continue;
            }
            // Tab, the arrows within a group, Escape and Enter.
            if (IsDialogMessageW(main.hwnd(), &msg))
                continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

} // namespace brindelor::win32
