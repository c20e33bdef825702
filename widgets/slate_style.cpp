#include "slate_style.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleFactory>
#include <QStyleOption>

#include <algorithm>

namespace brindelor::widgets {

namespace {

constexpr qreal kRadius = 2.5;

// Strokes land on pixel centres: crisp 1 px lines at any whole scale.
QRectF strokeRect(const QRect& r) { return QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5); }

bool enabled(const QStyleOption* o) { return o->state & QStyle::State_Enabled; }
bool hovered(const QStyleOption* o) { return enabled(o) && (o->state & QStyle::State_MouseOver); }

QColor frameColor(const QStyleOption* o) {
  return o->palette.color(enabled(o) ? QPalette::Active : QPalette::Disabled, QPalette::Dark);
}

void drawGroupFrame(const QStyleOption* o, QPainter* p) {
  // Etched: a slate line with a light line under it, square-ish corners.
  const QRect r = o->rect.adjusted(0, 0, -1, -1);
  p->setBrush(Qt::NoBrush);
  p->setPen(QPen(o->palette.color(QPalette::Light), 1));
  p->drawRoundedRect(strokeRect(r.translated(1, 1)), kRadius, kRadius);
  p->setPen(QPen(o->palette.color(QPalette::Mid), 1));
  p->drawRoundedRect(strokeRect(r), kRadius, kRadius);
}

void drawButtonPanel(const QStyleOption* o, QPainter* p) {
  const bool down = o->state & (QStyle::State_Sunken | QStyle::State_On);
  const QColor face = o->palette.color(QPalette::Button);
  const QRectF r = strokeRect(o->rect);
  if (down) {
    p->setBrush(face.darker(112));
  } else {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    const QColor top = hovered(o) ? face.lighter(112) : face.lighter(106);
    g.setColorAt(0, top);
    g.setColorAt(1, face.darker(104));
    p->setBrush(g);
  }
  const bool accent = enabled(o) && (o->state & QStyle::State_HasFocus);
  p->setPen(QPen(accent ? o->palette.color(QPalette::Highlight) : frameColor(o), 1));
  p->drawRoundedRect(r, kRadius, kRadius);
  if (!down) {  // a light top edge inside the frame
    p->setPen(QPen(face.lighter(118), 1));
    p->drawLine(QPointF(r.left() + 2, r.top() + 1), QPointF(r.right() - 2, r.top() + 1));
  }
}

void drawLineEditPanel(const QStyleOption* o, QPainter* p) {
  const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(o);
  const QRectF r = strokeRect(o->rect);
  // The widget's own base colour: Edit_taux's red background comes through here.
  p->setPen(Qt::NoPen);
  p->setBrush(o->palette.brush(QPalette::Base));
  p->drawRoundedRect(r, kRadius, kRadius);
  if (frame != nullptr && frame->lineWidth <= 0) return;
  const bool focus = enabled(o) && (o->state & QStyle::State_HasFocus);
  p->setBrush(Qt::NoBrush);
  p->setPen(QPen(focus ? o->palette.color(QPalette::Highlight) : o->palette.color(QPalette::Mid), 1));
  p->drawRoundedRect(r, kRadius, kRadius);
  // An inset shadow along the top, in the base's own hue.
  p->setPen(QPen(o->palette.color(QPalette::Base).darker(110), 1));
  p->drawLine(QPointF(r.left() + 1.5, r.top() + 1), QPointF(r.right() - 1.5, r.top() + 1));
}

void drawRadio(const QStyleOption* o, QPainter* p) {
  const QRectF r = QRectF(o->rect).adjusted(1.0, 1.0, -1.0, -1.0);
  const bool down = o->state & QStyle::State_Sunken;
  QColor fill = o->palette.color(enabled(o) ? QPalette::Active : QPalette::Disabled, QPalette::Base);
  if (down) fill = o->palette.color(QPalette::Button);
  p->setBrush(fill);
  p->setPen(QPen(hovered(o) ? o->palette.color(QPalette::Highlight) : frameColor(o), 1.2));
  p->drawEllipse(r);
  if (o->state & QStyle::State_On) {
    const qreal d = r.width() * 0.5;
    p->setPen(Qt::NoPen);
    p->setBrush(o->palette.color(enabled(o) ? QPalette::Active : QPalette::Disabled,
                                 QPalette::Highlight));
    p->drawEllipse(QRectF(r.center().x() - d / 2, r.center().y() - d / 2, d, d));
  }
}

void drawCheck(const QStyleOption* o, QPainter* p) {
  const QRectF r = strokeRect(o->rect.adjusted(1, 1, -1, -1));
  p->setBrush(o->palette.color(enabled(o) ? QPalette::Active : QPalette::Disabled, QPalette::Base));
  p->setPen(QPen(hovered(o) ? o->palette.color(QPalette::Highlight) : frameColor(o), 1));
  p->drawRoundedRect(r, 1.5, 1.5);
  const QColor mark = o->palette.color(enabled(o) ? QPalette::Active : QPalette::Disabled,
                                       QPalette::Highlight);
  if (o->state & QStyle::State_On) {
    QPainterPath tick;
    tick.moveTo(r.left() + r.width() * 0.22, r.top() + r.height() * 0.52);
    tick.lineTo(r.left() + r.width() * 0.42, r.top() + r.height() * 0.72);
    tick.lineTo(r.left() + r.width() * 0.78, r.top() + r.height() * 0.28);
    p->setBrush(Qt::NoBrush);
    p->setPen(QPen(mark, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p->drawPath(tick);
  } else if (o->state & QStyle::State_NoChange) {
    p->fillRect(r.adjusted(3, r.height() / 2 - 1, -3, -(r.height() / 2 - 1)), mark);
  }
}

// Only plain group boxes get the classic caption; checkable or flat ones stay Fusion's.
const QStyleOptionGroupBox* classicGroupBox(const QStyleOptionComplex* o) {
  const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(o);
  if (box == nullptr) return nullptr;
  if ((box->subControls & QStyle::SC_GroupBoxCheckBox) ||
      (box->features & QStyleOptionFrame::Flat)) {
    return nullptr;
  }
  return box;
}

constexpr int kTitleInset = 6;  // from the box's left edge to the caption's gap
constexpr int kTitlePad = 2;    // gap in the top line on either side of the text

}  // namespace

SlateStyle::SlateStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {
  setObjectName(QStringLiteral("slate"));
}

void SlateStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
  switch (element) {
    case PE_FrameGroupBox:
    case PE_PanelButtonCommand:
    case PE_PanelLineEdit:
    case PE_IndicatorRadioButton:
    case PE_IndicatorCheckBox:
      break;
    default:
      QProxyStyle::drawPrimitive(element, option, painter, widget);
      return;
  }
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, true);
  switch (element) {
    case PE_FrameGroupBox: drawGroupFrame(option, painter); break;
    case PE_PanelButtonCommand: drawButtonPanel(option, painter); break;
    case PE_PanelLineEdit: drawLineEditPanel(option, painter); break;
    case PE_IndicatorRadioButton: drawRadio(option, painter); break;
    case PE_IndicatorCheckBox: drawCheck(option, painter); break;
    default: break;
  }
  painter->restore();
}

