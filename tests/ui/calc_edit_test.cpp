// The base-tariff entry in the window: typing, the rewriting when the focus
// comes and goes, the display without the focus, pasting, and the
// drop-down calculator.

#include "ui_test_main.h"
#include "window_fixture.h"

#include "brindelor/tariff/extended.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QInputMethod>
#include <QMenu>
#include <QMimeData>
#include <QScreen>

using brindelor::test::WindowFixture;

namespace {

const QString kNnbsp = QStringLiteral("\u202F");

// "1_234,5" with the French group separator in place of "_".
QString fr(const char* text)
{
    return QString::fromUtf8(text).replace(u'_', kNnbsp);
}

// The columns where the entry's text area has ink (pixels far from the
// background), as [first, last]; (-1, -1) when there is none.
std::pair<int, int> inkColumns(QWidget* entry, int textAreaRight)
{
    const QImage image = entry->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb background = image.pixel(4, 4);
    int first = -1;
    int last = -1;
    for (int x = 3; x < textAreaRight; ++x) {
        for (int y = 4; y < image.height() - 4; ++y) {
            const QRgb p = image.pixel(x, y);
            const int distance = std::abs(qRed(p) - qRed(background)) + std::abs(qGreen(p) - qGreen(background))
                                 + std::abs(qBlue(p) - qBlue(background));
            if (distance > 200) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

} // namespace

class CalcEditTest : public QObject {
    Q_OBJECT

    WindowFixture f;

    brindelor::ui::CalculatorPopup* popup() const { return f.popup(); }
    QToolButton* calcKey(const char* name) const
    {
        return popup()->findChild<QToolButton*>(QString::fromLatin1(name));
    }

private slots:
    void init() { f.open(); }
    void cleanup() { f.close(); }

    void typing_data();
    void typing();
    void typingWhatQtWouldInsert_data();
    void typingWhatQtWouldInsert();
    void typingOverALoneSurrogate();
    void typingBetweenGroups();
    void editingKeys();
    void rewriting_data();
    void rewriting();
    void mouseFocusSelectsNothing();
    void display();
    void paste_data();
    void paste();
    void redoCannotBringARefusedPasteBack();
    void typingAfterPastedSpaces();
    void drop_data();
    void drop();
    void middleClickPaste();
    void inputMethodCommit();
    void inputMethodHints();
    void megabytePaste();

    void calculatorOpens_data();
    void calculatorOpens();
    void calculatorButtonToggles();
    void calculatorAccepts_data();
    void calculatorAccepts();
    void calculatorByClicks();
    void calculatorDiscards_data();
    void calculatorDiscards();
    void calculatorErrorUntilClear();
    void calculatorFromATextBeyondTheRange_data();
    void calculatorFromATextBeyondTheRange();
};

// Keys typed into the empty entry, the text, the beeps.
void CalcEditTest::typing_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("beeps");

    QTest::newRow("12,345: third decimal refused") << "12,345" << "12,34" << 1;
    QTest::newRow("12.5: point enters the comma") << "12.5" << "12,5" << 0;
    QTest::newRow("1a2: letter refused") << "1a2" << "12" << 1;
    QTest::newRow("1e5: no exponent") << "1e5" << "15" << 1;
    QTest::newRow("-5: leading sign") << "-5" << "-5" << 0;
    QTest::newRow("5-: sign after digits refused") << "5-" << "5" << 1;
    QTest::newRow("1,2,3: second separator refused") << "1,2,3" << "1,23" << 1;
    QTest::newRow("1.2,3: second separator refused") << "1.2,3" << "1,23" << 1;
    QTest::newRow("space refused") << " " << "" << 1;
    QTest::newRow("1<Enter>2: Enter does nothing") << "1\r2" << "12" << 0;
}

void CalcEditTest::typing()
{
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(int, beeps);
    f.type(keys);
    QCOMPARE(f.entry()->text(), text);
    QCOMPARE(f.beeps, beeps);
    QCOMPARE(f.fields(), QStringList(5, QString()));
}

// Into "12": a key's text and modifiers, the text after, the beeps. Qt
// would insert each of these itself, unchecked.
void CalcEditTest::typingWhatQtWouldInsert_data()
{
    QTest::addColumn<QString>("keyText");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("beeps");

    QTest::newRow("zero-width space refused") << "\u200B" << int(Qt::NoModifier) << "12" << 1;
    QTest::newRow("ZWJ with Ctrl+Shift refused") << "\u200D" << int(Qt::ControlModifier | Qt::ShiftModifier) << "12" << 1;
    QTest::newRow("private use refused") << "\uE000" << int(Qt::NoModifier) << "12" << 1;
    QTest::newRow("Alt+5 types 5") << "5" << int(Qt::AltModifier) << "125" << 0;
    QTest::newRow("Alt+a refused") << "a" << int(Qt::AltModifier) << "12" << 1;
    QTest::newRow("Ctrl+5 types nothing") << "5" << int(Qt::ControlModifier) << "12" << 0;
}

void CalcEditTest::typingWhatQtWouldInsert()
{
    QFETCH(QString, keyText);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(int, beeps);
    f.type(QStringLiteral("12"));
    const auto code = Qt::Key(keyText.front().toUpper().unicode());
    QTest::sendKeyEvent(QTest::Click, f.handle(), code, keyText, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f.entry()->text(), text);
    QCOMPARE(f.beeps, beeps);
}

void CalcEditTest::typingOverALoneSurrogate()
{
    // A lone surrogate is one "?" byte for the rules, not two: typing over
    // it once took the next digit with it.
    QGuiApplication::clipboard()->setText(QString(QChar(0xD800)) + QStringLiteral("5"));
    f.key(Qt::Key_V, Qt::ControlModifier);
    f.key(Qt::Key_Home);
    f.key(Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(f.entry()->selectedText().size(), 1);
    f.type(QStringLiteral("7"));
    QCOMPARE(f.entry()->text(), QStringLiteral("75"));
    QCOMPARE(f.entry()->cursorPosition(), 1);
    QCOMPARE(f.beeps, 0);
}

void CalcEditTest::typingBetweenGroups()
{
    // Positions around the three-byte U+202F must reach the rules right.
    f.type(QStringLiteral("1234,5"));
    f.key(Qt::Key_Tab);
    f.key(Qt::Key_Backtab);
    QCOMPARE(f.entry()->text(), fr("1_234,5"));
    f.key(Qt::Key_Home);
    f.key(Qt::Key_Right);
    f.key(Qt::Key_Right);
    f.type(QStringLiteral("9"));
    QCOMPARE(f.entry()->text(), fr("1_9234,5"));
    QCOMPARE(f.entry()->cursorPosition(), 3);
    f.key(Qt::Key_End);
    f.type(QStringLiteral("6"));
    QCOMPARE(f.entry()->text(), fr("1_9234,56"));
    QCOMPARE(f.beeps, 0);
    f.type(QStringLiteral("7"));
    QCOMPARE(f.beeps, 1);
    f.key(Qt::Key_Home);
    f.key(Qt::Key_Right);
    f.key(Qt::Key_Right);
    f.type(QStringLiteral(","));
    QCOMPARE(f.beeps, 2);
    QCOMPARE(f.entry()->text(), fr("1_9234,56"));
}

void CalcEditTest::editingKeys()
{
    f.type(QStringLiteral("123"));
    f.key(Qt::Key_Backspace);
    QCOMPARE(f.entry()->text(), QStringLiteral("12"));
    f.key(Qt::Key_Left);
    f.key(Qt::Key_Left);
    f.key(Qt::Key_Delete);
    QCOMPARE(f.entry()->text(), QStringLiteral("2"));
    f.key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.entry()->text(), QStringLiteral("12"));
    f.key(Qt::Key_A, Qt::ControlModifier);
    f.type(QStringLiteral("7"));
    QCOMPARE(f.entry()->text(), QStringLiteral("7"));
    f.key(Qt::Key_A, Qt::ControlModifier);
    f.key(Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(f.entry()->text(), QString());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("7"));
    f.key(Qt::Key_V, Qt::ControlModifier);
    f.key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.entry()->text(), QStringLiteral("77"));
    f.key(Qt::Key_Return);
    f.key(Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(f.entry()->text(), QStringLiteral("77"));
    QCOMPARE(f.beeps, 0);
    QCOMPARE(f.fields(), QStringList(5, QString()));
}

// Typed text; the text once the focus has left; what the entry shows then.
void CalcEditTest::rewriting_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("shown");

    QTest::newRow("fr 1234,5") << "1234,5" << fr("1_234,5") << fr("1_234,5");
    QTest::newRow("fr 1234567") << "1234567" << fr("1_234_567") << fr("1_234_567");
    QTest::newRow("fr -1234,5") << "-1234,5" << fr("-1_234,5") << fr("-1_234,5");
    QTest::newRow("fr 0012") << "0012" << "12" << "12";
    QTest::newRow("fr 1,50") << "1,50" << "1,5" << "1,5";
    QTest::newRow("fr 1,") << "1," << "1" << "1";
    QTest::newRow("fr 0,05") << "0,05" << "0,05" << "0,05";
    QTest::newRow("empty shows 0") << "" << "" << "0";
    QTest::newRow("-0 empties") << "-0" << "" << "0";
    QTest::newRow("lone sign reads 0") << "-" << "" << "0";
}

void CalcEditTest::rewriting()
{
    QFETCH(QString, typed);
    QFETCH(QString, left);
    QFETCH(QString, shown);

    f.type(typed);
    QCOMPARE(f.entry()->text(), typed); // never rewritten while typing
    f.key(Qt::Key_Tab);
    QVERIFY(!f.entry()->hasFocus());
    QCOMPARE(f.entry()->text(), left);
    QCOMPARE(f.entry()->unfocusedText(), shown);
    // Coming back from the keyboard selects it all.
    f.key(Qt::Key_Backtab);
    QVERIFY(f.entry()->hasFocus());
    QCOMPARE(f.entry()->text(), left);
    QCOMPARE(f.entry()->selectedText(), left);
    QCOMPARE(f.beeps, 0);
}

void CalcEditTest::mouseFocusSelectsNothing()
{
    f.type(QStringLiteral("1234"));
    f.key(Qt::Key_Tab);
    f.click(f.entry(), QPoint(4, f.entry()->height() / 2));
    QVERIFY(f.entry()->hasFocus());
    QCOMPARE(f.entry()->text(), fr("1_234"));
    QVERIFY(!f.entry()->hasSelectedText());
    QCOMPARE(f.entry()->cursorPosition(), 0);
}

void CalcEditTest::display()
{
    // Without the focus the value is drawn right-aligned, 0 as "0"; with
    // the focus the text is a plain left-aligned edit.
    const int textRight = f.entry()->dropDownButton()->x() - 1;
    const int middle = f.entry()->width() / 2;
    f.key(Qt::Key_Tab);
    auto [first, last] = inkColumns(f.entry(), textRight);
    QVERIFY2(first > middle, qPrintable(QStringLiteral("0 drawn from x=%1").arg(first)));
    QVERIFY(last >= textRight - 6);

    f.key(Qt::Key_Backtab);
    f.type(QStringLiteral("12"));
    std::tie(first, last) = inkColumns(f.entry(), textRight);
    QVERIFY2(first >= 0 && first < middle / 2, qPrintable(QStringLiteral("12 drawn from x=%1").arg(first)));

    // A new locale repaints with its separators.
    f.type(QStringLiteral("345,5"));
    f.key(Qt::Key_Tab);
    QCOMPARE(f.entry()->unfocusedText(), fr("12_345,5"));
    brindelor::ui::LocaleSettings::instance()->setLocaleSource(
        [] { return QLocale(QLocale::German, QLocale::Germany); });
    QCOMPARE(f.entry()->unfocusedText(), QStringLiteral("12.345,5"));
    brindelor::ui::LocaleSettings::instance()->setLocaleSource({});
}

// Clipboard text pasted into an entry holding "before" (all selected or
// the caret at the end), by a given way; the text after, the beeps.
void CalcEditTest::paste_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("beeps");

