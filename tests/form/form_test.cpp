// The window's behaviour, free of any toolkit: sequences of what a user
// does, played on the form through a fake platform, and what the fields,
// the rate slots, the entry, the focus, the beeps and the error boxes are
// after each sequence.

#include "fake_platform.h"

#include "brindelor/form/frm_CALC.h"
#include "brindelor/form/modifiers.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <ostream>
#include <string>
#include <vector>

namespace brindelor::test {
namespace {

using form::FocusCause;
using form::Key;

const Separators kFrench{",", "\u202F"};
const std::string kNnbsp = "\u202F";
const std::string kInvalid = "Op\u00e9ration en virgule flottante incorrecte.";

// The window on the fake platform, and the user in front of it.
class Session {
public:
    Session()
        : app_(platform_, "C:\\Program Files\\Brindelor\\BRINDELOR.EXE")
    {
        taux_modif1 = 0;
        taux_modif2 = 0;
        app_.setNumberSettings(kFrench);
        form_ = std::make_unique<Tform_CALC>(app_);
    }

    Tform_CALC& form() { return *form_; }
    FakePlatform& platform() { return platform_; }
    form::Application& app() { return app_; }

    form::Control* control(const std::string& name)
    {
        for (form::Control* c : form_->controls()) {
            if (c->Name() == name)
                return c;
        }
        ADD_FAILURE() << "no control " << name;
        return nullptr;
    }

    FakeEntry& entry() { return *dynamic_cast<FakeEntry*>(form_->JvCalcEdit1->peer()); }
    std::string entryText() { return form::toUtf8(entry().text); }
    std::string focusName()
    {
        return platform_.focus ? platform_.focus->control().Name() : std::string("(none)");
    }
    std::array<std::string, 5> fields()
    {
        return {form_->Edit_taux->Text(), form_->Edit_valeur_13->Text(), form_->Edit_valeur_14->Text(),
                form_->Edit_valeur_14_JO->Text(), form_->Edit_delta->Text()};
    }

    // One step of a script:
    //   "type:TEXT"   each character as a key        "paste:TEXT"  into the entry
    //   "key:NAME"    Escape, Enter, Tab, Backtab, Up, Down, Left, Right, Delete,
    //                 Backspace, F4, with "Alt+" or "Shift+" before
    //   "click:NAME"  a control (an option takes the focus first)
    //   "dropdown"    the entry's button              "locale:D|G"  new separators
    void play(const std::string& step)
    {
        const auto colon = step.find(':');
        const std::string verb = step.substr(0, colon);
        const std::string arg = colon == std::string::npos ? std::string() : step.substr(colon + 1);
        if (verb == "type") {
            for (const char16_t c : form::toUtf16(arg)) {
                Key key;
                key.text = std::u16string(1, c);
                press(key);
            }
        } else if (verb == "key") {
            press(namedKey(arg));
        } else if (verb == "paste") {
            paste(form::toUtf16(arg));
        } else if (verb == "click") {
            click(control(arg));
        } else if (verb == "dropdown") {
            form_->JvCalcEdit1->dropDownClicked();
        } else if (verb == "locale") {
            const auto bar = arg.find('|');
            app_.setNumberSettings({arg.substr(0, bar), arg.substr(bar + 1)});
        } else {
            ADD_FAILURE() << "unknown step " << step;
        }
    }

