#include "brindelor/form/frm_CALC.h"

#include "brindelor/form/application.h"
#include "brindelor/form/modifiers.h"

#include "brindelor/tariff/compute.h"

#include <array>
#include <string>
#include <string_view>
#include <tuple>

float taux_modif1 = 0;
float taux_modif2 = 0;

Tform_CALC* form_CALC = nullptr;

using namespace brindelor::form;

namespace {

constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kSilver{192, 192, 192};
constexpr Rgb kRed{255, 0, 0};
constexpr FontStyle kRegular{};
constexpr FontStyle kBold{true, false, false, false};
constexpr FontStyle kItalic{false, true, false, false};
constexpr FontStyle kStruckOut{false, false, false, true};
constexpr FontStyle kLink{true, false, true, false};

// Tops of the options, in the arrow keys' order: O, 9, I, X, K, effacer.
constexpr std::array<int, 6> kOptionTops{35, 54, 73, 92, 112, 16};

// The fields the computation writes, and where it reads the base tariff.
class FormTariffIO final : public brindelor::TariffIO {
public:
    explicit FormTariffIO(Tform_CALC& form)
        : form_(form)
    {
    }

    brindelor::Extended readBase() override { return form_.JvCalcEdit1->Value(); }

    void writeField(brindelor::ResultField field, std::string_view text) override
    {
        Edit* edit = nullptr;
        switch (field) {
        case brindelor::ResultField::Taux: edit = form_.Edit_taux; break;
        case brindelor::ResultField::Valeur13: edit = form_.Edit_valeur_13; break;
        case brindelor::ResultField::Valeur14: edit = form_.Edit_valeur_14; break;
        case brindelor::ResultField::Valeur14JO: edit = form_.Edit_valeur_14_JO; break;
        case brindelor::ResultField::Delta: edit = form_.Edit_delta; break;
        }
        if (edit)
            edit->setText(text);
    }

private:
    Tform_CALC& form_;
};

template <typename C>
C* place(C* control, std::string_view caption, Rect bounds, int tabOrder = -1)
{
    control->caption = caption;
    control->bounds = bounds;
    control->tabOrder = tabOrder;
    return control;
}

Edit* resultField(Edit* edit, Rect bounds, int tabOrder, std::string_view accessibleName)
{
    place(edit, {}, bounds, tabOrder);
    edit->alignment = Alignment::Center;
    // A screen reader reads a result with the label that names it.
    edit->accessibleName = accessibleName;
    return edit;
}

} // namespace

