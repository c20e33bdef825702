#include "line_editor.h"

#include "exceptions.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionFrame>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <limits>
#include <utility>

namespace brindelor::widgets {

namespace {

// The inner margins a line edit keeps around its text.
constexpr int kHorizontalMargin = 2;
constexpr int kVerticalMargin = 1;
// The most characters ever laid out at once, whatever the text holds
// (a long run of zero-width characters would otherwise take it all).
constexpr qsizetype kMostLaidOut = qsizetype(1) << 16;
// Around the caret, what an input method is told of the text.
constexpr qsizetype kSurrounding = 512;

// Ctrl+arrow stops at these, as in any Qt line edit.
bool isWordSeparator(QChar c)
{
    switch (c.unicode()) {
    case u'.': case u',': case u'?': case u'!': case u'@': case u'#': case u'$': case u':':
    case u';': case u'-': case u'<': case u'>': case u'[': case u']': case u'(': case u')':
    case u'{': case u'}': case u'=': case u'/': case u'+': case u'%': case u'&': case u'^':
    case u'*': case u'\'': case u'"': case u'`': case u'~': case u'|': case u'\\':
        return true;
    default:
        return false;
    }
}

// Whether a key types its text, by QLineEdit's rule: a format character
// (ZWJ, RLM...) whatever the modifiers; else, unless with just Ctrl or
// Ctrl+Shift (AltGr comes as Ctrl+Alt), printable or private-use text or a
// whole surrogate pair.
bool typesText(const QKeyEvent* event)
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
    return first.isPrint() || first.category() == QChar::Other_PrivateUse
           || (first.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate());
}

QString shortcutSuffix(QKeySequence::StandardKey key)
{
    if (!QGuiApplication::styleHints()->showShortcutsInContextMenus())
        return {};
    return u'\t' + QKeySequence(key).toString(QKeySequence::NativeText);
}

// The editor as screen readers see it: editable text with a caret and a
// selection.
class LineEditorAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit LineEditorAccessible(LineEditor* editor)
        : QAccessibleWidget(editor, QAccessible::EditableText)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return editor()->text();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = true;
        s.selectableText = true;
        return s;
    }

    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (index == 0 && editor()->hasSelectedText()) {
            *start = editor()->selectionStart();
            *end = editor()->selectionEnd();
        }
    }
    int selectionCount() const override { return editor()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { editor()->deselect(); }
    void setSelection(int, int start, int end) override { editor()->setSelection(start, end - start); }
    int cursorPosition() const override { return editor()->cursorPosition(); }
    void setCursorPosition(int position) override { editor()->setCursorPosition(position); }
    QString text(int start, int end) const override
    {
        return editor()->text().mid(start, std::max(0, end - start));
    }
    int characterCount() const override { return static_cast<int>(editor()->text().size()); }
    QRect characterRect(int offset) const override
    {
        const QRect r = editor()->characterRect(offset);
        if (r.isEmpty())
            return {};
        return QRect(editor()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return editor()->characterAt(editor()->mapFromGlobal(point));
    }
    void scrollToSubstring(int, int end) override { editor()->setCursorPosition(end); }
    QString attributes(int offset, int* start, int* end) const override
    {
        *start = *end = offset;
        return {};
    }

private:
    LineEditor* editor() const { return static_cast<LineEditor*>(widget()); }
};

QAccessibleInterface* accessibleFactory(const QString&, QObject* object)
{
    if (auto* editor = qobject_cast<LineEditor*>(object))
        return new LineEditorAccessible(editor);
    return nullptr;
}

} // namespace

LineEditor::LineEditor(QWidget* parent)
    : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleFactory);
        return true;
    }();
    (void)factoryInstalled;

    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_MacShowFocusRect);
    setSizePolicy(QSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed, QSizePolicy::LineEdit));
    setCursor(Qt::IBeamCursor);
    setBackgroundRole(QPalette::Base);
    setAcceptDrops(true);
    view_.setCacheEnabled(true);
}

LineEditor::~LineEditor() = default;

// --- text, caret, selection ------------------------------------------------

void LineEditor::setText(const QString& text)
{
    history_.clear();
    undone_ = 0;
    const QString old = text_;
    applyText(text, text.size(), text.size());
    if (old != text_)
        textReplaced(0, old, text_);
}

void LineEditor::clear() { setText(QString()); }

void LineEditor::setCursorPosition(int position) { setCursorAndAnchor(position, position); }

QString LineEditor::selectedText() const
{
    if (!hasSelectedText())
        return {};
    return text_.mid(selectionStart(), selectionLength());
}

int LineEditor::selectionStart() const
{
    return hasSelectedText() ? static_cast<int>(std::min(cursor_, anchor_)) : -1;
}

int LineEditor::selectionEnd() const
{
    return hasSelectedText() ? static_cast<int>(std::max(cursor_, anchor_)) : -1;
}

int LineEditor::selectionLength() const
{
    return hasSelectedText() ? static_cast<int>(std::max(cursor_, anchor_) - std::min(cursor_, anchor_)) : 0;
}

void LineEditor::setSelection(int start, int length)
{
    const qsizetype from = std::clamp<qsizetype>(start, 0, text_.size());
    const qsizetype to = std::clamp<qsizetype>(qsizetype(start) + length, 0, text_.size());
    setCursorAndAnchor(to, from);
}

void LineEditor::selectAll() { setCursorAndAnchor(text_.size(), 0); }

