// The link labels: hot tracking, the pointer, what a click opens, the
// shadow, transparency and the accessible link.

#include "link_label.h"

#include "fonts.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include <stdexcept>

using brindelor::widgets::LinkLabel;

namespace {

const QUrl kAmeli(QStringLiteral("https://www.ameli.fr/accueil-de-la-ccam/trouver-un-acte/index.php"));
const QUrl kLegifrance(QStringLiteral(
    "https://www.legifrance.gouv.fr/affichTexte.do?cidTexte=JORFTEXT000027478395"));

// Colours no style would pick by itself, so a pixel of one of them can only
// come from the role it stands for.
const QColor kBackground(240, 240, 240);
const QColor kWindowText(0, 110, 0);
const QColor kLight(255, 170, 0);
const QColor kLinkBlue(0, 0, 255);

bool near(QColor a, QColor b, int tolerance = 40) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

// What a label shows on screen: the window's pixels where the label stands.
struct Shot {
  QImage image;

  int count(QColor c) const {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += near(image.pixelColor(x, y), c) ? 1 : 0;
    return n;
  }
  QRect box(QColor c) const {
    QRect r;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (near(image.pixelColor(x, y), c)) r |= QRect(x, y, 1, 1);
    return r;
  }
  // The longest horizontal run of colour c in row y.
  int run(int y, QColor c) const {
    int best = 0, cur = 0;
    for (int x = 0; x < image.width(); ++x) {
      cur = near(image.pixelColor(x, y), c) ? cur + 1 : 0;
      best = std::max(best, cur);
    }
    return best;
  }
  // A row below the baseline with a line of colour c across most of the text:
  // the underline (our captions have no descenders).
  bool underlined(int ascent, QColor c) const {
    for (int y = ascent; y < image.height(); ++y)
      if (run(y, c) * 10 >= image.width() * 7) return true;
    return false;
  }
};

}  // namespace

class LinkLabelTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void declaredLookIsBlueBoldUnderlinedAndTransparent();
  void hotTrackingOnEnterAndLeave();
  void notHotWhileDisabled();
  void notHotDuringDragFromElsewhere();
  void notHotWhileApplicationInactive();
  void shadowDrawnUnderCaptionTwoPixelsOff();
  void sizedToCaption_data();
  void sizedToCaption();
  void click_data();
  void click();
  void doubleClickActivatesOnce();
  void accessibleLink();

 private:
  Shot shoot(const LinkLabel* label);
  void moveTo(QPoint windowPos) { QTest::mouseMove(host_->windowHandle(), windowPos); }
  QPoint centreOf(const QWidget* w) const { return w->mapTo(host_.get(), w->rect().center()); }
  QPoint away() const { return {host_->width() - 5, host_->height() - 5}; }

  std::unique_ptr<QWidget> host_;
  LinkLabel* tarif_ = nullptr;  // as JvLabel2
  LinkLabel* jo_ = nullptr;     // as JvLabel1, with the shadow
  QWidget* other_ = nullptr;    // somewhere else to press
  QList<QUrl> opened_;  // the addresses of the labels activated, in order
};

void LinkLabelTest::initTestCase() { brindelor::widgets::loadBundledFonts(); }

void LinkLabelTest::init() {
  host_ = std::make_unique<QWidget>();
  host_->resize(240, 120);
  QPalette p = host_->palette();
  p.setColor(QPalette::Window, kBackground);
  p.setColor(QPalette::WindowText, kWindowText);
  p.setColor(QPalette::Light, kLight);
  host_->setPalette(p);
  host_->setAutoFillBackground(true);

  tarif_ = new LinkLabel(QStringLiteral("Tarif de base"), kAmeli, host_.get());
  tarif_->move(11, 15);
  jo_ = new LinkLabel(QStringLiteral("JO 2012"), kLegifrance, host_.get());
  jo_->setShadow(true);
  jo_->move(25, 77);
  other_ = new QWidget(host_.get());
  other_->setGeometry(150, 10, 80, 60);

  opened_.clear();
  for (LinkLabel* link : {tarif_, jo_})
    connect(link, &LinkLabel::activated, host_.get(), [this, link] { opened_ << link->url(); });

  host_->show();
  QVERIFY(QTest::qWaitForWindowActive(host_.get()));
  moveTo(away());
}

void LinkLabelTest::cleanup() {
  host_.reset();
}

Shot LinkLabelTest::shoot(const LinkLabel* label) {
  return {host_->grab(label->geometry()).toImage().convertToFormat(QImage::Format_RGB32)};
}

void LinkLabelTest::declaredLookIsBlueBoldUnderlinedAndTransparent() {
  QPalette own = tarif_->palette();
  own.setColor(QPalette::Window, Qt::magenta);  // would show if the label filled itself
  tarif_->setPalette(own);

  const QFont f = tarif_->captionFont();
  QVERIFY(f.bold());
  QVERIFY(f.underline());
  QCOMPARE(f.pixelSize(), 11);
  QCOMPARE(f.family(), QStringLiteral("Tahoma"));
  QCOMPARE(tarif_->captionColor(), kLinkBlue);

  const Shot shot = shoot(tarif_);
  QVERIFY(shot.count(kLinkBlue) > 0);
  QCOMPARE(shot.count(Qt::magenta), 0);
  // A third at least: the label is as tight as its bold caption.
  QVERIFY2(shot.count(kBackground) * 3 > shot.image.width() * shot.image.height(),
           "the parent's background does not show around the text");
  QVERIFY(shot.underlined(QFontMetrics(f).ascent(), kLinkBlue));
}

