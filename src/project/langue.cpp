// Readers of langue.ini and langue.csv, the writer of langue.ini, and the texts built from the
// language table.
#include "project/langue.h"

#include "map/fichier.h"
#include "project/ansi.h"
#include "timeline/temps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString nomini = QStringLiteral("langue.ini");
const QString nomcsv = QStringLiteral("langue.csv");

// Both files are a few kilobytes; anything far larger is not one of them, and reading it would
// only fill the memory.
constexpr qint64 TAILLEMAX = 4 * 1024 * 1024;

QString affichage(const QString& chemin) {
    return QDir::toNativeSeparators(chemin);
}

bool lisfichier(const QString& chemin, QByteArray& contenu, QString& erreur) {
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) {
        erreur = traduit(898, QStringLiteral("Impossible de lire %1\n%2"))
                     .arg(affichage(chemin), f.errorString());
        return false;
    }
    // Read up to one byte past the limit rather than trusting size(), which devices report as 0;
    // in steps, so that a file of a few kilobytes does not cost a buffer of the limit's size.
    contenu.clear();
    while (contenu.size() <= TAILLEMAX) {
        const QByteArray morceau = f.read(64 * 1024);
        if (morceau.isEmpty()) break;
        contenu += morceau;
    }
    if (contenu.size() > TAILLEMAX) {
        erreur = traduit(899, QStringLiteral("Fichier trop grand : %1")).arg(affichage(chemin));
        return false;
    }
    return true;
}

// The conversion error for `texte`, with the file and the line where it stands. A fuzzed line can
// be megabytes long: the message quotes its start only.
QString erreurligne(const QString& texte, const QString& nomfichier, int ligne) {
    return traduit(900, QStringLiteral("%1\n%2, ligne %3"))
        .arg(erreurentier(texte.left(80)), affichage(nomfichier))
        .arg(ligne);
}

// Line `debut` of `texte` up to its LF, without the CR before it; `debut` moves to the next line.
// Past the end the line is empty and `debut` -1.
QString ligne(const QString& texte, qsizetype& debut) {
    const qsizetype fin = texte.indexOf(u'\n', debut);
    QString l = texte.mid(debut, fin < 0 ? -1 : fin - debut);
    debut = fin < 0 ? -1 : fin + 1;
    if (l.endsWith(u'\r')) l.chop(1);
    return l;
}

QString premiereligne(QByteArrayView contenu) {
    const qsizetype fin = contenu.indexOf('\n');
    qsizetype debut = 0;
    return ligne(depuisansi(fin < 0 ? contenu : contenu.first(fin)), debut);
}

} // namespace

QString dossierconfig() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/vialume/");
}

QString cheminiecriture(const QString& dossierprog) {
    const QFileInfo dossier(dossierprog);
    if (!dossierprog.isEmpty() && dossier.isDir() && dossier.isWritable())
        return QDir(dossierprog).filePath(nomini);
    return dossierconfig() + nomini;
}

QString cheminilecture(const QString& dossierprog) {
    // A program folder that can be written holds the choice, and only it: a copy in the
    // configuration folder belongs to another copy of the program. One that cannot be written
    // keeps the choice in the configuration folder, its own file (shipped with it) standing in.
    const QString ecriture = cheminiecriture(dossierprog);
    const QString prog = QDir(dossierprog).filePath(nomini);
    if (ecriture == prog) return QFileInfo(prog).isFile() ? prog : QString();
    for (const QString& chemin : {ecriture, prog})
        if (QFileInfo(chemin).isFile()) return chemin;
    return {};
}

QString chemincsv(const QString& dossierprog) {
    const QDir prog(dossierprog);
    // An installed program lives in <prefix>/bin and its data in <prefix>/share/vialume.
    const QString candidats[] = {
        prog.filePath(nomcsv),
        QDir::cleanPath(prog.filePath(QStringLiteral("../share/vialume/") + nomcsv)),
        QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                               QStringLiteral("vialume/") + nomcsv),
    };
    for (const QString& chemin : candidats)
        if (!chemin.isEmpty() && QFileInfo(chemin).isFile()) return chemin;
    return {};
}

bool lisini(const QString& chemin, int& numlangue, QString& erreur) {
    QByteArray contenu;
    if (!lisfichier(chemin, contenu, erreur)) return false;
    const QString l = premiereligne(contenu);
    const auto valeur = entier(l);
    if (!valeur) {
        erreur = erreurligne(l, chemin, 1);
        return false;
    }
    numlangue = *valeur;
    return true;
}

bool ecritini(const QString& dossierprog, int numlangue, QString& erreur) {
    const QString chemin = cheminiecriture(dossierprog);
    QDir().mkpath(QFileInfo(chemin).absolutePath());
    QSaveFile f(chemin);
    const QByteArray ligne = versansi(QString::number(numlangue)) + "\r\n";
    if (!f.open(QIODevice::WriteOnly) || f.write(ligne) != ligne.size() || !confirme(f)) {
        erreur = traduit(901, QStringLiteral("Impossible d'écrire %1\n%2"))
                     .arg(affichage(chemin), f.errorString());
        return false;
    }
    return true;
}

