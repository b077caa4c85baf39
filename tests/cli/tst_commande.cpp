// The command line, run as the built program: usage errors, failures, info, the exports against
// the core's own, the headless trace.
#include "aidecommande.h"
#include "cli/commande.h"

#include "export/film.h"
#include "project/carte.h"
#include "project/parametres.h"
#include "render/afficheimg.h"
#include "timeline/temps.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_LINUX
#include <sys/stat.h>
#endif

class TestCommande : public QObject {
    Q_OBJECT
  private slots:
    void usage_data();
    void usage();
    void aide();
    void version();
    void optionsDansLOrdre();
    void couleurs_data();
    void couleurs();
    void introuvable_data();
    void introuvable();
    void info();
    void suite();
    void bmp();
    void avi();
    void film_data();
    void film();
    void png();
    void trace();
    void traceSousImageDeBase();
    void traceReglages();
    void camera();
    void gpx();
    void rejeu();
    void tracesEnsemble();
    void tubes();
    void ecraseProjet();
    void malforme();
};

void TestCommande::usage_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("dit");
    auto l = [](const char* s) { return QString::fromUtf8(s).split(QLatin1Char(' ')); };
    QTest::newRow("option inconnue") << l("--bavard") << "--bavard";
    QTest::newRow("deux cartes") << l("a.bmp b.bmp") << "b.bmp";
    QTest::newRow("export sans carte") << l("export") << "CARTE";
    QTest::newRow("export sans sortie") << l("export c.bmp") << "--avi";
    QTest::newRow("avi sans film") << l("export c.bmp --avi") << "--avi";
    QTest::newRow("deux sorties") << l("export c.bmp --avi f --bmps p") << "une seule";
    QTest::newRow("codec inconnu") << l("export c.bmp --avi f --codec divx") << "divx";
    QTest::newRow("qualite hors bornes") << l("export c.bmp --avi f --qualite 101") << "101";
    QTest::newRow("cle nulle") << l("export c.bmp --avi f --cle 0") << "--cle";
    QTest::newRow("codec pour bmps") << l("export c.bmp --bmps p --codec rgb") << "--avi";
    QTest::newRow("image pour avi") << l("export c.bmp --avi f --image 3") << "--bmp";
    QTest::newRow("image negative") << l("export c.bmp --bmp f --image -1") << "-1";
    QTest::newRow("trace sans depart") << l("trace c.bmp --couleur #FF0000") << "--depuis";
    QTest::newRow("trace sans couleur") << l("trace c.bmp --depuis 3,4") << "--couleur";
    QTest::newRow("depart mal forme") << l("trace c.bmp --depuis 3 --couleur 0") << "X,Y";
    QTest::newRow("couleur mal formee") << l("trace c.bmp --depuis 3,4 --couleur #12") << "#12";
    QTest::newRow("info en xml") << l("info c.bmp --xml") << "--xml";
    QTest::newRow("aide et carte") << l("--help c.bmp") << "--help";
    QTest::newRow("version et carte") << l("c.bmp --version") << "--version";
    QTest::newRow("export en trop") << l("export c.bmp --avi f surplus") << "surplus";
    QTest::newRow("info inconnue apres") << l("info c.bmp --json --bruit") << "--bruit";
    QTest::newRow("interrupteur avec valeur") << l("info c.bmp --json=1") << "--json";
    QTest::newRow("valeur vide") << QStringList{"export", "c.bmp", "--bmp", ""} << "--bmp";
    QTest::newRow("couleur transparente")
        << l("trace c.bmp --depuis 3,4 --couleur transparent") << "transparent";
    QTest::newRow("film et png") << l("export c.bmp --film f.mp4 --png p") << "une seule";
    QTest::newRow("transparent pour avi")
        << l("export c.bmp --avi f --transparent") << "--transparent";
    QTest::newRow("transparent pour mp4")
        << l("export c.bmp --film f.mp4 --transparent") << "transparence";
    QTest::newRow("extension inconnue") << l("export c.bmp --film f.wmv") << "f.wmv";
    QTest::newRow("debit pour film") << l("export c.bmp --film f.mp4 --debit 100") << "--debit";
    QTest::newRow("h265 pour webm") << l("export c.bmp --film f.webm --codec h265") << "h265";
    QTest::newRow("taille impaire")
        << l("export c.bmp --film f.mp4 --taille 1281x720") << "--taille";
    QTest::newRow("taille sans x") << l("export c.bmp --film f.mp4 --taille 1280") << "--taille";
    QTest::newRow("zoom nul") << l("export c.bmp --png p --zoom 0") << "--zoom";
    QTest::newRow("taille pour avi")
        << l("export c.bmp --avi f.avi --taille 1280x720") << "--taille et --zoom";
    QTest::newRow("h265 pour avi") << l("export c.bmp --avi f --codec h265") << "h265";
    QTest::newRow("gpx sans trace") << l("gpx c.bmp --temps") << "GPX";
    QTest::newRow("calage mal formé") << l("gpx c.bmp t.gpx --calage 1,2=45") << "X,Y=LAT,LON";
    QTest::newRow("latitude hors limites")
        << l("gpx c.bmp t.gpx --calage 1,2=95,3 --calage 5,6=1,1") << "95";
    QTest::newRow("un seul calage") << l("gpx c.bmp t.gpx --calage 1,2=45,3") << "deux points";
    QTest::newRow("pause négative") << l("gpx c.bmp t.gpx --pause -5") << "--pause";
    QTest::newRow("départ inconnu")
        << l("gpx c.bmp a.gpx b.gpx --depart demain") << "heure ou commun";
    QTest::newRow("couleur de piste inconnue")
        << l("gpx c.bmp a.gpx b.gpx --couleurs #ff0000,bof") << "--couleurs";
    QTest::newRow("classement sans Y") << l("gpx c.bmp a.gpx --classement 10") << "--classement";
    QTest::newRow("caméra inconnue") << l("gpx c.bmp a.gpx --camera partout") << "--camera";
    QTest::newRow("film de zéro seconde") << l("gpx c.bmp a.gpx --duree 0") << "--duree";
}

void TestCommande::usage() {
    QFETCH(QStringList, args);
    QFETCH(QString, dit);
    const Sortie s = lancevialume(args);
    QCOMPARE(s.code, SORTIEUSAGE);
    const QString err = QString::fromUtf8(s.err);
    QVERIFY2(err.contains(dit), qPrintable(err));
    QVERIFY(err.contains(QStringLiteral("--help")));
    QVERIFY(s.out.isEmpty());
}

