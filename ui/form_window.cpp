#include "form_window.h"

#include "calculator_popup.h"
#include "qt_glue.h"

#include "brindelor/form/controls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>

namespace brindelor::ui {

FormWindow::FormWindow(form::Form& form)
    : form_(form)
{
    applyLayout(this, form);
    setWindowTitle(fromUtf8(form.caption));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(form.bounds.width, form.bounds.height);
    // Key preview: the window sees every character key meant for one of its
    // controls (or for the entry's open calculator) before that control.
    if (form.KeyPreview)
        qApp->installEventFilter(this);
}

FormWindow::~FormWindow() = default;

QWidget* FormWindow::widgetOf(const form::Control& control)
{
    if (control.kind() == form::Control::Kind::Form)
        return dynamic_cast<QWidget*>(static_cast<const form::Form&>(control).peer());
    return dynamic_cast<QWidget*>(control.peer());
}

void FormWindow::show(form::ControlPeer* first)
{
    // The tab chain, from the components' tab orders.
    QWidget* previous = nullptr;
    for (const form::Control* control : form_.tabSequence()) {
        QWidget* widget = widgetOf(*control);
        if (previous && widget)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    if (first)
        first->takeFocus(form::FocusCause::Program);
    // Centred on the primary screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    QWidget::show();
    activateWindow(); // the keyboard focus comes with it
}

bool FormWindow::isForForm(const QObject* watched) const
{
    // A key travelling up from an ignoring child reaches the parents too:
    // only its first receiver counts.
    QWidget* focus = QApplication::focusWidget();
    if (focus && watched == focus && focus->window() == this)
        return true;
    const auto* panel = qobject_cast<const CalculatorPopup*>(watched);
    return panel && panel->isVisible() && panel->parentWidget() && panel->parentWidget()->window() == this;
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event)
{
    // KeyPress only: the ShortcutOverride that precedes it is no key.
    if (event->type() != QEvent::KeyPress || !isForForm(watched))
        return false;
    const QString text = static_cast<QKeyEvent*>(event)->text();
    if (text.isEmpty())
        return false;
    return form_.previewKey(text.at(0).unicode());
}

} // namespace brindelor::ui
