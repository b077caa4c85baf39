// Projects that stay readable: whatever is saved reads back, what would not is refused before it
// is written, and a project moved, copied or edited by hand opens as it was made or says why not.
#include "aidepannes.h"

#include "geo/calage.h"
#include "geo/importe.h"
#include "project/carte.h"
#include "project/parametres.h"
#include "project/verrou.h"
#include "timeline/temps.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using Change = std::function<void(Etat&)>;
Q_DECLARE_METATYPE(Change)

namespace {

// A project on a 720 x 576 map in `dossier`, its tip length set as the map load sets it.
std::unique_ptr<Etat> projet(const QString& dossier) {
    auto e = nouveletat();
    filmdepart(*e);
    e->dossiercarte = dossier + QLatin1Char('/');
    e->fichiercarte = QStringLiteral("carte.bmp");
    e->fichierparam = QStringLiteral("carte.vlp");
    e->largeurcarte = VUEL;
    e->hauteurcarte = VUEH;
    e->bordnb = QStringLiteral("30");
    e->nbpt = 9;
    for (int i = 0; i <= 9; ++i) {
        e->ptx[i] = 100 + i;
        e->pty[i] = 200;
        e->ptcoul[i] = 0x0000ff;
    }
    return e;
}

// A GPS route: every point carries its distance, time and elevation.
void gps(Etat& e) {
    e.nbgeo = e.nbpt + 1;
    e.gpsdist = e.gpstemps = e.gpsalt = true;
    for (int i = 0; i <= e.nbpt; ++i) {
        e.ptdist[i] = 10.0 * i;
        e.pttemps[i] = 2.0 * i;
        e.ptalt[i] = 300;
    }
}

// n keyframes one second apart, each with its own zoom and pinned share.
void cles(Etat& e, int n) {
    e.nbcle = n;
    for (int k = 0; k < n; ++k) {
        e.cleimg[k] = k * e.ips;
        e.cletemps[k] = imgverstemps(e, e.cleimg[k]);
        e.cledecx[k] = k;
        e.cledecy[k] = 0;
        e.clezoom[k] = MAXZOOM;
        e.cleavance[k] = 1000;
    }
}

QImage uni(int l, int h, QRgb c) {
    QImage i(l, h, QImage::Format_RGB32);
    i.fill(c);
    return i;
}

} // namespace

class TstProjets : public QObject {
    Q_OBJECT
    QTemporaryDir dossier;

