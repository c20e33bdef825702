#pragma once
// The main window: the base-tariff entry, the two modifier groups and the
// five result fields, with their handlers. Free of any GUI toolkit: a front
// end gives it native controls through the application's platform.

#include "brindelor/form/calc_edit.h"
#include "brindelor/form/controls.h"

namespace brindelor::form {
class Application;
}

// The two rate slots: percentages of the first and second modifier, 0 at
// start, written only by the option handlers.
extern float taux_modif1;
extern float taux_modif2;

class Tform_CALC : public brindelor::form::Form {
public:
    using TObject = brindelor::form::Control;

    brindelor::form::CalcEdit* JvCalcEdit1;
    brindelor::form::GroupBox* GroupBox1;
    brindelor::form::RadioButton* RadioButton1;
    brindelor::form::RadioButton* RadioButton2;
    brindelor::form::RadioButton* RadioButton3;
    brindelor::form::RadioButton* RadioButton4;
    brindelor::form::RadioButton* RadioButton5;
    brindelor::form::RadioButton* RadioButton6;
    brindelor::form::Button* Button1;
    brindelor::form::Label* Label3;
    brindelor::form::Edit* Edit_taux;
    brindelor::form::GroupBox* GroupBox2;
    brindelor::form::RadioButton* RadioButton7;
    brindelor::form::RadioButton* RadioButton8;
    brindelor::form::RadioButton* RadioButton9;
    brindelor::form::RadioButton* RadioButton10;
    brindelor::form::RadioButton* RadioButton11;
    brindelor::form::RadioButton* RadioButton12;
    brindelor::form::GroupBox* GroupBox3;
    brindelor::form::Edit* Edit_valeur_13;
    brindelor::form::Label* Label5;
    brindelor::form::Label* Label2;
    brindelor::form::Label* Label4;
    brindelor::form::Edit* Edit_valeur_14;
    brindelor::form::Label* Label6;
    brindelor::form::Edit* Edit_valeur_14_JO;
    brindelor::form::Label* Label8;
    brindelor::form::Edit* Edit_delta;
    brindelor::form::LinkLabel* JvLabel1;
    brindelor::form::Label* Label7;
    brindelor::form::Label* Label9;
    brindelor::form::LinkLabel* JvLabel2;

    void RadioButton1Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void RadioButton6Click(TObject* Sender);
    void RadioButton2Click(TObject* Sender);
    void RadioButton3Click(TObject* Sender);
    void RadioButton4Click(TObject* Sender);
    void RadioButton5Click(TObject* Sender);
    void RadioButton12Click(TObject* Sender);
    void RadioButton8Click(TObject* Sender);
    void RadioButton9Click(TObject* Sender);
    void RadioButton10Click(TObject* Sender);
    void RadioButton11Click(TObject* Sender);
    void RadioButton7Click(TObject* Sender);
    void FormKeyPress(TObject* Sender, char16_t& Key);

    // Creates every control from the layout and shows the window: a fixed
    // 220 x 359 client area with a close box only, centred on the primary
    // screen, the focus in the entry.
    explicit Tform_CALC(brindelor::form::Application& Application);
    ~Tform_CALC() override;
};

// The main window, while it exists.
extern Tform_CALC* form_CALC;