QRect SlateStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                SubControl sub, const QWidget* widget) const {
  const QStyleOptionGroupBox* box =
      control == CC_GroupBox ? classicGroupBox(option) : nullptr;
  if (box == nullptr) return QProxyStyle::subControlRect(control, option, sub, widget);

  const QRect r = option->rect;
  const int textHeight = option->fontMetrics.height();
  switch (sub) {
    case SC_GroupBoxFrame:
      return r.adjusted(0, textHeight / 2, 0, 0);
    case SC_GroupBoxLabel: {
      if (box->text.isEmpty()) return {};
      const int textWidth =
          option->fontMetrics.size(Qt::TextShowMnemonic | Qt::TextSingleLine, box->text).width();
      // A caption that nearly fills the box gives up its inset before being cut.
      const int inset = std::clamp((r.width() - textWidth - 2 * kTitlePad) / 2, 0, kTitleInset);
      const int width = std::min(textWidth + 2 * kTitlePad, r.width() - 2 * inset);
      int left = r.left() + inset;
      if (box->textAlignment & Qt::AlignHCenter) left = r.left() + (r.width() - width) / 2;
      if (box->textAlignment & Qt::AlignRight) left = r.right() - inset - width + 1;
      return {left, r.top(), width, textHeight};
    }
    case SC_GroupBoxContents:
      return r.adjusted(2, textHeight + 2, -2, -2);
    default:
      return QProxyStyle::subControlRect(control, option, sub, widget);
  }
}

void SlateStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                    QPainter* painter, const QWidget* widget) const {
  const QStyleOptionGroupBox* box =
      control == CC_GroupBox ? classicGroupBox(option) : nullptr;
  if (box == nullptr) {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    return;
  }

  const QRect label = subControlRect(control, option, SC_GroupBoxLabel, widget);
  if (box->subControls & SC_GroupBoxFrame) {
    QStyleOptionFrame frame;
    frame.QStyleOption::operator=(*box);
    frame.features = box->features;
    frame.lineWidth = box->lineWidth;
    frame.midLineWidth = box->midLineWidth;
    frame.rect = subControlRect(control, option, SC_GroupBoxFrame, widget);
    painter->save();
    if (!label.isEmpty()) {  // the top line stops short of the caption
      painter->setClipRegion(QRegion(option->rect).subtracted(QRegion(label)), Qt::IntersectClip);
    }
    proxy()->drawPrimitive(PE_FrameGroupBox, &frame, painter, widget);
    painter->restore();
  }
  if ((box->subControls & SC_GroupBoxLabel) && !label.isEmpty()) {
    QPalette palette = box->palette;
    if (box->textColor.isValid()) palette.setColor(QPalette::WindowText, box->textColor);
    int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (!proxy()->styleHint(SH_UnderlineShortcut, option, widget)) flags |= Qt::TextHideMnemonic;
    proxy()->drawItemText(painter, label.adjusted(kTitlePad, 0, -kTitlePad, 0), flags, palette,
                          box->state & State_Enabled, box->text, QPalette::WindowText);
  }
}

int SlateStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                            const QWidget* widget) const {
  switch (metric) {
    // The classic 13 px indicators: the 17 px high options of the layout fit them.
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
      return 13;
    default:
      return QProxyStyle::pixelMetric(metric, option, widget);
  }
}

}  // namespace brindelor::widgets
