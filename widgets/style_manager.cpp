#include "style_manager.h"

#include "slate_style.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMetaEnum>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>

#include <algorithm>
#include <utility>

namespace brindelor::widgets {

namespace {

constexpr const char* kStyleDir = ":/styles";

std::optional<int> enumValue(const QMetaEnum& e, const QByteArray& key) {
  bool ok = false;
  const int v = e.keyToValue(key.constData(), &ok);
  if (!ok) return std::nullopt;
  return v;
}

void parseColor(StyleResource& res, const QByteArray& key, const QByteArray& value,
                int line) {
  const QList<QByteArray> parts = key.split('.');
  const auto problem = [&](const char* what) {
    res.problems << QStringLiteral("line %1: %2: %3")
                        .arg(line)
                        .arg(QString::fromUtf8(key), QString::fromLatin1(what));
  };
  if (parts.size() < 2 || parts.size() > 3) return problem("expected palette.[Group.]Role");

  StyleResource::Color c{};
  if (parts.size() == 3) {
    const auto g = enumValue(QMetaEnum::fromType<QPalette::ColorGroup>(), parts[1]);
    if (!g || (*g != QPalette::Active && *g != QPalette::Inactive && *g != QPalette::Disabled)) {
      return problem("unknown colour group");
    }
    c.group = static_cast<QPalette::ColorGroup>(*g);
  }
  const auto r = enumValue(QMetaEnum::fromType<QPalette::ColorRole>(), parts.last());
  if (!r || *r == QPalette::NColorRoles || *r == QPalette::NoRole) return problem("unknown colour role");
  c.role = static_cast<QPalette::ColorRole>(*r);
  c.color = QColor::fromString(QString::fromLatin1(value));
  if (!c.color.isValid()) return problem("not a colour");
  res.colors.push_back(c);
}

QStyle* createStyle(const QString& base) {
  if (base.compare(QLatin1String("slate"), Qt::CaseInsensitive) == 0) return new SlateStyle;
  return QStyleFactory::create(base);
}

std::vector<StyleResource> loadResources() {
  std::vector<StyleResource> all;
  const QDir dir(QString::fromLatin1(kStyleDir));
  for (const QString& file : dir.entryList({QStringLiteral("*.style")}, QDir::Files, QDir::Name)) {
    QFile f(dir.filePath(file));
    if (f.open(QIODevice::ReadOnly)) all.push_back(parseStyleResource(f.readAll()));
  }
  return all;
}

void execDialog(QMessageBox& box) { box.exec(); }

StyleManager::DialogRunner& currentRunner() {
  static StyleManager::DialogRunner runner = execDialog;
  return runner;
}

QString& activeName() {
  static QString name;
  return name;
}

void showNotFound(const QString& name) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Erreur"),
                  QStringLiteral("Style '%1' non trouvé").arg(name), QMessageBox::NoButton,
                  QApplication::activeWindow());
  QPushButton* close = box.addButton(QStringLiteral("&Fermer"), QMessageBox::RejectRole);
  box.setDefaultButton(close);
  box.setEscapeButton(close);
  const StyleManager::DialogRunner& run = currentRunner();
  if (run) run(box);
}

}  // namespace

QPalette StyleResource::palette(const QPalette& start) const {
  QPalette p = start;
  // Every-group colours first, so that a group's own line wins wherever it stands.
  for (const Color& c : colors) {
    if (!c.group) p.setColor(c.role, c.color);
  }
  for (const Color& c : colors) {
    if (c.group) p.setColor(*c.group, c.role, c.color);
  }
  return p;
}

StyleResource parseStyleResource(const QByteArray& text) {
  StyleResource res;
  const QList<QByteArray> lines = text.split('\n');
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const int number = static_cast<int>(i + 1);
    const QByteArray line = lines[i].trimmed();
    if (line.isEmpty() || line.startsWith('#')) continue;
    if (line == "[stylesheet]") {
      QByteArrayList rest = lines.mid(i + 1);
      res.styleSheet = QString::fromUtf8(rest.join('\n')).trimmed();
      break;
    }
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0) {
      res.problems << QStringLiteral("line %1: expected key: value").arg(number);
      continue;
    }
    const QByteArray key = line.left(colon).trimmed();
    const QByteArray value = line.mid(colon + 1).trimmed();
    if (key == "name") {
      res.name = QString::fromUtf8(value);
    } else if (key == "base") {
      res.base = QString::fromUtf8(value);
    } else if (key.startsWith("palette.")) {
      parseColor(res, key, value, number);
    } else {
      res.problems << QStringLiteral("line %1: unknown key %2").arg(number).arg(QString::fromUtf8(key));
    }
  }
  if (res.name.isEmpty()) res.problems << QStringLiteral("no name");
  if (res.base.isEmpty()) res.problems << QStringLiteral("no base");
  return res;
}

bool StyleManager::TrySetStyle(const QString& name, bool showErrorDialog) {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (app == nullptr) return false;

  // Matched against the name stored in each resource, never its file name.
  const std::vector<StyleResource> all = loadResources();
  const auto found = std::find_if(all.begin(), all.end(), [&](const StyleResource& res) {
    return !res.name.isEmpty() && res.name.compare(name, Qt::CaseInsensitive) == 0;
  });
  QStyle* style = found != all.end() ? createStyle(found->base) : nullptr;
  if (style == nullptr) {  // a resource whose base style is missing counts as not found
    if (showErrorDialog) showNotFound(name);
    return false;
  }

  const QPalette palette = found->palette(style->standardPalette());
  QApplication::setStyle(style);  // takes ownership
  QApplication::setPalette(palette);
  if (!found->styleSheet.isEmpty() || !app->styleSheet().isEmpty()) {
    app->setStyleSheet(found->styleSheet);
  }
  activeName() = found->name;
  return true;
}

QStringList StyleManager::StyleNames() {
  QStringList names;
  for (const StyleResource& res : loadResources()) {
    if (!res.name.isEmpty()) names << res.name;
  }
  return names;
}

QString StyleManager::ActiveStyleName() { return activeName(); }

StyleManager::DialogRunner StyleManager::setDialogRunner(DialogRunner runner) {
  DialogRunner previous = std::move(currentRunner());
  currentRunner() = runner ? std::move(runner) : DialogRunner(execDialog);
  return previous;
}


}  // namespace brindelor::widgets
