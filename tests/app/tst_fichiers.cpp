// The parameters file through the window: "Sauver", and the offer at the end of a map load with
// its answers, a malformed file and a failed save.
#include "aide_fenetre.h"

#include "app/hautbas.h"
#include "project/carte.h"
#include "project/parametres.h"
#include "project/verrou.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>

namespace {

const QString QUESTION = QStringLiteral("Il y a fichier paramètres on le charge ?");
const QString SAUVE = QStringLiteral("Fichier sauvé");

// A picture file of the given size, smooth enough that every view of it differs.
QString picture(const QTemporaryDir& d, const QString& nom, int l, int h, int teinte) {
    QImage img(l, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < l; ++x)
            img.setPixel(x, y, qRgb(x % 256, y % 256, teinte));
    const QString chemin = d.filePath(nom);
    img.save(chemin, "BMP");
    return chemin;
}

QByteArray contenu(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool ecris(const QString& chemin, const QByteArray& octets) {
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size();
}

// What every control of the window shows, one line per control.
QStringList controles(TForm1* f) {
    QStringList l;
    for (QWidget* w : f->findChildren<QWidget*>()) {
        const QString nom = w->objectName();
        if (nom.isEmpty() || nom.startsWith(QLatin1String("qt_"))) continue;
        QString v;
        if (auto* s = qobject_cast<QAbstractSlider*>(w)) {
            v = QStringLiteral("%1 in %2..%3").arg(s->value()).arg(s->minimum()).arg(s->maximum());
        } else if (auto* h = qobject_cast<HautBas*>(w)) {
            v = QString::number(h->value());
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            v = b->text() + (b->isChecked() ? QStringLiteral(" [x]") : QStringLiteral(" [ ]"));
        } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            v = e->text() + u' ' + e->palette().color(QPalette::Base).name();
        } else if (auto* lw = qobject_cast<QListWidget*>(w)) {
            for (int i = 0; i < lw->count(); ++i)
                v += lw->item(i)->text() + u'|';
            v += QString::number(lw->currentRow());
        } else if (auto* c = qobject_cast<QComboBox*>(w)) {
            v = c->currentText();
        } else {
            continue;
        }
        l << nom + u'=' + v + (w->isEnabled() ? QString() : QStringLiteral(" off")) +
                 (w->isVisibleTo(f) ? QString() : QStringLiteral(" hidden"));
    }
    l.sort();
    return l;
}

// A route of three segments in three colours.
void route(Etat& e, int longueur, int decalage) {
    e.nbpt = longueur - 1;
    const Couleur couleurs[] = {0x0000ff, 0x00ff00, 0xff0000};
    for (int i = 0; i <= e.nbpt; ++i) {
        e.ptx[i] = 40 + decalage + i;
        e.pty[i] = 50 + i / 3;
        e.pttron[i] = i * 3 / longueur;
        e.ptcoul[i] = couleurs[e.pttron[i]];
    }
    e.nbtron = 2;
}

// Every section away from its start value, through the controls where the window has one.
void reglages(Banc& b, const QString& loupe, const QString& visu) {
    Etat& e = b.e();
    route(e, 300, 0);
    e.coulr = e.coulmarque = 0x00aa00;
    e.coulmon = e.coulsuivie = 0x112233;
    QCOMPARE(chargeloupe(e, b->s(), loupe).issue, Chargement::ok);
    e.estompe = 25;
    b->synchro();

    b->Button4->click(); // one second more: N = 175
    b->TL->setValue(60);
    b->Ascl->setValue(33);
    b->Asch->setValue(21);
    b->creerIC->click();
    b->TL->setValue(0);
    QCOMPARE(e.nbcle, 3);

    b->montre->setChecked(true);
    b->Autre->setChecked(true);
    b->txtautre->setText(QStringLiteral("[KM]")); // a value that is also a key
    b->Lkm->setText(QStringLiteral("4321"));
    b->Xt->setValue(333);
    b->Yt->setValue(222);
    Police p;
    p.nom = QStringLiteral("DejaVu Serif");
    p.taille = -23;
    p.couleur = 0x00ff00ff;
    b.d.polices.append(p);
    b->Button2->click();
    b->okombre->setChecked(true);
    b.d.couleurs.append(0x010203);
    b->Button15->click();
    b->Xombre->setValue(-5);
    b->Yombre->setValue(4);
    // The tip colour is never chosen: it stays the negative system colour.
    b->CheckBox1->setChecked(true);
    b->UpDown1->setValue(77);
    b->Okloupe->setChecked(true);
    b->txloupe->setValue(45);
    b.d.fichiers.append(visu);
    b->Button12->click();
    QVERIFY(b->Check->isChecked());
    QVERIFY(b.d.messages.isEmpty());
}

// A parameters file by hand: lines ended with CR LF.
QByteArray lignes(const QStringList& l) {
    QByteArray o;
    for (const QString& t : l)
        o += t.toLatin1() + "\r\n";
    return o;
}

QStringList pointsvalides(int n) {
    QStringList l{QStringLiteral("[CHEMIN]")};
    for (int i = 0; i < n; ++i)
        l << QStringLiteral("%1\t%2\t255\t0").arg(10 + i % 500).arg(20 + i % 400);
    return l;
}

// Makes the next writes of this process fail past `octets` bytes, as a full disk does.
class Limite {
  public:
    explicit Limite(rlim_t octets) {
        getrlimit(RLIMIT_FSIZE, &avant);
        ancien = std::signal(SIGXFSZ, SIG_IGN);
        rlimit r = avant;
        r.rlim_cur = octets;
        setrlimit(RLIMIT_FSIZE, &r);
    }
    ~Limite() {
        setrlimit(RLIMIT_FSIZE, &avant);
        std::signal(SIGXFSZ, ancien);
    }

