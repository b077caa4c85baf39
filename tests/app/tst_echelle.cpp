// The window on a 1920 x 1080 screen at a scale factor of 2 (960 x 540 for the window): it opens
// inside the screen, its panel scrolls to every control, and the frame is drawn on the device's
// own pixels, one screen pixel for one frame pixel where it fits, never upscaled.
#include "aide_fenetre.h"

#include "app/vue.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

class TstEchelle : public QObject {
    Q_OBJECT
  private slots:
    void tient();
    void net();
};

void TstEchelle::tient() {
    const QScreen* ecran = QGuiApplication::primaryScreen();
    QCOMPARE(ecran->geometry().size(), QSize(960, 540));
    Banc b;
    b->placefenetre();
    b->show();
    QVERIFY(QTest::qWaitForWindowExposed(b.f.get()));
    QVERIFY2(ecran->availableGeometry().contains(b->frameGeometry()),
             qPrintable(QStringLiteral("%1 x %2 at %3, %4")
                            .arg(b->frameGeometry().width())
                            .arg(b->frameGeometry().height())
                            .arg(b->frameGeometry().x())
                            .arg(b->frameGeometry().y())));
    // Every control can be scrolled to; the status bar stays below.
    QVERIFY(b->defilepanneau->isVisible());
    QVERIFY(b->barre->isVisible());
    b->defilepanneau->setValue(b->defilepanneau->maximum());
    QVERIFY(b->Onglet2->geometry().bottom() < b->barre->y());
    b->defilepanneau->setValue(0);
    QCOMPARE(b->Button10->y(), 0);
}

void TstEchelle::net() {
    Banc b;
    b.carte(2000, 1500);
    b->redessine();
    b->placefenetre();
    b->show();
    QVERIFY(QTest::qWaitForWindowExposed(b.f.get()));
    QCOMPARE(b->fond->devicePixelRatioF(), 2.0);
    // 720 x 576 frame pixels fit in the view's device pixels: one for one.
    QCOMPARE(b->fond->echelle(), 1.0);
    const QImage vue = b->fond->grab().toImage();
    QCOMPARE(vue.devicePixelRatio(), 2.0);
    const QRectF c = b->fond->cadre();
    const QPoint o(qRound(c.x() * 2), qRound(c.y() * 2));
    for (const QPoint p : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(357, 211),
                           QPoint(358, 211), QPoint(719, 575)})
        QCOMPARE(depuisqrgb(vue.pixel(o + p)), couleurcarte(p.x(), p.y()));
    // A mouse position maps to the frame pixel drawn under it.
    int x = 0, y = 0;
    QVERIFY(b->fond->verscadre(c.topLeft() + QPointF(179.25, 105.75), x, y));
    QCOMPARE(QPoint(x, y), QPoint(358, 211));
}

int main(int argc, char** argv) {
    // A screen of 1920 x 1080 device pixels, the window system's scale factor 2.
    QTemporaryDir dossier;
    const QString config = dossier.filePath(QStringLiteral("ecran.json"));
    QFile f(config);
    if (!f.open(QIODevice::WriteOnly)) return 1;
    f.write(R"({"screens": [{"name": "ecran", "x": 0, "y": 0, "width": 1920, "height": 1080}]})");
    f.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toUtf8());
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TstEchelle t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_echelle.moc"
