// The window in another language: the start-up with and without langue.csv, the loader's
// captions, memos, frame rates and segments, the texts that follow the program's state, broken
// files, and the shipped table in English and back.
#include "aide_route.h"

#include "app/accueil.h"
#include "app/clavier.h"
#include "app/dialoguepolice.h"
#include "app/dialoguetrace.h"
#include "app/dialoguevideo.h"
#include "project/ansi.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

const QStringList FRANCAISIPS = {
    QStringLiteral("10 images/secondes"), QStringLiteral("12 images/secondes"),
    QStringLiteral("15 images/secondes"), QStringLiteral("20 images/secondes"),
    QStringLiteral("24 images/secondes"), QStringLiteral("25 images/secondes"),
    QStringLiteral("30 images/secondes")};

// Column 2 differs from the built-in French where a test must tell them apart.
const QStringList TABLE = {
    QStringLiteral("N°;Français;English;Deutsch"),
    QStringLiteral("1;Vialume;Route;Route"),
    QStringLiteral("4;Fermer!;Close;Beenden"),
    QStringLiteral("5;Un film\\nde route;A film\\nof a route;Ein Film"),
    QStringLiteral("6;Fichier;File;Datei"),
    QStringLiteral("10;Charger d'abord une image;Load a picture first;Zuerst ein Bild laden"),
    QStringLiteral("12;Charger;Load;Laden"),
    QStringLiteral("29;images/secondes;frames/second;Bilder/Sekunde"),
    QStringLiteral("30;tronçon;segment;Abschnitt"),
    QStringLiteral("33;Modifier;Change;Ändern"),
    QStringLiteral("34;Créer;Create;Erstellen"),
    QStringLiteral("46;a;A;"),
    QStringLiteral("47;b;B;"),
    QStringLiteral("49;d;D;"),
    QStringLiteral("51;f;F;"),
    QStringLiteral("55;Stop calcul;Halt;Stopp"),
    QStringLiteral("57;Cliquer;Click;Klicken"),
    QStringLiteral("58;\\npour stopper;\\nto stop;\\nzum Stoppen"),
    QStringLiteral("59;!;!;!"),
    QStringLiteral("60;Couleur ?;Colour?;Farbe?"),
    QStringLiteral("65;Terminé;Done;Fertig"),
};

QString fichierlivre() {
    return QDir::cleanPath(QStringLiteral(FIXTURES "/../../data/langue.csv"));
}

QString chemin(Banc& b, const QString& nom) {
    return QDir(b.dossier.path()).filePath(nom);
}

