#include "calc_edit.h"

#include "calculator_popup.h"
#include "error_handler.h"
#include "feedback.h"
#include "number_settings.h"

#include "brindelor/tariff/entry_rules.h"
#include "brindelor/tariff/errors.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

namespace brindelor::ui {

std::size_t utf8Offset(const QString& text, qsizetype position)
{
    // As QString::toStdString() encodes: a surrogate pair in four bytes,
    // two per half; a lone surrogate as one "?".
    std::size_t bytes = 0;
    const qsizetype end = std::min(position, text.size());
    for (qsizetype i = 0; i < end; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x80)
            bytes += 1;
        else if (c < 0x800)
            bytes += 2;
        else if (QChar::isHighSurrogate(c))
            bytes += i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2u : 1u;
        else if (QChar::isLowSurrogate(c))
            bytes += i > 0 && text.at(i - 1).isHighSurrogate() ? 2u : 1u;
        else
            bytes += 3;
    }
    return bytes;
}

qsizetype utf16Position(std::string_view utf8, std::size_t offset)
{
    qsizetype units = 0;
    const std::size_t end = std::min(offset, utf8.size());
    for (std::size_t i = 0; i < end; ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if ((byte & 0xC0) == 0x80)
            continue; // continuation byte
        units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

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

// A text beyond the range: the calculator starts from 0. Not as
// "Extended v; try { v = edit.value(); } catch ...": g++ 12 at -O2 drops
// the zero store before the throwing call, and v is then garbage.
Extended valueOrZero(const CalcEdit& edit)
{
    try {
        return edit.value();
    } catch (const TariffError&) {
        return Extended();
    }
}

// Focus changes that are not the user's moving to or from the entry: a
// popup (our calculator, the context menu) opening or closing, another
// window being activated.
bool isTransient(Qt::FocusReason reason)
{
    return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
}

} // namespace

CalcEdit::CalcEdit(QWidget* parent)
    : LineEditor(parent)
{
    button_ = new QToolButton(this);
    button_->setObjectName(QStringLiteral("dropDownButton"));
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setCursor(Qt::ArrowCursor);
    button_->setArrowType(Qt::DownArrow);
    button_->setToolTip(QStringLiteral("Calculatrice (Alt+Bas)"));
    button_->setAccessibleName(QStringLiteral("Ouvrir la calculatrice"));
    connect(button_, &QToolButton::clicked, this, [this] {
        try {
            if (isCalculatorOpen()) {
                closeCalculator();
                return;
            }
            if (!hasFocus())
                setFocus(Qt::MouseFocusReason);
            openCalculator();
        } catch (const std::exception& error) {
            showException(error);
        } catch (...) {
            showUnknownException();
        }
    });

    connect(this, &LineEditor::textChanged, this, [this] { display_.reset(); });
    connect(&NumberSettings::instance(), &NumberSettings::changed, this, [this] {
        display_.reset();
        update();
    });
    placeButton();
}

CalcEdit::~CalcEdit() = default;

Extended CalcEdit::value() const
{
    return entryRead(text().toStdString(), NumberSettings::current());
}

void CalcEdit::setValue(Extended value)
{
    setText(QString::fromStdString(entryFormat(value, NumberSettings::current())));
}

QString CalcEdit::unfocusedText() const
{
    if (!display_) {
        try {
            display_ = QString::fromStdString(entryDisplayText(value(), NumberSettings::current()));
        } catch (...) {
            // Beyond the extended range: the computation reports it; show
            // the text as it is meanwhile.
            display_ = text();
        }
    }
    return *display_;
}

void CalcEdit::reformat()
{
    QString formatted;
    try {
        formatted = QString::fromStdString(entryFormat(value(), NumberSettings::current()));
    } catch (...) {
        return; // left as typed; the computation reports the overflow
    }
    if (formatted != text())
        setText(formatted);
}

void CalcEdit::acceptCalculatorResult(Extended value) { setValue(value); }

bool CalcEdit::isCalculatorOpen() const { return popup_ && popup_->isVisible(); }

void CalcEdit::openCalculator()
{
    if (!popup_)
        popup_ = new CalculatorPopup(this); // built on first use only
    popup_->popUp(valueOrZero(*this));
}

void CalcEdit::closeCalculator()
{
    if (isCalculatorOpen())
        popup_->hide();
}

void CalcEdit::keyPressEvent(QKeyEvent* event)
{
    try {
        const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
        switch (event->key()) {
        case Qt::Key_Escape: // discarded, without a beep
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            return;
        case Qt::Key_Down:
            if (modifiers == Qt::AltModifier) {
                openCalculator();
                event->accept();
                return;
            }
            break;
        default:
            break;
        }
        if (isTypedText(event)) {
            typeText(event->text());
            event->accept();
            return;
        }
        // Pastes and redos come back through keeps().
        LineEditor::keyPressEvent(event);
    } catch (const std::exception& error) {
        showException(error);
    } catch (...) {
        showUnknownException();
    }
}

void CalcEdit::typeText(const QString& typed)
{
    for (qsizetype i = 0; i < typed.size();) {
        const qsizetype length =
            typed.at(i).isHighSurrogate() && i + 1 < typed.size() ? 2 : 1;
        if (!typeCharacter(typed.mid(i, length)))
            return;
        i += length;
    }
}

bool CalcEdit::typeCharacter(const QString& character)
{
    const QString old = text();
    const qsizetype selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    const qsizetype selLength = selectionLength();
    const std::size_t byteStart = utf8Offset(old, selStart);
    const std::size_t byteLength =
        utf8Offset(old, selStart + selLength) - byteStart;

    const TypingResult typed = entryType(old.toStdString(), byteStart, byteLength,
                                         character.toStdString(), NumberSettings::current());
    if (!typed.accepted) {
        beep();
        return false;
    }

    // Replace only the part that differs, as an ordinary edit, so that undo
    // and the cursor behave as in any line edit.
    const QString fresh = QString::fromStdString(typed.text);
    const qsizetype common = std::min(old.size(), fresh.size());
    qsizetype prefix = 0;
    while (prefix < common && old.at(prefix) == fresh.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < common - prefix
           && old.at(old.size() - 1 - suffix) == fresh.at(fresh.size() - 1 - suffix))
        ++suffix;
    if (prefix > 0 && old.at(prefix - 1).isHighSurrogate())
        --prefix;
    if (suffix > 0 && old.at(old.size() - suffix).isLowSurrogate())
        --suffix;

    const qsizetype removed = old.size() - prefix - suffix;
    replaceText(prefix, removed, fresh.mid(prefix, fresh.size() - prefix - suffix),
                utf16Position(typed.text, typed.cursor), EditKind::Typing);
    return true;
}

bool CalcEdit::keeps(const QString& resulting) const
{
    return entryPasteKept(resulting.toStdString(), NumberSettings::current());
}

void CalcEdit::refused() { beep(); }

void CalcEdit::focusInEvent(QFocusEvent* event)
{
    const Qt::FocusReason reason = event->reason();
    if (!isTransient(reason))
        reformat();
    LineEditor::focusInEvent(event);
    if (!isTransient(reason) && reason != Qt::MouseFocusReason)
        selectAll();
}

void CalcEdit::focusOutEvent(QFocusEvent* event)
{
    if (!isTransient(event->reason())) {
        closeCalculator();
        reformat();
    }
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
    const QString shown = unfocusedText();
    constexpr qsizetype kVisibleTail = 512;
    painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter,
                     shown.size() > kVisibleTail ? shown.right(kVisibleTail) : shown);
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
