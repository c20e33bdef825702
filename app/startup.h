#pragma once
// The program's composition: the Qt application object with the form's
// application on our Qt front end, the locale's number settings, the look,
// the window, the loop.

#include "host.h"

#include "brindelor/form/application.h"

#include <QApplication>
#include <QIcon>

#include <memory>

namespace brindelor::ui {
class LocaleSettings;
}

namespace brindelor::app {

// The Qt application object, owning the form's application. Its notify()
// is the last resort for an exception that escaped a handler: shown like
// any other, the loop goes on.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    ~Application() override;

    static Application* instance() { return static_cast<Application*>(QCoreApplication::instance()); }

    form::Application& form() noexcept { return *form_; }
    ui::LocaleSettings& localeSettings() noexcept { return *locale_; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    ui::Host host_;
    std::unique_ptr<form::Application> form_;
    ui::LocaleSettings* locale_ = nullptr;
};

// The program's resources: the style "Slate Classico" and the icon. Call
// once the application object exists (setUp does).
void initResources();

// The program's icon in its six sizes (16 to 128 px).
QIcon applicationIcon();

// Qt's own French texts (context menus, box buttons) from qtbase_fr.qm,
// with ours behind them for whatever that file lacks or when it is
// missing. Returns false when qtbase_fr.qm could not be loaded.
bool installFrenchTranslations(QCoreApplication& app);

// Everything between the application object and the window: Tahoma as the
// application font, the icon and desktop entry the taskbar shows, Qt's
// French texts, then the style "Slate Classico" (not found: the style
// manager's box, and the default look).
void setUp(Application& app);

// The whole program: returns the exit status, 0.
int run(int argc, char** argv);

} // namespace brindelor::app