void LineEditor::deselect() { setCursorAndAnchor(cursor_, cursor_); }

void LineEditor::setCursorAndAnchor(qsizetype cursor, qsizetype anchor)
{
    cursor = std::clamp<qsizetype>(cursor, 0, text_.size());
    anchor = std::clamp<qsizetype>(anchor, 0, text_.size());
    if (cursor == cursor_ && anchor == anchor_)
        return;
    separate();
    const qsizetype oldCursor = cursor_;
    const bool hadSelection = hasSelectedText();
    cursor_ = cursor;
    anchor_ = anchor;
    restartBlink();
    caretMoved(oldCursor, hadSelection);
}

void LineEditor::caretMoved(qsizetype oldCursor, bool hadSelection)
{
    if (hadSelection || hasSelectedText()) {
        emit selectionChanged();
        if (QAccessible::isActive()) {
            QAccessibleTextSelectionEvent event(this, selectionStart(), selectionEnd());
            event.setCursorPosition(static_cast<int>(cursor_));
            QAccessible::updateAccessibility(&event);
        }
    }
    if (oldCursor != cursor_) {
        emit cursorPositionChanged(static_cast<int>(oldCursor), static_cast<int>(cursor_));
        if (QAccessible::isActive()) {
            QAccessibleTextCursorEvent event(this, static_cast<int>(cursor_));
            QAccessible::updateAccessibility(&event);
        }
    }
    // Every caret, selection and text change comes here: the input method
    // moves its window and reads the text again.
    updateMicroFocus();
}

void LineEditor::moveCursor(qsizetype position, bool mark)
{
    setCursorAndAnchor(position, mark ? anchor_ : position);
}

// --- edits -----------------------------------------------------------------

void LineEditor::insert(const QString& text)
{
    const qsizetype from = hasSelectedText() ? selectionStart() : cursor_;
    replaceText(from, selectionLength(), text, from + text.size(), EditKind::Other);
}

void LineEditor::replaceText(qsizetype position, qsizetype length, const QString& inserted, qsizetype caret,
                             EditKind kind)
{
    position = std::clamp<qsizetype>(position, 0, text_.size());
    length = std::clamp<qsizetype>(length, 0, text_.size() - position);
    if (length == 0 && inserted.isEmpty()) {
        setCursorPosition(static_cast<int>(caret));
        return;
    }
    QString removed = text_.mid(position, length);
    QString fresh = std::exchange(text_, QString());
    fresh.replace(position, length, inserted);
    commitEdit(position, std::move(removed), inserted, std::move(fresh), caret, kind);
}

void LineEditor::commitEdit(qsizetype position, QString removed, const QString& inserted, QString fresh,
                            qsizetype caret, EditKind kind)
{
    const qsizetype length = removed.size();
    Step step{position, std::move(removed), inserted, cursor_, anchor_, kind};

    history_.resize(undone_);
    bool merged = false;
    if (mergeable_ && !history_.empty() && history_.back().kind == kind) {
        Step& last = history_.back();
        switch (kind) {
        case EditKind::Typing:
            if (length == 0 && last.position + last.inserted.size() == position) {
                last.inserted += inserted;
                merged = true;
            }
            break;
        case EditKind::Backspace:
            if (inserted.isEmpty() && last.inserted.isEmpty() && position + length == last.position) {
                last.position = position;
                last.removed.prepend(step.removed);
                merged = true;
            }
            break;
        case EditKind::Delete:
            if (inserted.isEmpty() && last.inserted.isEmpty() && position == last.position) {
                last.removed += step.removed;
                merged = true;
            }
            break;
        case EditKind::Other:
            break;
        }
    }
    const QString gone = step.removed;
    if (!merged)
        history_.push_back(std::move(step));
    undone_ = history_.size();

    applyText(std::move(fresh), caret, caret);
    mergeable_ = kind != EditKind::Other;
    textReplaced(position, gone, inserted);
}

void LineEditor::applyText(QString text, qsizetype cursor, qsizetype anchor)
{
    const qsizetype oldCursor = cursor_;
    const bool hadSelection = hasSelectedText();
    text_ = std::move(text);
    cursor_ = std::clamp<qsizetype>(cursor, 0, text_.size());
    anchor_ = std::clamp<qsizetype>(anchor, 0, text_.size());
    invalidateView();
    restartBlink();
    caretMoved(oldCursor, hadSelection);
}

void LineEditor::textReplaced(qsizetype position, const QString& removed, const QString& inserted)
{
    emit textChanged(text_);
    if (!QAccessible::isActive())
        return;
    const int at = static_cast<int>(position);
    if (removed.isEmpty()) {
        QAccessibleTextInsertEvent event(this, at, inserted);
        QAccessible::updateAccessibility(&event);
    } else if (inserted.isEmpty()) {
        QAccessibleTextRemoveEvent event(this, at, removed);
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleTextUpdateEvent event(this, at, removed, inserted);
        QAccessible::updateAccessibility(&event);
    }
}

void LineEditor::removeSelection(EditKind kind)
{
    if (!hasSelectedText())
        return;
    const qsizetype from = selectionStart();
    replaceText(from, selectionLength(), QString(), from, kind);
}

void LineEditor::backspace()
{
    if (hasSelectedText()) {
        removeSelection(EditKind::Backspace);
        return;
    }
    if (cursor_ == 0)
        return;
    // One code point back, as line edits do (a grapheme forward for Delete).
    qsizetype from = cursor_ - 1;
    if (from > 0 && text_.at(from).isLowSurrogate() && text_.at(from - 1).isHighSurrogate())
        --from;
    replaceText(from, cursor_ - from, QString(), from, EditKind::Backspace);
}

