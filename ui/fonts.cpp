#include "fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

namespace brindelor::ui {

namespace {

constexpr const char* kFontDir = "/usr/share/wine/fonts/";
constexpr const char* kFontFiles[] = {"tahoma.ttf", "tahomabd.ttf"};

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
  return font;
}

}  // namespace brindelor::ui
