// The export buttons of the window: names, the shared save dialog, the progress dialog and its
// Cancel, the files written and the messages, disk errors.
#include "aide_fenetre.h"

#include "app/dialoguevideo.h"
#include "export/aidevideo.h"
#include "render/afficheimg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace {

const QString OK = QStringLiteral("Suite BMP OK");
const QString SAUVE = QStringLiteral("Fichier sauvé");

// A 720 x 576 map and a diagonal route, so that every frame differs from the one before.
void projet(Banc& b) {
    b.carte(VUEL + 80, VUEH + 40);
    Etat& e = b.e();
    e.nbpt = 399;
    for (int i = 0; i <= e.nbpt; ++i) {
        e.ptx[i] = 20 + i;
        e.pty[i] = 30 + i / 2;
        e.ptcoul[i] = 0x0000ff;
        e.pttron[i] = 0;
    }
}

// Shortens the film to last frame n with the duration buttons.
void film(Banc& b, int n) {
    while (b.e().tlmax - b.e().ips >= n)
        b->Button5->click();
    while (b.e().tlmax > n)
        b->Button7->click();
    QCOMPARE(b.e().tlmax, n);
}

QStringList fichiers(const QString& dossier) {
    return QDir(dossier).entryList(QDir::Files | QDir::System, QDir::Name);
}

QStringList suite(const QString& base, int n) {
    QStringList l;
    for (int i = 1; i <= n; ++i)
        l.append(base + QStringLiteral("%1.bmp").arg(i, 4, 10, QLatin1Char('0')));
    return l;
}

// Frame n as the time line shows it.
QImage image(Banc& b, int n) {
    montreimage(b.e(), b->s(), n);
    return b->s().vue.image().convertToFormat(QImage::Format_RGB32);
}

// Watches the progress dialog of the running export; cancels it once `apres` frames are done
// (never when negative).
struct Guet {
    Guet(TForm1* f, int apres) {
        auto* t = new QTimer(f);
        t->setInterval(0);
        QObject::connect(t, &QTimer::timeout, f, [this, f, t, apres] {
            auto* p = f->findChild<QProgressDialog*>();
            if (!p) return;
            modale = p->windowModality() == Qt::WindowModal && p->isVisible();
            maximum = p->maximum();
            if (apres >= 0 && p->value() >= apres) {
                p->cancel();
                t->stop();
            }
        });
        t->start();
    }
    bool modale = false;
    int maximum = -1;
};

} // namespace

class TstExports : public QObject {
    Q_OBJECT

  private slots:
    void sansCarte_data() {
        QTest::addColumn<QString>("bouton");
        QTest::addColumn<bool>("traduit");
        QTest::newRow("Suite") << "Suite" << true;
        QTest::newRow("Button3") << "Button3" << true;
        // The video's messages stand in French whatever the language.
        QTest::newRow("Button11") << "Button11" << false;
    }
    void sansCarte() {
        QFETCH(QString, bouton);
        QFETCH(bool, traduit);
        Banc b;
        b.e().textes[10] = QStringLiteral("Load a picture first");
        b->findChild<QPushButton*>(bouton)->click();
        QCOMPARE(b.d.messages, QStringList(traduit ? QStringLiteral("Load a picture first")
                                                   : QStringLiteral("Charger d'abord une image")));
        QVERIFY(b.d.filtres.isEmpty());
        QVERIFY(b.d.optionsdepart.isEmpty());
    }

