#include "fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

namespace brindelor::widgets {

namespace {

constexpr const char* kFontDir = "/usr/share/wine/fonts/";
// Not tahomabd.ttf: Wine's bold file has bold advances but the regular
// outlines, so its "bold" text looks regular. Without it Qt emboldens the
// regular face, which reads as bold and keeps the narrower advances.
constexpr const char* kFontFiles[] = {"tahoma.ttf"};

}  // namespace

int loadBundledFonts() {
  static const int added = [] {
    int count = 0;
    for (const char* name : kFontFiles) {
      const QString path = QString::fromLatin1(kFontDir) + QLatin1String(name);
      if (QFile::exists(path) && QFontDatabase::addApplicationFont(path) >= 0) {
        ++count;
      }
    }
    return count;
  }();
  return added;
}

QFont windowFont() {
  QFont font;
  // Per-font fallback list rather than global substitutions: only our font
  // is affected, and the first family present wins.
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"),
                    QStringLiteral("Liberation Sans"), QStringLiteral("Verdana")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  font.setWeight(QFont::Normal);
#ifndef Q_OS_WIN
  // The layout is fixed in pixels. Wine's Tahoma fits it with light hinting
  // only: fully hinted (a desktop's Xft or fontconfig setting) its advances
  // grow, "Augmentation" to 75 px in a 67 px label and "effacer" past its
  // option. Windows' GDI Tahoma is the font the layout was measured with.
  font.setHintingPreference(QFont::PreferVerticalHinting);
#endif
  return font;
}

}  // namespace brindelor::widgets
