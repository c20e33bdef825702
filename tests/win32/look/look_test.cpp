// The slate painting on memory bitmaps: where its lines fall at 1x and 2x,
// which colour each state of an option shows, and the shapes' smooth edges.

#include "look.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

namespace brindelor::win32::look {
namespace {

std::string hex(COLORREF c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// Colours far apart, so that every pixel tells which role painted it.
Look testLook()
{
    Look look;
    look.window = RGB(212, 218, 224);
    look.windowText = RGB(30, 41, 53);
    look.base = RGB(0, 0, 0);
    look.text = RGB(30, 41, 53);
    look.button = RGB(60, 60, 60);
    look.light = RGB(0, 200, 0);
    look.mid = RGB(0, 0, 200);
    look.dark = RGB(120, 0, 0);
    look.highlight = RGB(200, 0, 200);
    look.styled = true;
    return look;
}

constexpr COLORREF kBackground = RGB(240, 240, 240);

// A top-down 32-bit bitmap in a memory DC, read back pixel by pixel.
class Bitmap {
public:
    Bitmap(int width, int height)
        : width_(width)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Bitmap()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    HDC dc() const { return dc_; }
    COLORREF at(int x, int y) const
    {
        GdiFlush();
        const auto row = static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
        const std::uint32_t p = bits_[row + static_cast<std::size_t>(x)];
        return RGB((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff);
    }

private:
    int width_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

HFONT tahoma(int height)
{
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
}

// ---- Group frames --------------------------------------------------------

TEST(GroupBoxPaintTest, MidLineWithTheLightOneUnderItAndTheCaptionOnTheTopLine)
{
    for (const int scale : {1, 2}) {
        SCOPED_TRACE("scale " + std::to_string(scale));
        const int width = 97 * scale;
        const int height = 145 * scale;
        Bitmap bitmap(width, height);
        HFONT font = tahoma(-11 * scale);
        look::paintGroupBox(bitmap.dc(), {0, 0, width, height}, testLook(), {static_cast<double>(scale)}, kBackground,
                            font, RGB(30, 41, 53), L"Box");
        HGDIOBJ old = SelectObject(bitmap.dc(), font);
        TEXTMETRICW text{};
        GetTextMetricsW(bitmap.dc(), &text);
        SelectObject(bitmap.dc(), old);
        DeleteObject(font);

        const Look look = testLook();
        const int line = scale;
        const int middle = height / 2;
        const int top = static_cast<int>(text.tmHeight) / 2;
        for (int i = 0; i < line; ++i) {
            // Left and right edges: Mid outside, Light inside on the left and
            // outside on the right, one line further.
            EXPECT_EQ(hex(bitmap.at(i, middle)), hex(look.mid));
            EXPECT_EQ(hex(bitmap.at(line + i, middle)), hex(look.light));
            EXPECT_EQ(hex(bitmap.at(width - 2 * line + i, middle)), hex(look.mid));
            EXPECT_EQ(hex(bitmap.at(width - line + i, middle)), hex(look.light));
            EXPECT_EQ(hex(bitmap.at(width / 2, height - 2 * line + i)), hex(look.mid));
            EXPECT_EQ(hex(bitmap.at(width / 2, height - line + i)), hex(look.light));
            // The top line: before the caption's 6 px inset, and cut for the
            // caption and 2 px either side of it.
            EXPECT_EQ(hex(bitmap.at(3 * scale, top + i)), hex(look.mid));
            EXPECT_EQ(hex(bitmap.at(7 * scale, top + i)), hex(kBackground));
        }
        EXPECT_EQ(hex(bitmap.at(2 * line, middle)), hex(kBackground));
        // Rounded corners: the outermost corner pixel is not a line pixel.
        EXPECT_NE(hex(bitmap.at(0, height - 1)), hex(look.light));
        EXPECT_NE(hex(bitmap.at(0, top)), hex(look.mid));
    }
}

// ---- Options -------------------------------------------------------------

TEST(OptionPaintTest, StatesShowInTheIndicator)
{
    const Look look = testLook();
    struct Case {
        const char* name;
        OptionState state;
        COLORREF centre; // the dot, or the circle's fill
        bool highlightRing;
    };
    const Case cases[] = {
        {"unchecked", {}, look.base, false},
        {"checked", {true, false, false, true, false}, look.highlight, false},
        {"hot", {false, true, false, true, false}, look.base, true},
        {"pressed", {false, false, true, true, false}, look.button, false},
        {"checked, hot", {true, true, false, true, false}, look.highlight, true},
    };
    for (const int scale : {1, 2}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + ", scale " + std::to_string(scale));
            const int width = 57 * scale;
            const int height = 17 * scale;
            Bitmap bitmap(width, height);
            HFONT font = tahoma(-11 * scale);
            paintOption(bitmap.dc(), {0, 0, width, height}, look, {static_cast<double>(scale)}, c.state, kBackground,
                        font, look.windowText, L"effacer");
            DeleteObject(font);
            // The 13 px indicator at the left, centred in the height.
            const int size = 13 * scale;
            const int cx = size / 2;
            const int cy = (height - size) / 2 + size / 2;
            EXPECT_EQ(hex(bitmap.at(cx, cy)), hex(c.centre));
            // The circle's leftmost pixel but one on the middle row is mostly
            // ring: only Highlight, of the two ring colours, has blue.
            const COLORREF ring = bitmap.at(scale, cy);
            EXPECT_EQ(GetBValue(ring) > 60, c.highlightRing) << hex(ring);
            // Outside the circle and the caption: the background it stands on.
            EXPECT_EQ(hex(bitmap.at(0, 0)), hex(kBackground));
            EXPECT_EQ(hex(bitmap.at(width - 1, height - 1)), hex(kBackground));
        }
    }
}

TEST(OptionPaintTest, CaptionInTheTextColourAfterTheIndicator)
{
    const Look look = testLook();
    const COLORREF textColor = RGB(255, 0, 0);
    Bitmap bitmap(57, 17);
    HFONT font = tahoma(-11);
    paintOption(bitmap.dc(), {0, 0, 57, 17}, look, {1.0}, {}, kBackground, font, textColor, L"effacer");
    DeleteObject(font);
    int red = 0;
    int firstColumn = 57;
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 57; ++x) {
            const COLORREF p = bitmap.at(x, y);
            if (x >= 13 && p != kBackground)
                firstColumn = std::min(firstColumn, x);
            if (GetRValue(p) > 200 && GetGValue(p) < 200 && GetGValue(p) == GetBValue(p))
                ++red;
        }
    }
    EXPECT_GT(red, 10);
    // The caption keeps its distance from the indicator.
    EXPECT_GE(firstColumn, 13 + 6);
}

// ---- The shapes ------------------------------------------------------------

TEST(CanvasTest, StrokesOnPixelCentresAreCrispAndCornersRound)
{
    for (const int line : {1, 2}) {
        SCOPED_TRACE("line " + std::to_string(line));
        const COLORREF red = RGB(255, 0, 0);
        const COLORREF white = RGB(255, 255, 255);
        Canvas canvas(40, 20, white);
        const double half = line / 2.0;
        canvas.strokeRoundedRect({half, half, 40 - half, 20 - half}, 2.5 * line, line, red);
        for (int i = 0; i < line; ++i) {
            EXPECT_EQ(hex(canvas.pixel(20, i)), hex(red));
            EXPECT_EQ(hex(canvas.pixel(20, 19 - i)), hex(red));
            EXPECT_EQ(hex(canvas.pixel(i, 10)), hex(red));
            EXPECT_EQ(hex(canvas.pixel(39 - i, 10)), hex(red));
        }
        EXPECT_EQ(hex(canvas.pixel(20, line)), hex(white));
        EXPECT_EQ(hex(canvas.pixel(line, 10)), hex(white));
        // The corner pixel stays out of the curve; the next one along the
        // diagonal is a blend.
        EXPECT_EQ(hex(canvas.pixel(0, 0)), hex(white));
        const COLORREF inner = canvas.pixel(1, 1);
        EXPECT_NE(hex(inner), hex(white));
        EXPECT_NE(hex(inner), hex(red));
    }
}

TEST(CanvasTest, CircleEdgesBlendWithWhatIsUnder)
{
    Canvas canvas(13, 13, RGB(0, 0, 0));
    canvas.fillCircle(6.5, 6.5, 5.5, RGB(255, 255, 255));
    EXPECT_EQ(hex(canvas.pixel(6, 6)), "#ffffff");
    EXPECT_EQ(hex(canvas.pixel(0, 0)), "#000000");
    // On the rim: partly covered, a grey.
    const BYTE rim = GetRValue(canvas.pixel(1, 3));
    EXPECT_GT(rim, 0);
    EXPECT_LT(rim, 255);
    // Symmetric: the same coverage in each quadrant.
    EXPECT_EQ(canvas.pixel(1, 3), canvas.pixel(11, 9));
    EXPECT_EQ(canvas.pixel(1, 3), canvas.pixel(3, 1));
}

TEST(ColourTest, DarkerAsQtDarkensIt)
{
    // Qt's QColor::darker(110) of these, as the Linux program draws them.
    struct Case {
        COLORREF from;
        const char* expected;
    };
    const Case cases[] = {
        {RGB(255, 255, 255), "#e8e8e8"},
        {RGB(255, 128, 128), "#e87474"},
        {RGB(0x1e, 0x29, 0x35), "#1b2530"},
        {RGB(0, 0, 0), "#000000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hex(darker(c.from, 110)), c.expected) << hex(c.from);
}

} // namespace
} // namespace brindelor::win32::look
