#include "startup.h"

#include "error_handler.h"
#include "fonts.h"
#include "frm_CALC.h"
#include "number_settings.h"
#include "style_manager.h"

#include "brindelor/version.h"

#include <QHash>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace brindelor::ui {

namespace {

// The texts a user can meet in Qt's widgets here, should qtbase_fr.qm be
// missing one: consulted after it.
class FallbackTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* /*disambiguation*/,
                      int /*n*/) const override
    {
        static const QHash<QString, QString> texts = {
            {QStringLiteral("QLineEdit|&Undo"), QStringLiteral("&Annuler")},
            {QStringLiteral("QLineEdit|&Redo"), QStringLiteral("&Rétablir")},
            {QStringLiteral("QLineEdit|Cu&t"), QStringLiteral("Co&uper")},
            {QStringLiteral("QLineEdit|&Copy"), QStringLiteral("Cop&ier")},
            {QStringLiteral("QLineEdit|&Paste"), QStringLiteral("Co&ller")},
            {QStringLiteral("QLineEdit|Delete"), QStringLiteral("Supprimer")},
            {QStringLiteral("QLineEdit|Select All"), QStringLiteral("Tout sélectionner")},
            {QStringLiteral("QPlatformTheme|OK"), QStringLiteral("OK")},
            {QStringLiteral("QPlatformTheme|&OK"), QStringLiteral("&OK")},
            {QStringLiteral("QShortcut|Ctrl"), QStringLiteral("Ctrl")},
            {QStringLiteral("QShortcut|Shift"), QStringLiteral("Maj")},
            {QStringLiteral("QShortcut|Alt"), QStringLiteral("Alt")},
            {QStringLiteral("QShortcut|Ins"), QStringLiteral("Inser")},
            {QStringLiteral("QShortcut|Del"), QStringLiteral("Suppr")},
        };
        const QString key = QString::fromUtf8(context) + u'|' + QString::fromUtf8(sourceText);
        return texts.value(key);
    }

    bool isEmpty() const override { return false; }
};

} // namespace

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationVersion(QStringLiteral(BRINDELOR_VERSION));
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showException(error);
    } catch (...) {
        showUnknownException();
    }
    return false;
}

bool installFrenchTranslations(QCoreApplication& app)
{
    // Installed first, asked last.
    app.installTranslator(new FallbackTranslator(&app));
    auto* qtbase = new QTranslator(&app);
    const bool loaded =
        qtbase->load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (loaded)
        app.installTranslator(qtbase);
    else
        delete qtbase;
    return loaded;
}

void setUp(QApplication& app)
{
    NumberSettings::instance(); // the locale's separators, read now

    // Before the first widget: every text is measured in this font.
    loadBundledFonts();
    QApplication::setFont(windowFont());
    // What the taskbar and the task switcher show beside the caption.
    QApplication::setWindowIcon(applicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("brindelor"));
    installFrenchTranslations(app);

    // The result is not checked: not found, the box has said so and the
    // default look stays.
    (void)StyleManager::TrySetStyle(QStringLiteral("Slate Classico"), true);
}

int run(int argc, char** argv)
{
    Application app(argc, argv);
    setUp(app);

    // The window shows itself at the end of its creation.
    const auto window = std::make_unique<Tform_CALC>();
    QApplication::exec();
    return 0;
}

} // namespace brindelor::ui
