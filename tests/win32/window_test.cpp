// The native Win32 window as a user meets it: brindelor.exe in the Wine
// desktop, driven by keys and clicks from this process. One program per test.

#include "calculator_probe.h"
#include "driver.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace brindelor::wintest {
namespace {

using Fields = std::vector<std::wstring>;

const Fields kEmpty(5);
const Fields kHundredWithK = {L"11,5%", L"111,5", L"124,32", L"123", L"1,32"};
const Fields kHundredCleared = {L"0%", L"100", L"100", L"100", L"0"};
const Fields kHundredWithO = {L"0,3%", L"100,3", L"100,6", L"100,6", L"0"};

// This process's own user locale, from its LANG (the separators would come
// from the prefix's registry, which the last process started rewrote).
std::wstring userLocaleName()
{
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
    return name;
}

// The option's indicator: 6 px from its box's left, in the middle of its height.
void clickIndicator(const Brindelor& app, Component option) { app.click(option, {6, 8}); }

// A fresh brindelor.exe per test, in the French locale the expected texts
// are written in.
class Window : public testing::Test {
protected:
    void SetUp() override
    {
        if (userLocaleName() != L"fr-FR")
            GTEST_SKIP() << "the user locale is " << testing::PrintToString(userLocaleName())
                         << ", not fr-FR: run with LANG=fr_FR.UTF-8 and the glibc locale generated (locale-gen)";
        start();
    }

    void start()
    {
        program_ = std::make_unique<Brindelor>(startedAs_);
        ASSERT_TRUE(program_->ready()) << program_->failure();
    }

    Brindelor& app() { return *program_; }

    // Types into the entry and waits until it shows the result.
    void typeInEntry(std::wstring_view typed, std::wstring_view shown)
    {
        app().type(typed);
        ASSERT_TRUE(waitUntil([&] { return app().text(JvCalcEdit1) == shown; }))
            << "the entry shows " << testing::PrintToString(app().text(JvCalcEdit1));
    }

    void waitForFields(const Fields& expected)
    {
        waitUntil([&] { return app().fields() == expected; });
        EXPECT_EQ(app().fields(), expected);
    }

