// Rules of our widget layer that need no window: the calculator's
// arithmetic, the error box's caption and text, the last-resort catch in
// the application's notify().

#include "ui_test_main.h"

#include "calculator_engine.h"
#include "error_handler.h"

#include "brindelor/tariff/errors.h"

#include <QEvent>

#include <stdexcept>

using brindelor::ui::CalculatorEngine;

namespace {

const brindelor::Separators kFrench{",", "\u202F"};

// Feeds keys to the engine: digits, ",", "+-*/", "=", "%", "C", "<"
// (backspace).
void feed(CalculatorEngine& engine, const QString& keys)
{
    for (const QChar key : keys) {
        const char c = key.toLatin1();
        if (c >= '0' && c <= '9')
            engine.digit(c - '0');
        else if (c == ',')
            engine.decimalPoint();
        else if (c == '+')
            engine.setOperator(CalculatorEngine::Op::Add);
        else if (c == '-')
            engine.setOperator(CalculatorEngine::Op::Subtract);
        else if (c == '*')
            engine.setOperator(CalculatorEngine::Op::Multiply);
        else if (c == '/')
            engine.setOperator(CalculatorEngine::Op::Divide);
        else if (c == '=')
            engine.equals();
        else if (c == '%')
            engine.percent();
        else if (c == 'C')
            engine.clear();
        else if (c == '<')
            engine.backspace();
    }
}

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
    void calculator_data();
    void calculator();
    void calculatorStartsFromTheEntry();
    void applicationTitle_data();
    void applicationTitle();
    void boxText_data();
    void boxText();
    void notifyCatchesWhatEscaped();
};

void UiRulesTest::calculator_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("display");

    QTest::newRow("12+3=") << "12+3=" << "15";
    QTest::newRow("typing shows what is typed: 1,50") << "1,50" << "1,50";
    QTest::newRow("leading zeros: 007") << "007" << "7";
    QTest::newRow(",5 starts with 0") << ",5" << "0,5";
    QTest::newRow("1,2,3: one separator") << "1,2,3" << "1,23";
    QTest::newRow("left to right: 2+3*4=") << "2+3*4=" << "20";
    QTest::newRow("second operator replaces: 9+-3=") << "9+-3=" << "6";
    QTest::newRow("5+= repeats the operand") << "5+=" << "10";
    QTest::newRow("0,1+0,2= in extended") << "0,1+0,2=" << "0,3";
    QTest::newRow("1/3= fifteen digits") << "1/3=" << "0,333333333333333";
    QTest::newRow("2/3= rounded") << "2/3=" << "0,666666666666667";
    QTest::newRow("200+10%") << "200+10%" << "220";
    QTest::newRow("200-10%") << "200-10%" << "180";
    QTest::newRow("50*10%") << "50*10%" << "5";
    QTest::newRow("50/10%") << "50/10%" << "500";
    QTest::newRow("25%") << "25%" << "0,25";
    QTest::newRow("backspace: 12<") << "12<" << "1";
    QTest::newRow("backspace the separator: 1,5<<") << "1,5<<" << "1";
    QTest::newRow("backspace to 0: 7<<") << "7<<" << "0";
    QTest::newRow("backspace leaves a result alone: 2*3=<") << "2*3=<" << "6";
    QTest::newRow("digits after a result start anew: 2*3=4") << "2*3=4" << "4";
    QTest::newRow("18 digits at most") << "1234567890123456789" << "123456789012345678";
    QTest::newRow("18 digits exact: 123456789012345678+0=") << "123456789012345678+0="
                                                          << "1,23456789012346E17";
    QTest::newRow("5/0= Erreur") << "5/0=" << "Erreur";
    QTest::newRow("0/0= Erreur") << "0/0=" << "Erreur";
    QTest::newRow("5/0% Erreur") << "5/0%" << "Erreur";
    QTest::newRow("error ignores keys: 5/0=7+2=") << "5/0=7+2=" << "Erreur";
    QTest::newRow("C clears the error") << "5/0=C" << "0";
    QTest::newRow("after C: 5/0=C3*2=") << "5/0=C3*2=" << "6";
    QTest::newRow("chained: 5/0 then operator") << "5/0+" << "Erreur";
    QTest::newRow("negative: 3-5=") << "3-5=" << "-2";
}

void UiRulesTest::calculator()
{
    QFETCH(QString, keys);
    QFETCH(QString, display);
    CalculatorEngine engine;
    engine.reset();
    feed(engine, keys);
    QCOMPARE(QString::fromStdString(engine.displayText(kFrench)), display);
    QCOMPARE(engine.hasError(), display == u"Erreur");
}

void UiRulesTest::calculatorStartsFromTheEntry()
{
    CalculatorEngine engine;
    engine.reset(brindelor::Extended::fromDecimal(false, "12345", -1));
    QCOMPARE(QString::fromStdString(engine.displayText(kFrench)), QStringLiteral("1234,5"));
    feed(engine, QStringLiteral("*2="));
    QCOMPARE(QString::fromStdString(engine.displayText(kFrench)), QStringLiteral("2469"));
    QCOMPARE(engine.value(), brindelor::Extended::fromInt64(2469));
    QCOMPARE(QString::fromStdString(engine.displayText({".", ","})), QStringLiteral("2469"));
    engine.reset(brindelor::Extended::fromDecimal(false, "25", -1));
    QCOMPARE(QString::fromStdString(engine.displayText({".", ","})), QStringLiteral("2.5"));
}

void UiRulesTest::applicationTitle_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");
    QTest::newRow("our binary") << "/work/build/bin/brindelor" << "brindelor";
    QTest::newRow("Windows name") << "C:/Program Files/Brindelor/Brindelor.exe" << "Brindelor";
    QTest::newRow("upper case") << "/opt/BRINDELOR.EXE" << "Brindelor";
    QTest::newRow("cut at the first dot") << "/opt/My.Tool.exe" << "My";
    QTest::newRow("one letter") << "/opt/B" << "B";
    QTest::newRow("dot first") << "/opt/.brindelor" << "";
    QTest::newRow("accented") << "/opt/ÉCRAN.bin" << "Écran";
}

void UiRulesTest::applicationTitle()
{
    QFETCH(QString, path);
    QFETCH(QString, title);
    QCOMPARE(brindelor::ui::applicationTitle(path), title);
}

void UiRulesTest::boxText_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("text");
    QTest::newRow("letter: dot added") << "Division par zéro" << "Division par zéro.";
    QTest::newRow("quote: dot added") << "'1e5' n'est pas une valeur en virgule flottante correcte"
                                      << "'1e5' n'est pas une valeur en virgule flottante correcte.";
    QTest::newRow("digit: dot added") << "erreur 5" << "erreur 5.";
    QTest::newRow("slash (code 47): dot added") << "a/" << "a/.";
    QTest::newRow("dot already") << "Fin." << "Fin.";
    QTest::newRow("comma (44): none") << "a," << "a,";
    QTest::newRow("hyphen (45): none") << "a-" << "a-";
    QTest::newRow("bang (33): none") << "Attention !" << "Attention !";
    QTest::newRow("parenthesis (41): none") << "(voir)" << "(voir)";
    QTest::newRow("empty: none") << "" << "";
}

void UiRulesTest::boxText()
{
    QFETCH(QString, message);
    QFETCH(QString, text);
    QCOMPARE(brindelor::ui::errorBoxText(message), text);
}

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
