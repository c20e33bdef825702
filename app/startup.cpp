#include "startup.h"

#include "exceptions.h"
#include "fonts.h"
#include "locale_settings.h"
#include "style_manager.h"

#include "brindelor/form/frm_CALC.h"

#include "brindelor/version.h"

#include <QHash>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

// Outside any namespace, as Q_INIT_RESOURCE wants.
static void initBrindelorResources() { Q_INIT_RESOURCE(brindelor); }

namespace brindelor::app {

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
    , form_(std::make_unique<form::Application>(host_, applicationFilePath().toStdString()))
{
    setApplicationVersion(QStringLiteral(BRINDELOR_VERSION));
    // The locale's separators, read now and on every change.
    locale_ = new ui::LocaleSettings(*form_, this);
    // What a widget caught at its edge goes to the same box.
    widgets::setExceptionHandler([this](std::exception_ptr error) {
        form_->run([&] { std::rethrow_exception(error); });
    });
}

Application::~Application()
{
    widgets::setExceptionHandler({});
    delete locale_;
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    bool result = false;
    form_->run([&] { result = QApplication::notify(receiver, event); });
    return result;
}

void initResources()
{
    // Resources of a static library are not pulled in by the linker on
    // their own; Q_INIT_RESOURCE must run outside any namespace.
    static const bool done = [] {
        initBrindelorResources();
        return true;
    }();
    (void)done;
}

QIcon applicationIcon()
{
    initResources();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addFile(QStringLiteral(":/icons/brindelor-%1.png").arg(size), QSize(size, size));
    return icon;
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

void setUp(Application& app)
{
    initResources();
    // Before the first widget: every text is measured in this font.
    widgets::loadBundledFonts();
    QApplication::setFont(widgets::windowFont());
    // What the taskbar and the task switcher show beside the caption.
    QApplication::setWindowIcon(applicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("brindelor"));
    installFrenchTranslations(app);

    // The result is not checked: not found, the box has said so and the
    // default look stays.
    (void)widgets::StyleManager::TrySetStyle(QStringLiteral("Slate Classico"), true);
}

int run(int argc, char** argv)
{
    Application app(argc, argv);
    setUp(app);

    // The window shows itself at the end of its creation.
    const auto window = std::make_unique<Tform_CALC>(app.form());
    QApplication::exec();
    return 0;
}

} // namespace brindelor::app