    std::wstring startedAs_; // the file name the program runs under, if not its own
    std::unique_ptr<Brindelor> program_;
};

// ---- Start, layout, the road of a typical event ----------------------------

TEST_F(Window, StartsAsLaidOut)
{
    EXPECT_EQ(windowText(app().window()), L"Brindelor");

    // Each control found by its id, the component's place in creation order.
    struct Expected {
        Component component;
        const wchar_t* windowClass;
        const wchar_t* caption;
    };
    const Expected controls[] = {
        {Label3, L"Static", L"Augmentation"},
        {JvLabel2, L"BrindelorLink", L"Tarif de base"},
        {JvCalcEdit1, L"Edit", L""},
        {GroupBox1, L"BrindelorGroup", L"1er Modificateur"},
        {RadioButton1, L"Button", L"O"},
        {RadioButton2, L"Button", L"9"},
        {RadioButton3, L"Button", L"I"},
        {RadioButton4, L"Button", L"X"},
        {RadioButton5, L"Button", L"K"},
        {RadioButton6, L"Button", L"effacer"},
        {Button1, L"Button", L"Calculer"},
        {Edit_taux, L"Edit", L""},
        {GroupBox2, L"BrindelorGroup", L"2\u00e8me Modificateur"},
        {RadioButton7, L"Button", L"O"},
        {RadioButton8, L"Button", L"9"},
        {RadioButton9, L"Button", L"I"},
        {RadioButton10, L"Button", L"X"},
        {RadioButton11, L"Button", L"K"},
        {RadioButton12, L"Button", L"effacer"},
        {GroupBox3, L"BrindelorGroup", L"Nouveaux Tarifs"},
        {Label5, L"Static", L"\u20ac"},
        {Label2, L"Static", L"01/07/2013"},
        {Label4, L"Static", L"01/03/2014"},
        {Label6, L"Static", L"\u20ac"},
        {Label8, L"Static", L"Diff\u00e9rence"},
        {JvLabel1, L"BrindelorLink", L"JO 2012"},
        {Label7, L"Static", L"\u20ac"},
        {Label9, L"Static", L"\u20ac"},
        {Edit_valeur_13, L"Edit", L""},
        {Edit_valeur_14, L"Edit", L""},
        {Edit_valeur_14_JO, L"Edit", L""},
        {Edit_delta, L"Edit", L""},
    };
    static_assert(std::size(controls) == kComponentCount);
    for (const Expected& c : controls) {
        SCOPED_TRACE(testing::Message() << "component " << c.component);
        const HWND hwnd = app().hwnd(c.component);
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(_wcsicmp(className(hwnd).c_str(), c.windowClass), 0) << testing::PrintToString(className(hwnd));
        EXPECT_EQ(windowText(hwnd), c.caption);
    }

    // Start state: empty fields, the focus in the empty entry, "effacer"
    // checked in both groups, the compute button hidden.
    EXPECT_EQ(app().fields(), kEmpty);
    EXPECT_EQ(app().text(JvCalcEdit1), L"");
    EXPECT_EQ(app().focusedComponent(), JvCalcEdit1);
    for (const int group : {1, 2}) {
        for (const wchar_t* caption : {L"O", L"9", L"I", L"X", L"K", L"effacer"})
            EXPECT_EQ(app().checked(option(group, caption)), caption == std::wstring_view(L"effacer"))
                << "group " << group << ", " << testing::PrintToString(std::wstring(caption));
    }
    EXPECT_FALSE(IsWindowVisible(app().hwnd(Button1)));

    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (dpi != 96)
        GTEST_SKIP() << "the screen has " << dpi << " dpi; the sizes below hold at 96";
    RECT client{};
    GetClientRect(app().window(), &client);
    EXPECT_EQ(client.right - client.left, 220);
    EXPECT_EQ(client.bottom - client.top, 359);
    // Every option a 57 x 17 box at left 16 of its group, where a click past
    // its caption still lands.
    const int tops[] = {35, 54, 73, 92, 112, 16}; // O, 9, I, X, K, effacer
    for (const Component box : {GroupBox1, GroupBox2}) {
        POINT origin{0, 0};
        ClientToScreen(app().hwnd(box), &origin);
        for (int i = 0; i < 6; ++i) {
            const auto c = static_cast<Component>(box + 1 + i);
            const RECT r = app().screenRect(c);
            EXPECT_EQ((std::vector<long>{r.left - origin.x, r.top - origin.y, r.right - r.left, r.bottom - r.top}),
                      (std::vector<long>{16, tops[i], 57, 17}))
                << "component " << c;
        }
    }
}

// A screen reader names the entry and each result by the label before it.
TEST_F(Window, TheEntryAndTheResultsHaveTheirLabelsAsAccessibleNames)
{
    // MinGW's import library gives IID_IAccessible as a thunk: spell it out.
    static const IID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    const HRESULT com = CoInitialize(nullptr);
    const struct {
        Component component;
        const wchar_t* name;
    } cases[] = {
        {JvCalcEdit1, L"Tarif de base"}, {Edit_taux, L"Augmentation"}, {Edit_valeur_13, L"01/07/2013"},
        {Edit_valeur_14, L"01/03/2014"}, {Edit_valeur_14_JO, L"JO 2012"}, {Edit_delta, L"Diff\u00e9rence"},
    };
    for (const auto& c : cases) {
        IAccessible* accessible = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(app().hwnd(c.component), static_cast<DWORD>(OBJID_CLIENT), kIAccessible,
                                             reinterpret_cast<void**>(&accessible)),
                  S_OK)
            << c.component;
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        EXPECT_EQ(accessible->get_accName(self, &name), S_OK);
        EXPECT_EQ(std::wstring(name ? name : L""), c.name);
        SysFreeString(name);
        // The rest is the system's own edit: its value is the field's text.
        VARIANT role{};
        EXPECT_EQ(accessible->get_accRole(self, &role), S_OK);
        EXPECT_EQ(role.lVal, ROLE_SYSTEM_TEXT);
        accessible->Release();
    }
    if (SUCCEEDED(com))
        CoUninitialize();
}

