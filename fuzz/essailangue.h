// One input of the language fuzz target, shared with the regression test that replays the inputs
// it found: the bytes as langue.csv (header and the entries of one column) and as langue.ini.
#pragma once

#include "project/langue.h"

#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <array>
#include <memory>

// False when a reader broke a promise: more than four language names, a failure without its
// message, a langue.ini value set on failure.
inline bool essailangue(QByteArrayView octets, const QString& dossier) {
    // The column comes from the length, so the seeds stay plain files; 0, 1 and 7 are outside
    // what the loader asks for and must be read just as safely.
    const int colonne = static_cast<int>(octets.size() % 8);
    if (nomslangues(octets).size() > 4) return false;
    auto textes = std::make_unique<Textes>();
    QString erreur;
    if (!lisentrees(*textes, octets, colonne, QStringLiteral("langue.csv"), erreur) &&
        erreur.isEmpty())
        return false;

    // langue.ini has no reader from memory: its reader opens the file.
    const QString ini = dossier + QStringLiteral("/langue.ini");
    QFile f(ini);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(octets.data(), octets.size()) != octets.size())
        return false;
    f.close();
    constexpr int AUCUNE = -12345;
    int numlangue = AUCUNE;
    erreur.clear();
    if (lisini(ini, numlangue, erreur)) return erreur.isEmpty();
    return numlangue == AUCUNE && !erreur.isEmpty();
}