void ecrit(Banc& b, const QString& nom, const QStringList& lignes) {
    QFile f(chemin(b, nom));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const QByteArray octets =
        versansi(lignes.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    QCOMPARE(f.write(octets), octets.size());
}

QByteArray lit(Banc& b, const QString& nom) {
    QFile f(chemin(b, nom));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The program started again in the same folder, with fresh dialogs.
void redemarre(Banc& b) {
    b.f.reset();
    b.d = DialoguesScript();
    b.f = std::make_unique<TForm1>(b.d, b.dossier.path());
}

// Writes the files (an empty ini leaves none) and starts the program on them.
void demarre(Banc& b, const QStringList& table, const QByteArray& ini) {
    ecrit(b, QStringLiteral("langue.csv"), table);
    QFile::remove(chemin(b, QStringLiteral("langue.ini")));
    if (!ini.isEmpty()) ecrit(b, QStringLiteral("langue.ini"), {QString::fromLatin1(ini)});
    redemarre(b);
}

// The user picks a language in the list.
void choisit(TForm1* f, int position) {
    f->langue->setCurrentIndex(position);
    emit f->langue->activated(position);
}

void choisit(Banc& b, int position) {
    choisit(b.f.get(), position);
}

QStringList items(const QComboBox* c) {
    QStringList t;
    for (int i = 0; i < c->count(); ++i)
        t << c->itemText(i);
    return t;
}

// Every text the user reads on the window, by control name (pages by their own name).
QMap<QString, QString> textesvisibles(TForm1* f) {
    QMap<QString, QString> t;
    for (QWidget* w : f->findChildren<QWidget*>()) {
        const QString nom = w->objectName();
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            t[nom] = b->text();
        else if (auto* l = qobject_cast<QLabel*>(w))
            t[nom] = l->text();
        else if (auto* m = qobject_cast<QPlainTextEdit*>(w))
            t[nom] = m->toPlainText();
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            t[nom] = g->title();
        else if (auto* c = qobject_cast<QComboBox*>(w))
            t[nom] = c->currentText();
        else if (auto* o = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < o->count(); ++i)
                t[o->widget(i)->objectName()] = o->tabText(i);
    }
    t.remove(QString()); // Qt's own inner widgets
    return t;
}

// Every text a user reads on `racine` and its children: captions, tooltips as shown (with their
// key), status tips, list entries, page titles, what spin boxes and empty fields show. Qt's own
// inner texts (those of the font dialog, the standard buttons) are left to Qt's translation.
QStringList textesdetout(QWidget* racine) {
    QStringList t;
    QList<QWidget*> tous = racine->findChildren<QWidget*>();
    tous.prepend(racine);
    for (QWidget* w : tous) {
        bool dansfonte = false;
        for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
            dansfonte = dansfonte || qobject_cast<QFontDialog*>(p);
        if (dansfonte) continue;
        // The main window's caption is the program's name and version, in every language.
        if (w->isWindow() && qobject_cast<QDialog*>(w)) t << w->windowTitle();
        t << Clavier::bulle(w) << w->statusTip();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            auto* boite = qobject_cast<QDialogButtonBox*>(w->parentWidget());
            if (!boite || boite->standardButton(b) == QDialogButtonBox::NoButton ||
                boite->standardButton(b) == QDialogButtonBox::Cancel)
                t << b->text();
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            t << l->text();
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            t << g->title();
        } else if (auto* m = qobject_cast<QPlainTextEdit*>(w)) {
            t << m->toPlainText();
        } else if (auto* o = qobject_cast<QTabWidget*>(w)) {
            for (int i = 0; i < o->count(); ++i)
                t << o->tabText(i);
        } else if (auto* c = qobject_cast<QComboBox*>(w)) {
            if (c->objectName() != QLatin1String("langue"))
                for (int i = 0; i < c->count(); ++i)
                    t << c->itemText(i);
        } else if (auto* n = qobject_cast<QSpinBox*>(w)) {
            t << n->specialValueText() << n->suffix();
        } else if (auto* d = qobject_cast<QDoubleSpinBox*>(w)) {
            t << d->specialValueText() << d->suffix();
        } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            t << e->placeholderText();
        }
    }
    t.removeAll(QString());
    return t;
}

// The texts of column `colonne` of a langue.csv, as patterns: "%1" stands for anything, a
// number may come before or after (the frame rates, the segments).
QList<QRegularExpression> motifs(const QByteArray& csv, int colonne) {
    QList<QRegularExpression> m;
    const QStringList lignes = depuisansi(csv).split(QStringLiteral("\r\n"));
    static const QRegularExpression place(QStringLiteral("%\\d"));
    for (int i = 1; i < lignes.size(); ++i) {
        const QString texte = lignes[i]
                                  .section(u';', colonne - 1, colonne - 1)
                                  .replace(QStringLiteral("\\n"), QStringLiteral("\n"))
                                  .trimmed();
        if (texte.isEmpty()) continue;
        QStringList parts;
        for (const QString& p : texte.split(place))
            parts << QRegularExpression::escape(p);
        m << QRegularExpression(QStringLiteral("^\\s*(\\d+ )?") + parts.join(QStringLiteral(".*")) +
                                    QStringLiteral("( \\d+)?\\s*$"),
                                QRegularExpression::DotMatchesEverythingOption);
    }
    return m;
}

// Names of formats and codecs, units and keys that read the same in every language; and
// "Charge", the caption that the message of entry 64 names as it stands in every language.
QString sansnoms(QString t) {
    static const QRegularExpression noms(
        QStringLiteral("\\b(Charge|\\d+p|4K|kms?|miles|Kms/Miles|MJPEG|H\\.264|H\\.265|MPEG-4 Part "
                       "2|FFV1|HuffYUV|Ut "
                       "Video|RGB|MP4|WebM|VP9|MKV|MOV|GIF|APNG|kbit/s|px|s|OK|Ctrl\\+[A-Z])\\b"));
    return t.remove(noms);
}

bool neutre(const QString& t) {
    return !sansnoms(t).contains(QRegularExpression(QStringLiteral("\\p{L}")));
}

} // namespace