    QTest::newRow("Ctrl+V 1234,56") << "ctrl+v" << "" << false << "1234,56" << "1234,56" << 0;
    QTest::newRow("Ctrl+V 12,345 keeps three decimals") << "ctrl+v" << "" << false << "12,345" << "12,345" << 0;
    QTest::newRow("Ctrl+V grouped 1 234,5") << "ctrl+v" << "" << false << "1 234,5" << "1 234,5" << 0;
    QTest::newRow("Ctrl+V abc: no digit, kept") << "ctrl+v" << "" << false << "abc" << "abc" << 0;
    QTest::newRow("Ctrl+V 12,3,4 undone") << "ctrl+v" << "" << false << "12,3,4" << "" << 1;
    QTest::newRow("Ctrl+V 1-2 undone") << "ctrl+v" << "" << false << "1-2" << "" << 1;
    QTest::newRow("Ctrl+V ,5 after 1,2 undone") << "ctrl+v" << "1,2" << false << ",5" << "1,2" << 1;
    QTest::newRow("Ctrl+V x,y after 1,2 undone") << "ctrl+v" << "1,2" << false << "x,y" << "1,2" << 1;
    QTest::newRow("Ctrl+V 5 over 1,2") << "ctrl+v" << "1,2" << true << "5" << "5" << 0;
    QTest::newRow("Ctrl+V 1,2,3 over 12 undone") << "ctrl+v" << "12" << true << "1,2,3" << "12" << 1;
    QTest::newRow("Shift+Insert 99,5") << "shift+insert" << "" << false << "99,5" << "99,5" << 0;
    QTest::newRow("Shift+Insert 9,9,9 undone") << "shift+insert" << "1" << false << "9,9,9" << "1" << 1;
    QTest::newRow("menu Coller 1234") << "menu" << "" << false << "1234" << "1234" << 0;
    QTest::newRow("menu Coller 1,2,3 undone") << "menu" << "7" << false << "1,2,3" << "7" << 1;
}