  private:
    rlimit avant{};
    void (*ancien)(int) = nullptr;
};

} // namespace

class TstFichiers : public QObject {
    Q_OBJECT

  private slots:
    void sauverSansCarte() {
        Banc b;
        b.e().textes[10] = QStringLiteral("Load a picture first");
        b->sauver->click();
        QCOMPARE(b.d.messages, QStringList(QStringLiteral("Load a picture first")));
        QVERIFY(b.d.erreurs.isEmpty());
    }

    // A project saved, loaded into a fresh window and saved again: the same controls, the same
    // tables, the same bytes.
    void allerRetour() {
        QTemporaryDir dossier;
        const QString carte = picture(dossier, QStringLiteral("plan.etape.bmp"), 800, 640, 0);
        const QString loupe = picture(dossier, QStringLiteral("loupe.bmp"), 90, 70, 200);
        const QString visu = picture(dossier, QStringLiteral("visu.bmp"), 800, 640, 90);
        const QString vlp = dossier.filePath(QStringLiteral("plan.vlp"));
        auto premier = nouveletat();
        QStringList avant;
        {
            Banc b;
            b->chargecarte(carte);
            QVERIFY(b.d.questions.isEmpty());
            reglages(b, loupe, visu);
            if (QTest::currentTestFailed()) return;
            b->sauver->click();
            QCOMPARE(b.d.messages, QStringList(SAUVE));
            QVERIFY(b.d.erreurs.isEmpty());
            avant = controles(b.f.get());
            *premier = b.e();
        }
        const QByteArray octets = contenu(vlp);
        QVERIFY(octets.startsWith("[CHEMIN]\r\n40\t50\t255\t0\r\n"));

        Banc b;
        b.d.reponses.append(true);
        b->chargecarte(carte);
        QCOMPARE(b.d.questions, QStringList(QUESTION));
        QVERIFY2(b.d.erreurs.isEmpty(), qPrintable(b.d.erreurs.join(u'\n')));
        QVERIFY(b.d.messages.isEmpty());
        QCOMPARE(controles(b.f.get()), avant);
        const Etat& a = *premier;
        const Etat& e = b.e();
        QCOMPARE(e.nbpt, a.nbpt);
        QVERIFY(std::equal(a.ptx.begin(), a.ptx.begin() + a.nbpt + 1, e.ptx.begin()));
        QVERIFY(std::equal(a.pty.begin(), a.pty.begin() + a.nbpt + 1, e.pty.begin()));
        QVERIFY(std::equal(a.ptcoul.begin(), a.ptcoul.begin() + a.nbpt + 1, e.ptcoul.begin()));
        QVERIFY(std::equal(a.pttron.begin(), a.pttron.begin() + a.nbpt + 1, e.pttron.begin()));
        QCOMPARE(e.nbimg, a.nbimg);
        QVERIFY(std::equal(a.imgdecx.begin(), a.imgdecx.begin() + a.nbimg + 1, e.imgdecx.begin()));
        QVERIFY(std::equal(a.imgdecy.begin(), a.imgdecy.begin() + a.nbimg + 1, e.imgdecy.begin()));
        QVERIFY(std::equal(a.imgavance.begin(), a.imgavance.begin() + a.nbimg + 1,
                           e.imgavance.begin()));
        QCOMPARE(e.nbcle, a.nbcle);
        for (int k = 0; k < a.nbcle; ++k) {
            QCOMPARE(e.cleimg[k], a.cleimg[k]);
            QCOMPARE(e.cledecx[k], a.cledecx[k]);
            QCOMPARE(e.cledecy[k], a.cledecy[k]);
            QCOMPARE(e.cletemps[k], a.cletemps[k]);
        }
        QCOMPARE(e.listbox1, a.listbox1);
        QCOMPARE(e.police, a.police);
        QCOMPARE(e.coulbord, clWindow);
        QCOMPARE(e.fichierloupe, loupe);
        QCOMPARE(e.fichiervisu, visu);
        QCOMPARE(e.estompe, 25);
        QCOMPARE(b->s().loupe.largeur(), 90);

        b->sauver->click();
        QCOMPARE(contenu(vlp), octets);
    }

