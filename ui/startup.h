#pragma once
// The program's start-up: the application object, the locale's number
// settings, the look, the window, the loop.

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

// Everything between the application object and the window: the locale's
// separators, Tahoma as the application font, the icon and desktop entry
// the taskbar shows, Qt's French texts, then the style "Slate Classico"
// (not found: the style manager's box, and the default look).
void setUp(QApplication& app);

// The whole program: returns the exit status, 0.
int run(int argc, char** argv);

} // namespace brindelor::ui
