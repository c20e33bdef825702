#pragma once
// Reads the locale's number settings (decimal and group separators) for the
// form's application: at start-up and again on every QEvent::LocaleChange.

#include "brindelor/tariff/separators.h"

#include <QLocale>
#include <QObject>

#include <functional>

namespace brindelor::form {
class Application;
}

namespace brindelor::ui {

class LocaleSettings : public QObject {
    Q_OBJECT
public:
    // Reads the settings now; owned by parent (the application object).
    LocaleSettings(form::Application& application, QObject* parent);
    ~LocaleSettings() override;

    // The one instance while it exists.
    static LocaleSettings* instance();

    // Where the settings come from; QLocale::system() unless a test says
    // otherwise (an empty function restores it). Re-reads at once.
    void setLocaleSource(std::function<QLocale()> source);

    // Reads the locale again and hands the separators to the application.
    void reload();

    static Separators fromLocale(const QLocale& locale);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    form::Application& application_;
    std::function<QLocale()> source_;
};

} // namespace brindelor::ui
