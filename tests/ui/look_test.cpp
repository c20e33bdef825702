// The window's look as the program starts it: the style and font applied
// at start-up, the frame, every control's place, font and colours, the
// captions shown whole, the declared colours on screen, the two links in
// the window and the accessible names.

#include "window_fixture.h"

#include "fonts.h"
#include "link_label.h"
#include "slate_style.h"
#include "startup.h"
#include "style_manager.h"

#include <QAccessible>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QScopeGuard>
#include <QScreen>
#include <QStyleOptionGroupBox>

#include <optional>

using brindelor::test::WindowFixture;
using brindelor::widgets::LinkLabel;
using brindelor::widgets::StyleManager;

namespace {

enum Styles : unsigned { Regular = 0, Bold = 1, Italic = 2, StrikeOut = 4, Underline = 8 };

const QColor kBlue(0, 0, 255);
const QColor kYellow(255, 255, 0);
const QColor kSilver(192, 192, 192);
const QColor kRed(255, 0, 0);
const QColor kTauxBase(255, 128, 128);
const QColor kGroupBox3(240, 240, 240);

const QUrl kAmeli(QStringLiteral("https://www.ameli.fr/accueil-de-la-ccam/trouver-un-acte/index.php"));
const QUrl kLegifrance(QStringLiteral(
    "https://www.legifrance.gouv.fr/affichTexte.do?cidTexte=JORFTEXT000027478395"));

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QWidget* parent = nullptr;
};

bool near(QColor a, QColor b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

int countNear(const QImage& image, QColor c, int tolerance)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += near(image.pixelColor(x, y), c, tolerance) ? 1 : 0;
    return n;
}

// Where the text of `caption` lands when drawn into `area` with `flags` and
// nothing clips it: the rectangle its ink covers, in the area's coordinates.
// Fringes of antialiasing below a quarter of full ink do not count (the
// bold "€" leans 1 px left of its 7 px label with a trace of its bars).
QRect inkOf(const QFont& font, const QString& caption, QSize area, int flags)
{
    constexpr int kMargin = 20;
    QImage canvas(area + QSize(2 * kMargin, 2 * kMargin), QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter p(&canvas);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(QPoint(kMargin, kMargin), area), flags | Qt::TextDontClip, caption);
    p.end();
    QRect ink;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (qGray(canvas.pixel(x, y)) < 192)
                ink |= QRect(x, y, 1, 1);
    return ink.translated(-kMargin, -kMargin);
}

struct CaptionArea {
    QString text;
    QList<QFont> fonts;
    QRect area; // in the widget's coordinates
    int flags = 0;
};

// The room each kind of control gives its caption, as its style lays it out.
std::optional<CaptionArea> captionArea(QWidget* w)
{
    if (auto* link = qobject_cast<LinkLabel*>(w)) {
        const int shadow = link->hasShadow() ? LinkLabel::kShadowOffset : 0;
        return CaptionArea{link->caption(), {link->font(), link->hotTrackFont()},
                           link->rect().adjusted(0, 0, -shadow, -shadow),
                           Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine};
    }
    if (auto* label = qobject_cast<QLabel*>(w))
        return CaptionArea{label->text(), {label->font()}, label->contentsRect(),
                           static_cast<int>(label->alignment().toInt())};
    if (auto* radio = qobject_cast<QRadioButton*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(radio);
        opt.text = radio->text();
        const QRect area = radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, radio);
        return CaptionArea{radio->text(), {radio->font()}, area, Qt::AlignLeft | Qt::AlignVCenter};
    }
    if (auto* box = qobject_cast<QGroupBox*>(w)) {
        QStyleOptionGroupBox opt;
        opt.initFrom(box);
        opt.text = box->title();
        opt.textAlignment = box->alignment();
        opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        opt.lineWidth = 1;
        QRect label =
            box->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box);
        // Slate pads the caption's gap in the top line by 2 px either side.
        if (qobject_cast<const brindelor::widgets::SlateStyle*>(box->style()))
            label.adjust(2, 0, -2, 0);
        return CaptionArea{box->title(), {box->font()}, label, Qt::AlignLeft | Qt::AlignVCenter};
    }
    return std::nullopt;
}