  private slots:
    // Each value at the edge of what the file holds is saved and read back as it was; one step
    // past it, the save is refused with its reason, the file of before stays, and the reader
    // would indeed have refused (or misread) what would have been written.
    void limites_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("lisible");
        QTest::addColumn<bool>("lecteurrefuse"); // the bytes past the limit fail to read
        const auto bord = [](Etat& e) {
            e.ptx[0] = MAXCOORD;
            e.pty[0] = -MAXCOORD;
            e.pttron[9] = MAXTRON;
        };
        QTest::newRow("points at the edge") << Change(bord) << true << false;
        QTest::newRow("point past the edge")
            << Change([](Etat& e) { e.ptx[3] = MAXCOORD + 1; }) << false << true;
        QTest::newRow("GPS values at the edge") << Change([](Etat& e) {
            gps(e);
            e.ptdist[9] = MAXREEL;
            e.pttemps[9] = MAXREEL;
            e.ptalt[0] = -MAXREEL;
        }) << true << false;
        QTest::newRow("elevation 1e308") << Change([](Etat& e) {
            gps(e);
            e.ptalt[4] = 1e308;
        }) << false << true;
        QTest::newRow("time not a number") << Change([](Etat& e) {
            gps(e);
            e.pttemps[4] = std::nan("");
        }) << false << true;
        const auto calage = [](Etat& e) {
            Calage& c = e.geo.calage;
            c = Calage::nord(MAXREEL, -MAXREEL, MAXREEL, QStringLiteral("EPSG:3857"));
            for (std::size_t k = 0; k < MAXAMERS; ++k)
                c.amers.push_back({MAXREEL, -MAXREEL, 45.5, -MAXREEL});
            e.geo.echx1 = e.geo.echy1 = -MAXREEL;
            e.geo.echx2 = e.geo.echy2 = e.geo.echmetres = MAXREEL;
        };
        QTest::newRow("placement at the edge") << Change(calage) << true << false;
        QTest::newRow("placement scale 1e13") << Change([](Etat& e) {
            e.geo.calage = Calage::nord(1e13, 0, 0, QStringLiteral("EPSG:3857"));
        }) << false << true;
        QTest::newRow("placement all zero") << Change([](Etat& e) {
            e.geo.calage.place = true;
            e.geo.calage.a = e.geo.calage.e = 0;
        }) << false << true;
        QTest::newRow("101 placement points") << Change([](Etat& e) {
            e.geo.calage = Calage::nord(10, 0, 0, {});
            e.geo.calage.amers.resize(MAXAMERS + 1);
        }) << false << true;
        QTest::newRow("placement point 1e13") << Change([](Etat& e) {
            e.geo.calage = Calage::nord(10, 0, 0, {});
            e.geo.calage.amers = {{1e13, 5, 44, 1}, {0, 0, 45, 2}};
        }) << false << true;
        QTest::newRow("keyframes and film at the edge") << Change([](Etat& e) {
            e.ips = MAXIPS;
            e.nbi = QString::number(MAXNBI);
            cles(e, MAXCLE);
            e.film = Film{MAXFILML, MAXFILMH, MINZOOM};
            e.police.taille = -MAXTAILLE;
            e.style = Style{MAXLARGEUR, MAXHALO, 0x123456};
            e.reglagestrace = ReglagesTrace{MAXTOLERANCE, true, MAXPONT, true};
        }) << true << false;
        QTest::newRow("keyframes reversed") << Change([](Etat& e) {
            cles(e, 3);
            std::swap(e.cletemps[0], e.cletemps[2]);
        }) << false << true;
        QTest::newRow("keyframe at -5:00") << Change([](Etat& e) {
            cles(e, 2);
            e.cletemps[0] = QStringLiteral("-5:00");
        }) << false << true;
        QTest::newRow("zoom past the range")
            << Change([](Etat& e) { e.imgzoom[3] = MAXZOOM * 1.01; }) << false << true;
        QTest::newRow("text of a whole line")
            << Change([](Etat& e) { e.txtautre = QString(MAXLIGNE, u'é'); }) << true << false;
        QTest::newRow("text a character too long")
            << Change([](Etat& e) { e.txtautre = QString(MAXLIGNE + 1, u'x'); }) << false << true;
        QTest::newRow("unit text that is an earlier key")
            << Change([](Etat& e) { e.txtautre = QStringLiteral("[KM]"); }) << true << false;
        QTest::newRow("unit text that reads as a key")
            << Change([](Etat& e) { e.txtautre = QStringLiteral("[OMBRE]"); }) << false << true;
        QTest::newRow("font name that reads as a key")
            << Change([](Etat& e) { e.police.nom = QStringLiteral("[KM]"); }) << false << false;
        QTest::newRow("tip length cleared")
            << Change([](Etat& e) { e.bordnb.clear(); }) << false << true;
    }
    void limites() {
        QFETCH(Change, change);
        QFETCH(bool, lisible);
        QFETCH(bool, lecteurrefuse);
        QTemporaryDir d;
        auto e = projet(d.path());
        QString erreur;
        QVERIFY2(sauveparametres(*e, erreur), qPrintable(erreur));
        const QByteArray avant = lit(cheminparametres(*e));
        change(*e);
        const QByteArray octets = ecrisparametres(*e);
        const Lecture relue = lisparametres(octets, 25);
        if (!lisible) {
            QVERIFY(horslimites(*e));
            QVERIFY(!sauveparametres(*e, erreur));
            qInfo("%s", qPrintable(erreur));
            QVERIFY(erreur.contains(*horslimites(*e)));
            QCOMPARE(lit(cheminparametres(*e)), avant);
            QCOMPARE(std::holds_alternative<ErreurLecture>(relue), lecteurrefuse);
            return;
        }
        QCOMPARE(horslimites(*e), std::nullopt);
        QVERIFY2(sauveparametres(*e, erreur), qPrintable(erreur));
        QCOMPARE(lit(cheminparametres(*e)), octets);
        const auto* p = std::get_if<Parametres>(&relue);
        QVERIFY2(p, p ? "" : qPrintable(std::get<ErreurLecture>(relue).message));
        // Applied to a project on the same map, it writes the same file again.
        auto f = projet(d.path());
        Surfaces s;
        QCOMPARE(appliqueparametres(*f, s, *p), QStringList());
        QCOMPARE(ecrisparametres(*f), octets);
    }

    // The inputs of `vialume gpx` that gave a project the program then refused to open are
    // refused where they come in, with their reason, and change nothing.
    void entreesrefusees() {
        // Placement points: 1e13 pixels, a hair apart, one too many.
        const std::vector<std::vector<Amer>> refuses = {
            {{1e13, 5, 44, 1}, {100, 100, 45, 2}},
            {{100, 100, 45, 2}, {100 + 1e-7, 100, 46, 3}},
            std::vector<Amer>(MAXAMERS + 1, Amer{1, 2, 45, 2}),
        };
        for (const auto& amers : refuses) {
            const LectureCalage l = ajuste(amers);
            QVERIFY(std::holds_alternative<ErreurGeo>(l));
            qInfo("%s", qPrintable(std::get<ErreurGeo>(l).message));
        }
        // A world file whose pixel is 1e13 units wide.
        QVERIFY(std::holds_alternative<ErreurGeo>(lismonde("1e13\n0\n0\n-1\n0\n0\n")));
        // A track point 1e308 m high: the route of before stays.
        auto e = projet(dossier.path());
        TraceGps t;
        SegmentGps s(3);
        for (int i = 0; i < 3; ++i) {
            s[i].lat = 46.0 - 0.001 * i;
            s[i].lon = 2.0 + 0.001 * i;
            s[i].alt = i == 1 ? 1e308 : 100;
            s[i].aalt = true;
        }
        t.nbpoints = 3;
        t.segments.push_back(s);
        const Calage c = Calage::nord(0.0001, 2.0, 46.0, QStringLiteral("EPSG:4326"));
        QString erreur;
        const auto p = Projection::cree(c, erreur);
        QVERIFY(p);
        const QByteArray avant = ecrisparametres(*e);
        const auto r = importe(*e, t, *p, 255);
        QVERIFY(std::holds_alternative<QString>(r));
        qInfo("%s", qPrintable(std::get<QString>(r)));
        QCOMPARE(ecrisparametres(*e), avant);
        // The same track 300 m high goes in, and saves.
        t.segments[0][1].alt = 300;
        QVERIFY(std::holds_alternative<Importation>(importe(*e, t, *p, 255)));
        QVERIFY2(sauveparametres(*e, erreur), qPrintable(erreur));
    }

    // Lines the writer never writes are refused at their line: keyframes out of order or before
    // the film's start, a placement that flattens the map.
    void lignesrefusees_data() {
        QTest::addColumn<QByteArray>("lignes");
        QTest::addColumn<int>("ligne");
        const QByteArray tete = "[CHEMIN]\r\n[PHOTO]\r\n[IPS]\r\n25\r\n[CLE]\r\n";
        QTest::newRow("keyframes reversed")
            << tete + "0\t0\t10:00\r\n0\t0\t05:00\r\n0\t0\t00:00\r\n[IMGMAX]\r\n250\r\n"
            << 7;
        QTest::newRow("keyframe at -5:00")
            << tete + "0\t0\t-5:00\r\n0\t0\t10:00\r\n[IMGMAX]\r\n250\r\n"
            << 6;
        QTest::newRow("placement all zero") << "[GEO]\r\ncalage\t0\t0\t0\t0\t0\t0\r\n" + tete << 2;
        QTest::newRow("placement flat") << "[GEO]\r\ncalage\t1\t2\t0\t2\t4\t0\r\n" + tete << 2;
    }
    void lignesrefusees() {
        QFETCH(QByteArray, lignes);
        QFETCH(int, ligne);
        const Lecture l = lisparametres(lignes, 25);
        QVERIFY(std::holds_alternative<ErreurLecture>(l));
        const ErreurLecture& err = std::get<ErreurLecture>(l);
        qInfo("%s", qPrintable(err.message));
        QCOMPARE(err.ligne, ligne);
    }

    // A display picture of another size than the map, named by a project, is refused as its
    // button refuses it: the map stays on show and the name goes.
    void visudautretaille() {
        QTemporaryDir d;
        QVERIFY(uni(VUEL, VUEH, 0xff336699).save(d.filePath(QStringLiteral("carte.bmp"))));
        QVERIFY(uni(VUEL + 80, VUEH, 0xff000000).save(d.filePath(QStringLiteral("fond.bmp"))));
        auto e = projet(d.path());
        e->fichiervisu = d.filePath(QStringLiteral("fond.bmp"));
        QString erreur;
        QVERIFY(sauveparametres(*e, erreur));
        auto f = nouveletat();
        Surfaces s;
        filmdepart(*f);
        QCOMPARE(chargecarte(*f, s, d.filePath(QStringLiteral("carte.bmp"))).issue, Chargement::ok);
        QStringList messages;
        QCOMPARE(chargeprojet(*f, s, messages), std::nullopt);
        QCOMPARE(messages, QStringList{QStringLiteral(
                               "L'image de visu doit avoir la même \ndimension que l'image de "
                               "calcul")});
        QVERIFY(f->fichiervisu.isEmpty());
        QVERIFY(!f->check && !f->checkvisible);
        QCOMPARE(s.carte.largeur(), VUEL);
        QCOMPARE(s.carte.pixel(5, 5), depuisqrgb(0xff336699));
    }

    // A project folder copied elsewhere opens with its pictures: those beside the map are saved
    // by their name alone, and the full paths of an older file are looked for beside the map.
    void projetdeplace() {
        QTemporaryDir d;
        const QString a = d.filePath(QStringLiteral("a")), b = d.filePath(QStringLiteral("b"));
        QVERIFY(QDir().mkpath(a));
        QVERIFY(QDir().mkpath(b));
        QVERIFY(uni(VUEL, VUEH, 0xff336699).save(a + QStringLiteral("/carte.bmp")));
        QVERIFY(uni(VUEL, VUEH, 0xff102030).save(a + QStringLiteral("/fond.bmp")));
        QVERIFY(uni(60, 50, 0xff000000).save(a + QStringLiteral("/loupe.bmp")));
        QVERIFY(uni(60, 50, 0xff000000).save(d.filePath(QStringLiteral("ailleurs.bmp"))));
        auto e = projet(a);
        e->fichiervisu = a + QStringLiteral("/fond.bmp");
        e->fichierloupe = a + QStringLiteral("/loupe.bmp");
        const QByteArray octets = ecrisparametres(*e);
        QVERIFY(octets.contains("[VISU]\r\nfond.bmp\r\n"));
        QVERIFY(octets.contains("[LOUPE]\r\nloupe.bmp\r\n"));
        // A picture elsewhere keeps its full path.
        e->fichierloupe = d.filePath(QStringLiteral("ailleurs.bmp"));
        QVERIFY(ecrisparametres(*e).contains(("[LOUPE]\r\n" + e->fichierloupe + "\r\n").toUtf8()));
        // The file of before, with full paths, copied with the pictures to another folder.
        QByteArray ancien = octets;
        ancien.replace("[VISU]\r\nfond.bmp", ("[VISU]\r\n" + a + "/fond.bmp").toUtf8());
        ancien.replace("[LOUPE]\r\nloupe.bmp", ("[LOUPE]\r\n" + a + "/loupe.bmp").toUtf8());
        for (const char* nom : {"carte.bmp", "fond.bmp", "loupe.bmp"})
            QVERIFY(QFile::rename(a + u'/' + QLatin1String(nom), b + u'/' + QLatin1String(nom)));
        for (const QByteArray& fichier : {ancien, octets}) {
            QVERIFY(ecrit(b + QStringLiteral("/carte.vlp"), fichier));
            auto f = nouveletat();
            Surfaces s;
            filmdepart(*f);
            QCOMPARE(chargecarte(*f, s, b + QStringLiteral("/carte.bmp")).issue, Chargement::ok);
            QStringList messages;
            QCOMPARE(chargeprojet(*f, s, messages), std::nullopt);
            QCOMPARE(messages, QStringList());
            QCOMPARE(f->fichiervisu, b + QStringLiteral("/fond.bmp"));
            QCOMPARE(f->fichierloupe, b + QStringLiteral("/loupe.bmp"));
            QVERIFY(f->check);
            QCOMPARE(s.carte.pixel(5, 5), depuisqrgb(0xff102030));
            QCOMPARE(s.loupe.largeur(), 60);
            // Saved again from there: names alone.
            QVERIFY(ecrisparametres(*f).contains("[VISU]\r\nfond.bmp\r\n"));
        }
    }

    // Locks that no program will ever clear are taken over; one held from another computer is
    // named, with the file to remove.
    void verrous_data() {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<int>("heures"); // age of the lock file
        QTest::addColumn<bool>("pris");
        const QByteArray ailleurs = "4242\nvialume\nautreordinateur\n";
        QTest::newRow("empty, just left") << QByteArray() << 0 << true;
        QTest::newRow("empty, two days old") << QByteArray() << 48 << true;
        QTest::newRow("garbled") << QByteArray("\x01\x02zz", 4) << 0 << true;
        QTest::newRow("another computer, an hour ago") << ailleurs << 1 << false;
        QTest::newRow("another computer, two days ago") << ailleurs << 48 << true;
    }
    void verrous() {
        QFETCH(QByteArray, contenu);
        QFETCH(int, heures);
        QFETCH(bool, pris);
        QTemporaryDir d;
        const QString vlp = d.filePath(QStringLiteral("carte.vlp"));
        const QString fichier = vlp + QStringLiteral(".lock");
        QVERIFY(ecrit(fichier, contenu));
        if (heures) {
            QFile f(fichier);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600LL * heures),
                                  QFileDevice::FileModificationTime));
        }
        Verrou v(vlp);
        QElapsedTimer t;
        t.start();
        const std::optional<QString> refus = v.prend(3000);
        QCOMPARE(!refus, pris);
        // A fresh unreadable lock is given a moment for its maker to finish writing it.
        if (pris) QVERIFY2(t.elapsed() < 2000, qPrintable(QString::number(t.elapsed())));
        if (!pris) {
            qInfo("%s", qPrintable(*refus));
            QVERIFY(refus->contains(QStringLiteral("autreordinateur")));
            QVERIFY(refus->contains(fichier));
            QCOMPARE(lit(fichier), contenu);
        }
    }
};

QTEST_MAIN(TstProjets)
#include "tst_projets.moc"