void LineEditor::del()
{
    if (hasSelectedText()) {
        removeSelection(EditKind::Delete);
        return;
    }
    const qsizetype to = nextCharacter(cursor_);
    replaceText(cursor_, to - cursor_, QString(), cursor_, EditKind::Delete);
}

void LineEditor::deleteTo(qsizetype position)
{
    // Nothing when nothing lies up to position: del() would take the next
    // character (Ctrl+Backspace at the start).
    if (!hasSelectedText())
        moveCursor(position, true);
    removeSelection(EditKind::Delete);
}

void LineEditor::replaceChecked(qsizetype position, qsizetype length, const QString& inserted, qsizetype caret)
{
    // The text the subclass is shown is the one that goes in.
    QString resulting = text_;
    resulting.replace(position, length, inserted);
    if (!keeps(resulting)) {
        refused();
        return;
    }
    commitEdit(position, text_.mid(position, length), inserted, std::move(resulting), caret, EditKind::Other);
}

void LineEditor::undo()
{
    if (undone_ == 0)
        return;
    const Step& step = history_[--undone_];
    QString fresh = std::exchange(text_, QString());
    fresh.replace(step.position, step.inserted.size(), step.removed);
    applyText(std::move(fresh), step.cursorBefore, step.anchorBefore);
    separate();
    textReplaced(step.position, step.inserted, step.removed);
}

void LineEditor::redo()
{
    if (undone_ >= history_.size())
        return;
    const Step& step = history_[undone_];
    QString fresh = text_;
    fresh.replace(step.position, step.removed.size(), step.inserted);
    if (!keeps(fresh)) {
        refused();
        return;
    }
    ++undone_;
    const qsizetype caret = step.position + step.inserted.size();
    applyText(std::move(fresh), caret, caret);
    separate();
    textReplaced(step.position, step.removed, step.inserted);
}

void LineEditor::copy() const
{
    if (hasSelectedText())
        QGuiApplication::clipboard()->setText(selectedText());
}

void LineEditor::copyToSelectionClipboard() const
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (hasSelectedText() && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

void LineEditor::cut()
{
    if (!hasSelectedText())
        return;
    copy();
    removeSelection(EditKind::Other);
}

void LineEditor::paste() { pasteFrom(QClipboard::Clipboard); }

void LineEditor::pasteFrom(int mode)
{
    const QString clip = QGuiApplication::clipboard()->text(static_cast<QClipboard::Mode>(mode));
    if (clip.isEmpty() && !hasSelectedText())
        return;
    const qsizetype from = hasSelectedText() ? selectionStart() : cursor_;
    replaceChecked(from, selectionLength(), clip, from + clip.size());
}

void LineEditor::typeText(const QString& typed)
{
    // Typing, so that keys typed in a row are one step of the history.
    const qsizetype from = hasSelectedText() ? selectionStart() : cursor_;
    replaceText(from, selectionLength(), typed, from + typed.size(), EditKind::Typing);
}

bool LineEditor::keeps(const QString&) const { return true; }

void LineEditor::refused() {}

// --- moving by characters and words ----------------------------------------

qsizetype LineEditor::snapped(qsizetype position) const
{
    position = std::clamp<qsizetype>(position, 0, text_.size());
    if (position > 0 && position < text_.size() && text_.at(position).isLowSurrogate()
        && text_.at(position - 1).isHighSurrogate())
        --position;
    return position;
}

qsizetype LineEditor::nextCharacter(qsizetype position) const
{
    if (position >= text_.size())
        return text_.size();
    // Graphemes are found in a piece after the position, grown until the
    // boundary is inside it.
    for (qsizetype span = 32;; span *= 4) {
        const qsizetype end = std::min(text_.size(), position + span);
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text_.constData() + position, end - position);
        const qsizetype next = finder.toNextBoundary();
        if (next > 0 && (next < end - position || end == text_.size()))
            return position + next;
        if (end == text_.size())
            return end;
    }
}

qsizetype LineEditor::previousCharacter(qsizetype position) const
{
    if (position <= 0)
        return 0;
    position = std::min(position, text_.size());
    for (qsizetype span = 32;; span *= 4) {
        const qsizetype start = std::max<qsizetype>(0, position - span);
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text_.constData() + start, position - start);
        finder.setPosition(position - start);
        const qsizetype previous = finder.toPreviousBoundary();
        if (previous > 0 || start == 0)
            return start + std::max<qsizetype>(previous, 0);
    }
}

qsizetype LineEditor::nextWord(qsizetype position) const
{
    const qsizetype size = text_.size();
    if (position >= size)
        return size;
    if (isWordSeparator(text_.at(position))) {
        ++position;
        while (position < size && isWordSeparator(text_.at(position)))
            ++position;
    } else {
        while (position < size && !text_.at(position).isSpace() && !isWordSeparator(text_.at(position)))
            ++position;
    }
    while (position < size && text_.at(position).isSpace())
        ++position;
    return position;
}

qsizetype LineEditor::previousWord(qsizetype position) const
{
    position = std::min(position, text_.size());
    while (position > 0 && text_.at(position - 1).isSpace())
        --position;
    if (position > 0 && isWordSeparator(text_.at(position - 1))) {
        while (position > 0 && isWordSeparator(text_.at(position - 1)))
            --position;
    } else {
        while (position > 0 && !text_.at(position - 1).isSpace() && !isWordSeparator(text_.at(position - 1)))
            --position;
    }
    return position;
}

