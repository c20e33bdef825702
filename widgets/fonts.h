#pragma once
// The window's font: Tahoma 8 pt (11 px at 96 dpi), with a fallback where
// Tahoma is not installed.

#include <QFont>

namespace brindelor::widgets {

// Registers Debian's metric-compatible Tahoma (package fonts-wine, its
// regular face; bold is drawn by emboldening it) with the application when
// its file is there. Call once at start-up, after the QApplication exists
// and before the first widget. Cheap: one file check and at most one font
// registration. Returns how many files were added; calling it again adds
// nothing.
int loadBundledFonts();

// "Tahoma", pixel size 11, regular; falls back to a close sans-serif
// (DejaVu Sans, Liberation Sans, Verdana) when Tahoma is absent. Outside
// Windows its hinting is light whatever the desktop asks, so that texts keep
// the widths the fixed layout leaves them.
QFont windowFont();

}  // namespace brindelor::widgets