QStringList nomslangues(QByteArrayView contenu) {
    const QString entete = premiereligne(contenu);
    QStringList noms;
    for (int colonne = 3; colonne <= 6; ++colonne) {
        const QString nom = champ(entete, colonne, u';');
        if (!nom.isEmpty()) noms << nom;
    }
    return noms;
}

bool lisentrees(Textes& textes, QByteArrayView contenu, int colonne, const QString& nomfichier,
                QString& erreur) {
    const QString texte = depuisansi(contenu);
    qsizetype debut = 0;
    ligne(texte, debut); // the header
    for (int numero = 2; debut >= 0; ++numero) {
        const QString l = ligne(texte, debut);
        if (l.isEmpty()) continue;
        const QString premier = champ(l, 1, u';');
        const auto n = entier(premier);
        if (!n) {
            erreur = erreurligne(premier, nomfichier, numero);
            return false;
        }
        if (*n < 0 || *n >= MAXTEXTES) continue;
        textes[*n] = champ(l, colonne, u';').replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    }
    return true;
}

QString codelangue(const QString& nom) {
    const QString cherche = nom.trimmed();
    if (cherche.isEmpty()) return {};
    for (const QLocale& l : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript,
                                                     QLocale::AnyTerritory)) {
        if (l.language() == QLocale::C) continue;
        if (cherche.compare(l.nativeLanguageName(), Qt::CaseInsensitive) == 0 ||
            cherche.compare(QLocale::languageToString(l.language()), Qt::CaseInsensitive) == 0)
            return QLocale::languageToCode(l.language(), QLocale::ISO639Part1);
    }
    return {};
}

QString codecolonne(int numlangue, const QStringList& noms) {
    if (numlangue < 3 || numlangue > 6) return QStringLiteral("fr");
    const int i = numlangue - 2;
    return i < noms.size() ? codelangue(noms[i]) : QString();
}

DemarrageLangue demarrelangue(Etat& e) {
    DemarrageLangue d;
    const auto ajouteerreur = [&d](const QString& erreur) {
        d.erreur += (d.erreur.isEmpty() ? QString() : QStringLiteral("\n\n")) + erreur;
    };
    QString erreur;
    e.numlangue = 0;
    bool inilu = true;
    const QString ini = cheminilecture(e.dossierprog);
    if (ini.isEmpty()) {
        e.numlangue = 2;
        if (!ecritini(e.dossierprog, 2, erreur)) ajouteerreur(erreur);
    } else if (!lisini(ini, e.numlangue, erreur)) {
        inilu = false;
        ajouteerreur(erreur);
    }

    const QString csv = chemincsv(e.dossierprog);
    QByteArray contenu;
    if (csv.isEmpty() || !lisfichier(csv, contenu, erreur)) {
        if (!csv.isEmpty()) ajouteerreur(erreur);
        e.numlangue = 0;
        return d;
    }
    d.noms << nomslangues(contenu);
    // A column the header leaves unnamed is loaded all the same; the list then shows none.
    if (e.numlangue < 2 || e.numlangue > 6) e.numlangue = 2;
    d.selection = e.numlangue - 2 < d.noms.size() ? e.numlangue - 2 : -1;
    d.charger = inilu;
    return d;
}

LectureTextes chargetextes(Etat& e, QString& erreur) {
    if (e.numlangue < 2 || e.numlangue > 6) return LectureTextes::absent;
    const QString csv = chemincsv(e.dossierprog);
    if (csv.isEmpty()) return LectureTextes::absent;
    QByteArray contenu;
    if (!lisfichier(csv, contenu, erreur)) return LectureTextes::echec;
    const bool lu = lisentrees(e.textes, contenu, e.numlangue, csv, erreur);
    // What was read stands even after a bad line, in the window as for everything else.
    textesglobaux() = e.textes;
    return lu ? LectureTextes::charge : LectureTextes::echec;
}

QStringList listecips(const QString& mot) {
    QStringList entrees;
    for (const int ips : Etat::CADENCES)
        entrees << QString::number(ips) + u' ' + mot;
    return entrees;
}

QStringList listecips(const Etat& e) {
    return listecips(traduit(e, 29, QStringLiteral("images/secondes")));
}

void cipsdepart(Etat& e, const QStringList& entrees) {
    constexpr int SIXIEME = 5;
    e.cips = entrees;
    e.cipsindex = SIXIEME;
    e.cipstexte = e.cips[SIXIEME];
}

void cipsdepart(Etat& e) {
    cipsdepart(e, listecips(e));
}

QString itemtronson(const Etat& e, int numero) {
    return traduit(e, 30, QStringLiteral("tronçon")) + u' ' + QString::number(numero);
}

QString textememo5(const Etat& e) {
    QStringList parties;
    for (int entree = 46; entree <= 51; ++entree)
        parties << e.textes[entree];
    return parties.join(u'*');
}
