#pragma once
// Slate Classico's painting in plain GDI: group frames, option indicators and
// edit frames as the Linux program's slate style draws them. GDI draws no
// smooth curves, so the round shapes are covered sample by sample in a small
// pixel buffer and then copied onto the device in one go.

#include "host.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace brindelor::win32::look {

// A rectangle in fractional device pixels: strokes centred on pixel centres
// come out crisp.
struct Box {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);

    int width() const noexcept { return width_; }
    int height() const noexcept { return height_; }
    COLORREF pixel(int x, int y) const;

    void fillRect(RECT r, COLORREF color);
    // The outline of a rounded rectangle whose centre line is `box`.
    void strokeRoundedRect(Box box, double radius, double lineWidth, COLORREF color);
    void fillRoundedRect(Box box, double radius, COLORREF color);
    void fillCircle(double cx, double cy, double radius, COLORREF color);
    void strokeCircle(double cx, double cy, double radius, double lineWidth, COLORREF color);

    void copyTo(HDC dc, int x, int y) const;

private:
    // Blends `color` over every pixel by the share of its samples for which
    // `distance` (negative inside the shape) is within [-inner, outer].
    template <typename Distance>
    void cover(Box bounds, double inner, double outer, COLORREF color, Distance distance);

    std::size_t index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_; // 0x00RRGGBB, top row first
};

// A colour darkened as QColor::darker does it: its value divided by
// factor / 100, hue and saturation kept.
COLORREF darker(COLORREF color, int factor);

// The pixels of one layout pixel, and a line one layout pixel wide.
struct Metrics {
    double scale = 1;
    int line() const;
    int px(int layoutPixels) const;
};

// A group box: its background, a Mid line with a Light line under it, the
// caption inset on the top line.
void paintGroupBox(HDC dc, RECT client, const Look& look, Metrics metrics, COLORREF background, HFONT font,
                   COLORREF textColor, std::wstring_view caption);

struct OptionState {
    bool checked = false;
    bool hot = false;
    bool down = false;
    bool enabled = true;
    bool focusCue = false; // the focus shown around the caption
};

// An option: the 13 px circle in Dark (Highlight under the mouse), the
// checked dot in Highlight, the caption after it.
void paintOption(HDC dc, RECT client, const Look& look, Metrics metrics, OptionState state, COLORREF background,
                 HFONT font, COLORREF textColor, std::wstring_view caption);

// The frame of an edit in its non-client area: a Mid line, Highlight while
// focused, rounded onto the background around it, the edit's own base inside.
void paintEditFrame(HWND edit, const Look& look, Metrics metrics, COLORREF base, COLORREF outside, bool focused);

} // namespace brindelor::win32::look
