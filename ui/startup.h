#pragma once
// The program's start-up: the application object, the French translations
// of Qt's own texts, the locale's number settings, the window, the loop.

#include <QApplication>

namespace brindelor::ui {

// The application object. Its notify() is the last resort for an
// exception that escaped a handler: shown like any other, the loop goes on.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Qt's own French texts (context menus, box buttons) from qtbase_fr.qm,
// with ours behind them for whatever that file lacks or when it is
// missing. Returns false when qtbase_fr.qm could not be loaded.
bool installFrenchTranslations(QCoreApplication& app);

// The whole program: returns the exit status, 0.
int run(int argc, char** argv);

} // namespace brindelor::ui
