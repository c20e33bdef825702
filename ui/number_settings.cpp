#include "number_settings.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

namespace brindelor::ui {

NumberSettings& NumberSettings::instance()
{
    // Owned by the application, so it goes away with it; a later
    // application gets a fresh one.
    static QPointer<NumberSettings> settings;
    if (!settings) {
        settings = new NumberSettings;
        settings->setParent(QCoreApplication::instance());
    }
    return *settings;
}

NumberSettings::NumberSettings()
{
    seps_ = fromLocale(QLocale::system());
    // A filter on the application sees the LocaleChange sent to qApp and
    // the ones QWidget::setLocale sends to widgets.
    QCoreApplication::instance()->installEventFilter(this);
}

Separators NumberSettings::fromLocale(const QLocale& locale)
{
    Separators seps;
    seps.decimal = locale.decimalPoint().toStdString();
    seps.group = locale.groupSeparator().toStdString();
    return seps;
}

void NumberSettings::setLocaleSource(std::function<QLocale()> source)
{
    source_ = std::move(source);
    reload();
}

void NumberSettings::reload()
{
    Separators fresh = fromLocale(source_ ? source_() : QLocale::system());
    if (fresh.decimal == seps_.decimal && fresh.group == seps_.group)
        return;
    seps_ = std::move(fresh);
    emit changed();
}

bool NumberSettings::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::LocaleChange)
        reload();
    return QObject::eventFilter(watched, event);
}

} // namespace brindelor::ui
