#include "natives.h"

#include "accessibility.h"
#include "calculator.h"
#include "look.h"
#include "wide.h"

#include "brindelor/form/application.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

namespace brindelor::win32 {

namespace {

// Control ids: clear of IDOK and IDCANCEL, which the dialog manager sends
// for Enter and Escape; 100 + the component's place in the creation order, so
// that a test finds a control from outside the process.
constexpr int kFirstId = 100;

int idOf(const form::Control& control)
{
    const std::vector<form::Control*>& all = control.owner().controls();
    const auto at = std::find(all.begin(), all.end(), &control);
    return kFirstId + static_cast<int>(at - all.begin());
}

WindowTarget* targetOf(HWND hwnd) { return reinterpret_cast<WindowTarget*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

form::Key keyOf(WPARAM vk, bool alt)
{
    using Code = form::Key::Code;
    form::Key key;
    switch (vk) {
    case VK_ESCAPE: key.code = Code::Escape; break;
    case VK_RETURN: key.code = Code::Enter; break;
    case VK_TAB: key.code = GetKeyState(VK_SHIFT) < 0 ? Code::Backtab : Code::Tab; break;
    case VK_UP: key.code = Code::Up; break;
    case VK_DOWN: key.code = Code::Down; break;
    case VK_LEFT: key.code = Code::Left; break;
    case VK_RIGHT: key.code = Code::Right; break;
    case VK_F4: key.code = Code::F4; break;
    case VK_BACK: key.code = Code::Backspace; break;
    case VK_DELETE: key.code = Code::Delete; break;
    default: break;
    }
    key.shift = GetKeyState(VK_SHIFT) < 0;
    key.ctrl = GetKeyState(VK_CONTROL) < 0;
    key.alt = alt;
    return key;
}

// A character as the calculator sees it: the keys that type one, by code.
form::Key keyOfChar(wchar_t c)
{
    using Code = form::Key::Code;
    form::Key key;
    switch (c) {
    case 27: key.code = Code::Escape; break;
    case 13: key.code = Code::Enter; break;
    case 9: key.code = GetKeyState(VK_SHIFT) < 0 ? Code::Backtab : Code::Tab; break;
    case 8: key.code = Code::Backspace; break;
    default: key.text = std::u16string(1, static_cast<char16_t>(c)); break;
    }
    key.ctrl = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0; // AltGr is Ctrl+Alt
    return key;
}

// The second subclass of an edit: under a style, its frame.
constexpr UINT_PTR kFrameSubclass = 2;

void paintFrame(const Native& native, bool focused)
{
    const Host& host = native.host();
    const form::Control& c = native.control();
    look::paintEditFrame(native.hwnd(), host.look, {host.scale()}, c.color ? colorOf(*c.color) : host.look.base,
                         host.backgroundOf(c), focused);
}

LRESULT CALLBACK editFrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    const auto* native = reinterpret_cast<const Native*>(data);
    switch (message) {
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, editFrameProc, kFrameSubclass);
        break;
    case WM_NCPAINT:
        if (!native->host().look.styled)
            break;
        paintFrame(*native, GetFocus() == hwnd);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        // The frame shows where the focus is.
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        if (native->host().look.styled && IsWindow(hwnd))
            paintFrame(*native, message == WM_SETFOCUS && GetFocus() == hwnd);
        return result;
    }
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

std::wstring windowText(HWND hwnd)
{
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

} // namespace

LRESULT CALLBACK nativeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    if (WindowTarget* target = targetOf(hwnd))
        return target->windowProc(hwnd, message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto* native = reinterpret_cast<Native*>(data);
    LRESULT result = 0;
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, subclassProc, 1);
    else if (native->message(message, wParam, lParam, result))
        return result;
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// ---- Native ------------------------------------------------------------

Native::Native(Host& host, form::Control& control)
    : host_(host)
    , control_(control)
{
}

bool Native::message(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT Native::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (hwnd_ && message(msg, wParam, lParam, result))
        return result;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool Native::paintMessage(UINT message, LRESULT& result)
{
    if (message == WM_ERASEBKGND) {
        result = 1;
        return true;
    }
    if (message != WM_PAINT)
        return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    paint(dc);
    EndPaint(hwnd_, &ps);
    result = 0;
    return true;
}

HWND Native::parentHwnd() const { return host_.hwndOf(control_.parent()); }

void Native::create(const wchar_t* windowClass, const std::wstring& text, DWORD style, DWORD exStyle)
{
    const RECT r = host_.scaled(control_.bounds);
    const bool ours = windowClass == kGroupClass || windowClass == kLinkClass;
    hwnd_ = CreateWindowExW(exStyle, windowClass, text.c_str(),
                            style | WS_CHILD | (control_.visible ? WS_VISIBLE : 0), r.left, r.top,
                            r.right - r.left, r.bottom - r.top, parentHwnd(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(idOf(control_))), host_.module(),
                            ours ? static_cast<WindowTarget*>(this) : nullptr);
    if (!ours)
        SetWindowSubclass(hwnd_, subclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
    if (lstrcmpiW(windowClass, L"EDIT") == 0)
        SetWindowSubclass(hwnd_, editFrameProc, kFrameSubclass, reinterpret_cast<DWORD_PTR>(this));
    setFont();
}

void Native::setFont()
{
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(host_.fontOf(control_)), FALSE);
}

// ---- FormWindow ----------------------------------------------------------

FormWindow::FormWindow(Host& host, form::Form& form)
    : host_(host)
    , form_(form)
{
    // A tool-window frame with a close box only, not resizable, that still
    // owns its taskbar button.
    constexpr DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    constexpr DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, host.scaled(form.bounds.width), host.scaled(form.bounds.height)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    hwnd_ = CreateWindowExW(exStyle, kFormClass, wide(form.caption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, host.module(),
                            static_cast<WindowTarget*>(this));
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(host.fontOf(form)), FALSE);
}

FormWindow::~FormWindow()
{
    if (IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    for (form::Control* control : form_.controls()) {
        if (const Native* native = host_.find(control))
            host_.forget(native->hwnd());
    }
    if (host_.window_ == this)
        host_.window_ = nullptr;
}

void FormWindow::show(form::ControlPeer* first)
{
    // Centred on the primary screen's work area.
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT frame{};
    GetWindowRect(hwnd_, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(hwnd_, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    if (first)
        first->takeFocus(form::FocusCause::Program);
}

LRESULT FormWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (message) {
    case WM_COMMAND:
        // The dialog manager turns Escape into IDCANCEL for a control that
        // does not want it: the window's key preview still sees it.
        if (LOWORD(wParam) == IDCANCEL && lParam == 0) {
            form_.previewKey(27);
            return 0;
        }
        if (LOWORD(wParam) == IDOK && lParam == 0)
            return 0; // Enter does nothing
        if (host_.childMessage(message, wParam, lParam, result))
            return result;
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_NOTIFY:
        host_.childMessage(message, wParam, lParam, result);
        return result;
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, host_.brush(host_.look.window));
        return 1;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(hwnd, focus))
                lastFocus_ = focus;
        } else if (lastFocus_ && IsWindow(lastFocus_)) {
            // Back to where the focus was: not a move of the user's.
            host_.activating = true;
            SetFocus(lastFocus_);
            host_.activating = false;
        }
        // Hot tracking needs an active application: redraw the links.
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        return 0;
    case WM_SETTINGCHANGE:
        if (lParam && lstrcmpiW(reinterpret_cast<const wchar_t*>(lParam), L"intl") == 0)
            form_.application().setNumberSettings(Host::localeSeparators());
        break;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// ---- Label, GroupBox, Button -----------------------------------------------

Label::Label(Host& host, form::Label& label)
    : NativePeer(host, label)
{
    create(L"STATIC", wide(label.caption), SS_LEFT | SS_NOPREFIX);
    // Never cut: where the scaled font outgrows the scaled place (the
    // controls' own fonts grow a little faster than the layout), the label
    // widens to its caption, as it would size itself to it.
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, host.fontOf(label));
    const std::wstring caption = wide(label.caption);
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    RECT r;
    GetClientRect(hwnd_, &r);
    if (extent.cx > r.right || extent.cy > r.bottom)
        SetWindowPos(hwnd_, nullptr, 0, 0, std::max<LONG>(extent.cx, r.right), std::max<LONG>(extent.cy, r.bottom),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

GroupBox::GroupBox(Host& host, form::GroupBox& box)
    : NativePeer(host, box)
{
    create(kGroupClass, wide(box.caption), WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

bool GroupBox::message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (paintMessage(message, result))
        return true;
    switch (message) {
    case WM_SETTEXT:
        InvalidateRect(hwnd_, nullptr, TRUE);
        return false;
    default:
        return host_.childMessage(message, wParam, lParam, result);
    }
}

void GroupBox::paint(HDC dc)
{
    RECT r;
    GetClientRect(hwnd_, &r);
    const COLORREF background = control_.color ? colorOf(*control_.color) : host_.backgroundOf(control_);
    const COLORREF textColor = control_.textColor ? colorOf(*control_.textColor) : host_.look.windowText;
    if (host_.look.styled) {
        look::paintGroupBox(dc, r, host_.look, {host_.scale()}, background, host_.fontOf(control_),
                            textColor, wide(control_.caption));
        return;
    }
    FillRect(dc, &r, host_.brush(background));
    HGDIOBJ oldFont = SelectObject(dc, host_.fontOf(control_));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT frame = r;
    frame.top += metrics.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    const std::wstring caption = wide(control_.caption);
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    RECT label{host_.scaled(6), 0, host_.scaled(6) + extent.cx + host_.scaled(4), metrics.tmHeight};
    FillRect(dc, &label, host_.brush(background));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColor);
    label.left += host_.scaled(2);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &label, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

Button::Button(Host& host, form::Button& button)
    : NativePeer(host, button)
{
    create(L"BUTTON", wide(button.caption), BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP);
}

void Button::command(WORD code)
{
    if (code == BN_CLICKED)
        static_cast<form::Button&>(control_).clicked();
}

// ---- RadioButton ---------------------------------------------------------

RadioButton::RadioButton(Host& host, form::RadioButton& option)
    : NativePeer(host, option)
{
    // The first option opens its group; the dialog manager keeps Tab and the
    // arrows within it, and tabs to the checked one.
    const DWORD first = option.tabOrder == 0 ? WS_GROUP | WS_TABSTOP : 0;
    create(L"BUTTON", wide(option.caption), BS_AUTORADIOBUTTON | first);
}

bool RadioButton::checked() const { return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void RadioButton::setCheck(bool on)
{
    if (on) {
        for (form::RadioButton* other : option().group()) {
            if (other != &option())
                SendMessageW(host_.hwndOf(other), BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
    SendMessageW(hwnd_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    syncGroup();
}

void RadioButton::command(WORD code)
{
    if (code == BN_CLICKED)
        syncGroup();
}

bool RadioButton::notify(const NMHDR& header, LRESULT& result)
{
    if (header.code != NM_CUSTOMDRAW || !host_.look.styled)
        return false;
    const auto& draw = reinterpret_cast<const NMCUSTOMDRAW&>(header);
    if (draw.dwDrawStage != CDDS_PREPAINT) {
        result = CDRF_DODEFAULT;
        return true;
    }
    // The whole option is the style's: indicator, caption and focus cue.
    const LRESULT ui = SendMessageW(hwnd_, WM_QUERYUISTATE, 0, 0);
    look::OptionState state;
    state.checked = checked();
    state.hot = hot_ || (draw.uItemState & CDIS_HOT) != 0;
    state.down = (draw.uItemState & CDIS_SELECTED) != 0 || (SendMessageW(hwnd_, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    state.enabled = IsWindowEnabled(hwnd_) != FALSE;
    state.focusCue = GetFocus() == hwnd_ && !(ui & UISF_HIDEFOCUS);
    RECT client;
    GetClientRect(hwnd_, &client);
    const COLORREF text = control_.textColor ? colorOf(*control_.textColor) : host_.look.windowText;
    look::paintOption(draw.hdc, client, host_.look, {host_.scale()}, state, host_.backgroundOf(control_),
                      host_.fontOf(control_), text, wide(control_.caption));
    result = CDRF_SKIPDEFAULT;
    return true;
}

bool RadioButton::message(UINT message, WPARAM, LPARAM, LRESULT&)
{
    // Hot tracking for the indicator, whether or not the button tracks it.
    switch (message) {
    case WM_MOUSEMOVE:
        if (!hot_) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd_, 0};
            TrackMouseEvent(&track);
            hot_ = true;
            if (host_.look.styled)
                InvalidateRect(hwnd_, nullptr, FALSE);
        }
        return false;
    case WM_MOUSELEAVE:
        hot_ = false;
        if (host_.look.styled)
            InvalidateRect(hwnd_, nullptr, FALSE);
        return false;
    default:
        return false;
    }
}

void RadioButton::syncGroup()
{
    // Unchecked ones first: a handler sees its group as it now is.
    const std::vector<form::RadioButton*> group = option().group();
    for (const bool on : {false, true}) {
        for (form::RadioButton* other : group) {
            auto* native = dynamic_cast<RadioButton*>(host_.find(other));
            if (!native)
                continue;
            const bool now = native->checked();
            if (now == on && now != native->known_) {
                native->known_ = now;
                other->changed(now);
            }
        }
    }
}

// ---- Edit ----------------------------------------------------------------

Edit::Edit(Host& host, form::Edit& edit)
    : NativePeer(host, edit)
{
    DWORD align = ES_LEFT;
    if (edit.alignment == form::Alignment::Center)
        align = ES_CENTER;
    else if (edit.alignment == form::Alignment::Right)
        align = ES_RIGHT;
    create(L"EDIT", L"", align | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
}

std::u16string Edit::editText() const { return std::u16string(u16(windowText(hwnd_))); }

void Edit::setEditText(std::u16string_view text) { SetWindowTextW(hwnd_, wide(text).c_str()); }

bool Edit::message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_GETOBJECT)
        return answerAccessibleName(hwnd_, wParam, lParam, wide(control_.accessibleName), result);
    // Escape and Enter are discarded, without a beep.
    if (message == WM_CHAR && (wParam == 27 || wParam == 13)) {
        result = 0;
        return true;
    }
    return false;
}

// ---- LinkLabel -----------------------------------------------------------

LinkLabel::LinkLabel(Host& host, form::LinkLabel& label)
    : NativePeer(host, label)
{
    create(kLinkClass, wide(label.caption), 0);
    fitToCaption();
}

void LinkLabel::fitToCaption()
{
    // Big enough for the caption in either font, and the shadow.
    HDC dc = GetDC(hwnd_);
    const std::wstring caption = wide(control_.caption);
    SIZE size{};
    // The hot-tracking font is the label's own, like its declared one.
    for (HFONT font : {host_.fontOf(control_), host_.font(form::FontStyle{}, true)}) {
        HGDIOBJ old = SelectObject(dc, font);
        SIZE extent{};
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
        size.cx = std::max(size.cx, extent.cx);
        size.cy = std::max(size.cy, extent.cy);
        SelectObject(dc, old);
    }
    ReleaseDC(hwnd_, dc);
    const int shadow = link().shadow ? host_.scaled(form::LinkLabel::kShadowOffset) : 0;
    SetWindowPos(hwnd_, nullptr, 0, 0, size.cx + shadow, size.cy + shadow, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void LinkLabel::updateHot(bool inside)
{
    inside_ = inside;
    // The mouse over it, the application active, enabled, no drag going on.
    const bool hot = inside_ && GetActiveWindow() != nullptr && IsWindowEnabled(hwnd_) && !dragFromElsewhere_;
    if (hot != hot_) {
        hot_ = hot;
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

void LinkLabel::paint(HDC dc)
{
    RECT r;
    GetClientRect(hwnd_, &r);
    // Transparent: its parent's background around the text.
    FillRect(dc, &r, host_.brush(host_.backgroundOf(control_)));
    const bool hot = inside_ && GetActiveWindow() != nullptr && IsWindowEnabled(hwnd_) && !dragFromElsewhere_;
    HGDIOBJ old = SelectObject(dc, hot ? host_.font(form::FontStyle{}, true) : host_.fontOf(control_));
    SetBkMode(dc, TRANSPARENT);
    const std::wstring caption = wide(control_.caption);
    constexpr UINT flags = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
    if (link().shadow) {
        const int offset = host_.scaled(form::LinkLabel::kShadowOffset);
        RECT shadow{r.left + offset, r.top + offset, r.right, r.bottom};
        SetTextColor(dc, host_.look.light);
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &shadow, flags);
    }
    COLORREF color = control_.textColor ? colorOf(*control_.textColor) : host_.look.windowText;
    if (!IsWindowEnabled(hwnd_))
        color = host_.look.disabledText;
    else if (hot)
        color = host_.look.windowText;
    SetTextColor(dc, color);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, flags);
    SelectObject(dc, old);
}

bool LinkLabel::message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    if (paintMessage(message, result))
        return true;
    switch (message) {
    case WM_MOUSEMOVE: {
        if (!inside_ && !pressed_) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd_, 0};
            TrackMouseEvent(&track);
            // A button held on entering: a drag that began elsewhere.
            dragFromElsewhere_ = (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
        }
        if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)))
            dragFromElsewhere_ = false;
        RECT r;
        GetClientRect(hwnd_, &r);
        const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        updateHot(PtInRect(&r, p) != FALSE);
        return true;
    }
    case WM_MOUSELEAVE:
        dragFromElsewhere_ = false;
        updateHot(false);
        return true;
    case WM_LBUTTONDOWN:
        pressed_ = true;
        SetCapture(hwnd_);
        return true;
    case WM_LBUTTONDBLCLK:
        // The second press of a double click: the first click has opened it.
        return true;
    case WM_LBUTTONUP:
        if (pressed_) {
            pressed_ = false;
            ReleaseCapture();
            RECT r;
            GetClientRect(hwnd_, &r);
            const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (PtInRect(&r, p))
                link().clicked();
        }
        return true;
    case WM_CAPTURECHANGED:
        pressed_ = false;
        return true;
    case WM_ENABLE:
        InvalidateRect(hwnd_, nullptr, TRUE);
        return false;
    default:
        return false;
    }
}

// ---- Entry ---------------------------------------------------------------

Entry::Entry(Host& host, form::CalcEdit& entry)
    : NativePeer(host, entry)
{
    create(L"EDIT", L"", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE);
    SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0); // no length limit
    dropDown_ = CreateWindowExW(0, kDropDownClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd_, nullptr,
                                host.module(), static_cast<WindowTarget*>(&dropDownTarget_));
    placeDropDown();
    tip_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, host.module(),
                           nullptr);
    setDropDownTip(true);
}

Entry::~Entry() = default;

CalculatorPanel& Entry::calculator()
{
    if (!calculator_)
        calculator_ = std::make_unique<CalculatorPanel>(host_, *this);
    return *calculator_;
}

void Entry::setDropDownTip(bool on)
{
    if (!tip_)
        return;
    wchar_t text[] = L"Calculatrice (Alt+Bas)";
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(dropDown_);
    tool.lpszText = text;
    SendMessageW(tip_, on ? TTM_ADDTOOLW : TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Entry::calculatorShown(bool open)
{
    // Taken away while the calculator is open: a tip about to show, from
    // the pointer resting on the button, would cover the display.
    setDropDownTip(!open);
    if (dropDown_)
        InvalidateRect(dropDown_, nullptr, FALSE);
}

int Entry::dropDownWidth() const { return host_.scaled(15); }

void Entry::placeDropDown()
{
    if (!dropDown_)
        return; // the font comes first, at creation
    RECT r;
    GetClientRect(hwnd_, &r);
    const int width = std::min(dropDownWidth(), static_cast<int>(r.right));
    MoveWindow(dropDown_, r.right - width, 0, width, r.bottom, TRUE);
    // The text, typed or drawn by us, ends left of the button.
    SendMessageW(hwnd_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                 MAKELPARAM(host_.scaled(1), width + host_.scaled(1)));
}

void Entry::excludeDropDown(HDC dc) const
{
    // An edit paints with its parent's clipping (CS_PARENTDC): its own
    // WS_CLIPCHILDREN does not keep it off the button.
    RECT button;
    GetWindowRect(dropDown_, &button);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&button), 2);
    ExcludeClipRect(dc, button.left, button.top, button.right, button.bottom);
}

HBRUSH Entry::background(HDC dc) const
{
    auto* brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(hwnd_), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd_)));
    return brush ? brush : host_.brush(host_.look.base);
}

std::u16string Entry::editText() const { return std::u16string(u16(windowText(hwnd_))); }

void Entry::setEditText(std::u16string_view text)
{
    SetWindowTextW(hwnd_, wide(text).c_str());
    entry().textChanged();
}

form::EntryPeer::Selection Entry::selection() const
{
    DWORD start = 0, end = 0;
    SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end - start};
}

void Entry::replaceTyped(std::size_t position, std::size_t length, std::u16string_view inserted, std::size_t caret)
{
    SendMessageW(hwnd_, EM_SETSEL, position, static_cast<LPARAM>(position + length));
    SendMessageW(hwnd_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide(inserted).c_str()));
    SendMessageW(hwnd_, EM_SETSEL, caret, static_cast<LPARAM>(caret));
    entry().textChanged();
}

