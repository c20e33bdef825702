#include "host.h"

#include "calc_edit.h"
#include "calculator_popup.h"
#include "controls.h"
#include "form_window.h"
#include "option_button.h"
#include "qt_glue.h"

#include "brindelor/form/calc_edit.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace brindelor::ui {

namespace {

std::function<void()>& beepSeam()
{
    static std::function<void()> seam;
    return seam;
}

ErrorBoxSeam& errorBoxSeam()
{
    static ErrorBoxSeam seam;
    return seam;
}

UrlSeam& urlSeam()
{
    static UrlSeam seam;
    return seam;
}

QWidget* parentOf(const form::Control& control)
{
    return control.parent() ? FormWindow::widgetOf(*control.parent()) : nullptr;
}

} // namespace

form::FormPeer* Host::createForm(form::Form& form) { return new FormWindow(form); }

form::ControlPeer* Host::createLabel(form::Label& label) { return new Label(label, parentOf(label)); }

form::ControlPeer* Host::createLinkLabel(form::LinkLabel& label)
{
    return new LinkLabel(label, parentOf(label));
}

form::ControlPeer* Host::createGroupBox(form::GroupBox& box) { return new GroupBox(box, parentOf(box)); }

form::ControlPeer* Host::createButton(form::Button& button) { return new Button(button, parentOf(button)); }

form::CheckPeer* Host::createRadioButton(form::RadioButton& button)
{
    return new OptionButton(button, parentOf(button));
}

form::EditPeer* Host::createEdit(form::Edit& edit) { return new Edit(edit, parentOf(edit)); }

form::EntryPeer* Host::createCalcEdit(form::CalcEdit& edit) { return new CalcEdit(edit, parentOf(edit)); }

form::PanelPeer* Host::createCalculator(form::CalcEdit& edit)
{
    auto* entry = dynamic_cast<CalcEdit*>(edit.peer());
    return entry ? new CalculatorPopup(edit, entry) : nullptr;
}

void Host::beep()
{
    if (beepSeam())
        beepSeam()();
    else
        QApplication::beep();
}

void Host::showErrorBox(const std::string& caption, const std::string& text)
{
    QWidget* owner = QApplication::activeWindow();
    if (errorBoxSeam()) {
        errorBoxSeam()(owner, fromUtf8(caption), fromUtf8(text));
        return;
    }
    QMessageBox box(QMessageBox::Critical, fromUtf8(caption), fromUtf8(text), QMessageBox::Ok, owner);
    box.exec();
}

void Host::openUrl(const std::string& url)
{
    const QUrl address(fromUtf8(url));
    if (urlSeam())
        urlSeam()(address);
    else
        (void)QDesktopServices::openUrl(address); // its answer is of no interest
}

void setBeepSeam(std::function<void()> seam) { beepSeam() = std::move(seam); }
void setErrorBoxSeam(ErrorBoxSeam seam) { errorBoxSeam() = std::move(seam); }
void setUrlSeam(UrlSeam seam) { urlSeam() = std::move(seam); }

} // namespace brindelor::ui
