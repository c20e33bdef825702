#include "frm_CALC.h"

#include "calc_edit.h"
#include "calculator_popup.h"
#include "error_handler.h"
#include "fonts.h"
#include "link_label.h"
#include "modifier_group.h"
#include "number_settings.h"

#include "brindelor/tariff/compute.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QUrl>

#include <initializer_list>
#include <utility>

float taux_modif1 = 0;
float taux_modif2 = 0;

Tform_CALC* form_CALC = nullptr;

using brindelor::ui::CalcEdit;
using brindelor::ui::LinkLabel;
using brindelor::ui::ModifierGroup;
using brindelor::ui::ModifierRadioButton;

namespace {

// The window's key preview: it sees every character key meant for one of
// the window's controls (or for the entry's open calculator) before that
// control does, and hands it to FormKeyPress.
class KeyPreview : public QObject {
public:
    explicit KeyPreview(Tform_CALC* form)
        : QObject(form)
        , form_(form)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // KeyPress only: the ShortcutOverride that precedes it is no key.
        if (event->type() != QEvent::KeyPress || !isForForm(watched))
            return false;
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.isEmpty())
            return false;
        char16_t key = text.at(0).unicode();
        try {
            form_->FormKeyPress(form_, key);
        } catch (const std::exception& error) {
            brindelor::ui::showException(error);
        } catch (...) {
            brindelor::ui::showUnknownException();
        }
        return key == 0; // a handler that clears the key swallows it
    }

private:
    bool isForForm(const QObject* watched) const
    {
        // A key travelling up from an ignoring child reaches the parents
        // too: only its first receiver counts.
        QWidget* focus = QApplication::focusWidget();
        if (focus && watched == focus && focus->window() == form_)
            return true;
        const QWidget* popup = form_->JvCalcEdit1->calculatorPopup();
        return popup && watched == popup && popup->isVisible();
    }

    Tform_CALC* form_;
};

// The fields the computation writes, and where it reads the base tariff.
class FormTariffIO final : public brindelor::TariffIO {
public:
    explicit FormTariffIO(Tform_CALC& form)
        : form_(form)
    {
    }

    brindelor::Extended readBase() override { return form_.JvCalcEdit1->value(); }

    void writeField(brindelor::ResultField field, std::string_view text) override
    {
        QLineEdit* edit = nullptr;
        switch (field) {
        case brindelor::ResultField::Taux: edit = form_.Edit_taux; break;
        case brindelor::ResultField::Valeur13: edit = form_.Edit_valeur_13; break;
        case brindelor::ResultField::Valeur14: edit = form_.Edit_valeur_14; break;
        case brindelor::ResultField::Valeur14JO: edit = form_.Edit_valeur_14_JO; break;
        case brindelor::ResultField::Delta: edit = form_.Edit_delta; break;
        }
        if (edit)
            edit->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }

private:
    Tform_CALC& form_;
};

QLineEdit* resultEdit(QWidget* parent, const char* name, int left, int top,
                      const QString& accessibleName)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(left, top, 75, 21);
    edit->setAlignment(Qt::AlignCenter);
    // A screen reader reads a result with the label that names it.
    edit->setAccessibleName(accessibleName);
    return edit;
}

enum FontStyle : unsigned { Regular = 0, Bold = 1, Italic = 2, StrikeOut = 4 };

// The window's font with the styles a control declares; a declared font
// replaces the one the control would inherit (GroupBox3's bold).
QFont declaredFont(unsigned styles)
{
    QFont font = brindelor::ui::windowFont();
    font.setBold((styles & Bold) != 0);
    font.setItalic((styles & Italic) != 0);
    font.setStrikeOut((styles & StrikeOut) != 0);
    return font;
}

// Declared colours go into the widget's own palette: the style paints with
// it, and the application palette of a later style leaves these roles alone.
void setColors(QWidget* widget, std::initializer_list<std::pair<QPalette::ColorRole, QColor>> colors)
{
    QPalette palette = widget->palette();
    for (const auto& [role, color] : colors)
        palette.setColor(role, color);
    widget->setPalette(palette);
}