void TestCommande::aide() {
    const Sortie s = lancevialume({QStringLiteral("--help")});
    QCOMPARE(s.code, SORTIEOK);
    const QString t = QString::fromUtf8(s.out);
    for (const char* mot : {"vialume [CARTE]", "export CARTE --avi", "--bmps", "--bmp FICHIER",
                            "--image", "trace CARTE", "--suite", "info CARTE", "--json"})
        QVERIFY2(t.contains(QString::fromUtf8(mot)), mot);
    for (const QString& c : nomscodecs())
        QVERIFY2(t.contains(c), qPrintable(c));
}

void TestCommande::version() {
    const Sortie s = lancevialume({QStringLiteral("--version")});
    QCOMPARE(s.code, SORTIEOK);
    QCOMPARE(s.out.trimmed(), QByteArray("vialume V1.50"));
    QVERIFY(s.err.isEmpty());
}

// The parser takes options in any order and the "--option=valeur" form; "--couleur red" traces.
void TestCommande::optionsDansLOrdre() {
    const auto a = analyse({QStringLiteral("export"), QStringLiteral("c.bmp"),
                            QStringLiteral("--qualite=40"), QStringLiteral("--codec"),
                            QStringLiteral("mjpeg"), QStringLiteral("--avi"), QStringLiteral("f")});
    const auto* d = std::get_if<Demande>(&a);
    QVERIFY(d);
    QCOMPARE(d->sortie, Demande::avi);
    QCOMPARE(d->cible, QStringLiteral("f"));
    QCOMPARE(d->codec, QStringLiteral("mjpeg"));
    QCOMPARE(d->qualite, std::optional<int>(40));
    const auto t =
        analyse({QStringLiteral("trace"), QStringLiteral("c.bmp"), QStringLiteral("--suite"),
                 QStringLiteral("--couleur"), QStringLiteral("red"), QStringLiteral("--depuis"),
                 QStringLiteral("5,6")});
    d = std::get_if<Demande>(&t);
    QVERIFY(d);
    QCOMPARE(d->couleur, 0x0000ff);
    QVERIFY(d->suite);
    QCOMPARE(d->x, 5);
    QCOMPARE(d->y, 6);
    const auto f = analyse({QStringLiteral("c.bmp")});
    QVERIFY(std::get_if<Demande>(&f));
    QCOMPARE(std::get<Demande>(f).action, Demande::fenetre);
    QCOMPARE(std::get<Demande>(f).carte, QStringLiteral("c.bmp"));
}

void TestCommande::couleurs_data() {
    QTest::addColumn<QString>("texte");
    QTest::addColumn<int>("valeur");
    QTest::addColumn<bool>("valide");
    QTest::newRow("#RRGGBB") << "#FF8000" << 0x0080ff << true;
    QTest::newRow("minuscules") << "#00ff7f" << 0x7fff00 << true;
    QTest::newRow("decimal") << "255" << 255 << true;
    QTest::newRow("negatif") << "-2147483643" << int(clWindow) << true;
    QTest::newRow("nom") << "clRed" << 0x0000ff << true;
    QTest::newRow("dollar") << "$00FF00" << 0x00ff00 << true;
    QTest::newRow("diese court") << "#FFF" << 0 << false;
    QTest::newRow("diese non hexa") << "#GG0000" << 0 << false;
    QTest::newRow("mot") << "rouge" << 0 << false;
    QTest::newRow("nom SVG") << "red" << 0x0000ff << true;
    QTest::newRow("nom SVG compose") << "DarkGreen" << 0x006400 << true;
    QTest::newRow("nom SVG bleu") << "navy" << 0x800000 << true;
}

void TestCommande::couleurs() {
    QFETCH(QString, texte);
    QFETCH(int, valeur);
    QFETCH(bool, valide);
    const auto c = couleurligne(texte);
    QCOMPARE(c.has_value(), valide);
    if (valide) QCOMPARE(*c, valeur);
}

void TestCommande::introuvable_data() {
    QTest::addColumn<QStringList>("args");
    const QString c = QStringLiteral("/nonexistent/carte.bmp");
    QTest::newRow("info") << QStringList{QStringLiteral("info"), c};
    QTest::newRow("export") << QStringList{QStringLiteral("export"), c, QStringLiteral("--bmps"),
                                           QStringLiteral("/tmp/vialume-jamais")};
    QTest::newRow("trace") << QStringList{QStringLiteral("trace"),     c,
                                          QStringLiteral("--depuis"),  QStringLiteral("1,1"),
                                          QStringLiteral("--couleur"), QStringLiteral("0")};
}

void TestCommande::introuvable() {
    QFETCH(QStringList, args);
    const Sortie s = lancevialume(args);
    QCOMPARE(s.code, SORTIEECHEC);
    QVERIFY2(s.err.contains("/nonexistent/carte.bmp"), s.err.constData());
}

