#include "calculator_popup.h"

#include "calc_edit.h"
#include "calculator_engine.h"
#include "error_handler.h"
#include "number_settings.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace brindelor::ui {

namespace {

constexpr int kKeyWidth = 30;
constexpr int kKeyHeight = 24;

CalculatorEngine::Op opOf(CalculatorPopup::Key key)
{
    switch (key) {
    case CalculatorPopup::Key::Add: return CalculatorEngine::Op::Add;
    case CalculatorPopup::Key::Subtract: return CalculatorEngine::Op::Subtract;
    case CalculatorPopup::Key::Multiply: return CalculatorEngine::Op::Multiply;
    case CalculatorPopup::Key::Divide: return CalculatorEngine::Op::Divide;
    default: return CalculatorEngine::Op::None;
    }
}

const char* const kDigitNames[] = {"Zéro", "Un",  "Deux", "Trois", "Quatre",
                                   "Cinq", "Six", "Sept", "Huit",  "Neuf"};

} // namespace

CalculatorPopup::CalculatorPopup(CalcEdit* edit)
    : QFrame(edit, Qt::Popup)
    , edit_(edit)
    , engine_(std::make_unique<CalculatorEngine>())
{
    setObjectName(QStringLiteral("calculatorPopup"));
    setAccessibleName(QStringLiteral("Calculatrice"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    // The entry keeps the focus; we take its keys through the filter.
    setFocusPolicy(Qt::NoFocus);
    setFocusProxy(edit);
    // The click that closes the panel must not reach what lies below it
    // (the drop-down button would open it again).
    setAttribute(Qt::WA_NoMouseReplay);
    installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(3);

    display_ = new QLabel(this);
    display_->setObjectName(QStringLiteral("display"));
    display_->setAccessibleName(QStringLiteral("Affichage"));
    display_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    display_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    display_->setMinimumHeight(kKeyHeight);
    display_->setBackgroundRole(QPalette::Base);
    display_->setAutoFillBackground(true);
    layout->addWidget(display_);

    auto* keys = new QGridLayout;
    keys->setSpacing(2);
    layout->addLayout(keys);

    auto place = [keys](QToolButton* button, int row, int column, int span = 1) {
        keys->addWidget(button, row, column, 1, span);
    };
    place(addKey(Key::Clear, QStringLiteral("C"), QStringLiteral("Effacer tout (C ou Suppr)"),
                 QStringLiteral("Effacer"), QStringLiteral("keyClear")),
          0, 0);
    place(addKey(Key::Backspace, QStringLiteral("←"),
                 QStringLiteral("Effacer le dernier chiffre (Retour arrière)"),
                 QStringLiteral("Retour arrière"), QStringLiteral("keyBackspace")),
          0, 1);
    place(addKey(Key::Percent, QStringLiteral("%"),
                 QStringLiteral("Pourcentage, reporte le résultat (%)"),
                 QStringLiteral("Pourcentage"), QStringLiteral("keyPercent")),
          0, 2);
    place(addKey(Key::Divide, QStringLiteral("÷"), QStringLiteral("Diviser (/)"),
                 QStringLiteral("Diviser"), QStringLiteral("keyDivide")),
          0, 3);
    place(addKey(Key::Multiply, QStringLiteral("×"), QStringLiteral("Multiplier (*)"),
                 QStringLiteral("Multiplier"), QStringLiteral("keyMultiply")),
          1, 3);
    place(addKey(Key::Subtract, QStringLiteral("−"), QStringLiteral("Soustraire (-)"),
                 QStringLiteral("Soustraire"), QStringLiteral("keySubtract")),
          2, 3);
    place(addKey(Key::Add, QStringLiteral("+"), QStringLiteral("Additionner (+)"),
                 QStringLiteral("Additionner"), QStringLiteral("keyAdd")),
          3, 3);
    for (int d = 0; d <= 9; ++d) {
        const QString digit = QString::number(d);
        QToolButton* button =
            addKey(static_cast<Key>(static_cast<int>(Key::Digit0) + d), digit,
                   QStringLiteral("Chiffre %1").arg(digit), QString::fromUtf8(kDigitNames[d]),
                   QStringLiteral("key%1").arg(digit));
        if (d == 0)
            place(button, 4, 0, 2);
        else
            place(button, 3 - (d - 1) / 3, (d - 1) % 3);
    }
    pointKey_ = addKey(Key::Point, QString(), QStringLiteral("Séparateur décimal (. ou ,)"),
                       QStringLiteral("Séparateur décimal"), QStringLiteral("keyPoint"));
    place(pointKey_, 4, 2);
    place(addKey(Key::Equals, QStringLiteral("="),
                 QStringLiteral("Égal, reporte le résultat (Entrée ou =)"), QStringLiteral("Égal"),
                 QStringLiteral("keyEquals")),
          4, 3);
}

CalculatorPopup::~CalculatorPopup() = default;

QToolButton* CalculatorPopup::addKey(Key key, const QString& caption, const QString& tip,
                                     const QString& name, const QString& objectName)
{
    auto* button = new QToolButton(this);
    button->setObjectName(objectName);
    button->setText(caption);
    button->setToolTip(tip);
    button->setAccessibleName(name);
    button->setFocusPolicy(Qt::NoFocus);
    button->setMinimumSize(kKeyWidth, kKeyHeight);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(button, &QToolButton::clicked, this, [this, key] { press(key); });
    return button;
}

void CalculatorPopup::popUp(Extended value)
{
    engine_->reset(value);
    refresh();
    ensurePolished();
    placeAgainstEdit();
    show();
}

void CalculatorPopup::placeAgainstEdit()
{
    const QSize size = sizeHint();
    const QRect screen = edit_->screen()->availableGeometry();
    const QPoint editTop = edit_->mapToGlobal(QPoint(0, 0));
    // Below the entry, right edges aligned; above it when there is no room.
    int x = editTop.x() + edit_->width() - size.width();
    int y = editTop.y() + edit_->height();
    if (y + size.height() > screen.y() + screen.height())
        y = editTop.y() - size.height();
    x = std::clamp(x, screen.x(), std::max(screen.x(), screen.x() + screen.width() - size.width()));
    y = std::clamp(y, screen.y(),
                   std::max(screen.y(), screen.y() + screen.height() - size.height()));
    setGeometry(QRect(QPoint(x, y), size));
}

QString CalculatorPopup::displayText() const { return display_->text(); }

void CalculatorPopup::refresh()
{
    const Separators& seps = NumberSettings::current();
    pointKey_->setText(QString::fromStdString(seps.decimal));
    display_->setText(QString::fromStdString(engine_->displayText(seps)));
}

void CalculatorPopup::press(Key key)
{
    try {
        bool accept = false;
        switch (key) {
        case Key::Point: engine_->decimalPoint(); break;
        case Key::Add:
        case Key::Subtract:
        case Key::Multiply:
        case Key::Divide: engine_->setOperator(opOf(key)); break;
        case Key::Equals: accept = engine_->equals(); break;
        case Key::Percent: accept = engine_->percent(); break;
        case Key::Clear: engine_->clear(); break;
        case Key::Backspace: engine_->backspace(); break;
        default: engine_->digit(static_cast<int>(key) - static_cast<int>(Key::Digit0)); break;
        }
        refresh();
        if (accept) {
            hide();
            edit_->acceptCalculatorResult(engine_->value());
        }
    } catch (const std::exception& error) {
        showException(error);
    } catch (...) {
        showUnknownException();
    }
}

bool CalculatorPopup::handleKey(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Escape:
        hide();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // The focus moves on: close, then let the entry move it.
        hide();
        static_cast<QObject*>(edit_)->event(event);
        return true;
    case Qt::Key_Down:
    case Qt::Key_Up:
        if (modifiers == Qt::AltModifier)
            hide();
        return true;
    case Qt::Key_F4:
        hide();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        press(Key::Equals);
        return true;
    case Qt::Key_Backspace:
        press(Key::Backspace);
        return true;
    case Qt::Key_Delete:
        press(Key::Clear);
        return true;
    default:
        break;
    }
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return true;
    const QString text = event->text();
    if (text.size() != 1)
        return true;
    const char16_t c = text.at(0).unicode();
    const QString decimal = QString::fromStdString(NumberSettings::current().decimal);
    if (c >= u'0' && c <= u'9')
        press(static_cast<Key>(static_cast<int>(Key::Digit0) + (c - u'0')));
    else if (c == u'.' || c == u',' || (decimal.size() == 1 && c == decimal.at(0).unicode()))
        press(Key::Point);
    else if (c == u'+')
        press(Key::Add);
    else if (c == u'-' || c == u'\u2212')
        press(Key::Subtract);
    else if (c == u'*' || c == u'x' || c == u'X' || c == u'\u00D7')
        press(Key::Multiply);
    else if (c == u'/' || c == u'\u00F7')
        press(Key::Divide);
    else if (c == u'=')
        press(Key::Equals);
    else if (c == u'%')
        press(Key::Percent);
    else if (c == u'c' || c == u'C')
        press(Key::Clear);
    return true; // every other key is swallowed while the panel is open
}

bool CalculatorPopup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this && event->type() == QEvent::KeyPress)
        return handleKey(static_cast<QKeyEvent*>(event));
    return QFrame::eventFilter(watched, event);
}

} // namespace brindelor::ui