void LineEditor::selectWordAt(qsizetype position)
{
    const qsizetype next = std::min(position + 1, text_.size());
    const qsizetype start = previousWord(next);
    qsizetype end = nextWord(start);
    while (end > position && end > start && text_.at(end - 1).isSpace())
        --end;
    setCursorAndAnchor(end, start);
}

// --- keys ------------------------------------------------------------------

bool LineEditor::isEditingShortcut(QKeyEvent* event) const
{
    using K = QKeySequence;
    static constexpr K::StandardKey keys[] = {
        K::Copy, K::Paste, K::Cut, K::Redo, K::Undo, K::SelectAll,
        K::MoveToNextWord, K::MoveToPreviousWord, K::MoveToStartOfLine, K::MoveToEndOfLine,
        K::MoveToStartOfBlock, K::MoveToEndOfBlock, K::MoveToStartOfDocument, K::MoveToEndOfDocument,
        K::SelectNextWord, K::SelectPreviousWord, K::SelectStartOfLine, K::SelectEndOfLine,
        K::SelectStartOfBlock, K::SelectEndOfBlock, K::SelectStartOfDocument, K::SelectEndOfDocument,
        K::DeleteStartOfWord, K::DeleteEndOfWord, K::DeleteEndOfLine, K::DeleteCompleteLine,
    };
    for (K::StandardKey key : keys)
        if (event->matches(key))
            return true;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier || modifiers == Qt::KeypadModifier) {
        if (event->key() < Qt::Key_Escape)
            return true;
        switch (event->key()) {
        case Qt::Key_Delete:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Backspace:
        case Qt::Key_Left:
        case Qt::Key_Right:
            return true;
        default:
            break;
        }
    }
    return false;
}

bool LineEditor::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isEditingShortcut(key)) {
            key->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void LineEditor::keyPressEvent(QKeyEvent* event)
{
    bool handled = false;
    guarded([&] {
        handled = handleKey(event);
        // A selection made with keys is there for a middle-click, as one
        // made with the mouse.
        if (handled)
            copyToSelectionClipboard();
    });
    if (handled)
        event->accept();
    else
        event->ignore();
}

bool LineEditor::handleKey(QKeyEvent* event)
{
    using K = QKeySequence;
    const qsizetype size = text_.size();
    // The clipboard keys first: Shift+Delete cuts and Shift+Insert pastes.
    if (event->matches(K::Undo)) {
        undo();
    } else if (event->matches(K::Redo)) {
        redo();
    } else if (event->matches(K::SelectAll)) {
        selectAll();
    } else if (event->matches(K::Copy)) {
        copy();
    } else if (event->matches(K::Paste)) {
        // Bound with X11 keys only, Ctrl+Shift+Insert pastes the selection.
        if (event->key() == Qt::Key_Insert && event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier))
            pasteFrom(QClipboard::Selection);
        else
            paste();
    } else if (event->matches(K::Cut)) {
        cut();
    } else if (event->matches(K::DeleteEndOfLine)) {
        if (cursor_ < size) {
            setCursorAndAnchor(size, cursor_);
            cut();
        }
    } else if (event->matches(K::DeleteCompleteLine)) {
        selectAll();
        cut();
    } else if (event->matches(K::MoveToStartOfLine) || event->matches(K::MoveToStartOfBlock)
               || event->matches(K::MoveToStartOfDocument)) {
        moveCursor(0, false);
    } else if (event->matches(K::MoveToEndOfLine) || event->matches(K::MoveToEndOfBlock)
               || event->matches(K::MoveToEndOfDocument)) {
        moveCursor(size, false);
    } else if (event->matches(K::SelectStartOfLine) || event->matches(K::SelectStartOfBlock)
               || event->matches(K::SelectStartOfDocument)) {
        moveCursor(0, true);
    } else if (event->matches(K::SelectEndOfLine) || event->matches(K::SelectEndOfBlock)
               || event->matches(K::SelectEndOfDocument)) {
        moveCursor(size, true);
    } else if (event->matches(K::MoveToNextChar)) {
        moveCursor(hasSelectedText() ? selectionEnd() : nextCharacter(cursor_), false);
    } else if (event->matches(K::SelectNextChar)) {
        moveCursor(nextCharacter(cursor_), true);
    } else if (event->matches(K::MoveToPreviousChar)) {
        moveCursor(hasSelectedText() ? selectionStart() : previousCharacter(cursor_), false);
    } else if (event->matches(K::SelectPreviousChar)) {
        moveCursor(previousCharacter(cursor_), true);
    } else if (event->matches(K::MoveToNextWord)) {
        moveCursor(nextWord(cursor_), false);
    } else if (event->matches(K::MoveToPreviousWord)) {
        moveCursor(previousWord(cursor_), false);
    } else if (event->matches(K::SelectNextWord)) {
        moveCursor(nextWord(cursor_), true);
    } else if (event->matches(K::SelectPreviousWord)) {
        moveCursor(previousWord(cursor_), true);
    } else if (event->matches(K::DeleteEndOfWord)) {
        deleteTo(nextWord(cursor_));
    } else if (event->matches(K::DeleteStartOfWord)) {
        deleteTo(previousWord(cursor_));
    } else if (event->matches(K::Delete)) {
        del();
    } else if (event->key() == Qt::Key_Backspace && (event->modifiers() & Qt::ControlModifier)) {
        // Ctrl+Shift+Backspace and the like are still Ctrl+Backspace.
        deleteTo(previousWord(cursor_));
    } else if (event->key() == Qt::Key_Backspace) {
        // With Alt or Meta too, unless bound (Alt+Backspace undoes with
        // Windows bindings), still a Backspace.
        backspace();
    } else {
        if (!typesText(event))
            return false;
        typeText(event->text());
    }
    return true;
}