void TestCommande::info() {
    QTemporaryDir d;
    const QString carte = dessinecarte(d.path());
    QVERIFY(faisprojet(carte));
    const Sortie s = lancevialume({QStringLiteral("info"), carte, QStringLiteral("--json")});
    QCOMPARE(s.code, SORTIEOK);
    QJsonParseError erreur;
    const QJsonDocument doc = QJsonDocument::fromJson(s.out, &erreur);
    QVERIFY2(erreur.error == QJsonParseError::NoError, qPrintable(erreur.errorString()));
    const QJsonObject j = doc.object();
    const QJsonObject c = j[QStringLiteral("carte")].toObject();
    QCOMPARE(c[QStringLiteral("largeur")].toInt(), 800);
    QCOMPARE(c[QStringLiteral("hauteur")].toInt(), 600);
    const QJsonObject cadre = j[QStringLiteral("film")].toObject();
    QCOMPARE(cadre[QStringLiteral("largeur")].toInt(), 720);
    QCOMPARE(cadre[QStringLiteral("hauteur")].toInt(), 576);
    QCOMPARE(cadre[QStringLiteral("zoom")].toDouble(), 1.0);
    QCOMPARE(j[QStringLiteral("style")].toObject()[QStringLiteral("largeur")].toInt(), 0);
    // A size whose view the 800 x 600 map cannot fill: refused, with the zoom that fits.
    const Sortie grand = lancevialume({QStringLiteral("export"), carte, QStringLiteral("--png"),
                                       d.filePath(QStringLiteral("g")), QStringLiteral("--taille"),
                                       QStringLiteral("1920x1080")});
    QCOMPARE(grand.code, SORTIEECHEC);
    QVERIFY2(grand.err.contains("1920*1080 minimum pour ce film (ou un zoom de 2.40"),
             grand.err.constData());
    const QJsonObject r = j[QStringLiteral("route")].toObject();
    QCOMPARE(r[QStringLiteral("points")].toInt(), 30);
    // What "[COULROUTE]" holds: the route colour of a project that never traced is the start one.
    QCOMPARE(r[QStringLiteral("couleur")].toInt(), int(clWindow));
    QVERIFY2(s.err.isEmpty(), s.err.constData());
    const QJsonArray tr = r[QStringLiteral("troncons")].toArray();
    QCOMPARE(tr.size(), 2);
    QCOMPARE(tr[0].toObject()[QStringLiteral("numero")].toInt(), 0);
    QCOMPARE(tr[0].toObject()[QStringLiteral("points")].toInt(), 20);
    QCOMPARE(tr[0].toObject()[QStringLiteral("couleur")].toInt(), 0x0000ff);
    QCOMPARE(tr[1].toObject()[QStringLiteral("points")].toInt(), 10);
    const QJsonObject f = j[QStringLiteral("film")].toObject();
    QCOMPARE(f[QStringLiteral("ips")].toInt(), 10);
    QCOMPARE(f[QStringLiteral("derniere_image")].toInt(), 20);
    QCOMPARE(f[QStringLiteral("duree")].toString(), QStringLiteral("02:00"));
    QCOMPARE(f[QStringLiteral("lignes")].toInt(), 21);
    const QJsonArray cles = f[QStringLiteral("cles")].toArray();
    QCOMPARE(cles.size(), 3);
    const QJsonObject milieu = cles[1].toObject();
    QCOMPARE(milieu[QStringLiteral("image")].toInt(), 10);
    QCOMPARE(milieu[QStringLiteral("x")].toInt(), 40);
    QCOMPARE(milieu[QStringLiteral("y")].toInt(), 12);
    QCOMPARE(milieu[QStringLiteral("temps")].toString(), QStringLiteral("01:00"));
    const QJsonObject l = j[QStringLiteral("legende")].toObject();
    QCOMPARE(l[QStringLiteral("actif")].toBool(), true);
    QCOMPARE(l[QStringLiteral("unite")].toInt(), 3);
    QCOMPARE(l[QStringLiteral("texte_autre")].toString(), QStringLiteral("lieues"));
    QCOMPARE(l[QStringLiteral("maxi")].toString(), QStringLiteral("90"));

    // The text form says the same.
    const Sortie t = lancevialume({QStringLiteral("info"), carte});
    QCOMPARE(t.code, SORTIEOK);
    QVERIFY(t.out.contains("30 points, 2 tron"));
}

void TestCommande::suite() {
    QTemporaryDir d;
    const QString carte = dessinecarte(d.path());
    QVERIFY(faisprojet(carte));
    QVERIFY(QDir(d.path()).mkdir(QStringLiteral("ligne")));
    QVERIFY(QDir(d.path()).mkdir(QStringLiteral("coeur")));
    // The name is cut as the window's save dialog name is: four characters before the first ".".
    const Sortie s = lancevialume({QStringLiteral("export"), carte, QStringLiteral("--bmps"),
                                   d.filePath(QStringLiteral("ligne/film.x.bmp"))});
    QCOMPARE(s.code, SORTIEOK);
    // Not a terminal: one line every 10 %.
    QCOMPARE(s.err.count("Export BMP : "), 10);

    // The core's own sequence export of the same project.
    auto etat = nouveletat();
    Surfaces surf;
    QVERIFY(!ouvreprojet(*etat, surf, carte));
    ExportSuite suite(*etat, surf, d.filePath(QStringLiteral("coeur/film")));
    while (!suite.fini())
        QVERIFY(!suite.etape());

    const QStringList faits = fichiers(d.filePath(QStringLiteral("ligne")));
    QCOMPARE(faits.size(), 20);
    QCOMPARE(faits.first(), QStringLiteral("film0001.bmp"));
    QCOMPARE(faits.last(), QStringLiteral("film0020.bmp"));
    QCOMPARE(fichiers(d.filePath(QStringLiteral("coeur"))), faits);
    for (const QString& f : faits)
        QVERIFY2(contenu(d.filePath(QStringLiteral("ligne/") + f)) ==
                     contenu(d.filePath(QStringLiteral("coeur/") + f)),
                 qPrintable(f));
}

void TestCommande::bmp() {
    QTemporaryDir d;
    const QString carte = dessinecarte(d.path());
    QVERIFY(faisprojet(carte));
    const Sortie s = lancevialume({QStringLiteral("export"), carte, QStringLiteral("--bmp"),
                                   d.filePath(QStringLiteral("vue.jpg")), QStringLiteral("--image"),
                                   QStringLiteral("10")});
    QCOMPARE(s.code, SORTIEOK);
    auto etat = nouveletat();
    Surfaces surf;
    QVERIFY(!ouvreprojet(*etat, surf, carte));
    montreimage(*etat, surf, 10);
    const QImage lu(d.filePath(QStringLiteral("vue.bmp")));
    QCOMPARE(lu.size(), QSize(VUEL, VUEH));
    QCOMPARE(lu.convertToFormat(QImage::Format_RGB32), surf.vue.image());
    // Frame 10 stands at the keyframe's offsets: the route starts at view column 60.
    QCOMPARE(QColor(lu.pixel(60, 288)), QColor(Qt::red));

    const Sortie loin = lancevialume({QStringLiteral("export"), carte, QStringLiteral("--bmp"),
                                      d.filePath(QStringLiteral("loin.bmp")),
                                      QStringLiteral("--image"), QStringLiteral("21")});
    QCOMPARE(loin.code, SORTIEECHEC);
    QVERIFY(!QFile::exists(d.filePath(QStringLiteral("loin.bmp"))));
}