TEST_F(Window, TypicalRoad)
{
    typeInEntry(L"100", L"100");
    clickIndicator(app(), RadioButton5);
    waitForFields(kHundredWithK);
    EXPECT_TRUE(app().checked(RadioButton5));
    EXPECT_FALSE(app().checked(RadioButton6));
    EXPECT_TRUE(app().checked(RadioButton12));
    EXPECT_EQ(app().focusedComponent(), RadioButton5);
    EXPECT_EQ(app().text(JvCalcEdit1), L"100");
    EXPECT_EQ(app().beeps(), 0);
}

// ---- Keyboard and mouse among the controls ------------------------------------

TEST_F(Window, TabStopsAtTheCheckedOptionsAndTheFields)
{
    const auto tabTo = [&](unsigned modifiers) {
        const int from = app().focusedComponent();
        app().press(VK_TAB, modifiers);
        waitUntil([&] { return app().focusedComponent() != from; });
        return app().focusedComponent();
    };
    // The hidden button is skipped.
    const int forward[] = {RadioButton6,   Edit_taux,         RadioButton12, Edit_valeur_13,
                           Edit_valeur_14, Edit_valeur_14_JO, Edit_delta,    JvCalcEdit1};
    for (const int expected : forward)
        ASSERT_EQ(tabTo(None), expected);
    EXPECT_EQ(tabTo(Shift), Edit_delta);

    // Once "K" is checked, Tab stops there instead of at "effacer".
    clickIndicator(app(), RadioButton5);
    ASSERT_TRUE(waitUntil([&] { return app().checked(RadioButton5); }));
    app().click(JvCalcEdit1);
    ASSERT_TRUE(waitUntil([&] { return app().focused(JvCalcEdit1); }));
    EXPECT_EQ(tabTo(None), RadioButton5);
}

TEST_F(Window, ArrowsMoveWithinTheGroupWrappingAroundAndRecompute)
{
    typeInEntry(L"100", L"100");
    clickIndicator(app(), RadioButton5);
    waitForFields(kHundredWithK);

    struct Step {
        WORD key;
        Component lands;
        const Fields& fields;
    };
    // O, 9, I, X, K, effacer: from "K" Down reaches "effacer", then wraps to "O".
    const Step steps[] = {
        {VK_DOWN, RadioButton6, kHundredCleared},
        {VK_DOWN, RadioButton1, kHundredWithO},
        {VK_UP, RadioButton6, kHundredCleared},
        {VK_LEFT, RadioButton5, kHundredWithK},
        {VK_RIGHT, RadioButton6, kHundredCleared},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "key " << step.key << " to component " << step.lands);
        app().press(step.key);
        waitUntil([&] { return app().focused(step.lands) && app().fields() == step.fields; });
        EXPECT_EQ(app().focusedComponent(), step.lands);
        for (int c = RadioButton1; c <= RadioButton6; ++c)
            EXPECT_EQ(app().checked(Component(c)), c == step.lands) << "component " << c;
        EXPECT_EQ(app().fields(), step.fields);
        EXPECT_TRUE(app().checked(RadioButton12)) << "the other group is left alone";
    }
}

TEST_F(Window, AClickPastAnOptionsCaptionSelectsIt)
{
    struct Case {
        Component option;
        const wchar_t* rate; // of both groups together; the base is 0
    };
    const Case cases[] = {{option(1, L"K"), L"11,5%"}, {option(2, L"X"), L"19,5%"}, {option(1, L"O"), L"8,3%"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "component " << c.option);
        // 3 px inside the right edge of its 57 x 17 box, past the caption.
        app().click(c.option, {57 - 3, 8});
        waitUntil([&] { return app().checked(c.option) && app().text(Edit_taux) == c.rate; });
        EXPECT_TRUE(app().checked(c.option));
        EXPECT_EQ(app().focusedComponent(), c.option);
        EXPECT_EQ(app().fields(), (Fields{c.rate, L"0", L"0", L"0", L"0"}));
    }
}

// ---- The entry ------------------------------------------------------------------

