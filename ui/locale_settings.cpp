#include "locale_settings.h"

#include "brindelor/form/application.h"

#include <QCoreApplication>
#include <QEvent>

namespace brindelor::ui {

namespace {
LocaleSettings* current = nullptr;
}

LocaleSettings::LocaleSettings(form::Application& application, QObject* parent)
    : QObject(parent)
    , application_(application)
{
    current = this;
    reload();
    // A filter on the application sees the LocaleChange sent to qApp and
    // the ones QWidget::setLocale sends to widgets.
    QCoreApplication::instance()->installEventFilter(this);
}

LocaleSettings::~LocaleSettings()
{
    if (current == this)
        current = nullptr;
}

LocaleSettings* LocaleSettings::instance() { return current; }

Separators LocaleSettings::fromLocale(const QLocale& locale)
{
    Separators seps;
    seps.decimal = locale.decimalPoint().toStdString();
    seps.group = locale.groupSeparator().toStdString();
    return seps;
}

void LocaleSettings::setLocaleSource(std::function<QLocale()> source)
{
    source_ = std::move(source);
    reload();
}

void LocaleSettings::reload() { application_.setNumberSettings(fromLocale(source_ ? source_() : QLocale::system())); }

bool LocaleSettings::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::LocaleChange)
        reload();
    return QObject::eventFilter(watched, event);
}

} // namespace brindelor::ui