Tform_CALC::Tform_CALC(Application& Application)
    : Form(Application, "form_CALC")
{
    form_CALC = this;
    caption = "Brindelor";
    bounds = {0, 0, 220, 359};
    font = kRegular;
    KeyPreview = true;

    // Creation order, by parent; the tab order is each control's own.
    Label3 = place(add<Label>("Label3"), "Augmentation", {25, 190, 67, 13});
    JvLabel2 = place(add<LinkLabel>("JvLabel2"), "Tarif de base", {11, 15, 75, 13});
    JvLabel2->url = "https://www.ameli.fr/accueil-de-la-ccam/trouver-un-acte/index.php";
    JvLabel2->font = kLink;
    JvLabel2->textColor = kBlue;

    JvCalcEdit1 = place(add<CalcEdit>("JvCalcEdit1"), {}, {114, 10, 94, 21}, 0);
    JvCalcEdit1->accessibleName = "Tarif de base";

    // The six options of a group, numbered from `first`, in the arrow keys' order.
    const auto options = [this](GroupBox* box, int first) {
        std::array<RadioButton*, 6> made{};
        for (std::size_t i = 0; i < made.size(); ++i) {
            const int index = static_cast<int>(i);
            made[i] = place(add<RadioButton>("RadioButton" + std::to_string(first + index), box),
                            kModifiers[i].caption, {16, kOptionTops[i], 57, 17}, index);
        }
        made.back()->initiallyChecked = true; // "effacer"
        return made;
    };

    GroupBox1 = place(add<GroupBox>("GroupBox1"), "1er Modificateur", {8, 35, 97, 145}, 1);
    std::tie(RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5, RadioButton6) =
        std::tuple_cat(options(GroupBox1, 1));

    Button1 = place(add<Button>("Button1"), "Calculer", {214, 171, 85, 52}, 2);
    Button1->visible = false;

    Edit_taux = resultField(add<Edit>("Edit_taux"), {114, 186, 75, 21}, 3, "Augmentation");
    Edit_taux->textColor = kYellow;
    Edit_taux->color = Rgb{255, 128, 128}; // the colour value 8421631

    GroupBox2 = place(add<GroupBox>("GroupBox2"), "2\u00e8me Modificateur", {111, 35, 97, 145}, 4);
    std::tie(RadioButton7, RadioButton8, RadioButton9, RadioButton10, RadioButton11, RadioButton12) =
        std::tuple_cat(options(GroupBox2, 7));

    // Its own background, not the window's; Label2, Label4 and Label8 take
    // its bold font, every other control in it declares its own.
    GroupBox3 = place(add<GroupBox>("GroupBox3"), "Nouveaux Tarifs", {7, 213, 206, 140}, 5);
    GroupBox3->font = kBold;
    GroupBox3->color = Rgb{240, 240, 240};
    Label5 = place(add<Label>("Label5", GroupBox3), "\u20ac", {188, 20, 7, 13});
    Label2 = place(add<Label>("Label2", GroupBox3), "01/07/2013", {24, 24, 68, 13});
    Label4 = place(add<Label>("Label4", GroupBox3), "01/03/2014", {24, 51, 68, 13});
    Label6 = place(add<Label>("Label6", GroupBox3), "\u20ac", {188, 51, 7, 13});
    Label8 = place(add<Label>("Label8", GroupBox3), "Diff\u00e9rence", {24, 104, 58, 13});
    JvLabel1 = place(add<LinkLabel>("JvLabel1", GroupBox3), "JO 2012", {25, 77, 49, 15});
    JvLabel1->url = "https://www.legifrance.gouv.fr/affichTexte.do?cidTexte=JORFTEXT000027478395";
    JvLabel1->font = kLink;
    JvLabel1->textColor = kBlue;
    JvLabel1->shadow = true;
    Label7 = place(add<Label>("Label7", GroupBox3), "\u20ac", {188, 80, 7, 13});
    Label9 = place(add<Label>("Label9", GroupBox3), "\u20ac", {190, 105, 7, 13});
    for (Label* euro : {Label5, Label6, Label7, Label9})
        euro->font = kBold;
    Edit_valeur_13 = resultField(add<Edit>("Edit_valeur_13", GroupBox3), {107, 20, 75, 21}, 0, "01/07/2013");
    Edit_valeur_13->font = kBold;
    Edit_valeur_14 = resultField(add<Edit>("Edit_valeur_14", GroupBox3), {107, 48, 75, 21}, 1, "01/03/2014");
    Edit_valeur_14->font = kStruckOut;
    Edit_valeur_14->textColor = kSilver;
    Edit_valeur_14_JO =
        resultField(add<Edit>("Edit_valeur_14_JO", GroupBox3), {107, 75, 75, 21}, 2, "JO 2012");
    Edit_valeur_14_JO->font = kBold;
    Edit_delta = resultField(add<Edit>("Edit_delta", GroupBox3), {107, 102, 75, 21}, 3, "Diff\u00e9rence");
    Edit_delta->font = kItalic;
    Edit_delta->textColor = kRed;

    // The layout's state comes before the handlers, so nothing runs now.
    createWindow();

    const auto bind = [this](RadioButton* option, void (Tform_CALC::*handler)(TObject*)) {
        option->OnClick = [this, handler](TObject* sender) { (this->*handler)(sender); };
    };
    bind(RadioButton1, &Tform_CALC::RadioButton1Click);
    bind(RadioButton2, &Tform_CALC::RadioButton2Click);
    bind(RadioButton3, &Tform_CALC::RadioButton3Click);
    bind(RadioButton4, &Tform_CALC::RadioButton4Click);
    bind(RadioButton5, &Tform_CALC::RadioButton5Click);
    bind(RadioButton6, &Tform_CALC::RadioButton6Click);
    bind(RadioButton7, &Tform_CALC::RadioButton7Click);
    bind(RadioButton8, &Tform_CALC::RadioButton8Click);
    bind(RadioButton9, &Tform_CALC::RadioButton9Click);
    bind(RadioButton10, &Tform_CALC::RadioButton10Click);
    bind(RadioButton11, &Tform_CALC::RadioButton11Click);
    bind(RadioButton12, &Tform_CALC::RadioButton12Click);
    Button1->OnClick = [this](TObject* sender) { Button1Click(sender); };
    OnKeyPress = [this](TObject* sender, char16_t& key) { FormKeyPress(sender, key); };

    Show();
}

