#pragma once
// A fresh main window per test, driven the way a user drives it: keys and
// clicks go to the window's QWindow and Qt routes them (focus, popups).
// The beep and the error box are intercepted and recorded.

#include "calc_edit.h"
#include "calculator_popup.h"
#include "error_handler.h"
#include "feedback.h"
#include "frm_CALC.h"
#include "modifier_group.h"
#include "number_settings.h"

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

class WindowFixture {
public:
    std::unique_ptr<Tform_CALC> win;
    int beeps = 0;
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
        win = std::make_unique<Tform_CALC>();
        win->activateWindow(); // X11 without a window manager activates nothing
        QVERIFY(QTest::qWaitForWindowActive(win.get()));
    }

    void close()
    {
        win.reset();
        ui::setBeepSeam({});
        ui::setErrorBoxSeam({});
    }

    QWindow* handle() const { return win->windowHandle(); }
    ui::CalcEdit* entry() const { return win->JvCalcEdit1; }

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
        QTest::mouseClick(handle(), button, {}, win->mapFromGlobal(widget->mapToGlobal(at)));
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
        return win->findChild<QRadioButton*>(name);
    }

    QStringList fields() const
    {
        return {win->Edit_taux->text(), win->Edit_valeur_13->text(), win->Edit_valeur_14->text(),
                win->Edit_valeur_14_JO->text(), win->Edit_delta->text()};
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
