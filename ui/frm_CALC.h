#pragma once
// The main window: the base-tariff entry, the two modifier groups and the
// five result fields.

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace brindelor::ui {
class CalcEdit;
class LinkLabel;
class ModifierRadioButton;
} // namespace brindelor::ui

// The two rate slots: percentages of the first and second modifier, 0 at
// start, written only by the option handlers.
extern float taux_modif1;
extern float taux_modif2;

class Tform_CALC : public QWidget {
    Q_OBJECT
public:
    brindelor::ui::CalcEdit* JvCalcEdit1;
    QGroupBox* GroupBox1;
    brindelor::ui::ModifierRadioButton* RadioButton1;
    brindelor::ui::ModifierRadioButton* RadioButton2;
    brindelor::ui::ModifierRadioButton* RadioButton3;
    brindelor::ui::ModifierRadioButton* RadioButton4;
    brindelor::ui::ModifierRadioButton* RadioButton5;
    brindelor::ui::ModifierRadioButton* RadioButton6;
    QPushButton* Button1;
    QLabel* Label3;
    QLineEdit* Edit_taux;
    QGroupBox* GroupBox2;
    brindelor::ui::ModifierRadioButton* RadioButton7;
    brindelor::ui::ModifierRadioButton* RadioButton8;
    brindelor::ui::ModifierRadioButton* RadioButton9;
    brindelor::ui::ModifierRadioButton* RadioButton10;
    brindelor::ui::ModifierRadioButton* RadioButton11;
    brindelor::ui::ModifierRadioButton* RadioButton12;
    QGroupBox* GroupBox3;
    QLineEdit* Edit_valeur_13;
    QLabel* Label5;
    QLabel* Label2;
    QLabel* Label4;
    QLineEdit* Edit_valeur_14;
    QLabel* Label6;
    QLineEdit* Edit_valeur_14_JO;
    QLabel* Label8;
    QLineEdit* Edit_delta;
    brindelor::ui::LinkLabel* JvLabel1;
    QLabel* Label7;
    QLabel* Label9;
    brindelor::ui::LinkLabel* JvLabel2;

    void RadioButton1Click(QObject* Sender);
    void Button1Click(QObject* Sender);
    void RadioButton6Click(QObject* Sender);
    void RadioButton2Click(QObject* Sender);
    void RadioButton3Click(QObject* Sender);
    void RadioButton4Click(QObject* Sender);
    void RadioButton5Click(QObject* Sender);
    void RadioButton12Click(QObject* Sender);
    void RadioButton8Click(QObject* Sender);
    void RadioButton9Click(QObject* Sender);
    void RadioButton10Click(QObject* Sender);
    void RadioButton11Click(QObject* Sender);
    void RadioButton7Click(QObject* Sender);
    void FormKeyPress(QObject* Sender, char16_t& Key);

    // Creates every control with its look and shows the window: a fixed
    // 220 x 359 client area with a close box only, centred on the primary
    // screen, the focus in the entry.
    explicit Tform_CALC(QWidget* AOwner = nullptr);
    ~Tform_CALC() override;
};

// The main window, while it exists.
extern Tform_CALC* form_CALC;
