#pragma once
// A fresh main window per test, driven the way a user drives it: keys and
// clicks go to the window's QWindow and Qt routes them (focus, popups).
// The beep and the error box are intercepted and recorded.

#include "calc_edit.h"
#include "calculator_popup.h"
#include "form_window.h"
#include "host.h"
#include "link_label.h"
#include "locale_settings.h"
#include "startup.h"

#include "brindelor/form/frm_CALC.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolButton>
#include <QtTest>

#include <memory>
#include <vector>

namespace brindelor::test {

struct ErrorBox {
    QWidget* owner = nullptr;
    QString caption;
    QString text;
};

// The Qt widgets behind the form's components, under the same names.
struct Widgets {
    ui::CalcEdit* JvCalcEdit1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    QRadioButton* RadioButton5 = nullptr;
    QRadioButton* RadioButton6 = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit_taux = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QRadioButton* RadioButton7 = nullptr;
    QRadioButton* RadioButton8 = nullptr;
    QRadioButton* RadioButton9 = nullptr;
    QRadioButton* RadioButton10 = nullptr;
    QRadioButton* RadioButton11 = nullptr;
    QRadioButton* RadioButton12 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QLineEdit* Edit_valeur_13 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Edit_valeur_14 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* Edit_valeur_14_JO = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* Edit_delta = nullptr;
    widgets::LinkLabel* JvLabel1 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label9 = nullptr;
    widgets::LinkLabel* JvLabel2 = nullptr;

    template <typename W>
    static W* of(const form::Control* control)
    {
        W* widget = dynamic_cast<W*>(ui::FormWindow::widgetOf(*control));
        if (!widget)
            qFatal("no widget of the expected kind behind %s", control->Name().c_str());
        return widget;
    }

    void bind(const Tform_CALC& f)
    {
        JvCalcEdit1 = of<ui::CalcEdit>(f.JvCalcEdit1);
        GroupBox1 = of<QGroupBox>(f.GroupBox1);
        RadioButton1 = of<QRadioButton>(f.RadioButton1);
        RadioButton2 = of<QRadioButton>(f.RadioButton2);
        RadioButton3 = of<QRadioButton>(f.RadioButton3);
        RadioButton4 = of<QRadioButton>(f.RadioButton4);
        RadioButton5 = of<QRadioButton>(f.RadioButton5);
        RadioButton6 = of<QRadioButton>(f.RadioButton6);
        Button1 = of<QPushButton>(f.Button1);
        Label3 = of<QLabel>(f.Label3);
        Edit_taux = of<QLineEdit>(f.Edit_taux);
        GroupBox2 = of<QGroupBox>(f.GroupBox2);
        RadioButton7 = of<QRadioButton>(f.RadioButton7);
        RadioButton8 = of<QRadioButton>(f.RadioButton8);
        RadioButton9 = of<QRadioButton>(f.RadioButton9);
        RadioButton10 = of<QRadioButton>(f.RadioButton10);
        RadioButton11 = of<QRadioButton>(f.RadioButton11);
        RadioButton12 = of<QRadioButton>(f.RadioButton12);
        GroupBox3 = of<QGroupBox>(f.GroupBox3);
        Edit_valeur_13 = of<QLineEdit>(f.Edit_valeur_13);
        Label5 = of<QLabel>(f.Label5);
        Label2 = of<QLabel>(f.Label2);
        Label4 = of<QLabel>(f.Label4);
        Edit_valeur_14 = of<QLineEdit>(f.Edit_valeur_14);
        Label6 = of<QLabel>(f.Label6);
        Edit_valeur_14_JO = of<QLineEdit>(f.Edit_valeur_14_JO);
        Label8 = of<QLabel>(f.Label8);
        Edit_delta = of<QLineEdit>(f.Edit_delta);
        JvLabel1 = of<widgets::LinkLabel>(f.JvLabel1);
        Label7 = of<QLabel>(f.Label7);
        Label9 = of<QLabel>(f.Label9);
        JvLabel2 = of<widgets::LinkLabel>(f.JvLabel2);
    }
};

class WindowFixture {
public:
    std::unique_ptr<Tform_CALC> form;
    Widgets w;
    int beeps = 0;
    qsizetype runs = 0; // the runs of the compute command, Button1's click
    std::vector<ErrorBox> boxes;

    void open()
    {
        taux_modif1 = 0;
        taux_modif2 = 0;
        beeps = 0;
        boxes.clear();
        ui::setBeepSeam([this] { ++beeps; });
        ui::setErrorBoxSeam([this](QWidget* owner, const QString& caption, const QString& text) {
            boxes.push_back({owner, caption, text});
        });
        form = std::make_unique<Tform_CALC>(app::Application::instance()->form());
        w.bind(*form);
        runs = 0;
        form->Button1->OnClick = [this, compute = form->Button1->OnClick](form::Control* sender) {
            ++runs;
            compute(sender);
        };
        window()->activateWindow(); // X11 without a window manager activates nothing
        QVERIFY(QTest::qWaitForWindowActive(window()));
    }

    void close()
    {
        form.reset();
        w = {};
        ui::setBeepSeam({});
        ui::setErrorBoxSeam({});
    }

    // The Qt window.
    QWidget* window() const { return ui::FormWindow::widgetOf(*form); }
    QWindow* handle() const { return window()->windowHandle(); }
    ui::CalcEdit* entry() const { return w.JvCalcEdit1; }
    form::CalcEdit& formEntry() const { return *form->JvCalcEdit1; }
    // Null until the calculator is first opened.
    ui::CalculatorPopup* popup() const { return dynamic_cast<ui::CalculatorPopup*>(formEntry().panel()); }
    const Separators& separators() const { return form->application().numberSettings(); }

    // Characters typed one key at a time (ASCII only).
    void type(const QString& text)
    {
        for (const QChar c : text)
            QTest::keyClick(handle(), c.toLatin1());
    }

    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(handle(), key, modifiers);
    }

    // A left click at a point of any widget, the window's or a popup's.
    void click(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(handle(), button, {}, window()->mapFromGlobal(widget->mapToGlobal(at)));
    }
    void click(QWidget* widget) { click(widget, widget->rect().center()); }

    // Options react to clicks on their indicator and caption only.
    static QPoint indicatorOf(QRadioButton* option)
    {
        QStyleOptionButton style;
        style.initFrom(option);
        return option->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &style, option).center();
    }
    void clickOption(QRadioButton* option) { click(option, indicatorOf(option)); }

    QRadioButton* option(const QString& name) const
    {
        return window()->findChild<QRadioButton*>(name);
    }

    QStringList fields() const
    {
        return {w.Edit_taux->text(), w.Edit_valeur_13->text(), w.Edit_valeur_14->text(),
                w.Edit_valeur_14_JO->text(), w.Edit_delta->text()};
    }

    // Replaces the entry's text as a user would: focus it with a click,
    // select everything, type.
    void enterBase(const QString& text)
    {
        if (!entry()->hasFocus())
            click(entry(), QPoint(5, entry()->height() / 2));
        key(Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            key(Qt::Key_Delete);
        else
            type(text);
    }
};

} // namespace brindelor::test