// The part of a grab of the window where `w` stands, in device pixels.
QImage part(const QImage& shot, qreal dpr, const QWidget* w)
{
    const QRect r(w->mapTo(w->window(), QPoint(0, 0)), w->size());
    return shot.copy(QRectF(QPointF(r.topLeft()) * dpr, QSizeF(r.size()) * dpr).toAlignedRect());
}

// The longest horizontal run of colour c in any row.
int longestRun(const QImage& image, QColor c, int tolerance)
{
    int best = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = near(image.pixelColor(x, y), c, tolerance) ? run + 1 : 0;
            best = std::max(best, run);
        }
    }
    return best;
}

} // namespace

class LookTest : public QObject {
    Q_OBJECT

    WindowFixture f;
    std::vector<SeenBox> seen;
    StyleManager::DialogRunner previousRunner;

    QWidget* control(const char* tag) const
    {
        return f.window()->findChild<QWidget*>(QString::fromLatin1(tag));
    }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup() { f.close(); }

    void startUpAppliesTheLook();
    void unknownStyleSaysSoAndKeepsTheLook();
    void frame();
    void layout_data();
    void layout();
    void fontsAndColours_data() { layout_data(); }
    void fontsAndColours();
    void declaredColoursOnScreen_data();
    void declaredColoursOnScreen();
    void linkHotTracking_data();
    void linkHotTracking();
    void linkClick_data();
    void linkClick();
    void accessibleNames_data();
    void accessibleNames();
};

void LookTest::initTestCase()
{
    // A box that would open here would wait for a user: record it instead.
    previousRunner = StyleManager::setDialogRunner([this](QMessageBox& box) {
        QStringList buttons;
        for (QAbstractButton* b : box.buttons())
            buttons << b->text();
        seen.push_back({box.windowTitle(), box.text(), box.icon(), buttons, box.parentWidget()});
    });
    QCOMPARE(StyleManager::ActiveStyleName(), QString());
    // The program's own start-up, up to the window.
    brindelor::app::setUp(*brindelor::app::Application::instance());
}

void LookTest::cleanupTestCase() { StyleManager::setDialogRunner(previousRunner); }

void LookTest::init()
{
    seen.clear();
    f.open();
}

void LookTest::startUpAppliesTheLook()
{
    QVERIFY2(seen.empty(), "the style was not found");
    QVERIFY(qobject_cast<brindelor::widgets::SlateStyle*>(QApplication::style()));
    QCOMPARE(StyleManager::ActiveStyleName(), QStringLiteral("Slate Classico"));
    // The window comes after the style: it is drawn by it, in its palette.
    QCOMPARE(f.window()->style(), QApplication::style());
    QCOMPARE(f.window()->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Window));
    QVERIFY(QApplication::palette().color(QPalette::Window)
            != QApplication::style()->standardPalette().color(QPalette::Window));

    const QFont font = QApplication::font();
    QCOMPARE(font.families().value(0), QStringLiteral("Tahoma"));
    QCOMPARE(font.pixelSize(), 11);
    QVERIFY(!font.bold());
    if (QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")))
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("Tahoma"));

    QCOMPARE(QApplication::windowIcon().availableSizes(),
             (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}}));
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("brindelor"));
    // Qt's French texts are in (from qtbase_fr.qm or our own behind it).
    QVERIFY(QCoreApplication::translate("QLineEdit", "&Copy") != QStringLiteral("&Copy"));
}

