// The style manager: finding a style by its stored name, the "not found"
// box, the resources it carries, and the declared colours under Slate Classico.

#include "style_manager.h"

#include "startup.h"

#include "fonts.h"
#include "slate_style.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QStyle>
#include <QtTest>

#include <optional>

using brindelor::widgets::StyleManager;

namespace {

struct SeenDialog {
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
  bool escapeIsTheButton = false;
};

int countNear(const QImage& image, QColor c, int tolerance = 24) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor p = image.pixelColor(x, y);
      if (std::abs(p.red() - c.red()) <= tolerance && std::abs(p.green() - c.green()) <= tolerance &&
          std::abs(p.blue() - c.blue()) <= tolerance) {
        ++n;
      }
    }
  }
  return n;
}

QByteArray readResource(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class StyleManagerTest : public QObject {
  Q_OBJECT

 private slots:
  // The program's own resources: Slate Classico and the icon.
  void initTestCase() { brindelor::app::initResources(); }
  void init();
  void cleanup();

  void unknownNameShowsErrorAndKeepsTheLook_data();
  void unknownNameShowsErrorAndKeepsTheLook();
  void unknownNameWithoutDialogIsSilent();
  void knownNameInAnyCaseApplies_data();
  void knownNameInAnyCaseApplies();
  void declaredColoursShowUnderSlate();
  void shippedStylesParseCleanly();
  void resourceProblemsAreReported_data();
  void resourceProblemsAreReported();
  void groupColourWinsWhateverItsPlace();
  void applicationIconHasSixSizes();

 private:
  std::optional<SeenDialog> seen_;
  int dialogs_ = 0;
  StyleManager::DialogRunner previous_;
};

void StyleManagerTest::init() {
  seen_.reset();
  dialogs_ = 0;
  previous_ = StyleManager::setDialogRunner([this](QMessageBox& box) {
    ++dialogs_;
    SeenDialog d;
    d.caption = box.windowTitle();
    d.text = box.text();
    d.icon = box.icon();
    for (QAbstractButton* b : box.buttons()) d.buttons << b->text();
    d.escapeIsTheButton = box.buttons().size() == 1 && box.escapeButton() == box.buttons().first();
    seen_ = d;
  });
}

void StyleManagerTest::cleanup() { StyleManager::setDialogRunner(previous_); }

void StyleManagerTest::unknownNameShowsErrorAndKeepsTheLook_data() {
  QTest::addColumn<QString>("name");
  QTest::newRow("Nope") << QStringLiteral("Nope");
  QTest::newRow("the resource's file name") << QStringLiteral("slate_classico");
  QTest::newRow("a prefix of the name") << QStringLiteral("Slate");
  QTest::newRow("trailing space") << QStringLiteral("Slate Classico ");
  QTest::newRow("empty") << QString();
}

void StyleManagerTest::unknownNameShowsErrorAndKeepsTheLook() {
  QFETCH(QString, name);
  const QStyle* styleBefore = QApplication::style();
  const QPalette paletteBefore = QApplication::palette();
  const QString activeBefore = StyleManager::ActiveStyleName();

  QVERIFY(!StyleManager::TrySetStyle(name, true));

  QCOMPARE(dialogs_, 1);
  QVERIFY(seen_.has_value());
  QCOMPARE(seen_->caption, QStringLiteral("Erreur"));
  QCOMPARE(seen_->text, QStringLiteral("Style '%1' non trouvé").arg(name));
  QCOMPARE(seen_->icon, QMessageBox::Critical);
  QCOMPARE(seen_->buttons, QStringList{QStringLiteral("&Fermer")});
  QVERIFY(seen_->escapeIsTheButton);

  QCOMPARE(QApplication::style(), styleBefore);
  QCOMPARE(QApplication::palette(), paletteBefore);
  QCOMPARE(StyleManager::ActiveStyleName(), activeBefore);
}

void StyleManagerTest::unknownNameWithoutDialogIsSilent() {
  const QStyle* styleBefore = QApplication::style();
  QVERIFY(!StyleManager::TrySetStyle(QStringLiteral("Nope"), false));
  QCOMPARE(dialogs_, 0);
  QCOMPARE(QApplication::style(), styleBefore);
}

void StyleManagerTest::knownNameInAnyCaseApplies_data() {
  QTest::addColumn<QString>("name");
  QTest::newRow("slate classico") << QStringLiteral("slate classico");
  QTest::newRow("SLATE CLASSICO") << QStringLiteral("SLATE CLASSICO");
  QTest::newRow("Slate Classico") << QStringLiteral("Slate Classico");
}

void StyleManagerTest::knownNameInAnyCaseApplies() {
  QFETCH(QString, name);
  QApplication::setStyle(QStringLiteral("Windows"));  // start from something else each time
  QVERIFY(qobject_cast<brindelor::widgets::SlateStyle*>(QApplication::style()) == nullptr);

  QVERIFY(StyleManager::TrySetStyle(name, true));
  QCOMPARE(dialogs_, 0);
  QVERIFY(qobject_cast<brindelor::widgets::SlateStyle*>(QApplication::style()) != nullptr);
  QCOMPARE(StyleManager::ActiveStyleName(), QStringLiteral("Slate Classico"));

  // The resource's palette is what the application ends up with (setStyle
  // alone would leave the style's standard palette).
  const brindelor::widgets::StyleResource res =
      brindelor::widgets::parseStyleResource(readResource(QStringLiteral(":/styles/slate_classico.style")));
  const QPalette expected = res.palette(QApplication::style()->standardPalette());
  for (const auto& c : res.colors) {
    const QPalette::ColorGroup group = c.group.value_or(QPalette::Active);
    QCOMPARE(QApplication::palette().color(group, c.role), expected.color(group, c.role));
  }
  QVERIFY(QApplication::palette().color(QPalette::Button) != QColor(Qt::white));
}

void StyleManagerTest::declaredColoursShowUnderSlate() {
  QVERIFY(StyleManager::TrySetStyle(QStringLiteral("Slate Classico"), false));
  brindelor::widgets::loadBundledFonts();

  // The window's declared colours, set the way the window sets them.
  QWidget window;
  window.setFont(brindelor::widgets::windowFont());
  window.resize(220, 359);
  const auto edit = [](QWidget* parent, QRect geometry, const QString& text) {
    auto* e = new QLineEdit(text, parent);
    e->setGeometry(geometry);
    e->setAlignment(Qt::AlignCenter);
    return e;
  };
  QLineEdit* taux = edit(&window, {114, 186, 75, 21}, QStringLiteral("11,5%"));
  QPalette p = taux->palette();
  p.setColor(QPalette::Base, QColor(255, 128, 128));
  p.setColor(QPalette::Text, QColor(255, 255, 0));
  taux->setPalette(p);

  auto* box = new QGroupBox(QStringLiteral("Nouveaux Tarifs"), &window);
  box->setGeometry(7, 213, 206, 140);
  p = box->palette();
  p.setColor(QPalette::Window, QColor(240, 240, 240));
  box->setPalette(p);
  box->setAutoFillBackground(true);
  QLineEdit* silver = edit(box, {107, 48, 75, 21}, QStringLiteral("124,32"));
  p = silver->palette();
  p.setColor(QPalette::Text, QColor(192, 192, 192));
  silver->setPalette(p);
  QFont f = silver->font();
  f.setStrikeOut(true);
  silver->setFont(f);
  QLineEdit* delta = edit(box, {107, 102, 75, 21}, QStringLiteral("1,32"));
  p = delta->palette();
  p.setColor(QPalette::Text, QColor(255, 0, 0));
  delta->setPalette(p);
  f = delta->font();
  f.setItalic(true);
  delta->setFont(f);

  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const auto at = [&shot](const QWidget* w) {
    return shot.copy(QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size()));
  };

  const QImage tauxImg = at(taux);
  QVERIFY2(countNear(tauxImg, QColor(255, 128, 128)) * 2 > tauxImg.width() * tauxImg.height(),
           "Edit_taux's red background does not show");
  QVERIFY2(countNear(tauxImg, QColor(255, 255, 0), 60) > 0, "Edit_taux's yellow text does not show");
  const QImage boxImg = at(box);
  QVERIFY2(countNear(boxImg, QColor(240, 240, 240), 2) * 2 > boxImg.width() * boxImg.height(),
           "GroupBox3's own background does not show");
  QVERIFY2(countNear(at(silver), QColor(192, 192, 192), 16) > 0, "silver text does not show");
  QVERIFY2(countNear(at(delta), QColor(255, 0, 0), 60) > 0, "red text does not show");
  // The window around them is the style's slate face, not a stray colour.
  QCOMPARE(shot.pixelColor(2, 2), QApplication::palette().color(QPalette::Window));
}

