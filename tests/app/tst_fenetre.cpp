// The window at other sizes than its first: the view grows and shows the frame larger, the panel
// keeps to the right, the status bar below everything; on a small screen the panel scrolls. The
// title, the status bar's fields, the time line's keyframe marks and ruler, and the magnifier
// that helps to pick the first pixel of a route.
#include "aide_fenetre.h"
#include "aide_images.h"

#include "app/lignetemps.h"
#include "app/vue.h"

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QToolTip>
#include <QWindow>

namespace {

void montre(Banc& b, QSize taille) {
    b->resize(taille);
    b->show();
    QVERIFY(QTest::qWaitForWindowExposed(b.f.get()));
    QCOMPARE(b->size(), taille);
}

void film1080(Banc& b) {
    b->largeurfilm->setValue(1920);
    b->hauteurfilm->setValue(1080);
    b->zoomfilm->setValue(1.0);
    b->appliquefilm->click();
    QCOMPARE(b.e().film, (Film{1920, 1080, 1.0}));
}

// Every visible control of the window's main area, the view's bars and the status bar included.
QList<QWidget*> visibles(Banc& b) {
    QList<QWidget*> l;
    for (QObject* o : b->children())
        if (auto* w = qobject_cast<QWidget*>(o); w && w->isVisible()) l.append(w);
    return l;
}

// The mouse moved over the view to `p`.
void bouge(Banc& b, QPoint p) {
    QMouseEvent ev(QEvent::MouseMove, QPointF(p), b->fond->mapToGlobal(QPointF(p)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(b->fond, &ev);
}

QColor pixel(QWidget* w, QPoint p) {
    return w->grab().toImage().pixelColor(p);
}

} // namespace

class TstFenetre : public QObject {
    Q_OBJECT
  private slots:
    void tailles_data();
    void tailles();
    void premiereTailleRevient();
    void titre();
    void barre();
    void reperes();
    void loupe();
};

void TstFenetre::tailles_data() {
    QTest::addColumn<QSize>("taille");
    QTest::addColumn<bool>("film");      // a 1920 x 1080 film, else the classic one
    QTest::addColumn<double>("echelle"); // screen pixels a frame pixel takes; 0: less than 1
    QTest::addColumn<bool>("defile");    // the panel scrolls
    QTest::newRow("premiere") << QSize(937, 599) << false << 1.0 << false;
    QTest::newRow("1080p premiere") << QSize(937, 599) << true << 0.375 << false;
    // 2.2 times the first size's: the 1583 pixels the view is wide.
    QTest::newRow("1080p 1800x1000") << QSize(1800, 1000) << true << 1583.0 / 1920 << false;
    // Larger than the frame: shown 1:1 between bands, never enlarged.
    QTest::newRow("classique 1800x1000") << QSize(1800, 1000) << false << 1.0 << false;
    // 1366 x 768 at 125 %, 1920 x 1080 at 200 %: the panel scrolls, the frame is scaled down.
    QTest::newRow("1366 a 125") << QSize(1085, 540) << false << 0.0 << true;
    QTest::newRow("1920 a 200") << QSize(952, 482) << false << 0.0 << true;
}

void TstFenetre::tailles() {
    QFETCH(QSize, taille);
    QFETCH(bool, film);
    QFETCH(double, echelle);
    QFETCH(bool, defile);
    Banc b;
    b.carte(2000, 1500);
    if (film) film1080(b);
    montre(b, taille);
    const int hb = b->barre->isVisible() ? b->barre->height() : 0;
    const int ld = defile ? b->defilepanneau->width() : 0;
    // The view takes what the panel leaves; the frame is as large as fits, 1:1 at most.
    QCOMPARE(b->fond->width(), taille.width() - 217 - ld);
    QCOMPARE(b->fond->height(), taille.height() - hb - 23);
    if (echelle > 0)
        QVERIFY2(std::abs(b->fond->echelle() - echelle) < 0.001,
                 qPrintable(QString::number(b->fond->echelle())));
    else
        QVERIFY(b->fond->echelle() < 1 && b->fond->cadre().height() == b->fond->height());
    QCOMPARE(b->defilepanneau->isVisible(), defile);
    // The panel at the right edge, clear of the view and its bars; the status bar below all.
    QCOMPARE(b->Button1->geometry().right(), taille.width() - ld - 7);
    const QRect vue = b->fond->geometry() | b->Ascl->geometry() | b->Asch->geometry();
    for (QWidget* w : visibles(b)) {
        if (w == b->barre || w == b->fond || w == b->Ascl || w == b->Asch) continue;
        QVERIFY2(!w->geometry().intersects(vue), qPrintable(w->objectName()));
        if (w != b->defilepanneau) QVERIFY(w->geometry().right() < taille.width() - ld);
        if (!defile) QVERIFY2(b->rect().contains(w->geometry()), qPrintable(w->objectName()));
    }
    if (hb) QVERIFY(vue.bottom() < b->barre->y());
    if (defile) {
        // Scrolled to its end, the panel's last control shows above the status bar.
        b->defilepanneau->setValue(b->defilepanneau->maximum());
        QVERIFY(b->Onglet2->geometry().bottom() < b->barre->y());
        QVERIFY(b->Button10->y() < 0);
    } else if (hb) {
        QVERIFY(b->Onglet2->geometry().bottom() < b->barre->y());
    }
}

// Resized and back: the first size's places again, the status bar out of the way.
void TstFenetre::premiereTailleRevient() {
    Banc b;
    montre(b, QSize(1800, 1000));
    QVERIFY(b->barre->isVisible());
    QCOMPARE(b->Onglet2->geometry(), QRect(741 + 863, 184, 191, 1000 - b->barre->height() - 190));
    montre(b, QSize(937, 599));
    QVERIFY(!b->barre->isVisible());
    const std::pair<QWidget*, QRect> places[] = {
        {b->fond, {0, 0, 720, 576}},  {b->Ascl, {0, 576, 721, 16}},
        {b->Asch, {720, 0, 16, 577}}, {b->Button10, {744, 0, 60, 25}},
        {b->TL, {740, 144, 190, 33}}, {b->Onglet2, {741, 184, 191, 409}}};
    for (const auto& [w, place] : places)
        QCOMPARE(w->geometry(), place);
    // The first size with its status bar below it is what the program opens at.
    QCOMPARE(b->taillepremiere(), QSize(937, 599 + b->barre->sizeHint().height()));
}

void TstFenetre::titre() {
    Banc b;
    const QString v150 = QStringLiteral("Vialume par M.R. V1.50");
    QCOMPARE(b->windowTitle(), v150);
    // As "Charger" opens a map: the tip length first.
    b->embout30();
    b->chargecarte(ecritbmp(b.dossier.path(), "carte.bmp", dessin(800, 600)));
    QCOMPARE(b->windowTitle(), v150 + QStringLiteral(" — carte.vlp"));
    b->montre->setChecked(true);
    b->note();
    QCOMPARE(b->windowTitle(), v150 + QStringLiteral(" — carte.vlp *"));
    b->sauver->click();
    QCOMPARE(b->windowTitle(), v150 + QStringLiteral(" — carte.vlp"));
    b->annule();
    QCOMPARE(b->windowTitle(), v150 + QStringLiteral(" — carte.vlp *"));
}

void TstFenetre::barre() {
    Banc b;
    b.carte(2000, 1500);
    montre(b, b->taillepremiere());
    QVERIFY(b->barre->isVisible());
    b->TL->setValue(80);
    QCOMPARE(b->barretemps->text(), QStringLiteral("3,2 s — image 80 / 150"));
    QCOMPARE(b->barrezoom->text(), QStringLiteral("zoom 100 % — vue 100 %"));
    b.e().ascl = 100;
    b->synchro();
    b->redessine();
    bouge(b, QPoint(30, 40));
    QCOMPARE(b->barrepixel->text(), QStringLiteral("pixel 130, 40"));
    const QString hexa = QStringLiteral("#%1").arg(versqrgb(couleurcarte(130, 40)) & 0xffffff, 6,
                                                   16, QLatin1Char('0'));
    QVERIFY2(b->barrecouleur->text().contains(hexa.toUpper()), qPrintable(b->barrecouleur->text()));
    // A control's status tip shows there as the mouse enters it.
    QEnterEvent entre(QPointF(2, 2), QPointF(2, 2), b->Wtl->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(b->Wtl, &entre);
    QCOMPARE(b->barre->currentMessage(), QStringLiteral("temps courant"));
    // A zoomed film: the map pixel under the mouse, and both zooms.
    film1080(b);
    b->zoomfilm->setValue(2.0);
    b->appliquefilm->click();
    bouge(b, QPoint(b->fond->width() / 2, b->fond->height() / 2 + 1));
    QCOMPARE(b->barrezoom->text(), QStringLiteral("zoom 200 % — vue 38 %"));
}

void TstFenetre::reperes() {
    Banc b;
    b.carte(2000, 1500);
    montre(b, QSize(937, 599));
    auto* tl = static_cast<LigneTemps*>(b->TL);
    // A keyframe at 75: its mark between those of the ends, in its colour.
    b->TL->setValue(75);
    b->creerIC->click();
    QCOMPARE(b.e().nbcle, 3);
    const int x = tl->xde(75);
    QVERIFY(tl->xde(0) < x && x < tl->xde(150));
    const int y = tl->ymarque() + 2;
    const QColor c = pixel(tl, QPoint(x, y));
    QVERIFY2(c.red() > 200 && c.green() > 90 && c.green() < 170 && c.blue() < 80,
             qPrintable(c.name()));
    // A click on it goes to that keyframe; elsewhere the band moves as a track bar does.
    b->TL->setValue(10);
    QTest::mouseClick(b->TL, Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
    QCOMPARE(b->TL->value(), 75);
    QCOMPARE(b->Icle->currentRow(), 1);
    QCOMPARE(b->Wtl->text(), QStringLiteral("03:00"));
    // Wtl says what its text is, and keeps V1.50's hint.
    QHelpEvent bulle(QEvent::ToolTip, QPoint(5, 5), b->Wtl->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(b->Wtl, &bulle);
    QVERIFY2(QToolTip::text().contains(QStringLiteral("ss:ii")), qPrintable(QToolTip::text()));
    QVERIFY(b->Wtl->toolTip().isEmpty());
    QHelpEvent surmarque(QEvent::ToolTip, QPoint(x, y), b->TL->mapToGlobal(QPoint(x, y)));
    QApplication::sendEvent(b->TL, &surmarque);
    QVERIFY2(QToolTip::text().contains(QStringLiteral("3,0 s — image 75")),
             qPrintable(QToolTip::text()));
    // A ruler in whole seconds, its ticks far enough apart to be told apart, also on a long film.
    QCOMPARE(tl->tickInterval(), 25 * tl->pasregle());
    while (b.e().tlmax < 2000)
        b->Button4->click();
    QVERIFY(tl->pasregle() > 1);
    QCOMPARE(tl->tickInterval(), 25 * tl->pasregle());
    QVERIFY(long(tl->tickInterval()) * (tl->width() - 20) / tl->maximum() >= 6);
}

// While a trace waits for its start click: an 8x square under the cross-hair with the aimed pixel
// outlined and its colour; Ctrl+wheel zooms the classic film's view for aiming only.
void TstFenetre::loupe() {
    Banc b;
    b.carte(2000, 1500);
    b.e().check = false; // the map itself, as a trace needs it
    b->synchro();
    b->redessine();
    montre(b, QSize(937, 599));
    const QPoint souris(200, 150);
    bouge(b, souris);
    QVERIFY(!b->fond->loupevisible());
    b.d.couleurs.append(0x0000ff);
    b->calculvia->click();
    bouge(b, souris + QPoint(1, 0));
    bouge(b, souris);
    QVERIFY(b->fond->loupevisible());
    QCOMPARE(b->fond->cursor().shape(), Qt::CrossCursor);
    const QRect r = b->fond->placeloupe();
    QCOMPARE(r.size(), QSize(120, 120));
    QVERIFY(QRect(r.x() + 56, r.y() + 56, 8, 8).contains(souris));
    const QImage vue = b->fond->grab().toImage();
    // Blocks of 8 screen pixels: the aimed pixel, its right and lower neighbours.
    const std::tuple<QPoint, int, int> blocs[] = {
        {{60, 60}, 0, 0}, {{71, 60}, 1, 0}, {{60, 71}, 0, 1}, {{4, 4}, -7, -7}};
    for (const auto& [d, dx, dy] : blocs)
        QCOMPARE(depuisqrgb(vue.pixel(r.topLeft() + d)),
                 couleurcarte(souris.x() + dx, souris.y() + dy));
    // Ctrl+wheel: twice the size, the same pixel under the mouse, the film unchanged.
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    QVERIFY(b->fond->verscadre(souris, x0, y0));
    QWheelEvent roue(souris, b->fond->mapToGlobal(QPointF(souris)), QPoint(), QPoint(0, 120),
                     Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(b->fond, &roue);
    QCOMPARE(b->fond->grossissement(), 2);
    QVERIFY(b->fond->verscadre(souris, x1, y1));
    QCOMPARE(QPoint(x1, y1), QPoint(x0, y0));
    QVERIFY(b.e().film.classique());
    QCOMPARE(b->barrezoom->text(), QStringLiteral("zoom 100 % — vue 200 %"));
    // The click is taken there; the walk starts and the aiming ends.
    b->fondMouseDown(Qt::LeftButton, x1, y1);
    QVERIFY(QTest::qWaitFor([&b] { return b.e().etatcalcul == 0; }, 5000));
    QCOMPARE(b->fond->grossissement(), 1);
    QVERIFY(!b->fond->loupevisible());
    QCOMPARE(b->fond->cursor().shape(), Qt::ArrowCursor);
}

QTEST_MAIN(TstFenetre)
#include "tst_fenetre.moc"