// --- input methods ---------------------------------------------------------

void LineEditor::inputMethodEvent(QInputMethodEvent* event)
{
    guarded([&] {
        const QString commit = event->commitString();
        if (event->replacementLength() > 0 || !commit.isEmpty()) {
            if (event->replacementLength() > 0) {
                const qsizetype from = std::clamp<qsizetype>(cursor_ + event->replacementStart(), 0, text_.size());
                setCursorAndAnchor(from + event->replacementLength(), from);
            }
            if (!commit.isEmpty())
                typeText(commit);
            else
                removeSelection(EditKind::Other);
        }
        const QString preedit = event->preeditString();
        if (!preedit.isEmpty() && hasSelectedText())
            removeSelection(EditKind::Other);
        preedit_ = preedit;
        preeditCursor_ = static_cast<int>(preedit.size());
        for (const QInputMethodEvent::Attribute& a : event->attributes())
            if (a.type == QInputMethodEvent::Cursor)
                preeditCursor_ = std::clamp(a.start, 0, static_cast<int>(preedit.size()));
        invalidateView();
        update();
        // The caret moves within the composition.
        updateMicroFocus();
    });
    event->accept();
}

QVariant LineEditor::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const qsizetype first = std::min(cursor_, anchor_);
    const qsizetype last = std::max(cursor_, anchor_);
    const qsizetype from = snapped(first - kSurrounding);
    const qsizetype to = snapped(last + kSurrounding);
    switch (query) {
    case Qt::ImEnabled:
        return isEnabled();
    case Qt::ImCursorRectangle:
        return cursorRect();
    case Qt::ImAnchorRectangle: {
        const QRect r = cursorRect();
        return QRect(static_cast<int>(xOf(anchor_)), r.y(), r.width(), r.height());
    }
    case Qt::ImFont:
        return font();
    case Qt::ImCursorPosition:
        return static_cast<int>(cursor_ - from);
    case Qt::ImAnchorPosition:
        return static_cast<int>(anchor_ - from);
    case Qt::ImSurroundingText:
        return text_.mid(from, to - from);
    case Qt::ImTextBeforeCursor:
        return text_.mid(snapped(cursor_ - kSurrounding), cursor_ - snapped(cursor_ - kSurrounding));
    case Qt::ImTextAfterCursor:
        return text_.mid(cursor_, snapped(cursor_ + kSurrounding) - cursor_);
    case Qt::ImCurrentSelection:
        return selectedText();
    case Qt::ImAbsolutePosition:
        return static_cast<int>(cursor_);
    case Qt::ImReadOnly:
        return false;
    default:
        return QWidget::inputMethodQuery(query);
    }
}

// --- mouse -----------------------------------------------------------------

void LineEditor::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        event->ignore();
        return;
    }
    pressPoint_ = at;
    dragCandidate_ = false;
    selecting_ = false;
    if (tripleClick_.isActive()
        && (at - tripleClickPoint_).manhattanLength() < QApplication::startDragDistance()) {
        selectAll();
        tripleClick_.stop();
        return;
    }
    const qsizetype position = cursorPositionAt(at);
    const bool mark = (event->modifiers() & Qt::ShiftModifier) && event->button() == Qt::LeftButton;
    if (event->button() == Qt::LeftButton && !mark && hasSelectedText() && position >= selectionStart()
        && position <= selectionEnd()) {
        dragCandidate_ = true; // a drag may start; a release places the caret
        return;
    }
    moveCursor(position, mark);
    selecting_ = event->button() == Qt::LeftButton;
}

void LineEditor::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint at = event->position().toPoint();
    if (dragCandidate_) {
        if ((at - pressPoint_).manhattanLength() < QApplication::startDragDistance())
            return;
        dragCandidate_ = false;
        guarded([&] {
            const qsizetype start = selectionStart();
            const QString dragged = selectedText();
            auto* mime = new QMimeData;
            mime->setText(dragged);
            auto* drag = new QDrag(this);
            drag->setMimeData(mime);
            const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::MoveAction);
            // A move to another place takes the text away here; a move
            // within this editor was done by its drop.
            if (action == Qt::MoveAction && drag->target() != this
                && text_.mid(start, dragged.size()) == dragged) {
                replaceText(start, dragged.size(), QString(), start, EditKind::Other);
            }
        });
        return;
    }
    if (selecting_)
        moveCursor(positionAtX(at.x()), true);
}

void LineEditor::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    guarded([&] {
        if (event->button() == Qt::LeftButton) {
            if (dragCandidate_) {
                dragCandidate_ = false;
                moveCursor(cursorPositionAt(at), false);
            }
            selecting_ = false;
            copyToSelectionClipboard();
        } else if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
            deselect();
            pasteFrom(QClipboard::Selection);
        }
    });
}

void LineEditor::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    dragCandidate_ = false;
    selecting_ = false;
    selectWordAt(cursorPositionAt(at));
    copyToSelectionClipboard();
    tripleClickPoint_ = at;
    tripleClick_.start(QApplication::doubleClickInterval(), this);
}