    // Non keeps everything of before: the route, keyframes and frame table are drawn on the map.
    void nonGardeLeProjet() {
        QTemporaryDir dossier;
        const QString carte = picture(dossier, QStringLiteral("carte.bmp"), 760, 600, 0);
        {
            Banc a;
            a->chargecarte(carte);
            a->UpDown1->setValue(30); // what "Charger" sets before the load
            route(a.e(), 100, 0);
            a->sauver->click();
            QCOMPARE(a.d.messages, QStringList(SAUVE));
        }
        Banc b;
        route(b.e(), 50, 7);
        b->UpDown1->setValue(30); // what "Charger" sets anyway
        b->TL->setValue(40);
        b->creerIC->click();
        const QByteArray avant = ecrisparametres(b.e());
        b.e().textes[23] = QStringLiteral("Load the parameters?");
        b.d.fichiers.append(carte);
        b->Charger->click();
        QCOMPARE(b.d.questions, QStringList(QStringLiteral("Load the parameters?")));
        QCOMPARE(b.e().fichiercarte, QStringLiteral("carte.bmp"));
        QCOMPARE(ecrisparametres(b.e()), avant);
        QCOMPARE(b->Icle->count(), 3);
        QVERIFY(b.d.messages.isEmpty() && b.d.erreurs.isEmpty());
    }

    void fichierRefuse_data() {
        QTest::addColumn<QByteArray>("fichier");
        QTest::addColumn<QString>("attendu");
        QStringList l = pointsvalides(10);
        l << QStringLiteral("abc\t5\t255\t0") << QStringLiteral("[IPS]") << QStringLiteral("25");
        QTest::newRow("ligne 12") << lignes(l)
                                  << "'abc' n'est pas une valeur entière correcte (ligne 12)";
        l = pointsvalides(3);
        l << QStringLiteral("[OMBRE]") << QStringLiteral("1") << QStringLiteral("255");
        QTest::newRow("groupe de quatre tronqué") << lignes(l) << "(ligne 8)";
        // Deep in a route longer than the 36001 points of old.
        l = pointsvalides(MAXPT + 1);
        l << QStringLiteral("1\t2\t255");
        QTest::newRow("point 36003") << lignes(l) << "(ligne 36004)";
    }
    // A malformed file is refused whole, with its line, and the project stays as it was.
    void fichierRefuse() {
        QFETCH(QByteArray, fichier);
        QFETCH(QString, attendu);
        QTemporaryDir dossier;
        const QString carte = picture(dossier, QStringLiteral("carte.bmp"), 720, 576, 0);
        const QString vlp = dossier.filePath(QStringLiteral("carte.vlp"));
        QVERIFY(ecris(vlp, fichier));
        Banc b;
        route(b.e(), 80, 3);
        b->montre->setChecked(true);
        const QByteArray avant = ecrisparametres(b.e());
        b.d.reponses.append(true);
        b->chargecarte(carte);
        QCOMPARE(b.d.questions, QStringList(QUESTION));
        QCOMPARE(b.d.erreurs.size(), 1);
        QVERIFY2(b.d.erreurs.first().contains(vlp), qPrintable(b.d.erreurs.first()));
        QVERIFY2(b.d.erreurs.first().contains(attendu), qPrintable(b.d.erreurs.first()));
        QVERIFY(b.d.messages.isEmpty());
        QCOMPARE(ecrisparametres(b.e()), avant);
        QVERIFY(b->montre->isChecked());
    }

