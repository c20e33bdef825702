// The application object's last resort: an exception that escaped a
// handler into Qt is shown like any other, and the loop goes on.

#include "ui_test_main.h"

#include "host.h"

#include "brindelor/tariff/errors.h"

#include <QEvent>

namespace {

// An object whose every custom event throws, as a faulty handler would.
class Thrower : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw brindelor::FloatZeroDivideError();
        if (e->type() == QEvent::User + 1)
            throw 42;
        return QObject::event(e);
    }
};

} // namespace

class UiRulesTest : public QObject {
    Q_OBJECT

private slots:
    void notifyCatchesWhatEscaped();
};

void UiRulesTest::notifyCatchesWhatEscaped()
{
    QStringList shown;
    QString caption;
    brindelor::ui::setErrorBoxSeam([&](QWidget*, const QString& title, const QString& text) {
        caption = title;
        shown << text;
    });
    Thrower thrower;
    QEvent first(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &first);
    QEvent second(QEvent::Type(QEvent::User + 1));
    QCoreApplication::sendEvent(&thrower, &second);
    brindelor::ui::setErrorBoxSeam({});
    QCOMPARE(shown, (QStringList{QStringLiteral("Division par zéro."), QStringLiteral("Erreur inconnue.")}));
    QCOMPARE(caption, QStringLiteral("ui_rules_tests"));
}

BRINDELOR_UI_TEST_MAIN(UiRulesTest)
#include "ui_rules_test.moc"
