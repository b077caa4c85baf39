// The page "GPS" of the window: a track imported on a map placed by its world file, a map placed
// by clicked points, the pace and the true distance switched from the page.
#include "aide_fenetre.h"
#include "aide_images.h"

#include "app/pagegps.h"
#include "project/parametres.h"
#include "route/lisse.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

namespace {

bool ecrit(const QString& chemin, const QByteArray& o) {
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly) && f.write(o) == o.size();
}

// An 800 x 600 map in the bench's folder and a track along its row 200, from x 100 to 700: 300
// pixels in 100 s, 300 more in 300 s.
QString prepare(Banc& b, bool monde) {
    b.carte(800, 600);
    b.e().dossiercarte = b.dossier.path() + u'/';
    if (monde) ecrit(b.dossier.filePath("carte.bpw"), "0.001\n0\n0\n-0.001\n2.0\n46.0\n");
    const QString gpx = b.dossier.filePath("t.gpx");
    ecrit(gpx, R"(<gpx><trk><trkseg>
<trkpt lat="45.8" lon="2.1"><ele>100</ele><time>2024-05-01T10:00:00Z</time></trkpt>
<trkpt lat="45.8" lon="2.4"><ele>300</ele><time>2024-05-01T10:01:40Z</time></trkpt>
<trkpt lat="45.8" lon="2.7"><ele>200</ele><time>2024-05-01T10:06:40Z</time></trkpt>
</trkseg></trk></gpx>)");
    return gpx;
}

} // namespace

class TstGps : public QObject {
    Q_OBJECT
  private slots:
    void importe();
    void sansplacement();
    void points();
    void pointsdutrace();
    void zoom();
    void allure();
    void distance();
    void loupeCachee_data();
    void loupeCachee();
    void rejeu();
};

void TstGps::importe() {
    Banc b;
    const QString gpx = prepare(b, true);
    b.d.fichiers.append(gpx);
    b->pagegps->importe->click();
    QCOMPARE(b.d.erreurs, QStringList());
    QCOMPARE(b.d.filtres.last(), QString("Tracé GPS|*.gpx;*.GPX"));
    QVERIFY2(b.d.messages.last().startsWith("Tracé importé : 601 points, 1 tronçon(s)"),
             qPrintable(b.d.messages.last()));
    QCOMPARE(b.e().nbpt, 600);
    QCOMPARE(b.e().ptx[0], 100);
    QCOMPARE(b.e().pty[0], 200);
    QVERIFY(b.e().geo.calage.place);
    QCOMPARE(b->pagegps->etatcalage->text(), QString("Placée par son fichier de calage"));
    // The frame shown draws the first point in the route colour.
    QCOMPARE(b->s().vue.pixel(100, 200), Couleur{0x0000FF});
    QVERIFY(ecrisparametres(b.e()).contains("[GEO]\r\ncalage\t0.001\t"));
}

// No world file and no points: the import says how to place the map and changes nothing.
void TstGps::sansplacement() {
    Banc b;
    const QString gpx = prepare(b, false);
    b.d.fichiers.append(gpx);
    b->pagegps->importe->click();
    QCOMPARE(b.d.erreurs.size(), 1);
    QVERIFY2(b.d.erreurs[0].contains("deux points"), qPrintable(b.d.erreurs[0]));
    QCOMPARE(b.e().nbpt, -1);
    // A broken track: its line said, nothing changed.
    ecrit(b.dossier.filePath("carte.bpw"), "0.001\n0\n0\n-0.001\n2.0\n46.0\n");
    ecrit(gpx, "<gpx>\n<trk><trkseg>\n<trkpt lat=\"45.8\"/>\n</trkseg></trk></gpx>");
    b.d.fichiers.append(gpx);
    b->pagegps->importe->click();
    QCOMPARE(b.d.erreurs.size(), 2);
    QVERIFY2(b.d.erreurs[1].contains("(ligne 3)"), qPrintable(b.d.erreurs[1]));
    QCOMPARE(b.e().nbpt, -1);
    QVERIFY(!b.e().geo.calage.place);
}