class TstLangue : public QObject {
    Q_OBJECT
    QTemporaryDir ailleurs;
  private slots:
    void initTestCase();
    void sansFichier();
    void francaisDuFichier();
    void celluleVide();
    void enteteAvecTrou();
    void motsVides29Et30();
    void colonneNonNommee();
    void apresChangement();
    void textesDEtat();
    void ligneHorsTable();
    void ligneMalformee_data();
    void ligneMalformee();
    void malformeeAuChangement();
    void entreeNonListee();
    void fenetreEnAnglaisEtRetour();
    void aucunFrancais_data();
    void aucunFrancais();
    void tableSansNouveauxTextes();
    void dialoguesDeQt_data();
    void dialoguesDeQt();
};

void TstLangue::initTestCase() {
    // The user's configuration and any installed copy of the program stay out of reach.
    QVERIFY(ailleurs.isValid());
    qputenv("XDG_CONFIG_HOME", (ailleurs.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (ailleurs.path() + QStringLiteral("/donnees")).toLocal8Bit());
    qputenv("XDG_DATA_DIRS", (ailleurs.path() + QStringLiteral("/systeme")).toLocal8Bit());
}

void TstLangue::sansFichier() {
    Banc b;
    QCOMPARE(b.e().numlangue, 0);
    QCOMPARE(lit(b, QStringLiteral("langue.ini")), QByteArray("2\r\n"));
    QCOMPARE(items(b->langue), QStringList{QStringLiteral("Français")});
    QCOMPARE(b->langue->currentIndex(), 0);
    QCOMPARE(items(b->Cips), FRANCAISIPS);
    QCOMPARE(b->Cips->currentText(), QStringLiteral("25 images/secondes"));
    QCOMPARE(b.e().ips, 25);
    const auto avant = textesvisibles(b.f.get());
    QCOMPARE(avant[QStringLiteral("Button1")], QStringLiteral("Fermer"));

    // A change rewrites langue.ini and nothing else.
    QFile::remove(chemin(b, QStringLiteral("langue.ini")));
    choisit(b, 0);
    QCOMPARE(lit(b, QStringLiteral("langue.ini")), QByteArray("2\r\n"));
    QCOMPARE(textesvisibles(b.f.get()), avant);
    QCOMPARE(b.d.messages, QStringList());
}

void TstLangue::francaisDuFichier() {
    Banc b;
    demarre(b, TABLE, "2");
    QCOMPARE(b.e().numlangue, 2);
    QCOMPARE(items(b->langue), (QStringList{QStringLiteral("Français"), QStringLiteral("English"),
                                            QStringLiteral("Deutsch")}));
    QCOMPARE(b->Button1->text(), QStringLiteral("Fermer!"));

    demarre(b, TABLE, "3");
    QCOMPARE(b->Button1->text(), QStringLiteral("Close"));
    choisit(b, 0);
    QCOMPARE(b.e().numlangue, 2);
    QCOMPARE(b->Button1->text(), QStringLiteral("Fermer!"));
    QCOMPARE(lit(b, QStringLiteral("langue.ini")), QByteArray("2\r\n"));
    QCOMPARE(b.d.messages, QStringList());
}

void TstLangue::celluleVide() {
    Banc b;
    QStringList table = TABLE;
    table.replace(table.indexOf(QStringLiteral("4;Fermer!;Close;Beenden")),
                  QStringLiteral("4;Fermer!;;Beenden"));
    table << QStringLiteral("10;Charger d'abord une image;;") << QStringLiteral("6;Fichier;;");
    demarre(b, table, "3");
    QCOMPARE(b->Button1->text(), QString());
    QCOMPARE(b->Onglet2->tabText(0), QString());
    QCOMPARE(b->Charger->text(), QStringLiteral("Load"));
    // A message with an empty entry is shown in French.
    b->Onglet2->setCurrentIndex(1);
    QCOMPARE(b.d.messages, QStringList{QStringLiteral("Charger d'abord une image")});
}

void TstLangue::enteteAvecTrou() {
    Banc b;
    QStringList table = TABLE;
    table[0] = QStringLiteral("N°;Français;;Deutsch");
    demarre(b, table, "2");
    QCOMPARE(items(b->langue),
             (QStringList{QStringLiteral("Français"), QStringLiteral("Deutsch")}));
    // Position 1 is column 3, whatever name the header gives it.
    choisit(b, 1);
    QCOMPARE(b.e().numlangue, 3);
    QCOMPARE(lit(b, QStringLiteral("langue.ini")), QByteArray("3\r\n"));
    QCOMPARE(b->Button1->text(), QStringLiteral("Close"));
}

// The loader takes entries 29 and 30 as they are: empty, the rates and segments show bare numbers.
void TstLangue::motsVides29Et30() {
    Banc b;
    QStringList table = TABLE;
    table.replace(table.indexOf(QStringLiteral("29;images/secondes;frames/second;Bilder/Sekunde")),
                  QStringLiteral("29;images/secondes;;Bilder/Sekunde"));
    table.replace(table.indexOf(QStringLiteral("30;tronçon;segment;Abschnitt")),
                  QStringLiteral("30;tronçon;;Abschnitt"));
    demarre(b, table, "2");
    b.carte(800, 600);
    b.e().nbpt = 1;
    b.e().pttron[0] = b.e().pttron[1] = 0;
    b->Onglet2->setCurrentIndex(1);
    QCOMPARE(items(b->tronson), QStringList{QStringLiteral("tronçon 0")});
    choisit(b, 1);
    QCOMPARE(b->Cips->currentText(), QStringLiteral("25 "));
    QCOMPARE(items(b->Cips).first(), QStringLiteral("10 "));
    QCOMPARE(items(b->tronson), QStringList{QStringLiteral(" 0")});
}

// langue.ini may name a column the header leaves unnamed: that column is loaded all the same.
void TstLangue::colonneNonNommee() {
    Banc b;
    QStringList table = TABLE;
    table[0] = QStringLiteral("N°;Français;English");
    demarre(b, table, "4");
    QCOMPARE(b.e().numlangue, 4);
    QCOMPARE(b->Button1->text(), QStringLiteral("Beenden"));
    QCOMPARE(b->langue->currentIndex(), -1);
    QCOMPARE(lit(b, QStringLiteral("langue.ini")), QByteArray("4\r\n"));
}

void TstLangue::apresChangement() {
    Banc b;
    demarre(b, TABLE, "2");
    emit b->Cips->activated(6);
    QCOMPARE(b.e().ips, 30);

    // Segments numbered 3, 5 and 8, as a parameters file may hold them.
    b.carte(800, 600);
    Etat& e = b.e();
    e.nbpt = 5;
    for (int i = 0; i <= e.nbpt; ++i)
        e.pttron[i] = std::array{3, 3, 5, 5, 8, 8}[i];
    b->Onglet2->setCurrentIndex(1);
    QCOMPARE(items(b->tronson),
             (QStringList{QStringLiteral("tronçon 3"), QStringLiteral("tronçon 5"),
                          QStringLiteral("tronçon 8")}));
    b->tronson->setCurrentIndex(2);
    emit b->tronson->activated(2);

    choisit(b, 1);
    QCOMPARE(items(b->Cips).first(), QStringLiteral("10 frames/second"));
    QCOMPARE(items(b->Cips).last(), QStringLiteral("30 frames/second"));
    QCOMPARE(b->Cips->count(), 7);
    QCOMPARE(b->Cips->currentText(), QStringLiteral("25 frames/second"));
    QCOMPARE(b.e().ips, 30);
    QCOMPARE(items(b->tronson),
             (QStringList{QStringLiteral("segment 0"), QStringLiteral("segment 1"),
                          QStringLiteral("segment 2")}));
    QCOMPARE(b->tronson->currentIndex(), 2);

    // Away from the page the list counts nothing: a change of language empties it, and the next
    // arrival builds it again.
    b->Onglet2->setCurrentIndex(0);
    choisit(b, 2);
    QCOMPARE(b->tronson->count(), 0);
    b->Onglet2->setCurrentIndex(1);
    QCOMPARE(items(b->tronson).first(), QStringLiteral("Abschnitt 3"));
    QCOMPARE(b.d.messages, QStringList());
}

void TstLangue::textesDEtat() {
    Banc b;
    demarre(b, TABLE, "3");
    QCOMPARE(b->creerIC->text(), QStringLiteral("Change"));
    b->TL->setValue(1);
    QCOMPARE(b->creerIC->text(), QStringLiteral("Create"));
    QCOMPARE(b->calculvia->text(), QStringLiteral("Route"));

    b.carte(800, 600);
    // Long enough that the walk outlasts the slice run inside the click.
    peintligne(b, 5, 100, 700);
    b.d.couleurs.append(0x0000ff);
    b->calculvia->click();
    QCOMPARE(b.d.messages, QStringList{QStringLiteral("Click\nto stop!")});
    QCOMPARE(b->calculvia->text(), QStringLiteral("Colour?"));
    // Entry 55 is the stop question while armed, and the caption while the walk runs.
    b->calculvia->click();
    QCOMPARE(b.d.questions, QStringList{QStringLiteral("Halt")});
    b->Chechecouleur(5, 100);
    b->fondMouseDown(Qt::LeftButton, 5, 100);
    QCOMPARE(b->calculvia->text(), QStringLiteral("Halt"));
    QVERIFY(QTest::qWaitFor([&b] { return b.e().etatcalcul == 0; }, 5000));
    QCOMPARE(b.d.messages.last(), QStringLiteral("Done"));
    QCOMPARE(b->calculvia->text(), QStringLiteral("Route"));
}

void TstLangue::ligneHorsTable() {
    Banc b;
    QStringList table = TABLE;
    table.insert(1, QStringLiteral("150;hors;outside;außen"));
    table.insert(1, QStringLiteral("-1;hors;outside;außen"));
    demarre(b, table, "3");
    QCOMPARE(b.d.messages, QStringList());
    QCOMPARE(b->Button1->text(), QStringLiteral("Close"));
}

void TstLangue::ligneMalformee_data() {
    QTest::addColumn<QStringList>("table");
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("fichier");
    QTest::addColumn<QString>("erreur");
    QStringList table = TABLE;
    table.insert(3, QStringLiteral("quatre;Fermer;Close;Beenden"));
    QTest::newRow("langue.csv") << table << QByteArray("3") << QStringLiteral("langue.csv")
                                << QStringLiteral("'quatre' n'est pas une valeur entière "
                                                  "correcte\n%1, ligne 4");
    QTest::newRow("langue.ini")
        << TABLE << QByteArray("anglais") << QStringLiteral("langue.ini")
        << QStringLiteral("'anglais' n'est pas une valeur entière correcte\n%1, ligne 1");
}

void TstLangue::ligneMalformee() {
    QFETCH(QStringList, table);
    QFETCH(QByteArray, ini);
    QFETCH(QString, fichier);
    QFETCH(QString, erreur);
    Banc b;
    demarre(b, table, ini);
    QCOMPARE(b.d.messages, QStringList{erreur.arg(chemin(b, fichier))});
    // The captions stay French; the program starts with its film and frame rates.
    QCOMPARE(b->Button1->text(), QStringLiteral("Fermer"));
    QCOMPARE(b->calculvia->text(), QStringLiteral("Vialume"));
    QCOMPARE(items(b->Cips), FRANCAISIPS);
    QCOMPARE(b.e().ips, 25);
    QCOMPARE(b->NbI->text(), QStringLiteral("150"));
    QCOMPARE(b->TL->maximum(), 150);
    QCOMPARE(b->langue->count(), 3);
    b.d.messages.clear();
    b->Onglet2->setCurrentIndex(2);
    QCOMPARE(b.d.messages.size(), 1);
}

void TstLangue::malformeeAuChangement() {
    Banc b;
    demarre(b, TABLE, "2");
    QStringList table = TABLE;
    table.insert(5, QStringLiteral("x;y;z;w"));
    ecrit(b, QStringLiteral("langue.csv"), table);
    choisit(b, 1);
    QCOMPARE(b.d.messages,
             QStringList{QStringLiteral("'x' n'est pas une valeur entière correcte\n%1, ligne 6")
                             .arg(chemin(b, QStringLiteral("langue.csv")))});
    // Entries before the line are read, but no caption changes.
    QCOMPARE(b.e().textes[4], QStringLiteral("Close"));
    QCOMPARE(b->Button1->text(), QStringLiteral("Fermer!"));
}

void TstLangue::entreeNonListee() {
    Banc b;
    demarre(b, TABLE, "3");
    QCOMPARE(b->Charger->text(), QStringLiteral("Load"));
    QStringList table = TABLE;
    table.removeAll(QStringLiteral("12;Charger;Load;Laden"));
    ecrit(b, QStringLiteral("langue.csv"), table);
    choisit(b, 2);
    QCOMPARE(b->Button1->text(), QStringLiteral("Beenden"));
    QCOMPARE(b->Charger->text(), QStringLiteral("Load"));
    QCOMPARE(b->Button12->text(), QStringLiteral("Load"));
}

void TstLangue::fenetreEnAnglaisEtRetour() {
    Banc sans;
    const auto francais = textesvisibles(sans.f.get());

    Banc b;
    QFile::remove(chemin(b, QStringLiteral("langue.ini")));
    QVERIFY(QFile::copy(fichierlivre(), chemin(b, QStringLiteral("langue.csv"))));
    redemarre(b);
    QCOMPARE(items(b->langue), (QStringList{QStringLiteral("Français"), QStringLiteral("English"),
                                            QStringLiteral("Español"), QStringLiteral("Deutsch")}));
    QCOMPARE(lit(b, QStringLiteral("langue.ini")), QByteArray("2\r\n"));
    // Column 2 holds the built-in French: every text reads the same, but for the two memos
    // whose entries are laid out otherwise (an empty fourth line; six parts joined by "*").
    auto memes = [&francais](TForm1* f) {
        auto t = textesvisibles(f);
        auto attendu = francais;
        for (const QString& memo : {QStringLiteral("Memo1"), QStringLiteral("Memo5")}) {
            t.remove(memo);
            attendu.remove(memo);
        }
        return t == attendu;
    };
    QVERIFY(memes(b.f.get()));
    QCOMPARE(b->Memo1->toPlainText(), francais[QStringLiteral("Memo1")] + u'\n');
    QCOMPARE(b->Memo5->toPlainText().replace(QStringLiteral("\n*"), QStringLiteral("\n")),
             francais[QStringLiteral("Memo5")]);

    choisit(b, 1);
    QCOMPARE(lit(b, QStringLiteral("langue.ini")), QByteArray("3\r\n"));
    QCOMPARE(b->Button1->text(), QStringLiteral("Close"));
    QCOMPARE(b->Onglet2->tabText(1), QStringLiteral("Colour"));
    QCOMPARE(b->Memo6->toPlainText(), QStringLiteral("Changes the colour of \neach segment"));
    QCOMPARE(items(b->Cips).first(), QStringLiteral("10 frames/second"));
    QCOMPARE(b->Cips->currentText(), QStringLiteral("25 frames/second"));
    b->Onglet2->setCurrentIndex(3);
    QCOMPARE(b.d.messages, QStringList{QStringLiteral("Load a picture first")});

    // Started again in the same folder, the program speaks English from the start.
    DialoguesScript d2;
    TForm1 encore(d2, b.dossier.path());
    QCOMPARE(encore.langue->currentIndex(), 1);
    QCOMPARE(encore.Button1->text(), QStringLiteral("Close"));
    QCOMPARE(encore.e().ips, 25);
    QCOMPARE(d2.messages, QStringList());

    choisit(&encore, 0);
    QVERIFY(memes(&encore));
    QCOMPARE(lit(b, QStringLiteral("langue.ini")), QByteArray("2\r\n"));
}

// With the shipped table in another language, no text of the window, its pages, its first look
// and its dialogs is left in French: each is that language's text of the table, or a name or a
// number that every language writes alike.
void TstLangue::aucunFrancais_data() {
    QTest::addColumn<int>("position");
    QTest::newRow("English") << 1;
    QTest::newRow("Español") << 2;
    QTest::newRow("Deutsch") << 3;
}

void TstLangue::aucunFrancais() {
    QFETCH(int, position);
    Banc b;
    QVERIFY(QFile::copy(fichierlivre(), chemin(b, QStringLiteral("langue.csv"))));
    redemarre(b);
    choisit(b, position);
    QFile f(fichierlivre());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray csv = f.readAll();
    QList<QRegularExpression> langue = motifs(csv, position + 2);
    // The magnifier notes: six entries joined by "*".
    QStringList notes;
    for (const QString& l : depuisansi(csv).split(QStringLiteral("\r\n")))
        if (const int n = l.section(u';', 0, 0).toInt(); n >= 46 && n <= 51)
            notes << l.section(u';', position + 1, position + 1)
                         .replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    langue << QRegularExpression(
        QStringLiteral("^") + QRegularExpression::escape(notes.join(u'*')) + QStringLiteral("$"));
    const auto connu = [&langue](QString p) {
        // A film size comes before its name.
        static const QRegularExpression taille(QStringLiteral("^\\d+ x \\d+ "));
        p.remove(taille);
        const QString q = sansnoms(p);
        return neutre(p) || std::any_of(langue.begin(), langue.end(), [&p, &q](const auto& r) {
                   return r.match(p).hasMatch() || r.match(q).hasMatch();
               });
    };
    const auto verifie = [&connu](QWidget* racine, const QString& ou) {
        QStringList restes;
        for (const QString& t : textesdetout(racine)) {
            if (connu(t)) continue;
            // A tooltip as shown ends with its key in brackets: both parts are known.
            static const QRegularExpression touche(QStringLiteral("^(.*) \\(([^()]*)\\)$"));
            const auto m = touche.match(t);
            if (!m.hasMatch() || !connu(m.captured(1)) || !connu(m.captured(2))) restes << t;
        }
        restes.removeDuplicates();
        QVERIFY2(restes.isEmpty(), qPrintable(ou + QStringLiteral(" : ") + restes.join(" | ")));
    };
    verifie(b.f.get(), QStringLiteral("fenêtre"));
    // The texts that follow the state: with a map, a placed point, the list of recent maps.
    b.carte(800, 600);
    b->Onglet2->setCurrentIndex(1);
    b->Onglet2->setCurrentIndex(0);
    emit b->Recents->menu()->aboutToShow();
    verifie(b.f.get(), QStringLiteral("fenêtre avec une carte"));
    QStringList menu;
    for (QAction* a : b->Recents->menu()->actions())
        menu << a->text();
    QCOMPARE(menu.size(), 1);
    QVERIFY(!menu.first().contains(QStringLiteral("aucune")));
    DialogueTrace trace{ReglagesTrace{}};
    verifie(&trace, QStringLiteral("réglages du tracé"));
    DialogueVideo video{OptionsVideo{}};
    verifie(&video, QStringLiteral("compression"));
    DialoguePolice police{Police{}};
    verifie(&police, QStringLiteral("police"));
}

// A table of V1.50, which stops at entry 100, still loads: its captions change, and the texts
// added since keep their French.
void TstLangue::tableSansNouveauxTextes() {
    Banc b;
    demarre(b, TABLE, "3");
    QCOMPARE(b->Charger->text(), QStringLiteral("Load"));
    QCOMPARE(b->Recents->text(), QStringLiteral("Récentes"));
    QCOMPARE(b->suivre->text(), QStringLiteral("Suivre la route"));
    QCOMPARE(b->Onglet2->tabText(b->Onglet2->indexOf(b->pagefilm)), QStringLiteral("Film"));
    QCOMPARE(b->Charger->toolTip(), QStringLiteral("Image pour le calcul et la visualisation"));
    QCOMPARE(b->accueil->titre->text(), QStringLiteral("Pour commencer"));
    QCOMPARE(b.d.messages, QStringList());
    // An entry of ours in the file takes over, and goes at the next change as the others do.
    QStringList table = TABLE;
    table << QStringLiteral("184;Récentes!;Recent;Zuletzt");
    ecrit(b, QStringLiteral("langue.csv"), table);
    choisit(b, 2);
    QCOMPARE(b->Recents->text(), QStringLiteral("Zuletzt"));
    choisit(b, 1);
    QCOMPARE(b->Recents->text(), QStringLiteral("Recent"));
}

// Qt's own dialogs and buttons speak the language of the window, French included.
void TstLangue::dialoguesDeQt_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("annuler");
    QTest::newRow("Français") << 0 << "Annuler";
    QTest::newRow("English") << 1 << "Cancel";
    QTest::newRow("Español") << 2 << "Cancelar";
    QTest::newRow("Deutsch") << 3 << "Abbrechen";
}

void TstLangue::dialoguesDeQt() {
    QFETCH(int, position);
    QFETCH(QString, annuler);
    for (const char* code : {"fr", "de", "es"})
        QVERIFY2(QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                               QStringLiteral("/qtbase_%1.qm").arg(QLatin1String(code))),
                 "Qt's translations are missing: install qt6-translations-l10n");
    Banc b;
    QVERIFY(QFile::copy(fichierlivre(), chemin(b, QStringLiteral("langue.csv"))));
    redemarre(b);
    choisit(b, position);
    QDialogButtonBox boite(QDialogButtonBox::Cancel);
    QCOMPARE(boite.button(QDialogButtonBox::Cancel)->text(), annuler);
    // Back to French.
    choisit(b, 0);
    QDialogButtonBox encore(QDialogButtonBox::Cancel);
    QCOMPARE(encore.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Annuler"));
}

QTEST_MAIN(TstLangue)
#include "tst_langue.moc"