TEST_F(Window, ARefusedCharacterBeepsOnceAndLeavesTheText)
{
    struct Case {
        const wchar_t* typed;
        const wchar_t* shown;
    };
    // "." and "," both type the locale's separator.
    const Case cases[] = {{L"12,345", L"12,34"}, {L"12.345", L"12,34"}, {L"1,2,", L"1,2"}, {L"7 ", L"7"}};
    int beeps = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.typed)));
        app().press('A', Ctrl);
        app().press(VK_DELETE);
        ASSERT_TRUE(waitUntil([&] { return app().text(JvCalcEdit1).empty(); }));
        app().type(c.typed);
        ++beeps;
        waitUntil([&] { return app().beeps() >= beeps; });
        EXPECT_EQ(app().text(JvCalcEdit1), c.shown);
        // Backspace after it shows that every key before has been handled.
        std::wstring shorter(c.shown);
        shorter.pop_back();
        app().press(VK_BACK);
        ASSERT_TRUE(waitUntil([&] { return app().text(JvCalcEdit1) == shorter; }));
        EXPECT_EQ(app().beeps(), beeps);
    }
}

// The clipboard, owned by a window of this process.
class Clipboard {
public:
    Clipboard()
        : owner_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr))
    {
    }
    ~Clipboard() { DestroyWindow(owner_); }

    bool set(std::wstring_view text) const
    {
        if (!OpenClipboard(owner_))
            return false;
        EmptyClipboard();
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        auto* copy = static_cast<wchar_t*>(GlobalLock(data));
        text.copy(copy, text.size());
        copy[text.size()] = L'\0';
        GlobalUnlock(data);
        const bool set = SetClipboardData(CF_UNICODETEXT, data) != nullptr;
        CloseClipboard();
        return set;
    }

private:
    HWND owner_;
};

TEST_F(Window, ARefusedPasteLeavesTheTextFromBeforeIt)
{
    struct Case {
        const char* keys;
        WORD vk;
        unsigned modifiers;
        const wchar_t* pasted;
        const wchar_t* shown; // after "12" then the paste
        int beeps;
    };
    const Case cases[] = {
        {"Ctrl+V", 'V', Ctrl, L"3,4,5", L"12", 1},
        {"Shift+Insert", VK_INSERT, Shift, L"3,4,5", L"12", 1},
        {"Ctrl+V", 'V', Ctrl, L"3-4", L"12", 1},
        {"Ctrl+V", 'V', Ctrl, L"34", L"1234", 0},
        {"Shift+Insert", VK_INSERT, Shift, L"34", L"1234", 0},
        {"Ctrl+V", 'V', Ctrl, L"5 6", L"125 6", 0}, // a space is no digit-group fault
    };
    const Clipboard clipboard;
    int beeps = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.keys << " of " << testing::PrintToString(std::wstring(c.pasted)));
        app().press('A', Ctrl);
        typeInEntry(L"12", L"12");
        ASSERT_TRUE(clipboard.set(c.pasted));
        app().press(c.vk, c.modifiers);
        beeps += c.beeps;
        waitUntil([&] { return app().beeps() == beeps && app().text(JvCalcEdit1) == c.shown; });
        EXPECT_EQ(app().text(JvCalcEdit1), c.shown);
        std::wstring shorter(c.shown);
        shorter.pop_back();
        app().press(VK_BACK);
        ASSERT_TRUE(waitUntil([&] { return app().text(JvCalcEdit1) == shorter; }));
        EXPECT_EQ(app().beeps(), beeps);
    }
}

TEST_F(Window, LeavingTheEntryGroupsItsDigits)
{
    typeInEntry(L"1234,5", L"1234,5");
    app().press(VK_TAB);
    ASSERT_TRUE(waitUntil([&] { return app().focused(RadioButton6); }));
    EXPECT_EQ(app().text(JvCalcEdit1), L"1\u00a0234,5");
    // The value read is still 1234.5: Up wraps from "effacer" to "K".
    app().press(VK_UP);
    waitUntil([&] { return app().text(Edit_valeur_13) == L"1376,47"; });
    EXPECT_EQ(app().text(Edit_taux), L"11,5%");
    EXPECT_EQ(app().text(Edit_valeur_13), L"1376,47");
}