void LinkLabelTest::hotTrackingOnEnterAndLeave() {
  const int ascent = QFontMetrics(tarif_->captionFont()).ascent();
  QCOMPARE(tarif_->cursor().shape(), Qt::ArrowCursor);
  QVERIFY(tarif_->testAttribute(Qt::WA_SetCursor));

  moveTo(centreOf(tarif_));
  QVERIFY(tarif_->isHot());
  QVERIFY(!jo_->isHot());
  QFont f = tarif_->captionFont();
  QVERIFY(!f.bold());
  QVERIFY(!f.underline());
  QCOMPARE(f.pixelSize(), 11);
  QCOMPARE(tarif_->captionColor(), kWindowText);
  QCOMPARE(tarif_->cursor().shape(), Qt::ArrowCursor);
  {
    const Shot shot = shoot(tarif_);
    QCOMPARE(shot.count(kLinkBlue), 0);
    QVERIFY(shot.count(kWindowText) > 0);
    QVERIFY2(!shot.underlined(ascent, kWindowText), "hot caption still underlined");
  }

  moveTo(away());
  QVERIFY(!tarif_->isHot());
  f = tarif_->captionFont();
  QVERIFY(f.bold());
  QVERIFY(f.underline());
  QCOMPARE(tarif_->captionColor(), kLinkBlue);
  QCOMPARE(tarif_->cursor().shape(), Qt::ArrowCursor);
  const Shot shot = shoot(tarif_);
  QVERIFY(shot.count(kLinkBlue) > 0);
  QCOMPARE(shot.count(kWindowText), 0);
  QVERIFY(shot.underlined(ascent, kLinkBlue));
}

void LinkLabelTest::notHotWhileDisabled() {
  moveTo(centreOf(tarif_));
  QVERIFY(tarif_->isHot());
  tarif_->setEnabled(false);
  QVERIFY(!tarif_->isHot());
  tarif_->setEnabled(true);  // the mouse is still over it
  QVERIFY(tarif_->isHot());
}

void LinkLabelTest::notHotDuringDragFromElsewhere() {
  QWindow* window = host_->windowHandle();
  QTest::mousePress(window, Qt::LeftButton, {}, centreOf(other_));
  moveTo(centreOf(tarif_));
  QVERIFY(!tarif_->isHot());
  QTest::mouseRelease(window, Qt::LeftButton, {}, centreOf(tarif_));
  moveTo(centreOf(tarif_) + QPoint(1, 0));
  QVERIFY2(tarif_->isHot(), "the drag is over and the mouse is on the label");
  QVERIFY(opened_.isEmpty());
}

void LinkLabelTest::notHotWhileApplicationInactive() {
  moveTo(centreOf(tarif_));
  QVERIFY(tarif_->isHot());
  // The offscreen platform never deactivates the application; send what Qt
  // sends when the user switches to another program, and back.
  emit qApp->applicationStateChanged(Qt::ApplicationInactive);
  QVERIFY(!tarif_->isHot());
  QCOMPARE(tarif_->captionColor(), kLinkBlue);
  emit qApp->applicationStateChanged(Qt::ApplicationActive);
  QVERIFY(tarif_->isHot());
}

void LinkLabelTest::shadowDrawnUnderCaptionTwoPixelsOff() {
  LinkLabel plain(QStringLiteral("JO 2012"), kLegifrance);
  QCOMPARE(jo_->size(), plain.size() + QSize(LinkLabel::kShadowOffset, LinkLabel::kShadowOffset));

  const Shot shot = shoot(jo_);
  const QRect caption = shot.box(kLinkBlue);
  const QRect shadow = shot.box(kLight);
  QVERIFY(!caption.isEmpty());
  QVERIFY(!shadow.isEmpty());
  QCOMPARE(shadow.bottomRight(), caption.bottomRight() + QPoint(2, 2));
  // The caption comes last: its underline is whole, not crossed by the
  // shadow (an emboldened last glyph may pass its end by a pixel).
  QVERIFY(shot.run(caption.bottom(), kLinkBlue) >= caption.width() - 1);

  // The shadow follows the hot font too, and keeps the button-highlight colour.
  moveTo(centreOf(jo_));
  QVERIFY(jo_->isHot());
  const Shot hot = shoot(jo_);
  QVERIFY(hot.count(kLight) > 0);
  QCOMPARE(hot.box(kLight).topLeft(), hot.box(kWindowText).topLeft() + QPoint(2, 2));
}