Tform_CALC::~Tform_CALC()
{
    destroyWindow();
    if (form_CALC == this)
        form_CALC = nullptr;
}

void Tform_CALC::Button1Click(TObject* /*Sender*/)
{
    // Each field is written as its step produces it: a failure leaves the
    // earlier ones written, and reaches the default handler.
    FormTariffIO io(*this);
    brindelor::computeTariffs(io, taux_modif1, taux_modif2, application().numberSettings());
}

void Tform_CALC::RadioButton1Click(TObject* /*Sender*/)
{
    taux_modif1 = modifier(ModifierIndex::O).rate;
    Button1->Click();
}

void Tform_CALC::RadioButton6Click(TObject* /*Sender*/)
{
    taux_modif1 = modifier(ModifierIndex::Effacer).rate;
    Button1->Click();
}

void Tform_CALC::RadioButton2Click(TObject* /*Sender*/)
{
    taux_modif1 = modifier(ModifierIndex::Nine).rate;
    Button1->Click();
}

void Tform_CALC::RadioButton3Click(TObject* /*Sender*/)
{
    taux_modif1 = modifier(ModifierIndex::I).rate;
    Button1->Click();
}

void Tform_CALC::RadioButton4Click(TObject* /*Sender*/)
{
    taux_modif1 = modifier(ModifierIndex::X).rate;
    Button1->Click();
}

void Tform_CALC::RadioButton5Click(TObject* /*Sender*/)
{
    taux_modif1 = modifier(ModifierIndex::K).rate;
    Button1->Click();
}

void Tform_CALC::RadioButton12Click(TObject* /*Sender*/)
{
    taux_modif2 = modifier(ModifierIndex::Effacer).rate;
    Button1->Click();
}

void Tform_CALC::RadioButton8Click(TObject* /*Sender*/)
{
    taux_modif2 = modifier(ModifierIndex::Nine).rate;
    Button1->Click();
}

void Tform_CALC::RadioButton9Click(TObject* /*Sender*/)
{
    taux_modif2 = modifier(ModifierIndex::I).rate;
    Button1->Click();
}

void Tform_CALC::RadioButton10Click(TObject* /*Sender*/)
{
    taux_modif2 = modifier(ModifierIndex::X).rate;
    Button1->Click();
}

void Tform_CALC::RadioButton11Click(TObject* /*Sender*/)
{
    taux_modif2 = modifier(ModifierIndex::K).rate;
    Button1->Click();
}

void Tform_CALC::RadioButton7Click(TObject* /*Sender*/)
{
    taux_modif2 = modifier(ModifierIndex::O).rate;
    Button1->Click();
}

void Tform_CALC::FormKeyPress(TObject* /*Sender*/, char16_t& Key)
{
    // Escape clears the base tariff and brings the focus back to it; the
    // control that had the focus still gets the key.
    if (Key == 27) {
        JvCalcEdit1->setValue(brindelor::Extended());
        JvCalcEdit1->SetFocus();
    }
}