void Entry::selectAllText() { SendMessageW(hwnd_, EM_SETSEL, 0, -1); }

void Entry::displayChanged() { InvalidateRect(hwnd_, nullptr, TRUE); }

void Entry::command(WORD code)
{
    // Whatever changed the text, the edit's own keys and menu included
    // (Backspace, Delete, cut, undo): the value shown without the focus
    // is read anew.
    if (code == EN_CHANGE)
        entry().textChanged();
}

void Entry::paste()
{
    std::wstring pasted;
    if (OpenClipboard(hwnd_)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
                pasted = text;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    // A one-line edit takes the first line only.
    pasted = pasted.substr(0, pasted.find_first_of(L"\r\n"));
    const Selection sel = selection();
    std::u16string resulting = editText();
    resulting.replace(sel.start, sel.length, u16(pasted));
    // Checked before it goes in: a refused paste leaves exactly the text
    // from before it.
    if (!entry().pasteKept(resulting)) {
        entry().pasteRefused();
        return;
    }
    SendMessageW(hwnd_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
    entry().textChanged();
}

void Entry::paintUnfocused(HDC dc)
{
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, background(dc)); // sets the text colour too
    auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? font : host_.font(control_.effectiveFont()));
    SetBkMode(dc, TRANSPARENT);
    // Right-aligned, only the end of a very long text can show.
    const std::u16string& shown = entry().unfocusedText();
    constexpr std::size_t kVisibleTail = 512;
    const std::u16string_view tail = shown.size() > kVisibleTail
        ? std::u16string_view(shown).substr(shown.size() - kVisibleTail)
        : std::u16string_view(shown);
    const std::wstring text = wide(tail);
    // On the line the edit types on, within its margins.
    RECT line{};
    SendMessageW(hwnd_, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&line));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    line.bottom = std::min(client.bottom, line.top + metrics.tmHeight);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line, DT_RIGHT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
}

