#pragma once
// A link label: sized to its caption, transparent, blue bold underlined,
// hot-tracked to the regular window-text font while the mouse is over it,
// and activated by a click. What activation does is its owner's business.

#include <QColor>
#include <QFont>
#include <QString>
#include <QUrl>
#include <QWidget>

namespace brindelor::widgets {

class LinkLabel : public QWidget {
  Q_OBJECT

 public:
  LinkLabel(const QString& caption, const QUrl& url, QWidget* parent = nullptr);

  QString caption() const { return caption_; }
  void setCaption(const QString& caption);
  // The address, for screen readers (the accessible value).
  QUrl url() const { return url_; }

  // The shadow: the caption once more in the palette's button-highlight
  // colour (QPalette::Light), 2 px right and down, under the caption.
  bool hasShadow() const { return shadow_; }
  void setShadow(bool on);
  static constexpr int kShadowOffset = 2;

  // The declared font is QWidget::font() (set to Tahoma 11 px bold underlined
  // at construction; setFont() replaces it). The hot font replaces it while
  // hot-tracked and is drawn in the palette's window-text colour.
  QFont hotTrackFont() const { return hotFont_; }
  void setHotTrackFont(const QFont& font);
  QColor linkColor() const { return linkColor_; }
  void setLinkColor(const QColor& color);

  // Hot: the mouse is over the label, the application is active, the label
  // is enabled and no drag that began elsewhere is going on.
  bool isHot() const { return hot_; }
  // What the caption is drawn with now.
  QFont captionFont() const { return hot_ ? hotFont_ : font(); }
  QColor captionColor() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

  // What a click does (also the accessible action): emits activated().
  void activate();

 signals:
  // A left press and release inside the label; a double click counts once.
  void activated();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void updateHot();
  void fitToCaption();

  QString caption_;
  QUrl url_;
  QFont hotFont_;
  QColor linkColor_;
  bool shadow_ = false;
  bool hot_ = false;
  bool mouseInside_ = false;
  bool pressedInside_ = false;  // a left press began on us
  bool dragFromElsewhere_ = false;
  bool appActive_ = false;  // follows QGuiApplication::applicationStateChanged
};

}  // namespace brindelor::widgets
