#include "calculator.h"

#include "natives.h"
#include "wide.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

namespace brindelor::win32 {

namespace {

// The layout at 96 dpi and a text height of 13, in client pixels.
constexpr int kMargin = 3;
constexpr int kKeyWidth = 30;
constexpr int kKeyHeight = 22;
constexpr int kKeyGap = 2;
constexpr int kColumns = 4;
constexpr int kRows = 5;

void fill(HDC dc, int left, int top, int right, int bottom, COLORREF color)
{
    const RECT r{left, top, right, bottom};
    SetDCBrushColor(dc, color);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A one-pixel frame: top and left in one colour, bottom and right in another.
void frame(HDC dc, RECT r, COLORREF topLeft, COLORREF bottomRight)
{
    fill(dc, r.left, r.top, r.right, r.top + 1, topLeft);
    fill(dc, r.left, r.top, r.left + 1, r.bottom, topLeft);
    fill(dc, r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
    fill(dc, r.right - 1, r.top, r.right, r.bottom, bottomRight);
}

// Whether the font selected has every glyph of text: Tahoma has no arrows.
bool hasGlyphs(HDC dc, const std::wstring& text)
{
    std::vector<WORD> glyphs(text.size());
    if (GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS)
        == GDI_ERROR)
        return true;
    return std::find(glyphs.begin(), glyphs.end(), WORD{0xFFFF}) == glyphs.end();
}

// A left arrow in place of a missing one.
void drawLeftArrow(HDC dc, RECT r, COLORREF color, int half)
{
    const int width = 4 * half - 1;
    const int left = (r.left + r.right - width) / 2;
    const int middle = (r.top + r.bottom - 1) / 2;
    for (int i = 0; i <= half; ++i)
        fill(dc, left + i, middle - i, left + i + 1, middle + i + 1, color);
    fill(dc, left + half + 1, middle, left + width, middle + 1, color);
}

} // namespace

RECT drawPushButton(HDC dc, RECT r, const Look& look, bool pressed)
{
    if (r.right - r.left < 4 || r.bottom - r.top < 4) {
        fill(dc, r.left, r.top, r.right, r.bottom, look.button);
        return r;
    }
    if (pressed) {
        frame(dc, r, look.mid, look.mid);
        InflateRect(&r, -1, -1);
        fill(dc, r.left, r.top, r.right, r.bottom, look.button);
        OffsetRect(&r, 1, 1);
        return r;
    }
    frame(dc, r, look.light, look.dark);
    InflateRect(&r, -1, -1);
    fill(dc, r.left, r.bottom - 1, r.right, r.bottom, look.mid);
    fill(dc, r.right - 1, r.top, r.right, r.bottom, look.mid);
    fill(dc, r.left, r.top, r.right - 1, r.bottom - 1, look.button);
    return r;
}

void drawDownArrow(HDC dc, RECT r, COLORREF color, int half)
{
    const int rows = half + 1;
    const int left = (r.left + r.right - 1) / 2 - half;
    const int top = (r.top + r.bottom - rows) / 2;
    for (int row = 0; row < rows; ++row)
        fill(dc, left + row, top + row, left + 2 * half + 1 - row, top + row + 1, color);
}

CalculatorPanel::CalculatorPanel(Host& host, Entry& entry)
    : host_(host)
    , entry_(entry)
{
    owner_ = GetAncestor(entry.hwnd(), GA_ROOT);
    layOut();
    // A tool window: no taskbar button, no activation, over the main window.
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, kCalculatorClass, L"Calculatrice",
                            WS_POPUP | WS_BORDER, 0, 0, size_.cx, size_.cy, owner_, nullptr, host.module(),
                            static_cast<WindowTarget*>(this));

