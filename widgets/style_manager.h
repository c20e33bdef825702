#pragma once
// Applies the visual styles a program carries among its Qt resources.
//
// A style resource is a small text file ":/styles/<anything>.style":
//   # a comment
//   name: Slate Classico          the name TrySetStyle matches, case ignored
//   base: slate                   "slate" (SlateStyle) or a QStyleFactory key
//   palette.Window: #d3d9df       a QPalette::ColorRole for every colour group
//   palette.Disabled.Text: #8a949e   ... or for one group (Active, Inactive, Disabled)
//   [stylesheet]                  optional: the rest of the file is an
//                                 application style sheet
// Roles a resource leaves out keep the base style's standard colours.

#include <QMessageBox>
#include <QPalette>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace brindelor::widgets {

struct StyleResource {
  struct Color {
    std::optional<QPalette::ColorGroup> group;  // none: every group
    QPalette::ColorRole role;
    QColor color;
  };

  QString name;
  QString base;
  std::vector<Color> colors;
  QString styleSheet;
  QStringList problems;  // lines not understood, with their numbers

  // The palette: `start` with this resource's colours over it.
  QPalette palette(const QPalette& start) const;
};

StyleResource parseStyleResource(const QByteArray& text);

class StyleManager {
 public:
  // Looks for the style whose stored name equals `name` without regard to
  // case and applies it to the application (QStyle, palette, style sheet).
  // Not found: with showErrorDialog, the box "Erreur" / "Style '<name>' non
  // trouvé" / "&Fermer"; returns false and leaves the current look alone.
  static bool TrySetStyle(const QString& name, bool showErrorDialog);

  // The names stored in the style resources, in resource file order.
  static QStringList StyleNames();
  // The stored name of the style applied last, empty before the first.
  static QString ActiveStyleName();

  // Test seam: shows the "not found" box. Default: box.exec(). Returns the
  // runner that was in place; an empty function restores the default.
  using DialogRunner = std::function<void(QMessageBox&)>;
  static DialogRunner setDialogRunner(DialogRunner runner);
};


}  // namespace brindelor::widgets
