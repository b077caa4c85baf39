// The page "Film" in the window: the size and zoom taken with "Appliquer" or refused, the legend
// proposed for a new size, the route's style, the frame shown letterboxed, and a walk started by
// a click on a scaled frame.
#include "aide_route.h"

#include "app/vue.h"
#include "export/film.h"
#include "project/parametres.h"
#include "timeline/camera.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <cmath>

class TstFilm : public QObject {
    Q_OBJECT
  private slots:
    void appliquer() {
        Banc b;
        b.carte(2000, 1500);
        b->formatfilm->setCurrentIndex(2); // 1920 x 1080
        QCOMPARE(b->largeurfilm->value(), 1920);
        QCOMPARE(b->hauteurfilm->value(), 1080);
        // Nothing is taken before "Appliquer".
        QCOMPARE(b.e().film, Film{});
        b->appliquefilm->click();
        QCOMPARE(b.e().film, (Film{1920, 1080, 1.0}));
        QCOMPARE(b->s().vue.largeur(), 1920);
        QCOMPARE(b.e().asclmax, 2000 - 1920);
        QCOMPARE(b.e().aschmax, 1500 - 1080);
        // A legend that reads at 1080 lines: 4 % of the height; the shadow 6 pixels.
        QCOMPARE(b.e().police.taille, -43);
        QCOMPARE(b.e().xombre, 6);
        QCOMPARE(b->Xt->maximum(), 1920);
        QCOMPARE(b->Yt->maximum(), 1080);
        QVERIFY(ecrisparametres(b.e()).startsWith("[FILM]\r\ntaille\t1920\t1080\r\n[CHEMIN]"));
        QVERIFY(b.d.messages.isEmpty());
    }

    // A map too small for the view: refused with the zoom that fits, the page shows the film in
    // force again.
    void refus() {
        Banc b;
        b.carte(1000, 800);
        b->largeurfilm->setValue(1280);
        b->hauteurfilm->setValue(720);
        b->appliquefilm->click();
        QCOMPARE(b.e().film, Film{});
        QCOMPARE(b.d.messages.size(), 1);
        QVERIFY2(b.d.messages[0].contains(QStringLiteral("1280*720")), qPrintable(b.d.messages[0]));
        QCOMPARE(b->largeurfilm->value(), 720);
        QCOMPARE(b->formatfilm->currentIndex(), 0);
        // With the zoom it asks for, taken.
        b->largeurfilm->setValue(1280);
        b->hauteurfilm->setValue(720);
        b->zoomfilm->setValue(1.5);
        b->appliquefilm->click();
        QCOMPARE(b.e().film, (Film{1280, 720, 1.5}));
        QCOMPARE(b.e().asclmax, 1000 - 853);
    }

    void style() {
        Banc b;
        b.carte(800, 600);
        QVERIFY(!b->halotrait->isEnabled());
        b->largeurtrait->setValue(6);
        QCOMPARE(b.e().style.largeur, 6);
        QVERIFY(b->halotrait->isEnabled());
        b->halotrait->setValue(3);
        b.d.couleurs.append(0x00ff00);
        b->choixhalo->click();
        QCOMPARE(b.e().style, (Style{6, 3, 0x00ff00}));
        // Back to the route's own pixels: no outline either.
        b->largeurtrait->setValue(0);
        QCOMPARE(b.e().style, (Style{0, 0, 0x00ff00}));
    }

    // A 16:9 frame is shown whole in the 720 x 576 view, between bands; a click maps back to
    // the map pixel under it, and the walk starts there.
    void cadreEtClic() {
        Banc b;
        b.carte(2000, 1500);
        peintligne(b, 500, 400, 300);
        b->largeurfilm->setValue(1920);
        b->hauteurfilm->setValue(1080);
        b->zoomfilm->setValue(2.0);
        b->appliquefilm->click();
        QCOMPARE(b.e().film, (Film{1920, 1080, 2.0}));
        b.e().ascl = 300;
        b.e().asch = 200;
        b->synchro();
        b->redessine();
        const QRectF c = b->fond->cadre();
        QCOMPARE(c, QRectF(0, (576 - 405) / 2.0, 720, 405));
        // The widget point over map pixel (520, 400): film (440, 400), scaled by 720 / 1920.
        int x = 0, y = 0;
        const QPointF p(c.x() + 441 * c.width() / 1920, c.y() + 401 * c.height() / 1080);
        QVERIFY(b->fond->verscadre(p, x, y));
        QCOMPARE(b->verscarte(x, y), QPoint(220, 200));
        // Over the bands there is no frame pixel.
        int bx = 0, by = 0;
        QVERIFY(!b->fond->verscadre(QPointF(10, 5), bx, by));
        QVERIFY(trace(b, false, 0x0000ff, x, y));
        QCOMPARE(b.e().nbpt + 1, 300);
        // The walk starts beside the clicked pixel, as it always does.
        QVERIFY(std::abs(b.e().ptx[0] - 520) <= 1);
        QCOMPARE(b.e().pty[0], 400);
    }

