// The language files. langue.ini holds the column of langue.csv in use (2 French, 3..6 the other
// languages); langue.csv holds the texts of every numbered entry, one line an entry, one column a
// language. The window applies what these readers put into `textes`.
//
// In a langue.csv cell the two characters \n stand for a line break: a line of the file cannot
// hold one, and the memo texts and some messages need them.
#pragma once

#include "state/etat.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <array>

// ---- Where the files live ------------------------------------------------------------------
// The user's configuration folder of the program, ending with '/'.
QString dossierconfig();
// Where langue.ini is written: beside the program when that folder can be written, else in the
// configuration folder.
QString cheminiecriture(const QString& dossierprog);
// The langue.ini to read: the one where it would be written, else the other one; empty when
// there is none.
QString cheminilecture(const QString& dossierprog);
// The langue.csv to read: beside the program, else in the installed data folder; empty when
// there is none.
QString chemincsv(const QString& dossierprog);

// ---- langue.ini ----------------------------------------------------------------------------
// The integer of the first line of the file at `chemin`. On failure `erreur` says why (for a
// malformed line: the conversion error, the file and the line).
bool lisini(const QString& chemin, int& numlangue, QString& erreur);
// Rewrites langue.ini (at cheminiecriture) with the single line of `numlangue`. A failed write
// leaves the old file whole.
bool ecritini(const QString& dossierprog, int numlangue, QString& erreur);

// ---- langue.csv ----------------------------------------------------------------------------
// The language names of the header (its first line): the non-empty fields 3 to 6, in order.
QStringList nomslangues(QByteArrayView contenu);
// Reads column `colonne` of every entry line of `contenu` into `textes`: entries 0 to
// MAXTEXTES - 1, a later line winning over an earlier one; empty lines and entry numbers outside
// the table are skipped. A line whose first field is not an integer stops the reading with false
// and the error (naming `nomfichier` and the line); the entries read until then stay.
bool lisentrees(Textes& textes, QByteArrayView contenu, int colonne, const QString& nomfichier,
                QString& erreur);

// The code of a language (ISO 639, "de") from the name a header of langue.csv gives it, in that
// language or in English ("Deutsch", "German", "español"; case does not matter); empty for a name
// no language has.
QString codelangue(const QString& nom);
// The code of the column in use: French for column 2 and without langue.csv, else the language
// the list names at that column (`noms`: "Français", then the header's names); empty when unknown.
QString codecolonne(int numlangue, const QStringList& noms);

// ---- What the window runs ------------------------------------------------------------------
// The list `langue` at start-up and what to do next.
struct DemarrageLangue {
    QStringList noms{QStringLiteral("Français")}; // "Français", then the names of langue.csv
    int selection = 0;                            // the position to select in it
    bool charger = false; // run the loader: langue.csv exists and langue.ini was read
    QString erreur;       // to show when not empty
};
// Sets `numlangue` from langue.ini (creating it with "2" when there is none) and reads the header
// of langue.csv from `dossierprog`. A column outside 2..6 falls back to 2; one the header does not
// name is kept (and nothing is selected in the list); without langue.csv `numlangue` is 0.
DemarrageLangue demarrelangue(Etat& e);

enum class LectureTextes {
    absent, // no langue.csv or no column in use: nothing changed
    charge, // `textes` filled from the column `numlangue`; the captions can be set
    echec,  // stopped on an error; what was read until then stays, the captions stay as they are
};
// The reading part of the loader: `textes` from column `numlangue` of langue.csv, published as
// the table in force (textesglobaux) as well.
LectureTextes chargetextes(Etat& e, QString& erreur);

// The seven entries of the frame-rate list: "10 " ... "30 " followed by entry 29, or the French
// words when it is empty.
QStringList listecips(const Etat& e);
// The seven rates, each followed by `mot` as it is.
QStringList listecips(const QString& mot);
// That list in Cips, its sixth entry (25 frames a second) shown: the window at start-up and
// after a language change.
void cipsdepart(Etat& e);
void cipsdepart(Etat& e, const QStringList& entrees);
// Item `numero` of the segment list: entry 30, a blank and the number, or "tronçon " and the
// number when the entry is empty.
QString itemtronson(const Etat& e, int numero);
// The text of the magnifier notes: entries 46 to 51 joined by "*".
QString textememo5(const Etat& e);
