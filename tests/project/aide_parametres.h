// Shared helpers of the project tests: fixtures and hand-made file texts.
#pragma once

#include "project/parametres.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>

inline QString cheminfixture(const QString& nom) {
    return QStringLiteral(FIXTURES "/parametres/") + nom;
}

inline QByteArray fixture(const QString& nom) {
    QFile f(cheminfixture(nom));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Lines of a file, each ended with CR LF.
inline QByteArray texte(const QStringList& lignes) {
    QByteArray o;
    for (const QString& l : lignes)
        o += l.toLatin1() + "\r\n";
    return o;
}

#include "map/surfaces.h"
#include "state/etat.h"

#include <QImage>

// A picture file of one colour (0x00BBGGRR), in any format the name's extension says.
inline bool ecritimage(const QString& chemin, int largeur, int hauteur, Couleur c) {
    QImage i(largeur, hauteur, QImage::Format_RGB32);
    i.fill(qRgb(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff));
    return i.save(chemin);
}

inline bool ecritfichier(const QString& chemin, const QByteArray& octets) {
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size();
}
