#pragma once
// The locale's number settings (decimal and group separators), read from
// the system locale at start-up and again on every QEvent::LocaleChange.

#include "brindelor/tariff/separators.h"

#include <QLocale>
#include <QObject>

#include <functional>

namespace brindelor::ui {

class NumberSettings : public QObject {
    Q_OBJECT
public:
    // The one instance; created on first use, which needs a QCoreApplication.
    static NumberSettings& instance();

    // Shorthand for instance().separators().
    static const Separators& current() { return instance().separators(); }

    const Separators& separators() const noexcept { return seps_; }

    // Where the settings come from; QLocale::system() unless a test says
    // otherwise (an empty function restores it). Re-reads at once.
    void setLocaleSource(std::function<QLocale()> source);

    // Reads the locale again; emits changed() when a separator differs.
    void reload();

    static Separators fromLocale(const QLocale& locale);

signals:
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    NumberSettings();

    std::function<QLocale()> source_;
    Separators seps_;
};

} // namespace brindelor::ui
