// The window font: Tahoma when Debian's fonts-wine files are there, a close
// sans-serif when they are not.

#include "fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QtTest>

class FontsTest : public QObject {
  Q_OBJECT

 private slots:
  // In this order: the fallback is only visible before Tahoma is loaded.
  void fallsBackWithoutTahoma();
  void loadsWineTahomaWithItsBoldFace();
};

void FontsTest::fallsBackWithoutTahoma() {
  if (QFontDatabase::families().contains(QStringLiteral("Tahoma"))) {
    QSKIP("Tahoma is installed system-wide: no fallback to see");
  }
  const QFontInfo info(brindelor::ui::windowFont());
  const QStringList fallbacks{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                              QStringLiteral("Verdana")};
  bool anyInstalled = false;
  for (const QString& f : fallbacks) anyInstalled |= QFontDatabase::families().contains(f);
  if (!anyInstalled) QSKIP("none of the fallback families is installed");
  QVERIFY2(fallbacks.contains(info.family()), qPrintable(info.family()));
  QCOMPARE(info.pixelSize(), 11);
  QVERIFY(!info.bold());
}

void FontsTest::loadsWineTahomaWithItsBoldFace() {
  if (!QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")) ||
      !QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf"))) {
    QSKIP("fonts-wine is not installed");
  }
  QCOMPARE(brindelor::ui::loadBundledFonts(), 2);
  QCOMPARE(brindelor::ui::loadBundledFonts(), 2);  // once is enough

  QFont font = brindelor::ui::windowFont();
  QCOMPARE(QFontInfo(font).family(), QStringLiteral("Tahoma"));
  QCOMPARE(QFontInfo(font).pixelSize(), 11);
  font.setBold(true);
  // The real bold file, not a regular face thickened by the renderer.
  QCOMPARE(QFontInfo(font).styleName(), QStringLiteral("Bold"));
}

QTEST_MAIN(FontsTest)
#include "fonts_test.moc"
