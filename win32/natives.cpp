#include "natives.h"

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
    setFont();
}

void Native::setFont()
{
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(host_.font(control_.effectiveFont())), FALSE);
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
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(host.font(form.effectiveFont())), FALSE);
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
}

GroupBox::GroupBox(Host& host, form::GroupBox& box)
    : NativePeer(host, box)
{
    create(kGroupClass, wide(box.caption), WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

bool GroupBox::message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        paint(dc);
        EndPaint(hwnd_, &ps);
        result = 0;
        return true;
    }
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
    FillRect(dc, &r, host_.brush(background));
    HGDIOBJ oldFont = SelectObject(dc, host_.font(control_.effectiveFont()));
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
    SetTextColor(dc, control_.textColor ? colorOf(*control_.textColor) : host_.look.windowText);
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

bool Edit::message(UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
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
    for (const form::FontStyle style : {control_.effectiveFont(), form::FontStyle{}}) {
        HGDIOBJ old = SelectObject(dc, host_.font(style));
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
    HGDIOBJ old = SelectObject(dc, host_.font(hot ? form::FontStyle{} : control_.effectiveFont()));
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
    switch (message) {
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        paint(dc);
        EndPaint(hwnd_, &ps);
        return true;
    }
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
}

Entry::~Entry() = default;

int Entry::dropDownWidth() const { return host_.scaled(15); }

void Entry::placeDropDown()
{
    RECT r;
    GetClientRect(hwnd_, &r);
    const int width = dropDownWidth();
    MoveWindow(dropDown_, r.right - width, 0, width, r.bottom, TRUE);
    SendMessageW(hwnd_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(host_.scaled(1), width + host_.scaled(1)));
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

void Entry::paintUnfocused()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT r;
    GetClientRect(hwnd_, &r);
    auto* background = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(hwnd_), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd_)));
    FillRect(dc, &r, background ? background : host_.brush(host_.look.base));
    HGDIOBJ old = SelectObject(dc, host_.font(control_.effectiveFont()));
    SetBkMode(dc, TRANSPARENT);
    // Right-aligned, only the end of a very long text can show.
    const std::u16string& shown = entry().unfocusedText();
    constexpr std::size_t kVisibleTail = 512;
    const std::u16string_view tail = shown.size() > kVisibleTail
        ? std::u16string_view(shown).substr(shown.size() - kVisibleTail)
        : std::u16string_view(shown);
    const std::wstring text = wide(tail);
    r.left += host_.scaled(2);
    r.right -= dropDownWidth() + host_.scaled(2);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    EndPaint(hwnd_, &ps);
}

bool Entry::message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    form::CalcEdit& e = entry();
    result = 0;
    switch (message) {
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
    case WM_PAINT:
        if (GetFocus() == hwnd_)
            return false;
        paintUnfocused();
        return true;
    case WM_SIZE:
        DefSubclassProc(hwnd_, message, wParam, lParam);
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
            if (e.calculatorKey(keyOfChar(c)) == form::CalcEdit::KeyResult::PassOn)
                SendMessageW(GetAncestor(hwnd_, GA_ROOT), WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0, FALSE);
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
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        DrawFrameControl(dc, &r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (pressed_ ? DFCS_PUSHED | DFCS_FLAT : 0));
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // No SetFocus: the entry keeps it.
        pressed_ = true;
        InvalidateRect(hwnd, nullptr, FALSE);
        entry_.entry().dropDownClicked();
        return 0;
    case WM_LBUTTONUP:
        pressed_ = false;
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace brindelor::win32
