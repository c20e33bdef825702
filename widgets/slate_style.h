#pragma once
// "Slate Classico": Fusion with our own slate-toned frames, buttons and
// indicators. Every colour comes from the palette of the widget being drawn,
// so a widget's own palette (an edit's red background, a group box's own
// grey) shows through; the slate tones come from the application palette the
// style resource sets (:/styles/slate_classico.style).

#include <QProxyStyle>

namespace brindelor::widgets {

class SlateStyle : public QProxyStyle {
  Q_OBJECT

 public:
  SlateStyle();

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                     QPainter* painter, const QWidget* widget = nullptr) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;
  // Group boxes in the classic manner: the caption inset on the top line.
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget = nullptr) const override;
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                       SubControl sub, const QWidget* widget = nullptr) const override;
};

}  // namespace brindelor::widgets