TEST_F(Window, EscapeEmptiesTheEntryAndFocusesIt)
{
    // In the entry: emptied, the focus stays.
    typeInEntry(L"100", L"100");
    app().press(VK_ESCAPE);
    waitUntil([&] { return app().text(JvCalcEdit1).empty(); });
    EXPECT_EQ(app().text(JvCalcEdit1), L"");
    EXPECT_EQ(app().focusedComponent(), JvCalcEdit1);
    EXPECT_EQ(app().fields(), kEmpty);

    // On an option and in a result field: the entry emptied and focused,
    // nothing recomputed.
    typeInEntry(L"100", L"100");
    clickIndicator(app(), RadioButton5);
    waitForFields(kHundredWithK);
    for (const Component from : {RadioButton5, Edit_delta}) {
        SCOPED_TRACE(testing::Message() << "from component " << from);
        if (from == Edit_delta) {
            app().click(JvCalcEdit1);
            typeInEntry(L"5", L"5");
            app().click(Edit_delta);
            ASSERT_TRUE(waitUntil([&] { return app().focused(Edit_delta); }));
        }
        app().press(VK_ESCAPE);
        waitUntil([&] { return app().focused(JvCalcEdit1); });
        EXPECT_EQ(app().focusedComponent(), JvCalcEdit1);
        EXPECT_EQ(app().text(JvCalcEdit1), L"");
        EXPECT_EQ(app().fields(), kHundredWithK);
        EXPECT_TRUE(app().checked(RadioButton5));
    }
    EXPECT_EQ(app().beeps(), 0) << "Escape is discarded without a beep";
}

// ---- The drop-down calculator -------------------------------------------------

class Calculator : public Window {
protected:
    void SetUp() override
    {
        if (!calculatorBuilt())
            GTEST_SKIP() << "the drop-down calculator is not built yet: Host::createCalculator returns nullptr";
        Window::SetUp();
    }

    HWND panel() const
    {
        const std::vector<HWND> open = program_->topLevels(L"BrindelorCalculator");
        return open.empty() ? nullptr : open.front();
    }

    // Alt+Down: the panel below the entry, their right edges aligned.
    void open()
    {
        app().press(VK_DOWN, Alt);
        ASSERT_TRUE(waitUntil([&] { return panel() != nullptr; })) << "Alt+Down opened no calculator";
        RECT panelRect{};
        GetWindowRect(panel(), &panelRect);
        const RECT entry = app().screenRect(JvCalcEdit1);
        EXPECT_GE(panelRect.top, entry.bottom);
        EXPECT_EQ(panelRect.right, entry.right);
        EXPECT_EQ(app().focusedComponent(), JvCalcEdit1);
    }
};

TEST_F(Calculator, AltDownOpensItAndEqualsPutsTheResultInTheEntry)
{
    ASSERT_NO_FATAL_FAILURE(open());
    app().type(L"5*2=");
    waitUntil([&] { return panel() == nullptr && app().text(JvCalcEdit1) == L"10"; });
    EXPECT_EQ(panel(), nullptr);
    EXPECT_EQ(app().text(JvCalcEdit1), L"10");
    EXPECT_EQ(app().fields(), kEmpty) << "accepting a result computes nothing";
}

TEST_F(Calculator, EscapeClosesItAndEmptiesTheEntry)
{
    typeInEntry(L"100", L"100");
    ASSERT_NO_FATAL_FAILURE(open());
    app().type(L"5*2");
    app().press(VK_ESCAPE);
    waitUntil([&] { return panel() == nullptr && app().text(JvCalcEdit1).empty(); });
    EXPECT_EQ(panel(), nullptr);
    EXPECT_EQ(app().text(JvCalcEdit1), L"");
    EXPECT_EQ(app().focusedComponent(), JvCalcEdit1);
}

TEST_F(Calculator, AClickElsewhereClosesItWithoutTheResult)
{
    typeInEntry(L"100", L"100");
    ASSERT_NO_FATAL_FAILURE(open());
    app().type(L"5*2");
    app().click(Label3);
    ASSERT_TRUE(waitUntil([&] { return panel() == nullptr; }));
    EXPECT_EQ(app().text(JvCalcEdit1), L"100");
}

