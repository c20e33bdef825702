#pragma once
// The Qt front end's platform: it makes the Qt widgets behind the form's
// components, and gives the beep, the error box and the shell.

#include "brindelor/form/platform.h"

#include <QString>

#include <functional>

class QUrl;
class QWidget;

namespace brindelor::ui {

class Host final : public form::Platform {
public:
    form::FormPeer* createForm(form::Form& form) override;
    form::ControlPeer* createLabel(form::Label& label) override;
    form::ControlPeer* createLinkLabel(form::LinkLabel& label) override;
    form::ControlPeer* createGroupBox(form::GroupBox& box) override;
    form::ControlPeer* createButton(form::Button& button) override;
    form::CheckPeer* createRadioButton(form::RadioButton& button) override;
    form::EditPeer* createEdit(form::Edit& edit) override;
    form::EntryPeer* createCalcEdit(form::CalcEdit& edit) override;
    form::PanelPeer* createCalculator(form::CalcEdit& edit) override;

    // QApplication::beep().
    void beep() override;
    // A QMessageBox owned by the active window.
    void showErrorBox(const std::string& caption, const std::string& text) override;
    // QDesktopServices::openUrl.
    void openUrl(const std::string& url) override;
};

// Test seams: each replaces one service (an empty function restores it).
void setBeepSeam(std::function<void()> seam);
using ErrorBoxSeam = std::function<void(QWidget* owner, const QString& caption, const QString& text)>;
void setErrorBoxSeam(ErrorBoxSeam seam);
using UrlSeam = std::function<void(const QUrl& url)>;
void setUrlSeam(UrlSeam seam);

} // namespace brindelor::ui