void LineEditor::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

QMenu* LineEditor::createStandardContextMenu()
{
    auto tr = [](const char* text) { return QCoreApplication::translate("QLineEdit", text); };
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("qt_edit_menu"));
    // The slots run from a menu: nothing may be thrown back into Qt.
    auto add = [&](const char* text, QKeySequence::StandardKey key, const char* name, bool enabled, auto slot) {
        QAction* action = menu->addAction(tr(text) + shortcutSuffix(key));
        action->setObjectName(QString::fromLatin1(name));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, [this, slot] { guarded([&] { (this->*slot)(); }); });
        return action;
    };
    const bool selection = hasSelectedText();
    add(QT_TRANSLATE_NOOP("QLineEdit", "&Undo"), QKeySequence::Undo, "edit-undo", isUndoAvailable(),
        &LineEditor::undo);
    add(QT_TRANSLATE_NOOP("QLineEdit", "&Redo"), QKeySequence::Redo, "edit-redo", isRedoAvailable(),
        &LineEditor::redo);
    menu->addSeparator();
    add(QT_TRANSLATE_NOOP("QLineEdit", "Cu&t"), QKeySequence::Cut, "edit-cut", selection, &LineEditor::cut);
    QAction* copyAction = menu->addAction(tr(QT_TRANSLATE_NOOP("QLineEdit", "&Copy"))
                                          + shortcutSuffix(QKeySequence::Copy));
    copyAction->setObjectName(QStringLiteral("edit-copy"));
    copyAction->setEnabled(selection);
    connect(copyAction, &QAction::triggered, this, [this] { guarded([&] { copy(); }); });
    add(QT_TRANSLATE_NOOP("QLineEdit", "&Paste"), QKeySequence::Paste, "edit-paste",
        !QGuiApplication::clipboard()->text().isEmpty(), &LineEditor::paste);
    QAction* remove = menu->addAction(tr(QT_TRANSLATE_NOOP("QLineEdit", "Delete")));
    remove->setObjectName(QStringLiteral("edit-delete"));
    remove->setEnabled(selection);
    connect(remove, &QAction::triggered, this, [this] { guarded([&] { removeSelection(EditKind::Other); }); });
    menu->addSeparator();
    add(QT_TRANSLATE_NOOP("QLineEdit", "Select All"), QKeySequence::SelectAll, "select-all",
        !text_.isEmpty() && selectionLength() != text_.size(), &LineEditor::selectAll);
    return menu;
}

// --- drag and drop ---------------------------------------------------------

void LineEditor::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasText())
        event->acceptProposedAction();
}

void LineEditor::dragMoveEvent(QDragMoveEvent* event)
{
    if (!event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    dropCursor_ = cursorPositionAt(event->position().toPoint());
    event->acceptProposedAction();
    update();
}

void LineEditor::dragLeaveEvent(QDragLeaveEvent*)
{
    dropCursor_ = -1;
    update();
}

void LineEditor::dropEvent(QDropEvent* event)
{
    dropCursor_ = -1;
    update();
    const QString dropped = event->mimeData()->text();
    if (dropped.isNull()) {
        event->ignore();
        return;
    }
    guarded([&] {
        qsizetype at = cursorPositionAt(event->position().toPoint());
        const bool moveHere = event->source() == this && event->dropAction() == Qt::MoveAction && hasSelectedText();
        if (!moveHere) {
            event->acceptProposedAction();
            deselect();
            replaceChecked(at, 0, dropped, at + dropped.size());
            return;
        }
        const qsizetype start = selectionStart();
        const qsizetype end = selectionEnd();
        if (at >= start && at <= end) {
            event->acceptProposedAction(); // dropped onto itself
            return;
        }
        // Moved within the text: one edit over the span both ends touch.
        const qsizetype from = std::min(start, at);
        const qsizetype to = std::max(end, at);
        QString span = text_.mid(from, to - from);
        span.remove(start - from, end - start);
        const qsizetype insertAt = at < start ? at - from : at - from - (end - start);
        span.insert(insertAt, dropped);
        event->acceptProposedAction();
        replaceChecked(from, to - from, span, from + insertAt + dropped.size());
    });
}

// --- focus, blinking -------------------------------------------------------

void LineEditor::focusInEvent(QFocusEvent* event)
{
    const Qt::FocusReason reason = event->reason();
    if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
        && !hasSelectedText())
        selectAll();
    restartBlink();
    QWidget::focusInEvent(event);
}

void LineEditor::focusOutEvent(QFocusEvent* event)
{
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        deselect();
    blink_.stop();
    cursorOn_ = false;
    update();
    QWidget::focusOutEvent(event);
}

void LineEditor::restartBlink()
{
    update();
    if (!hasFocus()) {
        blink_.stop();
        cursorOn_ = false;
        return;
    }
    cursorOn_ = true;
    const int interval = QGuiApplication::styleHints()->cursorFlashTime() / 2;
    if (interval > 0)
        blink_.start(interval, this);
    else
        blink_.stop();
}

void LineEditor::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == blink_.timerId()) {
        cursorOn_ = !cursorOn_;
        update();
    } else if (event->timerId() == tripleClick_.timerId()) {
        tripleClick_.stop();
    } else {
        QWidget::timerEvent(event);
    }
}

// --- layout and drawing ----------------------------------------------------