void LookTest::unknownStyleSaysSoAndKeepsTheLook()
{
    const QPointer<QStyle> slate = QApplication::style();
    QVERIFY(!StyleManager::TrySetStyle(QStringLiteral("Slate Moderno"), true));
    QCOMPARE(seen.size(), size_t(1));
    QCOMPARE(seen[0].caption, QStringLiteral("Erreur"));
    QCOMPARE(seen[0].text, QStringLiteral("Style 'Slate Moderno' non trouvé"));
    QCOMPARE(seen[0].icon, QMessageBox::Critical);
    QCOMPARE(seen[0].buttons, QStringList{QStringLiteral("&Fermer")});
    QCOMPARE(seen[0].parent, static_cast<QWidget*>(f.window()));
    QCOMPARE(QApplication::style(), slate.data());

    // The known name in another case applies again; the window keeps its
    // declared colours and its layout through the change of style.
    QVERIFY(StyleManager::TrySetStyle(QStringLiteral("SLATE classico"), false));
    QCOMPARE(seen.size(), size_t(1));
    QVERIFY(slate.isNull()); // replaced by a new one
    QCOMPARE(f.w.Edit_taux->palette().color(QPalette::Base), kTauxBase);
    QCOMPARE(f.w.GroupBox3->palette().color(QPalette::Window), kGroupBox3);
    QCOMPARE(f.w.JvLabel2->geometry(), QRect(11, 15, 75, 13));
    QCOMPARE(f.w.JvLabel1->geometry(), QRect(25, 77, 49, 15));
    QCOMPARE(f.window()->size(), QSize(220, 359));
}

void LookTest::frame()
{
    QWidget* w = f.window();
    QCOMPARE(w->windowTitle(), QStringLiteral("Brindelor"));
    QCOMPARE(w->size(), QSize(220, 359));
    QCOMPARE(w->minimumSize(), QSize(220, 359));
    QCOMPARE(w->maximumSize(), QSize(220, 359));

    // A close box only; a normal window type keeps the taskbar button,
    // which Qt::Tool and a parentless Qt::Dialog lose on X11.
    const Qt::WindowFlags flags = w->windowFlags();
    QCOMPARE(w->windowType(), Qt::Window);
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(w->windowHandle()->flags(), flags);

    QCOMPARE(w->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    QVERIFY(!w->windowIcon().isNull());

    // Centred on the primary screen, to the pixel the halves allow.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint offset = w->frameGeometry().center() - screen.center();
    QVERIFY2(std::abs(offset.x()) <= 1 && std::abs(offset.y()) <= 1,
             qPrintable(QStringLiteral("off centre by %1, %2").arg(offset.x()).arg(offset.y())));
}

// Every control: parent, place, font styles, text and background colours
// (invalid: none of its own, the application's).
void LookTest::layout_data()
{
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<unsigned>("styles");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background");

    const QString w = QStringLiteral("form_CALC");
    const QString g1 = QStringLiteral("GroupBox1");
    const QString g2 = QStringLiteral("GroupBox2");
    const QString g3 = QStringLiteral("GroupBox3");
    const QColor none;

    QTest::newRow("JvLabel2") << w << QRect(11, 15, 75, 13) << unsigned(Bold | Underline) << kBlue << none;
    QTest::newRow("JvCalcEdit1") << w << QRect(114, 10, 94, 21) << unsigned(Regular) << none << none;
    QTest::newRow("GroupBox1") << w << QRect(8, 35, 97, 145) << unsigned(Regular) << none << none;
    QTest::newRow("GroupBox2") << w << QRect(111, 35, 97, 145) << unsigned(Regular) << none << none;
    QTest::newRow("Label3") << w << QRect(25, 190, 67, 13) << unsigned(Regular) << none << none;
    QTest::newRow("Edit_taux") << w << QRect(114, 186, 75, 21) << unsigned(Regular) << kYellow << kTauxBase;
    QTest::newRow("Button1") << w << QRect(214, 171, 85, 52) << unsigned(Regular) << none << none;
    QTest::newRow("GroupBox3") << w << QRect(7, 213, 206, 140) << unsigned(Bold) << none << kGroupBox3;

    // Both groups alike: effacer, O, 9, I, X, K.
    const int tops[] = {16, 35, 54, 73, 92, 112};
    const int first[] = {6, 1, 2, 3, 4, 5};
    const int second[] = {12, 7, 8, 9, 10, 11};
    for (int i = 0; i < 6; ++i) {
        for (const auto& [group, number] : {std::pair{g1, first[i]}, std::pair{g2, second[i]}}) {
            QTest::newRow(qPrintable(QStringLiteral("RadioButton%1").arg(number)))
                << group << QRect(16, tops[i], 57, 17) << unsigned(Regular) << none << none;
        }
    }

    QTest::newRow("Label2") << g3 << QRect(24, 24, 68, 13) << unsigned(Bold) << none << none;
    QTest::newRow("Edit_valeur_13") << g3 << QRect(107, 20, 75, 21) << unsigned(Bold) << none << none;
    QTest::newRow("Label5") << g3 << QRect(188, 20, 7, 13) << unsigned(Bold) << none << none;
    QTest::newRow("Label4") << g3 << QRect(24, 51, 68, 13) << unsigned(Bold) << none << none;
    QTest::newRow("Edit_valeur_14") << g3 << QRect(107, 48, 75, 21) << unsigned(StrikeOut) << kSilver << none;
    QTest::newRow("Label6") << g3 << QRect(188, 51, 7, 13) << unsigned(Bold) << none << none;
    QTest::newRow("JvLabel1") << g3 << QRect(25, 77, 49, 15) << unsigned(Bold | Underline) << kBlue << none;
    QTest::newRow("Edit_valeur_14_JO") << g3 << QRect(107, 75, 75, 21) << unsigned(Bold) << none << none;
    QTest::newRow("Label7") << g3 << QRect(188, 80, 7, 13) << unsigned(Bold) << none << none;
    QTest::newRow("Label8") << g3 << QRect(24, 104, 58, 13) << unsigned(Bold) << none << none;
    QTest::newRow("Edit_delta") << g3 << QRect(107, 102, 75, 21) << unsigned(Italic) << kRed << none;
    QTest::newRow("Label9") << g3 << QRect(190, 105, 7, 13) << unsigned(Bold) << none << none;
}

void LookTest::layout()
{
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QWidget* w = control(QTest::currentDataTag());
    QVERIFY(w);
    QCOMPARE(w->parentWidget()->objectName(), parent);
    QCOMPARE(w->geometry(), geometry);
    if (w->isHidden())
        return; // Button1 is never drawn

    // Its caption shows whole where its style puts it, in every font it
    // takes (a link's hot font too).
    const std::optional<CaptionArea> caption = captionArea(w);
    if (!caption)
        return;
    if (!QFontDatabase::families().contains(QStringLiteral("Tahoma")))
        QSKIP("no Tahoma (package fonts-wine): the fallback font is wider than the layout");
    QVERIFY(!caption->text.isEmpty());
    for (const QFont& font : caption->fonts) {
        const QRect ink = inkOf(font, caption->text, caption->area.size(), caption->flags)
                              .translated(caption->area.topLeft());
        QVERIFY2(caption->area.contains(ink) && w->rect().contains(ink),
                 qPrintable(QStringLiteral("\"%1\" inks %2,%3 %4x%5, outside %6,%7 %8x%9")
                                .arg(caption->text)
                                .arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())
                                .arg(caption->area.x()).arg(caption->area.y())
                                .arg(caption->area.width()).arg(caption->area.height())));
    }
}

