#pragma once
// The window's font: Tahoma 8 pt (11 px at 96 dpi), with a fallback where
// Tahoma is not installed.

#include <QFont>

namespace brindelor::ui {

// Registers Debian's metric-compatible Tahoma (package fonts-wine) with the
// application when its files are there. Call once at start-up, after the
// QApplication exists and before the first widget. Cheap: two file checks
// and at most two font registrations. Returns how many files were added;
// calling it again adds nothing.
int loadBundledFonts();

// "Tahoma", pixel size 11, regular; falls back to a close sans-serif
// (DejaVu Sans, Liberation Sans, Verdana) when Tahoma is absent.
QFont windowFont();

}  // namespace brindelor::ui