// ---- The error box ------------------------------------------------------------

// Started as BRINDELOR.EXE, whose title is "Brindelor": the file name cut at
// its first ".", every character after the first in lower case.
class ErrorBox : public Window {
protected:
    ErrorBox() { startedAs_ = L"BRINDELOR.EXE"; }
};

TEST_F(ErrorBox, ShowsTheMessageAndTheLoopGoesOn)
{
    typeInEntry(L"900000000000000", L"900000000000000");
    clickIndicator(app(), RadioButton5);
    HWND box = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        const std::vector<HWND> boxes = app().topLevels(L"#32770");
        box = boxes.empty() ? nullptr : boxes.front();
        return box != nullptr;
    })) << "no message box";
    EXPECT_EQ(windowText(box), L"Brindelor");
    std::vector<std::wstring> texts, buttons;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        std::wstring text = windowText(child);
        if (_wcsicmp(className(child).c_str(), L"Button") == 0)
            buttons.push_back(text);
        else if (!text.empty())
            texts.push_back(text);
    }
    EXPECT_EQ(texts, std::vector<std::wstring>{L"Op\u00e9ration en virgule flottante incorrecte."});
    EXPECT_EQ(buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_EQ(app().fields(), kEmpty) << "the run failed before its first field";

    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == box; }));
    app().press(VK_RETURN);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(box); })) << "Enter did not close the box";
    EXPECT_TRUE(app().checked(RadioButton5)) << "the option stays checked";

    // The window answers again.
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == app().window(); }));
    app().press(VK_ESCAPE);
    ASSERT_TRUE(waitUntil([&] { return app().focused(JvCalcEdit1) && app().text(JvCalcEdit1).empty(); }));
    clickIndicator(app(), RadioButton4);
    waitForFields({L"8%", L"0", L"0", L"0", L"0"});
}

// ---- The links ----------------------------------------------------------------

TEST_F(Window, ALinkClickOpensItsAddressOnceAndChangesNoField)
{
    typeInEntry(L"100", L"100");
    clickIndicator(app(), RadioButton5);
    waitForFields(kHundredWithK);

    struct Link {
        Component label;
        const char* address; // the part the layout fixes
    };
    const Link links[] = {{JvLabel1, "/affichTexte.do?cidTexte=JORFTEXT000027478395"},
                          {JvLabel2, "/accueil-de-la-ccam/trouver-un-acte/index.php"}};
    // The focus stays on the option: each arrow key after a click checks the
    // next option once every click before it has been handled.
    Component focusedOption = RadioButton5;
    const auto handledSoFar = [&] {
        focusedOption = focusedOption == RadioButton6 ? RadioButton1 : Component(focusedOption + 1);
        app().press(VK_DOWN);
        return waitUntil([&] { return app().checked(focusedOption); });
    };
    std::size_t count = 0;
    for (const Link& link : links) {
        SCOPED_TRACE(testing::Message() << "component " << link.label);
        // A double click opens it once.
        app().click(link.label, {4, 6}, 2);
        ASSERT_TRUE(handledSoFar());
        std::vector<std::string> opened = app().opened();
        ASSERT_EQ(opened.size(), count + 1);
        EXPECT_NE(opened.back().find(link.address), std::string::npos) << opened.back();
        EXPECT_EQ(opened.back().rfind("http", 0), 0u) << opened.back();

        const Fields before = app().fields();
        app().click(link.label, {4, 6});
        waitUntil([&] { return app().opened().size() == count + 2; });
        opened = app().opened();
        ASSERT_EQ(opened.size(), count + 2);
        EXPECT_EQ(opened.back(), opened[count]);
        EXPECT_EQ(app().fields(), before);
        EXPECT_EQ(app().text(JvCalcEdit1), L"100");
        EXPECT_EQ(app().focusedComponent(), focusedOption);
        count += 2;
    }
}

// ---- The end --------------------------------------------------------------------