    // A picture the file names that is missing is said through the message routine, and the
    // load goes on.
    void imageManquante() {
        QTemporaryDir dossier;
        const QString carte = picture(dossier, QStringLiteral("carte.bmp"), 720, 576, 0);
        const QString absente = dossier.filePath(QStringLiteral("absente.bmp"));
        QStringList l = pointsvalides(2);
        l << QStringLiteral("[VISU]") << absente << QStringLiteral("[MONTRE]")
          << QStringLiteral("1");
        QVERIFY(ecris(dossier.filePath(QStringLiteral("carte.vlp")), lignes(l)));
        Banc b;
        b.e().textes[24] = QStringLiteral("Cannot load");
        b.d.reponses.append(true);
        b->chargecarte(carte);
        QCOMPARE(b.d.messages, QStringList(QStringLiteral("Cannot load\n") + absente));
        QCOMPARE(b.e().fichiervisu, absente);
        QVERIFY(!b->Check->isVisible());
        QVERIFY(b->montre->isChecked());
        QCOMPARE(b.e().nbpt, 1);
    }

    // A save while another program holds the project waits a moment, then says who holds it
    // and writes nothing; once the project is free the save goes through.
    void sauvegardeOccupee() {
        QTemporaryDir dossier;
        const QString carte = picture(dossier, QStringLiteral("carte.bmp"), 720, 576, 0);
        const QString vlp = dossier.filePath(QStringLiteral("carte.vlp"));
        Banc b;
        b->chargecarte(carte);
        b->UpDown1->setValue(30); // what "Charger" sets before the load
        b->sauver->click();
        const QByteArray avant = contenu(vlp);
        route(b.e(), 100, 0);
        {
            Verrou autre(vlp);
            QVERIFY(!autre.prend(0));
            b->sauver->click();
        }
        QCOMPARE(contenu(vlp), avant);
        QCOMPARE(b.d.erreurs.size(), 1);
        QVERIFY2(b.d.erreurs.first().contains(QStringLiteral("occupé")),
                 qPrintable(b.d.erreurs.first()));
        b->sauver->click();
        QCOMPARE(b.d.erreurs.size(), 1);
        QVERIFY(contenu(vlp) != avant);
    }

    void sauvegardeRatee_data() {
        QTest::addColumn<bool>("lectureseule");
        QTest::newRow("dossier en lecture seule") << true;
        QTest::newRow("disque plein") << false;
    }
    // A save that fails leaves the former file whole and names the file.
    void sauvegardeRatee() {
        QFETCH(bool, lectureseule);
        if (lectureseule && geteuid() == 0) QSKIP("the super-user writes in read-only folders");
        QTemporaryDir dossier;
        const QString carte = picture(dossier, QStringLiteral("carte.bmp"), 720, 576, 0);
        const QString vlp = dossier.filePath(QStringLiteral("carte.vlp"));
        Banc b;
        b->chargecarte(carte);
        b->UpDown1->setValue(30); // what "Charger" sets before the load
        b->sauver->click();
        const QByteArray avant = contenu(vlp);
        QVERIFY(!avant.isEmpty());
        route(b.e(), 2000, 0);
        if (lectureseule) {
            QFile::setPermissions(dossier.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            b->sauver->click();
            QFile::setPermissions(dossier.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner);
        } else {
            const Limite plein(avant.size());
            b->sauver->click();
        }
        QCOMPARE(contenu(vlp), avant);
        QCOMPARE(b.d.messages, QStringList(SAUVE));
        QCOMPARE(b.d.erreurs.size(), 1);
        QVERIFY2(b.d.erreurs.first().contains(vlp), qPrintable(b.d.erreurs.first()));
    }
};

QTEST_MAIN(TstFichiers)
#include "tst_fichiers.moc"