void TestCommande::avi() {
    const QString ffprobe = QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
    if (ffprobe.isEmpty()) QSKIP("ffprobe absent (paquet Debian ffmpeg)");
    QTemporaryDir d;
    const QString carte = dessinecarte(d.path());
    QVERIFY(faisprojet(carte));
    for (const char* codec : {"rgb", "mjpeg"}) {
        const QString film = d.filePath(QStringLiteral("Film_%1").arg(QLatin1String(codec)));
        const Sortie s =
            lancevialume({QStringLiteral("export"), carte, QStringLiteral("--avi"), film,
                          QStringLiteral("--codec"), QString::fromLatin1(codec)});
        QCOMPARE(s.code, SORTIEOK);
        // The window's name rule: the file name in lower case, ".avi" added.
        const QString ecrit = d.filePath(QStringLiteral("film_%1.avi").arg(QLatin1String(codec)));
        QVERIFY(QFile::exists(ecrit));
        QProcess p;
        p.start(ffprobe, {QStringLiteral("-v"), QStringLiteral("error"),
                          QStringLiteral("-count_frames"), QStringLiteral("-select_streams"),
                          QStringLiteral("v:0"), QStringLiteral("-show_entries"),
                          QStringLiteral("stream=nb_read_frames,r_frame_rate,width,height"),
                          QStringLiteral("-of"), QStringLiteral("csv=p=0"), ecrit});
        QVERIFY(p.waitForFinished(60000));
        const QStringList champs =
            QString::fromUtf8(p.readAllStandardOutput()).trimmed().split(',');
        QCOMPARE(champs.size(), 4);
        QCOMPARE(champs[0], QStringLiteral("720"));
        QCOMPARE(champs[1], QStringLiteral("576"));
        // Frames 0 to 20: N + 1.
        QCOMPARE(champs[3], QStringLiteral("21"));
        // The project runs at 10: the load selects that rate in the frame-rate list, which
        // the video takes.
        QCOMPARE(champs[2], QStringLiteral("10/1"));
    }
}

// The walk's settings: a gap bridged, the settings kept in the project, the map without its route
// made and named as the display picture; a route past the 36001 points of old is saved whole.
void TestCommande::traceReglages() {
    QTemporaryDir d;
    QImage img(800, 600, QImage::Format_RGB32);
    img.fill(qRgb(128, 128, 128));
    for (int x = 100; x < 260; ++x)
        if (x != 200 && x != 201) img.setPixel(x, 300, qRgb(255, 0, 0));
    const QString carte = d.filePath(QStringLiteral("pont.bmp"));
    QVERIFY(img.save(carte, "BMP"));
    const auto lance = [&](const QStringList& plus) {
        return lancevialume(QStringList{QStringLiteral("trace"), carte, QStringLiteral("--depuis"),
                                        QStringLiteral("100,300"), QStringLiteral("--couleur"),
                                        QStringLiteral("#00FF00")} +
                            plus);
    };
    Sortie s = lance({});
    QCOMPARE(s.code, SORTIEOK);
    QVERIFY2(s.err.contains("pixels de couleur voisine"), s.err.constData());
    s = lance({QStringLiteral("--pont"), QStringLiteral("2"), QStringLiteral("--sans-chemin")});
    QCOMPARE(s.code, SORTIEOK);
    QVERIFY2(s.err.isEmpty(), s.err.constData());
    auto etat = nouveletat();
    Surfaces surf;
    QVERIFY(!ouvreprojet(*etat, surf, carte));
    QCOMPARE(etat->nbpt + 1, 158);
    QVERIFY(etat->reglagestrace == (ReglagesTrace{0, false, 2, false}));
    const QString sans = d.filePath(QStringLiteral("pont-sanschemin.png"));
    QCOMPARE(etat->fichiervisu, sans);
    const QImage visu(sans);
    QCOMPARE(visu.size(), img.size());
    QCOMPARE(visu.pixel(150, 300), qRgb(128, 128, 128));
    QVERIFY(lance({QStringLiteral("--pont"), QStringLiteral("51")}).err.contains("51"));

    // 40000 pixels of one colour: all are saved.
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            img.setPixel(300 + x, 50 + y, qRgb(0, 0, 255));
    const QString bloc = d.filePath(QStringLiteral("bloc.bmp"));
    QVERIFY(img.save(bloc, "BMP"));
    s = lancevialume({QStringLiteral("trace"), bloc, QStringLiteral("--depuis"),
                      QStringLiteral("300,50"), QStringLiteral("--couleur"), QStringLiteral("red"),
                      QStringLiteral("--carte-entiere")});
    QCOMPARE(s.code, SORTIEOK);
    QVERIFY2(!s.err.contains("pleine"), s.err.constData());
    auto e2 = nouveletat();
    QVERIFY(!ouvreprojet(*e2, surf, bloc));
    QCOMPARE(e2->nbpt + 1, 200 * 200);
}

void TestCommande::film_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("fichier");
    QTest::addColumn<QString>("codec");
    QTest::addColumn<QString>("pixels");
    QTest::addColumn<QString>("taille");
    auto l = [](const char* s) { return QString::fromUtf8(s).split(QLatin1Char(' ')); };
    QTest::newRow("mp4") << l("--film film.mp4") << "film.mp4"
                         << "h264"
                         << "yuv420p"
                         << "720,576";
    // The same aspect at twice the size: the same framing; another aspect: that size.
    QTest::newRow("mp4 double") << l("--film film.mp4 --taille 1440x1152") << "film.mp4"
                                << "h264"
                                << "yuv420p"
                                << "1440,1152";
    QTest::newRow("mp4 16:9 zoom") << l("--film film.mp4 --taille 1280x720 --zoom 2") << "film.mp4"
                                   << "h264"
                                   << "yuv420p"
                                   << "1280,720";
    QTest::newRow("mp4 h265") << l("--film film.mp4 --codec h265 --qualite 30") << "film.mp4"
                              << "hevc"
                              << "yuv420p"
                              << "720,576";
    QTest::newRow("webm") << l("--film film.webm") << "film.webm"
                          << "vp9"
                          << "yuv420p"
                          << "720,576";
    QTest::newRow("gif") << l("--film film.gif") << "film.gif"
                         << "gif"
                         << "bgra"
                         << "720,576";
    QTest::newRow("mov transparent") << l("--film film.mov --transparent") << "film.mov"
                                     << "prores"
                                     << "yuva444p12le" // the decoder gives 12 bits
                                     << "720,576";
    QTest::newRow("mkv transparent") << l("--film film.mkv --transparent") << "film.mkv"
                                     << "ffv1"
                                     << "bgra"
                                     << "720,576";
    // Through --film an AVI keeps the V1.50 name rule.
    QTest::newRow("avi") << l("--film Film.AVI") << "film.avi"
                         << "rawvideo"
                         << "bgr24"
                         << "720,576";
}

