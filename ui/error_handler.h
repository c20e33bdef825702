#pragma once
// The application's default error handling: every exception that a handler
// lets go is shown here in a message box, and the event loop goes on.
// Nothing may unwind through Qt, so each handler that can fail catches at
// its edge and calls showException().

#include <QString>

#include <exception>
#include <functional>

class QWidget;

namespace brindelor::ui {

// The executable's file name without its folder, cut at its first ".",
// every character after the first in lower case: "/opt/BRINDELOR.exe"
// gives "Brindelor".
QString applicationTitle(const QString& executablePath);

// The title of this process (from QCoreApplication::applicationFilePath()).
QString applicationTitle();

// The box's text: the message, with a "." appended when the message is not
// empty and its last character's code is greater than that of ".".
QString errorBoxText(const QString& message);

// The box: critical icon, one OK button, owned by the active window.
// Never throws.
void showException(const std::exception& error) noexcept;
void showUnknownException() noexcept;

// Tests intercept the box: the seam gets what the box would show instead
// of the box being opened. An empty function restores the box.
using ErrorBoxSeam = std::function<void(QWidget* owner, const QString& caption, const QString& text)>;
void setErrorBoxSeam(ErrorBoxSeam seam);

} // namespace brindelor::ui