// A pasted "1 000" keeps its plain spaces; they must not lock the entry.
void CalcEditTest::typingAfterPastedSpaces()
{
    QGuiApplication::clipboard()->setText(QStringLiteral("1 000"));
    f.key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.entry()->text(), QStringLiteral("1 000"));
    f.type(QStringLiteral("5,2"));
    QCOMPARE(f.entry()->text(), QStringLiteral("1 0005,2"));
    QCOMPARE(f.beeps, 0);
    f.type(QStringLiteral(" "));
    QCOMPARE(f.beeps, 1); // a typed space is still no digit
    f.key(Qt::Key_Tab);
    QCOMPARE(f.entry()->text(), QStringLiteral("10") + QStringLiteral("\u202F") + QStringLiteral("005,2"));
}

void CalcEditTest::paste()
{
    QFETCH(QString, how);
    QFETCH(QString, before);
    QFETCH(bool, selectAll);
    QFETCH(QString, clip);
    QFETCH(QString, after);
    QFETCH(int, beeps);

    f.type(before);
    if (selectAll)
        f.key(Qt::Key_A, Qt::ControlModifier);
    QGuiApplication::clipboard()->setText(clip);
    if (how == u"ctrl+v") {
        f.key(Qt::Key_V, Qt::ControlModifier);
    } else if (how == u"shift+insert") {
        f.key(Qt::Key_Insert, Qt::ShiftModifier);
    } else {
        f.click(f.entry(), QPoint(10, 10), Qt::RightButton);
        QVERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
        f.type(QStringLiteral("l")); // Co&ller
        QVERIFY(!QApplication::activePopupWidget());
    }
    QCOMPARE(f.entry()->text(), after);
    QCOMPARE(f.beeps, beeps);
    QVERIFY(f.entry()->hasFocus());
    if (beeps == 0 && after != before) {
        // A kept paste is one edit: undo takes it back.
        f.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.entry()->text(), before);
    }
}

