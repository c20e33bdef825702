// The Win32 style manager: finding a style by the name stored in its
// resource, the "not found" box, and the look a style gives the host.

#include "host.h"
#include "style_manager.h"
#include "wide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace brindelor::win32 {
namespace {

struct SeenDialog {
    std::wstring caption;
    std::wstring text;
    PCWSTR icon = nullptr;
    std::vector<std::wstring> buttons;
    std::vector<int> buttonIds;
    int defaultButton = 0;
    TASKDIALOG_FLAGS flags = 0;
    TASKDIALOG_COMMON_BUTTON_FLAGS commonButtons = 0;
};

std::string hex(COLORREF c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// The host's look, field by field, as "#rrggbb" texts: readable failures.
std::vector<std::string> fields(const Look& look)
{
    return {hex(look.window),     hex(look.windowText), hex(look.base),      hex(look.text),
            hex(look.button),     hex(look.buttonText), hex(look.light),     hex(look.mid),
            hex(look.dark),       hex(look.highlight),  hex(look.highlightedText), hex(look.disabledText),
            look.styled ? "styled" : "system"};
}

class StyleManagerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { host_ = new Host(GetModuleHandleW(nullptr)); }
    static void TearDownTestSuite()
    {
        delete host_;
        host_ = nullptr;
    }

    void SetUp() override
    {
        host_->look = Look{};
        previous_ = StyleManager::setDialogRunner([this](const TASKDIALOGCONFIG& config) {
            SeenDialog d;
            d.caption = config.pszWindowTitle ? config.pszWindowTitle : L"";
            d.text = config.pszContent ? config.pszContent : L"";
            d.icon = config.pszMainIcon;
            for (UINT i = 0; i < config.cButtons; ++i) {
                d.buttons.emplace_back(config.pButtons[i].pszButtonText);
                d.buttonIds.push_back(config.pButtons[i].nButtonID);
            }
            d.defaultButton = config.nDefaultButton;
            d.flags = config.dwFlags;
            d.commonButtons = config.dwCommonButtons;
            seen_.push_back(d);
        });
    }
    void TearDown() override { StyleManager::setDialogRunner(previous_); }

    static Host* host_;
    std::vector<SeenDialog> seen_;
    StyleManager::DialogRunner previous_;
};

Host* StyleManagerTest::host_ = nullptr;

class UnknownName : public StyleManagerTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnknownName, ShowsTheErrorAndKeepsTheLook)
{
    const std::string name = GetParam();
    host_->look.window = RGB(1, 2, 3); // a look of its own, to be kept
    const std::vector<std::string> before = fields(host_->look);
    const std::string activeBefore = StyleManager::ActiveStyleName();

    EXPECT_FALSE(StyleManager::TrySetStyle(name, true));

    ASSERT_EQ(seen_.size(), 1u);
    const SeenDialog& d = seen_.front();
    EXPECT_EQ(d.caption, L"Erreur");
    EXPECT_EQ(d.text, L"Style '" + wide(name) + L"' non trouv\u00e9");
    EXPECT_EQ(d.icon, TD_ERROR_ICON);
    EXPECT_EQ(d.buttons, std::vector<std::wstring>{L"&Fermer"});
    EXPECT_EQ(d.commonButtons, 0);
    // Escape presses the one button, Enter too.
    EXPECT_EQ(d.buttonIds, std::vector<int>{IDCANCEL});
    EXPECT_EQ(d.defaultButton, IDCANCEL);
    EXPECT_TRUE(d.flags & TDF_ALLOW_DIALOG_CANCELLATION);

    EXPECT_EQ(fields(host_->look), before);
    EXPECT_EQ(StyleManager::ActiveStyleName(), activeBefore);
}

INSTANTIATE_TEST_SUITE_P(Names, UnknownName,
                         ::testing::Values("Nope",
                                           "SLATE_CLASSICO", // the resource's own name
                                           "slate_classico", // the file it was made from
                                           "Slate", "Slate Classico ", "",
                                           "Fusion Only")); // stored, but painted by Qt alone

TEST_F(StyleManagerTest, UnknownNameWithoutDialogIsSilent)
{
    const std::vector<std::string> before = fields(host_->look);
    EXPECT_FALSE(StyleManager::TrySetStyle("Nope", false));
    EXPECT_TRUE(seen_.empty());
    EXPECT_EQ(fields(host_->look), before);
}