    // A key as the native controls pass it on: the window's preview first,
    // then the open calculator, then the focused control.
    void press(const Key& key)
    {
        if (!key.text.empty() && form_->previewKey(key.text[0]))
            return;
        form::CalcEdit& entryControl = *form_->JvCalcEdit1;
        const bool inEntry = platform_.focus == &entry();
        if (inEntry && entryControl.calculatorOpen()) {
            if (entryControl.calculatorKey(key) == form::CalcEdit::KeyResult::Handled)
                return;
        } else if (inEntry && entryControl.keyDown(key)) {
            return;
        }
        if (key.code == Key::Code::Tab || key.code == Key::Code::Backtab) {
            tab(key.code == Key::Code::Tab ? +1 : -1);
            return;
        }
        if (inEntry) {
            if (!key.text.empty() && key.text[0] >= 0x20)
                entryControl.type(key.text);
            return;
        }
        if (platform_.focus && platform_.focus->control().kind() == form::Control::Kind::RadioButton)
            static_cast<form::RadioButton&>(platform_.focus->control()).arrowKey(key);
    }

private:
    static Key namedKey(std::string name)
    {
        Key key;
        for (;;) {
            if (name.rfind("Alt+", 0) == 0) {
                key.alt = true;
                name.erase(0, 4);
            } else if (name.rfind("Shift+", 0) == 0) {
                key.shift = true;
                name.erase(0, 6);
            } else {
                break;
            }
        }
        using Code = Key::Code;
        const std::pair<const char*, Code> codes[] = {
            {"Escape", Code::Escape}, {"Enter", Code::Enter}, {"Tab", Code::Tab},
            {"Backtab", Code::Backtab}, {"Up", Code::Up}, {"Down", Code::Down},
            {"Left", Code::Left}, {"Right", Code::Right}, {"Delete", Code::Delete},
            {"Backspace", Code::Backspace}, {"F4", Code::F4},
        };
        for (const auto& [n, code] : codes) {
            if (name == n)
                key.code = code;
        }
        if (key.code == Code::Escape)
            key.text = u"\x1b";
        if (key.code == Code::Enter)
            key.text = u"\r";
        return key;
    }

    // Tab stops: the controls of the tab order, options only when checked.
    void tab(int step)
    {
        std::vector<form::Control*> stops;
        for (form::Control* c : form_->tabSequence()) {
            if (c->kind() != form::Control::Kind::RadioButton || static_cast<form::RadioButton*>(c)->isTabStop())
                stops.push_back(c);
        }
        const auto count = static_cast<std::ptrdiff_t>(stops.size());
        std::ptrdiff_t at = 0;
        for (std::ptrdiff_t i = 0; i < count; ++i) {
            if (stops[static_cast<std::size_t>(i)]->Focused())
                at = i;
        }
        form::Control* next = stops[static_cast<std::size_t>((at + step + count) % count)];
        next->SetFocus(FocusCause::Keyboard);
    }

    void click(form::Control* c)
    {
        if (!c)
            return;
        switch (c->kind()) {
        case form::Control::Kind::RadioButton: {
            // The press takes the focus; the release checks.
            c->SetFocus(FocusCause::Mouse);
            auto* peer = dynamic_cast<FakeRadio*>(c->peer());
            if (!peer->on)
                peer->setCheck(true);
            break;
        }
        case form::Control::Kind::LinkLabel: static_cast<form::LinkLabel*>(c)->clicked(); break;
        case form::Control::Kind::CalcEdit:
        case form::Control::Kind::Edit: c->SetFocus(FocusCause::Mouse); break;
        default: break;
        }
    }

    void paste(const std::u16string& pasted)
    {
        FakeEntry& e = entry();
        const form::EntryPeer::Selection sel = e.selection();
        std::u16string resulting = e.text;
        resulting.replace(sel.start, sel.length, pasted);
        if (!form_->JvCalcEdit1->pasteKept(resulting)) {
            form_->JvCalcEdit1->pasteRefused();
            return;
        }
        e.text = resulting;
        e.caret = e.anchor = sel.start + pasted.size();
        form_->JvCalcEdit1->textChanged();
    }