    // The wheel scrolls the view a tenth of it a notch (Shift: sideways), Ctrl+wheel changes a
    // film's zoom (never the classic film's), a drag with the middle button pans.
    void souris() {
        Banc b;
        b.carte(2000, 1500);
        const auto roue = [&b](int angle, Qt::KeyboardModifiers touches) {
            QWheelEvent ev(QPointF(100, 100), b->fond->mapToGlobal(QPointF(100, 100)), QPoint(),
                           QPoint(0, angle), Qt::NoButton, touches, Qt::NoScrollPhase, false);
            QApplication::sendEvent(b->fond, &ev);
        };
        b.e().asch = 500;
        b->synchro();
        roue(-120, Qt::NoModifier);
        QCOMPARE(b.e().asch, 500 + 57);
        roue(-240, Qt::ShiftModifier);
        QCOMPARE(b.e().ascl, 2 * 72);
        roue(120, Qt::ControlModifier);
        QCOMPARE(b.e().film, Film{});
        // A drag of 30 frame pixels to the right shows what lies 30 map pixels to the left.
        QTest::mousePress(b->fond, Qt::MiddleButton, Qt::NoModifier, QPoint(200, 200));
        QMouseEvent bouge(QEvent::MouseMove, QPointF(170, 190),
                          b->fond->mapToGlobal(QPointF(170, 190)), Qt::NoButton, Qt::MiddleButton,
                          Qt::NoModifier);
        QApplication::sendEvent(b->fond, &bouge);
        QCOMPARE(b.e().ascl, 2 * 72 + 30);
        QCOMPARE(b.e().asch, 557 + 10);
        QTest::mouseRelease(b->fond, Qt::MiddleButton, Qt::NoModifier, QPoint(170, 190));
        // Meanwhile the small map shows where the camera stands on the whole map, for a moment;
        // the frame itself is untouched.
        QVERIFY(b->fond->cartevisible());
        const QRect carte = b->fond->placecarte(), champ = b->fond->placechamp();
        QCOMPARE(carte.size(), QSize(160, 120));
        QCOMPARE(champ.topLeft() - carte.topLeft(),
                 QPoint(std::lround(174 * 0.08), std::lround(567 * 0.08)));
        QCOMPARE(champ.size(), QSize(std::lround(720 * 0.08), std::lround(576 * 0.08)));
        QCOMPARE(b->s().vue.largeur(), 720);
        QVERIFY(QTest::qWaitFor([&b] { return !b->fond->cartevisible(); }, 3000));
        // At zoom 2 a notch of Ctrl+wheel zooms in a tenth.
        b->largeurfilm->setValue(1280);
        b->hauteurfilm->setValue(720);
        b->zoomfilm->setValue(2.0);
        b->appliquefilm->click();
        roue(120, Qt::ControlModifier);
        QCOMPARE(b.e().film.zoom, 2.2);
        QCOMPARE(b->zoomfilm->value(), 2.2);
    }

    // The keyframe on the frame shown takes its own zoom and pins the route's share from the
    // page; between frames the controls rest.
    void cleDuFilm() {
        Banc b;
        b.carte(2000, 1500);
        b.e().nbpt = 99;
        QVERIFY(b->zoomcle->isEnabled()); // frame 0 is a keyframe
        b->TL->setValue(b.e().tlmax / 2);
        QVERIFY(!b->zoomcle->isEnabled());
        b->TL->setValue(b.e().tlmax);
        QVERIFY(b->zoomcle->isEnabled());
        b->zoomcle->setValue(2.0);
        b->avancecle->setValue(500);
        const int n = b.e().tlmax;
        QCOMPARE(b.e().clezoom[1], 2.0);
        QCOMPARE(b.e().cleavance[1], 500);
        QCOMPARE(b.e().imgzoom[n], 2.0);
        QCOMPARE(b.e().imgavance[n], 500);
        QCOMPARE(b.e().imgzoom[0], 1.0);
        QCOMPARE(b->s().vue.largeur(), 720);
        // A zoom whose view the map cannot hold is not taken.
        b->zoomcle->setValue(0.25);
        QCOMPARE(b.e().clezoom[1], 2.0);
        QCOMPARE(b->zoomcle->value(), 2.0);
        // Back to the film's zoom and a free share: the classic table again.
        b->zoomcle->setValue(0);
        b->avancecle->setValue(SANSAVANCE);
        QCOMPARE(b.e().imgzoom[n], 0.0);
        QCOMPARE(b.e().imgavance[n], 1000);
    }

    // What playback shows is what the export writes: every tick of the player against the PNG
    // sequence, frame for frame, on a zoomed, eased, styled film.
    void apercuEgalExport() {
        Banc b;
        b.carte(2000, 1500);
        Etat& e = b.e();
        e.nbpt = 999;
        for (int i = 0; i <= e.nbpt; ++i) {
            e.ptx[i] = 300 + i;
            e.pty[i] = 400 + static_cast<int>(200 * std::sin(i / 150.0));
            e.ptcoul[i] = 0x0000ff;
        }
        b->largeurfilm->setValue(1280);
        b->hauteurfilm->setValue(720);
        b->appliquefilm->click();
        QCOMPARE(e.film, (Film{1280, 720, 1.0}));
        e.style = Style{6, 2, 0xffffff};
        e.checkbox1 = true;
        e.bordnb = QStringLiteral("40");
        e.coulbord = 0x00ffff;
        while (e.tlmax > 12)
            b->Button7->click();
        e.adoucit = true;
        QVERIFY(!suisroute(e, 80, 0, 1.5, true));
        b->synchro();
        const QString prefixe = b.dossier.filePath(QStringLiteral("f"));
        ExportPng x(e, b->s(), prefixe, false);
        while (!x.fini())
            QCOMPARE(x.etape(), std::nullopt);
        // The player's ticks, one by one from the first frame.
        b->synchro();
        b->DebutClick();
        QCOMPARE(e.tl, 0);
        for (int p = 1; p <= e.tlmax; ++p) {
            b->Timer1Timer();
            QCOMPARE(e.tl, p);
            const QImage vue = b->s().vue.image().convertToFormat(QImage::Format_RGB32);
            const QImage ecrit = QImage(x.fichier(p)).convertToFormat(QImage::Format_RGB32);
            QVERIFY2(vue == ecrit, qPrintable(QStringLiteral("image %1").arg(p)));
        }
    }
};

QTEST_MAIN(TstFilm)
#include "tst_film.moc"
