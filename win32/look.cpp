#include "look.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace brindelor::win32::look {

namespace {

// Samples per pixel side: 16 per pixel, smooth enough for 1 px curves.
constexpr int kSamples = 4;
// How far a sample can lie from its pixel's centre.
constexpr double kHalfDiagonal = 0.7072;

constexpr double kRadius = 2.5;     // corners of frames, in layout pixels
constexpr double kOptionPen = 1.2;  // the indicator's circle, in layout pixels
constexpr int kIndicator = 13;
constexpr int kTitleInset = 6;      // from a group box's left edge to its caption's gap
constexpr int kTitlePad = 2;        // gap in the top line on either side of the caption
constexpr int kOptionSpacing = 6;   // from the indicator to the caption

std::uint32_t packed(COLORREF c)
{
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (static_cast<std::uint32_t>(GetGValue(c)) << 8)
        | GetBValue(c);
}

COLORREF unpacked(std::uint32_t p)
{
    return RGB((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff);
}

std::uint32_t blend(std::uint32_t under, std::uint32_t over, int share) // share of kSamples²
{
    constexpr int whole = kSamples * kSamples;
    std::uint32_t out = 0;
    for (const int shift : {16, 8, 0}) {
        const int a = static_cast<int>((under >> shift) & 0xff);
        const int b = static_cast<int>((over >> shift) & 0xff);
        const int mixed = (a * (whole - share) + b * share + whole / 2) / whole;
        out |= static_cast<std::uint32_t>(mixed) << shift;
    }
    return out;
}

// Signed distance to a rounded rectangle's outline: negative inside.
double roundedRectDistance(const Box& b, double radius, double x, double y)
{
    const double hx = (b.right - b.left) / 2;
    const double hy = (b.bottom - b.top) / 2;
    const double r = std::min({radius, hx, hy});
    const double qx = std::abs(x - (b.left + b.right) / 2) - (hx - r);
    const double qy = std::abs(y - (b.top + b.bottom) / 2) - (hy - r);
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - r;
}

int extent(HDC dc, std::wstring_view text, SIZE& size)
{
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
}

} // namespace

// ---- Canvas --------------------------------------------------------------

Canvas::Canvas(int width, int height, COLORREF fill)
    : width_(std::max(width, 0))
    , height_(std::max(height, 0))
    , pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), packed(fill))
{
}

COLORREF Canvas::pixel(int x, int y) const
{
    return unpacked(pixels_[index(x, y)]);
}

void Canvas::fillRect(RECT r, COLORREF color)
{
    const std::uint32_t p = packed(color);
    for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, height_); ++y) {
        for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, width_); ++x)
            pixels_[index(x, y)] = p;
    }
}

template <typename Distance>
void Canvas::cover(Box bounds, double inner, double outer, COLORREF color, Distance distance)
{
    const std::uint32_t p = packed(color);
    const int x0 = std::max(static_cast<int>(std::floor(bounds.left - outer)), 0);
    const int y0 = std::max(static_cast<int>(std::floor(bounds.top - outer)), 0);
    const int x1 = std::min(static_cast<int>(std::ceil(bounds.right + outer)), width_);
    const int y1 = std::min(static_cast<int>(std::ceil(bounds.bottom + outer)), height_);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            // The distance changes no faster than the position: the centre
            // tells most pixels apart without sampling.
            const double centre = distance(x + 0.5, y + 0.5);
            if (centre < -inner - kHalfDiagonal || centre > outer + kHalfDiagonal)
                continue;
            std::uint32_t& pixel = pixels_[index(x, y)];
            if (centre > -inner + kHalfDiagonal && centre < outer - kHalfDiagonal) {
                pixel = p;
                continue;
            }
            int share = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double d = distance(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples);
                    if (d >= -inner && d <= outer)
                        ++share;
                }
            }
            pixel = blend(pixel, p, share);
        }
    }
}

void Canvas::strokeRoundedRect(Box box, double radius, double lineWidth, COLORREF color)
{
    const double half = lineWidth / 2;
    cover(box, half, half, color, [&](double x, double y) { return roundedRectDistance(box, radius, x, y); });
}

void Canvas::fillRoundedRect(Box box, double radius, COLORREF color)
{
    cover(box, std::numeric_limits<double>::infinity(), 0, color,
          [&](double x, double y) { return roundedRectDistance(box, radius, x, y); });
}

void Canvas::fillCircle(double cx, double cy, double radius, COLORREF color)
{
    const Box bounds{cx - radius, cy - radius, cx + radius, cy + radius};
    cover(bounds, std::numeric_limits<double>::infinity(), 0, color,
          [&](double x, double y) { return std::hypot(x - cx, y - cy) - radius; });
}

void Canvas::strokeCircle(double cx, double cy, double radius, double lineWidth, COLORREF color)
{
    const double half = lineWidth / 2;
    const Box bounds{cx - radius, cy - radius, cx + radius, cy + radius};
    cover(bounds, half, half, color, [&](double x, double y) { return std::hypot(x - cx, y - cy) - radius; });
}

void Canvas::copyTo(HDC dc, int x, int y) const
{
    if (width_ == 0 || height_ == 0)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(width_), static_cast<DWORD>(height_), 0, 0, 0,
                      static_cast<UINT>(height_), pixels_.data(), &info, DIB_RGB_COLORS);
}

// ---- Colours and metrics -------------------------------------------------