void CalcEditTest::redoCannotBringARefusedPasteBack()
{
    f.type(QStringLiteral("1,2"));
    QGuiApplication::clipboard()->setText(QStringLiteral(",5"));
    f.key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.beeps, 1);
    f.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    f.key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(f.entry()->text(), QStringLiteral("1,2"));
}

// Text dropped on the entry holding "5": kept or taken back.
void CalcEditTest::drop_data()
{
    QTest::addColumn<QString>("dropped");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("beeps");
    QTest::newRow("12 kept") << "12" << "512" << 0;
    QTest::newRow("1,2,3 undone") << "1,2,3" << "5" << 1;
    QTest::newRow("-1 after a digit undone") << "-1" << "5" << 1;
}

void CalcEditTest::drop()
{
    QFETCH(QString, dropped);
    QFETCH(QString, after);
    QFETCH(int, beeps);
    f.type(QStringLiteral("5"));
    // No drag source in tests: the drop events as a drag would bring them.
    QMimeData data;
    data.setText(dropped);
    const QPointF at(f.entry()->width() - 20, f.entry()->height() / 2);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.entry(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent dropEvent(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.entry(), &dropEvent);
    QCOMPARE(f.entry()->text(), after);
    QCOMPARE(f.beeps, beeps);
}

void CalcEditTest::middleClickPaste()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection())
        QSKIP("no selection clipboard on this platform (run under X11)");
    f.type(QStringLiteral("12"));
    clipboard->setText(QStringLiteral(",3,4"), QClipboard::Selection);
    f.click(f.entry(), QPoint(f.entry()->width() - 25, 10), Qt::MiddleButton);
    QCOMPARE(f.entry()->text(), QStringLiteral("12"));
    QCOMPARE(f.beeps, 1);
    clipboard->setText(QStringLiteral("34"), QClipboard::Selection);
    f.click(f.entry(), QPoint(f.entry()->width() - 25, 10), Qt::MiddleButton);
    QCOMPARE(f.entry()->text(), QStringLiteral("1234"));
    QCOMPARE(f.beeps, 1);
}