bool Entry::message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    form::CalcEdit& e = entry();
    result = 0;
    switch (message) {
    case WM_GETOBJECT:
        return answerAccessibleName(hwnd_, wParam, lParam, wide(control_.accessibleName), result);
    case WM_GETDLGCODE:
        // While the calculator is open every key is its own.
        result = DefSubclassProc(hwnd_, message, wParam, lParam);
        if (e.calculatorOpen())
            result |= DLGC_WANTALLKEYS;
        return true;
    case WM_SETFOCUS:
        result = DefSubclassProc(hwnd_, message, wParam, lParam);
        e.focusEntered(host_.gainCause());
        InvalidateRect(hwnd_, nullptr, TRUE);
        return true;
    case WM_KILLFOCUS:
        e.focusLeft(host_.lossCause(reinterpret_cast<HWND>(wParam)));
        result = DefSubclassProc(hwnd_, message, wParam, lParam);
        InvalidateRect(hwnd_, nullptr, TRUE);
        return true;
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        const int saved = SaveDC(dc);
        excludeDropDown(dc);
        RECT client;
        GetClientRect(hwnd_, &client);
        FillRect(dc, &client, background(dc));
        RestoreDC(dc, saved);
        result = 1;
        return true;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        excludeDropDown(dc);
        if (GetFocus() == hwnd_)
            DefSubclassProc(hwnd_, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0); // the edit, in our DC
        else
            paintUnfocused(dc);
        EndPaint(hwnd_, &ps);
        return true;
    }
    case WM_NCPAINT:
        // The themed border is painted over the whole window, the button
        // included: the button is drawn again over it.
        result = DefSubclassProc(hwnd_, message, wParam, lParam);
        RedrawWindow(dropDown_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return true;
    case WM_SIZE:
    case WM_SETFONT:
        // A new font resets the edit's margins.
        result = DefSubclassProc(hwnd_, message, wParam, lParam);
        placeDropDown();
        return true;
    case WM_PASTE:
        paste();
        return true;
    case WM_SYSKEYDOWN:
        if (wParam == VK_DOWN || wParam == VK_UP) {
            if (e.calculatorOpen())
                e.calculatorKey(keyOf(wParam, true));
            else
                e.keyDown(keyOf(wParam, true));
            // Seen by the default handling too: else Alt, released after
            // it, would open the window menu as when pressed alone.
            result = DefSubclassProc(hwnd_, message, wParam, lParam);
            return true;
        }
        return false;
    case WM_KEYDOWN:
        if (e.calculatorOpen()) {
            // Keys without a character; the others come back as WM_CHAR.
            if (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_F4 || wParam == VK_DELETE)
                e.calculatorKey(keyOf(wParam, false));
            return true; // the caret stays where it is meanwhile
        }
        if (wParam == VK_INSERT && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0) {
            paste();
            return true;
        }
        return e.keyDown(keyOf(wParam, false));
    case WM_CHAR: {
        const auto c = static_cast<wchar_t>(wParam);
        if (e.calculatorOpen()) {
            if (e.calculatorKey(keyOfChar(c)) == form::CalcEdit::KeyResult::PassOn) {
                // Closed now: the dialog manager moves the focus as for any
                // Tab (the window is no dialog, WM_NEXTDLGCTL does nothing).
                MSG tab{};
                tab.hwnd = hwnd_;
                tab.message = WM_KEYDOWN;
                tab.wParam = VK_TAB;
                IsDialogMessageW(GetAncestor(hwnd_, GA_ROOT), &tab);
            }
            return true;
        }
        switch (c) {
        case 27:
        case 13: return true; // discarded, without a beep
        case 0x16: paste(); return true;                              // Ctrl+V
        case 0x01: SendMessageW(hwnd_, EM_SETSEL, 0, -1); return true; // Ctrl+A
        default: break;
        }
        if (c < 0x20)
            return false; // Backspace, Ctrl+C, Ctrl+X, Ctrl+Z: the edit's own
        if (c >= 0xD800 && c <= 0xDBFF) {
            pendingHigh_ = static_cast<char16_t>(c);
            return true;
        }
        std::u16string typed;
        if (c >= 0xDC00 && c <= 0xDFFF && pendingHigh_)
            typed += pendingHigh_;
        pendingHigh_ = 0;
        typed += static_cast<char16_t>(c);
        e.type(typed);
        return true;
    }
    default:
        return false;
    }
}

LRESULT Entry::DropDown::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        const Look& look = entry_.host().look;
        const RECT face = drawPushButton(dc, r, look, entry_.entry().calculatorOpen());
        drawDownArrow(dc, face, IsWindowEnabled(entry_.hwnd()) ? look.buttonText : look.disabledText,
                      entry_.host().scaled(3));
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
        // No SetFocus: the entry keeps it, or gets it from the form. The
        // panel takes the mouse from here on.
        entry_.entry().dropDownClicked();
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace brindelor::win32
