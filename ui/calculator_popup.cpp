#include "calculator_popup.h"

#include "qt_glue.h"

#include "brindelor/form/calc_edit.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace brindelor::ui {

namespace {

constexpr int kKeyWidth = 30;
constexpr int kKeyHeight = 24;

} // namespace

CalculatorPopup::CalculatorPopup(form::CalcEdit& entry, QWidget* entryWidget)
    : QFrame(entryWidget, Qt::Popup)
    , entry_(entry)
    , entryWidget_(entryWidget)
{
    setObjectName(QStringLiteral("calculatorPopup"));
    setAccessibleName(QStringLiteral("Calculatrice"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    // The entry keeps the focus; we take its keys through the filter.
    setFocusPolicy(Qt::NoFocus);
    setFocusProxy(entryWidget);
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
    for (const form::CalculatorKeyInfo& info : form::kCalculatorKeys) {
        auto* button = new QToolButton(this);
        button->setObjectName(fromUtf8(info.id));
        button->setText(fromUtf8(info.caption));
        button->setToolTip(fromUtf8(info.tip));
        button->setAccessibleName(fromUtf8(info.accessibleName));
        button->setFocusPolicy(Qt::NoFocus);
        button->setMinimumSize(kKeyWidth, kKeyHeight);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        const form::CalculatorKey key = info.key;
        connect(button, &QToolButton::clicked, this, [this, key] { entry_.calculatorPress(key); });
        keys->addWidget(button, info.row, info.column, 1, info.columnSpan);
        if (key == form::CalculatorKey::Point)
            pointKey_ = button;
    }
}

CalculatorPopup::~CalculatorPopup() = default;

void CalculatorPopup::popUp()
{
    refresh();
    ensurePolished();
    placeAgainstEntry();
    show();
}

void CalculatorPopup::placeAgainstEntry()
{
    const QSize size = sizeHint();
    const QRect entry(entryWidget_->mapToGlobal(QPoint(0, 0)), entryWidget_->size());
    const QRect area = entryWidget_->screen()->availableGeometry();
    setGeometry(toQRect(form::calculatorPlacement(toRect(entry), size.width(), size.height(), toRect(area))));
}

QString CalculatorPopup::displayText() const { return display_->text(); }

void CalculatorPopup::refresh()
{
    if (pointKey_)
        pointKey_->setText(fromUtf8(entry_.decimalCaption()));
    display_->setText(fromUtf8(entry_.calculatorDisplay()));
}

bool CalculatorPopup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != this || event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (entry_.calculatorKey(keyOf(key)) == form::CalcEdit::KeyResult::PassOn)
        static_cast<QObject*>(entryWidget_)->event(event); // the entry moves the focus on
    return true;
}

} // namespace brindelor::ui