void CalcEditTest::inputMethodCommit()
{
    // A committed composition is typing: the same rule, the same beep.
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("1,2a3"));
    QCoreApplication::sendEvent(QGuiApplication::focusObject(), &commit);
    QCOMPARE(f.entry()->text(), QStringLiteral("1,2"));
    QCOMPARE(f.beeps, 1);
}

void CalcEditTest::inputMethodHints()
{
    // An on-screen keyboard asks the focused control what it takes and
    // offers a number pad.
    QCOMPARE(QGuiApplication::focusObject(), f.entry());
    const QVariant hints = QInputMethod::queryFocusObject(Qt::ImHints, {});
    QVERIFY(hints.isValid());
    QVERIFY(Qt::InputMethodHints(hints.toInt()).testFlag(Qt::ImhFormattedNumbersOnly));
    QVERIFY(QInputMethod::queryFocusObject(Qt::ImEnabled, {}).toBool());
}

void CalcEditTest::megabytePaste()
{
    // A megabyte of digits goes in, can be typed after and left. The bound
    // is no speed goal (make bench has that), only a guard against work
    // growing with the square of the length.
    const QString digits(1 << 20, u'7');
    QGuiApplication::clipboard()->setText(digits);
    QElapsedTimer timer;
    timer.start();
    f.key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.entry()->text().size(), digits.size());
    f.key(Qt::Key_End);
    f.type(QStringLiteral("5,5"));
    f.key(Qt::Key_Backspace);
    QCOMPARE(f.entry()->text(), digits + QStringLiteral("5,"));
    f.key(Qt::Key_Tab); // beyond the extended range: left as it is
    QCOMPARE(f.entry()->text().size(), digits.size() + 2);
    QCOMPARE(f.entry()->unfocusedText().size(), digits.size() + 2);
    f.entry()->grab();
    const qint64 elapsed = timer.elapsed();
    QVERIFY2(elapsed < 30000, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
    QCOMPARE(f.beeps, 0);
}

void CalcEditTest::calculatorOpens_data()
{
    QTest::addColumn<bool>("nearBottom");
    QTest::newRow("below the entry") << false;
    QTest::newRow("above when no room below") << true;
}

