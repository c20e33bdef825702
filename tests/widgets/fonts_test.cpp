// The window font: Tahoma when Debian's fonts-wine files are there, a close
// sans-serif when they are not.

#include "fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

class FontsTest : public QObject {
  Q_OBJECT

 private slots:
  // In this order: the fallback is only visible before Tahoma is loaded.
  void fallsBackWithoutTahoma();
  void loadsWineTahomaAndItsBoldLooksBold();
};

void FontsTest::fallsBackWithoutTahoma() {
  if (QFontDatabase::families().contains(QStringLiteral("Tahoma"))) {
    QSKIP("Tahoma is installed system-wide: no fallback to see");
  }
  const QFontInfo info(brindelor::widgets::windowFont());
  const QStringList fallbacks{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                              QStringLiteral("Verdana")};
  bool anyInstalled = false;
  for (const QString& f : fallbacks) anyInstalled |= QFontDatabase::families().contains(f);
  if (!anyInstalled) QSKIP("none of the fallback families is installed");
  QVERIFY2(fallbacks.contains(info.family()), qPrintable(info.family()));
  QCOMPARE(info.pixelSize(), 11);
  QVERIFY(!info.bold());
}

void FontsTest::loadsWineTahomaAndItsBoldLooksBold() {
  if (!QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"))) {
    QSKIP("fonts-wine is not installed");
  }
  QCOMPARE(brindelor::widgets::loadBundledFonts(), 1);
  QCOMPARE(brindelor::widgets::loadBundledFonts(), 1);  // once is enough

  QFont font = brindelor::widgets::windowFont();
  QCOMPARE(QFontInfo(font).family(), QStringLiteral("Tahoma"));
  QCOMPARE(QFontInfo(font).pixelSize(), 11);

  // Bold must look bold: Wine's tahomabd.ttf has the regular outlines, so a
  // caption drawn with it would carry no more ink than the regular one.
  const auto ink = [](const QFont& f) {
    QImage image(200, 20, QImage::Format_Grayscale8);
    image.fill(255);
    QPainter p(&image);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(2, 2, 196, 16), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Nouveaux Tarifs"));
    p.end();
    qint64 sum = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) sum += 255 - qGray(image.pixel(x, y));
    return sum;
  };
  QFont bold = font;
  bold.setBold(true);
  const qint64 regularInk = ink(font);
  const qint64 boldInk = ink(bold);
  QVERIFY2(boldInk * 10 >= regularInk * 13,
           qPrintable(QStringLiteral("bold ink %1, regular %2").arg(boldInk).arg(regularInk)));
}

QTEST_MAIN(FontsTest)
#include "fonts_test.moc"