// A point of the caption's close box, found by asking the window; x < 0 if none.
POINT closeBoxOf(HWND window)
{
    RECT frame{};
    GetWindowRect(window, &frame);
    for (LONG y = frame.top; y < frame.top + 30; ++y) {
        for (LONG x = frame.right - 1; x > frame.right - 40; --x) {
            DWORD_PTR hit = 0;
            SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 5000, &hit);
            if (hit == HTCLOSE)
                return {x - 2, y + 2};
        }
    }
    return {-1, -1};
}

TEST_F(Window, ClosingEndsTheProcessWithExitCodeZero)
{
    // By the close box.
    const POINT closeBox = closeBoxOf(app().window());
    ASSERT_GE(closeBox.x, 0) << "no close box on the caption";
    Brindelor::clickAt(closeBox);
    EXPECT_EQ(app().waitForExit(), 0u);

    // By Alt+F4, on a second program.
    ASSERT_NO_FATAL_FAILURE(start());
    app().press(VK_F4, Alt);
    EXPECT_EQ(app().waitForExit(), 0u);
}

// ---- The locale ---------------------------------------------------------------

// The program runs with this process's LANG: ctest starts this test once per
// locale.
TEST(Locale, ResultsTakeTheDecimalSeparatorOfLang)
{
    const char* lang = std::getenv("LANG");
    const std::string name = lang ? lang : "";
    struct Case {
        const char* lang;
        const wchar_t* separator;
    };
    const Case cases[] = {{"fr_FR.UTF-8", L","}, {"C", L"."}, {"en_US.UTF-8", L"."}};
    const Case* found = nullptr;
    for (const Case& c : cases) {
        if (name == c.lang)
            found = &c;
    }
    if (!found)
        GTEST_SKIP() << "LANG=" << name << " is none of the locales this test knows";
    if (name == "fr_FR.UTF-8" && userLocaleName() != L"fr-FR")
        GTEST_SKIP() << "the glibc locale fr_FR.UTF-8 is not generated here (locale-gen)";

    Brindelor app;
    ASSERT_TRUE(app.ready()) << app.failure();
    app.type(L"100");
    ASSERT_TRUE(waitUntil([&] { return app.text(JvCalcEdit1) == L"100"; }));
    clickIndicator(app, RadioButton5);
    Fields expected = kHundredWithK;
    for (std::wstring& field : expected) {
        if (const auto comma = field.find(L','); comma != std::wstring::npos)
            field.replace(comma, 1, found->separator);
    }
    waitUntil([&] { return app.fields() == expected; });
    EXPECT_EQ(app.fields(), expected);
}

// ---- The screenshot's window ------------------------------------------------------

// For screenshot_test.sh: the typical road, the pointer off the links, then
// the client area's place on the screen written to BRINDELOR_SHOT_DIR/client;
// the window stays until the script has written BRINDELOR_SHOT_DIR/taken.
TEST_F(Window, ScreenshotWindow)
{
    const char* dir = std::getenv("BRINDELOR_SHOT_DIR");
    if (!dir || !*dir)
        GTEST_SKIP() << "only for screenshot_test.sh, which sets BRINDELOR_SHOT_DIR";
    typeInEntry(L"100", L"100");
    clickIndicator(app(), RadioButton5);
    waitForFields(kHundredWithK);
    RECT frame{};
    GetWindowRect(app().window(), &frame);
    Brindelor::moveTo({frame.left + 150, frame.top + 6}); // on the caption
    POINT origin{0, 0};
    ClientToScreen(app().window(), &origin);
    RECT client{};
    GetClientRect(app().window(), &client);

    const std::wstring base = windowsPath(dir);
    {
        const std::wstring part = base + L"\\client.part";
        FILE* f = _wfopen(part.c_str(), L"wb");
        ASSERT_NE(f, nullptr);
        std::fprintf(f, "%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
        std::fclose(f);
        ASSERT_TRUE(MoveFileW(part.c_str(), (base + L"\\client").c_str()));
    }
    const std::wstring taken = base + L"\\taken";
    EXPECT_TRUE(waitUntil([&] { return GetFileAttributesW(taken.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000))
        << "the screenshot was never taken";
}

} // namespace
} // namespace brindelor::wintest