void CalcEditTest::calculatorOpens()
{
    QFETCH(bool, nearBottom);
    if (nearBottom) {
        const QRect screen = f.window()->screen()->availableGeometry();
        f.window()->move(f.window()->x(), screen.bottom() - 40);
        QTRY_COMPARE(f.entry()->mapToGlobal(QPoint(0, 0)).y(), f.window()->mapToGlobal(QPoint(0, 10)).y());
    }
    f.type(QStringLiteral("100"));
    f.key(Qt::Key_Down, Qt::AltModifier);
    QVERIFY(f.entry()->isCalculatorOpen());
    QCOMPARE(QApplication::activePopupWidget(), static_cast<QWidget*>(popup()));
    QVERIFY(f.entry()->hasFocus());
    QCOMPARE(popup()->displayText(), QStringLiteral("100"));

    const QRect entry(f.entry()->mapToGlobal(QPoint(0, 0)), f.entry()->size());
    const QRect panel = popup()->geometry();
    QCOMPARE(panel.right(), entry.right());
    if (nearBottom)
        QCOMPARE(panel.bottom(), entry.top() - 1);
    else
        QCOMPARE(panel.top(), entry.bottom() + 1);
    QVERIFY(f.window()->screen()->availableGeometry().contains(panel));
}

void CalcEditTest::calculatorButtonToggles()
{
    f.clickOption(f.w.RadioButton5);
    QToolButton* button = f.entry()->dropDownButton();
    f.click(button);
    QVERIFY(f.entry()->isCalculatorOpen());
    QVERIFY(f.entry()->hasFocus());
    f.click(button);
    QVERIFY(!f.entry()->isCalculatorOpen());
    QVERIFY(f.entry()->hasFocus());
}

// The entry's text, keys typed into the open calculator, the text after.
void CalcEditTest::calculatorAccepts_data()
{
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("after");

    QTest::newRow("12+3=") << "" << "12+3=" << "15";
    QTest::newRow("12+3 Enter") << "" << "12+3\r" << "15";
    QTest::newRow("200+10%") << "" << "200+10%" << "220";
    QTest::newRow("7*3=") << "" << "7*3=" << "21";
    QTest::newRow("7x3=") << "" << "7x3=" << "21";
    QTest::newRow("10/4=") << "" << "10/4=" << "2,5";
    QTest::newRow("1.5+1,25=") << "" << "1.5+1,25=" << "2,75";
    QTest::newRow("10/3= rounds to two decimals") << "" << "10/3=" << "3,33";
    QTest::newRow("1234*1000= grouped") << "" << "1234*1000=" << fr("1_234_000");
    QTest::newRow("5-8=") << "" << "5-8=" << "-3";
    QTest::newRow("starts from the entry: 100, +5=") << "100" << "+5=" << "105";
    QTest::newRow("starts from the entry: 1234,5, *2=") << "1234,5" << "*2=" << fr("2_469");
    QTest::newRow("Backspace and C") << "" << "129\bc45=" << "45";
    QTest::newRow("= alone keeps the value") << "42" << "=" << "42";
}

void CalcEditTest::calculatorAccepts()
{
    QFETCH(QString, initial);
    QFETCH(QString, keys);
    QFETCH(QString, after);

    f.type(initial);
    QSignalSpy runs(f.w.Button1, &QPushButton::clicked);
    f.key(Qt::Key_Down, Qt::AltModifier);
    QVERIFY(f.entry()->isCalculatorOpen());
    for (const QChar c : keys) {
        if (c == u'\b')
            f.key(Qt::Key_Backspace);
        else
            f.type(QString(c));
    }
    QVERIFY(!f.entry()->isCalculatorOpen());
    QCOMPARE(f.entry()->text(), after);
    QVERIFY(f.entry()->hasFocus());
    QCOMPARE(runs.count(), 0); // accepting computes nothing
    QCOMPARE(f.fields(), QStringList(5, QString()));
    QCOMPARE(f.beeps, 0);
}