void LookTest::fontsAndColours()
{
    QFETCH(unsigned, styles);
    QFETCH(QColor, text);
    QFETCH(QColor, background);
    QWidget* w = control(QTest::currentDataTag());
    QVERIFY(w);

    const QFont font = w->font();
    QCOMPARE(font.families().value(0), QStringLiteral("Tahoma"));
    QCOMPARE(font.pixelSize(), 11);
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma")))
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("Tahoma"));
    QCOMPARE(font.bold(), (styles & Bold) != 0);
    QCOMPARE(font.italic(), (styles & Italic) != 0);
    QCOMPARE(font.strikeOut(), (styles & StrikeOut) != 0);
    QCOMPARE(font.underline(), (styles & Underline) != 0);

    const QPalette app = QApplication::palette();
    auto* link = qobject_cast<LinkLabel*>(w);
    auto* edit = qobject_cast<QLineEdit*>(w);
    if (link) {
        QVERIFY(!link->isHot());
        QCOMPARE(link->captionColor(), text);
        QCOMPARE(link->captionFont(), font);
    } else if (edit) {
        QCOMPARE(edit->palette().color(QPalette::Text),
                 text.isValid() ? text : app.color(QPalette::Text));
        QCOMPARE(edit->palette().color(QPalette::Base),
                 background.isValid() ? background : app.color(QPalette::Base));
        if (w->objectName().startsWith(u"Edit_"))
            QCOMPARE(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    } else {
        QCOMPARE(w->palette().color(QPalette::WindowText),
                 text.isValid() ? text : app.color(QPalette::WindowText));
    }
    if (!edit) {
        // Only GroupBox3 paints a background of its own; the labels, links
        // among them, are transparent.
        QCOMPARE(w->autoFillBackground(), background.isValid());
        if (background.isValid())
            QCOMPARE(w->palette().color(QPalette::Window), background);
    }
}