void LineEditor::setTextMargins(const QMargins& margins)
{
    if (margins == margins_)
        return;
    margins_ = margins;
    invalidateView();
    updateGeometry();
    update();
    updateMicroFocus();
}

void LineEditor::initStyleOption(QStyleOptionFrame* option) const
{
    option->initFrom(this);
    option->rect = contentsRect();
    option->lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, option, this);
    option->midLineWidth = 0;
    option->state |= QStyle::State_Sunken;
    option->features = QStyleOptionFrame::None;
}

QRect LineEditor::textArea() const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_LineEditContents, &option, this).marginsRemoved(margins_);
}

QRect LineEditor::lineRect() const
{
    const QRect area = textArea();
    const int height = QFontMetrics(font()).height();
    const int top = area.y() + (area.height() - height + 1) / 2;
    return QRect(area.x() + kHorizontalMargin, top, std::max(1, area.width() - 2 * kHorizontalMargin), height);
}

void LineEditor::layOut(QTextLayout& layout, qsizetype from, qsizetype count, bool withPreedit) const
{
    QString shown = text_.mid(from, count);
    QList<QTextLayout::FormatRange> formats;
    if (withPreedit && !preedit_.isEmpty() && cursor_ >= from && cursor_ <= from + count) {
        shown.insert(cursor_ - from, preedit_);
        QTextCharFormat underline;
        underline.setFontUnderline(true);
        formats.append({static_cast<int>(cursor_ - from), static_cast<int>(preedit_.size()), underline});
    }
    layout.clearLayout();
    layout.setText(shown);
    layout.setFont(font());
    layout.setFormats(formats);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    layout.setTextOption(option);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
}

void LineEditor::buildView() const
{
    viewStart_ = snapped(viewStart_);
    const qreal needed = lineRect().width() + viewShift_ + 1;
    for (qsizetype count = 64;; count *= 4) {
        const qsizetype end = std::max(viewStart_, snapped(viewStart_ + count));
        layOut(view_, viewStart_, end - viewStart_, true);
        viewLength_ = end - viewStart_;
        if (end >= text_.size() || view_.lineAt(0).naturalTextWidth() >= needed || count >= kMostLaidOut)
            break;
    }
    viewValid_ = true;
}

void LineEditor::placeAtRightEdge(qsizetype position, qreal target) const
{
    QTextLayout probe;
    probe.setCacheEnabled(true);
    for (qsizetype count = 64;; count *= 4) {
        const qsizetype from = snapped(position - count);
        layOut(probe, from, position - from, false);
        const QTextLine line = probe.lineAt(0);
        const qreal width = line.naturalTextWidth();
        if (width >= target) {
            const int index = line.xToCursor(width - target, QTextLine::CursorOnCharacter);
            viewStart_ = from + index;
            viewShift_ = std::max<qreal>(0, width - target - line.cursorToX(index));
            return;
        }
        if (from == 0 || count >= kMostLaidOut) {
            viewStart_ = from;
            viewShift_ = 0;
            return;
        }
    }
}

void LineEditor::updateView() const
{
    if (viewStart_ > text_.size()) {
        viewStart_ = text_.size();
        viewValid_ = false;
    }
    if (!viewValid_)
        buildView();
    const qreal target = lineRect().width() - 1;
    if (cursor_ < viewStart_ || (cursor_ == viewStart_ && viewShift_ > 0)) {
        // The caret went left of what is shown: show it at the left edge.
        viewStart_ = cursor_;
        viewShift_ = 0;
        buildView();
    }
    const qreal caretX = cursor_ <= viewEnd() ? view_.lineAt(0).cursorToX(caretInView())
                                              : std::numeric_limits<qreal>::infinity();
    if (caretX - viewShift_ > target) {
        // A caret inside a composition stands that far right of cursor_.
        const qreal composed = QFontMetricsF(font()).horizontalAdvance(preedit_.left(preeditCursor_));
        placeAtRightEdge(cursor_, target - composed);
        buildView();
    } else if ((viewStart_ > 0 || viewShift_ > 0) && viewEnd() == text_.size()
               && view_.lineAt(0).naturalTextWidth() - viewShift_ < target) {
        // Room is left after the end: pull the end to the right edge.
        placeAtRightEdge(text_.size(), target);
        buildView();
    }
}

int LineEditor::caretInView() const { return toView(cursor_) + preeditCursor_; }

bool LineEditor::composingInView() const
{
    return !preedit_.isEmpty() && cursor_ >= viewStart_ && cursor_ <= viewEnd();
}

int LineEditor::toView(qsizetype position) const
{
    qsizetype index = std::clamp(position, viewStart_, viewEnd()) - viewStart_;
    if (position > cursor_ && composingInView())
        index += preedit_.size();
    return static_cast<int>(index);
}

qsizetype LineEditor::fromView(int index) const
{
    qsizetype position = viewStart_ + index;
    if (position > cursor_ && composingInView())
        position = std::max(cursor_, position - preedit_.size());
    return std::clamp<qsizetype>(position, 0, text_.size());
}

qreal LineEditor::xOf(qsizetype position) const
{
    updateView();
    const qreal left = lineRect().left() - viewShift_;
    if (position < viewStart_)
        return left;
    return left + view_.lineAt(0).cursorToX(toView(position));
}

