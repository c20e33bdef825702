#include "error_handler.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace brindelor::ui {

namespace {

ErrorBoxSeam& errorBoxSeam()
{
    static ErrorBoxSeam seam;
    return seam;
}

void showMessage(const QString& message) noexcept
{
    try {
        QWidget* owner = QApplication::activeWindow();
        const QString caption = applicationTitle();
        const QString text = errorBoxText(message);
        if (errorBoxSeam()) {
            errorBoxSeam()(owner, caption, text);
            return;
        }
        QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, owner);
        box.exec();
    } catch (...) {
        // Nothing sensible is left to do when showing the error fails.
    }
}

} // namespace

QString applicationTitle(const QString& executablePath)
{
    QString name = QFileInfo(executablePath).fileName();
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    if (name.size() > 1)
        name = name.left(1) + name.mid(1).toLower();
    return name;
}

QString applicationTitle()
{
    return applicationTitle(QCoreApplication::applicationFilePath());
}

QString errorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + u'.';
    return message;
}

void showException(const std::exception& error) noexcept
{
    showMessage(QString::fromUtf8(error.what()));
}

void showUnknownException() noexcept
{
    showMessage(QStringLiteral("Erreur inconnue"));
}

void setErrorBoxSeam(ErrorBoxSeam seam) { errorBoxSeam() = std::move(seam); }

} // namespace brindelor::ui