class KnownName : public StyleManagerTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(KnownName, InAnyCaseGivesThePalette)
{
    EXPECT_TRUE(StyleManager::TrySetStyle(GetParam(), true));
    EXPECT_TRUE(seen_.empty());
    EXPECT_EQ(StyleManager::ActiveStyleName(), "Slate Classico");
    // The resource's roles, the disabled text from its Disabled group.
    const std::vector<std::string> expected = {"#d4dae0", "#1e2935", "#ffffff", "#1e2935", "#d4dae0",
                                               "#1e2935", "#f6f8fa", "#a3adb8", "#6f7c8a", "#55708f",
                                               "#ffffff", "#8b95a0", "styled"};
    EXPECT_EQ(fields(host_->look), expected);
}

INSTANTIATE_TEST_SUITE_P(Names, KnownName,
                         ::testing::Values("Slate Classico", "slate classico", "SLATE CLASSICO", "sLATE cLASSICO"));

TEST_F(StyleManagerTest, CaseIsIgnoredBeyondAscii)
{
    EXPECT_TRUE(StyleManager::TrySetStyle("ARDOISE \u00c9CLAT", false));
    EXPECT_EQ(StyleManager::ActiveStyleName(), "Ardoise \u00c9clat");
    EXPECT_EQ(hex(host_->look.window), "#112233");
    EXPECT_EQ(hex(host_->look.text), "#010203");
    EXPECT_EQ(hex(host_->look.disabledText), "#a0b0c0");
    // Roles it leaves out keep the system's colours.
    EXPECT_EQ(host_->look.base, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(host_->look.highlight, GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(StyleManagerTest, ShippedStyleIsCarriedOnceAndParsesCleanly)
{
    const std::vector<std::string> names = StyleManager::StyleNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "Slate Classico"), 1);

    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, L"SLATE_CLASSICO", RT_RCDATA);
    ASSERT_NE(info, nullptr);
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, info)));
    ASSERT_NE(bytes, nullptr);
    const StyleResource res = parseStyleResource(std::string_view(bytes, SizeofResource(module, info)));
    EXPECT_TRUE(res.problems.empty()) << res.problems.front();
    EXPECT_EQ(res.base, "slate");
}

// ---- The .style text ---------------------------------------------------------

TEST(StyleResourceTest, ProblemsAreReported)
{
    const std::string head = "name: Test\nbase: slate\n";
    struct Case {
        std::string text;
        std::string problem;
    };
    const Case cases[] = {
        {head + "palette.Windw: #ffffff\n", "line 3: palette.Windw: unknown colour role"},
        {head + "palette.Hovered.Window: #ffffff\n", "line 3: palette.Hovered.Window: unknown colour group"},
        {head + "palette.Window: slategrey-ish\n", "line 3: palette.Window: not a colour"},
        {head + "palette.Window: #fffff\n", "line 3: palette.Window: not a colour"},
        {head + "palette.Window: #ggg\n", "line 3: palette.Window: not a colour"},
        {head + "palette.A.B.Window: #fff\n", "line 3: palette.A.B.Window: expected palette.[Group.]Role"},
        {head + "colour: #ffffff\n", "line 3: unknown key colour"},
        {head + "palette.Window #ffffff\n", "line 3: expected key: value"},
        {"base: slate\n", "no name"},
        {"name: Test\n", "no base"},
    };
    for (const Case& c : cases) {
        const StyleResource res = parseStyleResource(c.text);
        EXPECT_EQ(res.problems, std::vector<std::string>{c.problem}) << c.text;
    }
}

TEST(StyleResourceTest, GroupColourWinsWhateverItsPlace)
{
    const StyleResource res = parseStyleResource("\xEF\xBB\xBF# a comment\r\n"
                                                 "name:  Order \r\n"
                                                 "base: slate\r\n"
                                                 "\r\n"
                                                 "palette.Disabled.Text: #111111\r\n"
                                                 "palette.Text: #222222\r\n"
                                                 "palette.Active.Window: #333\r\n"
                                                 "palette.Window: #444444\r\n"
                                                 "[stylesheet]\r\n"
                                                 "QLabel { margin: 1px; }\r\n");
    EXPECT_TRUE(res.problems.empty()) << res.problems.front();
    EXPECT_EQ(res.name, "Order");
    EXPECT_EQ(res.color("Text", "Disabled"), RGB(0x11, 0x11, 0x11));
    EXPECT_EQ(res.color("Text", "Active"), RGB(0x22, 0x22, 0x22));
    EXPECT_EQ(res.color("Text", "Inactive"), RGB(0x22, 0x22, 0x22));
    EXPECT_EQ(res.color("Window", "Active"), RGB(0x33, 0x33, 0x33));
    EXPECT_EQ(res.color("Window", "Disabled"), RGB(0x44, 0x44, 0x44));
    EXPECT_EQ(res.color("Base", "Active"), std::nullopt);
}

} // namespace
} // namespace brindelor::win32