    // The keys' tips; shown although the panel is never the active window.
    tips_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, hwnd_, nullptr, host.module(), nullptr);
    if (tips_) {
        for (int i = 0; i < kKeys; ++i) {
            std::wstring tip = wide(form::kCalculatorKeys[i].tip);
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof(tool);
            tool.uFlags = TTF_SUBCLASS;
            tool.hwnd = hwnd_;
            tool.uId = static_cast<UINT_PTR>(i);
            tool.rect = keys_[static_cast<std::size_t>(i)];
            tool.lpszText = tip.data();
            SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

CalculatorPanel::~CalculatorPanel()
{
    close();
    // The main window may have taken it along already.
    if (hwnd_ && IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

form::CalcEdit& CalculatorPanel::calc() const { return entry_.entry(); }

void CalculatorPanel::layOut()
{
    const int margin = host_.scaled(kMargin);
    const int keyWidth = host_.scaled(kKeyWidth);
    const int keyHeight = host_.scaled(kKeyHeight);
    const int gap = host_.scaled(kKeyGap);
    const int width = kColumns * keyWidth + (kColumns - 1) * gap;
    display_ = {margin, margin, margin + width, margin + keyHeight};
    const int gridTop = display_.bottom + margin;
    for (int i = 0; i < kKeys; ++i) {
        const form::CalculatorKeyInfo& info = form::kCalculatorKeys[i];
        const int left = margin + info.column * (keyWidth + gap);
        const int top = gridTop + info.row * (keyHeight + gap);
        keys_[static_cast<std::size_t>(i)]
            = {left, top, left + info.columnSpan * keyWidth + (info.columnSpan - 1) * gap, top + keyHeight};
    }
    RECT outer{0, 0, margin + width + margin, gridTop + kRows * keyHeight + (kRows - 1) * gap + margin};
    AdjustWindowRectEx(&outer, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST);
    size_ = {outer.right - outer.left, outer.bottom - outer.top};
}

int CalculatorPanel::keyAt(POINT p) const
{
    for (int i = 0; i < kKeys; ++i) {
        if (PtInRect(&keys_[static_cast<std::size_t>(i)], p))
            return i;
    }
    return -1;
}

void CalculatorPanel::popUp()
{
    if (!hwnd_)
        return;
    RECT entry{};
    GetWindowRect(entry_.hwnd(), &entry);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(entry_.hwnd(), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const form::Rect place = form::calculatorPlacement(
        {entry.left, entry.top, entry.right - entry.left, entry.bottom - entry.top}, size_.cx, size_.cy,
        {work.left, work.top, work.right - work.left, work.bottom - work.top});

    pressed_ = -1;
    open_ = true;
    GetWindowRect(owner_, &ownerRect_);
    SetWindowPos(hwnd_, HWND_TOPMOST, place.left, place.top, place.width, place.height,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(hwnd_, nullptr, FALSE);
    // Every click comes here: one outside closes the panel and goes no
    // further (the drop-down button would open it again).
    SetCapture(hwnd_);
    SetWindowSubclass(owner_, ownerProc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
    entry_.calculatorShown(true);
}

void CalculatorPanel::close()
{
    if (!open_)
        return;
    open_ = false;
    pressed_ = -1;
    RemoveWindowSubclass(owner_, ownerProc, reinterpret_cast<UINT_PTR>(this));
    if (tips_)
        SendMessageW(tips_, TTM_POP, 0, 0);
    if (hwnd_ && GetCapture() == hwnd_)
        ReleaseCapture();
    if (hwnd_)
        SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    if (IsWindow(entry_.hwnd()))
        entry_.calculatorShown(false);
}

void CalculatorPanel::refresh()
{
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, FALSE);
}

void CalculatorPanel::paint(HDC target)
{
    RECT client;
    GetClientRect(hwnd_, &client);
    // Drawn off screen, then copied: no flicker as the display changes.
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, client.right, client.bottom);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    const Look& look = host_.look;
    fill(dc, 0, 0, client.right, client.bottom, look.window);

    auto font = reinterpret_cast<HFONT>(SendMessageW(entry_.hwnd(), WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = SelectObject(dc, font ? font : host_.font(calc().effectiveFont()));
    SetBkMode(dc, TRANSPARENT);

    // The display: sunken, the number right-aligned; a number too long
    // shows its end.
    frame(dc, display_, look.mid, look.light);
    RECT inside = display_;
    InflateRect(&inside, -1, -1);
    fill(dc, inside.left, inside.top, inside.right, inside.bottom, look.base);
    InflateRect(&inside, -host_.scaled(3), 0);
    const std::wstring shown = wide(calc().calculatorDisplay());
    SetTextColor(dc, look.text);
    DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &inside,
              DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    SetTextColor(dc, look.buttonText);
    for (int i = 0; i < kKeys; ++i) {
        const form::CalculatorKeyInfo& info = form::kCalculatorKeys[i];
        RECT face = drawPushButton(dc, keys_[static_cast<std::size_t>(i)], look, i == pressed_ && pressedIn_);
        const std::wstring caption
            = wide(info.key == form::CalculatorKey::Point ? std::string_view(calc().decimalCaption()) : info.caption);
        if (info.key == form::CalculatorKey::Backspace && !hasGlyphs(dc, caption))
            drawLeftArrow(dc, face, look.buttonText, host_.scaled(3));
        else
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &face,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

void CalculatorPanel::buttonDown(POINT p)
{
    POINT screen = p;
    ClientToScreen(hwnd_, &screen);
    RECT window;
    GetWindowRect(hwnd_, &window);
    if (!PtInRect(&window, screen)) {
        calc().closeCalculator();
        return;
    }
    pressed_ = keyAt(p);
    pressedIn_ = pressed_ >= 0;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void CalculatorPanel::buttonUp(POINT p)
{
    if (pressed_ < 0)
        return; // the press that opened the panel, or one outside
    const int key = pressed_;
    const bool inside = PtInRect(&keys_[static_cast<std::size_t>(key)], p) != FALSE;
    pressed_ = -1;
    InvalidateRect(hwnd_, nullptr, FALSE);
    if (inside)
        calc().calculatorPress(form::kCalculatorKeys[key].key);
}

LRESULT CalculatorPanel::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        paint(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
        if (open_)
            buttonDown(p);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN: {
        POINT screen = p;
        ClientToScreen(hwnd, &screen);
        RECT window;
        GetWindowRect(hwnd, &window);
        if (open_ && !PtInRect(&window, screen))
            calc().closeCalculator();
        return 0;
    }
    case WM_MOUSEMOVE:
        if (pressed_ >= 0) {
            const bool inside = PtInRect(&keys_[static_cast<std::size_t>(pressed_)], p) != FALSE;
            if (inside != pressedIn_) {
                pressedIn_ = inside;
                InvalidateRect(hwnd, nullptr, FALSE);
            }
        }
        return 0;
    case WM_LBUTTONUP:
        if (open_)
            buttonUp(p);
        return 0;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP:
        return 0; // nothing below sees the release of a closing click either
    case WM_CAPTURECHANGED:
        // Someone else took the mouse (a menu, another program): close.
        if (open_ && reinterpret_cast<HWND>(lParam) != hwnd)
            calc().closeCalculator();
        return 0;
    case WM_NCDESTROY:
        open_ = false;
        hwnd_ = nullptr;
        tips_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK CalculatorPanel::ownerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR data)
{
    auto* panel = reinterpret_cast<CalculatorPanel*>(data);
    const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    bool closing = false;
    switch (message) {
    case WM_ACTIVATE: closing = LOWORD(wParam) == WA_INACTIVE; break;
    case WM_ACTIVATEAPP: closing = wParam == FALSE; break;
    case WM_ENTERSIZEMOVE:
    case WM_ENTERMENULOOP:
    case WM_CANCELMODE: closing = true; break;
    case WM_SIZE: closing = wParam == SIZE_MINIMIZED; break;
    case WM_WINDOWPOSCHANGED: {
        RECT now;
        GetWindowRect(hwnd, &now);
        closing = now.left != panel->ownerRect_.left || now.top != panel->ownerRect_.top
            || !IsWindowVisible(hwnd);
        break;
    }
    default: break;
    }
    if (closing && panel->open_)
        panel->calc().closeCalculator();
    return result;
}

} // namespace brindelor::win32