qsizetype LineEditor::positionAtX(qreal x) const
{
    updateView();
    const QRect line = lineRect();
    // Beyond the edges, one character further each time, so that a drag
    // out of the editor scrolls it.
    if (x < line.left() && viewStart_ > 0)
        return previousCharacter(viewStart_);
    const int index = view_.lineAt(0).xToCursor(x - line.left() + viewShift_);
    return fromView(index);
}

int LineEditor::cursorPositionAt(const QPoint& point) const { return static_cast<int>(positionAtX(point.x())); }

QRect LineEditor::cursorRect() const
{
    // While composing, the caret is inside the composed text (where the
    // input method puts its window).
    updateView();
    const int x = static_cast<int>(lineRect().left() - viewShift_ + view_.lineAt(0).cursorToX(caretInView()));
    const QRect line = lineRect();
    const int width = style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this);
    return QRect(x - 2, line.top(), width + 4, line.height());
}

QRect LineEditor::characterRect(int position) const
{
    if (position < 0 || position >= text_.size())
        return {};
    updateView();
    const qsizetype start = previousCharacter(position + 1);
    const qsizetype end = nextCharacter(start);
    if (start < viewStart_ || end > viewEnd())
        return {};
    // The character at the caret comes after a composition.
    int from = toView(start);
    if (start == cursor_ && composingInView())
        from += static_cast<int>(preedit_.size());
    const QTextLine layoutLine = view_.lineAt(0);
    const QRect line = lineRect();
    const qreal origin = line.left() - viewShift_;
    const int a = qRound(origin + layoutLine.cursorToX(from));
    const int b = qRound(origin + layoutLine.cursorToX(toView(end)));
    // Right-to-left runs are drawn right to left.
    const int left = std::min(a, b);
    const int right = std::max(a, b);
    if (right <= left)
        return {};
    return QRect(left, line.top(), right - left, line.height()).intersected(textArea());
}

int LineEditor::characterAt(const QPoint& point) const
{
    if (!textArea().contains(point))
        return -1;
    updateView();
    // At the pixel's centre, as characterRect() rounds.
    const int index = view_.lineAt(0).xToCursor(point.x() + 0.5 - lineRect().left() + viewShift_,
                                                 QTextLine::CursorOnCharacter);
    const qsizetype found = previousCharacter(fromView(index) + 1);
    // Rounding may put the pixel in a neighbour's rectangle; past either
    // end of the text, or on a composition, it is in none.
    for (const qsizetype position : {found, previousCharacter(found), nextCharacter(found)}) {
        if (position >= text_.size())
            continue;
        const QRect r = characterRect(static_cast<int>(position));
        if (!r.isEmpty() && point.x() >= r.left() && point.x() <= r.right())
            return static_cast<int>(position);
    }
    return -1;
}

void LineEditor::drawPanel(QPainter& painter) const
{
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
}

QRect LineEditor::innerTextArea() const
{
    return textArea().adjusted(kHorizontalMargin, kVerticalMargin, -kHorizontalMargin, -kVerticalMargin);
}

void LineEditor::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawPanel(painter);

    const QRect area = textArea();
    painter.setClipRect(area);
    updateView();
    const QRect line = lineRect();
    const QPointF origin(line.left() - viewShift_, line.top());

    const QPalette& pal = palette();
    const QPalette::ColorGroup group = !isEnabled() ? QPalette::Disabled
                                       : isActiveWindow() ? QPalette::Active
                                                          : QPalette::Inactive;
    QList<QTextLayout::FormatRange> selections;
    if (hasSelectedText() && selectionEnd() > viewStart_ && selectionStart() < viewEnd()) {
        QTextLayout::FormatRange range;
        range.start = toView(selectionStart());
        range.length = toView(selectionEnd()) - range.start;
        range.format.setBackground(pal.brush(group, QPalette::Highlight));
        range.format.setForeground(pal.brush(group, QPalette::HighlightedText));
        selections.append(range);
    }
    painter.setPen(pal.color(group, QPalette::Text));
    view_.draw(&painter, origin, selections, area);

    const int cursorWidth = style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this);
    if (hasFocus() && cursorOn_ && cursor_ >= viewStart_ && cursor_ <= viewEnd())
        view_.drawCursor(&painter, origin, caretInView(), cursorWidth);
    if (dropCursor_ >= viewStart_ && dropCursor_ <= viewEnd())
        view_.drawCursor(&painter, origin, toView(dropCursor_), cursorWidth);
}

void LineEditor::resizeEvent(QResizeEvent* event)
{
    // The view scrolls to keep the caret in sight: the caret may move.
    invalidateView();
    updateMicroFocus();
    QWidget::resizeEvent(event);
}

void LineEditor::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange:
        invalidateView();
        updateGeometry();
        update();
        updateMicroFocus();
        break;
    case QEvent::ActivationChange:
    case QEvent::EnabledChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

QSize LineEditor::sizeHint() const
{
    ensurePolished();
    const QFontMetrics fm(font());
    const int height = std::max(fm.height(), 14) + 2 * kVerticalMargin + margins_.top() + margins_.bottom();
    const int width = fm.horizontalAdvance(u'x') * 17 + 2 * kHorizontalMargin + margins_.left() + margins_.right();
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, height), this);
}

QSize LineEditor::minimumSizeHint() const
{
    ensurePolished();
    const QFontMetrics fm(font());
    const int height = fm.height() + std::max(2 * kVerticalMargin, fm.leading()) + margins_.top() + margins_.bottom();
    const int width = fm.maxWidth() + margins_.left() + margins_.right();
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, height), this);
}

} // namespace brindelor::widgets