// Two clicked points place the map (the view scrolled: map pixels, not view pixels); a third
// shows its residual; a point removed leaves two.
void TstGps::points() {
    Banc b;
    const QString gpx = prepare(b, false);
    PageGps* p = b->pagegps;
    // A click with nothing armed is the tracer's, which is idle: nothing happens.
    b->fondMouseDown(Qt::LeftButton, 10, 10);
    QVERIFY(b.e().geo.calage.amers.empty());
    p->latlon->setText("45,8 ; 2,1");
    p->amerclic->click();
    b->fondMouseDown(Qt::LeftButton, 100, 200);
    QVERIFY(!p->amerclic->isChecked());
    QCOMPARE(p->etatcalage->text(), QString("Un point : en placer un autre"));
    // Without a latitude and longitude the click only says what is missing.
    p->amerclic->click();
    b->fondMouseDown(Qt::LeftButton, 50, 50);
    QVERIFY(b.d.messages.last().contains("latitude"));
    QVERIFY(!p->amerclic->isChecked());
    p->amerclic->click();
    QCOMPARE(b.e().geo.calage.amers.size(), std::size_t(1));
    b.e().ascl = 80;
    p->latlon->setText("45.5, 2.4");
    b->fondMouseDown(Qt::LeftButton, 320, 500); // map pixel (400, 500)
    QVERIFY(b.e().geo.calage.place);
    QCOMPARE(b.e().geo.calage.amers[1].x, 400.0);
    p->latlon->setText("45.8 2.7");
    p->amerclic->click();
    b->fondMouseDown(Qt::LeftButton, 620, 200);
    QCOMPARE(p->amers->count(), 3);
    // Three points fit each other whatever they are: no figure beside them, and the page says
    // from how many there is one.
    QCOMPARE(p->amers->item(2)->text(), QString("700,200 = 45,80000 ; 2,70000"));
    QCOMPARE(p->etatcalage->text(), QString("Placée par 3 points (contrôle à partir de 4)"));
    b.d.fichiers.append(gpx);
    p->importe->click();
    QCOMPARE(b.d.erreurs, QStringList());
    QVERIFY(std::abs(b.e().ptx[b.e().nbpt] - 700) <= 1 &&
            std::abs(b.e().pty[b.e().nbpt] - 200) <= 1);
    p->amers->setCurrentRow(0);
    p->retire->click();
    QCOMPARE(b.e().geo.calage.amers.size(), std::size_t(2));
    QVERIFY(b.e().geo.calage.place);
    p->amers->setCurrentRow(0);
    p->retire->click();
    QVERIFY(!b.e().geo.calage.place);
}

// A map without placement: the import says how to place it; its start and end on the map, named
// "@1" and "@fin", place it, and the import then goes through.
void TstGps::pointsdutrace() {
    Banc b;
    const QString gpx = prepare(b, false);
    PageGps* p = b->pagegps;
    p->latlon->setText("@1");
    p->amerclic->click();
    b->fondMouseDown(Qt::LeftButton, 100, 200);
    QVERIFY(b.d.messages.last().contains("Importer un tracé GPX"));
    b.d.fichiers.append(gpx);
    p->importe->click();
    QCOMPARE(b.d.erreurs.size(), 1);
    QVERIFY(b.d.messages.last().contains("@1, @fin"));
    p->latlon->setText("@1");
    p->amerclic->click();
    b->fondMouseDown(Qt::LeftButton, 100, 200);
    p->latlon->setText("@fin");
    p->amerclic->click();
    b->fondMouseDown(Qt::LeftButton, 700, 200);
    QVERIFY(b.e().geo.calage.place);
    b.d.fichiers.append(gpx);
    p->importe->click();
    QCOMPARE(b.d.erreurs.size(), 1);
    QCOMPARE(b.e().nbpt, 600);
    QVERIFY(std::abs(b.e().ptx[300] - 400) <= 1 && std::abs(b.e().pty[300] - 200) <= 1);
}

// In a film zoomed twice, a click lands on the map pixel under it.
void TstGps::zoom() {
    Banc b;
    prepare(b, false);
    b.e().film.zoom = 2.0;
    b.e().ascl = 30;
    b->pagegps->latlon->setText("45.8, 2.1");
    b->pagegps->amerclic->click();
    b->fondMouseDown(Qt::LeftButton, 141, 401);
    QCOMPARE(b.e().geo.calage.amers.size(), std::size_t(1));
    QCOMPARE(b.e().geo.calage.amers[0].x, 100.0);
    QCOMPARE(b.e().geo.calage.amers[0].y, 200.0);
}

// The pace from the page: the progress column follows the clock, then evenly again.
void TstGps::allure() {
    Banc b;
    b.d.fichiers.append(prepare(b, true));
    b->pagegps->importe->click();
    const int n = b.e().nbimg;
    const int quart = n / 4;
    QCOMPARE(b.e().imgavance[quart], quart * 1000 / n);
    b->pagegps->allure->setChecked(true);
    QVERIFY(b.e().geo.allure);
    QVERIFY(std::abs(b.e().imgavance[quart] - 500) <= 10); // 100 s of 400: half the way
    b->pagegps->allure->setChecked(false);
    QCOMPARE(b.e().imgavance[quart], quart * 1000 / n);
}

// The true distance in the legend: on from the page, saved, and the count of old otherwise.
void TstGps::distance() {
    Banc b;
    b.d.fichiers.append(prepare(b, true));
    b->pagegps->importe->click();
    QCOMPARE(b.e().lkm, QString("47")); // the even counter ends on the true total
    b->pagegps->distance->setChecked(true);
    b->pagegps->decimales->setValue(2);
    b->pagegps->profil->setChecked(true);
    const ReglagesGeo& g = b.e().geo;
    QVERIFY(g.distance && g.profil);
    QCOMPARE(g.decimales, 2);
    const QByteArray o = ecrisparametres(b.e());
    QVERIFY(o.contains("distance\t1\r\n"));
    QVERIFY(o.contains("decimales\t2\r\n"));
    QVERIFY(o.contains("profil\t1\r\n"));
}