void LinkLabelTest::sizedToCaption_data() {
  QTest::addColumn<QString>("caption");
  QTest::addColumn<bool>("shadow");
  QTest::newRow("Tarif de base") << QStringLiteral("Tarif de base") << false;
  QTest::newRow("JO 2012, shadow") << QStringLiteral("JO 2012") << true;
  QTest::newRow("long caption, shadow") << QStringLiteral("Différence de tarif 2014") << true;
}

void LinkLabelTest::sizedToCaption() {
  QFETCH(QString, caption);
  QFETCH(bool, shadow);
  // Renamed after construction on purpose: the label must follow its caption.
  LinkLabel label(QStringLiteral("x"), kAmeli);
  label.setShadow(shadow);
  label.setCaption(caption);

  // The ink of the caption, in either font, painted without any clipping.
  const int extra = shadow ? LinkLabel::kShadowOffset : 0;
  for (const QFont& font : {label.font(), label.hotTrackFont()}) {
    QImage big(400, 60, QImage::Format_RGB32);
    big.fill(Qt::white);
    QPainter p(&big);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, 400, 60), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption);
    p.end();
    QRect ink;
    for (int y = 0; y < big.height(); ++y)
      for (int x = 0; x < big.width(); ++x)
        if (big.pixelColor(x, y) != QColor(Qt::white)) ink |= QRect(x, y, 1, 1);
    ink.adjust(0, 0, extra, extra);
    QVERIFY2(QRect(QPoint(0, 0), label.size()).contains(ink),
             qPrintable(QStringLiteral("ink %1x%2 outside %3x%4")
                            .arg(ink.right() + 1).arg(ink.bottom() + 1)
                            .arg(label.width()).arg(label.height())));
  }
  // ... and no bigger than the caption needs (a couple of pixels of bearing).
  QFont declared = label.font();
  const QFontMetrics fm(declared);
  QVERIFY(label.width() <= fm.horizontalAdvance(caption) + extra + 2);
  QCOMPARE(label.height(), fm.height() + extra);
  QCOMPARE(label.sizeHint(), label.size());
}

void LinkLabelTest::click_data() {
  QTest::addColumn<QString>("label");
  QTest::addColumn<Qt::MouseButton>("button");
  QTest::addColumn<bool>("releaseInside");
  QTest::addColumn<bool>("opens");
  QTest::newRow("Tarif de base, left click") << "tarif" << Qt::LeftButton << true << true;
  QTest::newRow("JO 2012, left click") << "jo" << Qt::LeftButton << true << true;
  QTest::newRow("left press inside, release outside") << "tarif" << Qt::LeftButton << false << false;
  QTest::newRow("right click") << "tarif" << Qt::RightButton << true << false;
  QTest::newRow("middle click") << "jo" << Qt::MiddleButton << true << false;
}

void LinkLabelTest::click() {
  QFETCH(QString, label);
  QFETCH(Qt::MouseButton, button);
  QFETCH(bool, releaseInside);
  QFETCH(bool, opens);
  LinkLabel* link = label == QLatin1String("tarif") ? tarif_ : jo_;
  const QPoint inside = centreOf(link);

  QWindow* window = host_->windowHandle();
  moveTo(inside);
  QTest::mousePress(window, button, {}, inside);
  const QPoint release = releaseInside ? inside : centreOf(other_);
  moveTo(release);
  QTest::mouseRelease(window, button, {}, release);

  if (opens) {
    QCOMPARE(opened_, QList<QUrl>{link->url()});
    QCOMPARE(link->url(), label == QLatin1String("tarif") ? kAmeli : kLegifrance);
  } else {
    QVERIFY(opened_.isEmpty());
  }
  // A click changes nothing of the label itself.
  QCOMPARE(link->caption(), label == QLatin1String("tarif") ? QStringLiteral("Tarif de base")
                                                            : QStringLiteral("JO 2012"));
  QCOMPARE(link->cursor().shape(), Qt::ArrowCursor);
}

void LinkLabelTest::doubleClickActivatesOnce() {
  // Qt delivers press, release, double-click, release: one activation, as
  // a click followed by a double click gives on Windows.
  QWindow* window = host_->windowHandle();
  const QPoint at = centreOf(tarif_);
  moveTo(at);
  QTest::mouseDClick(window, Qt::LeftButton, {}, at);
  QCOMPARE(opened_, QList<QUrl>{kAmeli});
  // A later click is a click again.
  QTest::mouseClick(window, Qt::LeftButton, {}, at);
  QCOMPARE(opened_, (QList<QUrl>{kAmeli, kAmeli}));
}

void LinkLabelTest::accessibleLink() {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(jo_);
  QVERIFY(iface != nullptr);
  QCOMPARE(iface->role(), QAccessible::Link);
  QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("JO 2012"));
  QVERIFY(!iface->state().focusable);
  QAccessibleActionInterface* action = iface->actionInterface();
  QVERIFY(action != nullptr);
  action->doAction(QAccessibleActionInterface::pressAction());
  QCOMPARE(opened_, QList<QUrl>{kLegifrance});
}

QTEST_MAIN(LinkLabelTest)
#include "link_label_test.moc"
