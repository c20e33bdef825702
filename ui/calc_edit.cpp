#include "calc_edit.h"

#include "qt_glue.h"

#include "brindelor/form/calc_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

namespace brindelor::ui {

namespace {

// A key whose text an ordinary edit inserts, by Qt's own rule, so that none
// goes in unchecked: a format character (ZWJ, RLM...) whatever the
// modifiers; else, without Ctrl or Ctrl+Shift, printable, private-use or
// surrogate text (Alt+5 types a 5 on X11).
bool isTypedText(const QKeyEvent* event)
{
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    const QChar first = text.front();
    if (first.category() == QChar::Other_Format)
        return true;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        return false;
    return first.isPrint() || first.isSurrogate() || first.category() == QChar::Other_PrivateUse;
}

} // namespace

CalcEdit::CalcEdit(form::CalcEdit& entry, QWidget* parent)
    : LineEditor(parent)
    , entry_(entry)
{
    applyLayout(this, entry);
    // On-screen keyboards offer a number pad.
    setInputMethodHints(Qt::ImhFormattedNumbersOnly);

    button_ = new QToolButton(this);
    button_->setObjectName(QStringLiteral("dropDownButton"));
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setCursor(Qt::ArrowCursor);
    button_->setArrowType(Qt::DownArrow);
    button_->setToolTip(QStringLiteral("Calculatrice (Alt+Bas)"));
    button_->setAccessibleName(QStringLiteral("Ouvrir la calculatrice"));
    connect(button_, &QToolButton::clicked, this, [this] { entry_.dropDownClicked(); });
    connect(this, &LineEditor::textChanged, this, [this] { entry_.textChanged(); });
    placeButton();
}

CalcEdit::~CalcEdit() = default;

QString CalcEdit::unfocusedText() const { return toQString(entry_.unfocusedText()); }

bool CalcEdit::isCalculatorOpen() const { return entry_.calculatorOpen(); }

void CalcEdit::openCalculator() { entry_.openCalculator(); }

void CalcEdit::takeFocus(form::FocusCause cause) { LineEditor::setFocus(reasonOf(cause)); }

std::u16string CalcEdit::editText() const { return std::u16string(view(LineEditor::text())); }

void CalcEdit::setEditText(std::u16string_view text) { LineEditor::setText(toQString(text)); }

form::EntryPeer::Selection CalcEdit::selection() const
{
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    return {static_cast<std::size_t>(start), static_cast<std::size_t>(selectionLength())};
}

void CalcEdit::replaceTyped(std::size_t position, std::size_t length, std::u16string_view inserted,
                            std::size_t caret)
{
    replaceText(static_cast<qsizetype>(position), static_cast<qsizetype>(length), toQString(inserted),
                static_cast<qsizetype>(caret), EditKind::Typing);
}

void CalcEdit::typeText(const QString& typed) { entry_.type(view(typed)); }

bool CalcEdit::keeps(const QString& resulting) const { return entry_.pasteKept(view(resulting)); }

void CalcEdit::refused() { entry_.pasteRefused(); }

void CalcEdit::keyPressEvent(QKeyEvent* event)
{
    if (entry_.keyDown(keyOf(event))) {
        event->accept();
        return;
    }
    if (isTypedText(event)) {
        typeText(event->text());
        event->accept();
        return;
    }
    // Pastes and redos come back through keeps().
    LineEditor::keyPressEvent(event);
}

void CalcEdit::focusInEvent(QFocusEvent* event)
{
    entry_.focusEntered(causeOf(event->reason()));
    LineEditor::focusInEvent(event);
}

void CalcEdit::focusOutEvent(QFocusEvent* event)
{
    entry_.focusLeft(causeOf(event->reason()));
    LineEditor::focusOutEvent(event);
}

void CalcEdit::paintEvent(QPaintEvent* event)
{
    if (hasFocus()) {
        LineEditor::paintEvent(event);
        return;
    }
    // Without the focus the entry shows its value, right-aligned.
    QPainter painter(this);
    drawPanel(painter);
    const QRect area = innerTextArea();
    painter.setClipRect(area);
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    painter.setPen(palette().color(group, QPalette::Text));
    painter.setFont(font());
    // Right-aligned, only the end of a very long text can show.
    const std::u16string& shown = entry_.unfocusedText();
    constexpr std::size_t kVisibleTail = 512;
    const std::u16string_view tail = shown.size() > kVisibleTail
        ? std::u16string_view(shown).substr(shown.size() - kVisibleTail)
        : std::u16string_view(shown);
    painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter, toQString(tail));
}

void CalcEdit::placeButton()
{
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int buttonWidth = 15;
    button_->setGeometry(width() - frame - buttonWidth, frame, buttonWidth,
                         std::max(0, height() - 2 * frame));
    const QMargins margins(0, 0, buttonWidth, 0);
    if (textMargins() != margins)
        setTextMargins(margins);
}

void CalcEdit::resizeEvent(QResizeEvent* event)
{
    LineEditor::resizeEvent(event);
    placeButton();
}

void CalcEdit::changeEvent(QEvent* event)
{
    LineEditor::changeEvent(event);
    if (event->type() == QEvent::StyleChange)
        placeButton();
}

} // namespace brindelor::ui