// After 100 and "K", each declared colour in the pixels of its control.
void LookTest::declaredColoursOnScreen_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("tolerance");
    QTest::addColumn<double>("share"); // of the control's pixels, at least
    QTest::addColumn<int>("line");     // a horizontal run at least this long (px)

    QTest::newRow("Edit_taux background") << "Edit_taux" << kTauxBase << 4 << 0.5 << 0;
    QTest::newRow("Edit_taux yellow text") << "Edit_taux" << kYellow << 60 << 0.01 << 0;
    QTest::newRow("GroupBox3 background") << "GroupBox3" << kGroupBox3 << 2 << 0.5 << 0;
    // Struck out: a silver line across "124,32".
    QTest::newRow("Edit_valeur_14 silver text") << "Edit_valeur_14" << kSilver << 16 << 0.01 << 25;
    QTest::newRow("Edit_delta red text") << "Edit_delta" << kRed << 60 << 0.01 << 0;
    // Underlined across the caption.
    QTest::newRow("JvLabel2 blue") << "JvLabel2" << kBlue << 60 << 0.05 << 55;
    QTest::newRow("JvLabel1 blue") << "JvLabel1" << kBlue << 60 << 0.05 << 35;
    QTest::newRow("JvLabel1 on GroupBox3's background") << "JvLabel1" << kGroupBox3 << 2 << 0.3 << 0;
}

void LookTest::declaredColoursOnScreen()
{
    QFETCH(QString, control);
    QFETCH(QColor, colour);
    QFETCH(int, tolerance);
    QFETCH(double, share);
    QFETCH(int, line);

    f.enterBase(QStringLiteral("100"));
    f.clickOption(f.w.RadioButton5);
    QCOMPARE(f.fields(), (QStringList{QStringLiteral("11,5%"), QStringLiteral("111,5"),
                                      QStringLiteral("124,32"), QStringLiteral("123"),
                                      QStringLiteral("1,32")}));
    const QPixmap pixmap = f.window()->grab();
    const QImage shot = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    const QImage image = part(shot, pixmap.devicePixelRatio(), f.window()->findChild<QWidget*>(control));
    const int n = countNear(image, colour, tolerance);
    QVERIFY2(n >= share * image.width() * image.height(),
             qPrintable(QStringLiteral("%1 of %2 pixels").arg(n).arg(image.width() * image.height())));
    const int run = longestRun(image, colour, tolerance);
    QVERIFY2(run >= line * pixmap.devicePixelRatio(),
             qPrintable(QStringLiteral("longest run %1").arg(run)));
}

void LookTest::linkHotTracking_data()
{
    QTest::addColumn<QString>("link");
    QTest::newRow("JvLabel2") << "JvLabel2";
    QTest::newRow("JvLabel1") << "JvLabel1";
}

