#include "link_label.h"

#include "fonts.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace brindelor::widgets {

namespace {

// QPainter::setFont fills whatever a font leaves unset from the widget's own
// font, so a hot font that does not say "not underlined" would inherit the
// link's underline. Pin every style attribute.
QFont pinned(QFont f) {
  f.setWeight(f.weight());
  f.setItalic(f.italic());
  f.setUnderline(f.underline());
  f.setStrikeOut(f.strikeOut());
  f.setOverline(f.overline());
  return f;
}

// Screen readers see a link named by its caption, with a press action.
class LinkLabelAccessible : public QAccessibleWidget {
 public:
  explicit LinkLabelAccessible(LinkLabel* label)
      : QAccessibleWidget(label, QAccessible::Link) {}

  QString text(QAccessible::Text t) const override {
    switch (t) {
      case QAccessible::Name:
        return label()->accessibleName().isEmpty() ? label()->caption()
                                                   : label()->accessibleName();
      case QAccessible::Value:
        return label()->url().toString();
      default:
        return QAccessibleWidget::text(t);
    }
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.linked = true;
    s.hotTracked = label()->isHot();
    return s;
  }

  QStringList actionNames() const override { return {pressAction()}; }

  void doAction(const QString& action) override {
    if (action == pressAction() && label()->isEnabled()) label()->activate();
  }

 private:
  LinkLabel* label() const { return static_cast<LinkLabel*>(widget()); }
};

QAccessibleInterface* linkLabelAccessibleFactory(const QString& className,
                                                 QObject* object) {
  if (className == QLatin1String(LinkLabel::staticMetaObject.className()) &&
      object != nullptr && object->isWidgetType()) {
    return new LinkLabelAccessible(static_cast<LinkLabel*>(object));
  }
  return nullptr;
}

}  // namespace

LinkLabel::LinkLabel(const QString& caption, const QUrl& url, QWidget* parent)
    : QWidget(parent), caption_(caption), url_(url), hotFont_(pinned(windowFont())),
      linkColor_(0, 0, 255) {
  static const bool accessibleInstalled = [] {
    QAccessible::installFactory(linkLabelAccessibleFactory);
    return true;
  }();
  (void)accessibleInstalled;

  QFont declared = windowFont();
  declared.setBold(true);
  declared.setUnderline(true);
  setFont(declared);

  // Transparent: no autoFillBackground, and paintEvent draws only the text.
  setCursor(Qt::ArrowCursor);
  setFocusPolicy(Qt::NoFocus);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  // Moves without a button tell us that a drag which began elsewhere is over.
  setMouseTracking(true);

  appActive_ = QGuiApplication::applicationState() == Qt::ApplicationActive;
  connect(qApp, &QGuiApplication::applicationStateChanged, this,
          [this](Qt::ApplicationState state) {
            appActive_ = state == Qt::ApplicationActive;
            updateHot();
          });
  fitToCaption();
}

void LinkLabel::setCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  fitToCaption();
  update();
}

void LinkLabel::setShadow(bool on) {
  if (on == shadow_) return;
  shadow_ = on;
  fitToCaption();
  update();
}

void LinkLabel::setHotTrackFont(const QFont& font) {
  hotFont_ = pinned(font);
  fitToCaption();
  update();
}

void LinkLabel::setLinkColor(const QColor& color) {
  linkColor_ = color;
  update();
}

QColor LinkLabel::captionColor() const {
  if (!isEnabled()) return palette().color(QPalette::Disabled, QPalette::WindowText);
  return hot_ ? palette().color(QPalette::WindowText) : linkColor_;
}

QSize LinkLabel::sizeHint() const {
  // Big enough for the caption in either font, so hot tracking never cuts it.
  const QFontMetrics declared(font());
  const QFontMetrics hot(hotFont_);
  // The ink may pass the advance: an emboldened face (Wine's Tahoma has no
  // real bold) widens its last glyph by a pixel.
  const auto inkWidth = [this](const QFontMetrics& fm) {
    return std::max(fm.horizontalAdvance(caption_), fm.boundingRect(caption_).right() + 1);
  };
  const int width = std::max(inkWidth(declared), inkWidth(hot));
  const int height = std::max(declared.height(), hot.height());
  const int extra = shadow_ ? kShadowOffset : 0;
  return {width + extra, height + extra};
}

void LinkLabel::fitToCaption() {
  updateGeometry();
  resize(sizeHint());
}

void LinkLabel::activate() { emit activated(); }

void LinkLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(captionFont());
  const int extra = shadow_ ? kShadowOffset : 0;
  const QRect textRect = rect().adjusted(0, 0, -extra, -extra);
  constexpr int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
  if (shadow_) {
    painter.setPen(palette().color(QPalette::Light));
    painter.drawText(textRect.translated(kShadowOffset, kShadowOffset), flags, caption_);
  }
  painter.setPen(captionColor());
  painter.drawText(textRect, flags, caption_);
}

void LinkLabel::enterEvent(QEnterEvent* event) {
  mouseInside_ = true;
  dragFromElsewhere_ = !pressedInside_ && QGuiApplication::mouseButtons() != Qt::NoButton;
  updateHot();
  QWidget::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
  mouseInside_ = false;
  dragFromElsewhere_ = false;
  updateHot();
  QWidget::leaveEvent(event);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  pressedInside_ = true;
  event->accept();
}

void LinkLabel::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() == Qt::NoButton) dragFromElsewhere_ = false;
  // While our own press holds the mouse, Qt sends no leave: follow the position.
  if (pressedInside_) mouseInside_ = rect().contains(event->position().toPoint());
  updateHot();
  event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressedInside_) {
    event->ignore();
    return;
  }
  pressedInside_ = false;
  event->accept();
  if (rect().contains(event->position().toPoint())) activate();
}

void LinkLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  // The press of a double click starts no click of its own: the first click
  // has activated the label already, the second release must not again.
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  pressedInside_ = false;
  event->accept();
}

void LinkLabel::changeEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::EnabledChange:
      if (!isEnabled()) pressedInside_ = false;
      updateHot();
      update();
      break;
    case QEvent::FontChange:
      fitToCaption();
      update();
      break;
    case QEvent::PaletteChange:
      update();
      break;
    default:
      break;
  }
  QWidget::changeEvent(event);
}

void LinkLabel::updateHot() {
  const bool hot = mouseInside_ && appActive_ && isEnabled() && !dragFromElsewhere_;
  if (hot == hot_) return;
  hot_ = hot;
  update();
  if (QAccessible::isActive()) {
    QAccessible::State changed;
    changed.hotTracked = true;
    QAccessibleStateChangeEvent ev(this, changed);
    QAccessible::updateAccessibility(&ev);
  }
}

}  // namespace brindelor::widgets