const QColor kYellow(255, 255, 0);
const QColor kSilver(192, 192, 192);
const QColor kRed(255, 0, 0);

QLabel* label(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    return l;
}

// Tops of the options, in the order O, 9, I, X, K, effacer.
constexpr int kOptionTops[] = {35, 54, 73, 92, 112, 16};
const char* const kOptionCaptions[] = {"O", "9", "I", "X", "K", "effacer"};

ModifierRadioButton* option(QWidget* groupBox, int number, int index)
{
    auto* button = new ModifierRadioButton(QString::fromUtf8(kOptionCaptions[index]), groupBox);
    button->setObjectName(QStringLiteral("RadioButton%1").arg(number));
    button->setGeometry(16, kOptionTops[index], 57, 17);
    return button;
}

} // namespace

Tform_CALC::Tform_CALC(QWidget* AOwner)
    : QWidget(AOwner)
{
    form_CALC = this;
    setObjectName(QStringLiteral("form_CALC"));
    setWindowTitle(QStringLiteral("Brindelor"));
    // A close box only, no resizing; unlike Qt::Tool it keeps the taskbar
    // button. The size is the client area, in device-independent pixels.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(220, 359);
    setFont(brindelor::ui::windowFont());

    // Creation order is the layout's; it is also the default tab chain.
    Label3 = label(this, "Label3", QStringLiteral("Augmentation"), {25, 190, 67, 13});
    JvLabel2 = new LinkLabel(
        QStringLiteral("Tarif de base"),
        QUrl(QStringLiteral("https://www.ameli.fr/accueil-de-la-ccam/trouver-un-acte/index.php")),
        this);
    JvLabel2->setObjectName(QStringLiteral("JvLabel2"));
    JvLabel2->setGeometry(11, 15, 75, 13);

    JvCalcEdit1 = new CalcEdit(this);
    JvCalcEdit1->setObjectName(QStringLiteral("JvCalcEdit1"));
    JvCalcEdit1->setGeometry(114, 10, 94, 21);
    JvCalcEdit1->setAccessibleName(QStringLiteral("Tarif de base"));

    GroupBox1 = new QGroupBox(QStringLiteral("1er Modificateur"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 35, 97, 145);
    RadioButton1 = option(GroupBox1, 1, 0);
    RadioButton2 = option(GroupBox1, 2, 1);
    RadioButton3 = option(GroupBox1, 3, 2);
    RadioButton4 = option(GroupBox1, 4, 3);
    RadioButton5 = option(GroupBox1, 5, 4);
    RadioButton6 = option(GroupBox1, 6, 5);

    Button1 = new QPushButton(QStringLiteral("Calculer"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(214, 171, 85, 52);
    Button1->setVisible(false);

    Edit_taux = resultEdit(this, "Edit_taux", 114, 186, QStringLiteral("Augmentation"));
    setColors(Edit_taux, {{QPalette::Base, QColor(255, 128, 128)}, {QPalette::Text, kYellow}});

    GroupBox2 = new QGroupBox(QStringLiteral("2ème Modificateur"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(111, 35, 97, 145);
    RadioButton7 = option(GroupBox2, 7, 0);
    RadioButton8 = option(GroupBox2, 8, 1);
    RadioButton9 = option(GroupBox2, 9, 2);
    RadioButton10 = option(GroupBox2, 10, 3);
    RadioButton11 = option(GroupBox2, 11, 4);
    RadioButton12 = option(GroupBox2, 12, 5);

    GroupBox3 = new QGroupBox(QStringLiteral("Nouveaux Tarifs"), this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setGeometry(7, 213, 206, 140);
    // Its own background, not the window's; Label2, Label4 and Label8 take
    // its bold font, every other control in it declares its own.
    GroupBox3->setFont(declaredFont(Bold));
    setColors(GroupBox3, {{QPalette::Window, QColor(240, 240, 240)}});
    GroupBox3->setAutoFillBackground(true);
    Label5 = label(GroupBox3, "Label5", QStringLiteral("€"), {188, 20, 7, 13});
    Label2 = label(GroupBox3, "Label2", QStringLiteral("01/07/2013"), {24, 24, 68, 13});
    Label4 = label(GroupBox3, "Label4", QStringLiteral("01/03/2014"), {24, 51, 68, 13});
    Label6 = label(GroupBox3, "Label6", QStringLiteral("€"), {188, 51, 7, 13});
    Label8 = label(GroupBox3, "Label8", QStringLiteral("Différence"), {24, 104, 58, 13});
    JvLabel1 = new LinkLabel(
        QStringLiteral("JO 2012"),
        QUrl(QStringLiteral(
            "https://www.legifrance.gouv.fr/affichTexte.do?cidTexte=JORFTEXT000027478395")),
        GroupBox3);
    JvLabel1->setShadow(true);
    JvLabel1->setObjectName(QStringLiteral("JvLabel1"));
    JvLabel1->setGeometry(25, 77, 49, 15);
    Label7 = label(GroupBox3, "Label7", QStringLiteral("€"), {188, 80, 7, 13});
    Label9 = label(GroupBox3, "Label9", QStringLiteral("€"), {190, 105, 7, 13});
    for (QLabel* euro : {Label5, Label6, Label7, Label9})
        euro->setFont(declaredFont(Bold));
    Edit_valeur_13 = resultEdit(GroupBox3, "Edit_valeur_13", 107, 20, QStringLiteral("01/07/2013"));
    Edit_valeur_13->setFont(declaredFont(Bold));
    Edit_valeur_14 = resultEdit(GroupBox3, "Edit_valeur_14", 107, 48, QStringLiteral("01/03/2014"));
    Edit_valeur_14->setFont(declaredFont(StrikeOut));
    setColors(Edit_valeur_14, {{QPalette::Text, kSilver}});
    Edit_valeur_14_JO =
        resultEdit(GroupBox3, "Edit_valeur_14_JO", 107, 75, QStringLiteral("JO 2012"));
    Edit_valeur_14_JO->setFont(declaredFont(Bold));
    Edit_delta = resultEdit(GroupBox3, "Edit_delta", 107, 102, QStringLiteral("Différence"));
    Edit_delta->setFont(declaredFont(Italic));
    setColors(Edit_delta, {{QPalette::Text, kRed}});

    QWidget::setTabOrder(JvCalcEdit1, RadioButton1);
    QWidget::setTabOrder(RadioButton1, RadioButton2);
    QWidget::setTabOrder(RadioButton2, RadioButton3);
    QWidget::setTabOrder(RadioButton3, RadioButton4);
    QWidget::setTabOrder(RadioButton4, RadioButton5);
    QWidget::setTabOrder(RadioButton5, RadioButton6);
    QWidget::setTabOrder(RadioButton6, Button1);
    QWidget::setTabOrder(Button1, Edit_taux);
    QWidget::setTabOrder(Edit_taux, RadioButton7);
    QWidget::setTabOrder(RadioButton7, RadioButton8);
    QWidget::setTabOrder(RadioButton8, RadioButton9);
    QWidget::setTabOrder(RadioButton9, RadioButton10);
    QWidget::setTabOrder(RadioButton10, RadioButton11);
    QWidget::setTabOrder(RadioButton11, RadioButton12);
    QWidget::setTabOrder(RadioButton12, Edit_valeur_13);
    QWidget::setTabOrder(Edit_valeur_13, Edit_valeur_14);
    QWidget::setTabOrder(Edit_valeur_14, Edit_valeur_14_JO);
    QWidget::setTabOrder(Edit_valeur_14_JO, Edit_delta);

    // The layout's state comes before the handlers, so nothing runs now.
    RadioButton6->setChecked(true);
    RadioButton12->setChecked(true);
    ModifierGroup::attach(GroupBox1, {RadioButton1, RadioButton2, RadioButton3, RadioButton4,
                                      RadioButton5, RadioButton6});
    ModifierGroup::attach(GroupBox2, {RadioButton7, RadioButton8, RadioButton9, RadioButton10,
                                      RadioButton11, RadioButton12});

    // A handler runs when its option goes from unchecked to checked.
    const auto onChecked = [this](ModifierRadioButton* button, void (Tform_CALC::*handler)(QObject*)) {
        connect(button, &QAbstractButton::toggled, this, [this, button, handler](bool checked) {
            if (checked)
                (this->*handler)(button);
        });
    };
    onChecked(RadioButton1, &Tform_CALC::RadioButton1Click);
    onChecked(RadioButton2, &Tform_CALC::RadioButton2Click);
    onChecked(RadioButton3, &Tform_CALC::RadioButton3Click);
    onChecked(RadioButton4, &Tform_CALC::RadioButton4Click);
    onChecked(RadioButton5, &Tform_CALC::RadioButton5Click);
    onChecked(RadioButton6, &Tform_CALC::RadioButton6Click);
    onChecked(RadioButton7, &Tform_CALC::RadioButton7Click);
    onChecked(RadioButton8, &Tform_CALC::RadioButton8Click);
    onChecked(RadioButton9, &Tform_CALC::RadioButton9Click);
    onChecked(RadioButton10, &Tform_CALC::RadioButton10Click);
    onChecked(RadioButton11, &Tform_CALC::RadioButton11Click);
    onChecked(RadioButton12, &Tform_CALC::RadioButton12Click);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(Button1); });

    new KeyPreview(this);

    JvCalcEdit1->setFocus();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    show();
    activateWindow(); // the keyboard focus comes with it, into the entry
}

Tform_CALC::~Tform_CALC()
{
    if (form_CALC == this)
        form_CALC = nullptr;
}

void Tform_CALC::Button1Click(QObject* /*Sender*/)
{
    // Each field is written as its step produces it: a failure leaves the
    // earlier ones written.
    try {
        FormTariffIO io(*this);
        brindelor::computeTariffs(io, taux_modif1, taux_modif2,
                                  brindelor::ui::NumberSettings::current());
    } catch (const std::exception& error) {
        brindelor::ui::showException(error);
    } catch (...) {
        brindelor::ui::showUnknownException();
    }
}

void Tform_CALC::RadioButton1Click(QObject* /*Sender*/)
{
    taux_modif1 = 0.3f;
    Button1->click();
}

void Tform_CALC::RadioButton6Click(QObject* /*Sender*/)
{
    taux_modif1 = 0;
    Button1->click();
}

void Tform_CALC::RadioButton2Click(QObject* /*Sender*/)
{
    taux_modif1 = 1.9f;
    Button1->click();
}

void Tform_CALC::RadioButton3Click(QObject* /*Sender*/)
{
    taux_modif1 = 4.6f;
    Button1->click();
}

void Tform_CALC::RadioButton4Click(QObject* /*Sender*/)
{
    taux_modif1 = 8.0f;
    Button1->click();
}

void Tform_CALC::RadioButton5Click(QObject* /*Sender*/)
{
    taux_modif1 = 11.5f;
    Button1->click();
}

void Tform_CALC::RadioButton12Click(QObject* /*Sender*/)
{
    taux_modif2 = 0;
    Button1->click();
}

void Tform_CALC::RadioButton8Click(QObject* /*Sender*/)
{
    taux_modif2 = 1.9f;
    Button1->click();
}

void Tform_CALC::RadioButton9Click(QObject* /*Sender*/)
{
    taux_modif2 = 4.6f;
    Button1->click();
}

void Tform_CALC::RadioButton10Click(QObject* /*Sender*/)
{
    taux_modif2 = 8.0f;
    Button1->click();
}

void Tform_CALC::RadioButton11Click(QObject* /*Sender*/)
{
    taux_modif2 = 11.5f;
    Button1->click();
}

void Tform_CALC::RadioButton7Click(QObject* /*Sender*/)
{
    taux_modif2 = 0.3f;
    Button1->click();
}

void Tform_CALC::FormKeyPress(QObject* /*Sender*/, char16_t& Key)
{
    // Escape clears the base tariff and brings the focus back to it; the
    // control that had the focus still gets the key.
    if (Key == 27) {
        JvCalcEdit1->setValue(brindelor::Extended());
        JvCalcEdit1->setFocus();
    }
}