COLORREF darker(COLORREF color, int factor)
{
    if (factor <= 0)
        return color;
    // Scaling every channel alike keeps hue and saturation.
    const auto scale = [factor](BYTE v) { return static_cast<BYTE>((v * 100 + factor / 2) / factor); };
    return RGB(scale(GetRValue(color)), scale(GetGValue(color)), scale(GetBValue(color)));
}

int Metrics::line() const { return std::max(1, static_cast<int>(std::lround(scale))); }

int Metrics::px(int layoutPixels) const { return static_cast<int>(std::lround(layoutPixels * scale)); }

// ---- Painters ------------------------------------------------------------

void paintGroupBox(HDC dc, RECT client, const Look& look, Metrics metrics, COLORREF background, HFONT font,
                   COLORREF textColor, std::wstring_view caption)
{
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    HGDIOBJ oldFont = SelectObject(dc, font);
    TEXTMETRICW text{};
    GetTextMetricsW(dc, &text);
    const int textHeight = static_cast<int>(text.tmHeight);

    Canvas canvas(width, height, background);
    const int line = metrics.line();
    const double half = line / 2.0;
    const double radius = kRadius * metrics.scale;
    // Etched: the Light line one line below and right of the Mid one.
    const Box mid{half, textHeight / 2 + half, width - line - half, height - line - half};
    const Box light{mid.left + line, mid.top + line, mid.right + line, mid.bottom + line};
    canvas.strokeRoundedRect(light, radius, line, look.light);
    canvas.strokeRoundedRect(mid, radius, line, look.mid);

    RECT label{};
    if (!caption.empty()) {
        SIZE size{};
        const int textWidth = extent(dc, caption, size);
        const int pad = metrics.px(kTitlePad);
        // A caption that nearly fills the box gives up its inset before being cut.
        const int inset = std::clamp((width - textWidth - 2 * pad) / 2, 0, metrics.px(kTitleInset));
        const int labelWidth = std::min(textWidth + 2 * pad, width - 2 * inset);
        label = {inset, 0, inset + labelWidth, textHeight};
        canvas.fillRect(label, background); // the lines stop short of the caption
    }
    canvas.copyTo(dc, client.left, client.top);

    if (!caption.empty()) {
        const int pad = metrics.px(kTitlePad);
        RECT r{client.left + label.left + pad, client.top, client.left + label.right - pad, client.top + textHeight};
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, textColor);
        DrawTextW(dc, caption.data(), static_cast<int>(caption.size()), &r,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    }
    SelectObject(dc, oldFont);
}

void paintOption(HDC dc, RECT client, const Look& look, Metrics metrics, OptionState state, COLORREF background,
                 HFONT font, COLORREF textColor, std::wstring_view caption)
{
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0)
        return;
    // Drawn off screen first: no flicker while an option changes.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);

    Canvas canvas(width, height, background);
    const int size = metrics.px(kIndicator);
    const double cx = size / 2.0;
    const double cy = (height - size) / 2 + size / 2.0;
    const double radius = size / 2.0 - metrics.scale; // inside a 1 px margin
    const COLORREF fill = state.down ? look.button : look.base;
    const COLORREF ring = state.enabled && state.hot ? look.highlight : look.dark;
    canvas.fillCircle(cx, cy, radius, fill);
    canvas.strokeCircle(cx, cy, radius, kOptionPen * metrics.scale, ring);
    if (state.checked)
        canvas.fillCircle(cx, cy, radius / 2, state.enabled ? look.highlight : look.mid);
    canvas.copyTo(memory, 0, 0);

    HGDIOBJ oldFont = SelectObject(memory, font);
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, state.enabled ? textColor : look.disabledText);
    RECT text{size + metrics.px(kOptionSpacing), 0, width, height};
    DrawTextW(memory, caption.data(), static_cast<int>(caption.size()), &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (state.focusCue && !caption.empty()) {
        SIZE extentOf{};
        extent(memory, caption, extentOf);
        const int top = (height - static_cast<int>(extentOf.cy)) / 2;
        RECT focus{text.left - 1, std::max(top - 1, 0), std::min<int>(text.left + extentOf.cx + 1, width),
                   std::min<int>(top + extentOf.cy + 1, height)};
        SetTextColor(memory, RGB(0, 0, 0));
        SetBkColor(memory, RGB(255, 255, 255));
        DrawFocusRect(memory, &focus);
    }
    SelectObject(memory, oldFont);

    BitBlt(dc, client.left, client.top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

void paintEditFrame(HWND edit, const Look& look, Metrics metrics, COLORREF base, COLORREF outside, bool focused)
{
    RECT window{};
    GetWindowRect(edit, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    // The client area, in window coordinates: the edit paints it itself.
    RECT client{};
    GetClientRect(edit, &client);
    POINT origin{0, 0};
    ClientToScreen(edit, &origin);
    OffsetRect(&client, origin.x - window.left, origin.y - window.top);

    Canvas canvas(width, height, outside);
    const int line = metrics.line();
    const double half = line / 2.0;
    const Box frame{half, half, width - half, height - half};
    const double radius = kRadius * metrics.scale;
    canvas.fillRoundedRect(frame, radius, base);
    canvas.strokeRoundedRect(frame, radius, line, focused ? look.highlight : look.mid);
    // An inset shadow along the top, in the base's own hue, where the
    // border leaves room for it.
    canvas.fillRect({2 * line, line, width - 2 * line, 2 * line}, darker(base, 110));

    HDC dc = GetWindowDC(edit);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    canvas.copyTo(dc, 0, 0);
    ReleaseDC(edit, dc);
}

} // namespace brindelor::win32::look