    void nomsDeSuite_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("base");
        QTest::newRow("paris.bmp, 150 images") << "paris.bmp" << 150 << "pari";
        QTest::newRow("vue") << "vue" << 8 << "vue";
        QTest::newRow("a.b") << "a.b" << 8 << "a";
        QTest::newRow("commence par un point") << ".x" << 8 << "";
    }
    void nomsDeSuite() {
        QFETCH(QString, nom);
        QFETCH(int, n);
        QFETCH(QString, base);
        Banc b;
        projet(b);
        film(b, n);
        QTemporaryDir dossier;
        b.d.fichiers.append(dossier.filePath(nom));
        b->Suite->click();
        if (base.isEmpty()) {
            QVERIFY(fichiers(dossier.path()).isEmpty());
            QVERIFY(b.d.messages.isEmpty());
            QCOMPARE(b->TL->value(), 0);
            return;
        }
        QCOMPARE(fichiers(dossier.path()), suite(base, n));
        QCOMPARE(b.d.messages, QStringList(OK));
        QVERIFY(b.d.erreurs.isEmpty());
        // The time line stands at the last frame, and shows the duration.
        QCOMPARE(b->TL->value(), n);
        QCOMPARE(b.e().tl, n);
        QCOMPARE(b->Wtl->text(), b->Dmax->text());
        if (n == 150) QCOMPARE(b->Wtl->text(), QStringLiteral("06:00"));
    }

    // File n holds frame n, composed as the time line shows it; the progress dialog is modal.
    void suiteImageParImage() {
        Banc b;
        projet(b);
        film(b, 6);
        QTemporaryDir dossier;
        b.d.fichiers.append(dossier.filePath(QStringLiteral("vue.bmp")));
        const Guet guet(b.f.get(), -1);
        b->Suite->click();
        QVERIFY(guet.modale);
        QCOMPARE(guet.maximum, 6);
        QImage avant;
        for (int n = 1; n <= 6; ++n) {
            const QImage lu(dossier.filePath(suite(QStringLiteral("vue"), n).at(n - 1)));
            QCOMPARE(lu.size(), QSize(VUEL, VUEH));
            QCOMPARE(lu.convertToFormat(QImage::Format_RGB32), image(b, n));
            QVERIFY(lu != avant);
            avant = lu;
        }
    }

    // The window's bitmap and sequence never write over the project's files: an error says so
    // and nothing is written.
    void surLeProjet() {
        Banc b;
        projet(b);
        film(b, 5);
        QTemporaryDir dossier;
        b.e().dossiercarte = dossier.path() + QLatin1Char('/');
        b.e().fichiervisu = dossier.filePath(QStringLiteral("film0004.bmp"));
        QFile f(dossier.filePath(QStringLiteral("carte.bmp")));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("la carte") == 8);
        f.close();
        b.d.fichiers.append(dossier.filePath(QStringLiteral("carte.bmp")));
        b->Button3->click();
        b.d.fichiers.append(dossier.filePath(QStringLiteral("film.bmp")));
        b->Suite->click();
        QCOMPARE(b.d.erreurs.size(), 2);
        QVERIFY2(b.d.erreurs[0].contains(QStringLiteral("la carte du projet")),
                 qPrintable(b.d.erreurs[0]));
        QVERIFY2(b.d.erreurs[1].contains(QStringLiteral("l'image de visu du projet")),
                 qPrintable(b.d.erreurs[1]));
        QVERIFY(b.d.messages.isEmpty());
        QCOMPARE(fichiers(dossier.path()), QStringList(QStringLiteral("carte.bmp")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("la carte"));
    }

    void suiteInterrompue() {
        Banc b;
        projet(b);
        QTemporaryDir dossier;
        b.d.fichiers.append(dossier.filePath(QStringLiteral("paris.bmp")));
        const Guet guet(b.f.get(), 10);
        b->Suite->click();
        const int k = fichiers(dossier.path()).size();
        QVERIFY2(k == 10 || k == 11, qPrintable(QString::number(k)));
        QCOMPARE(fichiers(dossier.path()), suite(QStringLiteral("pari"), k));
        QCOMPARE(b->TL->value(), k);
        QCOMPARE(b.d.messages,
                 QStringList(QStringLiteral("Export interrompu à l'image %1").arg(k)));
    }

    void bitmap_data() {
        QTest::addColumn<QString>("nom");
        QTest::newRow("carte.jpg") << "carte.jpg";
        QTest::newRow("carte") << "carte";
        QTest::newRow("carte.tar.gz") << "carte.tar.gz";
    }
    // The single bitmap holds what the view holds: nothing is composed for it.
    void bitmap() {
        QFETCH(QString, nom);
        Banc b;
        projet(b);
        QTemporaryDir dossier;
        b.d.fichiers.append(dossier.filePath(nom));
        b.marque();
        b->Button3->click();
        QCOMPARE(fichiers(dossier.path()), QStringList(QStringLiteral("carte.bmp")));
        const QImage lu(dossier.filePath(QStringLiteral("carte.bmp")));
        QCOMPARE(lu.size(), QSize(VUEL, VUEH));
        QCOMPARE(depuisqrgb(lu.pixel(0, 0)), MARQUE);
        QVERIFY(!b.redessine());
        QCOMPARE(b.d.messages, QStringList(SAUVE));
    }

    // Each export dialog offers its own file types, whatever was used before; each starts in
    // the map's folder.
    void dialoguesPropres() {
        Banc b;
        projet(b);
        b->Button11->click();
        b->Button3->click();
        b->Suite->click();
        QCOMPARE(b.d.filtres.size(), 3);
        QVERIFY(b.d.filtres[0].startsWith(QStringLiteral("Vidéo|*.avi|MP4 (H.264)|*.mp4|")));
        QCOMPARE(b.d.filtres[1], QStringLiteral("Image BMP|*.bmp"));
        QCOMPARE(b.d.filtres[2], QStringLiteral("Suite BMP|*.bmp"));
        const QString carte = b.e().dossiercarte;
        QCOMPARE(b.d.dossiers, (QStringList{carte, carte, carte}));
        QVERIFY(b.d.messages.isEmpty());
        QVERIFY(b.d.optionsdepart.isEmpty());
    }

    void erreurDisque_data() {
        QTest::addColumn<QString>("bouton");
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("entravers"); // made a folder, or a link to /dev/full
        QTest::addColumn<bool>("plein");
        QTest::addColumn<QString>("fautif");
        QTest::addColumn<int>("restent");
        QTest::newRow("suite, dossier absent") << "Suite"
                                               << "absent/paris.bmp"
                                               << "" << false << "absent/pari0001.bmp" << 0;
        QTest::newRow("suite, un dossier en travers")
            << "Suite"
            << "paris.bmp"
            << "pari0004.bmp" << false << "pari0004.bmp" << 3;
        QTest::newRow("suite, disque plein") << "Suite"
                                             << "paris.bmp"
                                             << "pari0002.bmp" << true << "pari0002.bmp" << 1;
        QTest::newRow("bitmap, dossier absent") << "Button3"
                                                << "absent/carte.bmp"
                                                << "" << false << "absent/carte.bmp" << 0;
        QTest::newRow("bitmap, disque plein") << "Button3"
                                              << "carte.bmp"
                                              << "carte.bmp" << true << "carte.bmp" << 0;
    }
    void erreurDisque() {
        QFETCH(QString, bouton);
        QFETCH(QString, nom);
        QFETCH(QString, entravers);
        QFETCH(bool, plein);
        QFETCH(QString, fautif);
        QFETCH(int, restent);
        Banc b;
        projet(b);
        film(b, 6);
        QTemporaryDir dossier;
        if (!entravers.isEmpty()) {
            if (plein)
                QVERIFY(QFile::link(QStringLiteral("/dev/full"), dossier.filePath(entravers)));
            else
                QVERIFY(QDir(dossier.path()).mkdir(entravers));
        }
        b.d.fichiers.append(dossier.filePath(nom));
        b->findChild<QPushButton*>(bouton)->click();
        QVERIFY(b.d.messages.isEmpty());
        QCOMPARE(b.d.erreurs.size(), 1);
        QVERIFY2(b.d.erreurs.first().contains(dossier.filePath(fautif)),
                 qPrintable(b.d.erreurs.first()));
        QStringList ecrits = fichiers(dossier.path());
        ecrits.removeAll(entravers);
        QCOMPARE(ecrits, suite(QStringLiteral("pari"), restent));
        if (bouton == QLatin1String("Suite") && restent > 0) QCOMPARE(b->TL->value(), restent + 1);
    }

    void nomDeVideo_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("attendu");
        // Only the file name is put in lower case: the folders stay as chosen.
        QTest::newRow("Film.AVI") << "Films/Film.AVI"
                                  << "Films/film.avi";
        QTest::newRow("film.Avi.avi") << "Films/film.Avi.avi"
                                      << "Films/film.avi.avi";
        QTest::newRow("film") << "Films/film"
                              << "Films/film.avi";
    }
    void nomDeVideo() {
        QFETCH(QString, nom);
        QFETCH(QString, attendu);
        Banc b;
        projet(b);
        film(b, 3);
        QTemporaryDir dossier;
        QVERIFY(QDir(dossier.path()).mkdir(QStringLiteral("Films")));
        b.d.fichiers.append(dossier.filePath(nom));
        b->Button11->click();
        QVERIFY(b.d.filtres.size() == 1 &&
                b.d.filtres[0].startsWith(QStringLiteral("Vidéo|*.avi|")));
        QCOMPARE(b.d.dossiers, QStringList(b.e().dossiercarte));
        QCOMPARE(b.d.messages, QStringList(SAUVE));
        const QString chemin = dossier.filePath(attendu);
        QCOMPARE(fichiers(QFileInfo(chemin).path()), QStringList(QFileInfo(chemin).fileName()));
        QCOMPARE(relis(chemin).images.size(), 4);
    }

    // The other formats by the name's extension: no codec dialog, the film at its size; "Suite
    // PNG" writes frames 0 to N under the name without ".png".
    void formatsParLExtension() {
        Banc b;
        projet(b);
        film(b, 3);
        QTemporaryDir dossier;
        b.d.fichiers.append(dossier.filePath(QStringLiteral("film.mp4")));
        b->Button11->click();
        QCOMPARE(b.d.messages, QStringList(SAUVE));
        QVERIFY(b.d.optionsdepart.isEmpty());
        const auto lu = relis(dossier.filePath(QStringLiteral("film.mp4")));
        QCOMPARE(lu.images.size(), 4);
        QCOMPARE(lu.images.first().size(), QSize(720, 576));
        b.d.fichiers.append(dossier.filePath(QStringLiteral("vue.png")));
        b->transparentfilm->setChecked(true);
        b->Button11->click();
        QCOMPARE(b.d.messages.size(), 2);
        QVERIFY(QFileInfo::exists(dossier.filePath(QStringLiteral("vue0000.png"))));
        QVERIFY(QFileInfo::exists(dossier.filePath(QStringLiteral("vue0003.png"))));
        QVERIFY(QImage(dossier.filePath(QStringLiteral("vue0003.png"))).hasAlphaChannel());
    }

    // The whole start-up film at the sixth rate, in the codec chosen in the dialog.
    void videoDuFilm() {
        const QList<CodecVideo> codecs = codecsvideo();
        const bool mjpeg = std::any_of(codecs.begin(), codecs.end(),
                                       [](const CodecVideo& c) { return c.codec == Codec::mjpeg; });
        if (!mjpeg) QSKIP("this FFmpeg build has no MJPEG encoder");
        Banc b;
        projet(b);
        QCOMPARE(b.e().cipsindex, 5);
        QTemporaryDir dossier;
        b.d.fichiers.append(dossier.filePath(QStringLiteral("film.avi")));
        OptionsVideo choix;
        choix.codec = Codec::mjpeg;
        choix.qualite = 60;
        b.d.options.append(choix);
        b->Button11->click();
        QCOMPARE(b.d.messages, QStringList(SAUVE));
        QCOMPARE(b.d.optionsdepart.size(), 1);
        QCOMPARE(b.d.optionsdepart.first().codec, Codec::rgb);
        const Relue r = relis(dossier.filePath(QStringLiteral("film.avi")));
        QVERIFY2(r.erreur.isEmpty(), qPrintable(r.erreur));
        QCOMPARE(r.codec, QStringLiteral("mjpeg"));
        QCOMPARE(r.images.size(), 151);
        QCOMPARE(r.ipsnum, 25);
        QCOMPARE(r.ipsden, 1);
        QCOMPARE(QSize(r.largeur, r.hauteur), QSize(VUEL, VUEH));
        QCOMPARE(b->TL->value(), 150);
    }

    // The codec dialog taken as it opens writes the frames uncompressed, each the frame the
    // time line shows; cancelled, it writes nothing and says nothing.
    void dialogueCodec_data() {
        QTest::addColumn<bool>("annule");
        QTest::newRow("OK") << false;
        QTest::newRow("Annuler") << true;
    }
    void dialogueCodec() {
        QFETCH(bool, annule);
        Banc b;
        projet(b);
        film(b, 4);
        QTemporaryDir dossier;
        b.d.fichiers.append(dossier.filePath(QStringLiteral("film.avi")));
        if (annule) b.d.options.append(std::nullopt);
        const Guet guet(b.f.get(), -1);
        b->Button11->click();
        QCOMPARE(b.d.optionsdepart.size(), 1);
        if (annule) {
            QVERIFY(fichiers(dossier.path()).isEmpty());
            QVERIFY(b.d.messages.isEmpty());
            QVERIFY(!guet.modale);
            QCOMPARE(b->TL->value(), 0);
            return;
        }
        QVERIFY(guet.modale);
        QCOMPARE(guet.maximum, 5);
        QCOMPARE(b.d.messages, QStringList(SAUVE));
        const Relue r = relis(dossier.filePath(QStringLiteral("film.avi")));
        QVERIFY2(r.erreur.isEmpty(), qPrintable(r.erreur));
        QCOMPARE(r.codec, QStringLiteral("rawvideo"));
        QCOMPARE(r.images.size(), 5);
        for (int f = 0; f <= 4; ++f)
            QCOMPARE(r.images[f].convertToFormat(QImage::Format_RGB32), image(b, f));
    }

    // The type chosen in the dialog decides for a name without a known extension; a typed
    // extension wins over it.
    void typeChoisi_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("ecrit");
        QTest::addColumn<QString>("codec"); // empty: no codec dialog
        QTest::newRow("film, MP4") << "film" << 1 << "film.mp4"
                                   << "h264";
        QTest::newRow("Film, WebM") << "Film" << 2 << "Film.webm"
                                    << "vp9";
        QTest::newRow("film, Vidéo") << "film" << 0 << "film.avi"
                                     << "rawvideo";
        QTest::newRow("mon.film, MOV") << "mon.film" << 4 << "mon.film.mov"
                                       << "";
        QTest::newRow("film.avi, MP4") << "film.avi" << 1 << "film.avi"
                                       << "rawvideo";
        QTest::newRow("film.mkv, Vidéo") << "film.mkv" << 0 << "film.mkv"
                                         << "";
        QTest::newRow("vue, Suite PNG") << "vue" << 7 << "vue0000.png"
                                        << "";
    }
    void typeChoisi() {
        QFETCH(QString, nom);
        QFETCH(int, type);
        QFETCH(QString, ecrit);
        QFETCH(QString, codec);
        Banc b;
        projet(b);
        film(b, 2);
        QTemporaryDir dossier;
        b.d.fichiers.append(dossier.filePath(nom));
        b.d.types.append(type);
        b->Button11->click();
        QCOMPARE(b.d.messages, QStringList(SAUVE));
        QVERIFY2(fichiers(dossier.path()).contains(ecrit),
                 qPrintable(fichiers(dossier.path()).join(u' ')));
        // Only an AVI asks for its codec.
        QCOMPARE(b.d.optionsdepart.size(), ecrit.endsWith(QLatin1String(".avi")) ? 1 : 0);
        if (!codec.isEmpty()) {
            const Relue r = relis(dossier.filePath(ecrit));
            QVERIFY2(r.erreur.isEmpty(), qPrintable(r.erreur));
            QCOMPARE(r.codec, codec);
            QCOMPARE(r.images.size(), 3);
        }
    }

    // A film stopped early keeps the file that had its name, and the message names that file.
    void ancienGarde_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("garde");
        QTest::newRow("film.mp4") << "film.mp4" << 0 << "film.mp4";
        QTest::newRow("film, MP4") << "film" << 1 << "film.mp4";
        QTest::newRow("Film, Vidéo") << "Film" << 0 << "film.avi";
    }
    void ancienGarde() {
        QFETCH(QString, nom);
        QFETCH(int, type);
        QFETCH(QString, garde);
        Banc b;
        projet(b);
        QTemporaryDir dossier;
        const QString ancien = dossier.filePath(garde);
        QFile f(ancien);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("le film d'avant") == 15);
        f.close();
        b.d.fichiers.append(dossier.filePath(nom));
        b.d.types.append(type);
        const Guet guet(b.f.get(), 3);
        b->Button11->click();
        QCOMPARE(b.d.messages.size(), 1);
        QVERIFY2(b.d.messages[0].endsWith(
                     QStringLiteral("\nLe fichier d'avant est gardé : %1").arg(ancien)),
                 qPrintable(b.d.messages[0]));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("le film d'avant"));
        QCOMPARE(fichiers(dossier.path()), QStringList(garde));
    }

    void videoInterrompue() {
        Banc b;
        projet(b);
        QTemporaryDir dossier;
        b.d.fichiers.append(dossier.filePath(QStringLiteral("film.avi")));
        const Guet guet(b.f.get(), 10);
        b->Button11->click();
        const Relue r = relis(dossier.filePath(QStringLiteral("film.avi")));
        QVERIFY2(r.erreur.isEmpty(), qPrintable(r.erreur));
        QVERIFY2(r.images.size() == 10 || r.images.size() == 11,
                 qPrintable(QString::number(r.images.size())));
        // The time line stands at the last frame written.
        QCOMPARE(b->TL->value(), r.images.size() - 1);
        QCOMPARE(
            b.d.messages,
            QStringList(QStringLiteral("Export interrompu à l'image %1").arg(r.images.size() - 1)));
    }

    void erreurVideo_data() {
        QTest::addColumn<bool>("plein");
        QTest::newRow("dossier absent") << false;
        QTest::newRow("disque plein") << true;
    }
    void erreurVideo() {
        QFETCH(bool, plein);
        Banc b;
        projet(b);
        film(b, 30);
        QTemporaryDir dossier;
        QString nom = QStringLiteral("absent/film.avi");
        if (plein) {
            nom = QStringLiteral("film.avi");
            QVERIFY(QFile::link(QStringLiteral("/dev/full"), dossier.filePath(nom)));
        }
        b.d.fichiers.append(dossier.filePath(nom));
        b->Button11->click();
        // The message says what stood in the way.
        QCOMPARE(b.d.messages.size(), 1);
        QVERIFY2(b.d.messages.first().contains(plein ? QStringLiteral("le disque est plein")
                                                     : QStringLiteral("n'existe pas")),
                 qPrintable(b.d.messages.first()));
    }

    void dialogueVideo_data() {
        QTest::addColumn<int>("i");
        const QList<CodecVideo> codecs = codecsvideo();
        for (int i = 0; i < codecs.size(); ++i)
            QTest::newRow(qPrintable(codecs[i].ligne)) << i;
    }
    // The dialog lists this build's codecs, RGB first and chosen by default, and offers for each
    // only the settings it takes.
    void dialogueVideo() {
        QFETCH(int, i);
        const QList<CodecVideo> codecs = codecsvideo();
        DialogueVideo d{OptionsVideo{}};
        QCOMPARE(d.codec->count(), codecs.size());
        QCOMPARE(d.codec->currentIndex(), 0);
        QCOMPARE(d.options().codec, Codec::rgb);
        d.codec->setCurrentIndex(i);
        QCOMPARE(d.qualite->isEnabled(), codecs[i].qualite);
        QCOMPARE(d.debit->isEnabled(), codecs[i].debit);
        QCOMPARE(d.cle->isEnabled(), codecs[i].inter);
        QCOMPARE(d.codec->currentText(), codecs[i].nom);
        d.qualite->setValue(42);
        d.debit->setValue(2500);
        d.cle->setValue(12);
        const OptionsVideo o = d.options();
        QCOMPARE(o.codec, codecs[i].codec);
        QCOMPARE(o.qualite, 42);
        QCOMPARE(o.debit, 2500);
        QCOMPARE(o.cle, 12);
        // Opened again on what it gave, it shows the same.
        DialogueVideo encore(o);
        QCOMPARE(encore.codec->currentIndex(), i);
        QCOMPARE(encore.options().cle, 12);
        QCOMPARE(encore.cle->text(), QStringLiteral("12 images"));
        encore.cle->setValue(1);
        QCOMPARE(encore.cle->text(), QStringLiteral("1 image"));
    }
};

QTEST_MAIN(TstExports)
#include "tst_exports.moc"