// While a click places a point or the scale bar, the magnifier is not drawn over the map; it
// comes back once the click is done, and a picture exported meanwhile has it.
void TstGps::loupeCachee_data() {
    QTest::addColumn<QString>("bouton");
    QTest::newRow("point") << "gpsamerclic";
    QTest::newRow("échelle") << "gpsechelle";
}

void TstGps::loupeCachee() {
    QFETCH(QString, bouton);
    Banc b;
    b.carte(800, 600);
    b.e().dossiercarte = b.dossier.path() + u'/';
    Etat& e = b.e();
    e.nbpt = 299;
    for (int i = 0; i <= e.nbpt; ++i) {
        e.ptx[i] = 100 + i;
        e.pty[i] = 300;
        e.ptcoul[i] = 0x0000ff;
        e.pttron[i] = 0;
    }
    lisseloupe(e);
    b.d.fichiers.append(ecritbmp(b.dossier.path(), QStringLiteral("loupe.bmp"), verre(120)));
    b->Button16->click();
    b->Okloupe->setChecked(true);
    b->TL->setValue(75);
    const QImage avec = b->s().vue.image().copy();
    b->Okloupe->setChecked(false);
    const QImage sans = b->s().vue.image().copy();
    QVERIFY(avec != sans);
    b->Okloupe->setChecked(true);

    const QByteArray projet = ecrisparametres(e);
    auto* arme = b->findChild<QPushButton*>(bouton);
    arme->click();
    QCOMPARE(b->s().vue.image(), sans);
    b->TL->setValue(76);
    b->TL->setValue(75);
    QCOMPARE(b->s().vue.image(), sans);
    // The magnifier is still on: the project would save it so.
    QVERIFY(b->Okloupe->isChecked());
    QCOMPARE(ecrisparametres(e), projet);
    arme->click();
    QCOMPARE(b->s().vue.image(), avec);

    // Armed again, then a picture of the view: the click is given up and the picture has it.
    arme->click();
    const QString fichier = b.dossier.filePath(QStringLiteral("vue.bmp"));
    b.d.fichiers.append(fichier);
    b->Button3->click();
    QVERIFY(!arme->isChecked());
    QCOMPARE(QImage(fichier).convertToFormat(QImage::Format_RGB32),
             avec.convertToFormat(QImage::Format_RGB32));
}

// Two tracks added to a replay from the page: listed with their names and colours; hiding one,
// a common start, a new colour and the ranking, each from its control.
void TstGps::rejeu() {
    Banc b;
    const QString gpx = prepare(b, true);
    const QString autre = b.dossier.filePath("u.gpx");
    ecrit(autre, R"(<gpx><trk><name>Lise</name><trkseg>
<trkpt lat="45.7" lon="2.1"><time>2024-05-01T10:05:00Z</time></trkpt>
<trkpt lat="45.7" lon="2.7"><time>2024-05-01T10:10:00Z</time></trkpt>
</trkseg></trk></gpx>)");
    PageGps* p = b->pagegps;
    QVERIFY(!p->pistes->isEnabled());
    b.d.fichiers << gpx << autre;
    p->ajoutepiste->click();
    p->ajoutepiste->click();
    QCOMPARE(b.d.erreurs, QStringList());
    const Rejeu& r = b.e().rejeu;
    QCOMPARE(r.pistes.size(), std::size_t(2));
    QCOMPARE(p->pistes->rowCount(), 2);
    QCOMPARE(p->pistes->item(0, 1)->text(), QString("t"));
    QCOMPARE(p->pistes->item(1, 1)->text(), QString("Lise"));
    QVERIFY(p->pistes->isEnabled());
    QCOMPARE(r.pistes[1].premier, r.pistes[0].dernier + 1);
    // On one clock the film runs from 10:00 to 10:10; from a common start, 6 min 40 s.
    const double duree = b.e().imgtemps[b.e().nbimg] - b.e().imgtemps[0];
    QCOMPARE(duree, 600.0);
    p->depart->setCurrentIndex(1);
    emit p->depart->activated(1);
    QCOMPARE(r.depart, Depart::COMMUN);
    QCOMPARE(b.e().imgtemps[b.e().nbimg] - b.e().imgtemps[0], 400.0);
    // Hidden: the film is the other's alone.
    p->pistes->item(0, 0)->setCheckState(Qt::Unchecked);
    QVERIFY(!r.pistes[0].montre);
    QCOMPARE(b.e().imgtemps[b.e().nbimg] - b.e().imgtemps[0], 300.0);
    b.d.couleurs.append(Couleur{0x00ff00});
    emit p->pistes->cellDoubleClicked(1, 0);
    QCOMPARE(r.pistes[1].couleur, 0x00ff00);
    QCOMPARE(b.e().ptcoul[r.pistes[1].premier], 0x00ff00);
    b.e().xt = 30;
    b.e().yt = 40;
    p->classement->setChecked(true);
    QVERIFY(r.classement);
    QCOMPARE(r.classx, 30);
    QCOMPARE(r.classy, 40);
    QVERIFY(ecrisparametres(b.e()).contains("[PISTES]\r\ndepart\tcommun\r\n"));
}

QTEST_MAIN(TstGps)
#include "tst_gps.moc"
