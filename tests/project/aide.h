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
