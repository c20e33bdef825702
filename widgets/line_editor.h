#pragma once
// A one-line text editor that never lays out more of its text than it
// shows. QLineEdit shapes and measures its whole line on every change and
// every paint, which takes a second or so for a megabyte; this editor keeps
// the text, the caret, the selection and the undo history itself and hands
// Qt only the few characters around the visible part.
//
// It behaves as a plain line edit: keys and shortcuts, the mouse (click,
// drag to select, double- and triple-click, middle-click paste, drag and
// drop), the context menu, input methods and accessibility. A subclass
// decides what typing does (typeText) and which pasted, dropped or redone
// text it keeps (keeps); a refusal calls refused().

#include <QBasicTimer>
#include <QMargins>
#include <QPoint>
#include <QString>
#include <QTextLayout>
#include <QWidget>

#include <vector>

class QMenu;
class QMimeData;
class QPainter;
class QStyleOptionFrame;

namespace brindelor::widgets {

class LineEditor : public QWidget {
    Q_OBJECT
public:
    explicit LineEditor(QWidget* parent = nullptr);
    ~LineEditor() override;

    QString text() const { return text_; }
    // Replaces the text as a program does: no check, the undo history
    // cleared, the caret at the end.
    void setText(const QString& text);

    int cursorPosition() const { return static_cast<int>(cursor_); }
    void setCursorPosition(int position);
    bool hasSelectedText() const { return cursor_ != anchor_; }
    QString selectedText() const;
    // -1 when nothing is selected.
    int selectionStart() const;
    int selectionEnd() const;
    int selectionLength() const;
    // The anchor at start, the caret at start + length (length may be
    // negative).
    void setSelection(int start, int length);
    void selectAll();
    void deselect();

    // Replaces the selection (or inserts at the caret), unchecked: one step
    // of the undo history.
    void insert(const QString& text);

    bool isUndoAvailable() const { return undone_ > 0; }
    bool isRedoAvailable() const { return undone_ < history_.size(); }

    void setTextMargins(const QMargins& margins);
    QMargins textMargins() const { return margins_; }

    // The position nearest to a point of the widget.
    int cursorPositionAt(const QPoint& point) const;

    QMenu* createStandardContextMenu();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    // The rectangle of the caret, in widget coordinates.
    QRect cursorRect() const;
    // Where the character at position is drawn, in widget coordinates and
    // clipped to the text area (any unit of a grapheme gives the whole
    // grapheme); empty when out of range or not shown.
    QRect characterRect(int position) const;
    // The character drawn under a point of the widget, -1 where none is.
    int characterAt(const QPoint& point) const;

public slots:
    void undo();
    // Checked like a paste: a redo the subclass would not keep is refused.
    void redo();
    void cut();
    void copy() const;
    // The clipboard text, checked before it goes in.
    void paste();
    void clear();

signals:
    void textChanged(const QString& text);
    void cursorPositionChanged(int oldPosition, int newPosition);
    void selectionChanged();

protected:
    enum class EditKind { Typing, Backspace, Delete, Other };

    // What typing a text does; by default it goes in as it is.
    virtual void typeText(const QString& typed);
    // Whether a paste, drop or redo that would leave this text is kept.
    virtual bool keeps(const QString& resulting) const;
    // A paste, drop or redo was refused.
    virtual void refused();

    // Replaces length units at position by inserted, then puts the caret
    // at caret: one step of the undo history, merged with the previous one
    // when both are typing (or deleting) in a row.
    void replaceText(qsizetype position, qsizetype length, const QString& inserted, qsizetype caret,
                     EditKind kind);

    virtual void initStyleOption(QStyleOptionFrame* option) const;
    // The line edit's frame and background, as the style draws them.
    void drawPanel(QPainter& painter) const;
    // Where text goes: inside the frame, the text margins and the small
    // inner margins a line edit keeps around its text.
    QRect innerTextArea() const;

    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct Step {
        qsizetype position;
        QString removed;
        QString inserted;
        qsizetype cursorBefore;
        qsizetype anchorBefore;
        EditKind kind;
    };

    bool handleKey(QKeyEvent* event);
    bool isEditingShortcut(QKeyEvent* event) const;
    void moveCursor(qsizetype position, bool mark);
    void setCursorAndAnchor(qsizetype cursor, qsizetype anchor);
    void removeSelection(EditKind kind);
    void backspace();
    void del();
    // Ctrl+Backspace and Ctrl+Delete: the selection, else up to position.
    void deleteTo(qsizetype position);
    // Asks keeps() with the text the edit would leave, and commits that.
    void replaceChecked(qsizetype position, qsizetype length, const QString& inserted, qsizetype caret);
    // Records the edit in the history and puts fresh, the text after it,
    // in place.
    void commitEdit(qsizetype position, QString removed, const QString& inserted, QString fresh, qsizetype caret,
                    EditKind kind);
    void pasteFrom(int mode);
    void applyText(QString text, qsizetype cursor, qsizetype anchor);
    void caretMoved(qsizetype oldCursor, bool hadSelection);
    void textReplaced(qsizetype position, const QString& removed, const QString& inserted);
    void separate() { mergeable_ = false; }

    qsizetype nextCharacter(qsizetype position) const;
    qsizetype previousCharacter(qsizetype position) const;
    qsizetype nextWord(qsizetype position) const;
    qsizetype previousWord(qsizetype position) const;
    void selectWordAt(qsizetype position);
    qsizetype snapped(qsizetype position) const;

    // What is shown: the line laid out from viewStart_, drawn viewShift_
    // pixels left of the line's left edge. Built on demand, so const
    // queries (input method, accessibility) may build it too.
    QRect textArea() const;
    QRect lineRect() const;
    void layOut(QTextLayout& layout, qsizetype from, qsizetype count, bool withPreedit) const;
    void buildView() const;
    void updateView() const;
    void placeAtRightEdge(qsizetype position, qreal target) const;
    qsizetype viewEnd() const { return viewStart_ + viewLength_; }
    int toView(qsizetype position) const;
    bool composingInView() const;
    // The caret's index in the view, inside a composition while composing.
    int caretInView() const;
    qsizetype fromView(int index) const;
    qreal xOf(qsizetype position) const;
    qsizetype positionAtX(qreal x) const;
    void invalidateView() { viewValid_ = false; }
    void restartBlink();
    void copyToSelectionClipboard() const;

    QString text_;
    qsizetype cursor_ = 0;
    qsizetype anchor_ = 0;

    std::vector<Step> history_;
    std::size_t undone_ = 0; // steps in history_ that are done
    bool mergeable_ = false;

    QMargins margins_;
    QString preedit_;
    int preeditCursor_ = 0;

    mutable qsizetype viewStart_ = 0;
    mutable qsizetype viewLength_ = 0;
    mutable qreal viewShift_ = 0;
    mutable bool viewValid_ = false;
    mutable QTextLayout view_;

    QBasicTimer blink_;
    bool cursorOn_ = false;

    QBasicTimer tripleClick_;
    QPoint tripleClickPoint_;
    QPoint pressPoint_;
    bool dragCandidate_ = false;
    bool selecting_ = false;
    qsizetype dropCursor_ = -1;
};

} // namespace brindelor::widgets