void CalcEditTest::calculatorByClicks()
{
    f.click(f.entry()->dropDownButton());
    QVERIFY(f.entry()->isCalculatorOpen());
    QCOMPARE(calcKey("keyPoint")->text(), QStringLiteral(","));
    for (const char* name : {"key1", "key2", "keyDivide", "key8", "keyEquals"})
        f.click(calcKey(name));
    QVERIFY(!f.entry()->isCalculatorOpen());
    QCOMPARE(f.entry()->text(), QStringLiteral("1,5"));

    f.click(f.entry()->dropDownButton());
    for (const char* name : {"key2", "keyPoint", "key5", "keyMultiply", "key4", "keyBackspace", "key2",
                             "keyPercent"})
        f.click(calcKey(name));
    QVERIFY(!f.entry()->isCalculatorOpen());
    QCOMPARE(f.entry()->text(), QStringLiteral("0,05"));
}

void CalcEditTest::calculatorDiscards_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("focus");

    // Escape also reaches the window's key preview, which clears the entry.
    QTest::newRow("Escape") << "escape" << "" << "JvCalcEdit1";
    QTest::newRow("click elsewhere") << "click" << "100" << "JvCalcEdit1";
    QTest::newRow("Tab moves on") << "tab" << "100" << "RadioButton6";
    QTest::newRow("Alt+Down again") << "alt+down" << "100" << "JvCalcEdit1";
}

void CalcEditTest::calculatorDiscards()
{
    QFETCH(QString, how);
    QFETCH(QString, after);
    QFETCH(QString, focus);

    f.type(QStringLiteral("100"));
    f.key(Qt::Key_Down, Qt::AltModifier);
    f.type(QStringLiteral("*3"));
    QCOMPARE(popup()->displayText(), QStringLiteral("3"));
    if (how == u"escape")
        f.key(Qt::Key_Escape);
    else if (how == u"tab")
        f.key(Qt::Key_Tab);
    else if (how == u"alt+down")
        f.key(Qt::Key_Down, Qt::AltModifier);
    else
        f.click(f.w.GroupBox3, QPoint(100, 130));
    QVERIFY(!f.entry()->isCalculatorOpen());
    QCOMPARE(f.entry()->text(), after);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(f.fields(), QStringList(5, QString()));
    QCOMPARE(f.beeps, 0);
}

void CalcEditTest::calculatorErrorUntilClear()
{
    f.type(QStringLiteral("100"));
    f.key(Qt::Key_Down, Qt::AltModifier);
    f.type(QStringLiteral("/0="));
    QVERIFY(f.entry()->isCalculatorOpen());
    QCOMPARE(popup()->displayText(), QStringLiteral("Erreur"));
    f.type(QStringLiteral("7+"));
    f.key(Qt::Key_Return);
    QVERIFY(f.entry()->isCalculatorOpen());
    QCOMPARE(popup()->displayText(), QStringLiteral("Erreur"));
    QCOMPARE(f.entry()->text(), QStringLiteral("100"));
    f.type(QStringLiteral("C"));
    QCOMPARE(popup()->displayText(), QStringLiteral("0"));
    f.type(QStringLiteral("2="));
    QVERIFY(!f.entry()->isCalculatorOpen());
    QCOMPARE(f.entry()->text(), QStringLiteral("2"));
    QVERIFY(f.boxes.empty());
}

void CalcEditTest::calculatorFromATextBeyondTheRange_data()
{
    QTest::addColumn<bool>("byButton");
    QTest::newRow("Alt+Down") << false;
    QTest::newRow("drop-down button") << true;
}

void CalcEditTest::calculatorFromATextBeyondTheRange()
{
    // The read fails: the calculator starts from 0 (it once started from
    // whatever the registers held, g++ having dropped the zero).
    QFETCH(bool, byButton);
    const QString huge = QStringLiteral("1") + QString(5000, u'0');
    QGuiApplication::clipboard()->setText(huge);
    f.key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.entry()->text(), huge);
    if (byButton)
        f.click(f.entry()->dropDownButton());
    else
        f.key(Qt::Key_Down, Qt::AltModifier);
    QVERIFY(f.entry()->isCalculatorOpen());
    QCOMPARE(popup()->displayText(), QStringLiteral("0"));
    f.type(QStringLiteral("+5="));
    QCOMPARE(f.entry()->text(), QStringLiteral("5"));
    QVERIFY(f.boxes.empty());
}

BRINDELOR_UI_TEST_MAIN(CalcEditTest)
#include "calc_edit_test.moc"
