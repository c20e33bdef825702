// Rules of the form that need no window: the calculator's arithmetic, the
// error box's caption and text, the bridge between UTF-16 and UTF-8, the
// calculator's placement, the modifier table.

#include "brindelor/form/application.h"
#include "brindelor/form/calc_edit.h"
#include "brindelor/form/calculator_engine.h"
#include "brindelor/form/modifiers.h"
#include "brindelor/form/text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

namespace brindelor::form {
namespace {

const Separators kFrench{",", "\u202F"};

// Feeds keys to the engine: digits, ",", "+-*/", "=", "%", "C", "<" (backspace).
void feed(CalculatorEngine& engine, std::string_view keys)
{
    for (const char c : keys) {
        if (c >= '0' && c <= '9')
            engine.digit(c - '0');
        else if (c == ',')
            engine.decimalPoint();
        else if (c == '+')
            engine.setOperator(CalculatorEngine::Op::Add);
        else if (c == '-')
            engine.setOperator(CalculatorEngine::Op::Subtract);
        else if (c == '*')
            engine.setOperator(CalculatorEngine::Op::Multiply);
        else if (c == '/')
            engine.setOperator(CalculatorEngine::Op::Divide);
        else if (c == '=')
            engine.equals();
        else if (c == '%')
            engine.percent();
        else if (c == 'C')
            engine.clear();
        else if (c == '<')
            engine.backspace();
    }
}

TEST(Calculator, KeysAndDisplay)
{
    const struct {
        const char* name;
        const char* keys;
        const char* display;
    } cases[] = {
        {"sum", "12+3=", "15"},
        {"typing shows what is typed", "1,50", "1,50"},
        {"leading zeros", "007", "7"},
        {",5 starts with 0", ",5", "0,5"},
        {"one separator", "1,2,3", "1,23"},
        {"left to right", "2+3*4=", "20"},
        {"second operator replaces", "9+-3=", "6"},
        {"5+= repeats the operand", "5+=", "10"},
        {"0,1+0,2= in extended", "0,1+0,2=", "0,3"},
        {"1/3= fifteen digits", "1/3=", "0,333333333333333"},
        {"2/3= rounded", "2/3=", "0,666666666666667"},
        {"200+10%", "200+10%", "220"},
        {"200-10%", "200-10%", "180"},
        {"50*10%", "50*10%", "5"},
        {"50/10%", "50/10%", "500"},
        {"25%", "25%", "0,25"},
        {"backspace", "12<", "1"},
        {"backspace the separator", "1,5<<", "1"},
        {"backspace to 0", "7<<", "0"},
        {"backspace leaves a result alone", "2*3=<", "6"},
        {"digits after a result start anew", "2*3=4", "4"},
        {"18 digits at most", "1234567890123456789", "123456789012345678"},
        {"18 digits exact", "123456789012345678+0=", "1,23456789012346E17"},
        {"5/0", "5/0=", "Erreur"},
        {"0/0", "0/0=", "Erreur"},
        {"5/0%", "5/0%", "Erreur"},
        {"an error ignores keys", "5/0=7+2=", "Erreur"},
        {"C clears the error", "5/0=C", "0"},
        {"after C", "5/0=C3*2=", "6"},
        {"chained error", "5/0+", "Erreur"},
        {"negative", "3-5=", "-2"},
    };
    for (const auto& c : cases) {
        CalculatorEngine engine;
        engine.reset();
        feed(engine, c.keys);
        EXPECT_EQ(engine.displayText(kFrench), c.display) << c.name;
        EXPECT_EQ(engine.hasError(), std::string_view(c.display) == "Erreur") << c.name;
    }
}

TEST(Calculator, StartsFromTheEntry)
{
    CalculatorEngine engine;
    engine.reset(Extended::fromDecimal(false, "12345", -1));
    EXPECT_EQ(engine.displayText(kFrench), "1234,5");
    feed(engine, "*2=");
    EXPECT_EQ(engine.displayText(kFrench), "2469");
    EXPECT_EQ(engine.value(), Extended::fromInt64(2469));
    engine.reset(Extended::fromDecimal(false, "25", -1));
    EXPECT_EQ(engine.displayText({".", ","}), "2.5");
}

TEST(Calculator, PlacedBelowOrAboveTheEntry)
{
    const Rect screen{0, 0, 1024, 768};
    // Below, right edges aligned.
    EXPECT_EQ(calculatorPlacement({500, 100, 94, 21}, 140, 160, screen), (Rect{454, 121, 140, 160}));
    // No room below: above.
    EXPECT_EQ(calculatorPlacement({500, 700, 94, 21}, 140, 160, screen), (Rect{454, 540, 140, 160}));
    // Kept on the screen at the left edge.
    EXPECT_EQ(calculatorPlacement({10, 100, 94, 21}, 140, 160, screen), (Rect{0, 121, 140, 160}));
}

TEST(Application, Title)
{
    const struct {
        const char* path;
        const char* title;
    } cases[] = {
        {"/work/build/bin/brindelor", "brindelor"},
        {"C:/Program Files/Brindelor/Brindelor.exe", "Brindelor"},
        {"C:\\Program Files\\Brindelor\\BRINDELOR.EXE", "Brindelor"},
        {"/opt/BRINDELOR.EXE", "Brindelor"},
        {"/opt/My.Tool.exe", "My"},
        {"/opt/B", "B"},
        {"/opt/.brindelor", ""},
        {"/opt/\u00c9CRAN.bin", "\u00c9cran"},
        {"/opt/\u00c9T\u00c9", "\u00c9t\u00e9"},
        {"/opt/\u0160KODA", "\u0160koda"},
        {"/opt/\u0394\u0395\u039b\u03a4\u0391", "\u0394\u03b5\u03bb\u03c4\u03b1"},
        {"/opt/\u0422\u0410\u0420\u0418\u0424", "\u0422\u0430\u0440\u0438\u0444"},
        {"/opt/A\xF0\x9F\x98\x80Z", "A\xF0\x9F\x98\x80z"}, // past the BMP: copied as it is
    };
    for (const auto& c : cases)
        EXPECT_EQ(applicationTitle(c.path), c.title) << c.path;
}

TEST(Application, ErrorBoxText)
{
    const struct {
        const char* message;
        const char* text;
    } cases[] = {
        {"Division par z\u00e9ro", "Division par z\u00e9ro."},
        {"'1e5' n'est pas une valeur en virgule flottante correcte",
         "'1e5' n'est pas une valeur en virgule flottante correcte."},
        {"erreur 5", "erreur 5."},
        {"a/", "a/."},            // "/" is 47
        {"Fin.", "Fin."},
        {"a,", "a,"},             // 44
        {"a-", "a-"},             // 45
        {"Attention !", "Attention !"},
        {"(voir)", "(voir)"},
        {"", ""},
        {"prix en \u20ac", "prix en \u20ac."}, // a character past ASCII
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorBoxText(c.message), c.text) << c.message;
}

TEST(Text, Utf16AndUtf8)
{
    const std::u16string text = u"1\u202F234,5 \u20ac \U0001F600";
    const std::string utf8 = toUtf8(text);
    EXPECT_EQ(utf8, "1\u202F234,5 \u20ac \U0001F600");
    EXPECT_EQ(toUtf16(utf8), text);
    // Every position maps there and back.
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF)
            continue; // inside a pair
        EXPECT_EQ(utf16Position(utf8, utf8Offset(text, i)), i) << i;
    }
    // A lone surrogate is one "?"; bad bytes are U+FFFD each.
    EXPECT_EQ(toUtf8(u"a\xD800z"), "a?z");
    EXPECT_EQ(utf8Offset(u"a\xD800z", 2), 2u);
    EXPECT_EQ(toUtf16("a\xFFz\xC3"), u"a\xFFFDz\xFFFD");
    EXPECT_EQ(toUtf16("\xC0\x80"), u"\xFFFD\xFFFD"); // overlong
}

TEST(Modifiers, RatesAreTheSinglePrecisionConstants)
{
    const struct {
        const char* caption;
        std::uint32_t bits;
    } cases[] = {
        {"effacer", 0x00000000}, {"O", 0x3e99999a}, {"9", 0x3ff33333},
        {"I", 0x40933333},       {"X", 0x41000000}, {"K", 0x41380000},
    };
    for (const auto& c : cases) {
        const auto rate = modifierRate(c.caption);
        ASSERT_TRUE(rate.has_value()) << c.caption;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(*rate), c.bits) << c.caption;
    }
    EXPECT_FALSE(modifierRate("k").has_value());
    EXPECT_FALSE(modifierRate("").has_value());
}

} // namespace
} // namespace brindelor::form