void StyleManagerTest::shippedStylesParseCleanly() {
  QStringList seen;
  const QStringList names = StyleManager::StyleNames();
  QVERIFY(names.contains(QStringLiteral("Slate Classico")));
  const QDir dir(QStringLiteral(":/styles"));
  const QStringList files = dir.entryList({QStringLiteral("*.style")});
  QCOMPARE(files.size(), names.size());
  for (const QString& file : files) {
    const auto res = brindelor::widgets::parseStyleResource(readResource(dir.filePath(file)));
    QVERIFY2(res.problems.isEmpty(), qPrintable(file + QStringLiteral(": ") + res.problems.join(QStringLiteral("; "))));
    QVERIFY2(!seen.contains(res.name.toLower()), qPrintable(res.name + QStringLiteral(" twice")));
    seen << res.name.toLower();
  }
}

void StyleManagerTest::resourceProblemsAreReported_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<QString>("problem");
  const QByteArray head = "name: Test\nbase: Fusion\n";
  QTest::newRow("misspelt role") << head + "palette.Windw: #ffffff\n" << "unknown colour role";
  QTest::newRow("unknown group") << head + "palette.Hovered.Window: #ffffff\n" << "unknown colour group";
  QTest::newRow("not a colour") << head + "palette.Window: slategrey-ish\n" << "not a colour";
  QTest::newRow("unknown key") << head + "colour: #ffffff\n" << "unknown key colour";
  QTest::newRow("no colon") << head + "palette.Window #ffffff\n" << "expected key: value";
  QTest::newRow("no name") << QByteArray("base: Fusion\n") << "no name";
}