void LookTest::linkHotTracking()
{
    QFETCH(QString, link);
    auto* label = f.window()->findChild<LinkLabel*>(link);
    QVERIFY(label);
    QWindow* window = f.handle();
    // Over the window's face, away from any control.
    const QPoint away(216, 4);
    const auto pointer = [window] { return window->cursor().shape(); };
    const auto declaredLook = [label] {
        return label->captionFont().bold() && label->captionFont().underline()
            && label->captionColor() == kBlue;
    };

    // Qt drops a move to where the pointer already is, and the last window
    // left it at `away`: this window would never see the pointer come in.
    QTest::mouseMove(window, away - QPoint(1, 0));
    QTest::mouseMove(window, away);
    QVERIFY(!label->isHot());
    QVERIFY(declaredLook());
    QCOMPARE(pointer(), Qt::ArrowCursor);

    QTest::mouseMove(window, label->mapTo(f.window(), label->rect().center()));
    QTRY_VERIFY(label->isHot());
    QVERIFY(!label->captionFont().bold());
    QVERIFY(!label->captionFont().underline());
    QCOMPARE(label->captionColor(), label->palette().color(QPalette::WindowText));
    QCOMPARE(pointer(), Qt::ArrowCursor);
    // Nothing else of it changes.
    QCOMPARE(label->geometry(), link == u"JvLabel2" ? QRect(11, 15, 75, 13) : QRect(25, 77, 49, 15));

    QTest::mouseMove(window, away);
    QTRY_VERIFY(!label->isHot());
    QVERIFY(declaredLook());
    QCOMPARE(pointer(), Qt::ArrowCursor);
}

void LookTest::linkClick_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QUrl>("url");
    QTest::newRow("JvLabel2") << "JvLabel2" << kAmeli;
    QTest::newRow("JvLabel1") << "JvLabel1" << kLegifrance;
}

void LookTest::linkClick()
{
    QFETCH(QString, link);
    QFETCH(QUrl, url);
    QList<QUrl> opened;
    brindelor::ui::setUrlSeam([&opened](const QUrl& u) { opened << u; });
    const auto restore = qScopeGuard([] { brindelor::ui::setUrlSeam({}); });

    // Something computed first, so that a field a click touched would show.
    f.enterBase(QStringLiteral("100"));
    f.clickOption(f.w.RadioButton5);
    f.clickOption(f.w.RadioButton8);
    const QStringList fields = f.fields();
    QCOMPARE(fields.value(0), QStringLiteral("13,4%"));
    const QString entry = f.entry()->text();
    QWidget* focus = QApplication::focusWidget();

    f.click(f.window()->findChild<LinkLabel*>(link));
    QCOMPARE(opened, QList<QUrl>{url});
    QCOMPARE(f.fields(), fields);
    QCOMPARE(f.entry()->text(), entry);
    QCOMPARE(QApplication::focusWidget(), focus);
    QVERIFY(f.w.RadioButton5->isChecked());
    QVERIFY(f.w.RadioButton8->isChecked());
    QCOMPARE(taux_modif1, 11.5f);
    QCOMPARE(taux_modif2, 1.9f);
    QVERIFY(f.boxes.empty());
    QCOMPARE(f.beeps, 0);
}

void LookTest::accessibleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("JvCalcEdit1") << "Tarif de base";
    QTest::newRow("Edit_taux") << "Augmentation";
    QTest::newRow("Edit_valeur_13") << "01/07/2013";
    QTest::newRow("Edit_valeur_14") << "01/03/2014";
    QTest::newRow("Edit_valeur_14_JO") << "JO 2012";
    QTest::newRow("Edit_delta") << "Différence";
}

void LookTest::accessibleNames()
{
    QFETCH(QString, name);
    QWidget* edit = control(QTest::currentDataTag());
    QVERIFY(edit);
    // What a screen reader is told, with or without a value in the field.
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(edit);
    QVERIFY(a);
    QCOMPARE(a->role(), QAccessible::EditableText);
    QCOMPARE(a->text(QAccessible::Name), name);
    f.enterBase(QStringLiteral("100"));
    f.clickOption(f.w.RadioButton5);
    QCOMPARE(a->text(QAccessible::Name), name);
}

// The program's own start-up runs in initTestCase, so no ui_test_main.h.
int main(int argc, char** argv)
{
    qputenv("LC_ALL", "fr_FR.UTF-8");
    qputenv("LANG", "fr_FR.UTF-8");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    brindelor::app::Application app(argc, argv);
    QTEST_SET_MAIN_SOURCE_PATH
    LookTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "look_test.moc"