void TestCommande::film() {
    QFETCH(QStringList, options);
    QFETCH(QString, fichier);
    QFETCH(QString, codec);
    QFETCH(QString, pixels);
    QFETCH(QString, taille);
    const QString ffprobe = QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
    if (ffprobe.isEmpty()) QSKIP("ffprobe absent (paquet Debian ffmpeg)");
    QTemporaryDir d;
    const QString carte = dessinecarte(d.path());
    QVERIFY(faisprojet(carte));
    options[1] = d.filePath(options[1]);
    const Sortie s = lancevialume(QStringList{QStringLiteral("export"), carte} + options);
    QCOMPARE(s.code, SORTIEOK);
    const QString ecrit = d.filePath(fichier);
    QVERIFY2(QFile::exists(ecrit), qPrintable(fichiers(d.path()).join(' ')));
    QProcess p;
    p.start(ffprobe, {QStringLiteral("-v"), QStringLiteral("error"),
                      QStringLiteral("-count_frames"), QStringLiteral("-select_streams"),
                      QStringLiteral("v:0"), QStringLiteral("-show_entries"),
                      QStringLiteral("stream=codec_name,width,height,pix_fmt,nb_read_frames"),
                      QStringLiteral("-of"), QStringLiteral("csv=p=0"), ecrit});
    QVERIFY(p.waitForFinished(60000));
    const QString attendu = QStringLiteral("%1,%2,%3,21").arg(codec, taille, pixels);
    QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).trimmed(), attendu);
}

void TestCommande::png() {
    QTemporaryDir d;
    const QString carte = dessinecarte(d.path());
    QVERIFY(faisprojet(carte));
    const QString prefixe = d.filePath(QStringLiteral("vue.longue"));
    const Sortie s = lancevialume({QStringLiteral("export"), carte, QStringLiteral("--png"),
                                   prefixe, QStringLiteral("--transparent")});
    QCOMPARE(s.code, SORTIEOK);
    // Frames 0 to 20, the prefix as given, whatever its length and dots.
    const QStringList pngs =
        QDir(d.path()).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    QCOMPARE(pngs.size(), 21);
    QCOMPARE(pngs.first(), QStringLiteral("vue.longue0000.png"));
    QCOMPARE(pngs.last(), QStringLiteral("vue.longue0020.png"));
    const QImage i(d.filePath(pngs.first()));
    QVERIFY(i.hasAlphaChannel());
    QCOMPARE(i.size(), QSize(720, 576));
    QCOMPARE(qAlpha(i.pixel(700, 500)), 0);             // grey map left out
    QCOMPARE(i.pixel(100, 300), qRgba(255, 0, 0, 255)); // the route's first point
}

// The camera that follows: keyframes written into the project, every drawn head in the view of
// its frame; then eased moves, kept in the project too.
void TestCommande::camera() {
    QTemporaryDir d;
    QImage img(2000, 1400, QImage::Format_RGB32);
    img.fill(qRgb(128, 128, 128));
    for (int i = 0; i <= 1800; ++i)
        img.setPixel(100 + i, 100 + i * 1200 / 1800, qRgb(255, 0, 0));
    const QString carte = d.filePath(QStringLiteral("suivi.bmp"));
    QVERIFY(img.save(carte, "BMP"));
    QCOMPARE(lancevialume({QStringLiteral("trace"), carte, QStringLiteral("--depuis"),
                           QStringLiteral("100,100"), QStringLiteral("--couleur"),
                           QStringLiteral("blue"), QStringLiteral("--carte-entiere")})
                 .code,
             SORTIEOK);
    const Sortie s = lancevialume({QStringLiteral("camera"), carte, QStringLiteral("--suivre"),
                                   QStringLiteral("--marge"), QStringLiteral("100")});
    QCOMPARE(s.code, SORTIEOK);
    auto e = nouveletat();
    Surfaces surf;
    QVERIFY(!ouvreprojet(*e, surf, carte));
    QVERIFY(e->nbcle > 2);
    for (int c = 0; c <= e->nbimg; ++c) {
        const int i = static_cast<int>(partde(e->nbpt, e->imgavance[c]));
        QVERIFY(e->ptx[i] - e->imgdecx[c] >= std::min(100, e->ptx[i]));
        QVERIFY(e->imgdecx[c] + VUEL - 1 - e->ptx[i] >= std::min(100, 1999 - e->ptx[i]));
        QVERIFY(e->pty[i] - e->imgdecy[c] >= std::min(100, e->pty[i]));
        QVERIFY(e->imgdecy[c] + VUEH - 1 - e->pty[i] >= std::min(100, 1399 - e->pty[i]));
    }
    QCOMPARE(lancevialume({QStringLiteral("camera"), carte, QStringLiteral("--adoucir")}).code,
             SORTIEOK);
    auto e2 = nouveletat();
    QVERIFY(!ouvreprojet(*e2, surf, carte));
    QVERIFY(e2->adoucit);
    QCOMPARE(e2->nbcle, e->nbcle);
    QCOMPARE(lancevialume({QStringLiteral("camera"), carte}).code, SORTIEUSAGE);
}