    FakePlatform platform_;
    form::Application app_;
    std::unique_ptr<Tform_CALC> form_;
};

struct Sequence {
    const char* name;
    std::vector<std::string> steps;
    std::array<std::string, 5> fields;
    float slot1;
    float slot2;
    std::string entry;
    std::string focus;
    int beeps = 0;
    std::vector<std::string> boxes = {};
};

void PrintTo(const Sequence& s, std::ostream* os) { *os << s.name; }

const std::array<std::string, 5> kEmpty{};

const Sequence kSequences[] = {
    {"typical road: 100 then K", {"type:100", "click:RadioButton5"},
     {"11,5%", "111,5", "124,32", "123", "1,32"}, 11.5f, 0, "100", "RadioButton5"},
    {"K in both groups", {"type:69,12", "click:RadioButton5", "click:RadioButton11"},
     {"23%", "85,02", "104,57", "100,92", "3,65"}, 11.5f, 11.5f, "69,12", "RadioButton11"},
    {"the checked effacer runs nothing", {"type:100", "click:RadioButton6"},
     kEmpty, 0, 0, "100", "RadioButton6"},
    {"back to effacer: the second rate alone", {"type:25", "click:RadioButton1", "click:RadioButton8",
                                                 "click:RadioButton6"},
     {"1,9%", "25,48", "25,96", "25,95", "0,01"}, 0, 1.9f, "25", "RadioButton6"},
    {"a new base counts at the next change only", {"type:100", "click:RadioButton5", "click:JvCalcEdit1",
                                                    "type:0", "click:RadioButton5"},
     {"11,5%", "111,5", "124,32", "123", "1,32"}, 11.5f, 0, "1" + kNnbsp + "000", "RadioButton5"},
    {"Escape in the entry: empty, fields kept", {"type:100", "click:RadioButton5", "click:JvCalcEdit1",
                                                  "key:Escape"},
     {"11,5%", "111,5", "124,32", "123", "1,32"}, 11.5f, 0, "", "JvCalcEdit1"},
    {"Escape on an option, then a change", {"type:100", "click:RadioButton5", "key:Escape", "click:RadioButton4"},
     {"8%", "0", "0", "0", "0"}, 8.0f, 0, "", "RadioButton4"},
    {"arrows wrap and recompute", {"type:100", "click:RadioButton5", "key:Down", "key:Down"},
     {"0,3%", "100,3", "100,6", "100,6", "0"}, 0.3f, 0, "100", "RadioButton1"},
    {"Up wraps backwards", {"type:10", "click:RadioButton7", "key:Up", "key:Left"},
     {"11,5%", "11,15", "12,43", "12,3", "0,13"}, 0, 11.5f, "10", "RadioButton11"},
    {"Alt+Down on an option does nothing", {"type:100", "click:RadioButton5", "key:Alt+Down"},
     {"11,5%", "111,5", "124,32", "123", "1,32"}, 11.5f, 0, "100", "RadioButton5"},
    {"third decimal refused with a beep", {"type:12,345"}, kEmpty, 0, 0, "12,34", "JvCalcEdit1", 1},
    {"letters refused, point types the comma", {"type:1a2.5"}, kEmpty, 0, 0, "12,5", "JvCalcEdit1", 1},
    {"Enter does nothing", {"type:1", "key:Enter", "type:2"}, kEmpty, 0, 0, "12", "JvCalcEdit1"},
    {"grouped on leaving", {"type:1234,5", "key:Tab"}, kEmpty, 0, 0, "1" + kNnbsp + "234,5", "RadioButton6"},
    {"Tab order", {"key:Tab", "key:Tab", "key:Tab", "key:Tab", "key:Tab", "key:Tab"},
     kEmpty, 0, 0, "", "Edit_valeur_14_JO"},
    {"Tab wraps back to the entry", {"type:5", "key:Tab", "key:Tab", "key:Tab", "key:Tab", "key:Tab", "key:Tab",
                                     "key:Tab", "key:Tab"},
     kEmpty, 0, 0, "5", "JvCalcEdit1"},
    {"Shift+Tab from the entry", {"key:Backtab"}, kEmpty, 0, 0, "", "Edit_delta"},
    {"refused paste undone", {"type:1,2", "paste:,5"}, kEmpty, 0, 0, "1,2", "JvCalcEdit1", 1},
    {"paste without a digit stays, reads 0", {"paste:abc", "click:RadioButton1"},
     {"0,3%", "0", "0", "0", "0"}, 0.3f, 0, "", "RadioButton1"},
    {"typing after a pasted 1 000", {"paste:1 000", "type:5"}, kEmpty, 0, 0, "1 0005", "JvCalcEdit1"},
    {"calculator accepts without computing", {"type:100", "click:RadioButton5", "click:JvCalcEdit1",
                                               "key:Alt+Down", "type:*2="},
     {"11,5%", "111,5", "124,32", "123", "1,32"}, 11.5f, 0, "200", "JvCalcEdit1"},
    {"calculator: % accepts", {"key:Alt+Down", "type:200+10%"}, kEmpty, 0, 0, "220", "JvCalcEdit1"},
    {"calculator: Escape discards, the value stays 0", {"type:100", "key:Alt+Down", "type:5", "key:Escape"},
     kEmpty, 0, 0, "", "JvCalcEdit1"},
    {"calculator: Tab closes and moves on", {"type:7", "key:Alt+Down", "type:1", "key:Tab"},
     kEmpty, 0, 0, "7", "RadioButton6"},
    {"calculator: the button opens and closes", {"type:3", "dropdown", "type:9", "dropdown", "type:4"},
     kEmpty, 0, 0, "34", "JvCalcEdit1"},
    {"error box, and the loop goes on", {"type:900000000000000", "click:RadioButton5", "key:Escape",
                                          "click:RadioButton4"},
     {"8%", "0", "0", "0", "0"}, 8.0f, 0, "", "RadioButton4", 0, {kInvalid}},
    {"a failure leaves the earlier fields written", {"type:800000000000000", "click:RadioButton5"},
     {"11,5%", "892000000000000", "", "", ""}, 11.5f, 0, "800" + kNnbsp + "000" + kNnbsp + "000" + kNnbsp + "000"
     + kNnbsp + "000", "RadioButton5", 0, {kInvalid}},
    {"a link click changes nothing", {"type:100", "click:RadioButton5", "click:JvLabel1", "click:JvLabel2"},
     {"11,5%", "111,5", "124,32", "123", "1,32"}, 11.5f, 0, "100", "RadioButton5"},
};

class FormSequence : public testing::TestWithParam<Sequence> {};

TEST_P(FormSequence, LeavesTheWindowAsExpected)
{
    const Sequence& s = GetParam();
    Session session;
    for (const std::string& step : s.steps)
        session.play(step);
    EXPECT_EQ(session.fields(), s.fields);
    EXPECT_EQ(taux_modif1, s.slot1);
    EXPECT_EQ(taux_modif2, s.slot2);
    EXPECT_EQ(session.entryText(), s.entry);
    EXPECT_EQ(session.focusName(), s.focus);
    EXPECT_EQ(session.platform().beeps, s.beeps);
    std::vector<std::string> boxes;
    for (const Box& box : session.platform().boxes) {
        boxes.push_back(box.text);
        EXPECT_EQ(box.caption, "Brindelor");
    }
    EXPECT_EQ(boxes, s.boxes);
}

INSTANTIATE_TEST_SUITE_P(Form, FormSequence, testing::ValuesIn(kSequences),
                         [](const testing::TestParamInfo<Sequence>& param) {
                             std::string name;
                             for (const char* p = param.param.name; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

TEST(Form, StartsAsTheLayoutSays)
{
    Session session;
    Tform_CALC& f = session.form();
    EXPECT_EQ(form_CALC, &f);
    EXPECT_EQ(session.focusName(), "JvCalcEdit1");
    EXPECT_TRUE(f.RadioButton6->Checked());
    EXPECT_TRUE(f.RadioButton12->Checked());
    for (form::RadioButton* other : {f.RadioButton1, f.RadioButton2, f.RadioButton3, f.RadioButton4,
                                     f.RadioButton5, f.RadioButton7, f.RadioButton8, f.RadioButton9,
                                     f.RadioButton10, f.RadioButton11})
        EXPECT_FALSE(other->Checked()) << other->Name();
    EXPECT_EQ(session.fields(), kEmpty);
    EXPECT_EQ(taux_modif1, 0.0f);
    EXPECT_EQ(taux_modif2, 0.0f);
    EXPECT_FALSE(f.Button1->visible);
    EXPECT_EQ(f.JvCalcEdit1->panel(), nullptr); // built on first use only
    EXPECT_EQ(session.app().Title(), "Brindelor");

    // The options of each group, in the arrow keys' order, with the rates.
    const std::vector<form::RadioButton*> group = f.RadioButton3->group();
    ASSERT_EQ(group.size(), 6u);
    for (std::size_t i = 0; i < group.size(); ++i)
        EXPECT_EQ(group[i]->caption, form::kModifiers[i].caption);
    EXPECT_EQ(group.back(), f.RadioButton6);
}

TEST(Form, HiddenButtonStillComputes)
{
    Session session;
    session.play("type:20,13");
    taux_modif2 = 11.5f;
    session.form().Button1->clicked(); // as its native button would
    EXPECT_EQ(session.fields(), (std::array<std::string, 5>{"11,5%", "22,44", "25,03", "24,76", "0,27"}));
}

TEST(Form, LinksOpenTheirAddressQuietly)
{
    Session session;
    session.platform().failOpening = true;
    session.play("click:JvLabel2");
    session.play("click:JvLabel1");
    ASSERT_EQ(session.platform().opened.size(), 2u);
    EXPECT_NE(session.platform().opened[0].find("/accueil-de-la-ccam/trouver-un-acte/index.php"), std::string::npos);
    EXPECT_NE(session.platform().opened[1].find("/affichTexte.do?cidTexte=JORFTEXT000027478395"), std::string::npos);
    EXPECT_TRUE(session.platform().boxes.empty());
}

TEST(Form, LocaleChangeRedrawsTheEntry)
{
    Session session;
    session.play("type:1234");
    session.play("key:Tab");
    form::CalcEdit& entry = *session.form().JvCalcEdit1;
    EXPECT_EQ(form::toUtf8(entry.unfocusedText()), "1" + kNnbsp + "234");
    const int redraws = session.entry().redraws;
    session.play("locale:.|,");
    EXPECT_GT(session.entry().redraws, redraws);
    EXPECT_EQ(form::toUtf8(entry.unfocusedText()), "1,234");
    session.play("click:RadioButton5");
    EXPECT_EQ(session.fields()[1], "1375.91");
    session.play("click:JvCalcEdit1");
    EXPECT_EQ(session.entryText(), "1,234");
}

TEST(Form, EntryFocusRewritesAndSelects)
{
    Session session;
    session.play("type:0012,50");
    session.play("key:Tab");
    EXPECT_EQ(session.entryText(), "12,5");
    // Back by the keyboard: all selected, so typing replaces it.
    session.play("key:Backtab");
    EXPECT_EQ(session.entry().selection().length, 4u);
    session.play("type:7");
    EXPECT_EQ(session.entryText(), "7");
    // By the mouse: nothing selected.
    session.play("key:Tab");
    session.play("click:JvCalcEdit1");
    EXPECT_EQ(session.entry().selection().length, 0u);
    // A text beyond the extended range stays as typed, shown as it is.
    session.play("paste:1" + std::string(5000, '0'));
    session.play("key:Tab");
    EXPECT_EQ(session.entryText().size(), 5002u);
    EXPECT_EQ(session.form().JvCalcEdit1->unfocusedText().size(), 5002u);
}

} // namespace
} // namespace brindelor::test