void StyleManagerTest::resourceProblemsAreReported() {
  QFETCH(QByteArray, text);
  QFETCH(QString, problem);
  const auto res = brindelor::widgets::parseStyleResource(text);
  QCOMPARE(res.problems.size(), 1);
  QVERIFY2(res.problems.first().contains(problem), qPrintable(res.problems.first()));
}

void StyleManagerTest::groupColourWinsWhateverItsPlace() {
  const auto res = brindelor::widgets::parseStyleResource(
      "name: Order\nbase: Fusion\n"
      "palette.Disabled.Text: #111111\n"
      "palette.Text: #222222\n"
      "[stylesheet]\nQLabel { margin: 1px; }\n");
  QVERIFY(res.problems.isEmpty());
  const QPalette p = res.palette(QPalette(Qt::white));
  QCOMPARE(p.color(QPalette::Disabled, QPalette::Text), QColor(0x11, 0x11, 0x11));
  QCOMPARE(p.color(QPalette::Active, QPalette::Text), QColor(0x22, 0x22, 0x22));
  QCOMPARE(p.color(QPalette::Inactive, QPalette::Text), QColor(0x22, 0x22, 0x22));
  QCOMPARE(res.styleSheet, QStringLiteral("QLabel { margin: 1px; }"));
}

void StyleManagerTest::applicationIconHasSixSizes() {
  const QIcon icon = brindelor::app::applicationIcon();
  const QList<QSize> sizes = icon.availableSizes();
  for (int s : {16, 24, 32, 48, 64, 128}) {
    QVERIFY2(sizes.contains(QSize(s, s)), qPrintable(QString::number(s)));
    const QPixmap pm = icon.pixmap(QSize(s, s));
    QCOMPARE(pm.deviceIndependentSize().toSize(), QSize(s, s));
    // Not blank: the tile's slate blue is there.
    QVERIFY(countNear(pm.toImage().convertToFormat(QImage::Format_RGB32), QColor(0x4f, 0x6a, 0x87), 40) > 0);
  }
}

QTEST_MAIN(StyleManagerTest)
#include "style_manager_test.moc"