// A GPX track on a map placed by its world file, then by points given on the command line; a
// malformed track changes nothing.
void TestCommande::gpx() {
    QTemporaryDir d;
    const QString carte = dessinecarte(d.path());
    QVERIFY(faisprojet(carte));
    // 0.001 degree a pixel, the top-left pixel's centre at 46 N 2 E.
    QFile w(d.filePath("carte.bpw"));
    QVERIFY(w.open(QIODevice::WriteOnly));
    w.write("0.001\n0\n0\n-0.001\n2.0\n46.0\n");
    w.close();
    const QString gpx = d.filePath("t.gpx");
    QFile g(gpx);
    QVERIFY(g.open(QIODevice::WriteOnly));
    // West to east along row 200: 300 pixels in 100 s, then 300 more in 300 s.
    g.write(R"(<?xml version="1.0"?>
<gpx version="1.1" xmlns="http://www.topografix.com/GPX/1/1"><trk><trkseg>
<trkpt lat="45.8" lon="2.1"><time>2024-05-01T10:00:00Z</time></trkpt>
<trkpt lat="45.8" lon="2.4"><time>2024-05-01T10:01:40Z</time></trkpt>
<trkpt lat="45.8" lon="2.7"><time>2024-05-01T10:06:40Z</time></trkpt>
</trkseg></trk></gpx>
)");
    g.close();
    QVERIFY(!lancevialume({"info", carte}).out.contains("GPS"));
    Sortie s = lancevialume({"gpx", carte, gpx, "--temps", "--distance", "--decimales", "2"});
    QVERIFY2(s.code == SORTIEOK, s.err.constData());
    QVERIFY2(QString::fromUtf8(s.out).contains("601 points, 1 tronçons"), s.out.constData());
    auto e = nouveletat();
    Surfaces surf;
    QVERIFY(!ouvreprojet(*e, surf, carte));
    QCOMPARE(e->nbpt, 600);
    QCOMPARE(e->ptx[0], 100);
    QCOMPARE(e->pty[0], 200);
    QCOMPARE(e->ptx[600], 700);
    QVERIFY(e->geo.allure && e->geo.distance && e->geo.calage.place && e->gpstemps);
    QCOMPARE(e->geo.decimales, 2);
    // The film of 20 frames: frame 5 is at 100 s of 400, half the way.
    QCOMPARE(e->nbimg, 20);
    QVERIFY(std::abs(e->imgavance[5] - 500) <= 2);
    QCOMPARE(e->imgavance[20], 1000);
    // 0.6 degree of longitude at 45.8 N: about 46.7 km, which the even counter ends on too.
    QVERIFY(std::abs(e->ptdist[600] - 46'700) < 200);
    QCOMPARE(e->lkm, QString("47"));
    QVERIFY2(lancevialume({"info", carte}).out.contains("GPS : carte placée, tracé de 46,"),
             lancevialume({"info", carte}).out.constData());

    // Placed by three points instead: the same pixels, and residuals shown.
    s = lancevialume({"gpx", carte, gpx, "--calage", "100,200=45.8,2.1",
                      "--calage=700,200=45.8,2.7", "--calage", "400,500=45.5,2.4"});
    QVERIFY2(s.code == SORTIEOK, s.err.constData());
    QVERIFY2(QString::fromUtf8(s.out).contains("calage"), s.out.constData());
    auto e2 = nouveletat();
    QVERIFY(!ouvreprojet(*e2, surf, carte));
    QCOMPARE(e2->geo.calage.amers.size(), std::size_t(3));
    QCOMPARE(e2->nbpt, 600);
    QVERIFY(std::abs(e2->ptx[0] - 100) <= 1 && std::abs(e2->pty[0] - 200) <= 1);
    QVERIFY(std::abs(e2->ptx[600] - 700) <= 1 && std::abs(e2->pty[600] - 200) <= 1);

    // Placed by where the track starts and ends: the same pixels.
    s = lancevialume({"gpx", carte, gpx, "--calage", "100,200=@1", "--calage", "700,200=@fin"});
    QVERIFY2(s.code == SORTIEOK, s.err.constData());
    auto e3 = nouveletat();
    QVERIFY(!ouvreprojet(*e3, surf, carte));
    QCOMPARE(e3->geo.calage.amers.size(), std::size_t(2));
    QCOMPARE(e3->geo.calage.amers[1].lon, 2.7);
    QVERIFY(std::abs(e3->ptx[300] - 400) <= 1 && std::abs(e3->pty[300] - 200) <= 1);
    s = lancevialume({"gpx", carte, gpx, "--calage", "100,200=@1", "--calage", "700,200=@9"});
    QCOMPARE(s.code, SORTIEECHEC);
    QVERIFY2(QString::fromUtf8(s.err).contains("pas de point 9 : il en a 3"), s.err.constData());

    // A broken file: its line said, the project as it was.
    const QByteArray avant = contenu(d.filePath("carte.vlp"));
    QVERIFY(g.open(QIODevice::WriteOnly | QIODevice::Truncate));
    g.write("<gpx>\n<trk><trkseg>\n<trkpt lat=\"45.8\" lon=\"deux\"/>\n</trkseg></trk></gpx>\n");
    g.close();
    s = lancevialume({"gpx", carte, gpx});
    QCOMPARE(s.code, SORTIEECHEC);
    QVERIFY2(QString::fromUtf8(s.err).contains("(ligne 3)"), s.err.constData());
    QCOMPARE(contenu(d.filePath("carte.vlp")), avant);
}

// Two tracks made a replay from a common start, named and coloured from the command, kept and
// listed by `info --json`.
void TestCommande::rejeu() {
    QTemporaryDir d;
    const QString carte = dessinecarte(d.path());
    QVERIFY(faisprojet(carte));
    QFile w(d.filePath("carte.bpw"));
    QVERIFY(w.open(QIODevice::WriteOnly));
    w.write("0.001\n0\n0\n-0.001\n2.0\n46.0\n");
    w.close();
    const auto trace = [&](const QString& nom, double lat, const char* fin) {
        QFile g(d.filePath(nom));
        if (!g.open(QIODevice::WriteOnly)) return QString();
        g.write(QByteArray("<gpx><trk><trkseg><trkpt lat=\"") + QByteArray::number(lat) +
                "\" lon=\"2.1\"><time>2024-05-01T10:00:00Z</time></trkpt><trkpt lat=\"" +
                QByteArray::number(lat) + "\" lon=\"2.7\"><time>" + fin +
                "</time></trkpt></trkseg></trk></gpx>");
        return g.fileName();
    };
    const QString a = trace("a.gpx", 45.8, "2024-05-01T10:10:00Z");
    const QString b = trace("b.gpx", 45.7, "2024-05-01T10:05:00Z");
    const Sortie s = lancevialume({"gpx", carte, a, b, "--noms", "Anne,Bruno", "--couleurs",
                                   "#0000ff,#00a000", "--depart", "commun", "--queue", "30",
                                   "--classement", "10,20", "--camera", "toutes", "--duree", "4"});
    QVERIFY2(s.code == SORTIEOK, s.err.constData());
    QVERIFY2(QString::fromUtf8(s.out).contains("Rejeu de 2 tracés, départ commun, 10:00 de course"),
             s.out.constData());
    auto e = nouveletat();
    Surfaces surf;
    QVERIFY(!ouvreprojet(*e, surf, carte));
    const Rejeu& r = e->rejeu;
    QCOMPARE(r.pistes.size(), std::size_t(2));
    QCOMPARE(r.pistes[1].nom, QString("Bruno"));
    QCOMPARE(r.pistes[0].couleur, 0xff0000);
    QCOMPARE(e->ptcoul[r.pistes[1].premier], 0x00a000);
    QCOMPARE(r.depart, Depart::COMMUN);
    QCOMPARE(r.queue, 30.0);
    QVERIFY(r.classement && r.classx == 10 && r.classy == 20);
    QCOMPARE(r.suivi, Suivi::TOUTES);
    QCOMPARE(e->nbimg, 4 * e->ips);
    const QJsonObject j =
        QJsonDocument::fromJson(lancevialume({"info", carte, "--json"}).out).object();
    const QJsonArray pistes = j["rejeu"].toObject()["pistes"].toArray();
    QCOMPARE(pistes.size(), 2);
    QCOMPARE(pistes[0].toObject()["nom"].toString(), QString("Anne"));
    QCOMPARE(pistes[0].toObject()["duree_s"].toDouble(), 600.0);
    QCOMPARE(pistes[1].toObject()["rgb"].toString(), QString("#00A000"));
    QCOMPARE(j["rejeu"].toObject()["depart"].toString(), QString("commun"));
}

void TestCommande::trace() {
    QTemporaryDir d;
    const QString carte = dessinecarte(d.path());
    // Clicked in its middle, inside the first frame's view: the walk goes outward from there.
    const Sortie s = lancevialume({QStringLiteral("trace"), carte, QStringLiteral("--depuis"),
                                   QStringLiteral("150,300"), QStringLiteral("--couleur"),
                                   QStringLiteral("#00FF00")});
    QCOMPARE(s.code, SORTIEOK);
    auto etat = nouveletat();
    Surfaces surf;
    QVERIFY(!ouvreprojet(*etat, surf, carte));
    const Etat& e = *etat;
    QCOMPARE(e.nbpt, 99);
    // The left neighbour first, then the clicked pixel, then outward ring by ring.
    QCOMPARE(e.ptx[0], 149);
    QCOMPARE(e.ptx[1], 150);
    QCOMPARE(e.ptx[2], 151);
    QCOMPARE(e.ptx[3], 148);
    QCOMPARE(e.ptx[4], 152);
    for (int i = 0; i <= e.nbpt; ++i) {
        QCOMPARE(e.pty[i], 300);
        QCOMPARE(e.ptcoul[i], 0x00ff00);
        QCOMPARE(e.pttron[i], 0);
    }
    QCOMPARE(e.coulsuivie, 0x0000ff);

    // A continuation on the blue pair, outside the first frame's view: the view is centred on
    // it (else the walk would read nothing there); segment 1 is added, the route stays.
    const Sortie s2 = lancevialume({QStringLiteral("trace"), carte, QStringLiteral("--depuis"),
                                    QStringLiteral("760,100"), QStringLiteral("--couleur"),
                                    QStringLiteral("clYellow"), QStringLiteral("--suite")});
    QCOMPARE(s2.code, SORTIEOK);
    auto etat2 = nouveletat();
    QVERIFY(!ouvreprojet(*etat2, surf, carte));
    QCOMPARE(etat2->nbpt, 101);
    QCOMPARE(etat2->ptx[100], 760);
    QCOMPARE(etat2->ptx[101], 761);
    QCOMPARE(etat2->pttron[101], 1);
    QCOMPARE(etat2->ptcoul[101], 0x00ffff);
    QCOMPARE(etat2->ptx[0], 149);

    // A start pixel that the view covers (here by a large legend) gives no point: nothing is
    // written, the project stays.
    {
        auto e3 = nouveletat();
        Surfaces s3;
        QVERIFY(!ouvreprojet(*e3, s3, carte));
        e3->montre = true;
        e3->police.taille = -300;
        e3->police.gras = true;
        e3->police.couleur = 0;
        e3->xt = e3->yt = 0;
        QString erreur;
        QVERIFY(sauveparametres(*e3, erreur));
    }
    auto e4 = nouveletat();
    QVERIFY(!ouvreprojet(*e4, surf, carte));
    QPoint couvert(-1, -1);
    const Surface& vue = surf.vue;
    for (int y = 1; y < 575 && couvert.x() < 0; ++y)
        for (int x = 1; x < 719 && couvert.x() < 0; ++x) {
            bool noir = true;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    noir = noir && vue.pixel(x + dx, y + dy) == 0;
            if (noir && surf.carte.pixel(x, y) != 0) couvert = QPoint(x, y);
        }
    QVERIFY(couvert.x() >= 0);
    const QByteArray avant = contenu(d.filePath(QStringLiteral("carte.vlp")));
    const Sortie rien = lancevialume({QStringLiteral("trace"), carte, QStringLiteral("--depuis"),
                                      QStringLiteral("%1,%2").arg(couvert.x()).arg(couvert.y()),
                                      QStringLiteral("--couleur"), QStringLiteral("0")});
    QCOMPARE(rien.code, SORTIEECHEC);
    QVERIFY(rien.err.contains("aucun point"));
    QCOMPARE(contenu(d.filePath(QStringLiteral("carte.vlp"))), avant);
    const Sortie dehors =
        lancevialume({QStringLiteral("trace"), carte, QStringLiteral("--depuis"),
                      QStringLiteral("800,10"), QStringLiteral("--couleur"), QStringLiteral("0")});
    QCOMPARE(dehors.code, SORTIEUSAGE);
}

// Two traces at once on one map: the second waits for the first and adds to what it saved, or
// says who holds the project; no route is lost.
void TestCommande::tracesEnsemble() {
    QTemporaryDir d;
    const QString carte = dessinecarte(d.path());
    for (int essai = 0; essai < 4; ++essai) {
        QFile::remove(d.filePath(QStringLiteral("carte.vlp")));
        const auto lance = [&](const char* depuis) {
            auto* p = new QProcess(this);
            p->start(QStringLiteral(VIALUME_EXE),
                     {QStringLiteral("trace"), carte, QStringLiteral("--depuis"),
                      QLatin1String(depuis), QStringLiteral("--couleur"), QStringLiteral("0"),
                      QStringLiteral("--suite")});
            return p;
        };
        QProcess* a = lance("150,300");
        QProcess* b = lance("760,100");
        QVERIFY(a->waitForFinished(60000));
        QVERIFY(b->waitForFinished(60000));
        const int codea = a->exitCode(), codeb = b->exitCode();
        const QByteArray erra = a->readAllStandardError(), errb = b->readAllStandardError();
        delete a;
        delete b;
        auto e = nouveletat();
        Surfaces surf;
        QVERIFY(!ouvreprojet(*e, surf, carte));
        if (codea == SORTIEOK && codeb == SORTIEOK) {
            QCOMPARE(e->nbpt + 1, 102);
        } else {
            // Refused: it says so and who holds the project; the other's route is whole.
            QVERIFY((codea == SORTIEOK) != (codeb == SORTIEOK));
            const QByteArray err = codea == SORTIEOK ? errb : erra;
            QVERIFY2(err.contains("occup"), err.constData());
            QCOMPARE(e->nbpt + 1, codea == SORTIEOK ? 100 : 2);
        }
    }
}

// A map or a parameters file that is a named pipe stops every sub-command at once with its
// message, instead of waiting for a writer.
void TestCommande::tubes() {
#ifdef Q_OS_LINUX
    QTemporaryDir d;
    const QString carte = dessinecarte(d.path());
    QVERIFY(::mkfifo(QFile::encodeName(d.filePath(QStringLiteral("carte.vlp"))).constData(),
                     0600) == 0);
    const QString tube = d.filePath(QStringLiteral("tube.bmp"));
    QVERIFY(::mkfifo(QFile::encodeName(tube).constData(), 0600) == 0);
    for (const QString& c : {carte, tube}) {
        for (const QStringList& args :
             {QStringList{QStringLiteral("info"), c},
              QStringList{QStringLiteral("export"), c, QStringLiteral("--bmp"),
                          d.filePath(QStringLiteral("vue.bmp"))},
              QStringList{QStringLiteral("trace"), c, QStringLiteral("--depuis"),
                          QStringLiteral("150,300"), QStringLiteral("--couleur"),
                          QStringLiteral("0")}}) {
            QProcess p;
            p.start(QStringLiteral(VIALUME_EXE), args);
            const bool fini = p.waitForFinished(20000);
            if (!fini) p.kill();
            QVERIFY2(fini, qPrintable(args.join(u' ')));
            QCOMPARE(p.exitCode(), SORTIEECHEC);
            const QByteArray err = p.readAllStandardError();
            QVERIFY2(err.contains("fichier ordinaire"), err.constData());
        }
    }
#else
    QSKIP("named pipes are made the Linux way here");
#endif
}

// An export never writes over its own map or parameters file.
void TestCommande::ecraseProjet() {
    QTemporaryDir d;
    const QString carte = dessinecarte(d.path());
    QVERIFY(faisprojet(carte));
    const QByteArray avant = contenu(carte);
    const QByteArray vlp = contenu(d.filePath(QStringLiteral("carte.vlp")));
    for (const QStringList& demande :
         {QStringList{QStringLiteral("--bmp"), d.filePath(QStringLiteral("carte"))},
          QStringList{QStringLiteral("--bmp"), carte}}) {
        const Sortie s = lancevialume(QStringList{QStringLiteral("export"), carte} + demande);
        QCOMPARE(s.code, SORTIEECHEC);
        QVERIFY2(s.err.contains("du projet"), s.err.constData());
        QVERIFY(!s.out.contains("Fichier sauv"));
    }
    QCOMPARE(contenu(carte), avant);
    QCOMPARE(contenu(d.filePath(QStringLiteral("carte.vlp"))), vlp);
}

// A project that shows a display picture: the walk still follows the map's line, and the
// project keeps its display picture.
void TestCommande::traceSousImageDeBase() {
    QTemporaryDir d;
    const QString carte = dessinecarte(d.path());
    QImage fond(800, 600, QImage::Format_RGB32);
    fond.fill(qRgb(0, 255, 0)); // one colour everywhere: a walk on it would flood the view
    const QString visu = d.filePath(QStringLiteral("fond.bmp"));
    QVERIFY(fond.save(visu, "BMP"));
    {
        auto e = nouveletat();
        Surfaces surf;
        QVERIFY(!ouvreprojet(*e, surf, carte));
        e->fichiervisu = visu;
        QString erreur;
        QVERIFY(sauveparametres(*e, erreur));
    }
    const Sortie s = lancevialume({QStringLiteral("trace"), carte, QStringLiteral("--depuis"),
                                   QStringLiteral("150,300"), QStringLiteral("--couleur"),
                                   QStringLiteral("#00FF00")});
    QCOMPARE(s.code, SORTIEOK);
    auto e = nouveletat();
    Surfaces surf;
    QVERIFY(!ouvreprojet(*e, surf, carte));
    QCOMPARE(e->nbpt, 99);
    for (int i = 0; i <= e->nbpt; ++i)
        QCOMPARE(e->pty[i], 300);
    QCOMPARE(e->coulsuivie, 0x0000ff);
    QVERIFY(e->check);
    QCOMPARE(e->fichiervisu, visu);
}

void TestCommande::malforme() {
    QTemporaryDir d;
    const QString carte = dessinecarte(d.path());
    const QByteArray mauvais = "[CHEMIN]\r\n10\t20\r\n11\tabc\r\n[IPS]\r\n25\r\n";
    {
        QFile f(d.filePath(QStringLiteral("carte.vlp")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(mauvais);
    }
    QVERIFY(QDir(d.path()).mkdir(QStringLiteral("sortie")));
    const QString sortie = d.filePath(QStringLiteral("sortie"));
    const QList<QStringList> commandes = {
        {QStringLiteral("export"), carte, QStringLiteral("--bmps"),
         sortie + QStringLiteral("/img")},
        {QStringLiteral("export"), carte, QStringLiteral("--bmp"), sortie + QStringLiteral("/vue")},
        {QStringLiteral("export"), carte, QStringLiteral("--avi"),
         sortie + QStringLiteral("/film")},
        {QStringLiteral("trace"), carte, QStringLiteral("--depuis"), QStringLiteral("100,300"),
         QStringLiteral("--couleur"), QStringLiteral("0")},
        {QStringLiteral("info"), carte},
    };
    for (const QStringList& c : commandes) {
        const Sortie s = lancevialume(c);
        QCOMPARE(s.code, SORTIEECHEC);
        QVERIFY2(s.err.contains("ligne 3"), s.err.constData());
        QVERIFY(s.out.isEmpty());
    }
    QVERIFY(fichiers(sortie).isEmpty());
    QCOMPARE(contenu(d.filePath(QStringLiteral("carte.vlp"))), mauvais);
}

QTEST_MAIN(TestCommande)
#include "tst_commande.moc"
